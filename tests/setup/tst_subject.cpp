// The subject window: subjects, sections and the count, the start of a run
// through the drawing, and the way back when a run cannot start.
#include "app/globals.h"
#include "app/mainform.h"
#include "results/valform.h"
#include "session/eventlabel.h"
#include "session/testform.h"
#include "settings/settingsform.h"
#include "settings/spinfield.h"
#include "setup/drawing.h"
#include "setup/objectform.h"
#include "setup/progressform.h"
#include "setup/regtestform.h"
#include "store/datamodule.h"
#include "support/application.h"
#include "support/fixedrandom.h"
#include "support/widgets.h"

#include <QAction>
#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QFile>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QProgressBar>
#include <QPushButton>
#include <QSignalSpy>
#include <QTest>

using fixture::ProgramFolder;

namespace {

const QString kTooFewInSections =
    QStringLiteral("В разделите към този предмет\rняма достатъчно въведени въпроси.\rМинимума на "
                   "въпросите в 1 раздел е 2 броя");
const QString kProgramProblem = QStringLiteral("Има проблем в програмата! Моля, опитайте отново");

const QString kMaths = QStringLiteral("математика");
const QString kBulgarian = QStringLiteral("български език");
const QString kHistory = QStringLiteral("история");

QStringList sections() {
    QStringList out;
    for (int i = 0; i < ObjectForm->sec1->count(); ++i)
        out.append(ObjectForm->sec1->item(i)->text());
    return out;
}

// `n` four-answer questions "<prefix> 1" ...; written in one go.
QStringList addQuestions(ProgramFolder& folder, unsigned classNo, const QString& table, int n,
                         const QString& prefix, int test = 1) {
    QStringList quests;
    folder.addQuestionTable(classNo, table);
    folder.exec(DbFile::Class, QStringLiteral("begin"), classNo);
    for (int i = 1; i <= n; ++i) {
        const QString quest = prefix + QLatin1Char(' ') + QString::number(i);
        fixture::Question q = fixture::fourAnswer(
            quest,
            {QStringLiteral("а"), QStringLiteral("б"), QStringLiteral("в"), QStringLiteral("г")},
            i % 4);
        q.test = test;
        folder.addQuestion(classNo, table, q);
        quests.append(quest);
    }
    folder.exec(DbFile::Class, QStringLiteral("commit"), classNo);
    return quests;
}

// Class 7: математика (дроби: 3 questions and 2 not for tests; проценти: 2;
// уравнения: one question for tests and three not), български език
// (правопис: 2; лексика: none) and история (one section of one question).
// Class 5: химия (киселини: 2).
void addBanks(ProgramFolder& f) {
    f.addTopic(7, kMaths, QStringLiteral("дроби"), QStringLiteral("m7_drobi"));
    f.addTopic(7, kMaths, QStringLiteral("проценти"), QStringLiteral("m7_procenti"));
    f.addTopic(7, kMaths, QStringLiteral("уравнения"), QStringLiteral("m7_uravnenia"));
    f.addTopic(7, kBulgarian, QStringLiteral("правопис"), QStringLiteral("b7_pravopis"));
    f.addTopic(7, kBulgarian, QStringLiteral("лексика"), QStringLiteral("b7_leksika"));
    f.addTopic(7, kHistory, QStringLiteral("траки"), QStringLiteral("h7_traki"));
    f.addTopic(5, QStringLiteral("химия"), QStringLiteral("киселини"), QStringLiteral("c5"));
    addQuestions(f, 7, QStringLiteral("m7_drobi"), 3, QStringLiteral("Дроб"));
    addQuestions(f, 7, QStringLiteral("m7_drobi"), 2, QStringLiteral("Стара дроб"), 0);
    addQuestions(f, 7, QStringLiteral("m7_procenti"), 2, QStringLiteral("Процент"));
    addQuestions(f, 7, QStringLiteral("m7_uravnenia"), 1, QStringLiteral("Уравнение"));
    addQuestions(f, 7, QStringLiteral("m7_uravnenia"), 3, QStringLiteral("Старо"), 2);
    addQuestions(f, 7, QStringLiteral("b7_pravopis"), 2, QStringLiteral("Правопис"));
    addQuestions(f, 7, QStringLiteral("h7_traki"), 1, QStringLiteral("Траки"));
    addQuestions(f, 5, QStringLiteral("c5"), 2, QStringLiteral("Киселина"));
}

void registerFor(int classNo) {
    MainForm->mN1->trigger();
    RegTestForm->fullname->setEditText(QStringLiteral("Иван Петров"));
    RegTestForm->Class1->setCurrentIndex(classNo - 1);
    RegTestForm->RBtn->click();
    QVERIFY(ObjectForm->isVisible());
}

void startTutor() {
    MainForm->mN2->trigger();
    QVERIFY(ObjectForm->isVisible());
}

void chooseClass(int classNo) {
    while (ObjectForm->cl1->currentIndex() < classNo - 1)
        QTest::keyClick(ObjectForm->cl1, Qt::Key_Down);
    while (ObjectForm->cl1->currentIndex() > classNo - 1)
        QTest::keyClick(ObjectForm->cl1, Qt::Key_Up);
}

// A test run registers for the class; a tutor run chooses it in the window.
void openForClass(const QString& kind, int classNo) {
    if (kind == QLatin1String("test")) {
        registerFor(classNo);
    } else {
        startTutor();
        chooseClass(classNo);
    }
}

void runKinds() {
    QTest::addColumn<QString>("kind");
    QTest::newRow("test") << "test";
    QTest::newRow("tutor") << "tutor";
}

void chooseSubject(const QString& subject) {
    const int index = ObjectForm->ob1->findText(subject);
    QVERIFY2(index >= 0, qPrintable(subject));
    ObjectForm->ob1->setCurrentIndex(index);
}

void clickSection(int row) {
    QListWidget* list = ObjectForm->sec1;
    QTest::mouseClick(list->viewport(), Qt::LeftButton, {},
                      list->visualItemRect(list->item(row)).center());
}

QStringList temp4Quests(const ProgramFolder& folder) {
    QStringList out;
    for (const fixture::Row& row : folder.readTable(DbFile::Scratch, QStringLiteral("temp4")))
        out.append(row.value(QStringLiteral("quest")).toString());
    return out;
}

// Counts the requests to close a window.
class CloseProbe : public QObject {
public:
    int closes = 0;

protected:
    bool eventFilter(QObject* watched, QEvent* event) override {
        if (event->type() == QEvent::Close)
            ++closes;
        return QObject::eventFilter(watched, event);
    }
};

} // namespace

