#include "tools/bank/bank.h"
#include "tools/bank/source.h"
#include "tools/bank/yamlwrite.h"

#include "store/connection.h"
#include "store/connstr.h"
#include "store/error.h"
#include "store/jetsql.h"
#include "store/paths.h"
#include "store/query.h"
#include "tools/jpeg/jpegwrite.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QImage>
#include <QTemporaryDir>
#include <QTest>
#include <QTextStream>

// kivor-bank from YAML sources to the databases of a program folder, read
// back through the store as the program reads them.
class TestBank : public QObject {
    Q_OBJECT
private slots:
    void init();
    void faults_data();
    void faults();
    void warnings_data();
    void warnings();
    void gapColumns();
    void matchingColumns();
    void choiceColumns();
    void topicsRows();
    void secondBuildReplacesTables();
    void lateFaultTakesRowsBack();
    void failedWriteKeepsOldFile();
    void studentRecordsKept();
    void studentsFileKeptUnlessProvenEmpty_data();
    void studentsFileKeptUnlessProvenEmpty();
    void dictionaryWithoutPassword();
    void protectedFiles_data();
    void protectedFiles();
    void commandLine_data();
    void commandLine();
    void shippedBanksReadBack_data();
    void shippedBanksReadBack();

private:
    QString content() const { return m_dir->filePath(QStringLiteral("content")); }
    QString program() const { return m_dir->filePath(QStringLiteral("kivor")); }
    void put(const QString& relative, const QByteArray& bytes) const;
    QList<QVariantHash> rows(DbFile db, const QString& sql, unsigned classNo = 0) const;
    QStringList tablesOf(DbFile db, unsigned classNo = 0) const;

    std::unique_ptr<QTemporaryDir> m_dir;
};

namespace {

using bank::Issue;

// A bank file with one section around the given questions (YAML list items
// indented for "questions:").
QByteArray bankFile(const QByteArray& questions, const QByteArray& table = "bad_t",
                    int classNo = 5) {
    return "class: " + QByteArray::number(classNo) +
           "\n"
           "subject: български език\n"
           "sections:\n"
           "  - section: раздел\n"
           "    table: " +
           table +
           "\n"
           "    questions:\n" +
           questions;
}

const QByteArray kChoice = "      - kind: choice\n"
                           "        condition: Изберете.\n"
                           "        question: Кое?\n"
                           "        answers: [едно, две, три, четири]\n"
                           "        right: Б\n"
                           "        points: 1\n";

// A good question first, so that the second one is question 2.
QByteArray withQuestion(const QByteArray& second) {
    return bankFile(kChoice + second);
}

QString cs(const QString& path, const QString& password) {
    QString s = QStringLiteral("Provider=Microsoft.Jet.OLEDB.4.0;Data Source=") + path +
                QStringLiteral(";Persist Security Info=False");
    if (!password.isEmpty())
        s += QStringLiteral(";Jet OLEDB:Database Password=") + password;
    return s;
}

QList<QVariantHash> readRows(const QString& connection, const QString& sql) {
    Connection c(connection);
    Query q;
    q.setConnection(&c);
    q.setSql({sql});
    q.open();
    QList<QVariantHash> out;
    for (q.first(); !q.eof(); q.next()) {
        QVariantHash row;
        for (const QString& f : q.fieldNames())
            row.insert(f.toLower(), q.value(f));
        out.append(row);
    }
    return out;
}

const Issue* findIssue(const QList<Issue>& issues, bool fault, const QString& fragment) {
    for (const Issue& i : issues)
        if (i.isFault() == fault && i.message.contains(fragment))
            return &i;
    return nullptr;
}

QString allText(const QList<Issue>& issues) {
    QStringList lines;
    for (const Issue& i : issues)
        lines.append(i.text());
    return lines.join(QLatin1Char('\n'));
}

} // namespace

void TestBank::init() {
    m_dir = std::make_unique<QTemporaryDir>();
    QVERIFY(m_dir->isValid());
    QVERIFY(QDir().mkpath(content() + QStringLiteral("/banks")));
    QVERIFY(QDir().mkpath(content() + QStringLiteral("/pictures")));
    QVERIFY(QImage(8, 8, QImage::Format_RGB32).save(content() + QStringLiteral("/pictures/a.jpg")));
    QVERIFY(QImage(8, 8, QImage::Format_RGB32).save(content() + QStringLiteral("/pictures/b.png")));
    QVERIFY(QImage(8, 8, QImage::Format_RGB32).save(content() + QStringLiteral("/pictures/c.bmp")));
    put(QStringLiteral("pictures/broken.jpg"), "\xff\xd8\xff\xe0 not really a picture");
    put(QStringLiteral("pictures/scans.jpg"),
        encodeJpegScanByScan(QImage(8, 8, QImage::Format_RGB32), 90));
    // Beside the content folder, reached by "..", a link and its absolute path.
    QVERIFY(QImage(8, 8, QImage::Format_RGB32).save(m_dir->filePath(QStringLiteral("out.jpg"))));
    QVERIFY(QFile::link(m_dir->filePath(QStringLiteral("out.jpg")),
                        content() + QStringLiteral("/pictures/link.jpg")));
    QFile sparse(content() + QStringLiteral("/pictures/huge.jpg"));
    QVERIFY(sparse.open(QIODevice::WriteOnly) && sparse.resize(qint64(3) << 30));
}

void TestBank::put(const QString& relative, const QByteArray& bytes) const {
    const QString path = QDir(content()).filePath(relative);
    QVERIFY(QDir().mkpath(QFileInfo(path).path()));
    QFile f(path);
    QVERIFY(f.open(QIODevice::WriteOnly | QIODevice::Truncate));
    f.write(bytes);
}

QList<QVariantHash> TestBank::rows(DbFile db, const QString& sql, unsigned classNo) const {
    return readRows(connectionString(program(), db, classNo), sql);
}

QStringList TestBank::tablesOf(DbFile db, unsigned classNo) const {
    QStringList names;
    const auto list =
        rows(db, QStringLiteral("select name from sqlite_master where type=\"table\""), classNo);
    for (const QVariantHash& r : list)
        names.append(r.value(QStringLiteral("name")).toString());
    names.sort();
    return names;
}

