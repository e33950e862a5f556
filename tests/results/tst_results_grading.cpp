#include "results/grading.h"
#include "results/printout.h"

#include <QFontMetrics>
#include <QLocale>
#include <QTest>
#include <QTextBlock>
#include <QTextDocument>

namespace {

const QLocale kPoint(QLocale::C);
const QLocale kComma(QLocale::Bulgarian, QLocale::Bulgaria);

} // namespace

class TstGrading : public QObject {
    Q_OBJECT

private slots:
    void gradeOfRun_data();
    void gradeOfRun();
    void recordOfRun_data();
    void recordOfRun();
    void printoutLine_data();
    void printoutLine();
    void printoutMarksOnlyTheGradeRed();
    void printoutDocument();
};

void TstGrading::gradeOfRun_data() {
    QTest::addColumn<int>("total");
    QTest::addColumn<int>("score");
    QTest::addColumn<QString>("shown");  // C locale
    QTest::addColumn<QString>("stored"); // C locale
    QTest::addColumn<QString>("shownComma");
    QTest::addColumn<QString>("storedComma");

    QTest::newRow("12 questions of 2 points, 17 earned") << 24 << 17 << "4.83"
                                                         << "4.833"
                                                         << "4,83"
                                                         << "4,833";
    QTest::newRow("all right") << 24 << 24 << "6.00"
                               << "6.000"
                               << "6,00"
                               << "6,000";
    QTest::newRow("half") << 10 << 5 << "4.00"
                          << "4.000"
                          << "4,00"
                          << "4,000";
    QTest::newRow("one question of 3, 1 earned") << 3 << 1 << "3.33"
                                                 << "3.333"
                                                 << "3,33"
                                                 << "3,333";
    QTest::newRow("two of three rounds up") << 3 << 2 << "4.67"
                                            << "4.667"
                                            << "4,67"
                                            << "4,667";
    QTest::newRow("one of seven") << 7 << 1 << "2.57"
                                  << "2.571"
                                  << "2,57"
                                  << "2,571";
    QTest::newRow("nothing earned") << 24 << 0 << "2.00"
                                    << "2.000"
                                    << "2,00"
                                    << "2,000";
    QTest::newRow("no points in the run") << 0 << 0 << "2.00"
                                          << "2.000"
                                          << "2,00"
                                          << "2,000";
    QTest::newRow("points earned in a run without points") << 0 << 3 << "2.00"
                                                           << "2.000"
                                                           << "2,00"
                                                           << "2,000";
    QTest::newRow("more earned than the total is capped") << 10 << 13 << "6.00"
                                                          << "6.000"
                                                          << "6,00"
                                                          << "6,000";
    QTest::newRow("below nothing stays at the floor") << 10 << -4 << "2.00"
                                                      << "2.000"
                                                      << "2,00"
                                                      << "2,000";
    QTest::newRow("large run") << 2000000 << 1999999 << "6.00"
                               << "6.000"
                               << "6,00"
                               << "6,000";
}

void TstGrading::gradeOfRun() {
    QFETCH(int, total);
    QFETCH(int, score);
    QFETCH(QString, shown);
    QFETCH(QString, stored);
    QFETCH(QString, shownComma);
    QFETCH(QString, storedComma);

    const double g = grade(total, score);
    QVERIFY(g >= 2.0 && g <= 6.0);
    QCOMPARE(gradeText(g, kPoint), QStringLiteral("оценка: ") + shown);
    QCOMPARE(gradeText(g, kComma), QStringLiteral("оценка: ") + shownComma);
    QCOMPARE(pupilRecord(RunInputs{}, g, QDate(2024, 5, 20), kPoint).Val, stored);
    QCOMPARE(pupilRecord(RunInputs{}, g, QDate(2024, 5, 20), kComma).Val, storedComma);
    QCOMPARE(totalPointsText(total), QStringLiteral("общо точки: ") + QString::number(total));
    QCOMPARE(scoreText(score), QStringLiteral("получени точки: ") + QString::number(score));
}

void TstGrading::recordOfRun_data() {
    QTest::addColumn<QString>("classText");
    QTest::addColumn<QString>("divisionText");
    QTest::addColumn<int>("divisionPosition");
    QTest::addColumn<int>("number");
    QTest::addColumn<QString>("cldv");

    QTest::newRow("5 А") << "5"
                         << "А" << 1 << 12 << "5 А";
    QTest::newRow("13 Я") << "13"
                          << "Я" << 30 << 99 << "13 Я";
    QTest::newRow("letter typed by hand") << "7"
                                          << "Q" << 0 << 1 << "7 Q";
}

