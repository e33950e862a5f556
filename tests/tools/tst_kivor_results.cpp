#include "tools/results/resultscsv.h"

#include "support/programfolder.h"

#include <QBuffer>
#include <QCryptographicHash>
#include <QDir>
#include <QFile>
#include <QTest>
#include <QTextStream>
#include <unistd.h>

// kivor-results over a pupil database with records of several classes: the
// CSV of every filter, its quoting and separators, and the faults it reports
// instead of failing. The pupil database is never changed.
class TestKivorResults : public QObject {
    Q_OBJECT
private slots:
    void initTestCase();
    void csv_data();
    void csv();
    void gradeCells_data();
    void gradeCells();

private:
    std::unique_ptr<fixture::ProgramFolder> m_folder;
};

namespace {

const char* const kHeader = "Име;Клас;Паралелка;Номер;Дата;Предмет;Раздел;Оценка;Оценка с думи";

QByteArray fileHash(const QString& path) {
    QFile f(path);
    if (!f.open(QIODevice::ReadOnly))
        return QByteArray();
    return QCryptographicHash::hash(f.readAll(), QCryptographicHash::Sha256);
}

} // namespace

void TestKivorResults::initTestCase() {
    m_folder = std::make_unique<fixture::ProgramFolder>();
    const auto pupil = [&](const QString& name, int cls, int division, int number, QDate dt,
                           const QString& subject, const QString& val) {
        fixture::Pupil p;
        p.name = name;
        p.classNo = cls;
        p.division = division;
        p.numOfClass = number;
        p.dt = dt;
        p.object = subject;
        p.theme = QStringLiteral("дроби");
        p.val = val;
        m_folder->addPupil(p);
    };
    pupil("Ана Петрова", 5, 1, 1, {2024, 3, 1}, "математика", "2.000");
    pupil("Борис Иванов", 5, 2, 3, {2024, 3, 2}, "математика", "3.490");
    pupil("Вера, Дочева", 5, 2, 4, {2024, 4, 10}, "история", "3,500");
    pupil("Георги \"Жоро\" Г.", 6, 1, 7, {2024, 5, 20}, "математика", "4.495");
    pupil("Деси\nДимова", 7, 3, 12, {2024, 5, 21}, "история", "5.500");
    pupil("Емил Енев", 7, 31, 2, {2024, 6, 1}, "математика", "няма");
    // Typed at registration: a spreadsheet would take these for formulas.
    pupil("=HYPERLINK(A3&B3)", 8, 1, 1, {2024, 6, 2}, "+1+1", "@SUM(1;1)");
    pupil("-3+3", 8, 1, 2, {2024, 6, 3}, "\tистория", "-3.000");
    m_folder->insert(
        DbFile::Students, "student",
        {{"Name", "Жана Жекова"}, {"Class", "9"}, {"Division", "х"}, {"DT", "2024-06-04"}});
    // The pupil file under two more names, and a folder, as the output.
    const QString pupils = m_folder->file("/data/students.mdb");
    QVERIFY(QFile::link(pupils, m_folder->path() + "/link.mdb"));
    QCOMPARE(::link(QFile::encodeName(pupils), QFile::encodeName(m_folder->path() + "/hard.mdb")),
             0);
}