void TestBank::faults_data() {
    QTest::addColumn<QByteArray>("yaml");
    QTest::addColumn<QString>("message");
    QTest::addColumn<QString>("where"); // part of the printed line

    const QByteArray q = "      - kind: choice\n        condition: Изберете.\n";
    const QByteArray m = "      - kind: matching\n        condition: Свържете.\n        pairs:\n";
    const QByteArray g = "      - kind: gaps\n        condition: Попълнете.\n        text: ";

    QTest::newRow("yaml") << QByteArray("class: 5\nsubject: [x\nsections: []\n")
                          << "неправилен запис на YAML: незатворена скоба ["
                          << "b_bad.yaml:3: грешка";
    QTest::newRow("stray comma") << QByteArray(",{а\n!x: y\n") << "неправилен запис на YAML"
                                 << "b_bad.yaml:1: грешка";
    QTest::newRow("not utf-8") << QByteArray("class: 5\nsubject: \xe1\xfa\xeb\xe3\n") << "UTF-8"
                               << "b_bad.yaml:2";
    QTest::newRow("empty file") << QByteArray("# nothing\n") << "файлът е празен"
                                << "b_bad.yaml";
    QTest::newRow("two documents") << bankFile(kChoice + kChoice) + "---\nclass: 6\n"
                                   << "повече от един документ"
                                   << "b_bad.yaml";
    QTest::newRow("list at top") << QByteArray("- class: 5\n") << "полетата class, subject"
                                 << "b_bad.yaml:1";
    QTest::newRow("class missing")
        << bankFile(kChoice + kChoice).replace("class: 5\n", "") << "липсва полето „class“"
        << "b_bad.yaml";
    QTest::newRow("class 14") << bankFile(kChoice + kChoice, "bad_t", 14) << "от 1 до 13"
                              << "b_bad.yaml:1";
    QTest::newRow("class 0") << bankFile(kChoice + kChoice, "bad_t", 0) << "от 1 до 13"
                             << "";
    QTest::newRow("class in words")
        << bankFile(kChoice + kChoice).replace("class: 5", "class: пети") << "цяло число"
        << "";
    QTest::newRow("empty subject")
        << bankFile(kChoice + kChoice).replace("български език", "\"\"") << "предметът е празен"
        << "";
    QTest::newRow("empty section")
        << bankFile(kChoice + kChoice).replace("section: раздел", "section: \"\"")
        << "името на раздела е празно"
        << "b_bad.yaml:4: грешка: раздел „№ 1“";
    QTest::newRow("no sections") << QByteArray("class: 5\nsubject: x\nsections: []\n")
                                 << "нито един раздел"
                                 << "";
    QTest::newRow("cyrillic table") << bankFile(kChoice + kChoice, "бел5") << "латински букви"
                                    << "раздел „раздел“";
    QTest::newRow("table from digit") << bankFile(kChoice + kChoice, "5bel") << "латински букви"
                                      << "";
    QTest::newRow("table with dash") << bankFile(kChoice + kChoice, "bel-5") << "латински букви"
                                     << "";
    QTest::newRow("table of another source")
        << bankFile(kChoice + kChoice, "GOOD_T") << "вече е дадена за клас 5 в banks/a_good.yaml"
        << "b_bad.yaml:4: грешка: раздел „раздел“: таблицата";
    QTest::newRow("table twice in one source")
        << bankFile(kChoice + kChoice) + "  - section: друг\n    table: bad_t\n    questions:\n" +
               kChoice + kChoice
        << "таблицата „bad_t“ вече е дадена"
        << "раздел „друг“";
    QTest::newRow("table named like an index")
        << bankFile(kChoice + kChoice, "good_t_ix1") << "се застъпва с таблица „good_t“"
        << "";
    QTest::newRow("section of another source")
        << bankFile(kChoice + kChoice).replace("section: раздел", "section: добър раздел")
        << "разделът вече е даден"
        << "";
    QTest::newRow("key twice") << bankFile(kChoice + "        " + kChoice.mid(8))
                               << "е дадено два пъти"
                               << "въпрос 1";

    QTest::newRow("kind missing") << withQuestion("      - condition: Изберете.\n")
                                  << "липсва полето „kind“"
                                  << "въпрос 2";
    QTest::newRow("kind unknown") << withQuestion("      - kind: essay\n        condition: x\n")
                                  << "непознат вид въпрос „essay“"
                                  << "въпрос 2";
    QTest::newRow("condition missing")
        << withQuestion(QByteArray(kChoice).replace("        condition: Изберете.\n", ""))
        << "липсва полето „condition“"
        << "раздел „раздел“, въпрос 2";
    QTest::newRow("question missing")
        << withQuestion(QByteArray(kChoice).replace("        question: Кое?\n", ""))
        << "липсва полето „question“"
        << "въпрос 2";
    QTest::newRow("three answers")
        << withQuestion(q + "        question: Кое?\n        answers: [а, б, в]\n        right: "
                            "А\n        points: 1\n")
        << "точно четири отговора, а има 3"
        << "въпрос 2";
    QTest::newRow("empty answer")
        << withQuestion(q + "        question: Кое?\n        answers: [а, \"\", в, г]\n"
                            "        right: А\n        points: 1\n")
        << "отговор 2 е празен"
        << "въпрос 2";
    QTest::newRow("answers not a list")
        << withQuestion(q + "        question: Кое?\n        answers: а, б, в, г\n        right: "
                            "А\n        points: 1\n")
        << "„answers“ трябва да е списък"
        << "въпрос 2";
    QTest::newRow("latin right letter")
        << withQuestion(QByteArray(kChoice).replace("right: Б", "right: B"))
        << "латинската буква; напишете кирилската „Б“"
        << "въпрос 2";
    QTest::newRow("right letter Д")
        << withQuestion(QByteArray(kChoice).replace("right: Б", "right: Д"))
        << "кирилските букви А, Б, В, Г, а е „Д“"
        << "въпрос 2";
    QTest::newRow("small right letter")
        << withQuestion(QByteArray(kChoice).replace("right: Б", "right: в"))
        << "главната кирилска буква „В“"
        << "въпрос 2";
    QTest::newRow("right missing")
        << withQuestion(QByteArray(kChoice).replace("        right: Б\n", ""))
        << "липсва полето „right“"
        << "въпрос 2";
    QTest::newRow("choice without points")
        << withQuestion(QByteArray(kChoice).replace("        points: 1\n", ""))
        << "липсва полето „points“"
        << "въпрос 2";
    QTest::newRow("points 0") << withQuestion(QByteArray(kChoice).replace("points: 1", "points: 0"))
                              << "цяло число от 1 до 1000, а са „0“"
                              << "въпрос 2";
    QTest::newRow("points fraction")
        << withQuestion(QByteArray(kChoice).replace("points: 1", "points: 1.5"))
        << "цяло число от 1 до 1000, а са „1.5“"
        << "въпрос 2";
    QTest::newRow("points 1001") << withQuestion(
                                        QByteArray(kChoice).replace("points: 1", "points: 1001"))
                                 << "до 1000, а са „1001“"
                                 << "въпрос 2";
    QTest::newRow("pairs summing above 1000")
        << withQuestion(m + "          - [а, б, 600]\n          - [в, г, 600]\n")
        << "сборът на точките на двойките е 1200"
        << "въпрос 2";
    QTest::newRow("gaps summing past the integers")
        << withQuestion(g + "\"[а|999999999] [б|999999999] [в|999999999]\"\n")
        << "точките на празнина 1"
        << "въпрос 2";
    QTest::newRow("gaps summing above 1000")
        << withQuestion(g + "\"[а|1000] [б]\"\n") << "сборът на точките на празнините е 1001"
        << "въпрос 2";
    QTest::newRow("test in words")
        << withQuestion(kChoice + "        test: да\n") << "„test“ трябва да е цяло число"
        << "въпрос 2";

    QTest::newRow("one pair") << withQuestion(m + "          - [а, б, 1]\n")
                              << "поне две двойки, а има 1"
                              << "въпрос 2";
    // The screen shows ten rows: the points of an eleventh pair could never be earned.
    QByteArray eleven = m;
    for (int i = 1; i <= 11; ++i)
        eleven +=
            "          - [т" + QByteArray::number(i) + ", з" + QByteArray::number(i) + ", 1]\n";
    QTest::newRow("eleven pairs") << withQuestion(eleven)
                                  << "11 двойки, а екранът показва най-много 10"
                                  << "въпрос 2";
    QTest::newRow("pair without term")
        << withQuestion(m + "          - [\"\", б, 1]\n          - [в, г, 1]\n")
        << "двойка 1 няма термин"
        << "въпрос 2";
    QTest::newRow("pair without meaning")
        << withQuestion(m + "          - [а, б, 1]\n          - [в, ~, 1]\n")
        << "двойка 2 няма значение"
        << "въпрос 2";
    QTest::newRow("pair without points")
        << withQuestion(m + "          - [а, б]\n          - [в, г, 1]\n") << "двойка 1 няма точки"
        << "въпрос 2";
    QTest::newRow("pair points 0")
        << withQuestion(m + "          - [а, б, 0]\n          - [в, г, 1]\n")
        << "точките на двойка 1 трябва да са цяло число от 1 до 1000"
        << "въпрос 2";
    QTest::newRow("pair points text")
        << withQuestion(m + "          - [а, б, 1]\n          - [в, г, две]\n")
        << "точките на двойка 2 трябва да са цяло число от 1 до 1000, а са „две“"
        << "въпрос 2";
    QTest::newRow("pair not a list") << withQuestion(m + "          - а\n          - [в, г, 1]\n")
                                     << "двойка 1 трябва да е [термин, значение, точки]"
                                     << "въпрос 2";
    QTest::newRow("term twice") << withQuestion(m +
                                                "          - [а, б, 1]\n          - [а, г, 1]\n")
                                << "терминът „а“ се среща в повече от една двойка"
                                << "въпрос 2";
    QTest::newRow("term with line break")
        << withQuestion(m + "          - [\"а\\nб\", б, 1]\n          - [в, г, 1]\n")
        << "съдържа нов ред"
        << "въпрос 2";

    QTest::newRow("text without gaps")
        << withQuestion(g + "Няма празнини.\n") << "няма нито една празнина"
        << "въпрос 2";
    QTest::newRow("empty gap") << withQuestion(g + "\"Дума [] тук [друга].\"\n")
                               << "празнина 1 „[]“ няма дума"
                               << "въпрос 2";
    QTest::newRow("gap with points only")
        << withQuestion(g + "\"Дума [|2] тук.\"\n") << "празнина 1 „[|2]“ няма дума"
        << "въпрос 2";
    QTest::newRow("gap points 0") << withQuestion(g + "\"Една [дума|0] тук.\"\n")
                                  << "точките на празнина 1"
                                  << "въпрос 2";
    QTest::newRow("gap points text")
        << withQuestion(g + "\"[а] и [дума|две].\"\n") << "точките на празнина 2"
        << "въпрос 2";
    QTest::newRow("gap not closed") << withQuestion(g + "\"Една [дума тук.\"\n") << "не е затворена"
                                    << "въпрос 2";
    QTest::newRow("gap across lines")
        << withQuestion(g + "\"Една [дума\\nтук].\"\n") << "не е затворена на същия ред"
        << "въпрос 2";
    QTest::newRow("gap inside gap")
        << withQuestion(g + "\"Една [ду[ма] тук].\"\n") << "преди следващата „[“"
        << "въпрос 2";
    QTest::newRow("closing bracket alone")
        << withQuestion(g + "\"[Една] дума] тук.\"\n") << "„]“ без отваряща на ред 1"
        << "въпрос 2";
    QTest::newRow("text missing") << withQuestion("      - kind: gaps\n        condition: x\n")
                                  << "липсва полето „text“"
                                  << "въпрос 2";

    QTest::newRow("picture missing")
        << withQuestion(kChoice + "        picture: pictures/none.jpg\n")
        << "„pictures/none.jpg“ не съществува"
        << "въпрос 2";
    QTest::newRow("picture broken")
        << withQuestion(kChoice + "        picture: pictures/broken.jpg\n")
        << "„pictures/broken.jpg“ не е четимо изображение JPEG или PNG"
        << "въпрос 2";
    QTest::newRow("picture in 190 scans")
        << withQuestion(kChoice + "        picture: pictures/scans.jpg\n")
        << "„pictures/scans.jpg“ не е четимо изображение"
        << "въпрос 2";
    QTest::newRow("picture outside")
        << withQuestion(kChoice + "        picture: pictures/../../out.jpg\n")
        << "извън папката с източниците"
        << "въпрос 2";
    QTest::newRow("picture linked outside")
        << withQuestion(kChoice + "        picture: pictures/link.jpg\n") << "извън папката"
        << "въпрос 2";
    QTest::newRow("picture absolute")
        << withQuestion(kChoice + "        picture: /etc/hostname\n") << "трябва да е относителен"
        << "въпрос 2";
    QTest::newRow("picture of 3 GB")
        << withQuestion(kChoice + "        picture: pictures/huge.jpg\n") << "по-голям от 20 MB"
        << "въпрос 2";
    QTest::newRow("gap text past the bound")
        << withQuestion(g + "\"[а] " + QByteArray(10000, 'x') + "\"\n") << "най-много 10000 знака"
        << "въпрос 2";
    // Each level doubles the one below: a few more would make millions.
    QTest::newRow("aliases") << QByteArray("class: 5\nsubject: x\na: &a [x, x]\nb: &b [*a, *a]\n"
                                           "sections: [*b, *b]\n")
                             << "котви и препратки на YAML"
                             << "b_bad.yaml:3: грешка";
    QByteArray many = bankFile(kChoice);
    for (int i = 0; i < 1000; ++i)
        many += "  - {section: р" + QByteArray::number(i) + ", table: t" + QByteArray::number(i) +
                ", questions: []}\n";
    QTest::newRow("1001 sections in a class") << many << "побира най-много 1000"
                                              << "b_bad.yaml";
    QTest::newRow("picture not jpeg or png")
        << withQuestion(kChoice + "        picture: pictures/c.bmp\n")
        << "не е четимо изображение JPEG или PNG"
        << "въпрос 2";
}

