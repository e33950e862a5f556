#pragma once

#include <QList>
#include <QStringList>
#include <QVariant>
#include <functional>

class RegistryKey;
struct RegistryValue;

// Key paths of the per-user settings.
namespace regkeys {

// Its existence marks that the first-run defaults have been written.
inline constexpr char LocalSettings[] = "Tamrel\\Kivor 2\\LocalSettings\\";
// The load opens the test key by this path, without the final backslash.
inline constexpr char Test[] = "Tamrel\\Kivor 2\\LocalSettings\\Test";
inline constexpr char Tutor[] = "Tamrel\\Kivor 2\\LocalSettings\\Tutor\\";
inline constexpr char LAN[] = "Tamrel\\Kivor 2\\LANSettings\\";
inline constexpr char LANTest[] = "Tamrel\\Kivor 2\\LANSettings\\Test\\";

} // namespace regkeys

// The range of a number field and the most characters it takes.
struct SpinRange {
    int min;
    int max;
    int maxLength;
};

enum class ValueKind { Bool, Int, String };

// What happens to a setting besides the first run writing it.
enum SettingUse : unsigned {
    kFirstRunOnly = 0,
    kSaved = 1,       // "Запази" writes its control
    kLoaded = 2,      // the load puts it into its control
    kFromControl = 4, // the first run writes what the control holds then
    kAlsoLanTest = 8, // the first run writes it under the network test key as well
    kStored = kSaved | kLoaded,
};

// One value of the per-user settings. The control is named by its object
// name, so this layer needs no widget.
struct Setting {
    const char* key;
    const char* name;
    ValueKind kind;
    int firstRun;        // the default, unless taken from the control
    const char* control; // nullptr: no control holds it
    unsigned use;
    SpinRange range{}; // for numbers with a control
};

// Every setting, in the order the first run, the load and the save go
// through them. The test page is the test key's settings with a control;
// "стандартни настройки" puts their first-run values back.
inline constexpr Setting kSettings[] = {
    {regkeys::LocalSettings, "Help", ValueKind::Bool, 0, "shsc0", kStored | kFromControl},
    {regkeys::LocalSettings, "balloons", ValueKind::Bool, 0, "sbt0", kStored | kFromControl},
    {regkeys::Test, "BackBtn", ValueKind::Bool, 1, "sbbc1", kStored | kAlsoLanTest},
    {regkeys::Test, "WalkQuest", ValueKind::Bool, 1, "srqc1", kStored | kAlsoLanTest},
    {regkeys::Test, "Timer", ValueKind::Bool, 1, "chtime1", kStored | kAlsoLanTest},
    {regkeys::Test, "hour", ValueKind::Int, 0, "hour1", kStored | kAlsoLanTest, {0, 24, 2}},
    {regkeys::Test, "min", ValueKind::Int, 40, "min1", kStored | kAlsoLanTest, {0, 60, 2}},
    {regkeys::Test, "sec", ValueKind::Int, 0, "sec1", kStored | kAlsoLanTest, {0, 60, 2}},
    {regkeys::Test, "UnlimiteCor", ValueKind::Bool, 0, "unnumcor1", kStored | kAlsoLanTest},
    {regkeys::Test, "NumCor", ValueKind::Int, 2, "numcor1", kStored | kAlsoLanTest, {0, 1000, 4}},
    {regkeys::Test, "NumQuest", ValueKind::Int, 10, nullptr, kFirstRunOnly},
    {regkeys::Tutor, "BackBtn", ValueKind::Bool, 1, "sbbc2", kStored},
    {regkeys::Tutor, "WalkQuest", ValueKind::Bool, 1, "srqc2", kStored},
    {regkeys::Tutor, "FullAns", ValueKind::Bool, 1, nullptr, kFirstRunOnly},
    {regkeys::Tutor, "NumQuest", ValueKind::Int, 10, nullptr, kFirstRunOnly},
    {regkeys::Tutor, "Dict", ValueKind::Bool, 0, nullptr, kFirstRunOnly},
    {regkeys::Tutor, "DictLang", ValueKind::String, 0, "dict2", kSaved | kFromControl},
    {regkeys::LAN, "results", ValueKind::Bool, 1, nullptr, kFirstRunOnly},
    {regkeys::LAN, "TS", ValueKind::Bool, 0, nullptr, kFirstRunOnly},
};

bool onTestPage(const Setting& s);
// Calls visit once per key, in table order, with that key's settings of the use.
void forEachKey(unsigned use, const std::function<void(const QList<const Setting*>&)>& visit);
// The setting held by the control of that object name.
const Setting& settingOf(const char* control);

// The first run's values, in the order they are written. A value taken from
// its control gets what current gives for it.
QList<RegistryValue> firstRunValues(const std::function<QVariant(const Setting&)>& current);

// Writes, at once, the values that are missing (a file from an older
// program, or edited by hand) and returns them as "Key\Value".
QStringList fillMissingValues(const QList<RegistryValue>& values);

// Read or write the setting as its kind is stored. Throws RegistryError.
QVariant readSetting(const RegistryKey& key, const Setting& s);
void writeSetting(RegistryKey& key, const Setting& s, const QVariant& value);
