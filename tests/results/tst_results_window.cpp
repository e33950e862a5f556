#include "results/valform.h"

#include "app/globals.h"
#include "app/mainform.h"
#include "kit/messages.h"
#include "results/printout.h"
#include "results/runsource.h"
#include "session/testform.h"
#include "settings/settingsform.h"
#include "settings/spinfield.h"
#include "setup/objectform.h"
#include "setup/regtestform.h"
#include "store/connection.h"
#include "store/datamodule.h"
#include "store/schema.h"
#include "support/application.h"

#include <QApplication>
#include <QComboBox>
#include <QFile>
#include <QLabel>
#include <QLocale>
#include <QPrinter>
#include <QProcess>
#include <QPushButton>
#include <QRegularExpression>
#include <QScopeGuard>
#include <QStandardPaths>
#include <QTest>
#include <QTextBlock>
#include <QTextDocument>
#include <QTextEdit>
#include <QTimer>
#include <memory>

namespace {

// The run as the other windows would hand it over.
class FakeRun : public RunSource {
public:
    RunInputs run;
    QString limit;
    QString elapsed;
    int clocksStopped = 0;

    RunInputs inputs() override { return run; }
    void stopClocks() override { ++clocksStopped; }
    QString timeLimitText() override { return limit; }
    QString elapsedText() override { return elapsed; }
};

QString withSystemSeparator(QString number) {
    return number.replace(QLatin1Char('.'), QLocale::system().decimalPoint());
}

QString today() {
    return QDate::currentDate().toString(Qt::ISODate);
}

} // namespace

class TstValForm : public QObject {
    Q_OBJECT

private slots:
    void initTestCase();
    void init();
    void cleanup();
    void cleanupTestCase();

    void recordReadBack_data();
    void recordReadBack();
    void everyShowingAppendsARow();
    void showingHandsBackToTheMainWindow();
    void closingHandsBackAndDeletesLan();
    void storeFailureKeepsTheResult_data();
    void storeFailureKeepsTheResult();
    void printDialogOutcome_data();
    void printDialogOutcome();
    void printsToPdf();
    void readsTheRealWindows();
    void freshWindowHasItsHeight();

private:
    void startProgram();
    QString pupilDatabase() const {
        return m_program->folder.file(QStringLiteral("\\data\\students.mdb"));
    }
    void replacePupilDatabase(const QByteArray& bytes);
    void damagePupilDatabase(const QString& how);
    void prepareRun(const QList<int>& scores);
    void setPupil(const QString& name, const QString& classText, const QString& division,
                  int position, int number);
    fixture::Rows records() const {
        return m_program->folder.readTable(DbFile::Students, QStringLiteral("student"));
    }

    fixture::MessageLog m_log;
    std::unique_ptr<fixture::RunningProgram> m_program;
    QByteArray m_pristinePupils;
    FakeRun m_run;
    // What the print dialog does in a test: point the printer at this file
    // and confirm, or cancel.
    QString m_printTo;
    bool m_confirmPrint = false;
    int m_dialogsShown = 0;
};

void TstValForm::initTestCase() {
    setPrintDialogHook([this](QPrinter& printer) {
        ++m_dialogsShown;
        printer.setOutputFormat(QPrinter::PdfFormat);
        printer.setOutputFileName(m_printTo);
        return m_confirmPrint;
    });
    setRunSource(&m_run);
    startProgram();
    QFile pupils(pupilDatabase());
    QVERIFY(pupils.open(QIODevice::ReadOnly));
    m_pristinePupils = pupils.readAll();
}

void TstValForm::startProgram() {
    m_program.reset();
    // Blanks and Cyrillic in the program folder's path.
    m_program = std::make_unique<fixture::RunningProgram>(
        fixture::ProgramOptions{.folderName = QStringLiteral("Програма Кивор")});
}