// A faulty source is reported with file, section and question and writes
// nothing; a good source beside it is still written.
void TestBank::faults() {
    QFETCH(QByteArray, yaml);
    QFETCH(QString, message);
    QFETCH(QString, where);
    put(QStringLiteral("banks/a_good.yaml"),
        bankFile(kChoice + kChoice, "good_t").replace("section: раздел", "section: добър раздел"));
    put(QStringLiteral("banks/b_bad.yaml"), yaml);

    const bank::Report report = bank::build(content(), program());
    QVERIFY2(report.hasFault(), qPrintable(allText(report.issues)));
    const Issue* issue = findIssue(report.issues, true, message);
    QVERIFY2(issue, qPrintable(allText(report.issues)));
    QCOMPARE(issue->file, QStringLiteral("banks/b_bad.yaml"));
    QVERIFY2(issue->text().contains(where), qPrintable(issue->text()));
    for (const Issue& i : report.issues)
        if (i.isFault())
            QVERIFY2(i.file == QStringLiteral("banks/b_bad.yaml"), qPrintable(i.text()));

    const auto topics = rows(DbFile::Topics, QStringLiteral("select * from topics"));
    QCOMPARE(topics.size(), 1);
    QCOMPARE(topics[0].value(QStringLiteral("table")).toString(), QStringLiteral("good_t"));
    QCOMPARE(tablesOf(DbFile::Class, 5), QStringList{QStringLiteral("good_t")});
    for (unsigned n = 2; n <= 13; ++n)
        QCOMPARE(QFileInfo::exists(programPath(program(), dbRelativePath(DbFile::Class, n))),
                 n == 5);
}