class TestSubject : public QObject {
    Q_OBJECT

private slots:
    void initTestCase() { fixture::usePrivateConfig(); }

    void subjectEntries_data() {
        QTest::addColumn<QStringList>("objects");
        QTest::addColumn<QStringList>("entries");
        QTest::newRow("none") << QStringList() << QStringList();
        QTest::newRow("a subject per section, once each")
            << QStringList{"математика", "история", "математика", "математика"}
            << QStringList{"история", "математика"};
        QTest::newRow("letter case does not order")
            << QStringList{"химия", "Английски език", "български език"}
            << QStringList{"Английски език", "български език", "химия"};
        QTest::newRow("letter case keeps subjects apart")
            << QStringList{"История", "история"} << QStringList{"История", "история"};
    }
    void subjectEntries() {
        QFETCH(QStringList, objects);
        QFETCH(QStringList, entries);
        QCOMPARE(::subjectEntries(objects), entries);
    }

    void testModeListsEachSubjectOnce() {
        fixture::RunningProgram program;
        addBanks(program.folder);
        registerFor(7);
        QVERIFY(!MainForm->isVisible());
        QVERIFY(!RegTestForm->isVisible());
        QVERIFY(ObjectForm->cl1->isHidden());
        QVERIFY(ObjectForm->Label1->isHidden());
        QCOMPARE(ObjectForm->ob1->geometry().left(), 5);
        QCOMPARE(ObjectForm->ob1->width(), 396);
        QCOMPARE(ObjectForm->Label4->x(), 5);
        QCOMPARE(fixture::comboItems(ObjectForm->ob1), QStringList({kBulgarian, kHistory, kMaths}));
        QCOMPARE(ObjectForm->ob1->currentText(), QString());
        QVERIFY(sections().isEmpty());

        chooseSubject(kMaths);
        QCOMPARE(sections(), QStringList({"дроби", "проценти"}));
        chooseSubject(kBulgarian);
        QCOMPARE(sections(), QStringList({"правопис"}));
    }

