// Whole runs as a pupil makes them: from the main window's "Тест" or
// "Обучение" through registration, the choice of section, the answers and
// "Приключих" (or the clock) to the stored grade or back home.
#include "app/globals.h"
#include "app/mainform.h"
#include "question/question.h"
#include "results/valform.h"
#include "session/eventlabel.h"
#include "session/gapkey.h"
#include "session/sessionrun.h"
#include "session/shuffle.h"
#include "session/testform.h"
#include "session/widgetcolours.h"
#include "settings/settingsform.h"
#include "settings/spinfield.h"
#include "setup/objectform.h"
#include "setup/regtestform.h"
#include "store/datamodule.h"
#include "store/multiline.h"
#include "support/application.h"
#include "support/fixedrandom.h"
#include "support/widgets.h"
#include "tools/bank/bank.h"
#include "tools/moodle/commands.h"

#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QDate>
#include <QDir>
#include <QFile>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QSpinBox>
#include <QStackedWidget>
#include <QTemporaryDir>
#include <QTest>
#include <QTextCursor>
#include <QTextEdit>
#include <QTextStream>
#include <QToolButton>

namespace {

const QString kSubject = QStringLiteral("математика");
const QString kSection = QStringLiteral("дроби");

// Four questions worth 2 points each, in class 5.
void addSection(fixture::ProgramFolder& folder) {
    folder.addTopic(5, kSubject, kSection, QStringLiteral("m5_drobi"));
    const QStringList quests = {
        QStringLiteral("Колко е 1/2 + 1/2?"), QStringLiteral("Коя дроб е най-малка?"),
        QStringLiteral("Колко е 3/4 от 8?"), QStringLiteral("Коя дроб е равна на 0,5?")};
    for (int i = 0; i < quests.size(); ++i)
        folder.addQuestion(
            5, QStringLiteral("m5_drobi"),
            fixture::fourAnswer(quests[i],
                                {QStringLiteral("първи"), QStringLiteral("втори"),
                                 QStringLiteral("трети"), QStringLiteral("четвърти")},
                                i % 4, 2));
}

// The box (1..4) the current question's right answer stands in, and another.
int rightBox() {
    return answerBox(DataModule2->Temp.text(QStringLiteral("TrueAns")).at(0));
}
int wrongBox() {
    return rightBox() % 4 + 1;
}

void clickBox(int box) {
    EventLabel* labels[] = {TestForm->ans1, TestForm->ans2, TestForm->ans3, TestForm->ans4};
    QTest::mouseClick(labels[box - 1], Qt::LeftButton);
}

void chooseSectionAndStart(int count) {
    QVERIFY(ObjectForm->isVisible());
    const int subject = ObjectForm->ob1->findText(kSubject);
    QVERIFY(subject >= 0);
    ObjectForm->ob1->setCurrentIndex(subject);
    QListWidget* sections = ObjectForm->sec1;
    QCOMPARE(sections->count(), 1);
    QTest::mouseClick(sections->viewport(), Qt::LeftButton, {},
                      sections->visualItemRect(sections->item(0)).center());
    ObjectForm->numq1->setValue(count);
    QTest::mouseClick(ObjectForm->GoBtn, Qt::LeftButton);
    QVERIFY(TestForm->isVisible());
    QVERIFY(!MainForm->isVisible());
}

void registerPupil(const QString& name, int classNo = 5) {
    QTest::mouseClick(MainForm->TestBtn, Qt::LeftButton);
    QVERIFY(RegTestForm->isVisible());
    fixture::typeText(RegTestForm->fullname->lineEdit(), name);
    RegTestForm->Class1->setCurrentIndex(classNo - 1);
    RegTestForm->division->setCurrentIndex(2); // "В"
    RegTestForm->noc->setValue(12);
    QTest::mouseClick(RegTestForm->RBtn, Qt::LeftButton);
}

// Two matching questions of 4 and 3 pairs worth 6 points each, in class 5.
void addTermSection(fixture::ProgramFolder& folder) {
    folder.addTopic(5, kSubject, kSection, QStringLiteral("m5_dvoiki"));
    folder.addQuestion(5, QStringLiteral("m5_dvoiki"),
                       fixture::termMatching({"1/2", "1/4", "3/4", "1/5"},
                                             {"0,5", "0,25", "0,75", "0,2"}, {1, 2, 1, 2}));
    folder.addQuestion(5, QStringLiteral("m5_dvoiki"),
                       fixture::termMatching({"числител", "знаменател", "дробна черта"},
                                             {"над чертата", "под чертата", "знак за деление"},
                                             {2, 2, 2}));
}

// For each term row of the question on screen, the meaning row it is joined
// to: the right one, or (for `wrong` rows) the right one of the next row
// wrong too, so that the wrong rows swap their meanings among themselves.
// Returns the points the plan earns.
int planJoins(const fixture::ProgramFolder& folder, const QList<bool>& wrong,
              QList<QPair<int, int>>* joins) {
    const SessionRun& run = TestForm->run();
    const fixture::Rows pairs = folder.rows(DbFile::Scratch, QStringLiteral("select * from temp1"));
    QList<int> right;
    QList<int> points;
    for (int t = 1; t <= run.rowCount(); ++t) {
        for (const fixture::Row& pair : pairs) {
            if (pair.value(QStringLiteral("id")).toInt() != run.questionId() ||
                pair.value(QStringLiteral("ttrue")).toString() != run.termText(t))
                continue;
            for (int m = 1; m <= run.rowCount(); ++m)
                if (run.meaningText(m) == pair.value(QStringLiteral("trtrue")).toString())
                    right.append(m);
            points.append(pair.value(QStringLiteral("scores")).toInt());
        }
    }
    QList<int> wrongRows;
    for (int t = 1; t <= right.size(); ++t)
        if (wrong.value(t - 1))
            wrongRows.append(t);
    int earned = 0;
    for (int t = 1; t <= right.size(); ++t) {
        const qsizetype w = wrongRows.indexOf(t);
        if (w < 0) {
            joins->append({t, right[t - 1]});
            earned += points[t - 1];
        } else {
            joins->append({t, right[wrongRows[(w + 1) % wrongRows.size()] - 1]});
        }
    }
    return earned;
}

// The keyboard focus of the term page to a row of a column.
void keyTo(int row, bool meanings) {
    QWidget* page = TestForm->Panel8;
    QTest::keyClick(page, meanings ? Qt::Key_Right : Qt::Key_Left);
    while (TestForm->keyRow() != row)
        QTest::keyClick(page, TestForm->keyRow() < row ? Qt::Key_Down : Qt::Key_Up);
}

QString number(double grade, int decimals) {
    return QLocale::system().toString(grade, 'f', decimals);
}

// Two gap texts worth 3 and 4 points, in class 5.
void addGapSection(fixture::ProgramFolder& folder) {
    folder.addTopic(5, kSubject, QStringLiteral("думи"), QStringLiteral("m5_dumi"));
    for (const fixture::Question& q :
         {fixture::gapFill(QStringLiteral("Числото [седем] е [нечетно], а [осем] е четно."),
                           {1, 1, 1}),
          fixture::gapFill(QStringLiteral("[Сборът] е резултат от [събиране], а [разликата] – "
                                          "от [изваждане]."),
                           {1, 1, 1, 1})})
        folder.addQuestion(5, QStringLiteral("m5_dumi"), q);
}

QStringList keyWords() {
    return splitLines(DataModule2->Temp.text(QStringLiteral("words")));
}

// The mouse on the gap page: a word of the list, then a press in the middle
// of the first open gap or of a placed word.
void clickWord(const QString& word) {
    QListWidget* list = TestForm->Words1;
    const QList<QListWidgetItem*> items = list->findItems(word, Qt::MatchExactly);
    QCOMPARE(items.size(), 1);
    QTest::mouseClick(list->viewport(), Qt::LeftButton, {},
                      list->visualItemRect(items[0]).center());
}
void clickText(int position) {
    QTextCursor at(TestForm->Text1->document());
    at.setPosition(position);
    QTest::mouseClick(TestForm->Text1->viewport(), Qt::LeftButton, {},
                      TestForm->Text1->cursorRect(at).center());
}
int firstOpenGap() {
    return int(TestForm->Text1->toPlainText().indexOf(kGapMarker));
}

// The keyboard: every key goes to the widget that has the focus.
void key(int k) {
    QWidget* focus = QApplication::focusWidget();
    QVERIFY(focus);
    QTest::keyClick(focus, Qt::Key(k));
}
// From the word list: the word chosen and picked, then on to the text and
// gap `gap` (0-based), where Enter places it; back to the list.
void placeByKeys(const QString& word, int gap) {
    QCOMPARE(QApplication::focusWidget(), TestForm->Words1);
    key(Qt::Key_Home);
    for (int i = 0; i < TestForm->Words1->count(); ++i)
        if (TestForm->Words1->currentItem()->text() != word)
            key(Qt::Key_Down);
    key(Qt::Key_Return);
    key(Qt::Key_Tab);
    QCOMPARE(QApplication::focusWidget(), TestForm->Text1);
    for (int i = 0; i < gap; ++i)
        key(Qt::Key_Right);
    QCOMPARE(TestForm->keyGap(), gap);
    QCOMPARE(TestForm->Text1->extraSelections().size(), 1);
    key(Qt::Key_Return);
    for (int i = 0; i <= gap; ++i)
        key(Qt::Key_Backtab);
}

// A teacher's Moodle export — two four-answer questions, a matching and a
// drag-into-text question — imported as a bank source of `classNo` under
// `folder` and built into `folder`/out, as kivor-bank's commands do it.
bool importMoodleBank(const QString& folder, int classNo) {
    auto choice = [](const QByteArray& text, const QByteArray& right) {
        return "<question type=\"multichoice\"><name><text>" + text +
               "</text></name><questiontext format=\"html\"><text><![CDATA[<p>" + text +
               "</p>]]></text></questiontext><defaultgrade>2</defaultgrade><single>true</single>"
               "<answer fraction=\"100\"><text>" +
               right +
               "</text></answer><answer fraction=\"0\"><text>1</text></answer>"
               "<answer fraction=\"0\"><text>0</text></answer>"
               "<answer fraction=\"-25\"><text>10</text></answer></question>\n";
    };
    const QByteArray xml =
        "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n<quiz>\n" +
        choice("Колко е 25 % от 20?", "5") + choice("Колко е 3 · 4?", "12") +
        "<question type=\"matching\"><name><text>Проценти</text></name><questiontext "
        "format=\"html\"><text><![CDATA[<p>Свържете дробта с процента.</p>]]></text>"
        "</questiontext><defaultgrade>3</defaultgrade>"
        "<subquestion><text>1/2</text><answer><text>50 %</text></answer></subquestion>"
        "<subquestion><text>1/4</text><answer><text>25 %</text></answer></subquestion>"
        "<subquestion><text>1/10</text><answer><text>10 %</text></answer></subquestion>"
        "</question>\n"
        "<question type=\"ddwtos\"><name><text>Дроб</text></name><questiontext "
        "format=\"html\"><text><![CDATA[<p>Числителят е [[1]] чертата, знаменателят – [[2]] "
        "нея.</p>]]></text></questiontext><defaultgrade>2</defaultgrade>"
        "<dragbox><text>над</text><group>1</group></dragbox>"
        "<dragbox><text>под</text><group>1</group></dragbox></question>\n</quiz>\n";
    QFile file(folder + QStringLiteral("/moodle.xml"));
    if (!QDir(folder).mkpath(QStringLiteral("content/banks")) || !file.open(QIODevice::WriteOnly) ||
        file.write(xml) != xml.size())
        return false;
    file.close();
    QString out, err;
    QTextStream outStream(&out), errStream(&err);
    const int code = moodle::importCommand(
        {file.fileName(), QStringLiteral("--class"), QString::number(classNo),
         QStringLiteral("--subject"), kSubject, QStringLiteral("--section"),
         QStringLiteral("проценти"), QStringLiteral("--table"), QStringLiteral("m_moodle"),
         QStringLiteral("-o"), folder + QStringLiteral("/content/banks/moodle.yaml")},
        outStream, errStream);
    errStream.flush();
    if (code != 0) {
        qWarning("%s", qPrintable(err));
        return false;
    }
    return !bank::build(folder + QStringLiteral("/content"), folder + QStringLiteral("/out"))
                .hasFault();
}

} // namespace

