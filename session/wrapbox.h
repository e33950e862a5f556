#pragma once

#include <QScrollArea>

class QLabel;

// A scroll box around one word-wrapped label (question, answer, full answer)
// that shows its text as plain text: no horizontal scroll bar, a vertical one
// only when the text is taller than the box. The label fills the box and
// keeps its text centred; when the text needs the scroll bar, the label
// leaves room for it.
class WrapBox : public QScrollArea {
    Q_OBJECT
public:
    // `scrollRoom`: how much narrower than the box the label is while the box
    // scrolls.
    WrapBox(QLabel* label, int scrollRoom, QWidget* parent = nullptr);

    QLabel* label() const { return m_label; }
    // Sizes the label to the box and its text; after a change of either.
    void refit();

protected:
    void resizeEvent(QResizeEvent* event) override;

private:
    QLabel* m_label;
    int m_scrollRoom;
};
