// The term page in a real run: what a join, a removal and a pick look like,
// the tutor banner, the page shown again as it was left, and the keyboard.
#include "sessionrig.h"
#include "standing.h"

#include "session/matchcanvas.h"
#include "session/sessionrun.h"

#include <QKeyEvent>
#include <QPushButton>

using namespace sessiontest;

namespace {

const QString kTest = QStringLiteral("test");
const QString kTutor = QStringLiteral("tutor");

} // namespace

class TestTermPage : public QObject {
    Q_OBJECT

private:
    std::unique_ptr<Rig> m_rig;
    QString m_section; // four answers, terms 10/10, terms 6/6

    TTestForm* form() const { return m_rig->form; }
    SessionRun& run() const { return form()->run(); }
    // Question 2 (ten pairs) of a fresh run.
    void start(const QString& kind) {
        m_rig->draw(m_section, 3);
        m_rig->start(kind);
        m_rig->goTo(2);
    }
    // The meaning row that belongs to the term of `row`.
    int rightMeaning(int row) {
        for (const Row& pair : m_rig->rows(QStringLiteral("select * from temp1"))) {
            if (pair.value(QStringLiteral("id")).toInt() != run().questionId() ||
                pair.value(QStringLiteral("ttrue")).toString() != run().termText(row))
                continue;
            for (int j = 1; j <= run().rowCount(); ++j)
                if (run().meaningText(j) == pair.value(QStringLiteral("trtrue")).toString())
                    return j;
        }
        return 0;
    }
    // A press on the term, then a press and release on the meaning.
    void join(int term, int meaning) {
        QTest::mouseClick(form()->termLabel(term), Qt::LeftButton);
        QTest::mouseClick(form()->meaningLabel(meaning), Qt::LeftButton);
    }
    void key(Qt::Key k) { QTest::keyClick(form()->Panel8, k); }
    void checkScore() { QCOMPARE(qint64(form()->Score), standingPoints(DataModule2->ATemp1)); }

private slots:
    void initTestCase() {
        m_rig = std::make_unique<Rig>();
        m_section = m_rig->section(
            {four(QStringLiteral("Първи")),
             fixture::termMatching(fixture::numbered(QStringLiteral("понятие "), 10),
                                   fixture::numbered(QStringLiteral("значение "), 10),
                                   {1, 2, 3, 1, 2, 3, 1, 2, 3, 1}),
             fixture::termMatching(fixture::numbered(QStringLiteral("дума "), 6),
                                   fixture::numbered(QStringLiteral("смисъл "), 6),
                                   QList<int>(6, 1))});
    }
    void init() { m_rig->plainSettings(); }
    void cleanup() {
        if (form()->isVisible())
            form()->EndBtnClick();
    }
    void cleanupTestCase() { m_rig.reset(); }

    void aJoinIsTwoMarkersOfTheTermsColour() {
        start(kTest);
        QCOMPARE(m_rig->page(), int(TTestForm::Terms));
        join(3, 7);
        const QColor olive(0x80, 0x80, 0x00);
        QCOMPARE(form()->ImgCnvs1->marker(MatchCanvas::Left, 3), olive);
        QCOMPARE(form()->ImgCnvs1->marker(MatchCanvas::Right, 7), olive);
        QVERIFY(!form()->t3->isEnabled());
        QVERIFY(!form()->tr7->isEnabled());
        // As painted: filled in the colour, outlined in black, the right one
        // at the right edge of a canvas that widens with the window.
        const QImage canvas = form()->ImgCnvs1->grab().toImage();
        const QRect right = MatchCanvas::markerRect(MatchCanvas::Right, 7, canvas.width());
        QCOMPARE(right.right(), canvas.width() - 1);
        QCOMPARE(canvas.pixelColor(right.center()), olive);
        QCOMPARE(canvas.pixelColor(right.topLeft()), QColor(Qt::black));
        QCOMPARE(form()->ImgPnl1->geometry().right() + 5, form()->pto1->x());
        QVERIFY(form()->clBtn->isVisible());
        QCOMPARE(form()->clBtn->y(), form()->pto7->y() - 10);
        QCOMPARE(form()->arrow1->y(), form()->pon3->y() - 10);
        checkScore();

        // Six pairs show six rows; their colours stop at row 6.
        m_rig->goTo(3);
        int shown = 0;
        for (int i = 1; i <= 10; ++i)
            shown += form()->termBox(i)->isVisible() + form()->meaningBox(i)->isVisible();
        QCOMPARE(shown, 12);
    }

