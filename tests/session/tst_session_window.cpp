// The session window over a drawn run: set-up, moves, the clocks and the end
// of the run, with the run's tables in a real scratch database.
#include "sessionrig.h"

#include "results/valform.h"
#include "session/widgetcolours.h"

#include <QLabel>
#include <QPushButton>
#include <QSlider>

#include <QScreen>

using namespace sessiontest;

namespace {

const QString kTest = QStringLiteral("test");
const QString kTutor = QStringLiteral("tutor");

} // namespace

class TestSessionWindow : public QObject {
    Q_OBJECT

private:
    std::unique_ptr<Rig> m_rig;
    QString m_mixed; // four, term, gap, four, four

    // A fresh run of the mixed section.
    void run(const QString& kind, int count = 5) {
        m_rig->draw(m_mixed, count);
        m_rig->start(kind);
        QVERIFY(m_rig->form->isVisible());
    }
    void endRun() {
        if (m_rig->form->isVisible())
            m_rig->form->EndBtnClick();
    }
    // A program over the mixed section, made again only when the results
    // window is wanted or no longer wanted; set for a plain run.
    void useProgram(bool resultsWindow) {
        if (!m_rig || (ValForm != nullptr) != resultsWindow) {
            m_rig.reset();
            m_rig = std::make_unique<Rig>(resultsWindow);
            m_mixed = m_rig->section(
                {four(QStringLiteral("Колко е 2 + 2?"), 3),
                 fixture::termMatching({QStringLiteral("котка"), QStringLiteral("куче")},
                                       {QStringLiteral("мяу"), QStringLiteral("бау")}, {1, 1}),
                 fixture::gapFill(QStringLiteral("Столицата е [София], реката е [Дунав]."), {1, 1}),
                 four(QStringLiteral("Колко е 3 + 3?"), 2),
                 four(QStringLiteral("Колко е 4 + 4?"))});
        }
        m_rig->plainSettings();
        m_rig->log.clear();
    }

private slots:
    void init() { useProgram(false); }
    void cleanup() { endRun(); }
    void cleanupTestCase() { m_rig.reset(); }

    void setUp_data() {
        QTest::addColumn<QString>("kind");
        QTest::addColumn<bool>("back");
        QTest::addColumn<bool>("walk");
        QTest::addColumn<int>("strip");
        QTest::newRow("test run, both shown") << kTest << true << true << 24;
        QTest::newRow("test run, no back button") << kTest << false << true << 24;
        QTest::newRow("test run, no track bar") << kTest << true << false << 24;
        QTest::newRow("tutor run, both shown") << kTutor << true << true << 43;
        QTest::newRow("tutor run, neither") << kTutor << false << false << 43;
    }
    void setUp() {
        QFETCH(QString, kind);
        QFETCH(bool, back);
        QFETCH(bool, walk);
        QFETCH(int, strip);
        // The other kind's settings say the opposite: only the run's own count.
        const bool test = kind == kTest;
        (test ? SettingsForm->sbbc1 : SettingsForm->sbbc2)->setChecked(back);
        (test ? SettingsForm->srqc1 : SettingsForm->srqc2)->setChecked(walk);
        (test ? SettingsForm->sbbc2 : SettingsForm->sbbc1)->setChecked(!back);
        (test ? SettingsForm->srqc2 : SettingsForm->srqc1)->setChecked(!walk);
        m_rig->form->Score = 17;
        run(kind);
        TTestForm* f = m_rig->form;
        QCOMPARE(f->Score, 0);
        QCOMPARE(m_rig->temp().recNo(), 1);
        QCOMPARE(m_rig->current(QStringLiteral("ChTrueAns")), QStringLiteral("no"));
        QCOMPARE(m_rig->page(), int(TTestForm::FourAnswers));
        QCOMPARE(f->Quest->text(), QStringLiteral("Колко е 2 + 2?"));
        QCOMPARE(f->con->text(), QStringLiteral("Отговорете на въпроса."));
        QCOMPARE(f->QP1->minimum(), 1);
        QCOMPARE(f->QP1->maximum(), 5);
        QCOMPARE(f->QP1->value(), 1);
        QCOMPARE(f->BackBtn->isVisible(), back);
        QCOMPARE(f->QP1->isVisible(), walk);
        QVERIFY(f->NextBtn->isVisible());
        QVERIFY(f->EndBtn->isVisible());
        QCOMPARE(f->TopPanel1->height(), strip);
        QCOMPARE(f->fal1->isVisible(), !test);
        QVERIFY(DataModule2->displayEnabled());
        QVERIFY(DataModule2->WindowReady);
        QVERIFY(DataModule2->SessionStarted);
        QVERIFY(!ObjectForm->isVisible());
        QVERIFY(f->DesignTimer1->isActive());
        QVERIFY(f->windowState() & Qt::WindowMaximized);
        QCOMPARE(f->windowTitle(), QStringLiteral("Тест"));
    }

