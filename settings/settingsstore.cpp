#include "settingsstore.h"

#include "registry.h"

#include <algorithm>

bool onTestPage(const Setting& s) {
    return s.control && qstrcmp(s.key, regkeys::Test) == 0;
}

void forEachKey(unsigned use, const std::function<void(const QList<const Setting*>&)>& visit) {
    QList<const Setting*> group;
    for (const Setting& s : kSettings) {
        if (!(s.use & use))
            continue;
        if (!group.isEmpty() && qstrcmp(group[0]->key, s.key) != 0) {
            visit(group);
            group.clear();
        }
        group.append(&s);
    }
    if (!group.isEmpty())
        visit(group);
}

const Setting& settingOf(const char* control) {
    return *std::find_if(std::begin(kSettings), std::end(kSettings),
                         [control](const Setting& s) { return qstrcmp(s.control, control) == 0; });
}

QList<RegistryValue> firstRunValues(const std::function<QVariant(const Setting&)>& current) {
    QList<RegistryValue> values, lanTest;
    for (const Setting& s : kSettings) {
        const QVariant value = s.use & kFromControl ? current(s) : QVariant(s.firstRun);
        values.append({QString::fromLatin1(s.key), QString::fromLatin1(s.name), value});
        if (s.use & kAlsoLanTest)
            lanTest.append({QString::fromLatin1(regkeys::LANTest), values.last().name, value});
    }
    return values + lanTest;
}

QStringList fillMissingValues(const QList<RegistryValue>& values) {
    QList<RegistryValue> missing;
    QStringList names;
    for (const RegistryValue& v : values) {
        if (RegistryKey(v.key, RegistryKey::Open::Create).valueExists(v.name))
            continue;
        missing.append(v);
        names.append(parseRegistryPath(v.key).display + QLatin1Char('\\') + v.name);
    }
    writeRegistryValues(missing);
    return names;
}

QVariant readSetting(const RegistryKey& key, const Setting& s) {
    const QString name = QString::fromLatin1(s.name);
    if (s.kind == ValueKind::Bool)
        return key.readBool(name);
    if (s.kind == ValueKind::Int)
        return key.readInteger(name);
    return key.readString(name);
}

void writeSetting(RegistryKey& key, const Setting& s, const QVariant& value) {
    const QString name = QString::fromLatin1(s.name);
    if (s.kind == ValueKind::Bool)
        key.writeBool(name, value.toBool());
    else if (s.kind == ValueKind::Int)
        key.writeInteger(name, value.toInt());
    else
        key.writeString(name, value.toString());
}
