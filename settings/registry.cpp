#include "registry.h"

#include <QFile>
#include <QPoint>
#include <QRect>
#include <QSettings>
#include <QSize>
#include <QStringList>
#include <QVariant>
#include <limits>

namespace {

const QString kSeparator = QStringLiteral("\\");

QString quoted(const QString& s) {
    return QStringLiteral("„") + s + QStringLiteral("“");
}

// QSettings opened on the file of the path, inside its group.
std::unique_ptr<QSettings> openSettings(const RegistryPath& p) {
    auto s = std::make_unique<QSettings>(QSettings::NativeFormat, QSettings::UserScope,
                                         p.organisation, p.application);
    if (!p.group.isEmpty())
        s->beginGroup(p.group);
    return s;
}

bool isInteger(QMetaType::Type t) {
    switch (t) {
    case QMetaType::Int:
    case QMetaType::UInt:
    case QMetaType::Long:
    case QMetaType::ULong:
    case QMetaType::LongLong:
    case QMetaType::ULongLong:
    case QMetaType::Short:
    case QMetaType::UShort:
        return true;
    default:
        return false;
    }
}

// A stored value as the user would see it in the file.
QString shownValue(const QVariant& v) {
    if (v.typeId() == QMetaType::QStringList)
        return v.toStringList().join(QStringLiteral(", "));
    // The file's own notation for values that have no plain text.
    switch (v.typeId()) {
    case QMetaType::QRect: {
        const QRect r = v.toRect();
        return QStringLiteral("@Rect(%1 %2 %3 %4)")
            .arg(r.x())
            .arg(r.y())
            .arg(r.width())
            .arg(r.height());
    }
    case QMetaType::QSize:
        return QStringLiteral("@Size(%1 %2)").arg(v.toSize().width()).arg(v.toSize().height());
    case QMetaType::QPoint:
        return QStringLiteral("@Point(%1 %2)").arg(v.toPoint().x()).arg(v.toPoint().y());
    default:
        break;
    }
    const QString text = v.toString();
    if (text.isEmpty() && !v.isNull() && v.typeId() != QMetaType::QString)
        return QStringLiteral("@") + QString::fromLatin1(v.typeName());
    return text;
}

// Writes the file; a file that cannot be written is an error.
void syncOrThrow(QSettings& settings) {
    settings.sync();
    bool written = settings.status() != QSettings::AccessError;
    // A format fault met when the file was first read hides every later
    // status, so such a file is checked directly.
    if (settings.status() == QSettings::FormatError) {
        QFile file(settings.fileName());
        written = file.open(QIODevice::ReadWrite);
    }
    if (!written)
        throw RegistryError(QStringLiteral("Настройките не могат да бъдат записани във файла %1.")
                                .arg(quoted(settings.fileName())));
}

} // namespace

RegistryPath parseRegistryPath(const QString& path) {
    const auto invalid = [&path] {
        return RegistryError(QStringLiteral("Невалиден ключ на регистъра: %1.").arg(quoted(path)));
    };
    // A key path may start and end with a backslash; empty parts inside it,
    // or a slash (the separator of the settings file), name no key.
    QString body = path;
    if (body.startsWith(kSeparator))
        body.remove(0, 1);
    if (body.endsWith(kSeparator))
        body.chop(1);
    const QStringList parts = body.split(kSeparator);
    if (parts.size() < 2)
        throw invalid();
    for (const QString& part : parts)
        if (part.trimmed().isEmpty() || part.contains(QLatin1Char('/')))
            throw invalid();
    RegistryPath p;
    p.organisation = parts[0];
    p.application = parts[1];
    p.group = parts.mid(2).join(QLatin1Char('/'));
    p.display = parts.join(kSeparator);
    return p;
}

bool registryKeyExists(const QString& path) {
    const auto s = openSettings(parseRegistryPath(path));
    return !s->childKeys().isEmpty() || !s->childGroups().isEmpty();
}

RegistryKey::RegistryKey(const QString& path, Open mode) : m_path(parseRegistryPath(path)) {
    m_settings = openSettings(m_path);
    if (m_settings->status() == QSettings::AccessError)
        throw RegistryError(QStringLiteral("Файлът с настройки %1 не може да бъде прочетен.")
                                .arg(quoted(m_settings->fileName())));
    if (mode == Open::Existing && m_settings->childKeys().isEmpty() &&
        m_settings->childGroups().isEmpty())
        throw RegistryError(
            QStringLiteral("Ключът %1 липсва в регистъра.").arg(quoted(m_path.display)));
}

