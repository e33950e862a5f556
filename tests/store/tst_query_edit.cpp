#include "store/query.h"

#include "store/connection.h"
#include "store/diskfaults.h"
#include "store/error.h"
#include "store/jetsql.h"
#include "support/programfolder.h"
#include "support/steps.h"

#include <QTest>

// Writing through the dataset: every change must be in the file for the next
// connection to see, the cursor must end where the program expects it, and
// the after-scroll / after-post / after-delete handlers must run exactly when
// the session counts on them.
class TestQueryEdit : public QObject {
    Q_OBJECT
private slots:
    void init();
    void cleanup();
    void steps_data();
    void steps();
    void deleteJetStyle();
    void renumberThroughQuotedTableName();
    void fillEmptyKeyTable();
    void valuesRoundTrip();
    void setOutsideEdit();
    void newStatementClosesResult();
    void postRefused_data();
    void postRefused();
    void trailingStatementRefused_data();
    void trailingStatementRefused();
    void openRefusesStatementWithoutRows();
    void postedRowAsStored();
    void statementsAfterReopen();

private:
    std::unique_ptr<fixture::ProgramFolder> m_folder;
    std::unique_ptr<Query> m_q;
    QStringList m_log;
    QStringList fileQuests() const;
};

void TestQueryEdit::init() {
    m_folder = std::make_unique<fixture::ProgramFolder>();
    for (int id = 1; id <= 3; ++id)
        m_folder->insert(
            DbFile::Scratch, QStringLiteral("temp4"),
            {{"id", id}, {"Quest", QStringLiteral("в%1").arg(id)}, {"Limit", 0}, {"TypeQuest", 0}});
    m_q = std::make_unique<Query>(QStringLiteral("Temp"));
    m_q->setConnectionString(m_folder->connectionString(DbFile::Scratch));
    m_q->addSql(QStringLiteral("select * from temp4"));
    m_log.clear();
    m_q->setAfterScroll([this](Query&) { m_log.append(QStringLiteral("scroll")); });
    m_q->setAfterPost([this](Query& q) { m_log.append(QStringLiteral("post@%1").arg(q.recNo())); });
    m_q->setAfterDelete(
        [this](Query& q) { m_log.append(QStringLiteral("delete@%1").arg(q.recNo())); });
}

void TestQueryEdit::cleanup() {
    m_q.reset();
    m_folder.reset();
}

QStringList TestQueryEdit::fileQuests() const {
    QStringList out;
    for (const fixture::Row& r : m_folder->readTable(DbFile::Scratch, QStringLiteral("temp4")))
        out.append(r.value(QStringLiteral("quest")).toString());
    return out;
}