class TestWholeRun : public QObject {
    Q_OBJECT

private slots:
    void initTestCase() { fixture::usePrivateConfig(); }

    void testRunFromTheMainWindowToTheStoredGrade() {
        fixture::RunningProgram program;
        fixture::MessageLog log;
        fixture::FixedRandom random({0, 3, 0, 1, 0, 2, 0, 0});
        addSection(program.folder);
        SettingsForm->chtime1->setChecked(false);
        SettingsForm->unnumcor1->setChecked(false);
        SettingsForm->numcor1->setValue(2);
        MainForm->show();

        registerPupil(QStringLiteral("Мария Иванова"));
        chooseSectionAndStart(4);
        QVERIFY(!TestForm->Timer2->isVisible());

        // Three right, the fourth first right and then corrected to wrong.
        for (int q = 1; q <= 4; ++q) {
            clickBox(rightBox());
            if (q == 4)
                clickBox(wrongBox());
            QVERIFY(!TestForm->Panel10->isVisible()); // no notice in a test run
            QTest::mouseClick(TestForm->NextBtn, Qt::LeftButton);
        }
        QCOMPARE(TestForm->Score, 6);
        QTest::mouseClick(TestForm->EndBtn, Qt::LeftButton);

        QVERIFY(!TestForm->isVisible());
        QVERIFY(ValForm->isVisible());
        QVERIFY(MainForm->isVisible());
        QVERIFY(log.messages().isEmpty());
        QCOMPARE(ValForm->gs1->text(), QStringLiteral("общо точки: 8"));
        QCOMPARE(ValForm->sc1->text(), QStringLiteral("получени точки: 6"));
        QCOMPARE(ValForm->val1->text(), QStringLiteral("оценка: ") + number(5.0, 2));
        QCOMPARE(ValForm->cldv1->text(), QStringLiteral("5 В"));
        // Showing the results gives their buttons their hints again.
        QVERIFY(ValForm->CloseBtn->toolTip().contains(QStringLiteral("\"Резултатите\"")));

        const fixture::Rows records = program.folder.readTable(DbFile::Students, "student");
        QCOMPARE(records.size(), 1);
        const fixture::Row& r = records[0];
        QCOMPARE(r[QStringLiteral("name")].toString(), QStringLiteral("Мария Иванова"));
        QCOMPARE(r[QStringLiteral("class")].toString(), QStringLiteral("5"));
        QCOMPARE(r[QStringLiteral("division")].toInt(), 3);
        QCOMPARE(r[QStringLiteral("numofclass")].toInt(), 12);
        QCOMPARE(r[QStringLiteral("object")].toString(), kSubject);
        QCOMPARE(r[QStringLiteral("theme")].toString(), kSection);
        QCOMPARE(r[QStringLiteral("val")].toString(), number(5.0, 3));
        QCOMPARE(QDate::fromString(r[QStringLiteral("dt")].toString(), Qt::ISODate),
                 QDate::currentDate());
        // The run's scratch rows are gone once the session has closed.
        QVERIFY(program.folder.readTable(DbFile::Scratch, "temp4").isEmpty());

        QTest::mouseClick(ValForm->CloseBtn, Qt::LeftButton);
        QVERIFY(!ValForm->isVisible());
        QVERIFY(MainForm->isVisible());
        // The next registration offers the pupil's name.
        QTest::mouseClick(MainForm->TestBtn, Qt::LeftButton);
        QVERIFY(
            fixture::comboItems(RegTestForm->fullname).contains(QStringLiteral("Мария Иванова")));
    }

