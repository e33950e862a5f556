#pragma once

#include <QDateTime>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QMap>
#include <QString>
#include <QStringList>
#include <QTest>

// The per-user settings file read as plain text, "LocalSettings/Test/hour" →
// "0": the test sees exactly what reached the disk, not what QSettings holds.
inline QString settingsFile(const QString& organisation, const QString& application) {
    return qEnvironmentVariable("XDG_CONFIG_HOME") + QLatin1Char('/') + organisation +
           QLatin1Char('/') + application + QStringLiteral(".conf");
}

// The program's own settings file.
inline QString programSettingsFile() {
    return settingsFile(QStringLiteral("Tamrel"), QStringLiteral("Kivor 2"));
}

inline QMap<QString, QString> readSettingsFile(const QString& path) {
    QMap<QString, QString> values;
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return values;
    QString section;
    for (const QString& line : QString::fromUtf8(file.readAll()).split(QLatin1Char('\n'))) {
        if (line.startsWith(QLatin1Char('[')) && line.endsWith(QLatin1Char(']'))) {
            section = line.mid(1, line.size() - 2);
            continue;
        }
        const qsizetype eq = line.indexOf(QLatin1Char('='));
        if (eq < 0)
            continue;
        QString key = line.left(eq);
        key.replace(QLatin1Char('\\'), QLatin1Char('/'));
        if (section != QLatin1String("General"))
            key.prepend(section + QLatin1Char('/'));
        values.insert(key, line.mid(eq + 1));
    }
    return values;
}

// The file text of `values` ("Group/Sub/name" → raw text), grouped as the
// settings file groups them.
inline QByteArray settingsText(const QMap<QString, QString>& values) {
    QMap<QString, QStringList> sections;
    for (auto it = values.cbegin(); it != values.cend(); ++it) {
        const QString section = it.key().section(QLatin1Char('/'), 0, 0);
        QString key = it.key().section(QLatin1Char('/'), 1);
        key.replace(QLatin1Char('/'), QLatin1Char('\\'));
        sections[section].append(key + QLatin1Char('=') + it.value());
    }
    QString text;
    for (auto it = sections.cbegin(); it != sections.cend(); ++it)
        text += QLatin1Char('[') + it.key() + QStringLiteral("]\n") +
                it.value().join(QLatin1Char('\n')) + QStringLiteral("\n\n");
    return text.toUtf8();
}

// The file written as it is, whatever stood in its place, with a time of its
// own: QSettings reads a file again only when its time or size changed, and
// two texts of one length written in the same instant would look alike.
inline void writeSettingsFile(const QString& path, const QByteArray& bytes) {
    static int written = 0;
    if (QFileInfo(path).isDir())
        QDir(path).removeRecursively();
    QVERIFY(QDir().mkpath(QFileInfo(path).path()));
    QFile file(path);
    QVERIFY(file.open(QIODevice::WriteOnly | QIODevice::Truncate));
    QCOMPARE(file.write(bytes), bytes.size());
    // Written through before the time is set, or the write would set it.
    QVERIFY(file.flush());
    QVERIFY(file.setFileTime(QDateTime(QDate(2020, 1, 1), QTime(8, 0)).addSecs(++written),
                             QFileDevice::FileModificationTime));
}
