#include "store/query.h"

#include "store/connection.h"
#include "store/error.h"
#include "store/jetsql.h"
#include "support/programfolder.h"
#include "support/steps.h"

#include <QTest>

// Reading through the dataset: the cursor, locate, parameters, field names and
// every kind of statement the program runs, over real encrypted files.
class TestQuery : public QObject {
    Q_OBJECT
private slots:
    void initTestCase();
    void cursor_data();
    void cursor();
    void locate_data();
    void locate();
    void statements_data();
    void statements();
    void missingParameter();
    void fieldNamesInAnyCase();
    void quotedColumnNames_data();
    void quotedColumnNames();
    void hostileTableName_data();
    void hostileTableName();
    void readOnlyResults_data();
    void readOnlyResults();
    void integers_data();
    void integers();

private:
    std::unique_ptr<fixture::ProgramFolder> m_folder;
};

namespace {

using fixture::Pupil;

QStringList lines(const char* a, const char* b = nullptr, const char* c = nullptr,
                  const char* d = nullptr) {
    QStringList out;
    for (const char* s : {a, b, c, d})
        if (s)
            out.append(QString::fromUtf8(s));
    return out;
}

// The values of one column over the whole result, in cursor order.
QStringList column(Query& q, const QString& field) {
    QStringList out;
    q.first();
    while (!q.eof()) {
        out.append(q.text(field));
        q.next();
    }
    return out;
}

} // namespace

void TestQuery::initTestCase() {
    m_folder = std::make_unique<fixture::ProgramFolder>();
    auto& f = *m_folder;
    f.addTopic(7, QStringLiteral("математика"), QStringLiteral("входящо ниво"),
               QStringLiteral("m7"));
    f.addTopic(7, QStringLiteral("математика"), QStringLiteral("изходящо ниво"),
               QStringLiteral("m7b"));
    f.addTopic(7, QStringLiteral("физика"), QStringLiteral("сила"), QStringLiteral("f7"));
    f.addTopic(8, QStringLiteral("химия"), QStringLiteral("атоми"), QStringLiteral("h8"));

    // Question table m7: (test, num, nt, typequest) per row; Quest names the row.
    struct Q {
        int test, num;
        const char* nt;
        int kind;
        const char* quest;
    };
    for (const Q& r : {Q{1, 3, "no", 0, "Q1"}, Q{1, 1, "no", 1, "Q2"}, Q{0, 2, "no", 0, "Q3"},
                       Q{1, 4, "yes", 0, "Q4"}, Q{1, 5, "no", 2, "Q5"}, Q{1, 6, "no", 0, "Q6"},
                       Q{2, 7, "no", 0, "Q7"}}) {
        fixture::Question q =
            fixture::fourAnswer(QString::fromUtf8(r.quest), {"а", "б", "в", "г"}, 2);
        q.test = r.test;
        q.num = r.num;
        q.nt = QString::fromUtf8(r.nt);
        q.typequest = r.kind;
        f.addQuestion(7, QStringLiteral("m7"), q);
    }

    f.addPupil({QStringLiteral("Иван Петров"), 7, 1, 5, QDate(2024, 5, 20),
                QStringLiteral("математика"), QStringLiteral("входящо ниво"), "4.500"});
    f.addPupil({QStringLiteral("Иван Петров"), 7, 1, 5, QDate(2024, 5, 20),
                QStringLiteral("физика"), QStringLiteral("сила"), "5.000"});
    f.addPupil({QStringLiteral("Мария Иванова"), 7, 2, 12, QDate(2024, 5, 22),
                QStringLiteral("математика"), QStringLiteral("входящо ниво"), "6.000"});
    f.addPupil({QStringLiteral("Иван Петров"), 8, 1, 5, QDate(2024, 5, 25), QStringLiteral("химия"),
                QStringLiteral("атоми"), "3.250"});
    f.addPupil({QStringLiteral("Петър Стоянов"), 10, 3, 1, QDate(2023, 12, 1),
                QStringLiteral("история"), QStringLiteral("древност"), "2.000"});

    const auto gap = [&](int id, int start, const char* word) {
        f.insert(DbFile::Scratch, QStringLiteral("sltable"),
                 {{"id", id},
                  {"start", start},
                  {"leng", 5},
                  {"word", QString::fromUtf8(word)},
                  {"chtrueans", "no"}});
    };
    gap(2, 40, "б");
    gap(1, 30, "");
    gap(2, 10, "а");
    gap(2, 25, "в");
    f.insert(DbFile::Scratch, QStringLiteral("sltable"),
             {{"id", 3}, {"start", 5}, {"leng", 5}, {"word", QVariant()}, {"chtrueans", "no"}});
    const auto key = [&](const char* word, int start) {
        f.insert(
            DbFile::Scratch, QStringLiteral("temp"),
            {{"words", QString::fromUtf8(word)}, {"start", start}, {"leng", 4}, {"scores", 1}});
    };
    key("река", 50);
    key("море", 7);
    key("река", 20);
    key("езеро", 33);

    f.addDictionary(QStringLiteral("Английски"), QStringLiteral("en"),
                    {{QStringLiteral("water"), QStringLiteral("вода")}});
}

