// Gap fill: the word list, the press on the text, the remove-word button, by
// mouse and from the keyboard. The rules (which gap a press hits, what a gap
// scores, the corrections limit) are the run model's; the text box makes the
// changes of the text the model asks for, so it always shows the model's text.
#include "testform.h"

#include "eventlabel.h"
#include "gapkey.h"
#include "sessionrun.h"

#include "kit/messages.h"

#include <QEvent>
#include <QFocusEvent>
#include <QFrame>
#include <QKeyEvent>
#include <QListWidget>
#include <QMouseEvent>
#include <QScrollBar>
#include <QTextCursor>
#include <QTextEdit>
#include <algorithm>
#include <functional>
#include <optional>
#include <utility>

namespace {

const QColor kPlacedWordColour(0xFF, 0x00, 0x00);
const QColor kKeyGapColour(0xC8, 0xDC, 0xFF);

// Hands the events of one object to a function; true eats the event. The
// text box and the word list take their presses and keys here, before their
// own handling.
class EventHook : public QObject {
public:
    EventHook(QObject* watched, std::function<bool(QEvent*)> hook)
        : QObject(watched), m_hook(std::move(hook)) {
        watched->installEventFilter(this);
    }

protected:
    bool eventFilter(QObject*, QEvent* event) override { return m_hook(event); }

private:
    std::function<bool(QEvent*)> m_hook;
};

int shownLength(const PlacedWord& gap) {
    return gap.word.isEmpty() ? int(kGapMarker.size()) : int(gap.word.size());
}

} // namespace

void TTestForm::connectGapPage() {
    connectGuarded(Words1, &QListWidget::itemClicked, this, &TTestForm::Words1Click);
    connectGuarded(clImg, &EventLabel::clicked, this, &TTestForm::clImgClick);

    new EventHook(Text1->viewport(), [this](QEvent* event) {
        switch (event->type()) {
        case QEvent::MouseButtonPress: {
            const auto* press = static_cast<QMouseEvent*>(event);
            if (press->button() == Qt::LeftButton) {
                const int p = Text1->cursorForPosition(press->position().toPoint()).position();
                // The mark of the current gap is for those who use the keys.
                m_keyOnText = false;
                guarded([this, p] {
                    Text1MouseDown(p);
                    showKeyGap();
                });
            }
            return true;
        }
        // The box's own selection by mouse would undo the selection of a
        // placed word, which shows the pupil what the button takes out.
        case QEvent::MouseButtonDblClick:
        case QEvent::MouseMove:
            return true;
        default:
            return false;
        }
    });

    // The keyboard: the list, then the text gap by gap, then on.
    Text1->setFocusPolicy(Qt::StrongFocus);
    setTabOrder(Words1, Text1);
    new EventHook(Text1, [this](QEvent* event) {
        switch (event->type()) {
        case QEvent::KeyPress:
            return gapTextKey(static_cast<QKeyEvent*>(event));
        case QEvent::FocusIn:
        case QEvent::FocusOut:
            guarded([this, event] {
                const Qt::FocusReason reason = static_cast<QFocusEvent*>(event)->reason();
                // Only Tab marks a gap on arrival: the window coming back
                // (Alt+Tab, a closed message box) may bring a mouse user.
                m_keyOnText = event->type() == QEvent::FocusIn &&
                              (reason == Qt::TabFocusReason || reason == Qt::BacktabFocusReason);
                if (m_keyOnText && reason == Qt::TabFocusReason)
                    m_keyGap = 0;
                else if (m_keyOnText && reason == Qt::BacktabFocusReason)
                    m_keyGap = int(m_run->gapRows().size()) - 1;
                showKeyGap();
            });
            return false;
        default:
            return false;
        }
    });
    new EventHook(Words1, [this](QEvent* event) {
        return event->type() == QEvent::KeyPress && wordListKey(static_cast<QKeyEvent*>(event));
    });
}

