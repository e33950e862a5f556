#pragma once

#include <QString>
#include <stdexcept>

// Every failure of the data layer reaches the caller as this exception; its
// text is shown to the user as it stands, so it is written in Bulgarian and
// names the file, table or field concerned.
class StoreError : public std::runtime_error {
public:
    explicit StoreError(const QString& text)
        : std::runtime_error(text.toStdString()), m_text(text) {}
    const QString& text() const { return m_text; }

private:
    QString m_text;
};