void TestQueryEdit::steps_data() {
    QTest::addColumn<QString>("steps");
    QTest::addColumn<QString>("log");      // handler calls after opening
    QTest::addColumn<QString>("inFile");   // Quest of the rows in the file, in row order
    QTest::addColumn<QString>("inResult"); // Quest of the rows as the query walks them
    QTest::addColumn<int>("recNo");
    const auto add = [](const char* name, const char* steps, const char* log, const char* inFile,
                        const char* inResult, int recNo) {
        QTest::newRow(name) << QString::fromUtf8(steps) << QString::fromUtf8(log)
                            << QString::fromUtf8(inFile) << QString::fromUtf8(inResult) << recNo;
    };

    add("edit, post", "edit set:QUEST=x post", "post@1", "x в2 в3", "x в2 в3", 1);
    add("edit, cancel", "edit set:QUEST=x cancel", "", "в1 в2 в3", "в1 в2 в3", 1);
    add("edit, move: posted on the way", "edit set:QUEST=x next", "post@1 scroll", "x в2 в3",
        "x в2 в3", 2);
    add("edit without change, move", "edit next", "scroll", "в1 в2 в3", "в1 в2 в3", 2);
    add("edit of the last row, locate", "last edit set:QUEST=x locate:id=1", "scroll post@3 scroll",
        "в1 в2 x", "в1 в2 x", 1);
    add("two edits", "edit set:QUEST=x post next edit set:QUEST=x post", "post@1 scroll post@2",
        "x x в3", "x x в3", 2);
    add("append, post", "append set:QUEST=x post", "scroll post@4", "в1 в2 в3 x", "в1 в2 в3 x", 4);
    add("append, move: posted on the way", "append set:QUEST=x first", "scroll post@4 scroll",
        "в1 в2 в3 x", "в1 в2 в3 x", 1);
    add("append, cancel", "next append cancel", "scroll scroll scroll", "в1 в2 в3", "в1 в2 в3", 2);
    add("append without change, move", "append last", "scroll scroll scroll", "в1 в2 в3",
        "в1 в2 в3", 3);
    add("insert before the second row", "next insert set:QUEST=x post", "scroll scroll post@2",
        "в1 в2 в3 x", "в1 x в2 в3", 2);
    add("delete the first row", "delete", "delete@1 scroll", "в2 в3", "в2 в3", 1);
    add("delete the middle row", "next delete", "scroll delete@2 scroll", "в1 в3", "в1 в3", 2);
    add("delete the last row", "last delete", "scroll delete@2 scroll", "в1 в2", "в1 в2", 2);
    add("delete every row", "delete delete delete",
        "delete@1 scroll delete@1 scroll delete@0 scroll", "", "", 0);
    add("delete while editing drops the edit", "edit set:QUEST=x delete", "delete@1 scroll",
        "в2 в3", "в2 в3", 1);
    add("delete while appending drops the new row", "append set:QUEST=x delete", "scroll scroll",
        "в1 в2 в3", "в1 в2 в3", 1);
    add("append after deleting every row", "delete delete delete append set:QUEST=x post",
        "delete@1 scroll delete@1 scroll delete@0 scroll scroll post@1", "x", "x", 1);
    add("locate posts a pending edit, found or not", "edit set:QUEST=x locate:id=9 post", "post@1",
        "x в2 в3", "x в2 в3", 1);
}

void TestQueryEdit::steps() {
    QFETCH(QString, steps);
    QFETCH(QString, log);
    QFETCH(QString, inFile);
    QFETCH(QString, inResult);
    QFETCH(int, recNo);

    Query& q = *m_q;
    q.open();
    m_log.clear();
    fixture::runSteps(q, steps);
    QCOMPARE(m_log.join(QLatin1Char(' ')), log);
    QCOMPARE(q.state(), Query::State::Browse);
    QCOMPARE(q.recNo(), recNo);
    const QString current = q.text(QStringLiteral("quest"));
    QCOMPARE(current, recNo ? inResult.split(QLatin1Char(' ')).value(recNo - 1) : QString());

    QCOMPARE(fileQuests().join(QLatin1Char(' ')), inFile);
    const QStringList walked = [&] {
        QStringList out;
        for (q.first(); !q.eof(); q.next())
            out.append(q.text(QStringLiteral("Quest")));
        return out;
    }();
    QCOMPARE(walked.join(QLatin1Char(' ')), inResult);
    QCOMPARE(q.recordCount(), int(walked.size()));
    if (walked.isEmpty())
        QVERIFY(q.bof() && q.eof());
}

void TestQueryEdit::deleteJetStyle() {
    m_q->open();
    Query del(QStringLiteral("Temp"));
    del.setConnectionString(m_folder->connectionString(DbFile::Scratch));
    del.addSql(QStringLiteral("delete * from temp4"));
    QCOMPARE(del.exec(), 3);
    QVERIFY(fileQuests().isEmpty());
    // The open result is a snapshot; reopening shows the empty table.
    m_q->open();
    QVERIFY(m_q->isEmpty());
    QVERIFY(m_q->bof() && m_q->eof());
}

