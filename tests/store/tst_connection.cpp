#include "store/connection.h"
#include "store/connstr.h"
#include "store/error.h"
#include "store/fileerror.h"
#include "store/pupilversion.h"
#include "store/query.h"
#include "support/programfolder.h"

#include <QFile>
#include <QProcess>
#include <QTest>
#include <sqlite3.h>

// Opening files: what a wrong password, a missing or foreign file, a missing
// table or column look like to the user, and what the files look like on disk.
class TestConnection : public QObject {
    Q_OBJECT
private slots:
    void initTestCase();
    void failures_data();
    void failures();
    void reasonsInBulgarian_data();
    void reasonsInBulgarian();
    void fileFaultsInBulgarian();
    void openWithEmptyPasswordFails();
    void protectedOnDisk_data();
    void protectedOnDisk();
    void journalMode_data();
    void journalMode();
    void folderWithSemicolonAndCyrillic();
    void pupilFileVersion_data();
    void pupilFileVersion();

private:
    std::unique_ptr<fixture::ProgramFolder> m_folder;
};

namespace {

// What a command-line shell prints for a statement on a file; its exit code
// in `code`.
QString shell(const QString& program, const QString& file, const QString& input, int& code) {
    QProcess p;
    p.start(program, {file});
    if (!p.waitForStarted())
        return QStringLiteral("cannot start ") + program;
    p.write(input.toUtf8());
    p.closeWriteChannel();
    p.waitForFinished();
    code = p.exitStatus() == QProcess::NormalExit ? p.exitCode() : -1;
    return QString::fromUtf8(p.readAllStandardOutput() + p.readAllStandardError()).trimmed();
}

} // namespace

void TestConnection::initTestCase() {
    m_folder = std::make_unique<fixture::ProgramFolder>();
    m_folder->addTopic(7, QStringLiteral("физика"), QStringLiteral("сила"), QStringLiteral("f7"));
    m_folder->addQuestion(7, QStringLiteral("f7"),
                          fixture::fourAnswer(QStringLiteral("Колко?"), {"1", "2", "3", "4"}, 1));
    QFile junk(m_folder->file(QStringLiteral("\\data\\class5.mdb")));
    QVERIFY(junk.open(QIODevice::WriteOnly));
    junk.write(QByteArray("Това не е база данни, а просто текст.\n").repeated(200));
}

void TestConnection::failures_data() {
    QTest::addColumn<QString>("connection");
    QTest::addColumn<QString>("sql");
    QTest::addColumn<QString>("message");

    const auto cs = [this](DbFile db, unsigned n = 0) { return m_folder->connectionString(db, n); };
    QString wrong = cs(DbFile::Topics);
    wrong.replace(topicsPassword(), studentsPassword());

    QTest::newRow("wrong password") << wrong << "select * from topics"
                                    << "не е база данни на програмата или паролата му е грешна";
    QTest::newRow("missing file") << cs(DbFile::Class, 9) << "select * from x"
                                  << "class9.mdb“ не съществува";
    QTest::newRow("not a database") << cs(DbFile::Class, 5) << "select * from x"
                                    << "class5.mdb“ не е база данни на програмата";
    QTest::newRow("missing table") << cs(DbFile::Class, 7) << "select * from [f8]"
                                   << "няма таблица „f8“";
    QTest::newRow("missing table, whole read")
        << cs(DbFile::Topics) << "select distinct object from themes"
        << "няма таблица „themes“";
    QTest::newRow("missing column") << cs(DbFile::Class, 7) << "select * from f7 where tests=1"
                                    << "няма поле „tests“";
    QTest::newRow("missing column in the list")
        << cs(DbFile::Topics) << "select objects from topics"
        << "няма поле „objects“";
    QTest::newRow("no connection string") << QString() << "select * from topics"
                                          << "Не е зададена";
    QTest::newRow("syntax") << cs(DbFile::Topics) << "select from where"
                            << "Грешка в базата данни";
}

// The engine's English words never reach a teacher on their own: a reason in
// Bulgarian by the result code, the engine's text after it in quotes.
void TestConnection::reasonsInBulgarian_data() {
    QTest::addColumn<int>("code");
    QTest::addColumn<QString>("reason");
    QTest::newRow("cannot open") << SQLITE_CANTOPEN << "не могат да се отворят";
    QTest::newRow("cannot open, extended")
        << (SQLITE_CANTOPEN | (1 << 8)) << "не могат да се отворят";
    QTest::newRow("disk") << SQLITE_IOERR_WRITE << "дискът";
    QTest::newRow("damaged") << SQLITE_CORRUPT << "повреден";
    QTest::newRow("no rights") << SQLITE_PERM << "права";
    QTest::newRow("full") << SQLITE_FULL << "място";
    QTest::newRow("read-only") << SQLITE_READONLY_DBMOVED << "само за четене";
    QTest::newRow("not a database") << SQLITE_NOTADB << "не е база данни";
    QTest::newRow("not null") << SQLITE_CONSTRAINT_NOTNULL << "задължителна стойност";
    QTest::newRow("a view for a table") << SQLITE_ERROR << "таблиците на файла";
}