    void tutorModeListsTheSubjectsOfTheChosenClass() {
        fixture::RunningProgram program;
        addBanks(program.folder);
        MainForm->show();
        startTutor();
        QVERIFY(!MainForm->isVisible());
        QVERIFY(ObjectForm->cl1->isVisible());
        QVERIFY(ObjectForm->Label1->isVisible());
        QCOMPARE(ObjectForm->cl1->currentText(), QStringLiteral("1"));
        QCOMPARE(ObjectForm->ob1->geometry().left(), 50);
        QCOMPARE(ObjectForm->ob1->width(), 351);
        QCOMPARE(ObjectForm->ob1->count(), 0);

        chooseClass(7);
        QCOMPARE(fixture::comboItems(ObjectForm->ob1), QStringList({kBulgarian, kHistory, kMaths}));
        chooseSubject(kMaths);
        clickSection(0);
        QVERIFY(ObjectForm->GoBtn->isEnabled());

        chooseClass(5);
        QCOMPARE(fixture::comboItems(ObjectForm->ob1), QStringList({"химия"}));
        QCOMPARE(ObjectForm->ob1->currentText(), QString());
        QVERIFY(sections().isEmpty());
        QVERIFY(!ObjectForm->numq1->isEnabled());
        QVERIFY(!ObjectForm->GoBtn->isEnabled());
        chooseSubject(QStringLiteral("химия"));
        QCOMPARE(sections(), QStringList({"киселини"}));
    }

    // subject → sections with two questions or more → a section → its
    // count → start; a new subject takes the later steps back.
    void eachChoiceOpensTheNext() {
        fixture::RunningProgram program;
        fixture::MessageLog log;
        addBanks(program.folder);
        registerFor(7);
        QVERIFY(!ObjectForm->numq1->isEnabled());
        QCOMPARE(ObjectForm->numq1->value(), 1);
        QVERIFY(!ObjectForm->GoBtn->isEnabled());

        chooseSubject(kMaths);
        QVERIFY(!ObjectForm->numq1->isEnabled());
        QVERIFY(!ObjectForm->GoBtn->isEnabled());

        clickSection(0);
        // Only the questions meant for tests count.
        QCOMPARE(ObjectForm->numq1->minimum(), 1);
        QCOMPARE(ObjectForm->numq1->maximum(), 3);
        QCOMPARE(ObjectForm->numq1->value(), 1);
        QVERIFY(ObjectForm->numq1->isEnabled());
        QVERIFY(ObjectForm->GoBtn->isEnabled());
        QCOMPARE(DataModule2->Topics.text(QStringLiteral("section")), QStringLiteral("дроби"));

        clickSection(1);
        QCOMPARE(ObjectForm->numq1->maximum(), 2);
        QCOMPARE(DataModule2->Topics.text(QStringLiteral("table")), QStringLiteral("m7_procenti"));

        chooseSubject(kBulgarian);
        QCOMPARE(sections(), QStringList({"правопис"}));
        QVERIFY(!ObjectForm->numq1->isEnabled());
        QVERIFY(!ObjectForm->GoBtn->isEnabled());
        QVERIFY(log.messages().isEmpty());
    }

    void subjectWithoutEnoughQuestions_data() {
        QTest::addColumn<QString>("subject");
        QTest::addColumn<bool>("typed");
        QTest::newRow("its only section has one question") << kHistory << false;
        QTest::newRow("typed, not in the list") << QStringLiteral("музика") << true;
        QTest::newRow("typed in another letter case") << QStringLiteral("Математика") << true;
    }
    void subjectWithoutEnoughQuestions() {
        QFETCH(QString, subject);
        QFETCH(bool, typed);
        fixture::RunningProgram program;
        addBanks(program.folder);
        registerFor(7);
        chooseSubject(kMaths);
        clickSection(0);
        fixture::MessageLog log;
        if (typed) {
            // Letter by letter, as a pupil types: one notice, once it is done.
            ObjectForm->ob1->clearEditText();
            fixture::typeText(ObjectForm->ob1->lineEdit(), subject);
            QVERIFY(log.messages().isEmpty());
            QTest::keyClick(ObjectForm->ob1->lineEdit(), Qt::Key_Return);
        } else {
            chooseSubject(subject);
        }
        QCOMPARE(log.texts(), QStringList{kTooFewInSections});
        QCOMPARE(log.messages()[0].kind, MessageKind::Information);
        QVERIFY(sections().isEmpty());
        QVERIFY(!ObjectForm->numq1->isEnabled());
        QVERIFY(!ObjectForm->GoBtn->isEnabled());
        QVERIFY(ObjectForm->isVisible());
    }

