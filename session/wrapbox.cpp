#include "wrapbox.h"

#include <QLabel>
#include <algorithm>

WrapBox::WrapBox(QLabel* label, int scrollRoom, QWidget* parent)
    : QScrollArea(parent), m_label(label), m_scrollRoom(scrollRoom) {
    setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    setVerticalScrollBarPolicy(Qt::ScrollBarAsNeeded);
    setWidgetResizable(false);
    m_label->setWordWrap(true);
    m_label->setAlignment(Qt::AlignCenter);
    // The texts come from the question bank: "<b>" or "&lt;" in a question
    // is what the pupil must read, not markup.
    m_label->setTextFormat(Qt::PlainText);
    setWidget(m_label);
}

void WrapBox::refit() {
    const QRect inside = contentsRect();
    const int fullWidth = std::max(1, inside.width());
    const int height = inside.height();
    if (m_label->heightForWidth(fullWidth) <= height) {
        m_label->setGeometry(0, 0, fullWidth, height);
        return;
    }
    const int narrow = std::max(1, width() - m_scrollRoom);
    m_label->setGeometry(0, 0, narrow, std::max(height, m_label->heightForWidth(narrow)));
}

void WrapBox::resizeEvent(QResizeEvent* event) {
    QScrollArea::resizeEvent(event);
    refit();
}

#include "moc_wrapbox.cpp"