// The same walks over a result addressed by row keys and over one read whole.
void TestQuery::cursor_data() {
    QTest::addColumn<QString>("sql");
    QTest::addColumn<QString>("moves");
    QTest::addColumn<int>("recNo");
    QTest::addColumn<bool>("bof");
    QTest::addColumn<bool>("eof");
    QTest::addColumn<int>("scrolls");

    const QString keyed =
        QStringLiteral("select * from m7\nwhere test=1 and typequest=0\norder by num");
    const QString whole =
        QStringLiteral("select distinct num, quest from m7\nwhere test=1 and typequest=0\n"
                       "order by num");
    const QString none = QStringLiteral("select * from m7\nwhere test=9");
    const QString noneWhole = QStringLiteral("select distinct quest from m7\nwhere test=9");

    struct Walk {
        const char* name;
        const char* moves;
        int recNo;
        bool bof, eof;
        int scrolls; // after-scroll calls, the one of opening included
    };
    const Walk full[] = {
        {"opened", "", 1, true, false, 1},
        {"next", "next", 2, false, false, 2},
        {"next to the last row", "next next", 3, false, false, 3},
        {"next past the end", "next next next", 3, false, true, 4},
        {"next twice past the end", "next next next next", 3, false, true, 5},
        {"last", "last", 3, false, true, 2},
        {"last then prior", "last prior", 2, false, false, 3},
        {"prior at the start", "prior", 1, true, false, 2},
        {"prior back to the start", "next prior", 1, false, false, 3},
        {"prior before the start", "next prior prior", 1, true, false, 4},
        {"last then first", "last first", 1, true, false, 3},
        {"move to 2", "move:2", 2, false, false, 2},
        {"move to 0 clamps to 1", "move:0", 1, false, false, 2},
        {"move below 0 clamps to 1", "move:-5", 1, false, false, 2},
        {"move to 99 clamps to 3", "move:99", 3, false, false, 2},
        {"move then next", "move:3 next", 3, false, true, 3},
    };
    const Walk empty[] = {
        {"opened", "", 0, true, true, 0},     {"next", "next", 0, true, true, 1},
        {"prior", "prior", 0, true, true, 1}, {"first", "first", 0, true, true, 1},
        {"last", "last", 0, true, true, 1},   {"move to 2", "move:2", 0, true, true, 0},
    };
    for (const auto& [label, sql] : {std::pair{"keyed", keyed}, std::pair{"whole", whole}})
        for (const Walk& w : full)
            QTest::addRow("%s: %s", label, w.name)
                << sql << w.moves << w.recNo << w.bof << w.eof << w.scrolls;
    for (const auto& [label, sql] : {std::pair{"keyed", none}, std::pair{"whole", noneWhole}})
        for (const Walk& w : empty)
            QTest::addRow("%s, empty: %s", label, w.name)
                << sql << w.moves << w.recNo << w.bof << w.eof << w.scrolls;
}

void TestQuery::cursor() {
    QFETCH(QString, sql);
    QFETCH(QString, moves);
    QFETCH(int, recNo);
    QFETCH(bool, bof);
    QFETCH(bool, eof);
    QFETCH(int, scrolls);

    Query q(QStringLiteral("Themes"));
    q.setConnectionString(m_folder->connectionString(DbFile::Class, 7));
    q.setSql(sql.split(QLatin1Char('\n')));
    int scrolled = 0;
    q.setAfterScroll([&](Query&) { ++scrolled; });
    q.open();
    fixture::runSteps(q, moves);
    QCOMPARE(q.recNo(), recNo);
    QCOMPARE(q.bof(), bof);
    QCOMPARE(q.eof(), eof);
    QCOMPARE(scrolled, scrolls);
    // The fields are those of the row the cursor stands on.
    const QStringList quests = {QStringLiteral("Q1"), QStringLiteral("Q4"), QStringLiteral("Q6")};
    QCOMPARE(q.text(QStringLiteral("Quest")), recNo ? quests[recNo - 1] : QString());
}

