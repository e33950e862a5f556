#include "display.h"

#include "eventlabel.h"
#include "gapkey.h"
#include "testform.h"
#include "wrapbox.h"

#include "store/datamodule.h"
#include "store/multiline.h"
#include "store/schema.h"

#include <QListWidget>
#include <QStackedWidget>
#include <QTextCursor>
#include <QTextDocument>
#include <QTextEdit>

namespace {

const QColor kPlacedWordColour(0xFF, 0x00, 0x00);

void showTerms(TDataModule2& dm, TTestForm& form) {
    const Query& temp = dm.Temp;
    if (dm.WindowReady)
        form.ClearIC1();
    form.Pages1->setCurrentIndex(TTestForm::Terms);
    pttr(form);
    const QStringList terms = splitLines(temp.text(QStringLiteral("terms")));
    const QStringList trans = splitLines(temp.text(QStringLiteral("trans")));
    // The screen has ten rows; the meanings decide how many are shown.
    for (qsizetype i = 0; i < trans.size() && i < 10; ++i) {
        if (i < terms.size())
            form.termLabel(int(i) + 1)->setText(terms[i]);
        form.meaningLabel(int(i) + 1)->setText(trans[i]);
    }
    for (int i = 1; i <= 10; ++i) {
        form.termBox(i)->setVisible(!form.termLabel(i)->text().isEmpty());
        form.meaningBox(i)->setVisible(!form.meaningLabel(i)->text().isEmpty());
        form.termBox(i)->refit();
        form.meaningBox(i)->refit();
    }
}

// The answer key of the gap question on screen: one row of temp per gap.
void buildAnswerKey(TDataModule2& dm, TTestForm& form) {
    const Query& temp = dm.Temp;
    Query& words = dm.Words;
    words.close();
    if (words.connectionString().isEmpty())
        words.setConnectionString(dm.connectionString(DbFile::Scratch));
    words.setSql({QStringLiteral("delete * from temp")});
    words.exec();
    words.setSql({QStringLiteral("select * from temp")});
    words.open();
    const QList<GapKey> keys =
        gapKeys(temp.text(QStringLiteral("words")), temp.text(QStringLiteral("start")),
                temp.text(QStringLiteral("leng")), temp.text(QStringLiteral("ttscores")));
    for (const GapKey& key : keys) {
        words.append();
        words.setText(QStringLiteral("words"), key.word);
        words.setInteger(QStringLiteral("start"), key.start);
        words.setInteger(QStringLiteral("leng"), key.leng);
        words.setInteger(QStringLiteral("scores"), key.points);
        words.post();
    }

    // Each word once, however many gaps it fills.
    words.setSql({QStringLiteral("select words from temp"), QStringLiteral("union"),
                  QStringLiteral("select words from temp")});
    words.open();
    form.Words1->clear();
    for (words.first(); !words.eof(); words.next())
        form.Words1->addItem(words.text(QStringLiteral("words")));

    words.setSql({QStringLiteral("select * from temp"), QStringLiteral("order by start")});
    words.open();
}

// The question's gap rows: made at its first display of the run, then kept.
void openGapRows(TDataModule2& dm, int id) {
    Query& words = dm.Words;
    Query& gaps = dm.Clone1;
    ++dm.TextQuestionsShown;
    gaps.close();
    gaps.setConnectionString(dm.connectionString(DbFile::Scratch));
    if (dm.TextQuestionsShown == 1) {
        gaps.setSql({QStringLiteral("delete * from sltable")});
        gaps.exec();
    }
    gaps.setSql({QStringLiteral("select * from sltable")});
    gaps.open();
    if (!gaps.locate(QStringLiteral("id"), id)) {
        dm.GapPostCount = 0;
        for (words.first(); !words.eof(); words.next()) {
            gaps.append();
            gaps.setInteger(QStringLiteral("id"), id);
            gaps.setInteger(QStringLiteral("start"), words.integer(QStringLiteral("start")));
            gaps.setInteger(QStringLiteral("leng"),
                            int(words.text(QStringLiteral("words")).size()));
            gaps.setText(QStringLiteral("word"), QString());
            gaps.setText(QStringLiteral("chtrueans"), schema::no);
            gaps.post();
        }
    }
    gaps.close();
    gaps.setSql({QStringLiteral("select * from sltable"), QStringLiteral("where id=:id"),
                 QStringLiteral("order by start")});
    gaps.setParam(QStringLiteral("id"), id);
    gaps.open();
}

// Puts the placed words back into their gaps, in red. The gap rows go in
// order of position and each stored position already counts the words
// placed before it, so every replacement moves the text exactly as the
// later positions expect. The answer key takes the same positions.
void restorePlacedWords(TDataModule2& dm, QTextEdit* text) {
    Query& words = dm.Words;
    Query& gaps = dm.Clone1;
    QTextDocument* doc = text->document();
    const int keyRows = words.recordCount();
    for (int k = 1; k <= gaps.recordCount(); ++k) {
        gaps.moveTo(k);
        const int start = gaps.integer(QStringLiteral("start"));
        if (k <= keyRows) {
            words.moveTo(k);
            words.edit();
            words.setInteger(QStringLiteral("start"), start);
            words.post();
        }
        const QString word = gaps.text(QStringLiteral("word"));
        // A position outside the text (a damaged bank) leaves that gap alone.
        if (!gapInsideText(start, doc->characterCount() - 1))
            continue;
        QTextCursor cursor(doc);
        cursor.setPosition(start);
        cursor.setPosition(start + int(kGapMarker.size()), QTextCursor::KeepAnchor);
        if (cursor.selectedText() != kGapMarker || word.isEmpty())
            continue;
        QTextCharFormat red;
        red.setForeground(kPlacedWordColour);
        cursor.insertText(word, red);
    }
}

// The passage as stored, with room between its lines for the words that go in.
void loadGapText(QTextEdit* text, const QString& plain) {
    text->setPlainText(plain);
    QTextCursor all(text->document());
    all.select(QTextCursor::Document);
    QTextBlockFormat spacing;
    spacing.setLineHeight(160, QTextBlockFormat::ProportionalHeight);
    all.mergeBlockFormat(spacing);
}

void showGapText(TDataModule2& dm, TTestForm& form) {
    const Query& temp = dm.Temp;
    form.Pages1->setCurrentIndex(TTestForm::GapText);
    buildAnswerKey(dm, form);
    loadGapText(form.Text1, temp.text(QStringLiteral("textw")));
    if (!dm.SessionStarted)
        return;
    openGapRows(dm, temp.integer(QStringLiteral("id")));
    restorePlacedWords(dm, form.Text1);
}

} // namespace

void TempAfterScroll(TDataModule2& dm, TTestForm& form) {
    const Query& temp = dm.Temp;
    if (dm.displayEnabled() && temp.recordCount() > 0) {
        form.showPicture(temp.integer(QStringLiteral("id")), temp.blob(QStringLiteral("Picture")));
        switch (temp.integer(QStringLiteral("typequest"))) {
        case TTestForm::FourAnswers:
            form.Pages1->setCurrentIndex(TTestForm::FourAnswers);
            break;
        case TTestForm::Terms:
            showTerms(dm, form);
            break;
        case TTestForm::GapText:
            showGapText(dm, form);
            break;
        default:
            break;
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