RegistryKey::~RegistryKey() = default;

QString RegistryKey::checkedName(const QString& name) const {
    // Both slashes would reach into another group of the settings file.
    if (name.trimmed().isEmpty() || name.contains(QLatin1Char('/')) ||
        name.contains(QLatin1Char('\\')))
        throw RegistryError(QStringLiteral("Невалидно име на стойност в ключа %1 на регистъра: %2.")
                                .arg(quoted(m_path.display), quoted(name)));
    return name;
}

void RegistryKey::wrongType(const QString& name, const QString& expected,
                            const QString& found) const {
    throw RegistryError(
        QStringLiteral("Стойността %1 в ключа %2 на регистъра е от друг вид: очаква се %3, а е "
                       "записано %4.")
            .arg(quoted(name), quoted(m_path.display), expected, quoted(found)));
}

bool RegistryKey::valueExists(const QString& name) const {
    return m_settings->contains(checkedName(name));
}

int RegistryKey::readInteger(const QString& name) const {
    const QString key = checkedName(name);
    if (!m_settings->contains(key))
        throw RegistryError(QStringLiteral("Стойността %1 липсва в ключа %2 на регистъра.")
                                .arg(quoted(name), quoted(m_path.display)));
    const QVariant v = m_settings->value(key);
    const QString number = QStringLiteral("цяло число");
    // Read from the file every value is text; a value this process wrote is
    // still held as the number it was.
    const auto t = static_cast<QMetaType::Type>(v.typeId());
    if (isInteger(t)) {
        bool ok = false;
        const qlonglong n = v.toLongLong(&ok);
        if (ok && n >= std::numeric_limits<int>::min() && n <= std::numeric_limits<int>::max())
            return int(n);
        wrongType(name, number, shownValue(v));
    }
    if (t == QMetaType::QString) {
        bool ok = false;
        const int n = v.toString().toInt(&ok);
        if (ok)
            return n;
        wrongType(name, number, v.toString());
    }
    wrongType(name, number, shownValue(v));
}

bool RegistryKey::readBool(const QString& name) const {
    return readInteger(name) != 0;
}

QString RegistryKey::readString(const QString& name) const {
    const QString key = checkedName(name);
    if (!m_settings->contains(key))
        throw RegistryError(QStringLiteral("Стойността %1 липсва в ключа %2 на регистъра.")
                                .arg(quoted(name), quoted(m_path.display)));
    const QVariant v = m_settings->value(key);
    // A number this process wrote is still a number; one read from the file
    // is text and cannot be told from text.
    if (v.typeId() != QMetaType::QString)
        wrongType(name, QStringLiteral("текст"), shownValue(v));
    return v.toString();
}

void RegistryKey::writeInteger(const QString& name, int value) {
    m_settings->setValue(checkedName(name), value);
}

void RegistryKey::writeBool(const QString& name, bool value) {
    m_settings->setValue(checkedName(name), value ? 1 : 0);
}

void RegistryKey::writeString(const QString& name, const QString& value) {
    m_settings->setValue(checkedName(name), value);
}

void RegistryKey::close() {
    syncOrThrow(*m_settings);
}

void writeRegistryValues(const QList<RegistryValue>& values) {
    if (values.isEmpty())
        return;
    const RegistryPath first = parseRegistryPath(values.first().key);
    RegistryPath file = first;
    file.group.clear();
    const auto settings = openSettings(file);
    for (const RegistryValue& v : values) {
        const RegistryPath p = parseRegistryPath(v.key);
        if (p.organisation != first.organisation || p.application != first.application)
            throw RegistryError(QStringLiteral("Ключовете %1 и %2 не са в един файл с настройки.")
                                    .arg(quoted(first.display), quoted(p.display)));
        if (v.name.trimmed().isEmpty() || v.name.contains(QLatin1Char('/')) ||
            v.name.contains(QLatin1Char('\\')))
            throw RegistryError(
                QStringLiteral("Невалидно име на стойност в ключа %1 на регистъра: %2.")
                    .arg(quoted(p.display), quoted(v.name)));
        const QVariant stored =
            v.value.typeId() == QMetaType::Bool ? QVariant(v.value.toBool() ? 1 : 0) : v.value;
        settings->setValue(p.group.isEmpty() ? v.name : p.group + QLatin1Char('/') + v.name,
                           stored);
    }
    syncOrThrow(*settings);
}