void TestQuery::locate_data() {
    QTest::addColumn<int>("db");
    QTest::addColumn<QString>("sql");
    QTest::addColumn<QStringList>("fields");
    QTest::addColumn<QVariantList>("values");
    QTest::addColumn<int>("recNo"); // 0: not found

    // Result order: 25.05 Иван (8), 22.05 Мария, 20.05 Иван (7, математика),
    // 20.05 Иван (7, физика), 01.12 Петър; the union merges the two 20.05 rows.
    const QString keyed = QStringLiteral("select * from student\norder by dt desc, object");
    const QString union_ =
        QStringLiteral("select name,class,division,numofclass,dt from student\nunion\n"
                       "select name,class,division,numofclass,dt from student\norder by dt desc");
    const QString ivan = QStringLiteral("Иван Петров");
    const int pupils = int(DbFile::Students);

    for (const auto& [label, sql] : {std::pair{"keyed", keyed}, std::pair{"union", union_}}) {
        QTest::addRow("%s: first of several in result order", label)
            << pupils << sql << QStringList{"name"} << QVariantList{ivan} << 1;
        QTest::addRow("%s: name and class as a number", label)
            << pupils << sql << QStringList{"name", "class"} << QVariantList{ivan, 7} << 3;
        QTest::addRow("%s: name and class as text", label)
            << pupils << sql << QStringList{"Name", "CLASS"} << QVariantList{ivan, "7"} << 3;
        QTest::addRow("%s: numbers given as text", label)
            << pupils << sql << QStringList{"division", "numofclass"} << QVariantList{"2", "12"}
            << 2;
        QTest::addRow("%s: three columns", label)
            << pupils << sql << QStringList{"name", "class", "division"}
            << QVariantList{QStringLiteral("Петър Стоянов"), "10", 3} << (label[0] == 'k' ? 5 : 4);
        QTest::addRow("%s: not found", label)
            << pupils << sql << QStringList{"name", "class"} << QVariantList{ivan, 10} << 0;
        QTest::addRow("%s: case of the text counts", label)
            << pupils << sql << QStringList{"name"} << QVariantList{QStringLiteral("иван петров")}
            << 0;
        QTest::addRow("%s: empty text matches no name", label)
            << pupils << sql << QStringList{"name"} << QVariantList{QString()} << 0;
    }

    // Gap rows by id and position: (1, 30, empty text), (2, 10, а), (2, 25, в),
    // (2, 40, б), (3, 5, NULL). An empty value finds empty text and NULL alike:
    // to a user both are a blank field.
    const int scratch = int(DbFile::Scratch);
    const QString gapsKeyed = QStringLiteral("select * from sltable\norder by id, start");
    const QString gapsUnion =
        QStringLiteral("select id,start,word from sltable\nunion\n"
                       "select id,start,word from sltable\norder by id, start");
    for (const auto& [label, sql] :
         {std::pair{"keyed", gapsKeyed}, std::pair{"union", gapsUnion}}) {
        QTest::addRow("%s: a word of the gaps", label)
            << scratch << sql << QStringList{"word"} << QVariantList{"в"} << 3;
        QTest::addRow("%s: empty text finds the first blank", label)
            << scratch << sql << QStringList{"word"} << QVariantList{QStringLiteral("")} << 1;
        QTest::addRow("%s: a null text too", label)
            << scratch << sql << QStringList{"word"} << QVariantList{QString()} << 1;
        QTest::addRow("%s: no value too", label)
            << scratch << sql << QStringList{"word"} << QVariantList{QVariant()} << 1;
        QTest::addRow("%s: empty beside another field finds NULL", label)
            << scratch << sql << QStringList{"id", "word"} << QVariantList{3, QString()} << 5;
        QTest::addRow("%s: empty where no field is blank", label)
            << scratch << sql << QStringList{"id", "word"} << QVariantList{2, QString()} << 0;
    }
}