    // The count follows the section, beyond the 100 the field is built with.
    void largeSectionAllowsItsFullCount() {
        fixture::RunningProgram program;
        program.folder.addTopic(9, QStringLiteral("география"), QStringLiteral("Европа"),
                                QStringLiteral("g9"));
        addQuestions(program.folder, 9, QStringLiteral("g9"), 250, QStringLiteral("Въпрос"));
        registerFor(9);
        chooseSubject(QStringLiteral("география"));
        clickSection(0);
        QCOMPARE(ObjectForm->numq1->maximum(), 250);
        ObjectForm->numq1->selectAll();
        QTest::keyClicks(ObjectForm->numq1, QStringLiteral("250"));
        QCOMPARE(ObjectForm->numq1->value(), 250);
        ObjectForm->numq1->selectAll();
        QTest::keyClicks(ObjectForm->numq1, QStringLiteral("251"));
        QCOMPARE(ObjectForm->numq1->value(), 250);
    }

    void startDrawsTheChosenSection_data() { runKinds(); }
    void startDrawsTheChosenSection() {
        QFETCH(QString, kind);
        fixture::RunningProgram program;
        fixture::MessageLog log;
        fixture::FixedRandom random({0, 1, 2, 3});
        addBanks(program.folder);
        SettingsForm->unnumcor1->setChecked(false);
        SettingsForm->numcor1->setValue(3);
        QSignalSpy unlimited(SettingsForm->unnumcor1, &QCheckBox::toggled);
        openForClass(kind, 7);
        chooseSubject(kMaths);
        clickSection(1);
        ObjectForm->numq1->setValue(2);
        QTest::mouseClick(ObjectForm->GoBtn, Qt::LeftButton);

        QVERIFY(log.messages().isEmpty());
        QCOMPARE(ObjectForm->TestSubject, kMaths);
        QCOMPARE(ObjectForm->TestSection, QStringLiteral("проценти"));
        QCOMPARE(ObjectForm->QuestionCount, 2);
        QStringList drawn = temp4Quests(program.folder);
        drawn.sort();
        QCOMPARE(drawn, QStringList({"Процент 1", "Процент 2"}));
        QVERIFY(!ProgressForm->isVisible());
        QCOMPARE(ProgressForm->g1->value(), ProgressForm->g1->maximum());
        QCOMPARE(QApplication::overrideCursor(), nullptr);
        // The session window takes over; the main window waits hidden.
        const bool tutor = kind == QLatin1String("tutor");
        QVERIFY(!ObjectForm->isVisible());
        QVERIFY(TestForm->isVisible());
        QVERIFY(!MainForm->isVisible());
        QCOMPARE(TestForm->fal1->isVisibleTo(TestForm), tutor);
        if (tutor) {
            QCOMPARE(ObjectForm->SavedUnlimitedCorrections, false);
            QCOMPARE(ObjectForm->SavedCorrectionsCount, 3);
            QVERIFY(SettingsForm->unnumcor1->isChecked());
        } else {
            QCOMPARE(unlimited.size(), 0);
        }

        TestForm->EndBtnClick();
        QVERIFY(!TestForm->isVisible());
        if (tutor) {
            QVERIFY(MainForm->isVisible());
            QCOMPARE(unlimited.size(), 2);
            QCOMPARE(unlimited[0][0].toBool(), true);
        } else {
            QVERIFY(ValForm->isVisible());
        }
        QCOMPARE(SettingsForm->unnumcor1->isChecked(), false);
        QCOMPARE(SettingsForm->numcor1->value(), 3);
    }

