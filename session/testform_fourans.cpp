// Four-answer questions: the clicks, their corrections limit and scoring,
// the chosen box and the hover.
#include "testform.h"

#include "eventlabel.h"
#include "sessionrun.h"
#include "widgetcolours.h"
#include "wrapbox.h"

#include "session/shuffle.h"

const QColor TTestForm::kPlainColour(0xFF, 0xFF, 0xFF);
const QColor TTestForm::kChosenColour(0xFF, 0xF0, 0xCA);
const QColor TTestForm::kHoverColour(0xF9, 0xF9, 0xF9);

namespace {

const QColor kChosenText(0xFF, 0x00, 0x00);

} // namespace

void TTestForm::Ans1Click() {
    answerClick(1);
}

void TTestForm::Ans2Click() {
    answerClick(2);
}

void TTestForm::Ans3Click() {
    answerClick(3);
}

void TTestForm::Ans4Click() {
    answerClick(4);
}

void TTestForm::answerClick(int box) {
    if (!m_run->countCorrection())
        return;
    ChosenLetter = answerLetter(box);
    TrueAnswer();
    ChooseAns();
}

void TTestForm::TrueAnswer() {
    showFeedback(m_run->scoreChoice(ChosenLetter));
}

void TTestForm::ChooseAns() {
    m_run->storeChoice(ChosenLetter);
    highlightAnswer(::answerBox(ChosenLetter));
}

void TTestForm::EventChooseAns() {
    // Anything but one of the four letters shows no choice, so that the
    // highlight of another question never stays behind.
    const QChar chosen = m_run->storedChoice();
    highlightAnswer(chosen.isNull() ? 0 : ::answerBox(chosen));
}

void TTestForm::highlightAnswer(int chosenBox) {
    for (int k = 1; k <= 4; ++k) {
        if (k == chosenBox)
            paintAnswer(k, kChosenColour, kChosenText);
        else
            paintAnswer(k, kPlainColour, Qt::black);
    }
}

void TTestForm::paintAnswer(int box, const QColor& boxColour, const QColor& textColour) {
    WrapBox* b = answerBox(box);
    setFillColour(b->viewport(), boxColour);
    EventLabel* label = answerLabel(box);
    setFillColour(label, boxColour);
    setTextColour(label, textColour);
}

void TTestForm::ans1MouseEnter(EventLabel* label) {
    if (fillColour(label) != kPlainColour)
        return;
    for (int k = 1; k <= 4; ++k)
        if (answerLabel(k) == label)
            paintAnswer(k, kHoverColour, textColour(label));
}

void TTestForm::ans1MouseLeave(EventLabel* label) {
    if (fillColour(label) == kChosenColour)
        return;
    for (int k = 1; k <= 4; ++k)
        if (answerLabel(k) == label)
            paintAnswer(k, kPlainColour, textColour(label));
}
