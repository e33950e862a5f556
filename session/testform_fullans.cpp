// The full answer and the dictionary of tutor runs: the link to page 4, the
// way back to the question as it was left, and the look-up.
#include "testform.h"

#include "dictionary.h"
#include "sessionrun.h"

#include "question/question.h"
#include "settings/settingsform.h"
#include "store/datamodule.h"
#include "ui/instances.h"

#include <QComboBox>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QStackedWidget>

void TTestForm::fal1Click() {
    Pages1->setCurrentIndex(FullAnswerPage);
}

void TTestForm::Label26Click() {
    // The question's own page was never rebuilt meanwhile: its lines, words
    // and chosen answer are there as they were left.
    if (const auto kind = m_run->kind())
        Pages1->setCurrentIndex(pageOf(*kind));
}

void TTestForm::searchbtnClick() {
    const QString choice = SettingsForm ? SettingsForm->dict2->currentText() : QString();
    trans1->setPlainText(lookUpWord(*DataModule2, choice, searchedit->text()));
    searchedit->setFocus();
    searchedit->selectAll();
}

void TTestForm::searcheditKeyDown() {
    SearchBtn->click();
}