    // A section whose questions have nothing to ask cannot give a run: the
    // pupil is back at the choice, the program goes on.
    void sectionThatCannotServeReturnsToTheChoice_data() { runKinds(); }
    void sectionThatCannotServeReturnsToTheChoice() {
        QFETCH(QString, kind);
        fixture::RunningProgram program;
        fixture::MessageLog log;
        fixture::FixedRandom random({0, 1, 2, 3});
        addBanks(program.folder);
        program.folder.addTopic(7, kMaths, QStringLiteral("празен"), QStringLiteral("m7_empty"));
        for (int i = 0; i < 2; ++i) {
            fixture::Question blank;
            blank.quest = QStringLiteral("Въпрос без отговори");
            program.folder.addQuestion(7, QStringLiteral("m7_empty"), blank);
        }
        SettingsForm->unnumcor1->setChecked(false);
        SettingsForm->numcor1->setValue(4);
        CloseProbe probe;
        MainForm->installEventFilter(&probe);
        openForClass(kind, 7);
        chooseSubject(kMaths);
        QCOMPARE(sections(), QStringList({"дроби", "проценти", "празен"}));
        clickSection(2);
        ObjectForm->GoBtn->click();

        QCOMPARE(log.texts(), QStringList{TooFewQuestions().text()});
        QCOMPARE(log.messages()[0].kind, MessageKind::Information);
        QVERIFY(ObjectForm->isVisible());
        QVERIFY(!ProgressForm->isVisible());
        QVERIFY(!MainForm->isVisible());
        QCOMPARE(probe.closes, 0);
        QCOMPARE(QApplication::overrideCursor(), nullptr);
        // The choices stay for another try.
        QCOMPARE(ObjectForm->ob1->currentText(), kMaths);
        QCOMPARE(sections(), QStringList({"дроби", "проценти", "празен"}));
        QCOMPARE(ObjectForm->sec1->currentRow(), 2);
        QVERIFY(ObjectForm->GoBtn->isEnabled());
        // A tutor run that did not start leaves the settings as they were.
        QCOMPARE(SettingsForm->unnumcor1->isChecked(), false);
        QCOMPARE(SettingsForm->numcor1->value(), 4);

        log.clear();
        clickSection(0);
        ObjectForm->numq1->setValue(3);
        ObjectForm->GoBtn->click();
        QVERIFY(log.messages().isEmpty());
        QCOMPARE(temp4Quests(program.folder).size(), 3);
        QCOMPARE(ObjectForm->TestSection, QStringLiteral("дроби"));
        QVERIFY(TestForm->isVisible());
        TestForm->EndBtnClick();
        QCOMPARE(SettingsForm->unnumcor1->isChecked(), false);
        QCOMPARE(SettingsForm->numcor1->value(), 4);
    }

    void drawingFailureEndsTheProgram() {
        fixture::RunningProgram program;
        fixture::MessageLog log;
        fixture::FixedRandom random({0, 1, 2, 3});
        program.folder.addTopic(7, kMaths, QStringLiteral("повреден"), QStringLiteral("m7_bad"));
        for (int i = 0; i < 2; ++i)
            program.folder.addQuestion(
                7, QStringLiteral("m7_bad"),
                fixture::fourAnswer(QStringLiteral("Въпрос"),
                                    {QStringLiteral("а"), QStringLiteral("б"), QStringLiteral("в"),
                                     QStringLiteral("г")},
                                    0));
        CloseProbe probe;
        MainForm->installEventFilter(&probe);
        registerFor(7);
        chooseSubject(kMaths);
        clickSection(0);
        // The class database loses the section's table after it was listed.
        program.folder.exec(DbFile::Class, QStringLiteral("drop table m7_bad"), 7);
        ObjectForm->GoBtn->click();

        QCOMPARE(log.texts(), QStringList{kProgramProblem});
        QCOMPARE(log.messages()[0].kind, MessageKind::Error);
        QCOMPARE(probe.closes, 1);
        QVERIFY(!ProgressForm->isVisible());
        QCOMPARE(QApplication::overrideCursor(), nullptr);
    }

    void leavingShowsTheMainWindow_data() {
        QTest::addColumn<QString>("kind");
        QTest::addColumn<bool>("closeBox");
        QTest::newRow("test, Отказ") << "test" << false;
        QTest::newRow("test, close box") << "test" << true;
        QTest::newRow("tutor, Отказ") << "tutor" << false;
        QTest::newRow("tutor, close box") << "tutor" << true;
    }
    void leavingShowsTheMainWindow() {
        QFETCH(QString, kind);
        QFETCH(bool, closeBox);
        fixture::RunningProgram program;
        program.folder.addTopic(7, kMaths, QStringLiteral("дроби"), QStringLiteral("m7"));
        MainForm->show();
        if (kind == QLatin1String("test"))
            registerFor(7);
        else
            startTutor();
        QVERIFY(!MainForm->isVisible());
        if (closeBox)
            ObjectForm->close();
        else
            QTest::mouseClick(ObjectForm->CancelBtn, Qt::LeftButton);
        QVERIFY(!ObjectForm->isVisible());
        QVERIFY(MainForm->isVisible());
    }

    // A question bank that cannot be opened is reported; nothing can start.
    void unreadableClassDatabase() {
        fixture::RunningProgram program;
        fixture::MessageLog log;
        addBanks(program.folder);
        registerFor(7);
        QVERIFY(QFile::remove(program.folder.file(QStringLiteral("\\data\\class7.mdb"))));
        chooseSubject(kMaths);
        QCOMPARE(log.messages().size(), 1);
        QCOMPARE(log.messages()[0].kind, MessageKind::Error);
        QVERIFY(sections().isEmpty());
        QVERIFY(!ObjectForm->GoBtn->isEnabled());
        QVERIFY(ObjectForm->isVisible());
    }
};

QTEST_MAIN(TestSubject)
#include "tst_subject.moc"