void TestBank::warnings_data() {
    QTest::addColumn<QByteArray>("yaml");
    QTest::addColumn<QString>("message");

    const QByteArray m = "      - kind: matching\n        condition: Свържете.\n";
    const QByteArray g = "      - kind: gaps\n        condition: Попълнете.\n";
    QTest::newRow("matching points above the pairs")
        << withQuestion(m + "        points: 3\n        pairs:\n          - [а, б, 1]\n"
                            "          - [в, г, 1]\n")
        << "точките на въпроса (3) се различават от сбора на точките на двойките (2): оценката "
           "не може да стигне 6";
    QTest::newRow("gaps points below the gaps")
        << withQuestion(g + "        points: 1\n        text: \"[а] и [б|2]\"\n")
        << "точките на въпроса (1) се различават от сбора на точките на празнините (3): оценката "
           "може да стане по-висока от 6";
    QTest::newRow("one question") << bankFile(kChoice) << "1 използваеми въпроса";
    QTest::newRow("one question with test 1")
        << withQuestion(kChoice + "        test: 0\n") << "1 използваеми въпроса";
    QTest::newRow("unknown field")
        << withQuestion(kChoice + "        pictur: a.jpg\n") << "непознато поле „pictur“";
    QTest::newRow("field of another kind") << withQuestion(kChoice + "        text: \"[а]\"\n")
                                           << "полето „text“ не се използва при въпрос от вида "
                                              "„choice“";
    QTest::newRow("marker typed in the text")
        << withQuestion(g + "        text: \"[а] и  .....  тук\"\n") << "извън празнина";

    // Seen in one section, known in the other; case and blanks do not hide it.
    const QByteArray mammal = QByteArray(kChoice).replace("Кое?", "Кое животно е бозайник?");
    QTest::newRow("question of another section")
        << bankFile(mammal + kChoice) + "  - section: друг\n    table: other_t\n    questions:\n" +
               QByteArray(mammal).replace("Кое ж", "кое  ж") + QByteArray(kChoice).replace("?", "!")
        << "въпрос 1 от раздел „раздел“ в banks/w.yaml";
    QTest::newRow("same words, another picture")
        << withQuestion(kChoice + "        picture: pictures/a.jpg\n") << "";
    // A meaning sharing a stem with its own term and no other gives the pair away.
    const QByteArray p = m + "        pairs:\n          - [савани, субекваториален пояс, 1]\n";
    QTest::newRow("zone named after its belt")
        << withQuestion(p + "          - [влажни екваториални гори, екваториален пояс, 1]\n")
        << "двойка 2 повтаря думата „екваториален“ от своя термин";
    QTest::newRow("stem inside a compound")
        << withQuestion(p + "          - [енергетика, електроенергия, 1]\n") << "„електроенергия“";
    QTest::newRow("name in the title")
        << withQuestion(p + "          - [Пинокио и Джепето, „Приключенията на Пинокио“, 1]\n")
        << "думата „Пинокио“";
    QTest::newRow("zone named apart")
        << withQuestion(p + "          - [влажни гори на Амазония, екваториален пояс, 1]\n") << "";
    QTest::newRow("root all terms share")
        << withQuestion(m +
                        "        pairs:\n          - [„Уморена съм“, \"Каза, че е уморена.\", 1]\n"
                        "          - [„Не се уморявай!“, Каза да не се уморявам., 1]\n")
        << "";
    QTest::newRow("word forms")
        << withQuestion(m + "        pairs:\n          - [гледам, гледах, 1]\n          - [донеса, "
                            "донесох, 1]\n")
        << "";
}