void TestQueryEdit::renumberThroughQuotedTableName() {
    // The drawing numbers the questions of a section and marks the drawn ones
    // through a table name that comes from the topic row.
    const QString table = QStringLiteral("Входящо ниво; 7\"а\"");
    for (int test : {1, 0, 1})
        m_folder->addQuestion(7, table, [&] {
            fixture::Question q = fixture::fourAnswer(QStringLiteral("?"), {"1", "2", "3", "4"}, 0);
            q.test = test;
            q.nt = QStringLiteral("yes");
            return q;
        }());
    Query themes(QStringLiteral("Themes"));
    themes.setConnectionString(m_folder->connectionString(DbFile::Class, 7));
    themes.addSql(QStringLiteral("select * from ") + quoteName(table));
    themes.addSql(QStringLiteral("where test=1"));
    themes.open();
    QCOMPARE(themes.recordCount(), 2);
    for (int k = 1; !themes.eof(); themes.next(), ++k) {
        themes.edit();
        themes.setInteger(QStringLiteral("num"), k);
        themes.setText(QStringLiteral("nt"), QStringLiteral("no"));
        themes.post();
    }
    QStringList stored;
    for (const fixture::Row& r : m_folder->readTable(DbFile::Class, table, 7))
        stored.append(r.value(QStringLiteral("num")).toString() +
                      r.value(QStringLiteral("nt")).toString());
    QCOMPARE(stored, (QStringList{"1no", "0yes", "2no"}));
}

void TestQueryEdit::fillEmptyKeyTable() {
    // The gap-fill display: empty the key table, insert one row per gap, then
    // read the rows back in order of position.
    Query w(QStringLiteral("Words"));
    w.setConnectionString(m_folder->connectionString(DbFile::Scratch));
    w.addSql(QStringLiteral("delete * from temp"));
    w.exec();
    w.clearSql();
    w.addSql(QStringLiteral("select * from temp"));
    w.open();
    QVERIFY(w.isEmpty());
    const QList<std::pair<QString, int>> gaps = {{"река", 40}, {"море", 3}, {"езеро", 17}};
    for (const auto& [word, start] : gaps) {
        w.insert();
        w.setText(QStringLiteral("words"), word);
        w.setInteger(QStringLiteral("start"), start);
        w.setInteger(QStringLiteral("leng"), int(word.size()));
        w.setText(QStringLiteral("scores"), QStringLiteral("2"));
        w.post();
    }
    QCOMPARE(w.recordCount(), 3);
    w.close();
    w.clearSql();
    w.addSql(QStringLiteral("select * from temp"));
    w.addSql(QStringLiteral("order by start"));
    w.open();
    QStringList order;
    for (; !w.eof(); w.next())
        order.append(w.text(QStringLiteral("words")) + QLatin1Char('@') +
                     QString::number(w.integer(QStringLiteral("start"))));
    QCOMPARE(order, (QStringList{"море@3", "езеро@17", "река@40"}));
    // Points posted as decimal text are numbers in the file.
    const fixture::Rows rows =
        m_folder->rows(DbFile::Scratch, QStringLiteral("select sum(scores) as s from temp"));
    QCOMPARE(rows.value(0).value(QStringLiteral("s")).toInt(), 6);
}

void TestQueryEdit::valuesRoundTrip() {
    const QByteArray picture = QByteArray::fromHex("ffd8ffe000104a464946") + QByteArray(3000, '\0');
    const QString multi = QStringLiteral("първи\r\nвтори\r\n");
    m_q->open();
    m_q->append();
    m_q->setInteger(QStringLiteral("id"), 4);
    m_q->setBlob(QStringLiteral("Picture"), picture);
    m_q->setText(QStringLiteral("Terms"), multi);
    m_q->setText(QStringLiteral("ChTrueAns"), QStringLiteral("yes"));
    m_q->setText(QStringLiteral("ChAns"), QStringLiteral("Г"));
    m_q->post();

    Query r;
    r.setConnectionString(m_folder->connectionString(DbFile::Scratch));
    r.addSql(QStringLiteral("select * from temp4 where id=:id"));
    r.setParam(QStringLiteral(":id"), QStringLiteral("4"));
    r.open();
    QCOMPARE(r.recordCount(), 1);
    QCOMPARE(r.blob(QStringLiteral("picture")), picture);
    QCOMPARE(r.text(QStringLiteral("terms")), multi);
    QCOMPARE(r.text(QStringLiteral("chans")), QStringLiteral("Г"));
    QVERIFY(r.isNull(QStringLiteral("AnsA")));
    QCOMPARE(r.text(QStringLiteral("AnsA")), QString());
    QCOMPARE(r.integer(QStringLiteral("TypeQuest")), 0);
    QCOMPARE(r.blob(QStringLiteral("AnsA")), QByteArray());
}