    void clockAtSetUp_data() {
        QTest::addColumn<QString>("kind");
        QTest::addColumn<bool>("setting");
        QTest::addColumn<QList<int>>("limit");
        QTest::addColumn<QString>("clock"); // empty: hidden
        QTest::newRow("timed test run") << kTest << true << QList<int>{0, 40, 0} << "0:40:0";
        QTest::newRow("time setting off") << kTest << false << QList<int>{0, 40, 0} << "";
        QTest::newRow("no time in the setting") << kTest << true << QList<int>{0, 0, 0} << "";
        QTest::newRow("tutor run") << kTutor << true << QList<int>{0, 40, 0} << "";
    }
    void clockAtSetUp() {
        QFETCH(QString, kind);
        QFETCH(bool, setting);
        QFETCH(QList<int>, limit);
        QFETCH(QString, clock);
        m_rig->timeLimit(limit[0], limit[1], limit[2]);
        SettingsForm->chtime1->setChecked(setting);
        // What an earlier pupil's run left must not be printed for this one.
        m_rig->form->ElapsedText = QStringLiteral("1:2:3");
        run(kind);
        TTestForm* f = m_rig->form;
        QCOMPARE(f->Timer2->isVisible(), !clock.isEmpty());
        QCOMPARE(f->Timer1->isActive(), !clock.isEmpty());
        if (!clock.isEmpty())
            QCOMPARE(f->Timer2->text(), clock);
        else
            QCOMPARE((QList<int>{f->LeftHours, f->LeftMinutes, f->LeftSeconds}),
                     (QList<int>{0, 0, 0}));
        // Every test run counts its time; a tutor run keeps none.
        QCOMPARE(f->Timer5->isActive(), kind == kTest);
        QCOMPARE(f->ElapsedText, QStringLiteral("0:0:0"));
        if (kind == kTest) {
            f->Timer5Timer();
            f->Timer5Timer();
            QCOMPARE(f->ElapsedText, QStringLiteral("0:0:2"));
        }
    }

    void countDown_data() {
        QTest::addColumn<QList<int>>("limit");
        QTest::addColumn<int>("ticks");
        QTest::addColumn<QString>("clock");
        QTest::addColumn<bool>("red");
        QTest::newRow("a minute, first tick") << QList<int>{0, 1, 0} << 1 << "0:0:59" << true;
        QTest::newRow("two minutes, a minute on") << QList<int>{0, 2, 0} << 60 << "0:1:0" << false;
        QTest::newRow("two minutes, then red") << QList<int>{0, 2, 0} << 61 << "0:0:59" << true;
    }
    void countDown() {
        QFETCH(QList<int>, limit);
        QFETCH(int, ticks);
        QFETCH(QString, clock);
        QFETCH(bool, red);
        m_rig->timeLimit(limit[0], limit[1], limit[2]);
        run(kTest);
        TTestForm* f = m_rig->form;
        QCOMPARE(textColour(f->Timer2), QColor(Qt::black));
        for (int i = 0; i < ticks; ++i)
            f->Timer1Timer();
        QCOMPARE(f->Timer2->text(), clock);
        QCOMPARE(textColour(f->Timer2), red ? QColor(0xFF, 0, 0) : QColor(Qt::black));
        QVERIFY(f->isVisible());
    }

