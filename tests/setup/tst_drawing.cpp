// The drawing of a run's questions into the scratch tables, over real
// databases, with the chance fixed in advance.
#include "question/question.h"
#include "session/shuffle.h"
#include "setup/drawing.h"
#include "store/datamodule.h"
#include "store/multiline.h"
#include "support/fixedrandom.h"
#include "support/programfolder.h"

#include <QTest>

using question::Kind;

namespace {

constexpr unsigned kClass = 5;

class CountingProgress : public DrawProgress {
public:
    int max = 4;
    int position = 0;
    int breaths = 0;
    int maximum() const override { return max; }
    void setMaximum(int m) override { max = m; }
    void step() override { ++position; }
    void processEvents() override { ++breaths; }
};

QString letter(int box) {
    return QString(answerLetter(box));
}

} // namespace

class TestDrawing : public QObject {
    Q_OBJECT

private:
    std::unique_ptr<fixture::ProgramFolder> m_folder;
    std::unique_ptr<TDataModule2> m_dm;
    int m_tables = 0;

    // A new section of its own in the class database, with these questions.
    QString section(const QList<fixture::Question>& questions) {
        const QString table = QStringLiteral("t%1").arg(++m_tables);
        m_folder->addTopic(kClass, QStringLiteral("математика"), table, table);
        for (const fixture::Question& q : questions)
            m_folder->addQuestion(kClass, table, q);
        return table;
    }

    // Draws from the section as the subject window leaves Topics: on its row.
    DrawResult draw(const QString& section, int count, fixture::FixedRandom& random,
                    CountingProgress* progress = nullptr) {
        Query& topics = m_dm->Topics;
        topics.close();
        topics.setConnectionString(m_dm->connectionString(DbFile::Topics));
        topics.setSql({QStringLiteral("select * from topics"), QStringLiteral("where class=:cl")});
        topics.setParam(QStringLiteral("cl"), kClass);
        topics.open();
        if (!topics.locate(QStringLiteral("section"), section))
            qFatal("no such section");
        CountingProgress own;
        return drawQuestions(*m_dm, kClass, count, random, progress ? *progress : own);
    }

    fixture::Rows drawn() const {
        return m_folder->rows(DbFile::Scratch, QStringLiteral("select * from temp4 order by id"));
    }

    fixture::Rows temp1Rows() const {
        return m_folder->rows(DbFile::Scratch, QStringLiteral("select * from temp1"));
    }

    static fixture::Question four(const QString& quest, int right = 0) {
        return fixture::fourAnswer(quest,
                                   {quest + QStringLiteral(" а"), quest + QStringLiteral(" б"),
                                    quest + QStringLiteral(" в"), quest + QStringLiteral(" г")},
                                   right);
    }

private slots:
    void initTestCase() {
        m_folder = std::make_unique<fixture::ProgramFolder>();
        m_dm = std::make_unique<TDataModule2>();
        m_dm->setProgramFolder(m_folder->path());
    }
    void cleanupTestCase() {
        m_dm.reset();
        m_folder.reset();
    }

    void shuffleTable_data() {
        QTest::addColumn<int>("right");
        QTest::addColumn<int>("target");
        QTest::addColumn<QString>("boxes");
        const char* table[4][4] = {{"ADBC", "CADB", "BDAC", "CBDA"},
                                   {"BADC", "ABCD", "DABC", "DCAB"},
                                   {"CBDA", "DCAB", "ABCD", "DBAC"},
                                   {"DCAB", "BDCA", "ACDB", "ABCD"}};
        for (int r = 1; r <= 4; ++r)
            for (int t = 1; t <= 4; ++t)
                QTest::addRow("%s to box %d", qPrintable(letter(r)), t)
                    << r << t << QString::fromLatin1(table[r - 1][t - 1]);
    }
    void shuffleTable() {
        QFETCH(int, right);
        QFETCH(int, target);
        QFETCH(QString, boxes);
        // Through a real drawing: the question's answers are "A".."D" by their
        // column, the chance picks the row and then the target box.
        fixture::Question q = fixture::fourAnswer(
            QStringLiteral("?"),
            {QStringLiteral("A"), QStringLiteral("B"), QStringLiteral("C"), QStringLiteral("D")},
            right - 1);
        const QString s = section({q});
        fixture::FixedRandom random({0, target - 1});
        draw(s, 1, random);
        const fixture::Rows rows = drawn();
        QCOMPARE(rows.size(), 1);
        const QString got = rows[0][QStringLiteral("ansa")].toString() +
                            rows[0][QStringLiteral("ansb")].toString() +
                            rows[0][QStringLiteral("ansc")].toString() +
                            rows[0][QStringLiteral("ansd")].toString();
        QCOMPARE(got, boxes);
        QCOMPARE(rows[0][QStringLiteral("trueans")].toString(), letter(target));
        // The right answer is in the target box.
        QCOMPARE(got.at(target - 1), QChar(u'A' + (right - 1)));
    }