void TestQueryEdit::setOutsideEdit() {
    m_q->open();
    QVERIFY_THROWS_EXCEPTION(StoreError, m_q->setText(QStringLiteral("Quest"), "x"));
    m_q->edit();
    QVERIFY_THROWS_EXCEPTION(StoreError, m_q->setText(QStringLiteral("Quests"), "x"));
    m_q->cancel();
    m_q->close();
    QVERIFY_THROWS_EXCEPTION(StoreError, m_q->edit());
    QVERIFY_THROWS_EXCEPTION(StoreError, m_q->next());
    QVERIFY_THROWS_EXCEPTION(StoreError, m_q->text(QStringLiteral("Quest")));
    QCOMPARE(fileQuests(), (QStringList{"в1", "в2", "в3"}));
}

void TestQueryEdit::newStatementClosesResult() {
    // A result left open under a new statement would answer for the old one.
    m_q->open();
    m_q->clearSql();
    QVERIFY(!m_q->isOpen());
    m_q->addSql(QStringLiteral("delete * from temp4"));
    m_q->exec();
    QVERIFY(!m_q->isOpen());
    m_q->clearSql();
    m_q->addSql(QStringLiteral("select * from temp4"));
    m_q->open();
    QVERIFY(m_q->isEmpty());
}

void TestQueryEdit::postRefused_data() {
    QTest::addColumn<bool>("diskFails");
    QTest::addColumn<QString>("inFile");
    QTest::newRow("row removed by another statement") << false << "в2 в3";
    QTest::newRow("the disk refuses the write") << true << "в1 в2 в3";
}

// A refused change is reported once and dropped, never posted again on a move.
void TestQueryEdit::postRefused() {
    QFETCH(bool, diskFails);
    QFETCH(QString, inFile);
    installDiskFaults();
    m_q->open();
    m_q->edit();
    m_q->setText(QStringLiteral("Quest"), QStringLiteral("x"));
    if (diskFails)
        failWritesTo(m_q->connection()->path());
    else
        m_folder->exec(DbFile::Scratch, QStringLiteral("delete from temp4 where id=1"));
    QVERIFY_THROWS_EXCEPTION(StoreError, m_q->post());
    QCOMPARE(m_q->state(), Query::State::Browse);
    m_q->next();
    failWritesTo(QString());
    QCOMPARE(fileQuests().join(QLatin1Char(' ')), inFile);
}

void TestQueryEdit::trailingStatementRefused_data() {
    QTest::addColumn<QString>("sql");
    QTest::addColumn<bool>("open"); // open() rather than exec()
    QTest::newRow("exec") << "delete * from temp where 1=0; delete from temp4" << false;
    QTest::newRow("whole read") << "select distinct id from temp4; delete from temp4" << true;
    QTest::newRow("keyed read") << "select * from temp4 where id>0; delete from temp4" << true;
}