void TestKivorResults::csv_data() {
    QTest::addColumn<QStringList>("args"); // P: the program folder
    QTest::addColumn<int>("code");
    QTest::addColumn<QString>("expected"); // the file without its mark, lines joined by \n
    QTest::addColumn<QString>("printed");

    const QString ana = "Ана Петрова;5;А;1;2024-03-01;математика;дроби;2,00;Слаб 2";
    const QString boris = "Борис Иванов;5;Б;3;2024-03-02;математика;дроби;3,49;Среден 3";
    const QString vera = "Вера, Дочева;5;Б;4;2024-04-10;история;дроби;3,50;Добър 4";
    const QString georgi =
        "\"Георги \"\"Жоро\"\" Г.\";6;А;7;2024-05-20;математика;дроби;4,49;Добър 4";
    const QString desi = "\"Деси\nДимова\";7;В;12;2024-05-21;история;дроби;5,50;Отличен 6";
    const QString emil = "Емил Енев;7;31;2;2024-06-01;математика;дроби;няма;";
    auto file = [](const QStringList& rows) {
        return (QStringList{QString::fromUtf8(kHeader)} + rows).join(QLatin1Char('\n'));
    };

    const QString formula = "'=HYPERLINK(A3&B3);8;А;1;2024-06-02;'+1+1;дроби;\"'@SUM(1;1)\";";
    const QString minus = "'-3+3;8;А;2;2024-06-03;'\tистория;дроби;'-3.000;";
    QTest::newRow("all") << QStringList{"P"} << 0
                         << file({ana, boris, vera, georgi, desi, emil, formula, minus})
                         << "Записи: 8";
    QTest::newRow("formulas") << QStringList{"P", "--class", "8"} << 0 << file({formula, minus})
                              << "";
    QTest::newRow("division no number")
        << QStringList{"P", "--class", "9"} << 0 << file({})
        << "Запис 9 („Жана Жекова“, 9 клас, 2024-06-04) е пропуснат: паралелката „х“";
    QTest::newRow("class") << QStringList{"P", "--class", "5"} << 0 << file({ana, boris, vera})
                           << "";
    QTest::newRow("class and division")
        << QStringList{"P", "--class", "5", "--division", "б"} << 0 << file({boris, vera}) << "";
    QTest::newRow("subject") << QStringList{"P", "--subject", "История"} << 0
                             << file({vera, desi, minus}) << "";
    QTest::newRow("dates") << QStringList{"P", "--from", "2024-03-02", "--to", "21.05.2024"} << 0
                           << file({boris, vera, georgi, desi}) << "";
    QTest::newRow("nothing") << QStringList{"P", "--class", "12"} << 0 << file({}) << "Записи: 0";
    QTest::newRow("comma, English")
        << QStringList{"P", "--class=5", "--locale", "en_US"} << 0
        << "Име,Клас,Паралелка,Номер,Дата,Предмет,Раздел,Оценка,Оценка с думи\n"
           "Ана Петрова,5,А,1,2024-03-01,математика,дроби,2.00,Слаб 2\n"
           "Борис Иванов,5,Б,3,2024-03-02,математика,дроби,3.49,Среден 3\n"
           "\"Вера, Дочева\",5,Б,4,2024-04-10,история,дроби,3.50,Добър 4"
        << "";
    QTest::newRow("comma, Bulgarian")
        << QStringList{"P", "--class", "6", "--separator", "comma"} << 0
        << "Име,Клас,Паралелка,Номер,Дата,Предмет,Раздел,Оценка,"
           "Оценка с думи\n\"Георги \"\"Жоро\"\" Г.\",6,А,7,"
           "2024-05-20,математика,дроби,\"4,49\",Добър 4"
        << "";
    QTest::newRow("no mark") << QStringList{"P", "--class", "6", "--no-bom"} << 0 << file({georgi})
                             << "";

    QTest::newRow("no folder") << QStringList{"P/няма"} << 1 << ""
                               << "не съществува";
    QTest::newRow("no pupil file") << QStringList{"P/data"} << 1 << ""
                                   << "няма файл с резултатите";
    QTest::newRow("not a database") << QStringList{"P/junk"} << 1 << ""
                                    << "не е база данни";
    QTest::newRow("division not a letter") << QStringList{"P", "--division", "Q"} << 2 << ""
                                           << "Паралелката";
    QTest::newRow("bad date") << QStringList{"P", "--from", "2024-13-01"} << 2 << ""
                              << "Датата „2024-13-01“";
    QTest::newRow("bad separator") << QStringList{"P", "--separator", "tab"} << 2 << ""
                                   << "comma или semicolon";
    QTest::newRow("unknown locale") << QStringList{"P", "--locale", "xx_YY"} << 2 << ""
                                    << "Непознат език";
    QTest::newRow("two folders") << QStringList{"P", "P"} << 2 << ""
                                 << "точно една папка";
    for (const char* pupils : {"P/data/students.mdb", "P/link.mdb", "P/hard.mdb"})
        QTest::newRow(qPrintable(QStringLiteral("-o ") + pupils))
            << QStringList{"P", "-o", pupils} << 1 << ""
            << "файлът с резултатите на учениците";
    QTest::newRow("-o folder") << QStringList{"P", "-o", "P/data"} << 1 << ""
                               << "не е обикновен файл";
}

