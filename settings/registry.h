#pragma once

#include "store/error.h"

#include <QList>
#include <QString>
#include <QVariant>
#include <memory>

class QSettings;

// A missing registry value, one of another type, or settings that cannot be
// written. The text names the value (or key, or file) in Bulgarian.
class RegistryError : public LayerError {
public:
    using LayerError::LayerError;
};

// Where a key path such as "Tamrel\Kivor 2\LocalSettings\Test\" lives: the
// first two parts choose the file (organisation and application of the
// per-user settings), the rest are nested groups inside it.
struct RegistryPath {
    QString organisation;
    QString application;
    QString group;   // "LocalSettings/Test"; empty for the file's top level
    QString display; // the path as messages show it, without the final backslash
};
// Throws RegistryError for a path that does not name a key.
RegistryPath parseRegistryPath(const QString& path);

// Whether the key holds any value or sub key. A key is kept only through its
// values, so a key that was created and left empty does not exist.
bool registryKeyExists(const QString& path);

// Values of several keys of one settings file, written with one write of the
// file: a program killed meanwhile leaves either none of them or all. A bool
// goes in as the 0 or 1 it is stored as. Throws RegistryError when the file
// cannot be written, or when the keys live in different files.
struct RegistryValue {
    QString key;
    QString name;
    QVariant value;
};
void writeRegistryValues(const QList<RegistryValue>& values);

// One open key of the per-user settings. Values are typed as the registry
// types them: a bool is an integer written as 0 or 1 and read back as true
// when non-zero; an int is a 32-bit integer; a string is text.
class RegistryKey {
public:
    enum class Open { Existing, Create };

    // Open::Existing throws RegistryError naming the key when it is missing.
    RegistryKey(const QString& path, Open mode);
    // Flushes what close() has not; a failure here cannot be reported, so
    // writers call close().
    ~RegistryKey();
    RegistryKey(const RegistryKey&) = delete;
    RegistryKey& operator=(const RegistryKey&) = delete;

    const QString& path() const { return m_path.display; }
    bool valueExists(const QString& name) const;

    // A missing value, or one that is not of the asked type, throws
    // RegistryError naming the value and the key.
    int readInteger(const QString& name) const;
    bool readBool(const QString& name) const;
    QString readString(const QString& name) const;

    void writeInteger(const QString& name, int value);
    void writeBool(const QString& name, bool value);
    void writeString(const QString& name, const QString& value);

    // Writes the values to the file, where another process sees them.
    // Throws RegistryError when the file cannot be written.
    void close();

private:
    QString checkedName(const QString& name) const;
    [[noreturn]] void wrongType(const QString& name, const QString& expected,
                                const QString& found) const;

    RegistryPath m_path;
    std::unique_ptr<QSettings> m_settings;
};