void TestQueryEdit::trailingStatementRefused() {
    QFETCH(QString, sql);
    QFETCH(bool, open);
    Query q;
    q.setConnectionString(m_folder->connectionString(DbFile::Scratch));
    q.addSql(sql);
    QVERIFY_THROWS_EXCEPTION(StoreError, open ? q.open() : void(q.exec()));
    QCOMPARE(fileQuests(), (QStringList{"в1", "в2", "в3"}));
    // A closing semicolon is no second statement.
    q.clearSql();
    q.addSql(QStringLiteral("select * from temp4;"));
    q.open();
    QCOMPARE(q.recordCount(), 3);
}

void TestQueryEdit::openRefusesStatementWithoutRows() {
    Query q(QStringLiteral("Temp"));
    q.setConnectionString(m_folder->connectionString(DbFile::Scratch));
    q.addSql(QStringLiteral("delete * from temp4"));
    try {
        q.open();
        QFAIL("a delete was opened as a result");
    } catch (const StoreError& e) {
        QVERIFY2(e.text().contains(QStringLiteral("Temp")), qPrintable(e.text()));
    }
    QCOMPARE(fileQuests(), (QStringList{"в1", "в2", "в3"}));
}

// The row a post leaves current is the row as a read of the file returns it:
// the engine's conversions, the key it gave and the defaults it filled in.
void TestQueryEdit::postedRowAsStored() {
    Connection c(m_folder->connectionString(DbFile::Scratch));
    c.execRaw(QStringLiteral("create table posted (id integer primary key, n integer, t text, "
                             "b blob, d text default 'x', r real)"));
    const auto shown = [](const Query& q) {
        QStringList out;
        for (const QString& f : q.fieldNames())
            out.append(QStringLiteral("%1=%2:%3")
                           .arg(f, q.value(f).metaType().name(), q.value(f).toString()));
        return out;
    };
    const auto inFile = [&](const Query& q) {
        Query fresh;
        fresh.setConnection(&c);
        fresh.setSql({QStringLiteral("select * from posted where id=:id")});
        fresh.setParam(QStringLiteral("id"), q.value(QStringLiteral("id")));
        fresh.open();
        return shown(fresh);
    };
    Query q;
    q.setConnection(&c);
    q.setSql({QStringLiteral("select * from posted")});
    q.open();
    const QList<QVariantList> posts = {
        {QStringLiteral("7"), 5, QString(), 1.5},
        {true, QDate(2026, 5, 14), QByteArray("ab"), QVariant()},
        {3, 5, QByteArray("cd"), QVariant()},
        {false, QDate(2026, 5, 15), QVariant(), QVariant()},
        {2.5, QString(), QByteArray(), 2},
    };
    for (const QVariantList& values : posts) {
        if (q.recordCount() < 2)
            q.append();
        else
            q.edit();
        for (int i = 0; i < values.size(); ++i)
            q.setValue(QStringList{"n", "t", "b", "r"}[i], values[i]);
        q.post();
        QCOMPARE(shown(q), inFile(q));
    }
}

// Each statement a post runs is kept under its own text: a query opened again
// on other columns writes those.
void TestQueryEdit::statementsAfterReopen() {
    const auto post = [this](const QString& sql, const QString& field, const QString& value) {
        m_q->close();
        m_q->setSql({sql});
        m_q->open();
        m_q->moveTo(2);
        m_q->edit();
        m_q->setText(field, value);
        m_q->post();
    };
    post(QStringLiteral("select * from temp4"), QStringLiteral("Quest"), QStringLiteral("а"));
    post(QStringLiteral("select id, AnsA from temp4"), QStringLiteral("AnsA"), QStringLiteral("б"));
    post(QStringLiteral("select * from temp4"), QStringLiteral("Quest"), QStringLiteral("в"));
    QCOMPARE(fileQuests(), (QStringList{"в1", "в", "в3"}));
    const fixture::Rows rows =
        m_folder->rows(DbFile::Scratch, QStringLiteral("select AnsA from temp4 where id=2"));
    QCOMPARE(rows.value(0).value(QStringLiteral("ansa")).toString(), QStringLiteral("б"));
}

QTEST_GUILESS_MAIN(TestQueryEdit)
#include "tst_query_edit.moc"
