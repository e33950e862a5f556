#include "testform.h"

#include "clock.h"
#include "display.h"
#include "eventlabel.h"
#include "sessionrun.h"
#include "widgetcolours.h"

#include "kit/hints.h"
#include "kit/messages.h"
#include "kit/namedchild.h"
#include "question/question.h"
#include "settings/settingsform.h"
#include "settings/spinfield.h"
#include "store/connection.h"
#include "store/datamodule.h"
#include "store/schema.h"
#include "ui/instances.h"
#include "ui/mainwindow.h"
#include "ui/runflow.h"

#include <QCheckBox>
#include <QFrame>
#include <QGroupBox>
#include <QLabel>
#include <QPushButton>
#include <QSignalBlocker>
#include <QSlider>
#include <QStackedWidget>
#include <QStatusBar>
#include <QTimer>
#include <utility>

namespace {

const QString kTest = QStringLiteral("test");
const QString kTutor = QStringLiteral("tutor");

const QString kNoQuestions = QStringLiteral("Няма изтеглени въпроси за този тест.\r"
                                            "Моля, изберете друг раздел.");

constexpr int kTestStripHeight = 24;
constexpr int kTutorStripHeight = 43;

const QColor kClockRed(0xFF, 0x00, 0x00);

Query& questions() {
    return DataModule2->Temp;
}

// The settings window's controls and the subject window's run kind, read at
// every action: a tutor run has forced unlimited corrections for its length.
class ProgramRunSettings final : public RunSettings {
public:
    bool unlimitedCorrections() const override {
        return SettingsForm && SettingsForm->unnumcor1->isChecked();
    }
    int correctionsCount() const override {
        return SettingsForm ? SettingsForm->numcor1->value() : 0;
    }
    bool tutorRun() const override { return TTestForm::tutorRun(); }
};

} // namespace

TTestForm::TTestForm(QWidget* parent)
    : TForm(parent, Qt::Window | Qt::CustomizeWindowHint | Qt::WindowTitleHint,
            TForm::Guard::ShowAndClose),
      m_runSettings(std::make_unique<ProgramRunSettings>()),
      m_run(std::make_unique<SessionRun>(*DataModule2, *m_runSettings)), Score(m_run->Score) {
    setObjectName(QStringLiteral("TestForm"));
    setWindowTitle(QStringLiteral("Тест"));
    setWindowState(Qt::WindowMaximized);
    // Only the end of a run closes the window: no close box, no Alt+F4.
    refuseOtherCloses();

    const auto timer = [this](const char* name, int interval, bool once) {
        auto* t = namedChild<QTimer>(this, name);
        t->setInterval(interval);
        t->setSingleShot(once);
        return t;
    };
    Timer1 = timer("Timer1", 1000, false);
    Timer5 = timer("Timer5", 1000, false);
    DesignTimer1 = timer("DesignTimer1", 100, true);
    ScrollerLeft1 = timer("ScrollerLeft1", 1, false);
    ScrollerRight1 = timer("ScrollerRight1", 1, false);

    buildWindow();
    connectHandlers();
    if (DataModule2)
        connectDisplayHandlers(*DataModule2, *this);
    followHints(GroupBox1, StatusBar1, HintPart::Whole);
}

TTestForm::~TTestForm() {
    if (DataModule2)
        disconnectDisplayHandlers(*DataModule2);
}

TTestForm::Page TTestForm::pageOf(question::Kind kind) {
    switch (kind) {
    case question::Kind::Choice:
        return FourAnswers;
    case question::Kind::Matching:
        return Terms;
    case question::Kind::Gaps:
        return GapText;
    }
    return FourAnswers;
}

QString TTestForm::sessionKind() {
    return runKind();
}

bool TTestForm::tutorRun() {
    return sessionKind() == kTutor;
}

bool TTestForm::hasQuestions() const {
    return DataModule2 && questions().isOpen() && questions().recordCount() > 0;
}