void TstValForm::init() {
    ValForm->hide();
    m_log.clear();
    m_confirmPrint = false;
    m_dialogsShown = 0;
    m_printTo = m_program->folder.file(QStringLiteral("\\result.pdf"));
    QFile::remove(m_printTo);
    replacePupilDatabase(m_pristinePupils);
    m_run = FakeRun();
    m_run.limit = QStringLiteral("0:40:0");
    m_run.elapsed = QStringLiteral("0:12:5");
    setPupil(QStringLiteral("Иван Петров Иванов"), QStringLiteral("5"), QStringLiteral("А"), 1, 12);
    m_run.run.subject = QStringLiteral("математика");
    m_run.run.section = QStringLiteral("обикновени дроби и действия с тях");
    MainForm->hide();
    MainForm->setEnabled(false);
}

void TstValForm::cleanup() {
    ValForm->hide();
    while (QApplication::overrideCursor())
        QApplication::restoreOverrideCursor();
}

void TstValForm::cleanupTestCase() {
    setRunSource(nullptr);
    setPrintDialogHook({});
    m_program.reset();
}

void TstValForm::replacePupilDatabase(const QByteArray& bytes) {
    // Nothing may go on writing into the file that is taken away.
    Connection::closeAllOn(pupilDatabase());
    QFile::remove(pupilDatabase());
    QFile::remove(pupilDatabase() + QStringLiteral("-journal"));
    if (bytes.isNull())
        return;
    QFile f(pupilDatabase());
    QVERIFY(f.open(QIODevice::WriteOnly));
    QCOMPARE(f.write(bytes), bytes.size());
}

void TstValForm::damagePupilDatabase(const QString& how) {
    const QString path = pupilDatabase();
    if (how == "not a database") {
        replacePupilDatabase(QByteArray("Това не е база данни.\n").repeated(200));
    } else if (how == "file missing") {
        replacePupilDatabase(QByteArray());
    } else {
        replacePupilDatabase(QByteArray());
        const bool wrongPassword = how == "wrong password";
        auto c = Connection::create(path, wrongPassword ? QStringLiteral("abcdefghij0123456789")
                                                        : studentsPassword());
        c->execRaw(QStringLiteral("pragma user_version = 1"));
        if (wrongPassword)
            schema::create(*c, schema::student());
        else if (how == "row refused")
            c->execRaw(QStringLiteral("create table student (Name text, Class text, "
                                      "Division integer, NumOfClass integer, DT text, "
                                      "Object text, Theme text, Val text check (Val = 'x'))"));
        else
            QCOMPARE(how, QStringLiteral("no pupil table"));
    }
}

void TstValForm::prepareRun(const QList<int>& scores) {
    Query& temp = DataModule2->Temp;
    temp.close();
    m_program->folder.exec(DbFile::Scratch, QStringLiteral("delete from temp4"));
    for (int i = 0; i < scores.size(); ++i)
        m_program->folder.insert(DbFile::Scratch, QStringLiteral("temp4"),
                                 {{QStringLiteral("id"), i + 1},
                                  {QStringLiteral("Scores"), scores[i]},
                                  {QStringLiteral("TypeQuest"), i % 3},
                                  {QStringLiteral("ChTrueAns"), QStringLiteral("no")}});
    // As the session leaves it: the question list open over the shared
    // scratch connection, display off.
    DataModule2->connectScratch();
    temp.setConnection(&DataModule2->ATemp1);
    temp.setSql({QStringLiteral("select * from temp4")});
    temp.open();
    DataModule2->setDisplayEnabled(false);
}

void TstValForm::setPupil(const QString& name, const QString& classText, const QString& division,
                          int position, int number) {
    m_run.run.fullName = name;
    m_run.run.classText = classText;
    m_run.run.divisionText = division;
    m_run.run.divisionPosition = position;
    m_run.run.numberInClass = number;
}

