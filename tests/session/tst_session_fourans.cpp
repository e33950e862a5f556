// Four-answer questions in a real run: the clicks and their corrections
// limit, the score, the chosen box shown again, the hover and the tutor
// banner.
#include "sessionrig.h"

#include "session/shuffle.h"
#include "session/widgetcolours.h"

#include <QPushButton>

using namespace sessiontest;

namespace {

const QString kTest = QStringLiteral("test");
const QString kTutor = QStringLiteral("tutor");
const QColor kRed(0xFF, 0x00, 0x00);

} // namespace

class TestFourAnswers : public QObject {
    Q_OBJECT

private:
    std::unique_ptr<Rig> m_rig;
    QString m_section; // three four-answer questions worth 3, 1, 1; А is right

    void run(const QString& kind) {
        m_rig->draw(m_section, 3);
        m_rig->start(kind);
    }
    TTestForm* form() const { return m_rig->form; }
    // Clicks box 1..4 as the pupil does.
    void click(int box) { QTest::mouseClick(form()->answerLabel(box), Qt::LeftButton); }
    QString chosen() const { return m_rig->current(QStringLiteral("ChAns")); }

private slots:
    void initTestCase() {
        m_rig = std::make_unique<Rig>();
        m_section = m_rig->section({four(QStringLiteral("Първи"), 3), four(QStringLiteral("Втори")),
                                    four(QStringLiteral("Трети"))});
    }
    void init() { m_rig->plainSettings(); }
    void cleanup() {
        if (form()->isVisible())
            form()->EndBtnClick();
    }
    void cleanupTestCase() { m_rig.reset(); }

    void rightWrongRight() {
        run(kTest);
        QCOMPARE(m_rig->current(QStringLiteral("TrueAns")), QStringLiteral("А"));
        const QList<int> boxes = {1, 3, 1, 1};
        const QList<int> scores = {3, 0, 3, 3};
        const QStringList marks = {"yes", "no", "yes", "yes"};
        for (int i = 0; i < boxes.size(); ++i) {
            click(boxes[i]);
            QCOMPARE(form()->Score, scores[i]);
            QCOMPARE(m_rig->current(QStringLiteral("ChTrueAns")), marks[i]);
        }
        // Another question's points add to these.
        m_rig->goTo(2);
        click(1);
        QCOMPARE(form()->Score, 4);
    }

    void wrongFirst() {
        run(kTest);
        click(2);
        QCOMPARE(form()->Score, 0);
        QCOMPARE(m_rig->current(QStringLiteral("ChTrueAns")), QStringLiteral("no"));
        QCOMPARE(chosen(), QStringLiteral("Б"));
    }

    void correctionsLimit_data() {
        QTest::addColumn<bool>("unlimited");
        QTest::addColumn<int>("corrections");
        QTest::addColumn<int>("counted");
        QTest::newRow("no corrections") << false << 0 << 1;
        QTest::newRow("two corrections") << false << 2 << 3;
        QTest::newRow("unlimited") << true << 0 << 6;
    }
    void correctionsLimit() {
        QFETCH(bool, unlimited);
        QFETCH(int, corrections);
        QFETCH(int, counted);
        SettingsForm->unnumcor1->setChecked(unlimited);
        SettingsForm->numcor1->setValue(corrections);
        run(kTest);
        // Wrong and right in turn: every counted click shows in the choice.
        const QList<int> boxes = {2, 1, 3, 1, 4, 1};
        QString lastCounted;
        for (int i = 0; i < boxes.size(); ++i) {
            click(boxes[i]);
            if (i < counted)
                lastCounted = QString(answerLetter(boxes[i]));
            QCOMPARE(chosen(), lastCounted);
            QCOMPARE(fillColour(form()->answerLabel(answerBox(lastCounted.at(0)))),
                     TTestForm::kChosenColour);
        }
        QCOMPARE(m_rig->temp().integer(QStringLiteral("Limit")), unlimited ? 0 : counted);
        QCOMPARE(form()->Score, lastCounted == QStringLiteral("А") ? 3 : 0);
    }

    void choiceShownAgain() {
        run(kTest);
        click(1);
        m_rig->goTo(2);
        click(4);
        QCOMPARE(form()->Score, 3);
        QTest::mouseClick(form()->BackBtn, Qt::LeftButton);
        QCOMPARE(fillColour(form()->ans1), TTestForm::kChosenColour);
        QCOMPARE(textColour(form()->ans1), kRed);
        QCOMPARE(fillColour(form()->answerBox(1)->viewport()), TTestForm::kChosenColour);
        QCOMPARE(fillColour(form()->ans4), TTestForm::kPlainColour);
        QCOMPARE(textColour(form()->ans4), QColor(Qt::black));
        // A right click on a question already counted adds nothing.
        click(1);
        QCOMPARE(form()->Score, 3);
        m_rig->goTo(3);
        for (int k = 1; k <= 4; ++k)
            QCOMPARE(fillColour(form()->answerLabel(k)), TTestForm::kPlainColour);
    }

    void hover() {
        run(kTest);
        click(2);
        TTestForm* f = form();
        f->ans1MouseEnter(f->ans2);
        QCOMPARE(fillColour(f->ans2), TTestForm::kChosenColour);
        f->ans1MouseLeave(f->ans2);
        QCOMPARE(fillColour(f->ans2), TTestForm::kChosenColour);
        f->ans1MouseEnter(f->ans3);
        QCOMPARE(fillColour(f->ans3), TTestForm::kHoverColour);
        QCOMPARE(fillColour(f->answerBox(3)->viewport()), TTestForm::kHoverColour);
        f->ans1MouseLeave(f->ans3);
        QCOMPARE(fillColour(f->ans3), TTestForm::kPlainColour);
    }

    void banner_data() {
        QTest::addColumn<QString>("kind");
        QTest::addColumn<int>("box");
        QTest::addColumn<QString>("notice"); // empty: none
        QTest::newRow("test run, right") << kTest << 1 << QString();
        QTest::newRow("test run, wrong") << kTest << 2 << QString();
        QTest::newRow("tutor run, right") << kTutor << 1 << QStringLiteral("вярно");
        QTest::newRow("tutor run, wrong") << kTutor << 2 << QStringLiteral("грешно");
    }
    void banner() {
        QFETCH(QString, kind);
        QFETCH(int, box);
        QFETCH(QString, notice);
        run(kind);
        TTestForm* f = form();
        click(box);
        QCOMPARE(f->Panel10->isVisible(), !notice.isEmpty());
        if (notice.isEmpty())
            return;
        QCOMPARE(f->StaticText2->text(), notice);
        // Centred on the window.
        const QPoint centre = f->Panel10->geometry().center();
        QVERIFY(qAbs(centre.x() - f->frameGeometry().width() / 2) <= 1);
        QTest::mouseClick(f->StaticText2, Qt::LeftButton);
        QVERIFY(!f->Panel10->isVisible());
        click(box);
        QVERIFY(f->Panel10->isVisible());
        QTest::mouseClick(f->NextBtn, Qt::LeftButton);
        QVERIFY(!f->Panel10->isVisible());
    }
};

QTEST_MAIN(TestFourAnswers)
#include "tst_session_fourans.moc"