// Warnings leave the source in the program folder; a row without a message
// is one that must give none.
void TestBank::warnings() {
    QFETCH(QByteArray, yaml);
    QFETCH(QString, message);
    put(QStringLiteral("banks/w.yaml"), yaml);
    const bank::Report report = bank::build(content(), program());
    QVERIFY2(message.isEmpty() ? report.issues.isEmpty() : !report.hasFault(),
             qPrintable(allText(report.issues)));
    const Issue* issue = findIssue(report.issues, false, message);
    QVERIFY2(message.isEmpty() || issue, qPrintable(allText(report.issues)));
    QVERIFY2(!issue || issue->text().contains(QStringLiteral("w.yaml:")),
             qPrintable(allText(report.issues)));
    QVERIFY(tablesOf(DbFile::Class, 5).contains(QStringLiteral("bad_t")));
}

void TestBank::gapColumns() {
    // CR LF written in the source, Cyrillic words, a gap at the very start and
    // line breaks at the end that the stored text drops.
    put(QStringLiteral("banks/g.yaml"),
        withQuestion(
            "      - kind: gaps\n"
            "        condition: Попълнете.\n"
            "        text: \"[Слънцето] грее над [ полето ] и\\r\\nгорите [hills|3].\\n\\n\"\n"));
    const bank::Report report = bank::build(content(), program());
    QVERIFY2(report.issues.isEmpty(), qPrintable(allText(report.issues)));

    const auto r = rows(DbFile::Class, QStringLiteral("select * from bad_t where num=2"), 5);
    QCOMPARE(r.size(), 1);
    const QVariantHash& q = r[0];
    const QString text = q.value(QStringLiteral("textw")).toString();
    QCOMPARE(text, QStringLiteral(" .....  грее над  .....  и\nгорите  ..... ."));
    QCOMPARE(q.value(QStringLiteral("start")).toString(), QStringLiteral("0\r\n17\r\n34\r\n"));
    for (int start : {0, 17, 34})
        QCOMPARE(text.mid(start, 7), QStringLiteral(" ..... "));
    QCOMPARE(q.value(QStringLiteral("words")).toString(),
             QStringLiteral("Слънцето\r\nполето\r\nhills\r\n"));
    QCOMPARE(q.value(QStringLiteral("leng")).toString(), QStringLiteral("8\r\n6\r\n5\r\n"));
    QCOMPARE(q.value(QStringLiteral("ttscores")).toString(), QStringLiteral("1\r\n1\r\n3\r\n"));
    QCOMPARE(q.value(QStringLiteral("scores")).toInt(), 5);
    QCOMPARE(q.value(QStringLiteral("typequest")).toInt(), 2);
    for (const char* empty : {"quest", "ansa", "ansd", "trueans", "terms", "trans", "fullans"}) {
        QVERIFY2(!q.value(QLatin1String(empty)).isNull(), empty);
        QCOMPARE(q.value(QLatin1String(empty)).toString(), QString());
    }
}

void TestBank::matchingColumns() {
    put(QStringLiteral("banks/m.yaml"), withQuestion("      - kind: matching\n"
                                                     "        condition: Свържете.\n"
                                                     "        pairs:\n"
                                                     "          - [съществително, предмет, 1]\n"
                                                     "          - [глагол, действие, 2]\n"));
    const bank::Report report = bank::build(content(), program());
    QVERIFY2(report.issues.isEmpty(), qPrintable(allText(report.issues)));
    const auto r = rows(DbFile::Class, QStringLiteral("select * from bad_t where num=2"), 5);
    QCOMPARE(r.size(), 1);
    QCOMPARE(r[0].value(QStringLiteral("terms")).toString(),
             QStringLiteral("съществително\r\nглагол\r\n"));
    QCOMPARE(r[0].value(QStringLiteral("trans")).toString(),
             QStringLiteral("предмет\r\nдействие\r\n"));
    QCOMPARE(r[0].value(QStringLiteral("ttscores")).toString(), QStringLiteral("1\r\n2\r\n"));
    QCOMPARE(r[0].value(QStringLiteral("scores")).toInt(), 3);
    QCOMPARE(r[0].value(QStringLiteral("typequest")).toInt(), 1);
    QCOMPARE(r[0].value(QStringLiteral("textw")).toString(), QString());
    QCOMPARE(r[0].value(QStringLiteral("ansa")).toString(), QString());
}

