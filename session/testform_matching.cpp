// Term matching: picking a term, joining it to a meaning, the remove-line
// button and the redraw of the page, by mouse and from the keyboard. The
// rules (which line is right, the score, the corrections limit) are the run
// model's; this is what the pupil sees of them.
#include "testform.h"

#include "eventlabel.h"
#include "matchcanvas.h"
#include "sessionrun.h"
#include "wrapbox.h"

#include "kit/messages.h"
#include "store/datamodule.h"
#include "ui/instances.h"

#include <QFrame>
#include <QKeyEvent>
#include <array>
#include <utility>

namespace {

const QColor kPickHoverText(0x00, 0x00, 0xFF);
// The arrow and the remove-line button stand this much above their row's box.
constexpr int kCanvasTop = 10;

// The font colour of a label of the term page; a disabled label keeps the
// grey it is shown in.
void setLabelColour(QWidget* label, const QColor& colour) {
    QPalette p = label->palette();
    p.setColor(QPalette::Active, QPalette::WindowText, colour);
    p.setColor(QPalette::Inactive, QPalette::WindowText, colour);
    label->setPalette(p);
}

int rowOf(const QWidget* label) {
    return label->property("tag").toInt();
}

} // namespace

void TTestForm::connectTermPage() {
    // A mouse user never sees the keyboard's frame.
    const auto byMouse = [this] {
        m_keyFocusShown = false;
        showKeyFocus();
    };
    for (int i = 1; i <= 10; ++i) {
        EventLabel* term = termLabel(i);
        EventLabel* meaning = meaningLabel(i);
        connect(term, &EventLabel::pressed, this, [this, term, byMouse](QMouseEvent* e) {
            byMouse();
            if (e->button() == Qt::LeftButton)
                guarded([this, term] { Label4MouseDown3(term); });
        });
        connect(term, &EventLabel::left, this, &TTestForm::Label4MouseLeave3);
        connect(meaning, &EventLabel::pressed, this, [this, meaning, byMouse](QMouseEvent* e) {
            byMouse();
            if (e->button() == Qt::LeftButton)
                Label13MouseDown2(meaning);
        });
        connect(meaning, &EventLabel::released, this, [this, meaning](QMouseEvent* e) {
            if (e->button() == Qt::LeftButton)
                guarded([this, meaning] { Label13MouseUp2(meaning); });
        });
        connectGuarded(meaning, &EventLabel::entered, this,
                       [this, meaning] { Label13MouseEnter2(meaning); });
        connect(meaning, &EventLabel::left, this, [this, meaning] { Label13MouseLeave2(meaning); });
    }
    connectGuarded(clBtn, &EventLabel::clicked, this, &TTestForm::clBtnClick);
}

void TTestForm::resetMatchingPage() {
    for (int i = 1; i <= 10; ++i) {
        termLabel(i)->setEnabled(true);
        meaningLabel(i)->setEnabled(true);
    }
}

void TTestForm::setMeaningCursors(const QCursor& cursor) {
    for (int i = 1; i <= 10; ++i)
        meaningLabel(i)->setCursor(cursor);
}

void TTestForm::showRemoveButton(int meaningRow) {
    clBtn->move(clBtn->x(), meaningBox(meaningRow)->y() - kCanvasTop);
    clBtn->show();
    clBtn->raise();
}

void TTestForm::Label4MouseDown3(EventLabel* term) {
    if (m_run->pickActive())
        return;
    const int row = rowOf(term);
    const SessionRun::PickOutcome pick = m_run->pickTerm(row);
    if (!pick.accepted)
        return;
    term->setEnabled(false);
    LineColour = MatchCanvas::rowColour(row);
    ImgCnvs1->drawMarker(MatchCanvas::Left, row, LineColour);
    arrow1->move(arrow1->x(), termBox(row)->y() - kCanvasTop);
    arrow1->show();
    LineOpen = true;
    if (!pick.pairFound)
        showMessage(MessageKind::Error, QStringLiteral("Липса на данни"));
}

void TTestForm::Label4MouseLeave3() {
    if (m_run->pickActive())
        setMeaningCursors(Qt::DragMoveCursor);
}

void TTestForm::Label13MouseDown2(EventLabel*) {
    // The meaning is taken at the release, which this label receives whatever
    // the pointer does meanwhile.
    if (m_run->pickActive())
        LineOpen = false;
    setMeaningCursors(QCursor());
}

void TTestForm::Label13MouseUp2(EventLabel* meaning) {
    LineOpen = false;
    if (!m_run->pickActive())
        return;
    const int row = rowOf(meaning);
    const SessionRun::JoinOutcome join = m_run->joinMeaning(row);
    if (!join.joined)
        return;
    meaning->setEnabled(false);
    ImgCnvs1->drawMarker(MatchCanvas::Right, row, LineColour);
    setLabelColour(meaning, Qt::black);
    MeaningIndex = row;
    ButtonMeaning = meaning->text();
    ArrowProc(row);
    if (m_run->correctionAllowed())
        showRemoveButton(row);
    if (!join.pairFound)
        showMessage(MessageKind::Error, QStringLiteral("Ima problem s programata"));
    showFeedback(join.feedback);
}

