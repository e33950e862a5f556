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
    for (const DefaultKey& k : keys) {
        RegistryKey key(k.path, RegistryKey::Open::Create);
        for (const DefaultValue& v : k.values) {
            switch (v.kind) {
            case ValueKind::Bool:
                key.writeBool(v.name, v.value.toBool());
                break;
            case ValueKind::Int:
                key.writeInteger(v.name, v.value.toInt());
                break;
            case ValueKind::String:
                key.writeString(v.name, v.value.toString());
                break;
            }
        }
        key.close();
    }
}