void TTestForm::setVisible(bool visible) {
    // An empty question list never becomes a session the pupil cannot leave
    // sensibly: the window stays hidden and the pupil is told why.
    if (visible && !isVisible() && !hasQuestions()) {
        refuseEmptyRun();
        return;
    }
    // A window shown again keeps its maximised flag but not always its size:
    // the state is set anew, so every run fills the screen.
    if (visible && !isVisible()) {
        setWindowState(windowState() & ~Qt::WindowMaximized);
        setWindowState(windowState() | Qt::WindowMaximized);
    }
    QWidget::setVisible(visible);
}

void TTestForm::refuseEmptyRun() {
    if (DataModule2)
        DataModule2->setDisplayEnabled(false);
    showMessage(MessageKind::Information, kNoQuestions);
    if (sessionKind() != kTest)
        restoreCorrectionsSettings();
    // After the handler that wanted to show this window has finished: it
    // may hide the main window on its way out.
    QTimer::singleShot(0, this, [] { showMainWindow(); });
}

void TTestForm::FormShow() {
    TDataModule2& dm = *DataModule2;
    Query& temp = dm.Temp;

    dm.WindowReady = false;
    hideSubjectWindow();
    m_run->start();
    LineOpen = false;
    m_pictureId = -1;
    // Whatever the previous run drew on the term page is gone; the first
    // term question is shown before the window is ready to redraw it.
    resetMatchingPage();

    {
        const QSignalBlocker block(QP1);
        QP1->setMinimum(1);
        QP1->setMaximum(temp.recordCount());
        QP1->setValue(1);
    }

    const bool test = sessionKind() == kTest;
    BackBtn->setVisible(test ? SettingsForm->sbbc1->isChecked() : SettingsForm->sbbc2->isChecked());
    QP1->setVisible(test ? SettingsForm->srqc1->isChecked() : SettingsForm->srqc2->isChecked());
    NextBtn->show();
    EndBtn->show();

    const ClockTime limit{SettingsForm->hour1->value(), SettingsForm->min1->value(),
                          SettingsForm->sec1->value()};
    ClockTime left;
    if (isTimedRun(SettingsForm->chtime1->isChecked(), limit, sessionKind() == kTutor)) {
        left = limit;
        Timer2->setText(clockText(left));
        setTextColour(Timer2, inLastMinute(left) ? kClockRed : Qt::black);
        Timer2->show();
        Timer1->start();
    } else {
        Timer2->hide();
        Timer1->stop();
    }
    LeftHours = left.hours;
    LeftMinutes = left.minutes;
    LeftSeconds = left.seconds;
    // Every test run counts the time it takes, timed or not, so that the
    // printout never shows an earlier pupil's time.
    ElapsedHours = ElapsedMinutes = ElapsedSeconds = 0;
    ElapsedText = clockText({});
    if (test)
        Timer5->start();
    else
        Timer5->stop();

    temp.first();
    m_run->markVisited();

    for (int k = 1; k <= 4; ++k)
        paintAnswer(k, kPlainColour, Qt::black);
    EventChooseAns();

    if (const auto kind = question::kindOf(temp.integer(QStringLiteral("typequest"))))
        Pages1->setCurrentIndex(pageOf(*kind));

    DesignTimer1->start();

    // The pass over the last question and back lets every page take its
    // content once before the pupil sees the first question.
    dm.setDisplayEnabled(true);
    temp.last();
    dm.SessionStarted = true;
    dm.TextQuestionsShown = 0;
    temp.first();
    dm.WindowReady = true;
    // The first question was shown before the page could be redrawn.
    if (m_run->kind() == question::Kind::Matching)
        ClearIC1();

    const bool tutor = sessionKind() == kTutor;
    TopPanel1->setFixedHeight(tutor ? kTutorStripHeight : kTestStripHeight);
    fal1->setVisible(tutor);
    fab1->setVisible(tutor);
    TopPanel1->update();

    UpdateQA();
}