    void timeUpEndsTheRun_data() {
        QTest::addColumn<QString>("kind");
        QTest::newRow("test run") << kTest;
        QTest::newRow("timer in a tutor run") << kTutor;
    }
    void timeUpEndsTheRun() {
        QFETCH(QString, kind);
        m_rig->timeLimit(0, 0, 2);
        SettingsForm->numcor1->setValue(7);
        run(kind);
        TTestForm* f = m_rig->form;
        if (kind == kTutor) {
            // A tutor run is never timed; its clock ends it as the button does.
            QVERIFY(!f->Timer1->isActive());
            f->LeftSeconds = 2;
        }
        f->Timer1Timer();
        QVERIFY(f->isVisible());
        f->Timer1Timer();
        QVERIFY(!f->isVisible());
        QVERIFY(!f->Timer1->isActive());
        QVERIFY(!DataModule2->displayEnabled());
        QVERIFY(!m_rig->temp().isOpen());
        QCOMPARE(m_rig->count(QStringLiteral("temp4")), 0);
        QVERIFY(MainForm->isVisible());
        QVERIFY(MainForm->isEnabled());
        if (kind == kTutor) {
            QVERIFY(!SettingsForm->unnumcor1->isChecked());
            QCOMPARE(SettingsForm->numcor1->value(), 7);
        }
    }

    void movesAtBothEnds_data() {
        QTest::addColumn<int>("from");
        QTest::addColumn<bool>("forward");
        QTest::addColumn<int>("to");
        QTest::newRow("back from the first") << 1 << false << 1;
        QTest::newRow("next from the last") << 5 << true << 5;
        QTest::newRow("back from the last") << 5 << false << 4;
        QTest::newRow("next from the fourth") << 4 << true << 5;
    }
    void movesAtBothEnds() {
        QFETCH(int, from);
        QFETCH(bool, forward);
        QFETCH(int, to);
        run(kTest);
        TTestForm* f = m_rig->form;
        m_rig->goTo(from);
        // Answer box 2, then spoil what the arrival steps put right.
        f->Ans2Click();
        f->QuestPanel->setFixedHeight(3);
        f->ans1MouseEnter(f->ans3);
        QTest::mouseClick(forward ? f->NextBtn : f->BackBtn, Qt::LeftButton);
        QCOMPARE(m_rig->temp().recNo(), to);
        QCOMPARE(f->QP1->value(), to);
        QVERIFY(f->QuestPanel->height() > 3);
        QCOMPARE(fillColour(f->ans3), TTestForm::kPlainColour);
        QCOMPARE(fillColour(f->ans2),
                 from == to ? TTestForm::kChosenColour : TTestForm::kPlainColour);
        QCOMPARE(m_rig->current(QStringLiteral("ChTrueAns")), QStringLiteral("no"));
    }

    void trackBar() {
        run(kTest);
        TTestForm* f = m_rig->form;
        QCOMPARE(m_rig->rows(QStringLiteral("select ChTrueAns from temp4 where id=3"))
                     .value(0)
                     .value(QStringLiteral("chtrueans"))
                     .toString(),
                 QString());
        f->QP1->setValue(3);
        QCOMPARE(m_rig->temp().recNo(), 3);
        QCOMPARE(m_rig->page(), int(TTestForm::GapText));
        QCOMPARE(f->con->text(), QStringLiteral("Попълнете липсващите думи."));
        QCOMPARE(m_rig->current(QStringLiteral("ChTrueAns")), QStringLiteral("no"));
        f->QP1->setValue(2);
        QCOMPARE(m_rig->page(), int(TTestForm::Terms));
        QTest::mouseClick(f->NextBtn, Qt::LeftButton);
        QCOMPARE(f->QP1->value(), 3);
        QCOMPARE(m_rig->page(), int(TTestForm::GapText));
    }

