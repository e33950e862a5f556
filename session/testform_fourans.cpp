// Four-answer questions: the clicks, their corrections limit and scoring,
// the chosen box and the hover.
#include "testform.h"

#include "eventlabel.h"
#include "scoring.h"
#include "widgetcolours.h"
#include "wrapbox.h"

#include "app/globals.h"
#include "settings/settingsform.h"
#include "settings/spinfield.h"
#include "setup/shuffle.h"
#include "store/datamodule.h"
#include "store/schema.h"

#include <QCheckBox>

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
    Query& temp = DataModule2->Temp;
    if (!SettingsForm->unnumcor1->isChecked()) {
        const int limit = temp.integer(QStringLiteral("Limit"));
        if (!correctionAllowed(false, limit, SettingsForm->numcor1->value()))
            return;
        temp.edit();
        temp.setInteger(QStringLiteral("Limit"), limit + 1);
        temp.post();
    }
    ChosenLetter = answerLetter(box);
    TrueAnswer();
    ChooseAns();
}

void TTestForm::TrueAnswer() {
    Query& temp = DataModule2->Temp;
    const bool right = temp.text(QStringLiteral("TrueAns")) == QString(ChosenLetter);
    const MarkChange change =
        scoreAnswer(right, temp.text(QStringLiteral("ChTrueAns")) == schema::yes,
                    temp.integer(QStringLiteral("Scores")));
    if (change.flipped) {
        Score += change.scoreDelta;
        temp.edit();
        temp.setText(QStringLiteral("ChTrueAns"), change.counted ? schema::yes : schema::no);
        temp.post();
    }
    if (tutorRun())
        showFeedback(right);
}

void TTestForm::ChooseAns() {
    Query& temp = DataModule2->Temp;
    temp.edit();
    temp.setText(QStringLiteral("ChAns"), QString(ChosenLetter));
    temp.post();
    highlightAnswer(::answerBox(ChosenLetter));
}

void TTestForm::EventChooseAns() {
    const QString chosen = DataModule2->Temp.text(QStringLiteral("ChAns"));
    // Anything but one of the four letters shows no choice, so that the
    // highlight of another question never stays behind.
    highlightAnswer(chosen.size() == 1 ? ::answerBox(chosen.at(0)) : 0);
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