void TstValForm::recordReadBack_data() {
    QTest::addColumn<QList<int>>("scores");
    QTest::addColumn<int>("score");
    QTest::addColumn<QString>("classText");
    QTest::addColumn<QString>("division");
    QTest::addColumn<int>("position");
    QTest::addColumn<int>("number");
    QTest::addColumn<QString>("shown");  // with a point; the window uses the regional one
    QTest::addColumn<QString>("stored"); // likewise

    const QList<int> twelveOfTwo(12, 2);
    QTest::newRow("12 of 2 points, 17 earned, 5 А") << twelveOfTwo << 17 << "5"
                                                    << "А" << 1 << 12 << "4.83"
                                                    << "4.833";
    QTest::newRow("one question of 3, 13 Я") << QList<int>{3} << 1 << "13"
                                             << "Я" << 30 << 99 << "3.33"
                                             << "3.333";
    QTest::newRow("all right") << QList<int>{1, 2, 3} << 6 << "7"
                               << "Б" << 2 << 3 << "6.00"
                               << "6.000";
    QTest::newRow("no points in the run") << QList<int>{0, 0} << 0 << "1"
                                          << "А" << 1 << 1 << "2.00"
                                          << "2.000";
    QTest::newRow("pairs worth more than the question") << QList<int>{2, 1} << 5 << "12"
                                                        << "Г" << 4 << 30 << "6.00"
                                                        << "6.000";
}

void TstValForm::recordReadBack() {
    QFETCH(QList<int>, scores);
    QFETCH(int, score);
    QFETCH(QString, classText);
    QFETCH(QString, division);
    QFETCH(int, position);
    QFETCH(int, number);
    QFETCH(QString, shown);
    QFETCH(QString, stored);

    prepareRun(scores);
    m_run.run.score = score;
    setPupil(QStringLiteral("Мария Георгиева Димитрова"), classText, division, position, number);
    const QString before = today();
    ValForm->show();
    const QString after = today();

    int total = 0;
    for (int s : scores)
        total += s;
    QVERIFY2(m_log.messages().isEmpty(), qPrintable(m_log.messages().value(0).text));
    QCOMPARE(ValForm->TotalPoints, total);
    QCOMPARE(ValForm->gs1->text(), QStringLiteral("общо точки: ") + QString::number(total));
    QCOMPARE(ValForm->sc1->text(), QStringLiteral("получени точки: ") + QString::number(score));
    QCOMPARE(ValForm->val1->text(), QStringLiteral("оценка: ") + withSystemSeparator(shown));
    QCOMPARE(ValForm->name1->text(), m_run.run.fullName);
    QCOMPARE(ValForm->cldv1->text(), classText + ' ' + division);
    QCOMPARE(ValForm->clofn1->text(), QString::number(number));
    QCOMPARE(ValForm->object1->text(), m_run.run.subject);
    QCOMPARE(ValForm->theme1->text(), m_run.run.section);
    QVERIFY(ValForm->recordStored());

    const fixture::Rows rows = records();
    QCOMPARE(rows.size(), 1);
    const fixture::Row& r = rows[0];
    QCOMPARE(r["name"].toString(), m_run.run.fullName);
    QCOMPARE(r["class"].typeId(), QMetaType::QString);
    QCOMPARE(r["class"].toString(), classText);
    QCOMPARE(r["division"].toInt(), position);
    QCOMPARE(r["numofclass"].toInt(), number);
    QCOMPARE(r["object"].toString(), m_run.run.subject);
    QCOMPARE(r["theme"].toString(), m_run.run.section);
    QCOMPARE(r["val"].toString(), withSystemSeparator(stored));
    const QString dt = r["dt"].toString();
    QVERIFY2(dt == before || dt == after, qPrintable(dt));
}