    void matchingRunsStoreTheGrade_data() {
        QTest::addColumn<bool>("keyboard");
        QTest::addColumn<QList<bool>>("wrong"); // per term row, both questions alike
        QTest::newRow("mouse, all right") << false << QList<bool>{};
        QTest::newRow("mouse, all wrong") << false << QList<bool>{true, true, true, true};
        QTest::newRow("mouse, mixed") << false << QList<bool>{true, false, true};
        QTest::newRow("keyboard, mixed") << true << QList<bool>{true, false, true};
    }
    void matchingRunsStoreTheGrade() {
        QFETCH(bool, keyboard);
        QFETCH(QList<bool>, wrong);
        fixture::RunningProgram program;
        fixture::MessageLog log;
        fixture::FixedRandom random({0, 1, 2, 1, 0, 2, 3, 1, 0});
        addTermSection(program.folder);
        SettingsForm->chtime1->setChecked(false);
        SettingsForm->unnumcor1->setChecked(false);
        SettingsForm->numcor1->setValue(0);
        MainForm->show();
        registerPupil(QStringLiteral("Ива Колева"));
        chooseSectionAndStart(2);

        int earned = 0;
        for (int q = 1; q <= 2; ++q) {
            QCOMPARE(TestForm->Pages1->currentIndex(), int(TTestForm::Terms));
            QList<QPair<int, int>> joins;
            earned += planJoins(program.folder, wrong, &joins);
            if (keyboard)
                TestForm->Panel8->setFocus(Qt::TabFocusReason);
            for (const auto& [term, meaning] : joins) {
                if (keyboard) {
                    keyTo(term, false);
                    QTest::keyClick(TestForm->Panel8, Qt::Key_Return);
                    keyTo(meaning, true);
                    QTest::keyClick(TestForm->Panel8, Qt::Key_Return);
                } else {
                    QTest::mouseClick(TestForm->termLabel(term), Qt::LeftButton);
                    QTest::mouseClick(TestForm->meaningLabel(meaning), Qt::LeftButton);
                }
            }
            QCOMPARE(TestForm->Score, earned);
            if (keyboard) {
                TestForm->NextBtn->setFocus();
                QTest::keyClick(TestForm->NextBtn, Qt::Key_Space);
            } else {
                QTest::mouseClick(TestForm->NextBtn, Qt::LeftButton);
            }
        }
        QTest::mouseClick(TestForm->EndBtn, Qt::LeftButton);

        QVERIFY(log.messages().isEmpty());
        QCOMPARE(ValForm->gs1->text(), QStringLiteral("общо точки: 12"));
        const fixture::Rows records = program.folder.readTable(DbFile::Students, "student");
        QCOMPARE(records.size(), 1);
        QCOMPARE(records[0][QStringLiteral("val")].toString(), number(4.0 / 12 * earned + 2, 3));
    }

