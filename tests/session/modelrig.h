#pragma once

// The run model over a drawn run, without a window: the settings a test
// changes as it goes, the drawing of one section, and what the window holds
// and does on the gap page (its text, the word list, the selected word, the
// steps of a press and of the remove-word button).
#include "question/question.h"
#include "session/gapkey.h"
#include "session/sessionrun.h"
#include "setup/drawing.h"
#include "standing.h"
#include "store/datamodule.h"

#include <QTest>
#include <optional>

namespace sessiontest {

struct ModelSettings : RunSettings {
    bool unlimited = false;
    int count = 2;
    bool tutor = false;
    bool unlimitedCorrections() const override { return unlimited; }
    int correctionsCount() const override { return count; }
    bool tutorRun() const override { return tutor; }
};

// Draws `count` questions of `section` of class `classNo` into the run's
// scratch tables.
inline void drawSection(TDataModule2& dm, unsigned classNo, const QString& section, int count,
                        RandomSource& random) {
    Query& topics = dm.Topics;
    topics.close();
    topics.setConnectionString(dm.connectionString(DbFile::Topics));
    topics.setSql({QStringLiteral("select * from topics"), QStringLiteral("where class=:cl")});
    topics.setParam(QStringLiteral("cl"), classNo);
    topics.open();
    QVERIFY(topics.locate(QStringLiteral("section"), section));
    SilentProgress progress;
    drawQuestions(dm, classNo, count, random, progress);
}

class GapPage {
public:
    GapPage(TDataModule2& dm, SessionRun& run) : m_dm(dm), m_run(run) {}

    QString textw; // the text as stored
    QString shown; // the text as the box shows it now
    QStringList listed;
    std::optional<PlacedWord> selected;

    // The display of the current question, as far as the model takes part.
    void show() {
        selected.reset();
        if (m_run.kind() != question::Kind::Gaps)
            return;
        listed = m_run.buildAnswerKey();
        textw = m_dm.Temp.text(QStringLiteral("textw"));
        shown = textw;
        for (const TextChange& change : m_run.openGapRows(shown))
            apply(change);
    }
    void apply(const TextChange& change) {
        QCOMPARE(shown.mid(change.position, change.length),
                 change.placedWord ? kGapMarker : selected.value_or(PlacedWord()).word);
        shown.replace(change.position, change.length, change.text);
    }
    // A press at caret position `p`: with a word picked it places the word
    // and gives the check's notice (none when no gap took it); without, it
    // selects a placed word while the corrections limit allows.
    std::optional<Feedback> press(int p) {
        if (!m_run.wordPicked()) {
            if (m_run.correctionAllowed())
                if (const std::optional<PlacedWord> word = m_run.selectWord(p))
                    selected = word;
            return std::nullopt;
        }
        const std::optional<TextChange> fill = m_run.fillGap(p);
        if (!fill)
            return std::nullopt;
        apply(*fill);
        selected = PlacedWord{fill->position, fill->text};
        return m_run.TrueAnswerW(fill->text, fill->position, false);
    }
    // The remove-word button for the word selected last: whether it came out.
    bool remove() {
        if (!selected)
            return false;
        const std::optional<TextChange> out = m_run.removeWord(selected->word, selected->start);
        if (!out)
            return false;
        if (m_run.TrueAnswerW(selected->word, selected->start, true) != Feedback::None)
            QTest::qFail("a removal earns no notice", __FILE__, __LINE__);
        apply(*out);
        return true;
    }
    // The text shows every gap row's word (or the marker) at its position;
    // the answer key has the same positions; taking the words out again
    // gives back the stored text.
    void check() {
        if (m_run.kind() != question::Kind::Gaps)
            return;
        QCOMPARE(m_run.gapText(), shown);
        const QList<PlacedWord> gaps = m_run.gapRows();
        QList<int> keyStarts;
        forEachRow(
            m_dm.ATemp1, QStringLiteral("select start from temp order by start"),
            [&keyStarts](Query& q) { keyStarts.append(q.integer(QStringLiteral("start"))); });
        QCOMPARE(keyStarts.size(), gaps.size());
        QString back = shown;
        for (qsizetype k = gaps.size() - 1; k >= 0; --k) {
            const QString standing = gaps[k].word.isEmpty() ? kGapMarker : gaps[k].word;
            QCOMPARE(keyStarts[k], gaps[k].start);
            QCOMPARE(back.mid(gaps[k].start, standing.size()), standing);
            back.replace(gaps[k].start, standing.size(), kGapMarker);
        }
        QCOMPARE(back, textw);
    }

private:
    TDataModule2& m_dm;
    SessionRun& m_run;
};

} // namespace sessiontest