void TTestForm::Words1Click() {
    const QListWidgetItem* item = Words1->currentItem();
    if (!item || !item->isSelected())
        return;
    const bool picked = m_run->pickWord(item->text());
    Text1->viewport()->setCursor(picked ? Qt::DragMoveCursor : Qt::ArrowCursor);
}

void TTestForm::Text1MouseDown(int p) {
    if (!m_run->wordPicked()) {
        if (m_run->correctionAllowed())
            M0(p);
        else
            clBtn1->hide();
        return;
    }
    clBtn1->hide();
    Text1->viewport()->setCursor(Qt::ArrowCursor);
    const std::optional<TextChange> fill = m_run->fillGap(p);
    if (!fill)
        return;
    showTextChange(*fill);
    CurrentWord = fill->text;
    CurrentGapStart = fill->position;
    showKeyGap();
    TrueAnswerW(CurrentWord, CurrentGapStart, true, false);
}

void TTestForm::M0(int p) {
    const std::optional<PlacedWord> word =
        GapRowsFlag ? m_run->selectWord(p) : std::optional<PlacedWord>();
    if (!word) {
        clBtn1->hide();
        return;
    }
    CurrentWord = word->word;
    CurrentGapStart = word->start;
    QTextCursor selection(Text1->document());
    selection.setPosition(word->start);
    selection.setPosition(word->start + int(word->word.size()), QTextCursor::KeepAnchor);
    Text1->setTextCursor(selection);
    clBtn1->show();
}

void TTestForm::clImgClick() {
    if (m_run->correctionAllowed())
        DeleteWord();
}

void TTestForm::DeleteWord() {
    const std::optional<TextChange> out = m_run->removeWord(CurrentWord, CurrentGapStart);
    if (!out)
        return;
    // The points go with the word only once it has really come out.
    TrueAnswerW(CurrentWord, CurrentGapStart, false, true);
    showTextChange(*out);
    clBtn1->hide();
    showKeyGap();
}

void TTestForm::TrueAnswerW(const QString& word, int start, bool feedback, bool removal) {
    const Feedback verdict = m_run->TrueAnswerW(word, start, removal);
    if (feedback)
        showFeedback(verdict);
}

void TTestForm::showTextChange(const TextChange& change) {
    QTextCursor cursor(Text1->document());
    cursor.setPosition(change.position);
    cursor.setPosition(change.position + change.length, QTextCursor::KeepAnchor);
    QTextCharFormat format;
    format.setForeground(change.placedWord ? kPlacedWordColour : QColor(Qt::black));
    cursor.insertText(change.text, format);
    // No selection stays on text that has just changed.
    Text1->setTextCursor(cursor);
}

void TTestForm::gapPageShown() {
    clBtn1->hide();
    Text1->viewport()->setCursor(Qt::ArrowCursor);
    m_keyGap = 0;
    showKeyGap();
}

// --- The keyboard on the gap page ---
//
// In the word list the arrows choose a word and Enter picks it; Tab goes on
// to the text. There Tab and the arrows step from gap to gap, Enter or Space
// presses on the current gap (placing the picked word, or selecting a placed
// one), Delete takes the current gap's word out and Esc drops a pick. Each
// key goes through the same handlers as the mouse.

bool TTestForm::wordListKey(QKeyEvent* event) {
    switch (event->key()) {
    case Qt::Key_Return:
    case Qt::Key_Enter:
        guarded([this] { Words1Click(); });
        return true;
    case Qt::Key_Escape:
        if (!m_run->wordPicked())
            return false;
        m_run->dropWordPick();
        Text1->viewport()->setCursor(Qt::ArrowCursor);
        return true;
    default:
        return false;
    }
}

void TTestForm::pressKeyGap() {
    const QList<PlacedWord> gaps = m_run->gapRows();
    if (m_keyGap < 0 || m_keyGap >= gaps.size())
        return;
    // Just inside the gap: its first position may also be the last of the
    // gap before it.
    Text1MouseDown(gaps[m_keyGap].start + 1);
}