void TstValForm::everyShowingAppendsARow() {
    prepareRun({2, 2});
    m_run.run.score = 4;
    ValForm->show();
    ValForm->hide();

    prepareRun({2, 2});
    m_run.run.score = 1;
    ValForm->show();

    // The next pupil finishes while the results before are still open: the
    // window is already visible, and the new run must still be graded and kept.
    QVERIFY(ValForm->isVisible());
    prepareRun({3, 3});
    m_run.run.score = 3;
    setPupil(QStringLiteral("Петър Стоянов"), QStringLiteral("6"), QStringLiteral("В"), 3, 4);
    ValForm->show();

    QVERIFY(m_log.messages().isEmpty());
    QCOMPARE(m_run.clocksStopped, 3);
    QCOMPARE(ValForm->name1->text(), QStringLiteral("Петър Стоянов"));
    QCOMPARE(ValForm->gs1->text(), QStringLiteral("общо точки: 6"));
    const fixture::Rows rows = records();
    QCOMPARE(rows.size(), 3);
    QCOMPARE(rows[0]["val"].toString(), withSystemSeparator("6.000"));
    QCOMPARE(rows[1]["val"].toString(), withSystemSeparator("3.000"));
    QCOMPARE(rows[2]["val"].toString(), withSystemSeparator("4.000"));
    QCOMPARE(rows[2]["name"].toString(), QStringLiteral("Петър Стоянов"));
}

void TstValForm::showingHandsBackToTheMainWindow() {
    prepareRun({1, 1, 1});
    m_run.run.score = 2;
    QApplication::setOverrideCursor(Qt::WaitCursor);
    ValForm->show();

    QVERIFY(ValForm->isVisible());
    QVERIFY(MainForm->isVisible());
    QVERIFY(MainForm->isEnabled());
    QCOMPARE(m_run.clocksStopped, 1);
    QVERIFY(!DataModule2->ATemp1.isOpen());
    QVERIFY(!QApplication::overrideCursor());
    // The walk over the questions happened with the display off and left it so.
    QVERIFY(!DataModule2->displayEnabled());
    QVERIFY(ValForm->findChild<QLabel*>(QStringLiteral("notStored"))->isHidden());
}

void TstValForm::closingHandsBackAndDeletesLan() {
    prepareRun({1});
    ValForm->show();
    const QString lan = m_program->folder.file(QStringLiteral("\\lan"));
    QFile f(lan);
    QVERIFY(f.open(QIODevice::WriteOnly));
    f.close();
    MainForm->hide();
    MainForm->setEnabled(false);

    QTest::mouseClick(ValForm->CloseBtn, Qt::LeftButton);

    QVERIFY(!ValForm->isVisible());
    QVERIFY(MainForm->isVisible());
    QVERIFY(MainForm->isEnabled());
    QVERIFY(!QFile::exists(lan));
    QCOMPARE(records().size(), 1);
}

void TstValForm::storeFailureKeepsTheResult_data() {
    QTest::addColumn<QString>("how");
    QTest::newRow("not a database") << "not a database";
    QTest::newRow("wrong password") << "wrong password";
    QTest::newRow("no pupil table") << "no pupil table";
    QTest::newRow("row refused") << "row refused";
    QTest::newRow("file missing") << "file missing";
}

void TstValForm::storeFailureKeepsTheResult() {
    QFETCH(QString, how);
    damagePupilDatabase(how);
    prepareRun(QList<int>(12, 2));
    m_run.run.score = 17;
    QApplication::setOverrideCursor(Qt::WaitCursor);
    ValForm->show();

    QCOMPARE(m_log.messages().size(), 1);
    QCOMPARE(m_log.messages()[0].kind, MessageKind::Error);
    QVERIFY(!m_log.messages()[0].text.isEmpty());
    // The result is still on screen to be printed or written down, and the
    // window says that it was not kept.
    QVERIFY(ValForm->isVisible());
    QCOMPARE(ValForm->val1->text(), QStringLiteral("оценка: ") + withSystemSeparator("4.83"));
    QCOMPARE(ValForm->gs1->text(), QStringLiteral("общо точки: 24"));
    QCOMPARE(ValForm->name1->text(), QStringLiteral("Иван Петров Иванов"));
    QCOMPARE(ValForm->cldv1->text(), QStringLiteral("5 А"));
    QVERIFY(!ValForm->recordStored());
    QVERIFY(!ValForm->findChild<QLabel*>(QStringLiteral("notStored"))->isHidden());
    QVERIFY(!DataModule2->ATemp1.isOpen());
    QVERIFY(!QApplication::overrideCursor());
    QVERIFY(!MainForm->isVisible());

    // The result can still be printed.
    m_confirmPrint = true;
    QTest::mouseClick(ValForm->PrintBtn, Qt::LeftButton);
    QVERIFY(QFile::exists(m_printTo));

    ValForm->CloseBtnClick();
    QVERIFY(MainForm->isVisible());
    QVERIFY(MainForm->isEnabled());

    // Once the file is sound again the next run is kept as usual.
    replacePupilDatabase(m_pristinePupils);
    prepareRun({1});
    m_run.run.score = 1;
    ValForm->show();
    QCOMPARE(m_log.messages().size(), 1);
    QVERIFY(ValForm->recordStored());
    QVERIFY(ValForm->findChild<QLabel*>(QStringLiteral("notStored"))->isHidden());
    QCOMPARE(records().size(), 1);
}

