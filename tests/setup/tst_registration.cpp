// The pupil's registration: the list of earlier pupils, the checks of
// "Готово" and the hand-over to the subject window or back to the main window.
#include "app/globals.h"
#include "app/mainform.h"
#include "settings/spinfield.h"
#include "setup/objectform.h"
#include "setup/regtestform.h"
#include "store/datamodule.h"
#include "support/application.h"
#include "support/widgets.h"

#include <QAction>
#include <QComboBox>
#include <QFile>
#include <QLineEdit>
#include <QPushButton>
#include <QTest>

using fixture::Pupil;

namespace {

const QString kMissingData = QStringLiteral("Моля, въведете данните си.");
const QString kNoTopics = QStringLiteral("Няма въведени теми за вашия клас.");

// What the fields show: class text, division text, number.
QString fields() {
    return QStringLiteral("%1/%2/%3")
        .arg(RegTestForm->Class1->currentText(), RegTestForm->division->currentText())
        .arg(RegTestForm->noc->value());
}

// A topic row alone: registration looks at no question table.
void addTopicRow(const fixture::ProgramFolder& folder, int classNo, const QString& object) {
    folder.insert(DbFile::Topics, QStringLiteral("topics"),
                  {{QStringLiteral("class"), classNo},
                   {QStringLiteral("object"), object},
                   {QStringLiteral("section"), QStringLiteral("раздел")},
                   {QStringLiteral("table"), QStringLiteral("t")}});
}

void startTest() {
    MainForm->mN1->trigger();
}

} // namespace

class TestRegistration : public QObject {
    Q_OBJECT

private slots:
    void initTestCase() { fixture::usePrivateConfig(); }

    void divisionPosition_data() {
        QTest::addColumn<QString>("text");
        QTest::addColumn<int>("position");
        QTest::newRow("first") << "А" << 1;
        QTest::newRow("Й after И") << "Й" << 10;
        QTest::newRow("Ь between Ъ and Ю") << "Ь" << 28;
        QTest::newRow("last") << "Я" << 30;
        QTest::newRow("small letter") << "б" << 2;
        QTest::newRow("with blanks") << " Г " << 4;
        QTest::newRow("Latin A") << "A" << 0;
        QTest::newRow("Ы is no division") << "Ы" << 0;
        QTest::newRow("two letters") << "АБ" << 0;
        QTest::newRow("empty") << "" << 0;
    }
    void divisionPosition() {
        QFETCH(QString, text);
        QFETCH(int, position);
        QCOMPARE(::divisionPosition(text), position);
        QCOMPARE(divisionLetters().size(), 30);
    }

    void nameListIsNewestFirstOncePerRegistration() {
        fixture::RunningProgram program;
        program.folder.addPupil({.name = QStringLiteral("Мария Колева"), .dt = QDate(2023, 9, 15)});
        program.folder.addPupil({.name = QStringLiteral("Иван Петров"),
                                 .classNo = 7,
                                 .division = 2,
                                 .numOfClass = 3,
                                 .dt = QDate(2024, 5, 20)});
        // The same registration again, with another subject: listed once.
        program.folder.addPupil({.name = QStringLiteral("Иван Петров"),
                                 .classNo = 7,
                                 .division = 2,
                                 .numOfClass = 3,
                                 .dt = QDate(2024, 5, 20),
                                 .object = QStringLiteral("история")});
        program.folder.addPupil({.name = QStringLiteral("Иван Петров"),
                                 .classNo = 6,
                                 .division = 1,
                                 .numOfClass = 4,
                                 .dt = QDate(2023, 12, 1)});
        program.folder.addPupil({.name = QStringLiteral("Ана Стоева"), .dt = QDate(2024, 6, 1)});

        startTest();
        QVERIFY(RegTestForm->isVisible());
        QVERIFY(!MainForm->isVisible());
        QCOMPARE(fixture::comboItems(RegTestForm->fullname),
                 QStringList({"Ана Стоева", "Иван Петров", "Иван Петров", "Мария Колева"}));
        QCOMPARE(RegTestForm->fullname->currentText(), QString());
        QCOMPARE(fields(), QStringLiteral("1/А/1"));
    }