void TTestForm::Label13MouseEnter2(EventLabel* meaning) {
    // An enter delivered while no run is shown (the next one being drawn,
    // its question list closed) has no question to point at.
    if (!DataModule2->displayEnabled())
        return;
    const bool picking = m_run->pickActive();
    if (picking)
        setLabelColour(meaning, kPickHoverText);
    if (meaning->isEnabled()) {
        if (!LineOpen) {
            clBtn->hide();
            arrow1->hide();
        }
        return;
    }
    if (picking)
        return;
    const int row = rowOf(meaning);
    ArrowProc(row);
    MeaningIndex = row;
    ButtonMeaning = meaning->text();
    if (m_run->correctionAllowed())
        showRemoveButton(row);
}

void TTestForm::Label13MouseLeave2(EventLabel* meaning) {
    if (m_run->pickActive())
        setLabelColour(meaning, Qt::black);
}

void TTestForm::ArrowProc(int meaningRow) {
    const int term = m_run->termJoinedTo(meaningRow);
    if (term == 0)
        return;
    arrow1->move(arrow1->x(), termBox(term)->y() - kCanvasTop);
    arrow1->show();
}

void TTestForm::clBtnClick() {
    if (MeaningIndex < 1 || MeaningIndex > 10 || !m_run->correctionAllowed())
        return;
    clBtnProc();
    m_run->removeLine(MeaningIndex);
}

void TTestForm::clBtnProc() {
    ImgCnvs1->eraseMarker(MatchCanvas::Right, MeaningIndex);
    meaningLabel(MeaningIndex)->setEnabled(true);
    if (const int term = m_run->termJoinedTo(MeaningIndex)) {
        ImgCnvs1->eraseMarker(MatchCanvas::Left, term);
        termLabel(term)->setEnabled(true);
    }
    clBtn->hide();
    arrow1->hide();
}

void TTestForm::ClearIC1() {
    ImgCnvs1->fill();
    clBtn->hide();
    arrow1->hide();
    // Every label free but those of a stored line; each label is set once,
    // since a change of its enabled state repaints it.
    std::array<bool, 10> termFree, meaningFree;
    termFree.fill(true);
    meaningFree.fill(true);
    for (const TermLine& line : m_run->lines()) {
        const QColor colour = MatchCanvas::rowColour(line.term);
        ImgCnvs1->drawMarker(MatchCanvas::Left, line.term, colour);
        ImgCnvs1->drawMarker(MatchCanvas::Right, line.meaning, colour);
        if (line.term >= 1 && line.term <= 10)
            termFree[size_t(line.term - 1)] = false;
        if (line.meaning >= 1 && line.meaning <= 10)
            meaningFree[size_t(line.meaning - 1)] = false;
    }
    for (int i = 1; i <= 10; ++i) {
        termLabel(i)->setEnabled(termFree[size_t(i - 1)]);
        meaningLabel(i)->setEnabled(meaningFree[size_t(i - 1)]);
    }
}

void TTestForm::dropPick() {
    if (!m_run->pickActive())
        return;
    const int row = m_run->pickedRow();
    // The meaning under the pointer or the keys turned blue for the pick;
    // it goes back as leaving it would, before the pick ends.
    for (EventLabel* meaning : m_meanings)
        Label13MouseLeave2(meaning);
    m_run->dropPick();
    ImgCnvs1->eraseMarker(MatchCanvas::Left, row);
    termLabel(row)->setEnabled(true);
    arrow1->hide();
    LineOpen = false;
    setMeaningCursors(QCursor());
}

// --- The keyboard on the term page ---
//
// The focus goes over the terms from the top, then over the meanings; Tab
// and the arrow keys move it, Enter or Space picks a term or joins the
// picked term to a meaning, Delete takes a meaning's line back, Esc drops a
// pick. Each key goes through the same handlers as the mouse.

