#include "display.h"

#include "eventlabel.h"
#include "sessionrun.h"
#include "testform.h"
#include "wrapbox.h"

#include "question/question.h"
#include "store/datamodule.h"

#include <QListWidget>
#include <QStackedWidget>
#include <QTextCursor>
#include <QTextDocument>
#include <QTextEdit>

namespace {

void showTerms(TDataModule2& dm, TTestForm& form) {
    if (dm.WindowReady)
        form.ClearIC1();
    form.Pages1->setCurrentIndex(TTestForm::pageOf(question::Kind::Matching));
    pttr(form);
    // The screen has ten rows; the meanings decide how many are shown.
    const SessionRun& run = form.run();
    for (int i = 1; i <= run.rowCount(); ++i) {
        form.termLabel(i)->setText(run.termText(i));
        form.meaningLabel(i)->setText(run.meaningText(i));
    }
    for (int i = 1; i <= 10; ++i) {
        form.termBox(i)->setVisible(!form.termLabel(i)->text().isEmpty());
        form.meaningBox(i)->setVisible(!form.meaningLabel(i)->text().isEmpty());
        form.termBox(i)->refit();
        form.meaningBox(i)->refit();
    }
}

// The passage as stored, with room between its lines for the words that go in.
void loadGapText(QTextEdit* text, const QString& plain) {
    text->setPlainText(plain);
    QTextCursor all(text->document());
    all.select(QTextCursor::Document);
    // The box gives new plain text the colour at its cursor, which is the red
    // of the word placed last: the passage itself is never coloured.
    all.setCharFormat(QTextCharFormat());
    QTextBlockFormat spacing;
    spacing.setLineHeight(160, QTextBlockFormat::ProportionalHeight);
    all.mergeBlockFormat(spacing);
}

void showGapText(TDataModule2& dm, TTestForm& form) {
    SessionRun& run = form.run();
    form.Pages1->setCurrentIndex(TTestForm::pageOf(question::Kind::Gaps));
    form.Words1->clear();
    form.Words1->addItems(run.buildAnswerKey());
    // The passage and every word put back are one edit of the document: the
    // box lays the passage out once, not again after each word.
    QTextCursor edit(form.Text1->document());
    edit.beginEditBlock();
    loadGapText(form.Text1, dm.Temp.text(QStringLiteral("textw")));
    // The placed words go back in red; the answer key takes their positions.
    if (dm.SessionStarted)
        for (const TextChange& change : run.openGapRows(form.Text1->toPlainText()))
            form.showTextChange(change);
    edit.endEditBlock();
    form.gapPageShown();
}

} // namespace

void TempAfterScroll(TDataModule2& dm, TTestForm& form) {
    const Query& temp = dm.Temp;
    if (dm.displayEnabled() && temp.recordCount() > 0) {
        // A pick never ends on a meaning of another question.
        form.dropPick();
        form.showPicture(temp.integer(QStringLiteral("id")), temp.blob(QStringLiteral("Picture")));
        // A row of no kind leaves the page as it is.
        if (const auto kind = question::kindOf(temp.integer(QStringLiteral("typequest")))) {
            switch (*kind) {
            case question::Kind::Choice:
                form.Pages1->setCurrentIndex(TTestForm::pageOf(*kind));
                break;
            case question::Kind::Matching:
                showTerms(dm, form);
                break;
            case question::Kind::Gaps:
                showGapText(dm, form);
                break;
            }
        }
    }
    if (TTestForm::tutorRun()) {
        form.FullAns->setText(temp.text(QStringLiteral("fullans")));
        form.FAP->refit();
    }
    form.Panel10->hide();
}

void pttr(TTestForm& form) {
    for (int i = 1; i <= 10; ++i) {
        form.termBox(i)->hide();
        form.meaningBox(i)->hide();
        form.termLabel(i)->clear();
        form.meaningLabel(i)->clear();
    }
}

void Clone1AfterPost(TDataModule2& dm, TTestForm& form) {
    ++dm.GapPostCount;
    form.GapRowsFlag = dm.GapPostCount > 0;
}

void Clone1AfterDelete(TDataModule2& dm, TTestForm& form) {
    --dm.GapPostCount;
    form.GapRowsFlag = dm.GapPostCount > 0;
}

void connectDisplayHandlers(TDataModule2& dm, TTestForm& form) {
    dm.Temp.setAfterScroll([&dm, &form](Query&) { TempAfterScroll(dm, form); });
    dm.Clone1.setAfterPost([&dm, &form](Query&) { Clone1AfterPost(dm, form); });
    dm.Clone1.setAfterDelete([&dm, &form](Query&) { Clone1AfterDelete(dm, form); });
}

void disconnectDisplayHandlers(TDataModule2& dm) {
    dm.Temp.setAfterScroll({});
    dm.Clone1.setAfterPost({});
    dm.Clone1.setAfterDelete({});
}