    void tutorRunWithTheFullAnswerAndTheDictionary() {
        fixture::RunningProgram program;
        fixture::MessageLog log;
        fixture::FixedRandom random({0, 1, 0, 2});
        addSection(program.folder);
        program.folder.addDictionary(QStringLiteral("български"), QStringLiteral("bg"),
                                     {{QStringLiteral("дроб"), QStringLiteral("част от цяло")}});
        MainForm->show();
        QTest::mouseClick(MainForm->TutorBtn, Qt::LeftButton);
        while (ObjectForm->cl1->currentIndex() < 4)
            QTest::keyClick(ObjectForm->cl1, Qt::Key_Down);
        chooseSectionAndStart(2);

        const int box = rightBox();
        clickBox(box);
        QCOMPARE(TestForm->StaticText2->text(), QStringLiteral("вярно"));
        QTest::mouseClick(TestForm->fal1, Qt::LeftButton);
        QCOMPARE(TestForm->Pages1->currentIndex(), int(TTestForm::FullAnswerPage));
        QCOMPARE(TestForm->FullAns->text(), DataModule2->Temp.text(QStringLiteral("fullans")));
        QVERIFY(TestForm->FullAns->text().startsWith(QStringLiteral("Верният отговор е")));
        fixture::typeText(TestForm->searchedit, QStringLiteral("Дроб"));
        QTest::keyClick(TestForm->searchedit, Qt::Key_Return);
        QCOMPARE(TestForm->trans1->toPlainText(), QStringLiteral("част от цяло"));

        QTest::mouseClick(TestForm->Label26, Qt::LeftButton);
        QCOMPARE(TestForm->Pages1->currentIndex(), int(TTestForm::FourAnswers));
        QCOMPARE(fillColour(TestForm->answerLabel(box)), TTestForm::kChosenColour);
        QTest::mouseClick(TestForm->NextBtn, Qt::LeftButton);
        QCOMPARE(DataModule2->Temp.recNo(), 2);
        QTest::mouseClick(TestForm->EndBtn, Qt::LeftButton);
        QVERIFY(MainForm->isVisible());
        QVERIFY(program.folder.readTable(DbFile::Students, "student").isEmpty());
        QVERIFY(log.messages().isEmpty());
    }

