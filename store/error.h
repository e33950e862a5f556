#pragma once

#include <QString>
#include <stdexcept>

// A failure of one of the layers that stand in for the platform (database,
// registry, pictures). Its text is shown to the user as it stands, so it is
// written in Bulgarian and names the file, table, field or value concerned.
class LayerError : public std::runtime_error {
public:
    explicit LayerError(const QString& text)
        : std::runtime_error(text.toStdString()), m_text(text) {}
    const QString& text() const { return m_text; }

private:
    QString m_text;
};

// Every failure of the data layer reaches the caller as this exception.
class StoreError : public LayerError {
public:
    using LayerError::LayerError;
};