    void kindsCycle_data() {
        QTest::addColumn<QList<Kind>>("kinds");
        QTest::addColumn<int>("count");
        QTest::addColumn<QList<Kind>>("asked");
        const Kind c = Kind::Choice, m = Kind::Matching, g = Kind::Gaps;
        QTest::newRow("every kind there")
            << QList<Kind>{c, c, m, m, g, g} << 6 << QList<Kind>{c, m, g, c, m, g};
        QTest::newRow("kinds running out fall back to any")
            << QList<Kind>{c, c, c, c, m} << 5 << QList<Kind>{c, m, c, c, c};
        QTest::newRow("four answers only")
            << QList<Kind>{c, c, c, c} << 4 << QList<Kind>{c, c, c, c};
    }
    void kindsCycle() {
        QFETCH(QList<Kind>, kinds);
        QFETCH(int, count);
        QFETCH(QList<Kind>, asked);
        QList<fixture::Question> qs;
        for (Kind k : kinds) {
            if (k == Kind::Choice)
                qs.append(four(QStringLiteral("въпрос %1").arg(qs.size())));
            else if (k == Kind::Matching)
                qs.append(fixture::termMatching({QStringLiteral("a"), QStringLiteral("b")},
                                                {QStringLiteral("1"), QStringLiteral("2")},
                                                {1, 1}));
            else
                qs.append(fixture::gapFill(QStringLiteral("Ние [учим] тук."), {1}));
        }
        const QString s = section(qs);
        fixture::FixedRandom random;
        draw(s, count, random);
        QList<Kind> got;
        for (const fixture::Row& r : drawn())
            got.append(Kind(r[QStringLiteral("typequest")].toInt()));
        QCOMPARE(got, asked);
    }

    void wholeSectionDrawnOnce() {
        QList<fixture::Question> qs;
        for (int i = 0; i < 7; ++i)
            qs.append(four(QStringLiteral("q%1").arg(i)));
        qs.append(fixture::termMatching({QStringLiteral("x")}, {QStringLiteral("y")}, {1}));
        qs.append(fixture::gapFill(QStringLiteral("[дума] и [друга]"), {1, 2}));
        // Rows not meant for tests are never counted or drawn.
        fixture::Question hidden = four(QStringLiteral("скрит"));
        hidden.test = 0;
        hidden.nt = QStringLiteral("no");
        qs.append(hidden);
        const QString s = section(qs);
        fixture::FixedRandom random({3, 1, 4, 1, 5, 9, 2, 6, 5, 3, 5, 8, 9, 7, 9, 3, 2, 3, 8});
        CountingProgress progress;
        const DrawResult result = draw(s, 9, random, &progress);
        QCOMPARE(result.questionCount, 9);
        QCOMPARE(result.testSection, s);
        QCOMPARE(result.testSubject, QStringLiteral("математика"));

        const fixture::Rows questions =
            m_folder->rows(DbFile::Class, QStringLiteral("select * from ") + s, kClass);
        QSet<int> nums;
        for (const fixture::Row& r : questions) {
            if (r[QStringLiteral("test")].toInt() != 1) {
                QCOMPARE(r[QStringLiteral("quest")].toString(), QStringLiteral("скрит"));
                continue;
            }
            QCOMPARE(r[QStringLiteral("nt")].toString(), QStringLiteral("yes"));
            nums.insert(r[QStringLiteral("num")].toInt());
        }
        QCOMPARE(nums, (QSet<int>{1, 2, 3, 4, 5, 6, 7, 8, 9}));
        const fixture::Rows rows = drawn();
        QCOMPARE(rows.size(), 9);
        QSet<QString> quests;
        for (int i = 0; i < rows.size(); ++i) {
            QCOMPARE(rows[i][QStringLiteral("id")].toInt(), i + 1);
            QCOMPARE(rows[i][QStringLiteral("limit")].toInt(), 0);
            QVERIFY(rows[i][QStringLiteral("quest")].toString() != QStringLiteral("скрит"));
            quests.insert(rows[i][QStringLiteral("quest")].toString() +
                          rows[i][QStringLiteral("terms")].toString() +
                          rows[i][QStringLiteral("textw")].toString());
        }
        QCOMPARE(quests.size(), 9);
        // The gauge ends full, and the interface breathed during the work.
        QCOMPARE(progress.position, progress.max);
        QCOMPARE(progress.max, 4 + 9 + 2);
        QVERIFY(progress.breaths >= 9);
        // The queries stand as the session expects them.
        QCOMPARE(m_dm->Temp.recordCount(), 9);
        QCOMPARE(m_dm->Temp.connection(), &m_dm->ATemp1);
        QCOMPARE(m_dm->Themes.recordCount(), 9);
        QVERIFY(m_dm->Temp1.isOpen());
        QVERIFY(m_dm->Temp2.isOpen());
        QCOMPARE(m_dm->Temp2.recordCount(), 0);
    }