void TstValForm::printDialogOutcome_data() {
    QTest::addColumn<bool>("confirm");
    QTest::addColumn<bool>("printerWorks");
    QTest::addColumn<bool>("printed");
    QTest::addColumn<int>("errors");

    QTest::newRow("confirmed") << true << true << true << 0;
    QTest::newRow("cancelled prints nothing") << false << true << false << 0;
    QTest::newRow("printer fails") << true << false << false << 1;
}

void TstValForm::printDialogOutcome() {
    QFETCH(bool, confirm);
    QFETCH(bool, printerWorks);
    QFETCH(bool, printed);
    QFETCH(int, errors);

    prepareRun({2, 2});
    m_run.run.score = 3;
    ValForm->show();
    const QString shown = ValForm->val1->text();
    if (!printerWorks)
        m_printTo = m_program->folder.file(QStringLiteral("\\няма такава папка\\result.pdf"));
    m_confirmPrint = confirm;
    QTest::mouseClick(ValForm->PrintBtn, Qt::LeftButton);

    QCOMPARE(m_dialogsShown, 1);
    QCOMPARE(QFile::exists(m_printTo), printed);
    QCOMPARE(m_log.messages().size(), errors);
    // The printout is made in the hidden text and the window stays as it was.
    QCOMPARE(ValForm->re1->document()->blockCount(), 16);
    QVERIFY(ValForm->re1->isHidden());
    QVERIFY(ValForm->isVisible());
    QCOMPARE(ValForm->val1->text(), shown);
    QCOMPARE(records().size(), 1);
}

void TstValForm::printsToPdf() {
    prepareRun(QList<int>(12, 2));
    m_run.run.score = 17;
    ValForm->show();
    m_confirmPrint = true;
    ValForm->PrintBtnClick();
    QVERIFY(m_log.messages().isEmpty());
    QFile pdf(m_printTo);
    QVERIFY(pdf.open(QIODevice::ReadOnly));
    const QByteArray bytes = pdf.readAll();
    QVERIFY(bytes.startsWith("%PDF"));
    QVERIFY(bytes.contains("/Type /Page\n") || bytes.contains("/Type /Page "));

    const QString pdfinfo = QStandardPaths::findExecutable(QStringLiteral("pdfinfo"));
    const QString pdftotext = QStandardPaths::findExecutable(QStringLiteral("pdftotext"));
    if (pdfinfo.isEmpty() || pdftotext.isEmpty())
        QSKIP("poppler-utils is not installed: the printed text is not checked");
    QProcess info;
    info.start(pdfinfo, {m_printTo});
    QVERIFY(info.waitForFinished());
    const QString meta = QString::fromUtf8(info.readAllStandardOutput());
    QVERIFY2(meta.contains(QRegularExpression(QStringLiteral("Title:\\s+result\\n"))),
             qPrintable(meta));
    QVERIFY2(meta.contains(QRegularExpression(QStringLiteral("Pages:\\s+1\\n"))), qPrintable(meta));
    QProcess text;
    text.start(pdftotext, {m_printTo, QStringLiteral("-")});
    QVERIFY(text.waitForFinished());
    const QString printed = QString::fromUtf8(text.readAllStandardOutput());
    for (const QString& line :
         {QStringLiteral("Резултати на Иван Петров Иванов от 5 А клас"),
          QStringLiteral("оценка: ") + withSystemSeparator("4.83"),
          QStringLiteral("общо време: 0:40:0"),
          QStringLiteral("време, за което ученикът е решил теста"), QStringLiteral("0:12:5")})
        QVERIFY2(printed.contains(line), qPrintable(printed));
}