void TestBank::choiceColumns() {
    QImage wide(2048, 1024, QImage::Format_RGB32);
    wide.fill(Qt::darkCyan);
    QVERIFY(wide.save(content() + QStringLiteral("/pictures/big.png")));
    put(QStringLiteral("banks/c.yaml"),
        bankFile("      - kind: choice\n"
                 "        condition: Изберете верния отговор.\n"
                 "        question: Коя дума е съществително?\n"
                 "        answers: [бързо, тичам, маса, зелен]\n"
                 "        right: В\n"
                 "        points: 2\n"
                 "        full: „Маса“ назовава предмет.\n"
                 "        picture: pictures/a.jpg\n"
                 "        test: 0\n" +
                 kChoice + kChoice + "        picture: pictures/b.png\n" + kChoice +
                 "        picture: pictures/big.png\n"));
    const bank::Report report = bank::build(content(), program());
    QVERIFY2(report.issues.isEmpty(), qPrintable(allText(report.issues)));
    const auto r = rows(DbFile::Class, QStringLiteral("select * from bad_t order by num"), 5);
    QCOMPARE(r.size(), 4);
    const QVariantHash& q = r[0];
    QCOMPARE(q.value(QStringLiteral("test")).toInt(), 0);
    QCOMPARE(q.value(QStringLiteral("num")).toInt(), 1);
    QCOMPARE(q.value(QStringLiteral("nt")).toString(), QStringLiteral("no"));
    QCOMPARE(q.value(QStringLiteral("typequest")).toInt(), 0);
    QCOMPARE(q.value(QStringLiteral("condition")).toString(),
             QStringLiteral("Изберете верния отговор."));
    QCOMPARE(q.value(QStringLiteral("quest")).toString(),
             QStringLiteral("Коя дума е съществително?"));
    QCOMPARE(q.value(QStringLiteral("ansa")).toString(), QStringLiteral("бързо"));
    QCOMPARE(q.value(QStringLiteral("ansc")).toString(), QStringLiteral("маса"));
    QCOMPARE(q.value(QStringLiteral("ansd")).toString(), QStringLiteral("зелен"));
    QCOMPARE(q.value(QStringLiteral("trueans")).toString(), QString(QChar(0x0412)));
    QCOMPARE(q.value(QStringLiteral("scores")).toInt(), 2);
    QCOMPARE(q.value(QStringLiteral("fullans")).toString(),
             QStringLiteral("„Маса“ назовава предмет."));
    QFile jpeg(content() + QStringLiteral("/pictures/a.jpg"));
    QVERIFY(jpeg.open(QIODevice::ReadOnly));
    QCOMPARE(q.value(QStringLiteral("picture")).toByteArray(), jpeg.readAll());
    QCOMPARE(q.value(QStringLiteral("terms")).toString(), QString());
    QVERIFY(!q.value(QStringLiteral("terms")).isNull());

    QCOMPARE(r[1].value(QStringLiteral("test")).toInt(), 1);
    QCOMPARE(r[1].value(QStringLiteral("num")).toInt(), 2);
    QCOMPARE(r[1].value(QStringLiteral("trueans")).toString(), QString(QChar(0x0411)));
    QVERIFY(r[1].value(QStringLiteral("picture")).isNull());
    QCOMPARE(r[1].value(QStringLiteral("fullans")).toString(), QString());
    QVERIFY(!QImage::fromData(r[2].value(QStringLiteral("picture")).toByteArray()).isNull());
    // A larger one is scaled down to what the session shows, as JPEG.
    const QByteArray big = r[3].value(QStringLiteral("picture")).toByteArray();
    QVERIFY(big.startsWith("\xff\xd8"));
    QCOMPARE(QImage::fromData(big).size(), QSize(1024, 512));
}

void TestBank::topicsRows() {
    // Six questions, none like another: a repeat would be warned of.
    auto choice = [](const char* question) {
        return QByteArray(kChoice).replace("Кое?", question);
    };
    put(QStringLiteral("banks/bel5.yaml"), bankFile(kChoice + choice("Кое е 2?"), "bel5_a") +
                                               "  - section: второ\n    table: bel5_b\n"
                                               "    questions:\n" +
                                               choice("Кое е 3?") + choice("Кое е 4?"));
    put(QStringLiteral("banks/mat7.yaml"),
        bankFile(choice("Кое е 5?") + choice("Кое е 6?"), "mat7", 7)
            .replace("български език", "математика"));
    const bank::Report report = bank::build(content(), program());
    QVERIFY2(report.issues.isEmpty(), qPrintable(allText(report.issues)));
    QCOMPARE(report.sources, 2);
    QCOMPARE(report.sections, 3);
    QCOMPARE(report.questions, 6);

    QStringList got;
    for (const QVariantHash& r : rows(DbFile::Topics, QStringLiteral("select * from topics")))
        got.append(QStringLiteral("%1|%2|%3|%4")
                       .arg(r.value(QStringLiteral("class")).toInt())
                       .arg(r.value(QStringLiteral("object")).toString(),
                            r.value(QStringLiteral("section")).toString(),
                            r.value(QStringLiteral("table")).toString()));
    QCOMPARE(got, QStringList({QStringLiteral("5|български език|раздел|bel5_a"),
                               QStringLiteral("5|български език|второ|bel5_b"),
                               QStringLiteral("7|математика|раздел|mat7")}));
    QCOMPARE(tablesOf(DbFile::Class, 5),
             QStringList({QStringLiteral("bel5_a"), QStringLiteral("bel5_b")}));
    QCOMPARE(tablesOf(DbFile::Class, 7), QStringList{QStringLiteral("mat7")});
    // Class 1 is always there, even without content, for the start-up check.
    QCOMPARE(tablesOf(DbFile::Class, 1), QStringList());
    for (const char* f : {"data/ctemp.mdb", "data/temp.mdb", "data/m_thms.mdb", "data/students.mdb",
                          "dict/dict.mdb"})
        QVERIFY2(QFileInfo(QDir(program()).filePath(QLatin1String(f))).size() > 0, f);
}

void TestBank::secondBuildReplacesTables() {
    put(QStringLiteral("banks/a.yaml"), bankFile(kChoice + kChoice + kChoice, "old_t"));
    QVERIFY(!bank::build(content(), program()).hasFault());
    QCOMPARE(rows(DbFile::Class, QStringLiteral("select * from old_t"), 5).size(), 3);

    put(QStringLiteral("banks/a.yaml"), bankFile(kChoice + kChoice, "new_t"));
    const bank::Report report = bank::build(content(), program());
    QVERIFY2(!report.hasFault(), qPrintable(allText(report.issues)));
    QCOMPARE(tablesOf(DbFile::Class, 5), QStringList{QStringLiteral("new_t")});
    QCOMPARE(rows(DbFile::Class, QStringLiteral("select * from new_t"), 5).size(), 2);
    const auto topics = rows(DbFile::Topics, QStringLiteral("select * from topics"));
    QCOMPARE(topics.size(), 1);
    QCOMPARE(topics[0].value(QStringLiteral("table")).toString(), QStringLiteral("new_t"));
    for (const QString& f : QDir(program() + QStringLiteral("/data")).entryList(QDir::Files))
        QVERIFY2(f.endsWith(QLatin1String(".mdb")), qPrintable(f));
}

