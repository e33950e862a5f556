#include "drawing.h"

#include "random.h"
#include "session/shuffle.h"

#include "question/faults.h"
#include "question/question.h"
#include "question/row.h"
#include "store/connection.h"
#include "store/datamodule.h"
#include "store/jetsql.h"
#include "store/multiline.h"
#include "store/schema.h"

#include <algorithm>
#include <vector>

namespace {

const QStringList kAnswerColumns = {QStringLiteral("AnsA"), QStringLiteral("AnsB"),
                                    QStringLiteral("AnsC"), QStringLiteral("AnsD")};

QString selectFrom(const QString& table) {
    return QStringLiteral("select * from ") + quoteName(table);
}

question::QuestionRow rowOf(const Query& q) {
    question::QuestionRow row;
    for (const question::RowColumn& c : question::rowColumns())
        row.*c.text = q.text(c.name);
    return row;
}

// A row still to be drawn that can be asked; a row that cannot be asked is
// noted once in `leftOut`.
bool drawable(const Query& q, const std::vector<int>& drawn, QStringList* leftOut) {
    const int num = q.integer(QStringLiteral("num"));
    if (std::find(drawn.begin(), drawn.end(), num) != drawn.end())
        return false;
    const QList<question::Fault> faults = question::rowFaults(rowOf(q));
    if (faults.isEmpty())
        return true;
    const QString note = QStringLiteral("№ %1: %2").arg(num).arg(faults.first().reason);
    if (!leftOut->contains(note))
        leftOut->append(note);
    return false;
}

// The rows of the open set that can still be drawn, by row number.
std::vector<int> drawableRows(Query& q, const std::vector<int>& drawn, QStringList* leftOut) {
    std::vector<int> rows;
    for (int j = 1; j <= q.recordCount(); ++j) {
        q.moveTo(j);
        if (drawable(q, drawn, leftOut))
            rows.push_back(j);
    }
    return rows;
}

bool hasFourAnswers(const Query& q) {
    for (const QString& col : kAnswerColumns)
        if (q.text(col).isEmpty())
            return false;
    return true;
}

// Moves line i to a place among the first ten, one line after another, as
// the stored runs were shuffled: the screen shows ten lines at most.
void reorderLines(QStringList& lines, RandomSource& random) {
    const int n = int(lines.size());
    const int places = std::min(n, 10);
    // Past the first ten, a move takes a line no earlier move has touched
    // and pushes the tenth line out to the front of the lines after it. The
    // pushed lines are kept in the order pushed and reversed at the end, so
    // a huge list takes as long as its length, not as its square.
    QStringList head = lines.mid(0, places);
    QStringList pushed;
    pushed.reserve(n - places);
    for (int i = 0; i < n; ++i) {
        const int to = random.below(places);
        if (i < places) {
            head.move(i, to);
            continue;
        }
        pushed.append(head.takeLast());
        head.insert(to, lines[i]);
    }
    std::reverse(pushed.begin(), pushed.end());
    lines = head + pushed;
}

// Copies the four answers with the right one moved to box `target`.
void shuffleInto(Query& temp, const Query& question, int target) {
    const QString right = question.text(QStringLiteral("TrueAns"));
    const int rightBox = right.size() == 1 ? answerBox(right.at(0)) : 0;
    // Only a four-answer row is checked for its letter before the drawing;
    // the answers of a row of another kind go over as they are.
    if (rightBox == 0) {
        temp.setText(QStringLiteral("TrueAns"), right);
        for (const QString& col : kAnswerColumns)
            temp.setText(col, question.text(col));
        return;
    }
    temp.setText(QStringLiteral("TrueAns"), QString(answerLetter(target)));
    const std::array<int, 4> sources = answerShuffle(rightBox, target);
    for (int box = 0; box < 4; ++box)
        temp.setText(kAnswerColumns[box], question.text(kAnswerColumns[sources[size_t(box)] - 1]));
}

} // namespace

TooFewQuestions::TooFewQuestions()
    : LayerError(QStringLiteral("В този раздел няма достатъчно въпроси, които могат да се "
                                "зададат.\rМоля, изберете друг раздел или по-малък брой "
                                "въпроси.")) {}