void TstValForm::readsTheRealWindows() {
    TRegTestForm* reg = RegTestForm;
    TObjectForm* subject = ObjectForm;
    TSettingsForm* settings = SettingsForm;
    TTestForm* session = TestForm;
    setRunSource(nullptr);
    const auto restore = qScopeGuard([this] { setRunSource(&m_run); });

    reg->fullname->setEditText(QStringLiteral("Гергана Николова"));
    reg->Class1->setCurrentIndex(4);
    reg->division->setCurrentIndex(29);
    reg->noc->setValue(7);
    subject->TestSubject = QStringLiteral("история");
    subject->TestSection = QStringLiteral("Античност");
    settings->hour1->setValue(1);
    settings->min1->setValue(5);
    settings->sec1->setValue(30);
    // A timed run ended by "Приключих": its clocks may still be running.
    session->Score = 3;
    session->ElapsedText = QStringLiteral("0:7:41");
    session->Timer1->start();
    session->Timer5->start();
    prepareRun({2, 2});
    ValForm->show();

    QVERIFY(!session->Timer1->isActive());
    QVERIFY(!session->Timer5->isActive());
    QCOMPARE(ValForm->sc1->text(), QStringLiteral("получени точки: 3"));
    QCOMPARE(ValForm->val1->text(), QStringLiteral("оценка: ") + withSystemSeparator("5.00"));

    QCOMPARE(ValForm->name1->text(), QStringLiteral("Гергана Николова"));
    QCOMPARE(ValForm->cldv1->text(), QStringLiteral("5 Я"));
    QCOMPARE(ValForm->clofn1->text(), QStringLiteral("7"));
    QCOMPARE(ValForm->object1->text(), QStringLiteral("история"));
    QCOMPARE(ValForm->theme1->text(), QStringLiteral("Античност"));
    const fixture::Rows rows = records();
    QCOMPARE(rows.size(), 1);
    QCOMPARE(rows[0]["division"].toInt(), 30);
    QCOMPARE(rows[0]["class"].toString(), QStringLiteral("5"));
    QCOMPARE(rows[0]["numofclass"].toInt(), 7);

    ValForm->PrintBtnClick();
    const QTextDocument* doc = ValForm->re1->document();
    QCOMPARE(doc->findBlockByNumber(0).text(),
             QStringLiteral("    Резултати на Гергана Николова от 5 Я клас"));
    QCOMPARE(doc->findBlockByNumber(13).text(), QStringLiteral("    общо време: 1:5:30"));
    QCOMPARE(doc->findBlockByNumber(15).text(), QStringLiteral("    0:7:41"));

    // Everything the window shows is found by its name.
    for (const char* name : {"object1", "theme1", "name1", "cldv1", "clofn1", "gs1", "sc1", "val1",
                             "PrintBtn", "CloseBtn", "re1"})
        QVERIFY2(ValForm->findChild<QWidget*>(QLatin1String(name)), name);
}

void TstValForm::freshWindowHasItsHeight() {
    // Before its first showing no label of the window has had a text: the
    // window of a program just started.
    QTest::failOnWarning(QRegularExpression(QStringLiteral("Negative sizes")));
    startProgram();
    QVERIFY(ValForm->minimumHeight() > 0);
    QCOMPARE(ValForm->maximumHeight(), ValForm->minimumHeight());
}

QTEST_MAIN(TstValForm)
#include "tst_results_window.moc"
