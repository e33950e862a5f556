#include "spinfield.h"

#include "settingsstore.h"

#include <QLineEdit>
#include <algorithm>

SpinField::SpinField(QWidget* parent) : QSpinBox(parent) {
    // Every keystroke updates the value, so a reader never sees a stale one.
    setKeyboardTracking(true);
    setCorrectionMode(QAbstractSpinBox::CorrectToNearestValue);
}

void SpinField::setLimits(const SpinRange& range) {
    m_maxLength = range.maxLength;
    setRange(range.min, range.max);
    lineEdit()->setMaxLength(range.maxLength);
}

QValidator::State SpinField::validate(QString& input, int& /*pos*/) const {
    if (m_maxLength > 0 && input.size() > m_maxLength)
        return QValidator::Invalid;
    QStringView digits(input);
    if (minimum() < 0 && digits.startsWith(QLatin1Char('-')))
        digits = digits.mid(1);
    for (const QChar c : digits)
        if (c < QLatin1Char('0') || c > QLatin1Char('9'))
            return QValidator::Invalid;
    // A lone minus sign is on its way to a number.
    if (digits.isEmpty() && !input.isEmpty())
        return QValidator::Intermediate;
    return QValidator::Acceptable;
}

int SpinField::valueFromText(const QString& text) const {
    bool ok = false;
    const qlonglong n = text.toLongLong(&ok);
    if (!ok)
        return minimum();
    return int(std::clamp<qlonglong>(n, minimum(), maximum()));
}

#include "moc_spinfield.cpp"