namespace {

// Where a moving key takes the keyboard from gap `was` of the gaps 0 …
// `last`, and whether the text takes the key; none for a key that does not
// move.
struct GapMove {
    bool handled = false;
    int to = 0;
};

std::optional<GapMove> gapMove(int key, int was, int last) {
    switch (key) {
    case Qt::Key_Tab:
        // Past the last gap the keyboard leaves the text.
        return GapMove{was < last, std::min(was + 1, last)};
    case Qt::Key_Backtab:
        return GapMove{was > 0, std::max(was - 1, 0)};
    case Qt::Key_Right:
    case Qt::Key_Down:
        return GapMove{true, std::min(was + 1, last)};
    case Qt::Key_Left:
    case Qt::Key_Up:
        return GapMove{true, std::max(was - 1, 0)};
    default:
        return std::nullopt;
    }
}

} // namespace

bool TTestForm::gapActionKey(int key, bool gapHoldsWord) {
    switch (key) {
    case Qt::Key_Return:
    case Qt::Key_Enter:
    case Qt::Key_Space:
        pressKeyGap();
        return true;
    case Qt::Key_Delete:
    case Qt::Key_Backspace:
        if (m_run->wordPicked() || !gapHoldsWord)
            return true;
        pressKeyGap();
        if (!clBtn1->isHidden())
            clImgClick();
        return true;
    case Qt::Key_Escape: {
        const bool picked = m_run->wordPicked();
        m_run->dropWordPick();
        Text1->viewport()->setCursor(Qt::ArrowCursor);
        return picked;
    }
    default:
        return false;
    }
}

void TTestForm::keepKeyGapInView() {
    const QList<PlacedWord> gaps = m_run->gapRows();
    if (m_keyGap >= gaps.size())
        return;
    QTextCursor at(Text1->document());
    at.setPosition(gaps[m_keyGap].start);
    const QRect r = Text1->cursorRect(at);
    QScrollBar* bar = Text1->verticalScrollBar();
    if (r.top() < 0)
        bar->setValue(bar->value() + r.top());
    else if (r.bottom() > Text1->viewport()->height())
        bar->setValue(bar->value() + r.bottom() - Text1->viewport()->height());
}

bool TTestForm::gapTextKey(QKeyEvent* event) {
    bool handled = false;
    guarded([&] {
        const QList<PlacedWord> gaps = m_run->gapRows();
        if (gaps.isEmpty())
            return;
        const int last = int(gaps.size()) - 1;
        const int was = std::clamp(m_keyGap, 0, last);
        m_keyGap = was;
        int pressed = event->key();
        if (pressed == Qt::Key_Tab && event->modifiers().testFlag(Qt::ShiftModifier))
            pressed = Qt::Key_Backtab;
        if (const std::optional<GapMove> move = gapMove(pressed, was, last)) {
            handled = move->handled;
            m_keyGap = move->to;
        } else {
            handled = gapActionKey(pressed, !gaps[was].word.isEmpty());
        }
        if (!handled)
            return;
        m_keyOnText = true;
        showKeyGap();
        // The current gap stays in view.
        keepKeyGapInView();
    });
    return handled;
}

void TTestForm::showKeyGap() {
    QList<QTextEdit::ExtraSelection> marks;
    const QList<PlacedWord> gaps = m_keyOnText ? m_run->gapRows() : QList<PlacedWord>();
    if (m_keyGap >= 0 && m_keyGap < gaps.size()) {
        const PlacedWord& gap = gaps[m_keyGap];
        QTextEdit::ExtraSelection mark;
        mark.cursor = QTextCursor(Text1->document());
        mark.cursor.setPosition(gap.start);
        mark.cursor.setPosition(gap.start + shownLength(gap), QTextCursor::KeepAnchor);
        mark.format.setBackground(kKeyGapColour);
        marks.append(mark);
    }
    Text1->setExtraSelections(marks);
}