// Rows go in as a source is read: a fault in its last question takes back
// those of its earlier sections and still names its line. A picture two
// questions name is read once and stored with both.
void TestBank::lateFaultTakesRowsBack() {
    const QByteArray pictured = kChoice + "        picture: pictures/a.jpg\n";
    put(QStringLiteral("banks/a.yaml"), bankFile(pictured + pictured, "kept_t"));
    put(QStringLiteral("banks/b.yaml"),
        bankFile(kChoice + kChoice, "first_t") +
            "  - section: второ\n    table: second_t\n    questions:\n" + kChoice +
            QByteArray(kChoice).replace("right: Б", "right: Д"));
    const bank::Report report = bank::build(content(), program());
    const Issue* issue = findIssue(report.issues, true, QStringLiteral("верният отговор"));
    QVERIFY2(issue, qPrintable(allText(report.issues)));
    QVERIFY2(issue->text().startsWith(QStringLiteral("banks/b.yaml:32: ")),
             qPrintable(issue->text()));
    QCOMPARE(tablesOf(DbFile::Class, 5), QStringList{QStringLiteral("kept_t")});
    const auto kept = rows(DbFile::Class, QStringLiteral("select Picture from kept_t"), 5);
    QCOMPARE(kept.size(), 2);
    QVERIFY(!kept[0].value(QStringLiteral("picture")).toByteArray().isEmpty());
    QCOMPARE(kept[0].value(QStringLiteral("picture")), kept[1].value(QStringLiteral("picture")));
}

// A file that cannot be written leaves the one in place whole.
void TestBank::failedWriteKeepsOldFile() {
    put(QStringLiteral("banks/a.yaml"), bankFile(kChoice + kChoice, "old_t"));
    QVERIFY(!bank::build(content(), program()).hasFault());
    const QString blocker = programPath(program(), QStringLiteral("\\data\\class5.mdb.new"));
    QVERIFY(QDir().mkpath(blocker + QStringLiteral("/x")));

    put(QStringLiteral("banks/a.yaml"), bankFile(kChoice + kChoice, "new_t"));
    const bank::Report report = bank::build(content(), program());
    QVERIFY(report.hasFault());
    QVERIFY2(findIssue(report.issues, true, QStringLiteral("не може да бъде записана")),
             qPrintable(allText(report.issues)));
    QCOMPARE(tablesOf(DbFile::Class, 5), QStringList{QStringLiteral("old_t")});
    QCOMPARE(rows(DbFile::Class, QStringLiteral("select * from old_t"), 5).size(), 2);
    // The topics never name a table that is not there.
    QCOMPARE(rows(DbFile::Topics, QStringLiteral("select * from topics")).size(), 0);
}

void TestBank::studentRecordsKept() {
    QVERIFY(!bank::build(content(), program()).hasFault());
    {
        Query q;
        q.setConnectionString(connectionString(program(), DbFile::Students));
        q.setSql({QStringLiteral("select * from student")});
        q.open();
        q.append();
        q.setValue(QStringLiteral("Name"), QStringLiteral("Иван Петров"));
        q.setValue(QStringLiteral("Class"), QStringLiteral("5"));
        q.setValue(QStringLiteral("Val"), QStringLiteral("5.500"));
        q.post();
    }
    QVERIFY(!bank::build(content(), program()).hasFault());
    const auto r = rows(DbFile::Students, QStringLiteral("select * from student"));
    QCOMPARE(r.size(), 1);
    QCOMPARE(r[0].value(QStringLiteral("name")).toString(), QStringLiteral("Иван Петров"));
}

void TestBank::studentsFileKeptUnlessProvenEmpty_data() {
    QTest::addColumn<int>("kind");
    QTest::addColumn<bool>("replaced");
    QTest::addColumn<QString>("warning");
    QTest::newRow("empty file") << 0 << true << QString();
    QTest::newRow("database without tables") << 1 << true << QString();
    QTest::newRow("not a database") << 2 << false << "оставен е както е";
    QTest::newRow("other password") << 3 << false << "оставен е както е";
    QTest::newRow("records in another table") << 4 << false << QString();
}

void TestBank::studentsFileKeptUnlessProvenEmpty() {
    QFETCH(int, kind);
    QFETCH(bool, replaced);
    QFETCH(QString, warning);
    const QString path = programPath(program(), dbRelativePath(DbFile::Students));
    QVERIFY(QDir().mkpath(QFileInfo(path).path()));
    if (kind == 0 || kind == 2) {
        QFile f(path);
        QVERIFY(f.open(QIODevice::WriteOnly));
        f.write(kind == 2 ? QByteArray("Иван;5;А;12\n").repeated(100) : QByteArray());
    } else {
        auto c = Connection::create(path, kind == 3 ? QStringLiteral("other") : studentsPassword());
        c->execRaw(kind == 1 ? QStringLiteral("pragma user_version=0")
                             : QStringLiteral("create table old (x text); insert into old values "
                                              "('запис')"));
    }
    QFile before(path);
    QVERIFY(before.open(QIODevice::ReadOnly));
    const QByteArray bytes = before.readAll();
    before.close();

    const bank::Report report = bank::build(content(), program());
    QVERIFY2(!report.hasFault(), qPrintable(allText(report.issues)));
    if (replaced) {
        QCOMPARE(rows(DbFile::Students, QStringLiteral("select * from student")).size(), 0);
    } else {
        QFile after(path);
        QVERIFY(after.open(QIODevice::ReadOnly));
        QCOMPARE(after.readAll(), bytes);
    }
    if (!warning.isEmpty())
        QVERIFY2(findIssue(report.issues, false, warning), qPrintable(allText(report.issues)));
}

void TestBank::dictionaryWithoutPassword() {
    put(QStringLiteral("dict/en.yaml"), "lang: английски – български\n"
                                        "table: en_bg\n"
                                        "words:\n"
                                        "  - [apple, ябълка]\n"
                                        "  - [pear, круша]\n");
    put(QStringLiteral("dict/bad.yaml"), "lang: немски\ntable: dicts\nwords: []\n");
    const bank::Report report = bank::build(content(), program());
    QVERIFY(findIssue(report.issues, true, QStringLiteral("„dicts“ е заето")));
    QCOMPARE(report.dictionaries, 1);

    const QString dict = connectionString(program(), DbFile::Dict);
    QVERIFY(!dict.contains(QStringLiteral("Password")));
    const auto list = readRows(dict, QStringLiteral("select * from dicts"));
    QCOMPARE(list.size(), 1);
    QCOMPARE(list[0].value(QStringLiteral("lang")).toString(),
             QStringLiteral("английски – български"));
    QCOMPARE(list[0].value(QStringLiteral("table")).toString(), QStringLiteral("en_bg"));
    const auto words = readRows(dict, QStringLiteral("select * from ") + quoteName("en_bg"));
    QCOMPARE(words.size(), 2);
    QCOMPARE(words[1].value(QStringLiteral("word")).toString(), QStringLiteral("pear"));
    QCOMPARE(words[1].value(QStringLiteral("trans")).toString(), QStringLiteral("круша"));
}