    void tutorRunLeavesNoRecordAndPutsTheSettingsBack() {
        fixture::RunningProgram program;
        fixture::MessageLog log;
        fixture::FixedRandom random({0, 1, 0, 2});
        addSection(program.folder);
        SettingsForm->unnumcor1->setChecked(false);
        SettingsForm->numcor1->setValue(0);
        MainForm->show();

        QTest::mouseClick(MainForm->TutorBtn, Qt::LeftButton);
        QVERIFY(ObjectForm->isVisible());
        QVERIFY(ObjectForm->cl1->isVisible());
        while (ObjectForm->cl1->currentIndex() < 4) // as the pupil does: with the keys
            QTest::keyClick(ObjectForm->cl1, Qt::Key_Down);
        chooseSectionAndStart(2);
        QVERIFY(TestForm->fal1->isVisible());

        // Unlimited corrections in a tutor run, with a notice after each answer.
        clickBox(wrongBox());
        QVERIFY(TestForm->Panel10->isVisible());
        QCOMPARE(TestForm->StaticText2->text(), QStringLiteral("грешно"));
        clickBox(rightBox());
        QCOMPARE(TestForm->StaticText2->text(), QStringLiteral("вярно"));
        clickBox(wrongBox());
        clickBox(rightBox());
        QCOMPARE(TestForm->Score, 2);
        QCOMPARE(DataModule2->Temp.integer(QStringLiteral("Limit")), 0);

        QTest::mouseClick(TestForm->EndBtn, Qt::LeftButton);
        QVERIFY(!TestForm->isVisible());
        QVERIFY(!ValForm->isVisible());
        QVERIFY(MainForm->isVisible());
        QVERIFY(MainForm->isEnabled());
        QCOMPARE(SettingsForm->unnumcor1->isChecked(), false);
        QCOMPARE(SettingsForm->numcor1->value(), 0);
        QVERIFY(program.folder.readTable(DbFile::Students, "student").isEmpty());
        QVERIFY(log.messages().isEmpty());
    }