    void emptyPupilDatabase() {
        fixture::RunningProgram program;
        startTest();
        QCOMPARE(RegTestForm->fullname->count(), 0);
        QCOMPARE(RegTestForm->fullname->currentText(), QString());
        QCOMPARE(fields(), QStringLiteral("1/А/1"));
        QCOMPARE(fixture::comboItems(RegTestForm->division).join(QString()),
                 QStringLiteral("АБВГДЕЖЗИЙКЛМНОПРСТУФХЦЧШЩЪЬЮЯ"));
        QCOMPARE(fixture::comboItems(RegTestForm->Class1).join(QLatin1Char(' ')),
                 QStringLiteral("1 2 3 4 5 6 7 8 9 10 11 12 13"));
    }

    // Each show starts afresh, whatever the last pupil left in the fields.
    void showResetsTheFields() {
        fixture::RunningProgram program;
        program.folder.addPupil({.name = QStringLiteral("Иван Петров"), .classNo = 9});
        startTest();
        RegTestForm->fullname->setCurrentIndex(0);
        RegTestForm->noc->setValue(17);
        RegTestForm->CBtn->click();
        startTest();
        QCOMPARE(RegTestForm->fullname->currentText(), QString());
        QCOMPARE(fields(), QStringLiteral("1/А/1"));
        QCOMPARE(RegTestForm->fullname->count(), 1);
    }

    void knownNameFillsInTheLatestRegistration_data() {
        QTest::addColumn<bool>("typed");
        QTest::newRow("chosen from the list") << false;
        QTest::newRow("typed in full") << true;
    }
    void knownNameFillsInTheLatestRegistration() {
        QFETCH(bool, typed);
        fixture::RunningProgram program;
        program.folder.addPupil({.name = QStringLiteral("Иван Петров"),
                                 .classNo = 6,
                                 .division = 1,
                                 .numOfClass = 4,
                                 .dt = QDate(2023, 12, 1)});
        program.folder.addPupil({.name = QStringLiteral("Иван Петров"),
                                 .classNo = 7,
                                 .division = 30,
                                 .numOfClass = 12,
                                 .dt = QDate(2024, 5, 20)});
        program.folder.addPupil({.name = QStringLiteral("Ана Стоева"),
                                 .classNo = 13,
                                 .division = 5,
                                 .numOfClass = 2,
                                 .dt = QDate(2024, 6, 1)});
        startTest();
        if (typed)
            fixture::typeText(RegTestForm->fullname->lineEdit(), QStringLiteral("Иван Петров"));
        else
            RegTestForm->fullname->setCurrentIndex(
                RegTestForm->fullname->findText(QStringLiteral("Иван Петров")));
        QCOMPARE(RegTestForm->fullname->currentText(), QStringLiteral("Иван Петров"));
        QCOMPARE(fields(), QStringLiteral("7/Я/12"));
    }

    // A new pupil whose name begins like an earlier one's keeps what he set.
    void unknownNameLeavesTheFields() {
        fixture::RunningProgram program;
        program.folder.addPupil({.name = QStringLiteral("Иван Петров"), .classNo = 7});
        startTest();
        RegTestForm->Class1->setCurrentIndex(4);
        RegTestForm->division->setCurrentIndex(3);
        RegTestForm->noc->setValue(9);
        fixture::typeText(RegTestForm->fullname->lineEdit(), QStringLiteral("Иван Стоянов"));
        QCOMPARE(RegTestForm->fullname->currentText(), QStringLiteral("Иван Стоянов"));
        QCOMPARE(fields(), QStringLiteral("5/Г/9"));
    }