void TestBank::protectedFiles_data() {
    QTest::addColumn<QString>("file");
    QTest::addColumn<QString>("password");
    QTest::addColumn<QString>("table");
    QString class5;
    prse(5, class5);
    QString class1;
    prse(1, class1);
    QTest::newRow("topics") << "data/topics.mdb" << topicsPassword() << "topics";
    QTest::newRow("students") << "data/students.mdb" << studentsPassword() << "student";
    QTest::newRow("class 5") << "data/class5.mdb" << class5 << "bad_t";
    QTest::newRow("class 1") << "data/class1.mdb" << class1 << "";
    QTest::newRow("scratch template") << "data/ctemp.mdb" << scratchPassword() << "temp4";
    QTest::newRow("scratch") << "data/temp.mdb" << scratchPassword() << "sltable";
    QTest::newRow("m_thms, no password") << "data/m_thms.mdb" << QString() << "";
}

void TestBank::protectedFiles() {
    QFETCH(QString, file);
    QFETCH(QString, password);
    QFETCH(QString, table);
    put(QStringLiteral("banks/a.yaml"), bankFile(kChoice + kChoice));
    QVERIFY(!bank::build(content(), program()).hasFault());
    const QString path = QDir(program()).filePath(file);

    const auto names =
        readRows(cs(path, password), QStringLiteral("select name from sqlite_master"));
    if (!table.isEmpty()) {
        bool found = false;
        for (const QVariantHash& r : names)
            found = found || r.value(QStringLiteral("name")).toString() == table;
        QVERIFY(found);
    }
    if (password.isEmpty())
        return;
    QVERIFY_THROWS_EXCEPTION(StoreError, Connection(cs(path, QString())).open());
    QVERIFY_THROWS_EXCEPTION(StoreError, Connection(cs(path, password + "x")).open());
}

void TestBank::commandLine_data() {
    QTest::addColumn<QStringList>("args");
    QTest::addColumn<QByteArray>("yaml");
    QTest::addColumn<int>("code");
    QTest::addColumn<bool>("written");
    QTest::addColumn<QString>("printed");

    const QByteArray good = bankFile(kChoice + kChoice);
    QTest::newRow("no arguments") << QStringList() << good << 2 << false << "Употреба";
    QTest::newRow("one folder") << QStringList{"C"} << good << 2 << false << "Употреба";
    QTest::newRow("unknown option")
        << QStringList{"--force", "C", "P"} << good << 2 << false << "„--force“";
    QTest::newRow("no content folder")
        << QStringList{"C/none", "P"} << good << 2 << false << "не съществува";
    QTest::newRow("good") << QStringList{"C", "P"} << good << 0 << true << "";
    QTest::newRow("warning") << QStringList{"C", "P"} << bankFile(kChoice) << 0 << true
                             << "w.yaml:4: предупреждение: раздел „раздел“: разделът има 1";
    QTest::newRow("fault") << QStringList{"C", "P"}
                           << withQuestion(QByteArray(kChoice).replace("right: Б", "right: A")) << 1
                           << true << "w.yaml:17: грешка: раздел „раздел“, въпрос 2: ";
    QTest::newRow("check") << QStringList{"--check", "C", "P"} << good << 0 << false << "";
    QTest::newRow("check without program folder")
        << QStringList{"--check", "C"} << good << 0 << false << "";
    QTest::newRow("check with fault")
        << QStringList{"--check", "C", "P"} << withQuestion("      - kind: x\n") << 1 << false
        << "непознат вид";
}

void TestBank::commandLine() {
    QFETCH(QStringList, args);
    QFETCH(QByteArray, yaml);
    QFETCH(int, code);
    QFETCH(bool, written);
    QFETCH(QString, printed);
    put(QStringLiteral("banks/w.yaml"), yaml);
    for (QString& a : args) {
        if (a.startsWith(QLatin1Char('C')))
            a = content() + a.mid(1);
        else if (a == QLatin1String("P"))
            a = program();
    }
    QString out, err;
    QTextStream outStream(&out), errStream(&err);
    QCOMPARE(bank::run(args, outStream, errStream), code);
    QVERIFY2(err.contains(printed), qPrintable(err));
    QCOMPARE(QFileInfo::exists(QDir(program()).filePath(QStringLiteral("data/topics.mdb"))),
             written);
}

// Every shipped bank, written out as kivor-bank writes a source and read
// again, gives the same questions.
void TestBank::shippedBanksReadBack_data() {
    QTest::addColumn<QString>("file");
    const QDir banks(QStringLiteral(KIVOR_SOURCE_DIR "/content/banks"));
    for (const QString& name : banks.entryList({QStringLiteral("*.yaml")}, QDir::Files))
        QTest::newRow(qPrintable(name)) << QStringLiteral("banks/") + name;
}

void TestBank::shippedBanksReadBack() {
    QFETCH(QString, file);
    const QString shipped = QStringLiteral(KIVOR_SOURCE_DIR "/content");
    QList<Issue> issues;
    bank::Source first = bank::parseSource(shipped, file, &issues);
    put(QStringLiteral("again.yaml"), bank::sourceYaml(first));
    // Read from beside the shipped pictures, which it names.
    const QString again = QDir(shipped).relativeFilePath(content() + QStringLiteral("/again.yaml"));
    bank::Source second = bank::parseSource(shipped, again, &issues);
    QVERIFY2(!bank::hasFault(issues), qPrintable(allText(issues)));
    QCOMPARE(second.classNo, first.classNo);
    QCOMPARE(second.subject, first.subject);
    QCOMPARE(second.sections.size(), first.sections.size());
    for (int s = 0; s < first.sections.size(); ++s) {
        QCOMPARE(second.sections[s].name, first.sections[s].name);
        QCOMPARE(second.sections[s].table, first.sections[s].table);
        QCOMPARE(second.sections[s].questions.size(), first.sections[s].questions.size());
        for (int q = 0; q < first.sections[s].questions.size(); ++q) {
            // Where a question stands is no part of it.
            second.sections[s].questions[q].line = first.sections[s].questions[q].line;
            QVERIFY2(second.sections[s].questions[q] == first.sections[s].questions[q],
                     qPrintable(QStringLiteral("%1, question %2").arg(s + 1).arg(q + 1)));
        }
    }
}

QTEST_MAIN(TestBank)

#include "tst_bank.moc"