void TestQuery::locate() {
    QFETCH(int, db);
    QFETCH(QString, sql);
    QFETCH(QStringList, fields);
    QFETCH(QVariantList, values);
    QFETCH(int, recNo);

    Query q(QStringLiteral("sd1"));
    q.setConnectionString(m_folder->connectionString(DbFile(db)));
    q.setSql(sql.split(QLatin1Char('\n')));
    q.open();
    q.moveTo(2);
    int scrolled = 0;
    q.setAfterScroll([&](Query&) { ++scrolled; });
    QCOMPARE(q.locate(fields, values), recNo != 0);
    // Not found leaves the cursor where it was, and tells no one.
    QCOMPARE(q.recNo(), recNo ? recNo : 2);
    QCOMPARE(scrolled, recNo ? 1 : 0);
    if (recNo)
        for (int i = 0; i < fields.size(); ++i)
            QCOMPARE(q.text(fields[i]), values[i].toString());
}

void TestQuery::statements_data() {
    QTest::addColumn<int>("db");
    QTest::addColumn<uint>("classNo");
    QTest::addColumn<QStringList>("sql");
    QTest::addColumn<QVariantMap>("params");
    QTest::addColumn<QString>("field");
    QTest::addColumn<bool>("ordered");
    QTest::addColumn<QStringList>("expected");

    const int cls = int(DbFile::Class);
    const int topics = int(DbFile::Topics);
    const int scratch = int(DbFile::Scratch);
    const QStringList math = {"математика", "физика"};

    QTest::newRow("questions of the test")
        << cls << 7u << lines("select * from m7", "where test=1") << QVariantMap{} << "Quest"
        << false << QStringList{"Q1", "Q2", "Q4", "Q5", "Q6"};
    QTest::newRow("undrawn questions of a kind")
        << cls << 7u << lines("select * from m7", "where test=1 and typequest=:tq and nt=\"no\"")
        << QVariantMap{{"tq", 0}} << "Quest" << false << QStringList{"Q1", "Q6"};
    QTest::newRow("undrawn questions of kind 2")
        << cls << 7u << lines("select * from m7", "where test=1 and typequest=:tq and nt=\"no\"")
        << QVariantMap{{":tq", 2}} << "quest" << false << QStringList{"Q5"};
    QTest::newRow("undrawn questions")
        << cls << 7u << lines("select * from m7", "where test=1 and nt=\"no\"") << QVariantMap{}
        << "QUEST" << false << QStringList{"Q1", "Q2", "Q5", "Q6"};
    QTest::newRow("quoted table name")
        << cls << 7u << QStringList{"select * from " + quoteName("m7"), "where test=1 order by num"}
        << QVariantMap{} << "num" << true << QStringList{"1", "3", "4", "5", "6"};
    QTest::newRow("topics of a class")
        << topics << 0u << lines("select * from topics", "where class=:cl")
        << QVariantMap{{"cl", 7}} << "section" << false
        << QStringList{"входящо ниво", "изходящо ниво", "сила"};
    QTest::newRow("subjects, class as a number")
        << topics << 0u << lines("select distinct object from topics", "where class=:cl")
        << QVariantMap{{"cl", 7}} << "object" << false << math;
    QTest::newRow("subjects, class as decimal text")
        << topics << 0u << lines("select distinct object from topics", "where class=:cl")
        << QVariantMap{{"cl", "7"}} << "object" << false << math;
    QTest::newRow("subjects, class written into the text")
        << topics << 0u
        << QStringList{"select distinct object from topics", "where class=" + QString::number(8)}
        << QVariantMap{} << "Object" << false << QStringList{"химия"};
    QTest::newRow("subjects of a class without topics")
        << topics << 0u << lines("select distinct object from topics", "where class=:cl")
        << QVariantMap{{"cl", 0}} << "object" << false << QStringList{};
    QTest::newRow("sections of a subject")
        << topics << 0u << lines("select * from topics", "where class=:cl and object=:ob")
        << QVariantMap{{"cl", "7"}, {"ob", "математика"}} << "table" << false
        << QStringList{"m7", "m7b"};
    QTest::newRow("earlier pupils, newest first, duplicates merged")
        << int(DbFile::Students) << 0u
        << lines("select name,class,division,numofclass,dt from student", "union",
                 "select name,class,division,numofclass,dt from student", "order by dt desc")
        << QVariantMap{} << "dt" << true
        << QStringList{"2024-05-25", "2024-05-22", "2024-05-20", "2023-12-01"};
    QTest::newRow("gap rows of a question by position")
        << scratch << 0u << lines("select * from sltable", "where id=:id", "order by start")
        << QVariantMap{{"id", 2}} << "start" << true << QStringList{"10", "25", "40"};
    QTest::newRow("word list, each word once")
        << scratch << 0u << lines("select words from temp", "union", "select words from temp")
        << QVariantMap{} << "words" << false << QStringList{"езеро", "море", "река"};
    QTest::newRow("answer key by position")
        << scratch << 0u << lines("select * from temp", "order by start") << QVariantMap{}
        << "words" << true << QStringList{"море", "река", "езеро", "река"};
    QTest::newRow("dictionaries") << int(DbFile::Dict) << 0u << lines("select * from dicts")
                                  << QVariantMap{} << "Table" << true << QStringList{"en"};
    QTest::newRow("word table") << int(DbFile::Dict) << 0u
                                << QStringList{"select * from " + quoteName("en")} << QVariantMap{}
                                << "Trans" << true << QStringList{"вода"};
}