void TTestForm::UpdateQA() {
    const Query& temp = questions();
    con->setText(temp.text(QStringLiteral("Condition")));
    con->adjustSize();
    Quest->setText(temp.text(QStringLiteral("Quest")));
    ans1->setText(temp.text(QStringLiteral("AnsA")));
    ans2->setText(temp.text(QStringLiteral("AnsB")));
    ans3->setText(temp.text(QStringLiteral("AnsC")));
    ans4->setText(temp.text(QStringLiteral("AnsD")));
}

void TTestForm::BackBtnClick() {
    Query& temp = questions();
    if (temp.recNo() > 1)
        temp.prior();
    UpdateQA();
    followRowOnTrackBar();
    arrive();
}

void TTestForm::NextBtnClick() {
    Query& temp = questions();
    if (temp.recNo() < temp.recordCount())
        temp.next();
    UpdateQA();
    followRowOnTrackBar();
    arrive();
}

void TTestForm::QP1Change() {
    questions().moveTo(QP1->value());
    UpdateQA();
    arrive();
}

void TTestForm::followRowOnTrackBar() {
    const QSignalBlocker block(QP1);
    QP1->setValue(questions().recNo());
}

void TTestForm::arrive() {
    m_run->markVisited();
    EventChooseAns();
    Design();
}

void TTestForm::Timer1Timer() {
    const ClockTime left = countDown({LeftHours, LeftMinutes, LeftSeconds});
    LeftHours = left.hours;
    LeftMinutes = left.minutes;
    LeftSeconds = left.seconds;
    setTextColour(Timer2, inLastMinute(left) ? kClockRed : Qt::black);
    if (timeIsUp(left))
        EndBtnClick();
    Timer2->setText(clockText(left));
}

void TTestForm::Timer5Timer() {
    const ClockTime used = countUp({ElapsedHours, ElapsedMinutes, ElapsedSeconds});
    ElapsedHours = used.hours;
    ElapsedMinutes = used.minutes;
    ElapsedSeconds = used.seconds;
    ElapsedText = clockText(used);
}

void TTestForm::EndBtnClick() {
    dropPick();
    DataModule2->setDisplayEnabled(false);
    Timer1->stop();
    // The time used stops with the run; the results window reads it.
    Timer5->stop();
    hide();
    // The grade comes before the clean-up, which writes to the scratch file:
    // a disk that refuses it must not cost the pupil the result. The results
    // window lets the scratch database go, so the tables to empty are noted
    // first.
    QList<Query*> gapTables;
    for (Query* query : {&DataModule2->Clone1, &DataModule2->Words})
        if (query->isOpen())
            gapTables.append(query);
    if (sessionKind() == kTest) {
        showRunResults();
    } else {
        restoreCorrectionsSettings();
        showMainWindow();
    }
    emptyGapTables(gapTables);
    closeByButton();
}

void TTestForm::emptyGapTables(const QList<Query*>& tables) {
    Connection* scratch = tables.isEmpty() ? nullptr : tables.front()->connection();
    const bool wasConnected = scratch && scratch->isOpen();
    for (Query* query : tables) {
        const QString table =
            query == &DataModule2->Clone1 ? QStringLiteral("sltable") : QStringLiteral("temp");
        query->close();
        query->setSql({QStringLiteral("delete * from ") + table});
        query->exec();
        query->close();
    }
    if (scratch && !wasConnected)
        scratch->close();
}

void TTestForm::FormClose() {
    Query& temp = questions();
    // The results window lets the scratch database go once it has read the
    // run, which closes the question list too: the list is emptied all the
    // same, and the database let go again afterwards.
    Connection* scratch = temp.connection();
    if (!temp.isOpen() && (!scratch || scratch->connectionString().isEmpty()))
        return;
    const bool wasConnected = scratch && scratch->isOpen();
    temp.setSql({QStringLiteral("delete * from temp4")});
    temp.exec();
    if (scratch && !wasConnected)
        scratch->close();
}

#include "moc_testform.cpp"