namespace {

using Stop = std::pair<bool, int>; // on the meanings?, row

QList<Stop> keyStops(const TTestForm& form) {
    QList<Stop> stops;
    for (bool meanings : {false, true})
        for (int i = 1; i <= 10; ++i)
            if (!(meanings ? form.meaningBox(i) : form.termBox(i))->isHidden())
                stops.append({meanings, i});
    return stops;
}

// The stops of one column, by their index among all stops.
QList<qsizetype> stopsInColumn(const QList<Stop>& stops, bool meanings) {
    QList<qsizetype> out;
    for (qsizetype i = 0; i < stops.size(); ++i)
        if (stops[i].first == meanings)
            out.append(i);
    return out;
}

// Where a moving key takes the focus from stop `at`: the stop it goes to
// (-1: it stays), and whether the page takes the key at all.
struct KeyMove {
    bool handled = false;
    qsizetype to = -1;
};

KeyMove termFocusMove(const QList<Stop>& stops, qsizetype at, int key) {
    switch (key) {
    case Qt::Key_Tab:
        // Past the last meaning the focus leaves the page.
        return at + 1 < stops.size() ? KeyMove{true, at + 1} : KeyMove{};
    case Qt::Key_Backtab:
        return at > 0 ? KeyMove{true, at - 1} : KeyMove{};
    case Qt::Key_Up:
    case Qt::Key_Down: {
        const QList<qsizetype> column = stopsInColumn(stops, stops[at].first);
        const qsizetype k = column.indexOf(at) + (key == Qt::Key_Up ? -1 : 1);
        return {true, k >= 0 && k < column.size() ? column[k] : -1};
    }
    case Qt::Key_Left:
    case Qt::Key_Right: {
        const QList<qsizetype> column = stopsInColumn(stops, key == Qt::Key_Right);
        const int row = stops[at].second;
        // The nearest row of the other column.
        qsizetype best = -1;
        for (qsizetype i : column)
            if (best < 0 || qAbs(stops[i].second - row) < qAbs(stops[best].second - row))
                best = i;
        return {true, best};
    }
    default:
        return {};
    }
}

} // namespace

void TTestForm::moveKeyFocus(int row, bool meanings) {
    const bool wasMeaning = m_keyOnMeanings;
    const int wasRow = m_keyRow;
    m_keyRow = row;
    m_keyOnMeanings = meanings;
    if (wasMeaning && (wasRow != row || !meanings))
        Label13MouseLeave2(meaningLabel(wasRow));
    if (meanings)
        Label13MouseEnter2(meaningLabel(row));
    showKeyFocus();
}

void TTestForm::showKeyFocus() {
    if (!m_keyFocus)
        return;
    WrapBox* box = m_keyOnMeanings ? meaningBox(m_keyRow) : termBox(m_keyRow);
    if (!m_keyFocusShown || !Panel8->hasFocus() || box->isHidden()) {
        m_keyFocus->hide();
        return;
    }
    m_keyFocus->setGeometry(box->geometry().adjusted(-3, -3, 3, 3));
    m_keyFocus->show();
    m_keyFocus->raise();
}

void TTestForm::termPageFocused(Qt::FocusReason reason) {
    const QList<Stop> stops = keyStops(*this);
    const bool byKeys = reason == Qt::TabFocusReason || reason == Qt::BacktabFocusReason;
    m_keyFocusShown = byKeys;
    if (!stops.isEmpty() && byKeys) {
        const Stop stop = reason == Qt::TabFocusReason ? stops.first() : stops.last();
        m_keyRow = stop.second;
        m_keyOnMeanings = stop.first;
    }
    showKeyFocus();
}

void TTestForm::keyPickOrJoin() {
    EventLabel* term = termLabel(m_keyRow);
    EventLabel* meaning = meaningLabel(m_keyRow);
    if (!m_keyOnMeanings && term->isEnabled()) {
        Label4MouseDown3(term);
        Label4MouseLeave3();
    } else if (m_keyOnMeanings && meaning->isEnabled() && m_run->pickActive()) {
        Label13MouseDown2(meaning);
        Label13MouseUp2(meaning);
    }
}

void TTestForm::keyRemoveLine() {
    EventLabel* meaning = meaningLabel(m_keyRow);
    if (m_keyOnMeanings && !meaning->isEnabled() && !m_run->pickActive()) {
        Label13MouseEnter2(meaning);
        clBtnClick();
    }
}

bool TTestForm::termPageKey(QKeyEvent* event) {
    const QList<Stop> stops = keyStops(*this);
    if (stops.isEmpty())
        return false;
    qsizetype at = stops.indexOf(Stop{m_keyOnMeanings, m_keyRow});
    if (at < 0) {
        at = 0;
        moveKeyFocus(stops[0].second, stops[0].first);
    }
    bool handled = false;
    guarded([&] {
        switch (event->key()) {
        case Qt::Key_Return:
        case Qt::Key_Enter:
        case Qt::Key_Space:
            handled = true;
            keyPickOrJoin();
            break;
        case Qt::Key_Delete:
        case Qt::Key_Backspace:
            handled = true;
            keyRemoveLine();
            break;
        case Qt::Key_Escape:
            handled = m_run->pickActive();
            dropPick();
            break;
        default: {
            const KeyMove move = termFocusMove(stops, at, event->key());
            if (move.to >= 0)
                moveKeyFocus(stops[move.to].second, stops[move.to].first);
            handled = move.handled;
            break;
        }
        }
    });
    if (handled && !m_keyFocusShown) {
        m_keyFocusShown = true;
        showKeyFocus();
    }
    return handled;
}