namespace {

// The scratch database is replaced whole before anything reads it, so the
// section and temp4 can only be opened after the renewal.
QString openScratchAndSection(TDataModule2& dm, unsigned classNo, DrawResult* result,
                              DrawProgress& progress) {
    dm.SessionStarted = false;
    dm.setDisplayEnabled(false);
    dm.renewScratch();
    const QString table = dm.Topics.text(QStringLiteral("table"));
    result->testSubject = dm.Topics.text(QStringLiteral("Object"));
    result->testSection = dm.Topics.text(QStringLiteral("Section"));
    progress.step();

    dm.connectScratch();
    Query& themes = dm.Themes;
    themes.close();
    themes.setConnectionString(dm.connectionString(DbFile::Class, classNo));
    // Open for the numbering, which writes num and nt only: each row it moves
    // to is read for those two, not whole.
    themes.setSql({QStringLiteral("select num, nt from ") + quoteName(table),
                   QStringLiteral("where test=1")});
    themes.open();

    Query& temp = dm.Temp;
    temp.close();
    temp.setConnection(&dm.ATemp1);
    temp.setSql({QStringLiteral("select * from temp4")});
    temp.open();
    progress.step();
    return table;
}

// Numbering: the rows in the order the engine returns them. A phase of its
// own because it is one transaction: no pupil step lies between these posts.
void numberSection(Query& themes) {
    Transaction tx(*themes.connection());
    const int rows = themes.recordCount();
    for (int j = 1; j <= rows; ++j) {
        themes.moveTo(j);
        themes.edit();
        themes.setInteger(QStringLiteral("num"), j);
        themes.setText(QStringLiteral("nt"), schema::no);
        themes.post();
    }
    tx.commit();
}

// The rows of the section not drawn yet, of any kind.
void openAnyKind(Query& themes, const QString& table) {
    themes.close();
    themes.setSql({selectFrom(table), QStringLiteral("where test=1 and nt=\"no\"")});
    themes.open();
}

// The rows not drawn yet of the kind asked for, or of any kind when the
// section has none of it left.
void openCandidates(Query& themes, const QString& table, question::Kind kind) {
    themes.close();
    themes.setSql(
        {selectFrom(table), QStringLiteral("where test=1 and typequest=:tq and nt=\"no\"")});
    themes.setParam(QStringLiteral("tq"), int(kind));
    themes.open();
    if (themes.recordCount() == 0)
        openAnyKind(themes, table);
}

// Puts the open set on the row to draw. A row is tried at random; when it
// cannot be asked, the rows of the set that can are looked up once and one
// of them is drawn. A kind without any falls back to the other kinds.
void pickRow(Query& themes, const QString& table, const std::vector<int>& drawn,
             RandomSource& random, QStringList* leftOut) {
    const int rows = themes.recordCount();
    themes.moveTo(rows > 0 ? random.below(rows) + 1 : 0);
    if (rows > 0 && drawable(themes, drawn, leftOut))
        return;
    std::vector<int> usable = drawableRows(themes, drawn, leftOut);
    if (usable.empty()) {
        openAnyKind(themes, table);
        usable = drawableRows(themes, drawn, leftOut);
    }
    if (usable.empty())
        throw TooFewQuestions();
    themes.moveTo(usable[size_t(random.below(int(usable.size())))]);
}

// Drawing, kind by kind: four answers, matching, gap fill, again ... Its
// own phase because the marks of the drawn rows share one transaction, and
// the copying reads the section again only once they are all set.
std::vector<int> drawNumbers(Query& themes, const QString& table, int count, RandomSource& random,
                             DrawProgress& progress, QStringList* leftOut) {
    std::vector<int> drawn;
    drawn.reserve(size_t(std::max(count, 0)));
    Transaction tx(*themes.connection());
    static const question::Kind cycle[] = {question::Kind::Choice, question::Kind::Matching,
                                           question::Kind::Gaps};
    for (int q = 1; q <= count; ++q) {
        openCandidates(themes, table, cycle[(q - 1) % 3]);
        progress.processEvents();
        pickRow(themes, table, drawn, random, leftOut);
        drawn.push_back(themes.integer(QStringLiteral("num")));
        themes.edit();
        themes.setText(QStringLiteral("nt"), schema::yes);
        themes.post();
    }
    tx.commit();
    return drawn;
}

// Closes `q`, empties its scratch table and opens it again on the empty table.
void openEmptied(Query& q, Connection& scratch, const QString& table) {
    q.close();
    q.setConnection(&scratch);
    q.setSql({QStringLiteral("delete * from ") + table});
    q.exec();
    q.setSql({QStringLiteral("select * from ") + table});
    q.open();
}

// The columns of the question row that go over to the new temp4 row, the
// four answers shuffled; the terms and meanings are left to the caller.
void copyColumns(Query& temp, const Query& themes, int k, RandomSource& random) {
    temp.append();
    temp.setInteger(QStringLiteral("id"), k);
    temp.setValue(QStringLiteral("Condition"), themes.value(QStringLiteral("Condition")));
    temp.setValue(QStringLiteral("Quest"), themes.value(QStringLiteral("Quest")));
    const int target = random.below(4) + 1;
    if (hasFourAnswers(themes))
        shuffleInto(temp, themes, target);
    for (const char* col : {"FullAns", "Scores", "Picture"})
        temp.setValue(QLatin1String(col), themes.value(QLatin1String(col)));
    temp.setInteger(QStringLiteral("Limit"), 0);
    for (const char* col : {"TypeQuest", "TextW", "Words", "Start", "Leng", "TTScores"})
        temp.setValue(QLatin1String(col), themes.value(QLatin1String(col)));
}

// The right pairs of question `k` (row `num` of the section) into temp1,
// before its lists are shuffled. Only term questions have pairs; stray terms
// of a row of another kind are copied with it and never asked.
void writeRightPairs(Query& temp1, const Query& themes, int k, int num, const QStringList& terms,
                     const QStringList& trans) {
    const int nT = int(terms.size());
    const int nR = int(trans.size());
    if (question::kindOf(themes.integer(QStringLiteral("typequest"))) != question::Kind::Matching ||
        nT == 0 || terms[0].isEmpty())
        return;
    const QStringList points = splitLines(themes.text(QStringLiteral("TTScores")));
    for (int i = 0; i < std::max(nT, nR); ++i) {
        const bool hasTerm = i < nT && !terms[i].isEmpty();
        const bool hasMeaning = i < nR && !trans[i].isEmpty();
        if (!hasTerm && !hasMeaning)
            continue;
        if (i >= points.size())
            throw DrawingFault(
                QStringLiteral("Двойка %1 на въпрос %2 няма точки.").arg(i + 1).arg(num));
        temp1.append();
        temp1.setInteger(QStringLiteral("id"), k);
        if (i < nT)
            temp1.setText(QStringLiteral("ttrue"), terms[i]);
        if (i < nR)
            temp1.setText(QStringLiteral("trtrue"), trans[i]);
        temp1.setText(QStringLiteral("scores"), points[i]);
        temp1.setText(QStringLiteral("tfalse"), QStringLiteral(" "));
        temp1.setText(QStringLiteral("trfalse"), QStringLiteral(" "));
        temp1.post();
    }
}

// Copying into the run's question list, in drawing order. A phase of its
// own because it is one transaction on the scratch database, as the
// numbering is on the section's: no pupil step lies between these posts.
void copyDrawn(TDataModule2& dm, const std::vector<int>& drawn, RandomSource& random,
               DrawProgress& progress) {
    Query& themes = dm.Themes;
    Query& temp = dm.Temp;
    const ReadTransaction read(*themes.connection());
    Transaction tx(dm.ATemp1);
    for (int k = 1; k <= int(drawn.size()); ++k) {
        progress.processEvents();
        const int num = drawn[size_t(k - 1)];
        if (!themes.locate(QStringLiteral("num"), num))
            throw DrawingFault(QStringLiteral("Изтегленият въпрос %1 вече го няма.").arg(num));
        copyColumns(temp, themes, k, random);
        QStringList terms = splitLines(themes.text(QStringLiteral("Terms")));
        QStringList trans = splitLines(themes.text(QStringLiteral("Trans")));
        if (k == 1)
            openEmptied(dm.Temp1, dm.ATemp1, QStringLiteral("temp1"));
        writeRightPairs(dm.Temp1, themes, k, num, terms, trans);
        reorderLines(terms, random);
        reorderLines(trans, random);
        temp.setText(QStringLiteral("Terms"), joinLines(terms));
        temp.setText(QStringLiteral("Trans"), joinLines(trans));
        temp.post();
        progress.step();
    }
    tx.commit();
}

} // namespace

DrawResult drawQuestions(TDataModule2& dm, unsigned classNo, int count, RandomSource& random,
                         DrawProgress& progress) {
    DrawResult result;
    const QString table = openScratchAndSection(dm, classNo, &result, progress);
    numberSection(dm.Themes);
    progress.step();

    Query& temp = dm.Temp;
    temp.close();
    temp.setSql({QStringLiteral("delete * from temp4")});
    temp.exec();
    result.questionCount = count;
    progress.step();
    progress.setMaximum(progress.maximum() + count + 2);

    const std::vector<int> drawn =
        drawNumbers(dm.Themes, table, count, random, progress, &result.leftOut);

    Query& themes = dm.Themes;
    themes.close();
    themes.setSql({selectFrom(table), QStringLiteral("where test=1")});
    themes.open();
    temp.setSql({QStringLiteral("select * from temp4")});
    temp.open();
    progress.step();

    copyDrawn(dm, drawn, random, progress);
    openEmptied(dm.Temp2, dm.ATemp1, QStringLiteral("temp2"));
    progress.step();
    return result;
}