    void endOfRun_data() {
        QTest::addColumn<QString>("kind");
        QTest::addColumn<bool>("unlimited");
        QTest::addColumn<int>("corrections");
        QTest::newRow("test run") << kTest << false << 2;
        QTest::newRow("tutor run, limited before") << kTutor << false << 4;
        QTest::newRow("tutor run, unlimited before") << kTutor << true << 0;
    }
    void endOfRun() {
        QFETCH(QString, kind);
        QFETCH(bool, unlimited);
        QFETCH(int, corrections);
        SettingsForm->unnumcor1->setChecked(unlimited);
        SettingsForm->numcor1->setValue(corrections);
        run(kind);
        TTestForm* f = m_rig->form;
        m_rig->goTo(3);
        QVERIFY(m_rig->count(QStringLiteral("temp")) > 0);
        QVERIFY(m_rig->count(QStringLiteral("sltable")) > 0);
        QTest::mouseClick(f->EndBtn, Qt::LeftButton);
        QVERIFY(!f->isVisible());
        QCOMPARE(m_rig->count(QStringLiteral("temp4")), 0);
        QCOMPARE(m_rig->count(QStringLiteral("temp")), 0);
        QCOMPARE(m_rig->count(QStringLiteral("sltable")), 0);
        QVERIFY(!m_rig->temp().isOpen());
        QVERIFY(!DataModule2->Words.isOpen());
        QVERIFY(!DataModule2->Clone1.isOpen());
        QVERIFY(!f->Timer5->isActive());
        QVERIFY(MainForm->isVisible());
        QCOMPARE(SettingsForm->unnumcor1->isChecked(), unlimited);
        QCOMPARE(SettingsForm->numcor1->value(), corrections);
    }

    void handOverToTheResults() {
        useProgram(true);
        run(kTest);
        TTestForm* f = m_rig->form;
        f->Ans1Click();
        QCOMPARE(f->Score, 3);
        f->Timer5Timer();
        QTest::mouseClick(f->EndBtn, Qt::LeftButton);
        QVERIFY(ValForm->isVisible());
        QCOMPARE(ValForm->sc1->text(), QStringLiteral("получени точки: 3"));
        QCOMPARE(ValForm->gs1->text(), QStringLiteral("общо точки: 10"));
        QCOMPARE(f->ElapsedText, QStringLiteral("0:0:1"));
        QVERIFY(MainForm->isVisible());
        // The results have been read; the scratch database is let go as the
        // results window left it, and the run's list is gone.
        QVERIFY(!DataModule2->ATemp1.isOpen());
        QCOMPARE(m_rig->count(QStringLiteral("temp4")), 0);
        ValForm->close();
    }

    void maximisedInEveryRun() {
        const QSize screen = QGuiApplication::primaryScreen()->availableGeometry().size();
        for (int runs = 1; runs <= 3; ++runs) {
            run(kTest);
            QApplication::processEvents();
            QVERIFY(m_rig->form->isMaximized());
            QVERIFY2(m_rig->form->frameGeometry().size() == screen,
                     qPrintable(QString::number(runs)));
            endRun();
        }
    }

    void onlyTheEndClosesTheWindow() {
        run(kTest);
        m_rig->form->close();
        QVERIFY(m_rig->form->isVisible());
        QCOMPARE(m_rig->count(QStringLiteral("temp4")), 5);
    }

    void emptyQuestionList_data() {
        QTest::addColumn<QString>("kind");
        QTest::newRow("test run") << kTest;
        QTest::newRow("tutor run") << kTutor;
    }
    void emptyQuestionList() {
        QFETCH(QString, kind);
        SettingsForm->numcor1->setValue(5);
        m_rig->draw(m_mixed, 2);
        Query& temp = m_rig->temp();
        temp.setSql({QStringLiteral("delete * from temp4")});
        temp.exec();
        temp.setSql({QStringLiteral("select * from temp4")});
        temp.open();
        m_rig->start(kind);
        QVERIFY(!m_rig->form->isVisible());
        QCOMPARE(m_rig->log.messages().size(), 1);
        QCOMPARE(m_rig->log.messages()[0].kind, MessageKind::Information);
        QTRY_VERIFY(MainForm->isVisible());
        QVERIFY(!SettingsForm->unnumcor1->isChecked());
        QCOMPARE(SettingsForm->numcor1->value(), 5);
    }
};

QTEST_MAIN(TestSessionWindow)
#include "tst_session_window.moc"
