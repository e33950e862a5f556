#pragma once

#include <QList>
#include <QString>
#include <QStringList>
#include <QVariant>

// The layout of the per-user settings: key paths, value names and types, the
// first-run defaults and the ranges of the numbers. No widget is needed here.
namespace regkeys {

// Its existence marks that the first-run defaults have been written.
inline const QString LocalSettings = QStringLiteral("Tamrel\\Kivor 2\\LocalSettings\\");
// The load opens the test key by this path, without the final backslash.
inline const QString Test = QStringLiteral("Tamrel\\Kivor 2\\LocalSettings\\Test");
inline const QString Tutor = QStringLiteral("Tamrel\\Kivor 2\\LocalSettings\\Tutor\\");
inline const QString LAN = QStringLiteral("Tamrel\\Kivor 2\\LANSettings\\");
inline const QString LANTest = QStringLiteral("Tamrel\\Kivor 2\\LANSettings\\Test\\");

} // namespace regkeys

// The range of a number field and the most characters it takes.
struct SpinRange {
    int min;
    int max;
    int maxLength;
};

inline constexpr SpinRange kHourRange{0, 24, 2};
inline constexpr SpinRange kMinuteRange{0, 60, 2};
inline constexpr SpinRange kSecondRange{0, 60, 2};
inline constexpr SpinRange kCorrectionsRange{0, 1000, 4};

// The settings of a test run, as the test page holds them.
struct TestPageSettings {
    bool backBtn;
    bool walkQuest;
    bool timer;
    int hour;
    int min;
    int sec;
    bool unlimiteCor;
    int numCor;
};

// What the first run writes, and what "стандартни настройки" puts back.
inline constexpr TestPageSettings kTestDefaults{true, true, true, 0, 40, 0, false, 2};

enum class ValueKind { Bool, Int, String };

struct DefaultValue {
    QString name;
    ValueKind kind;
    QVariant value;
};

struct DefaultKey {
    QString path;
    QList<DefaultValue> values;
};

// The five keys of the first run with their values, in the order they are
// written. Help, balloons and DictLang take what the settings window holds
// at that moment.
QList<DefaultKey> firstRunDefaults(bool help, bool balloons, const QString& dictLang);

// Writes every key at once: a program killed meanwhile leaves the settings
// as a first run finds them, or complete. Throws RegistryError when the
// settings cannot be written.
void writeDefaults(const QList<DefaultKey>& keys);

// Writes, at once, the defaults of the values that are missing (a file from
// an older program, or edited by hand) and returns them as "Key\Value".
QStringList fillMissingDefaults(const QList<DefaultKey>& keys);