    void pairs_data() {
        QTest::addColumn<QStringList>("terms");
        QTest::addColumn<QStringList>("trans");
        QTest::addColumn<QStringList>("points");
        QTest::addColumn<int>("pairRows");
        QStringList twelve, twelveT, twelveP;
        for (int i = 1; i <= 12; ++i) {
            twelve << QStringLiteral("понятие %1").arg(i);
            twelveT << QStringLiteral("значение %1").arg(i);
            twelveP << QString::number(i % 3 + 1);
        }
        QTest::newRow("twelve pairs") << twelve << twelveT << twelveP << 12;
        QTest::newRow("three terms, two meanings")
            << QStringList{QStringLiteral("a"), QStringLiteral("b"), QStringLiteral("c")}
            << QStringList{QStringLiteral("1"), QStringLiteral("2")}
            << QStringList{QStringLiteral("1"), QStringLiteral("1"), QStringLiteral("1")} << 3;
    }
    void pairs() {
        QFETCH(QStringList, terms);
        QFETCH(QStringList, trans);
        QFETCH(QStringList, points);
        QFETCH(int, pairRows);
        fixture::Question q;
        q.typequest = int(Kind::Matching);
        q.terms = terms;
        q.trans = trans;
        q.ttscores = points;
        const QString s = section({q});
        // Every move goes to the first place: each list comes out reversed.
        fixture::FixedRandom random;
        draw(s, 1, random);
        const fixture::Rows got = temp1Rows();
        QCOMPARE(got.size(), pairRows);
        for (int i = 0; i < got.size(); ++i) {
            QCOMPARE(got[i][QStringLiteral("id")].toInt(), 1);
            QCOMPARE(got[i][QStringLiteral("ttrue")].toString(), terms.value(i));
            QCOMPARE(got[i][QStringLiteral("trtrue")].toString(), trans.value(i));
            QCOMPARE(got[i][QStringLiteral("scores")].toString(), points.value(i));
            QCOMPARE(got[i][QStringLiteral("tfalse")].toString(), QStringLiteral(" "));
            QCOMPARE(got[i][QStringLiteral("trfalse")].toString(), QStringLiteral(" "));
        }
        const fixture::Row row = drawn().value(0);
        QStringList reversedTerms = terms;
        std::reverse(reversedTerms.begin(), reversedTerms.end());
        QStringList reversedTrans = trans;
        std::reverse(reversedTrans.begin(), reversedTrans.end());
        QCOMPARE(splitLines(row[QStringLiteral("terms")].toString()), reversedTerms);
        QCOMPARE(splitLines(row[QStringLiteral("trans")].toString()), reversedTrans);
        QVERIFY(row[QStringLiteral("terms")].toString().endsWith(QStringLiteral("\r\n")));
    }

    void reorderStaysInTheFirstTenPlaces() {
        QStringList terms, trans, points;
        for (int i = 1; i <= 12; ++i) {
            terms << QStringLiteral("t%1").arg(i);
            trans << QStringLiteral("m%1").arg(i);
            points << QStringLiteral("1");
        }
        fixture::Question q = fixture::termMatching(terms, trans, {});
        q.ttscores = points;
        const QString s = section({q});
        // Ask for the last place every time: a list of 12 only offers 10.
        fixture::FixedRandom random(QList<int>(30, 1000009));
        draw(s, 1, random);
        const QList<int> asked = random.asked();
        QCOMPARE(asked.mid(2), QList<int>(24, 10));
        const QStringList got = splitLines(drawn().value(0)[QStringLiteral("terms")].toString());
        QCOMPARE(got.size(), 12);
        QCOMPARE(QSet<QString>(got.begin(), got.end()), QSet<QString>(terms.begin(), terms.end()));
    }