    void readyChecksTheInput_data() {
        QTest::addColumn<QString>("name");
        QTest::addColumn<QString>("classText");
        QTest::addColumn<QString>("divisionText");
        QTest::addColumn<QString>("topics"); // "yes", "none" (for the class), "broken"
        QTest::addColumn<QString>("message");
        QTest::newRow("all given") << "Иван Петров"
                                   << "7"
                                   << "Б"
                                   << "yes"
                                   << "";
        QTest::newRow("single letter name") << "И"
                                            << "13"
                                            << "Я"
                                            << "yes"
                                            << "";
        QTest::newRow("division typed in small") << "Иван"
                                                 << "7"
                                                 << "б"
                                                 << "yes"
                                                 << "";
        QTest::newRow("no name") << ""
                                 << "7"
                                 << "Б"
                                 << "yes" << kMissingData;
        QTest::newRow("name of one blank") << " "
                                           << "7"
                                           << "Б"
                                           << "yes" << kMissingData;
        QTest::newRow("name of blanks") << "   "
                                        << "7"
                                        << "Б"
                                        << "yes" << kMissingData;
        QTest::newRow("no division") << "Иван"
                                     << "7"
                                     << ""
                                     << "yes" << kMissingData;
        QTest::newRow("division of blanks") << "Иван"
                                            << "7"
                                            << "  "
                                            << "yes" << kMissingData;
        QTest::newRow("no class") << "Иван"
                                  << ""
                                  << "Б"
                                  << "yes" << kMissingData;
        QTest::newRow("class 14 typed") << "Иван"
                                        << "14"
                                        << "Б"
                                        << "yes" << kMissingData;
        QTest::newRow("class 0 typed") << "Иван"
                                       << "0"
                                       << "Б"
                                       << "yes" << kMissingData;
        QTest::newRow("class with a blank") << "Иван"
                                            << "7 "
                                            << "Б"
                                            << "yes" << kMissingData;
        QTest::newRow("class without topics") << "Иван"
                                              << "8"
                                              << "Б"
                                              << "none" << kNoTopics;
        QTest::newRow("topic database unreadable") << "Иван"
                                                   << "7"
                                                   << "Б"
                                                   << "broken" << kNoTopics;
    }
    void readyChecksTheInput() {
        QFETCH(QString, name);
        QFETCH(QString, classText);
        QFETCH(QString, divisionText);
        QFETCH(QString, topics);
        QFETCH(QString, message);
        fixture::RunningProgram program;
        fixture::MessageLog log;
        // The checks come first: input they turn down never reaches the topics.
        if (message.isEmpty()) {
            addTopicRow(program.folder, 7, QStringLiteral("математика"));
            addTopicRow(program.folder, 7, QStringLiteral("история"));
            addTopicRow(program.folder, 13, QStringLiteral("физика"));
        }
        if (topics == QLatin1String("broken")) {
            QFile file(program.folder.file(QStringLiteral("\\data\\topics.mdb")));
            QVERIFY(file.open(QIODevice::WriteOnly | QIODevice::Truncate));
            file.write(QByteArray(4096, 'x'));
        }
        startTest();
        RegTestForm->fullname->setEditText(name);
        RegTestForm->Class1->setEditText(classText);
        RegTestForm->division->setEditText(divisionText);
        QTest::mouseClick(RegTestForm->RBtn, Qt::LeftButton);

        if (message.isEmpty()) {
            QVERIFY(log.messages().isEmpty());
            QVERIFY(!RegTestForm->isVisible());
            QVERIFY(ObjectForm->isVisible());
            QVERIFY(!MainForm->isVisible());
            QCOMPARE(ObjectForm->cl1->currentIndex(), classText.toInt() - 1);
            // The subject window finds the class's topic rows open.
            QVERIFY(DataModule2->Topics.isOpen());
            QCOMPARE(DataModule2->Topics.recordCount(), classText == QLatin1String("7") ? 2 : 1);
        } else {
            QCOMPARE(log.texts(), QStringList{message});
            QCOMPARE(log.messages()[0].kind, MessageKind::Information);
            QVERIFY(RegTestForm->isVisible());
            QVERIFY(!ObjectForm->isVisible());
            QVERIFY(!MainForm->isVisible());
            // Nothing the pupil typed is lost.
            QCOMPARE(RegTestForm->fullname->currentText(), name);
            QCOMPARE(RegTestForm->Class1->currentText(), classText);
            QCOMPARE(RegTestForm->division->currentText(), divisionText);
        }
    }