    void timeRunningOutGradesWhatWasAnswered() {
        fixture::RunningProgram program;
        fixture::MessageLog log;
        fixture::FixedRandom random({0, 0, 0, 0, 0, 0});
        addSection(program.folder);
        SettingsForm->chtime1->setChecked(true);
        SettingsForm->hour1->setValue(0);
        SettingsForm->min1->setValue(0);
        SettingsForm->sec1->setValue(2);
        MainForm->show();

        registerPupil(QStringLiteral("Петър Петров"));
        chooseSectionAndStart(3);
        QVERIFY(TestForm->Timer2->isVisible());
        clickBox(rightBox());
        TestForm->Timer1Timer();
        QVERIFY(TestForm->isVisible());
        TestForm->Timer1Timer(); // 0:0:0 — the run ends by itself
        QVERIFY(!TestForm->isVisible());
        QVERIFY(ValForm->isVisible());
        QCOMPARE(ValForm->gs1->text(), QStringLiteral("общо точки: 6"));
        QCOMPARE(ValForm->sc1->text(), QStringLiteral("получени точки: 2"));
        QCOMPARE(program.folder.readTable(DbFile::Students, "student").size(), 1);
    }

    void gapTextsByMouseAndByKeyboardStoreTheSameGrade() {
        fixture::RunningProgram program;
        fixture::MessageLog log;
        fixture::FixedRandom random;
        addGapSection(program.folder);
        SettingsForm->chtime1->setChecked(false);
        SettingsForm->unnumcor1->setChecked(false);
        SettingsForm->numcor1->setValue(1);
        MainForm->show();

        // By mouse, the first word placed and taken out again with the
        // remove-word button: its points go with it.
        registerPupil(QStringLiteral("Иван Колев"));
        chooseSectionAndStart(2);
        for (int q = 1; q <= 2; ++q) {
            QCOMPARE(TestForm->Pages1->currentIndex(), int(TTestForm::GapText));
            const QStringList words = keyWords();
            const int first = firstOpenGap();
            const qint32 before = TestForm->Score;
            clickWord(words.first());
            clickText(first + 3);
            QCOMPARE(TestForm->Score, before + 1);
            clickText(first + 1);
            QVERIFY(TestForm->clBtn1->isVisible());
            QTest::mouseClick(TestForm->clImg, Qt::LeftButton);
            QCOMPARE(firstOpenGap(), first);
            QCOMPARE(TestForm->Score, before);
            for (const QString& word : words) {
                clickWord(word);
                clickText(firstOpenGap() + 3);
            }
            QCOMPARE(firstOpenGap(), -1);
            QTest::mouseClick(TestForm->NextBtn, Qt::LeftButton);
        }
        QCOMPARE(TestForm->Score, 7);
        QTest::mouseClick(TestForm->EndBtn, Qt::LeftButton);
        QCOMPARE(ValForm->val1->text(), QStringLiteral("оценка: ") + number(6.0, 2));
        QTest::mouseClick(ValForm->CloseBtn, Qt::LeftButton);

        // By keyboard alone on the page, a wrong word first, taken out with Delete.
        registerPupil(QStringLiteral("Ана Колева"));
        chooseSectionAndStart(2);
        TestForm->activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(TestForm));
        for (int q = 1; q <= 2; ++q) {
            const QStringList words = keyWords();
            TestForm->Words1->setFocus(Qt::TabFocusReason);
            const QString stored = TestForm->Text1->toPlainText();
            placeByKeys(words.last(), 0);
            QVERIFY(TestForm->Text1->toPlainText() != stored);
            key(Qt::Key_Tab);
            key(Qt::Key_Delete);
            QCOMPARE(TestForm->Text1->toPlainText(), stored);
            key(Qt::Key_Backtab);
            for (int gap = 0; gap < words.size(); ++gap)
                placeByKeys(words[gap], gap);
            QCOMPARE(firstOpenGap(), -1);
            QTest::mouseClick(TestForm->NextBtn, Qt::LeftButton);
        }
        QCOMPARE(TestForm->Score, 7);
        QTest::mouseClick(TestForm->EndBtn, Qt::LeftButton);

