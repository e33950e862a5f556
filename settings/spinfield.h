#pragma once

#include <QSpinBox>

struct SpinRange;

// A number field whose value() every reader can trust: a number typed beyond
// the range counts as the nearest limit at once and is shown clamped when the
// field loses the focus; a number put in by program is clamped at once; a
// field left without a number counts as its lowest value.
class SpinField : public QSpinBox {
    Q_OBJECT
public:
    explicit SpinField(QWidget* parent = nullptr);

    // Range and the most characters that can be typed.
    void setLimits(const SpinRange& range);

protected:
    // Any digits up to the length are taken, and so is no text at all; the
    // range is applied to the value, not to the typing.
    QValidator::State validate(QString& input, int& pos) const override;
    int valueFromText(const QString& text) const override;

private:
    int m_maxLength = 0;
};