void TstGrading::recordOfRun() {
    QFETCH(QString, classText);
    QFETCH(QString, divisionText);
    QFETCH(int, divisionPosition);
    QFETCH(int, number);
    QFETCH(QString, cldv);

    RunInputs run;
    run.score = 17;
    run.fullName = QStringLiteral("Иван Петров Иванов");
    run.numberInClass = number;
    run.classText = classText;
    run.divisionText = divisionText;
    run.divisionPosition = divisionPosition;
    run.subject = QStringLiteral("математика");
    run.section = QStringLiteral("дроби");

    const PupilRecord r = pupilRecord(run, grade(24, 17), QDate(2024, 5, 20), kComma);
    QCOMPARE(r.Name, run.fullName);
    QCOMPARE(r.NumOfClass, number);
    QCOMPARE(r.Val, QStringLiteral("4,833"));
    QCOMPARE(r.Object, run.subject);
    QCOMPARE(r.DT, QDate(2024, 5, 20));
    QCOMPARE(r.Theme, run.section);
    QCOMPARE(r.Class, classText);
    QCOMPARE(r.Division, divisionPosition);
    QCOMPARE(classAndDivision(classText, divisionText), cldv);
}

namespace {

PrintoutTexts sampleTexts() {
    PrintoutTexts t;
    t.name1 = QStringLiteral("Иван Петров Иванов");
    t.cldv1 = QStringLiteral("5 А");
    t.clofn1 = QStringLiteral("12");
    t.object1 = QStringLiteral("математика");
    t.theme1 = QStringLiteral("дроби");
    t.gs1 = QStringLiteral("общо точки: 24");
    t.sc1 = QStringLiteral("получени точки: 17");
    t.val1 = QStringLiteral("оценка: 4,83");
    t.timeLimit = QStringLiteral("0:40:0");
    t.elapsed = QStringLiteral("0:12:5");
    return t;
}

} // namespace

// The sample's page as it must print.
QStringList expectedLines() {
    return {
        "    Резултати на Иван Петров Иванов от 5 А клас",
        "    номер в клас: 12",
        "",
        "    предмет: математика",
        "    раздел: дроби",
        "",
        "    общо точки: 24",
        "    получени точки: 17",
        "    ",
        "    оценка: 4,83",
        "",
        "  --------------------------------------------------------------",
        "",
        "    общо време: 0:40:0",
        "    време, за което ученикът е решил теста",
        "    0:12:5",
    };
}

void TstGrading::printoutLine_data() {
    QTest::addColumn<int>("line"); // counted from 1
    QTest::addColumn<QString>("text");

    const QStringList expected = expectedLines();
    for (int i = 0; i < expected.size(); ++i)
        QTest::addRow("line %d", i + 1) << i + 1 << expected[i];
}

void TstGrading::printoutLine() {
    QFETCH(int, line);
    QFETCH(QString, text);
    const QList<PrintLine> lines = printoutLines(sampleTexts());
    QCOMPARE(lines.size(), 16);
    QCOMPARE(lines[line - 1].text, text);
}

void TstGrading::printoutMarksOnlyTheGradeRed() {
    const QList<PrintLine> lines = printoutLines(sampleTexts());
    for (int i = 0; i < lines.size(); ++i) {
        const bool red = i == 9 || i == 10;
        QCOMPARE(lines[i].colour, red ? QColor(255, 0, 0) : QColor(0, 0, 0));
    }
    QCOMPARE(lines[11].text.count(QLatin1Char('-')), 62);
    // An untimed run leaves the time used empty, and the line is still there.
    PrintoutTexts untimed = sampleTexts();
    untimed.elapsed.clear();
    QCOMPARE(printoutLines(untimed).last().text, QStringLiteral("    "));
}

void TstGrading::printoutDocument() {
    QTextDocument doc;
    // Each printout starts from nothing: what was there before is gone.
    doc.setPlainText(QStringLiteral("прежен текст\nвтори ред"));
    fillPrintout(doc, printoutLines(sampleTexts()));
    fillPrintout(doc, printoutLines(sampleTexts()));

    const QStringList expected = expectedLines();
    QCOMPARE(doc.blockCount(), expected.size());
    QTextBlock block = doc.begin();
    for (int i = 0; i < expected.size(); ++i, block = block.next()) {
        QCOMPARE(block.text(), expected[i]);
        const QColor colour = (i == 9 || i == 10) ? QColor(255, 0, 0) : QColor(0, 0, 0);
        // An empty line keeps its colour in the paragraph.
        QCOMPARE(block.charFormat().foreground().color(), colour);
        for (auto it = block.begin(); !it.atEnd(); ++it) {
            QCOMPARE(it.fragment().charFormat().foreground().color(), colour);
            QCOMPARE(it.fragment().charFormat().font().pointSize(), 14);
        }
    }
    // The Arial of the printout has to be a font with the Cyrillic letters.
    QVERIFY(QFontMetrics(printoutFont()).inFont(QChar(0x0416)));
}

QTEST_MAIN(TstGrading)
#include "tst_results_grading.moc"