    void removalsUnderTheLimit() {
        SettingsForm->numcor1->setValue(2);
        start(kTest);
        const int right = rightMeaning(1);
        for (int removal = 1; removal <= 4; ++removal) {
            if (form()->t1->isEnabled())
                join(1, right);
            QVERIFY(form()->Score > 0);
            form()->Label13MouseEnter2(form()->meaningLabel(right));
            // Three removals for two corrections; then the button stays away.
            QCOMPARE(form()->clBtn->isVisible(), removal <= 3);
            QTest::mouseClick(form()->clBtn, Qt::LeftButton);
            QCOMPARE(form()->Score, removal <= 3 ? 0 : form()->Score);
            checkScore();
        }
        QCOMPARE(m_rig->temp().integer(QStringLiteral("Limit")), 3);
        // Joining goes on.
        join(2, rightMeaning(2));
        QVERIFY(!form()->t2->isEnabled());
        checkScore();
    }

    void tutorBanner() {
        start(kTutor);
        join(1, rightMeaning(2));
        QVERIFY(form()->Panel10->isVisible());
        QCOMPARE(form()->StaticText2->text(), QStringLiteral("грешно"));
        form()->StaticText2Click();
        join(3, rightMeaning(3));
        QVERIFY(form()->Panel10->isVisible());
        QCOMPARE(form()->StaticText2->text(), QStringLiteral("вярно"));
        form()->StaticText2Click();
        // A removal says nothing.
        form()->Label13MouseEnter2(form()->meaningLabel(rightMeaning(3)));
        QTest::mouseClick(form()->clBtn, Qt::LeftButton);
        QVERIFY(!form()->Panel10->isVisible());
        QCOMPARE(form()->Score, 0);
        checkScore();
    }

    void shownAgainAsItWasLeft() {
        start(kTest);
        join(2, 5);
        join(9, 1);
        QTest::mouseClick(form()->t4, Qt::LeftButton); // a pick never joined
        QCOMPARE(form()->ImgCnvs1->marker(MatchCanvas::Left, 4), MatchCanvas::rowColour(4));
        QTest::mouseClick(form()->NextBtn, Qt::LeftButton);
        // The move dropped the pick: its line row is gone, its term free.
        QCOMPARE(m_rig->rows(QStringLiteral("select * from temp2 where tr=0")).size(), 0);
        QTest::mouseClick(form()->BackBtn, Qt::LeftButton);
        for (int i = 1; i <= 10; ++i) {
            const bool joinedTerm = i == 2 || i == 9;
            const bool joinedMeaning = i == 5 || i == 1;
            QCOMPARE(form()->termLabel(i)->isEnabled(), !joinedTerm);
            QCOMPARE(form()->meaningLabel(i)->isEnabled(), !joinedMeaning);
            QCOMPARE(form()->ImgCnvs1->marker(MatchCanvas::Left, i).isValid(), joinedTerm);
        }
        QCOMPARE(form()->ImgCnvs1->marker(MatchCanvas::Right, 5), MatchCanvas::rowColour(2));
        QCOMPARE(form()->ImgCnvs1->marker(MatchCanvas::Right, 1), MatchCanvas::rowColour(9));
        // A press on a meaning without a pick draws nothing.
        QTest::mouseClick(form()->tr3, Qt::LeftButton);
        QVERIFY(form()->tr3->isEnabled());
        checkScore();
        form()->EndBtnClick();
        DataModule2->Temp.close();
        emit form()->tr5->entered();
        QVERIFY(m_rig->log.messages().isEmpty());
    }

    void theWholePageFromTheKeyboard() {
        SettingsForm->unnumcor1->setChecked(true);
        start(kTest);
        form()->Panel8->setFocus(Qt::TabFocusReason);
        QCOMPARE(form()->keyRow(), 1);
        QVERIFY(!form()->keyOnMeanings());
        // Enter picks term 1; a second Enter on another term does nothing.
        key(Qt::Key_Return);
        QVERIFY(run().pickActive());
        key(Qt::Key_Down);
        key(Qt::Key_Space);
        QCOMPARE(run().pickedRow(), 1);
        // To its meaning and join.
        const int right = rightMeaning(1);
        key(Qt::Key_Right);
        QVERIFY(form()->keyOnMeanings());
        while (form()->keyRow() != right)
            key(form()->keyRow() < right ? Qt::Key_Down : Qt::Key_Up);
        key(Qt::Key_Return);
        QVERIFY(!run().pickActive());
        QVERIFY(!form()->meaningLabel(right)->isEnabled());
        QVERIFY(form()->Score > 0);
        checkScore();
        // Delete takes the line back; Esc drops a pick.
        key(Qt::Key_Delete);
        QVERIFY(form()->meaningLabel(right)->isEnabled());
        QCOMPARE(form()->Score, 0);
        key(Qt::Key_Left);
        key(Qt::Key_Return);
        QVERIFY(run().pickActive());
        key(Qt::Key_Right);
        key(Qt::Key_Escape);
        QVERIFY(!run().pickActive());
        QCOMPARE(form()->meaningLabel(right)->palette().color(QPalette::WindowText), Qt::black);
        QVERIFY(form()->termLabel(form()->keyRow())->isEnabled());
        QCOMPARE(m_rig->count(QStringLiteral("temp2")), 0);
    }
};

QTEST_MAIN(TestTermPage)
#include "tst_session_terms.moc"