void TestQuery::statements() {
    QFETCH(int, db);
    QFETCH(uint, classNo);
    QFETCH(QStringList, sql);
    QFETCH(QVariantMap, params);
    QFETCH(QString, field);
    QFETCH(bool, ordered);
    QFETCH(QStringList, expected);

    Query q;
    q.setConnectionString(m_folder->connectionString(DbFile(db), classNo));
    for (const QString& line : sql)
        q.addSql(line);
    for (auto it = params.cbegin(); it != params.cend(); ++it)
        q.setParam(it.key(), it.value());
    q.open();
    QCOMPARE(q.recordCount(), expected.size());
    QStringList got = column(q, field);
    if (!ordered)
        got.sort();
    QCOMPARE(got, expected);
}

void TestQuery::missingParameter() {
    Query q(QStringLiteral("Topics"));
    q.setConnectionString(m_folder->connectionString(DbFile::Topics));
    q.addSql(QStringLiteral("select * from topics"));
    q.addSql(QStringLiteral("where class=:cl and object=:ob"));
    q.setParam(QStringLiteral("cl"), 7);
    try {
        q.open();
        QFAIL("opened without a value for :ob");
    } catch (const StoreError& e) {
        QVERIFY2(e.text().contains(QStringLiteral("ob")) &&
                     e.text().contains(QStringLiteral("Topics")),
                 qPrintable(e.text()));
    }
    QVERIFY(!q.isOpen());
    // A new statement forgets the values of the old one.
    q.setParam(QStringLiteral("ob"), QStringLiteral("физика"));
    q.clearSql();
    q.addSql(QStringLiteral("select distinct object from topics where class=:cl"));
    QVERIFY_THROWS_EXCEPTION(StoreError, q.open());
}

void TestQuery::fieldNamesInAnyCase() {
    Query q;
    q.setConnectionString(m_folder->connectionString(DbFile::Class, 7));
    q.addSql(QStringLiteral("select * from m7 where quest=\"Q5\""));
    q.open();
    QCOMPARE(q.integer(QStringLiteral("TypeQuest")), 2);
    QCOMPARE(q.integer(QStringLiteral("typequest")), 2);
    QCOMPARE(q.text(QStringLiteral("FULLANS")), q.text(QStringLiteral("fullans")));
    QVERIFY(q.hasField(QStringLiteral("tTsCoReS")));
    QVERIFY(!q.hasField(QStringLiteral("typequests")));
    try {
        q.text(QStringLiteral("typequests"));
        QFAIL("a missing field was read");
    } catch (const StoreError& e) {
        QVERIFY2(e.text().contains(QStringLiteral("няма поле „typequests“")), qPrintable(e.text()));
    }
}

void TestQuery::quotedColumnNames_data() {
    QTest::addColumn<int>("db");
    QTest::addColumn<QString>("sql");
    QTest::addColumn<QString>("field");
    QTest::addColumn<QStringList>("expected");

    QTest::newRow("table in the list")
        << int(DbFile::Topics) << "select [table] from topics where class=8"
        << "TABLE" << QStringList{"h8"};
    QTest::newRow("table in the condition")
        << int(DbFile::Topics) << "select * from topics where [table]=\"f7\""
        << "section" << QStringList{"сила"};
    QTest::newRow("table in the order")
        << int(DbFile::Topics) << "select * from topics where class=7 order by [table] desc"
        << "table" << QStringList{"m7b", "m7", "f7"};
    QTest::newRow("bracketed name of a table")
        << int(DbFile::Dict) << "select [Word] from [en] where [Trans]=\"вода\""
        << "word" << QStringList{"water"};
}