        const fixture::Rows records = program.folder.readTable(DbFile::Students, "student");
        QCOMPARE(records.size(), 2);
        QCOMPARE(records[0][QStringLiteral("val")].toString(), number(6.0, 3));
        QCOMPARE(records[1][QStringLiteral("val")].toString(), number(6.0, 3));
        QVERIFY(log.messages().isEmpty());
    }

    // Banks as a school gets them: a mathematics section of every class the
    // program ships, and a bank imported from Moodle XML. Each is drawn in
    // full, its questions of every kind shown, its four-answer questions
    // answered right, and stored as the grade those points give.
    void banksRunWhole_data() {
        QTest::addColumn<int>("classNo");
        QTest::addColumn<bool>("fromMoodle");
        for (int classNo = 4; classNo <= 8; ++classNo)
            QTest::newRow(qPrintable(QStringLiteral("class %1").arg(classNo))) << classNo << false;
        QTest::newRow("imported from Moodle") << 6 << true;
    }

    void banksRunWhole() {
        QFETCH(int, classNo);
        QFETCH(bool, fromMoodle);
        // The shipped banks are compiled once for every class's row.
        static QTemporaryDir shipped;
        static const bool shippedBuilt =
            !bank::build(QStringLiteral(KIVOR_SOURCE_DIR "/content"), shipped.path()).hasFault();
        QTemporaryDir imported;
        if (fromMoodle) {
            QVERIFY(importMoodleBank(imported.path(), classNo));
        } else {
            QVERIFY(shippedBuilt);
        }
        const QString built =
            fromMoodle ? imported.filePath(QStringLiteral("out")) : shipped.path();

        fixture::RunningProgram program;
        fixture::MessageLog log;
        for (const QString& file : QDir(built + QStringLiteral("/data")).entryList(QDir::Files)) {
            const QString target = program.folder.path() + QStringLiteral("/data/") + file;
            QFile::remove(target);
            QVERIFY(QFile::copy(built + QStringLiteral("/data/") + file, target));
        }
        const fixture::Rows topics = program.folder.rows(
            DbFile::Topics, QStringLiteral("select section, \"table\" from topics where class = %1 "
                                           "and object = 'математика'")
                                .arg(classNo));
        QVERIFY(!topics.isEmpty());
        const QString section = topics[0][QStringLiteral("section")].toString();
        const fixture::Rows questions =
            program.folder.rows(DbFile::Class,
                                QStringLiteral("select Scores from \"%1\" where test = 1")
                                    .arg(topics[0][QStringLiteral("table")].toString()),
                                unsigned(classNo));
        int total = 0;
        for (const fixture::Row& q : questions)
            total += q[QStringLiteral("scores")].toInt();
        SettingsForm->chtime1->setChecked(false);
        MainForm->show();

        registerPupil(QStringLiteral("Петър Колев"), classNo);
        QVERIFY(ObjectForm->isVisible());
        ObjectForm->ob1->setCurrentIndex(ObjectForm->ob1->findText(kSubject));
        const QList<QListWidgetItem*> found =
            ObjectForm->sec1->findItems(section, Qt::MatchExactly);
        QCOMPARE(found.size(), 1);
        QTest::mouseClick(ObjectForm->sec1->viewport(), Qt::LeftButton, {},
                          ObjectForm->sec1->visualItemRect(found[0]).center());
        ObjectForm->numq1->setValue(int(questions.size()));
        QTest::mouseClick(ObjectForm->GoBtn, Qt::LeftButton);
        QVERIFY(TestForm->isVisible());

        int earned = 0;
        for (qsizetype q = 0; q < questions.size(); ++q) {
            if (DataModule2->Temp.integer(QStringLiteral("TypeQuest")) ==
                int(question::Kind::Choice)) {
                earned += DataModule2->Temp.integer(QStringLiteral("Scores"));
                clickBox(rightBox());
            }
            QTest::mouseClick(TestForm->NextBtn, Qt::LeftButton);
        }
        QCOMPARE(TestForm->Score, earned);
        QTest::mouseClick(TestForm->EndBtn, Qt::LeftButton);
        QVERIFY(ValForm->isVisible());
        QCOMPARE(log.texts(), QStringList());
        QCOMPARE(ValForm->gs1->text(), QStringLiteral("общо точки: %1").arg(total));
        const fixture::Rows records = program.folder.readTable(DbFile::Students, "student");
        QCOMPARE(records.size(), 1);
        QCOMPARE(records[0][QStringLiteral("theme")].toString(), section);
        QCOMPARE(records[0][QStringLiteral("val")].toString(), number(4.0 / total * earned + 2, 3));
    }
};

QTEST_MAIN(TestWholeRun)
#include "tst_wholerun.moc"