void TestConnection::reasonsInBulgarian() {
    QFETCH(int, code);
    QFETCH(QString, reason);
    const QString engine = QStringLiteral("engine's own words");
    const QString text = engineReason(code, engine);
    QVERIFY2(text.contains(reason), qPrintable(text));
    QVERIFY2(text.endsWith(QStringLiteral(" („%1“)").arg(engine)), qPrintable(text));
}

void TestConnection::fileFaultsInBulgarian() {
    QFile full(QStringLiteral("/dev/full"));
    QVERIFY(full.open(QIODevice::WriteOnly | QIODevice::Unbuffered));
    full.write("x");
    QVERIFY2(fileFault(full).startsWith(QStringLiteral("на диска няма място („")),
             qPrintable(fileFault(full)));
    QFile none(m_folder->path() + QStringLiteral("/няма/файл"));
    QVERIFY(!none.open(QIODevice::ReadOnly));
    QVERIFY2(fileFault(none).startsWith(QStringLiteral("файлът липсва")),
             qPrintable(fileFault(none)));
}

void TestConnection::failures() {
    QFETCH(QString, connection);
    QFETCH(QString, sql);
    QFETCH(QString, message);
    Query q(QStringLiteral("Topics"));
    q.setConnectionString(connection);
    q.addSql(sql);
    try {
        q.open();
        QFAIL("the statement ran");
    } catch (const StoreError& e) {
        QVERIFY2(e.text().contains(message), qPrintable(e.text()));
    }
    QVERIFY(!q.isOpen());
    // The query is still usable once it is pointed at something sound.
    q.setConnectionString(m_folder->connectionString(DbFile::Topics));
    q.clearSql();
    q.addSql(QStringLiteral("select * from topics"));
    q.open();
    QCOMPARE(q.recordCount(), 1);
}

void TestConnection::openWithEmptyPasswordFails() {
    // A class outside 1..13 gets an empty password; the file of a real class
    // must not open with it.
    QString cs = m_folder->connectionString(DbFile::Class, 7);
    QString password;
    prse(7, password);
    cs.chop(password.size());
    QCOMPARE(cs, m_folder->connectionString(DbFile::Class, 0).replace("class0", "class7"));
    Connection c(cs);
    QVERIFY_THROWS_EXCEPTION(StoreError, c.open());
    QVERIFY(!c.isOpen());
}

void TestConnection::protectedOnDisk_data() {
    QTest::addColumn<int>("db");
    QTest::addColumn<uint>("classNo");
    QTest::addColumn<QString>("table");

    QTest::newRow("topics") << int(DbFile::Topics) << 0u << "topics";
    QTest::newRow("students") << int(DbFile::Students) << 0u << "student";
    QTest::newRow("class 7") << int(DbFile::Class) << 7u << "f7";
    QTest::newRow("scratch") << int(DbFile::Scratch) << 0u << "temp4";
    QTest::newRow("dictionary") << int(DbFile::Dict) << 0u << "dicts";
}

void TestConnection::protectedOnDisk() {
    QFETCH(int, db);
    QFETCH(uint, classNo);
    QFETCH(QString, table);
    const ConnectionTarget t =
        parseConnectionString(m_folder->connectionString(DbFile(db), classNo));
    const QString count = QStringLiteral("select count(*) from %1;\n").arg(table);

    int code = 0;
    const QString plain = shell(QStringLiteral("sqlite3"), t.path, count, code);
    if (t.password.isEmpty()) {
        QCOMPARE(code, 0);
        return;
    }
    QVERIFY2(code != 0 && plain.contains(QStringLiteral("not a database")), qPrintable(plain));
    const QString keyed = shell(QStringLiteral("sqlcipher"), t.path,
                                QStringLiteral("pragma key='%1';\n").arg(t.password) + count, code);
    QCOMPARE(code, 0);
    QVERIFY2(!keyed.contains(QStringLiteral("Error")), qPrintable(keyed));
}