void TestQuery::quotedColumnNames() {
    QFETCH(int, db);
    QFETCH(QString, sql);
    QFETCH(QString, field);
    QFETCH(QStringList, expected);
    Query q;
    q.setConnectionString(m_folder->connectionString(DbFile(db)));
    q.addSql(sql);
    q.open();
    QCOMPARE(column(q, field), expected);
}

void TestQuery::hostileTableName_data() {
    QTest::addColumn<QString>("name");
    QTest::newRow("second statement") << "topics; drop table topics";
    QTest::newRow("closing bracket") << "m7]; drop table topics; --";
    QTest::newRow("double quotes") << "m7\"; drop table \"topics";
    QTest::newRow("apostrophes") << "m7' or '1'='1";
    QTest::newRow("comment") << "m7 -- ";
}

void TestQuery::hostileTableName() {
    QFETCH(QString, name);
    Query q(QStringLiteral("Themes"));
    q.setConnectionString(m_folder->connectionString(DbFile::Topics));
    try {
        q.addSql(QStringLiteral("select * from ") + quoteName(name));
        q.addSql(QStringLiteral("where test=1"));
        q.open();
        QFAIL("a table with that name was opened");
    } catch (const StoreError& e) {
        QVERIFY(!e.text().isEmpty());
    }
    QCOMPARE(m_folder->rows(DbFile::Topics, QStringLiteral("select * from topics")).size(), 4);
}

void TestQuery::readOnlyResults_data() {
    QTest::addColumn<QString>("sql");
    QTest::addColumn<QString>("action");
    for (const char* action : {"edit", "append", "insert", "delete"}) {
        QTest::addRow("distinct: %s", action)
            << "select distinct object from topics where class=7" << action;
        QTest::addRow("union: %s", action)
            << "select object from topics union select section from topics" << action;
    }
}

void TestQuery::readOnlyResults() {
    QFETCH(QString, sql);
    QFETCH(QString, action);
    Query q;
    q.setConnectionString(m_folder->connectionString(DbFile::Topics));
    q.addSql(sql);
    q.open();
    const int before = q.recordCount();
    try {
        if (action == QLatin1String("edit"))
            q.edit();
        else if (action == QLatin1String("append"))
            q.append();
        else if (action == QLatin1String("insert"))
            q.insert();
        else
            q.deleteRecord();
        QFAIL("a merged row was changed");
    } catch (const StoreError& e) {
        QVERIFY(!e.text().isEmpty());
    }
    QCOMPARE(q.state(), Query::State::Browse);
    QCOMPARE(q.recordCount(), before);
    QCOMPARE(m_folder->rows(DbFile::Topics, QStringLiteral("select * from topics")).size(), 4);
}

// A stored value read as a whole number: what does not fit is an error,
// never a number cut to size.
void TestQuery::integers_data() {
    QTest::addColumn<QString>("literal");
    QTest::addColumn<int>("value"); // -1: an error
    QTest::newRow("whole") << "42" << 42;
    QTest::newRow("text of a number") << "' 7 '" << 7;
    QTest::newRow("real that is whole") << "3.0" << 3;
    QTest::newRow("largest") << "2147483647" << 2147483647;
    QTest::newRow("past 32 bits") << "99999999999" << -1;
    QTest::newRow("two to the 32nd") << "4294967296" << -1;
    QTest::newRow("huge real") << "1e300" << -1;
    QTest::newRow("not whole") << "2.5" << -1;
    QTest::newRow("text") << "'abc'" << -1;
}

void TestQuery::integers() {
    QFETCH(QString, literal);
    QFETCH(int, value);
    auto c = m_folder->connect(DbFile::Scratch);
    Query q;
    q.setConnection(c.get());
    q.setSql({QStringLiteral("select %1 as v").arg(literal)});
    q.open();
    if (value >= 0)
        QCOMPARE(q.integer(QStringLiteral("v")), value);
    else
        QVERIFY_THROWS_EXCEPTION(StoreError, q.integer(QStringLiteral("v")));
}

QTEST_GUILESS_MAIN(TestQuery)
#include "tst_query.moc"