    // A row that cannot be asked is left out and named, and the drawing goes
    // on with the rows that can, of any kind. The rules themselves are the
    // question layer's (tests/question).
    void faultyRowsAreLeftOut_data() {
        QTest::addColumn<Kind>("kind");
        QTest::addColumn<QString>("column");
        QTest::addColumn<QString>("value"); // as an SQL literal
        QTest::addColumn<QString>("fault");
        QTest::newRow("points past 64 bits") << Kind::Choice << "Scores"
                                             << "99999999999"
                                             << "точките";
        QTest::newRow("pair without points") << Kind::Matching << "TTScores"
                                             << "'1'"
                                             << "двойка 2 няма точки";
        QTest::newRow("gap not at its marker") << Kind::Gaps << "Start"
                                               << "'0'"
                                               << "не е празнина";
    }
    void faultyRowsAreLeftOut() {
        QFETCH(Kind, kind);
        QFETCH(QString, column);
        QFETCH(QString, value);
        QFETCH(QString, fault);
        fixture::Question bad = four(QStringLiteral("лош"));
        if (kind == Kind::Matching)
            bad = fixture::termMatching({QStringLiteral("a"), QStringLiteral("b")},
                                        {QStringLiteral("1"), QStringLiteral("2")}, {1, 1});
        else if (kind == Kind::Gaps)
            bad = fixture::gapFill(QStringLiteral("Ние [учим]."), {1});
        const QString table = QStringLiteral("t%1").arg(++m_tables);
        m_folder->addTopic(kClass, QStringLiteral("математика"), table, table);
        m_folder->addQuestion(kClass, table, four(QStringLiteral("първи")));
        const qint64 key = m_folder->addQuestion(kClass, table, bad);
        m_folder->addQuestion(kClass, table, four(QStringLiteral("втори")));
        m_folder->exec(DbFile::Class,
                       QStringLiteral("update %1 set %2 = %3 where rowid = %4")
                           .arg(table, column, value)
                           .arg(key),
                       kClass);

        // Whatever the chance, the two rows that can be asked are drawn; a
        // faulty row met on the way is named with its fault.
        for (int chance = 0; chance < 3; ++chance) {
            fixture::FixedRandom random(QList<int>(10, chance));
            const DrawResult result = draw(table, 2, random);
            QStringList quests;
            for (const fixture::Row& row : drawn())
                quests.append(row[QStringLiteral("quest")].toString());
            quests.sort();
            QCOMPARE(quests, (QStringList{QStringLiteral("втори"), QStringLiteral("първи")}));
            for (const QString& note : result.leftOut)
                QVERIFY2(note.startsWith(QStringLiteral("№ ")) && note.contains(fault),
                         qPrintable(note));
        }
    }

    void unusableRowsEndTheDrawingInsteadOfLooping_data() {
        QTest::addColumn<int>("count");
        QTest::newRow("a kind with only empty rows") << 2;
        QTest::newRow("more than the usable rows") << 3;
    }
    void unusableRowsEndTheDrawingInsteadOfLooping() {
        QFETCH(int, count);
        fixture::Question empty;
        empty.typequest = int(Kind::Matching);
        const QString s = section({four(QStringLiteral("един")), empty, empty});
        fixture::FixedRandom random(QList<int>(50, 1));
        try {
            draw(s, count, random);
            QFAIL("the drawing should have stopped");
        } catch (const TooFewQuestions& e) {
            QVERIFY(e.text().contains(QStringLiteral("няма достатъчно въпроси")));
        }
        QVERIFY(random.asked().size() < 20);
    }

    void secondDrawingStartsFromEmptyScratch() {
        const QString s =
            section({four(QStringLiteral("a")),
                     fixture::termMatching({QStringLiteral("x"), QStringLiteral("y")},
                                           {QStringLiteral("1"), QStringLiteral("2")}, {1, 1}),
                     four(QStringLiteral("b"))});
        fixture::FixedRandom first;
        draw(s, 3, first);
        QCOMPARE(drawn().size(), 3);
        QCOMPARE(temp1Rows().size(), 2);
        // What a tutor run leaves behind: the scratch connection still open
        // and rows in every scratch table.
        QVERIFY(m_dm->ATemp1.isOpen());
        m_dm->ATemp1.execRaw(QStringLiteral(
            "insert into temp2 (id, t, tr, ChTrueAns) values (1, 1, 2, 'no');"
            "insert into temp (words, start, leng, scores) values ('x', 1, 1, 1);"
            "insert into sltable (id, start, leng, word, chtrueans) values (1, 1, 1, 'x', 'no');"));

        fixture::FixedRandom second;
        draw(s, 1, second);
        QCOMPARE(drawn().size(), 1);
        QCOMPARE(temp1Rows().size(), 0);
        for (const char* t : {"temp2", "temp", "sltable"})
            QVERIFY2(m_folder->readTable(DbFile::Scratch, QLatin1String(t)).isEmpty(), t);
        QVERIFY(!QFile::exists(m_folder->file(QStringLiteral("\\data\\temp.mdb-journal"))));
    }
};

QTEST_MAIN(TestDrawing)
#include "tst_drawing.moc"