    // The results window reads the pupil from here at the end of the run.
    void registrationKeepsThePupil() {
        fixture::RunningProgram program;
        addTopicRow(program.folder, 11, QStringLiteral("химия"));
        startTest();
        fixture::typeText(RegTestForm->fullname->lineEdit(), QStringLiteral("Елена Димова"));
        RegTestForm->Class1->setCurrentIndex(10);
        RegTestForm->division->lineEdit()->selectAll();
        fixture::typeText(RegTestForm->division->lineEdit(), QStringLiteral("Ж"));
        RegTestForm->noc->setValue(23);
        RegTestForm->RBtn->click();
        QVERIFY(ObjectForm->isVisible());
        QCOMPARE(RegTestForm->fullName(), QStringLiteral("Елена Димова"));
        QCOMPARE(RegTestForm->classText(), QStringLiteral("11"));
        QCOMPARE(RegTestForm->divisionPosition(), 7);
        QCOMPARE(RegTestForm->numberInClass(), 23);
    }

    void handOver_data() {
        QTest::addColumn<QString>("leave");
        QTest::addColumn<bool>("mainShown");
        QTest::newRow("Отказ") << "cancel" << true;
        QTest::newRow("close box") << "close" << true;
        QTest::newRow("Готово") << "ready" << false;
    }
    void handOver() {
        QFETCH(QString, leave);
        QFETCH(bool, mainShown);
        fixture::RunningProgram program;
        addTopicRow(program.folder, 7, QStringLiteral("математика"));
        MainForm->show();
        startTest();
        QVERIFY(!MainForm->isVisible());
        RegTestForm->fullname->setEditText(QStringLiteral("Иван"));
        RegTestForm->Class1->setCurrentIndex(6);
        if (leave == QLatin1String("cancel"))
            QTest::mouseClick(RegTestForm->CBtn, Qt::LeftButton);
        else if (leave == QLatin1String("close"))
            RegTestForm->close();
        else
            QTest::mouseClick(RegTestForm->RBtn, Qt::LeftButton);
        QVERIFY(!RegTestForm->isVisible());
        QCOMPARE(MainForm->isVisible(), mainShown);
        QCOMPARE(ObjectForm->isVisible(), !mainShown);

        // Whatever happened last time, the next registration left by its
        // close box returns to the main window.
        ObjectForm->hide();
        startTest();
        RegTestForm->close();
        QVERIFY(MainForm->isVisible());
    }

    // Without the pupil list the window still opens, reports the failure
    // once, and typing a name raises no further errors.
    void unreadablePupilDatabase() {
        fixture::RunningProgram program;
        fixture::MessageLog log;
        QVERIFY(QFile::remove(program.folder.file(QStringLiteral("\\data\\students.mdb"))));
        startTest();
        QVERIFY(RegTestForm->isVisible());
        QCOMPARE(log.messages().size(), 1);
        QCOMPARE(log.messages()[0].kind, MessageKind::Error);
        fixture::typeText(RegTestForm->fullname->lineEdit(), QStringLiteral("Иван"));
        QCOMPARE(log.messages().size(), 1);
        QCOMPARE(RegTestForm->fullname->currentText(), QStringLiteral("Иван"));
    }
};

QTEST_MAIN(TestRegistration)
#include "tst_registration.moc"
