#include "store/connstr.h"
#include "store/paths.h"

#include <QDir>
#include <QRegularExpression>
#include <QSet>
#include <QTemporaryDir>
#include <QTest>

// The strings are the form in which the program addresses its databases, and
// the passwords are baked into every shipped database: both are pinned here
// character for character, since a change to either locks the program out of
// its own files.
class TestConnStr : public QObject {
    Q_OBJECT
private slots:
    void strings_data();
    void strings();
    void parse_data();
    void parse();
    void prse_data();
    void prse();
    void passwordsAllDiffer();
    void folderWithABackslash();
};

namespace {
const QString kHead = QStringLiteral("Provider=Microsoft.Jet.OLEDB.4.0;Data Source=");
const QString kTail = QStringLiteral("Persist Security Info=False;Jet OLEDB:Database Password=");
} // namespace

void TestConnStr::strings_data() {
    QTest::addColumn<QString>("folder");
    QTest::addColumn<int>("db");
    QTest::addColumn<uint>("classNo");
    QTest::addColumn<QString>("expected");

    const QString f = QStringLiteral("/home/учител/Kivor 2");
    QTest::newRow("topics") << f << int(DbFile::Topics) << 0u
                            << kHead + f + "\\data\\topics.mdb;" + kTail + "0o5hlz1zpz1k4lk21fz5";
    QTest::newRow("students") << f << int(DbFile::Students) << 0u
                              << kHead + f + "\\data\\students.mdb;" + kTail +
                                     "60x2dal3p90yvm8pec60";
    QTest::newRow("scratch") << f << int(DbFile::Scratch) << 0u
                             << kHead + f + "\\data\\temp.mdb;" + kTail + "5jhs7te25318j1dt9b4m";
    QTest::newRow("class 1") << f << int(DbFile::Class) << 1u
                             << kHead + f + "\\data\\class1.mdb;" + kTail + "op39q43gq68pdya8k7zk";
    QTest::newRow("class 7") << f << int(DbFile::Class) << 7u
                             << kHead + f + "\\data\\class7.mdb;" + kTail + "8rpp3ldpn42epk8jatuy";
    QTest::newRow("class 13") << f << int(DbFile::Class) << 13u
                              << kHead + f + "\\data\\class13.mdb;" + kTail +
                                     "pj2q8n5yfo4qq950gntz";
    QTest::newRow("class 0: empty password")
        << f << int(DbFile::Class) << 0u << kHead + f + "\\data\\class0.mdb;" + kTail;
    QTest::newRow("class 14: empty password")
        << f << int(DbFile::Class) << 14u << kHead + f + "\\data\\class14.mdb;" + kTail;
    QTest::newRow("dictionary: no password, no final semicolon")
        << f << int(DbFile::Dict) << 0u
        << kHead + f + "\\dict\\dict.mdb;Persist Security Info=False";
    QTest::newRow("folder with a semicolon")
        << QStringLiteral("/srv/a;b") << int(DbFile::Topics) << 0u
        << kHead + "\"/srv/a;b\\data\\topics.mdb\";" + kTail + "0o5hlz1zpz1k4lk21fz5";
}

void TestConnStr::strings() {
    QFETCH(QString, folder);
    QFETCH(int, db);
    QFETCH(uint, classNo);
    QFETCH(QString, expected);
    QCOMPARE(connectionString(folder, DbFile(db), classNo), expected);
}

void TestConnStr::parse_data() {
    QTest::addColumn<QString>("folder");
    QTest::addColumn<int>("db");
    QTest::addColumn<uint>("classNo");
    QTest::addColumn<QString>("path");
    QTest::addColumn<QString>("password");

    QTest::newRow("topics") << "/opt/kivor" << int(DbFile::Topics) << 0u
                            << "/opt/kivor/data/topics.mdb"
                            << "0o5hlz1zpz1k4lk21fz5";
    QTest::newRow("class 13") << "/opt/kivor" << int(DbFile::Class) << 13u
                              << "/opt/kivor/data/class13.mdb"
                              << "pj2q8n5yfo4qq950gntz";
    QTest::newRow("class 0") << "/opt/kivor" << int(DbFile::Class) << 0u
                             << "/opt/kivor/data/class0.mdb"
                             << "";
    QTest::newRow("dictionary") << "/opt/kivor" << int(DbFile::Dict) << 0u
                                << "/opt/kivor/dict/dict.mdb"
                                << "";
    QTest::newRow("semicolon in folder")
        << "/tmp/x;y" << int(DbFile::Students) << 0u << "/tmp/x;y/data/students.mdb"
        << "60x2dal3p90yvm8pec60";
    QTest::newRow("semicolon in folder, dictionary")
        << "/tmp/x;y" << int(DbFile::Dict) << 0u << "/tmp/x;y/dict/dict.mdb"
        << "";
    QTest::newRow("security clause in folder")
        << "/tmp/a;Persist Security Info=False;b" << int(DbFile::Topics) << 0u
        << "/tmp/a;Persist Security Info=False;b/data/topics.mdb"
        << "0o5hlz1zpz1k4lk21fz5";
    QTest::newRow("Cyrillic folder with spaces")
        << "/home/ученик/Мои документи" << int(DbFile::Scratch) << 0u
        << "/home/ученик/Мои документи/data/temp.mdb"
        << "5jhs7te25318j1dt9b4m";
}

void TestConnStr::parse() {
    QFETCH(QString, folder);
    QFETCH(int, db);
    QFETCH(uint, classNo);
    QFETCH(QString, path);
    QFETCH(QString, password);
    const ConnectionTarget t = parseConnectionString(connectionString(folder, DbFile(db), classNo));
    QCOMPARE(t.path, path);
    QCOMPARE(t.password, password);
}

void TestConnStr::prse_data() {
    QTest::addColumn<uint>("classNo");
    QTest::addColumn<bool>("hasPassword");
    for (uint n = 0; n <= 14; ++n)
        QTest::addRow("class %u", n) << n << (n >= 1 && n <= 13);
    QTest::newRow("huge") << 4000000000u << false;
}

void TestConnStr::prse() {
    QFETCH(uint, classNo);
    QFETCH(bool, hasPassword);
    QString out = QStringLiteral("untouched");
    ::prse(classNo, out);
    if (!hasPassword) {
        QCOMPARE(out, QStringLiteral("untouched"));
        return;
    }
    static const QRegularExpression form(QStringLiteral("^[a-z0-9]{20}$"));
    QVERIFY2(form.match(out).hasMatch(), qPrintable(out));
}

void TestConnStr::passwordsAllDiffer() {
    QSet<QString> all = {topicsPassword(), studentsPassword(), scratchPassword()};
    for (uint n = 1; n <= 13; ++n) {
        QString p;
        ::prse(n, p);
        all.insert(p);
    }
    QCOMPARE(all.size(), 16);
}

// A backslash in the name of the program folder is part of the name; only
// the program's own relative part is converted.
void TestConnStr::folderWithABackslash() {
    QTemporaryDir dir;
    const QString folder = dir.path() + QStringLiteral("/учебни\\тестове");
    QVERIFY(QDir().mkpath(folder));
    QCOMPARE(parseConnectionString(connectionString(folder, DbFile::Students)).path,
             folder + QStringLiteral("/data/students.mdb"));
    QCOMPARE(programPath(folder, QStringLiteral("\\help.exe")),
             folder + QStringLiteral("/help.exe"));
}

QTEST_GUILESS_MAIN(TestConnStr)
#include "tst_connstr.moc"