// The results window shows the grade with two decimals and the record keeps
// three: the sheet must say what the pupil saw, at every band edge.
void TestKivorResults::gradeCells_data() {
    QTest::addColumn<QString>("val");
    QTest::addColumn<QString>("grade");
    QTest::addColumn<QString>("word");
    const QStringList rows = {
        "2.994 2,99 Слаб 2",        "2.995 2,99 Слаб 2",    "2.996 3,00 Среден 3",
        "3,494 3,49 Среден 3",      "3.495 3,49 Среден 3",  "3.496 3,50 Добър 4",
        "3.500 3,50 Добър 4",       "4.495 4,49 Добър 4",   "4.496 4,50 Много добър 5",
        "5.495 5,49 Много добър 5", "5.496 5,50 Отличен 6", "6.000 6,00 Отличен 6",
        "2.000 2,00 Слаб 2"};
    for (const QString& r : rows) {
        const QStringList f = r.split(QLatin1Char(' '));
        QTest::newRow(qPrintable(f[0])) << f[0] << f[1] << f.mid(2).join(QLatin1Char(' '));
    }
}

void TestKivorResults::gradeCells() {
    QFETCH(QString, val);
    QFETCH(QString, grade);
    QFETCH(QString, word);
    const resultscsv::GradeCells cells =
        resultscsv::gradeCells(val, QLocale(QLocale::Bulgarian, QLocale::Bulgaria));
    QCOMPARE(cells.grade, grade);
    QCOMPARE(cells.word, word);
}

void TestKivorResults::csv() {
    QFETCH(QStringList, args);
    QFETCH(int, code);
    QFETCH(QString, expected);
    QFETCH(QString, printed);
    // A folder whose data/students.mdb holds no database.
    const QString fake = m_folder->path() + QStringLiteral("/junk");
    QVERIFY(QDir().mkpath(fake + QStringLiteral("/data")));
    QFile junk(fake + QStringLiteral("/data/students.mdb"));
    QVERIFY(junk.open(QIODevice::WriteOnly));
    junk.write(QByteArray(4096, 'x'));
    junk.close();
    for (QString& a : args)
        if (a.startsWith(QLatin1Char('P')))
            a = m_folder->path() + a.mid(1);

    const QString pupils = m_folder->file(QStringLiteral("/data/students.mdb"));
    const QByteArray before = fileHash(pupils);
    QByteArray bytes;
    QBuffer out(&bytes);
    out.open(QIODevice::WriteOnly);
    QString err;
    QTextStream errStream(&err);
    QCOMPARE(resultscsv::run(args, out, errStream), code);
    QVERIFY2(err.contains(printed), qPrintable(err));
    QCOMPARE(fileHash(pupils), before);
    QVERIFY(!QFile::exists(pupils + QStringLiteral("-journal")));
    if (code != 0) {
        QVERIFY(bytes.isEmpty());
        return;
    }
    // LibreOffice and Excel take the file as UTF-8 by this mark.
    const bool marked = !args.contains(QStringLiteral("--no-bom"));
    QCOMPARE(bytes.startsWith("\xEF\xBB\xBF"), marked);
    const QString text = QString::fromUtf8(bytes.mid(marked ? 3 : 0));
    QVERIFY(text.endsWith(QStringLiteral("\r\n")));
    // Every record ends with CR LF; the line break inside a name is kept as it is.
    QCOMPARE(QString(text).replace(QStringLiteral("\r\n"), QStringLiteral("\n")).chopped(1),
             expected);
}

QTEST_MAIN(TestKivorResults)
#include "tst_kivor_results.moc"
