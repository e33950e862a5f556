#include "settingsstore.h"

#include "registry.h"

namespace {

DefaultValue boolean(const char* name, bool value) {
    return {QString::fromLatin1(name), ValueKind::Bool, value};
}

DefaultValue integer(const char* name, int value) {
    return {QString::fromLatin1(name), ValueKind::Int, value};
}

// The eight test values shared by the local and the network test key.
QList<DefaultValue> testValues() {
    const TestPageSettings& d = kTestDefaults;
    return {boolean("BackBtn", d.backBtn),
            boolean("WalkQuest", d.walkQuest),
            boolean("Timer", d.timer),
            integer("hour", d.hour),
            integer("min", d.min),
            integer("sec", d.sec),
            boolean("UnlimiteCor", d.unlimiteCor),
            integer("NumCor", d.numCor)};
}

} // namespace

QList<DefaultKey> firstRunDefaults(bool help, bool balloons, const QString& dictLang) {
    return {
        {regkeys::LocalSettings, {boolean("Help", help), boolean("balloons", balloons)}},
        {regkeys::Test, testValues() << integer("NumQuest", 10)},
        {regkeys::Tutor,
         {boolean("BackBtn", true),
          boolean("WalkQuest", true),
          boolean("FullAns", true),
          integer("NumQuest", 10),
          boolean("Dict", false),
          {QStringLiteral("DictLang"), ValueKind::String, dictLang}}},
        {regkeys::LAN, {boolean("results", true), boolean("TS", false)}},
        {regkeys::LANTest, testValues()},
    };
}

void writeDefaults(const QList<DefaultKey>& keys) {
    QList<RegistryValue> values;
    for (const DefaultKey& k : keys)
        for (const DefaultValue& v : k.values)
            values.append({k.path, v.name, v.value});
    writeRegistryValues(values);
}

QStringList fillMissingDefaults(const QList<DefaultKey>& keys) {
    QList<RegistryValue> missing;
    QStringList names;
    for (const DefaultKey& k : keys) {
        RegistryKey key(k.path, RegistryKey::Open::Create);
        for (const DefaultValue& v : k.values) {
            if (key.valueExists(v.name))
                continue;
            missing.append({k.path, v.name, v.value});
            names.append(parseRegistryPath(k.path).display + QLatin1Char('\\') + v.name);
        }
    }
    writeRegistryValues(missing);
    return names;
}
