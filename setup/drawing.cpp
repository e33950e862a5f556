#include "drawing.h"

#include "random.h"
#include "shuffle.h"

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

bool usableRow(const Query& q) {
    return isUsableQuestion(q.text(QStringLiteral("AnsA")), q.text(QStringLiteral("AnsB")),
                            q.text(QStringLiteral("AnsC")), q.text(QStringLiteral("AnsD")),
                            q.text(QStringLiteral("terms")), q.text(QStringLiteral("trans")),
                            q.text(QStringLiteral("textw")), q.text(QStringLiteral("words")));
}

bool drawable(const Query& q, const std::vector<int>& drawn) {
    const int num = q.integer(QStringLiteral("num"));
    return usableRow(q) && std::find(drawn.begin(), drawn.end(), num) == drawn.end();
}

bool anyDrawable(Query& q, const std::vector<int>& drawn) {
    for (int j = 1; j <= q.recordCount(); ++j) {
        q.moveTo(j);
        if (drawable(q, drawn))
            return true;
    }
    return false;
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
    for (int i = 0; i < n; ++i)
        lines.move(i, random.below(places));
}

// Copies the four answers with the right one moved to box `target`.
void shuffleInto(Query& temp, const Query& question, int target) {
    const QString right = question.text(QStringLiteral("TrueAns"));
    const int rightBox = right.isEmpty() ? 0 : answerBox(right.at(0));
    if (rightBox == 0)
        throw DrawingFault(QStringLiteral("Верният отговор „%1“ на въпрос %2 не е А, Б, В или Г.")
                               .arg(right, question.text(QStringLiteral("num"))));
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

bool isUsableQuestion(const QString& ansA, const QString& ansB, const QString& ansC,
                      const QString& ansD, const QString& terms, const QString& trans,
                      const QString& textw, const QString& words) {
    if (!ansA.isEmpty() && !ansB.isEmpty() && !ansC.isEmpty() && !ansD.isEmpty())
        return true;
    if (!terms.isEmpty() && !trans.isEmpty())
        return true;
    return !textw.isEmpty() && !words.isEmpty();
}

DrawResult drawQuestions(TDataModule2& dm, unsigned classNo, int count, RandomSource& random,
                         DrawProgress& progress) {
    DrawResult result;
    dm.SessionStarted = false;
    dm.setDisplayEnabled(false);
    dm.renewScratch();
    const QString table = dm.Topics.text(QStringLiteral("table"));
    result.testSubject = dm.Topics.text(QStringLiteral("Object"));
    result.testSection = dm.Topics.text(QStringLiteral("Section"));
    progress.step();

    dm.connectScratch();
    Query& themes = dm.Themes;
    themes.close();
    themes.setConnectionString(dm.connectionString(DbFile::Class, classNo));
    themes.setSql({selectFrom(table), QStringLiteral("where test=1")});
    themes.open();

    Query& temp = dm.Temp;
    temp.close();
    temp.setConnection(&dm.ATemp1);
    temp.setSql({QStringLiteral("select * from temp4")});
    temp.open();
    progress.step();

    // Numbering: the rows in the order the engine returns them. One
    // transaction: no pupil step lies between these posts.
    {
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
    progress.step();

    temp.close();
    temp.setSql({QStringLiteral("delete * from temp4")});
    temp.exec();

    result.questionCount = count;
    progress.step();
    progress.setMaximum(progress.maximum() + count + 2);

    // Drawing, kind by kind: four answers, matching, gap fill, again ...
    std::vector<int> drawn;
    drawn.reserve(size_t(std::max(count, 0)));
    {
        Transaction tx(*themes.connection());
        int kind = -1;
        for (int q = 1; q <= count; ++q) {
            if (kind == 2)
                kind = -1;
            ++kind;
            themes.close();
            themes.setSql({selectFrom(table),
                           QStringLiteral("where test=1 and typequest=:tq and nt=\"no\"")});
            themes.setParam(QStringLiteral("tq"), kind);
            themes.open();
            if (themes.recordCount() == 0) {
                themes.close();
                themes.setSql({selectFrom(table), QStringLiteral("where test=1 and nt=\"no\"")});
                themes.open();
            }
            progress.processEvents();
            const int rows = themes.recordCount();
            // Rows that are not usable stay in the set. After the first
            // refusal the whole set is looked through once: when no row of it
            // can be asked, no draw ever could, and the drawing stops.
            bool lookedThrough = false;
            for (;;) {
                if (rows == 0)
                    throw TooFewQuestions();
                themes.moveTo(random.below(rows) + 1);
                if (drawable(themes, drawn)) {
                    drawn.push_back(themes.integer(QStringLiteral("num")));
                    break;
                }
                if (!lookedThrough) {
                    lookedThrough = true;
                    if (!anyDrawable(themes, drawn))
                        throw TooFewQuestions();
                }
            }
            themes.edit();
            themes.setText(QStringLiteral("nt"), schema::yes);
            themes.post();
        }
        tx.commit();
    }

    themes.close();
    themes.setSql({selectFrom(table), QStringLiteral("where test=1")});
    themes.open();
    temp.setSql({QStringLiteral("select * from temp4")});
    temp.open();
    progress.step();

    // Copying into the run's question list, in drawing order.
    Query& temp1 = dm.Temp1;
    {
        Transaction tx(dm.ATemp1);
        for (int k = 1; k <= count; ++k) {
            progress.processEvents();
            if (!themes.locate(QStringLiteral("num"), drawn[size_t(k - 1)]))
                throw DrawingFault(QStringLiteral("Изтегленият въпрос %1 вече го няма.")
                                       .arg(drawn[size_t(k - 1)]));
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

            QStringList terms = splitLines(themes.text(QStringLiteral("Terms")));
            QStringList trans = splitLines(themes.text(QStringLiteral("Trans")));
            const QStringList points = splitLines(themes.text(QStringLiteral("TTScores")));

            if (k == 1) {
                temp1.close();
                temp1.setConnection(&dm.ATemp1);
                temp1.setSql({QStringLiteral("delete * from temp1")});
                temp1.exec();
                temp1.setSql({QStringLiteral("select * from temp1")});
                temp1.open();
            }
            // The right pairs, before the lists are shuffled.
            const int nT = int(terms.size());
            const int nR = int(trans.size());
            if (nT > 0 && !terms[0].isEmpty()) {
                for (int i = 0; i < std::max(nT, nR); ++i) {
                    const bool hasTerm = i < nT && !terms[i].isEmpty();
                    const bool hasMeaning = i < nR && !trans[i].isEmpty();
                    if (!hasTerm && !hasMeaning)
                        continue;
                    if (i >= points.size())
                        throw DrawingFault(QStringLiteral("Двойка %1 на въпрос %2 няма точки.")
                                               .arg(i + 1)
                                               .arg(drawn[size_t(k - 1)]));
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
            reorderLines(terms, random);
            reorderLines(trans, random);
            temp.setText(QStringLiteral("Terms"), joinLines(terms));
            temp.setText(QStringLiteral("Trans"), joinLines(trans));
            temp.post();
            progress.step();
        }
        tx.commit();
    }

    Query& temp2 = dm.Temp2;
    temp2.close();
    temp2.setConnection(&dm.ATemp1);
    temp2.setSql({QStringLiteral("delete * from temp2")});
    temp2.exec();
    temp2.setSql({QStringLiteral("select * from temp2")});
    temp2.open();
    progress.step();
    return result;
}
