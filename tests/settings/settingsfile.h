#pragma once

#include <QFile>
#include <QMap>
#include <QString>
#include <QStringList>

// The per-user settings file read as plain text, "LocalSettings/Test/hour" →
// "0": the test sees exactly what reached the disk, not what QSettings holds.
inline QString settingsFile(const QString& organisation, const QString& application) {
    return qEnvironmentVariable("XDG_CONFIG_HOME") + QLatin1Char('/') + organisation +
           QLatin1Char('/') + application + QStringLiteral(".conf");
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