void TestConnection::journalMode_data() {
    QTest::addColumn<int>("db");
    QTest::addColumn<uint>("classNo");
    QTest::addColumn<QString>("mode");

    QTest::newRow("scratch") << int(DbFile::Scratch) << 0u << "memory";
    QTest::newRow("topics") << int(DbFile::Topics) << 0u << "delete";
    QTest::newRow("students") << int(DbFile::Students) << 0u << "delete";
    QTest::newRow("class 7") << int(DbFile::Class) << 7u << "delete";
    QTest::newRow("dictionary") << int(DbFile::Dict) << 0u << "delete";
}

void TestConnection::journalMode() {
    QFETCH(int, db);
    QFETCH(uint, classNo);
    QFETCH(QString, mode);
    Query q;
    q.setConnectionString(m_folder->connectionString(DbFile(db), classNo));
    q.addSql(QStringLiteral("pragma journal_mode"));
    q.open();
    QCOMPARE(q.text(QStringLiteral("journal_mode")), mode);
    // Pupil records survive a crash the moment they are posted.
    if (DbFile(db) == DbFile::Students) {
        q.clearSql();
        q.addSql(QStringLiteral("pragma synchronous"));
        q.open();
        QCOMPARE(q.integer(QStringLiteral("synchronous")), 2);
    }
}

void TestConnection::folderWithSemicolonAndCyrillic() {
    fixture::ProgramFolder odd(QStringLiteral("Моят Кивор; 2 [тест]"));
    odd.addTopic(13, QStringLiteral("история"), QStringLiteral("Рим"), QStringLiteral("h13"));
    const QList<std::pair<DbFile, QString>> files = {{DbFile::Topics, "topics"},
                                                     {DbFile::Students, "student"},
                                                     {DbFile::Scratch, "temp4"},
                                                     {DbFile::Dict, "dicts"}};
    for (const auto& [db, table] : files) {
        Query q;
        q.setConnectionString(odd.connectionString(db));
        q.addSql(QStringLiteral("select * from ") + table);
        q.open();
        QCOMPARE(q.recordCount(), db == DbFile::Topics ? 1 : 0);
    }
    Query themes;
    themes.setConnectionString(odd.connectionString(DbFile::Class, 13));
    themes.addSql(QStringLiteral("select * from h13"));
    themes.open();
    QVERIFY(themes.isEmpty());
}

void TestConnection::pupilFileVersion_data() {
    QTest::addColumn<int>("stamp");   // user_version; -1 no database
    QTest::addColumn<int>("outcome"); // -1 refused
    QTest::addColumn<QString>("message");
    QTest::newRow("unversioned: stamped") << 0 << int(PupilFileUpgrade::Migrated) << "";
    QTest::newRow("current") << 1 << int(PupilFileUpgrade::Current) << "";
    QTest::newRow("newer: refused") << 2 << -1 << "от по-нова версия на Kivor";
    QTest::newRow("no database") << -1 << int(PupilFileUpgrade::Unreadable)
                                 << "не е база данни на програмата";
}

void TestConnection::pupilFileVersion() {
    QFETCH(int, stamp);
    QFETCH(int, outcome);
    QFETCH(QString, message);
    fixture::ProgramFolder folder;
    const QString file = folder.file(QStringLiteral("\\data\\students.mdb"));
    folder.exec(DbFile::Students, QStringLiteral("pragma user_version=%1").arg(std::max(stamp, 0)));
    Connection::closeAllOn(file);
    QFile f(file);
    QVERIFY(stamp >= 0 || (f.open(QIODevice::WriteOnly) && f.write(QByteArray(4096, 0x3f))));
    f.close();
    const auto bytes = [](QFile&& f) { return f.open(QIODevice::ReadOnly) ? f.readAll() : ""; };
    const QByteArray before = bytes(QFile(file));
    int got = -1;
    QString said;
    try {
        got = int(upgradePupilFile(folder.path()));
        if (got == int(PupilFileUpgrade::Unreadable))
            folder.connect(DbFile::Students);
    } catch (const StoreError& e) {
        said = e.text();
    }
    QCOMPARE(got, outcome);
    QVERIFY2(message.isEmpty() ? said.isEmpty() : said.contains(message), qPrintable(said));
    const bool migrated = got == int(PupilFileUpgrade::Migrated);
    QCOMPARE(bytes(QFile(file + ".v1")), migrated ? before : "");
    QCOMPARE(bytes(QFile(file)) == before, !migrated);
    if (migrated)
        QCOMPARE(storedPupilFileVersion(*folder.connect(DbFile::Students)), 1);
}

QTEST_GUILESS_MAIN(TestConnection)
#include "tst_connection.moc"
