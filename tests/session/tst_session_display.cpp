// Each kind of question on its page, shown again as it was left; the
// pictures, the picture page, the condition strip and the full answer.
#include "sessionrig.h"

#include "session/sessionrun.h"

#include "media/picture.h"
#include "session/picturebox.h"
#include "session/widgetcolours.h"
#include "tools/jpeg/jpegwrite.h"

#include <QGroupBox>
#include <QListWidget>
#include <QPushButton>
#include <QTextCursor>
#include <QTextDocument>
#include <QTextEdit>
#include <QToolButton>

using namespace sessiontest;

namespace {

const QString kTest = QStringLiteral("test");
const QString kTutor = QStringLiteral("tutor");
const QString kMarker = QStringLiteral(" ..... ");

QByteArray jpeg(int w, int h) {
    QImage image(w, h, QImage::Format_RGB32);
    image.fill(QColor(0x33, 0x88, 0xCC));
    return encodeJpeg(image, 90);
}

// Whether every character of [from, from + n) of the text box is red.
bool allRed(QTextEdit* text, int from, int n) {
    for (int i = from; i < from + n; ++i) {
        QTextCursor c(text->document());
        c.setPosition(i + 1);
        if (c.charFormat().foreground().color() != QColor(0xFF, 0, 0))
            return false;
    }
    return true;
}

} // namespace

class TestQuestionDisplay : public QObject {
    Q_OBJECT

private:
    std::unique_ptr<Rig> m_rig;
    // four (picture), terms 12/12, gaps (5, one word twice, picture), four
    // (damaged picture), terms 7/9, four (picture larger than any box), four
    QString m_mixed;
    fixture::Question m_gaps;

    TTestForm* form() const { return m_rig->form; }
    void run(const QString& kind, const QString& section, int count) {
        m_rig->draw(section, count);
        m_rig->start(kind);
    }
    int visibleBoxes(bool terms) const {
        int n = 0;
        for (int i = 1; i <= 10; ++i)
            n += (terms ? form()->termBox(i) : form()->meaningBox(i))->isVisible() ? 1 : 0;
        return n;
    }
    QList<int> gapStarts(const QString& table, int id) {
        QList<int> starts;
        for (const Row& r :
             m_rig->rows(QStringLiteral("select start from %1%2 order by start")
                             .arg(table, id ? QStringLiteral(" where id=%1").arg(id) : QString())))
            starts.append(r.value(QStringLiteral("start")).toInt());
        return starts;
    }

private slots:
    void initTestCase() {
        m_rig = std::make_unique<Rig>();
        fixture::Question pictured = four(QStringLiteral("С картина"));
        pictured.picture = jpeg(40, 30);
        m_gaps = fixture::gapFill(QStringLiteral("Едно [слънце] грее, [две] птици пеят, [слънце] "
                                                 "залязва, [три] звезди и [четири] луни."),
                                  {1, 2, 1, 1, 3});
        m_gaps.picture = jpeg(64, 64);
        fixture::Question damaged = four(QStringLiteral("Повредена картина"));
        damaged.picture = QByteArray("\xFF\xD8\xFF\xE0 не е картина", 20);
        QList<int> nine(9, 1);
        fixture::Question large = four(QStringLiteral("Голяма картина"));
        large.picture = jpeg(1600, 1200);
        m_mixed = m_rig->section(
            {pictured,
             fixture::termMatching(fixture::numbered(QStringLiteral("понятие "), 12),
                                   fixture::numbered(QStringLiteral("значение "), 12),
                                   QList<int>(12, 1)),
             m_gaps, damaged,
             fixture::termMatching(fixture::numbered(QStringLiteral("термин "), 7),
                                   fixture::numbered(QStringLiteral("смисъл "), 9), nine),
             large, four(QStringLiteral("Без картина"))});
    }
    void init() {
        m_rig->plainSettings();
        m_rig->log.clear();
    }
    void cleanup() {
        if (form()->isVisible())
            form()->EndBtnClick();
    }
    void cleanupTestCase() { m_rig.reset(); }

    void termRows_data() {
        QTest::addColumn<int>("row");
        QTest::addColumn<QString>("damage"); // applied to temp4 before the visit
        QTest::addColumn<int>("terms");
        QTest::addColumn<int>("meanings");
        QTest::newRow("twelve meanings show ten") << 2 << QString() << 10 << 10;
        QTest::newRow("seven terms, nine meanings") << 5 << QString() << 7 << 9;
        QTest::newRow("no meanings show nothing")
            << 5 << QStringLiteral("update temp4 set trans='' where id=5") << 0 << 0;
    }
    void termRows() {
        QFETCH(int, row);
        QFETCH(QString, damage);
        QFETCH(int, terms);
        QFETCH(int, meanings);
        run(kTest, m_mixed, 5);
        if (!damage.isEmpty())
            m_rig->exec(damage);
        m_rig->goTo(row);
        QCOMPARE(m_rig->page(), int(TTestForm::Terms));
        QCOMPARE(visibleBoxes(true), terms);
        QCOMPARE(visibleBoxes(false), meanings);
        for (int i = 1; i <= 10; ++i) {
            QCOMPARE(form()->termBox(i)->isVisible(), i <= terms);
            QCOMPARE(form()->meaningLabel(i)->text().isEmpty(), i > meanings);
        }
        // Rows go in the order of the shuffled lists.
        const QStringList trans = m_rig->current(QStringLiteral("trans"))
                                      .split(QStringLiteral("\r\n"), Qt::SkipEmptyParts);
        if (meanings > 0)
            QCOMPARE(form()->tr1->text(), trans.first());
    }

    void aRunStartsWithFreeLabels() {
        // What a previous run left on the term page.
        form()->t3->setEnabled(false);
        form()->tr7->setEnabled(false);
        const QString terms = m_rig->section(
            {fixture::termMatching({QStringLiteral("a"), QStringLiteral("b")},
                                   {QStringLiteral("1"), QStringLiteral("2")}, {1, 1})});
        run(kTest, terms, 1);
        QCOMPARE(m_rig->page(), int(TTestForm::Terms));
        for (int i = 1; i <= 10; ++i) {
            QVERIFY(form()->termLabel(i)->isEnabled());
            QVERIFY(form()->meaningLabel(i)->isEnabled());
        }
    }

    void gapTextWithItsWords() {
        run(kTest, m_mixed, 5);
        m_rig->goTo(3);
        QCOMPARE(m_rig->page(), int(TTestForm::GapText));
        QCOMPARE(form()->Text1->toPlainText(), m_gaps.textw);
        QStringList listed;
        for (int i = 0; i < form()->Words1->count(); ++i)
            listed.append(form()->Words1->item(i)->text());
        listed.sort();
        QCOMPARE(listed, (QStringList{"две", "слънце", "три", "четири"}));
        QList<int> starts;
        for (const QString& s : m_gaps.start)
            starts.append(s.toInt());
        QCOMPARE(gapStarts(QStringLiteral("temp"), 0), starts);
        QCOMPARE(gapStarts(QStringLiteral("sltable"), 3), starts);
        QVERIFY(!allRed(form()->Text1, starts[0], 7));
    }

    void placedWordsComeBack() {
        run(kTest, m_mixed, 5);
        m_rig->goTo(3);
        // The pupil puts "две" into gap 2 and "три" into gap 4, each moving the
        // gaps after it by the word's length against the marker's.
        QString expected = m_gaps.textw;
        const QList<QPair<int, QString>> placed = {{2, QStringLiteral("две")},
                                                   {4, QStringLiteral("три")}};
        for (const auto& [gap, word] : placed) {
            QList<int> starts = gapStarts(QStringLiteral("sltable"), 3);
            const int at = starts[gap - 1];
            form()->Words1->setCurrentItem(form()->Words1->findItems(word, Qt::MatchExactly)[0]);
            form()->Words1Click();
            form()->Text1MouseDown(at + 1);
            expected.replace(at, 7, word);
        }
        const QList<int> shifted = gapStarts(QStringLiteral("sltable"), 3);

        m_rig->goTo(1);
        m_rig->goTo(3);
        QCOMPARE(form()->Text1->toPlainText(), expected);
        QVERIFY(allRed(form()->Text1, shifted[1], 3));
        QVERIFY(allRed(form()->Text1, shifted[3], 3));
        for (int gap : {0, 2, 4}) {
            QCOMPARE(expected.mid(shifted[gap], 7), kMarker);
            QVERIFY(!allRed(form()->Text1, shifted[gap], 1));
        }
        // The answer key follows the text as it now stands.
        QCOMPARE(gapStarts(QStringLiteral("temp"), 0), shifted);
        QCOMPARE(m_rig->count(QStringLiteral("sltable")), 5);
        QFocusEvent back(QEvent::FocusIn, Qt::ActiveWindowFocusReason);
        QApplication::sendEvent(form()->Text1, &back);
        QVERIFY(form()->Text1->extraSelections().isEmpty());
    }

    void gapRowsOfARun() {
        // Rows another run left behind.
        const QString section = m_rig->section(
            {four(QStringLiteral("?")),
             fixture::termMatching({QStringLiteral("a")}, {QStringLiteral("1")}, {1}), m_gaps});
        m_rig->draw(section, 3);
        m_rig->exec(QStringLiteral("insert into sltable (id, start, leng, word, chtrueans) "
                                   "values (99, 1, 1, 'x', 'no')"));
        m_rig->start(kTest);
        // The set-up passed over the gap question before the run began.
        QCOMPARE(m_rig->page(), int(TTestForm::FourAnswers));
        QCOMPARE(m_rig->count(QStringLiteral("sltable where id=3")), 0);
        m_rig->goTo(3);
        QCOMPARE(m_rig->count(QStringLiteral("sltable")), 5);
        QVERIFY(form()->GapRowsFlag);
        m_rig->exec(QStringLiteral("update sltable set word='две' where id=3 and start=%1")
                        .arg(m_gaps.start[1]));
        m_rig->goTo(1);
        m_rig->goTo(3);
        QCOMPARE(m_rig->count(QStringLiteral("sltable")), 5);
        QVERIFY(form()->Text1->toPlainText().contains(QStringLiteral("грее, две птици")));
    }

    void pictures_data() {
        QTest::addColumn<int>("row");
        QTest::addColumn<QSize>("picture"); // empty: none shown
        QTest::newRow("four answers") << 1 << QSize(40, 30);
        QTest::newRow("terms, none") << 2 << QSize();
        QTest::newRow("gap text") << 3 << QSize(64, 64);
        QTest::newRow("damaged bytes") << 4 << QSize();
        QTest::newRow("larger than the boxes") << 6 << QSize(1600, 1200);
    }
    void pictures() {
        QFETCH(int, row);
        QFETCH(QSize, picture);
        run(kTest, m_mixed, 7);
        m_rig->goTo(row);
        // A picture is held at the size its box shows it, never larger.
        for (PictureBox* box : {form()->DBImage1, form()->DBImage2, form()->DBImage3}) {
            const QSize held = box->image().size();
            if (picture.boundedTo(box->size()) == picture)
                QCOMPARE(held, picture.isEmpty() ? QSize(0, 0) : picture);
            else
                QVERIFY(!held.isEmpty() && held.boundedTo(box->size()) == held);
        }
        QCOMPARE(form()->Label1->isVisibleTo(form()->QuestPanel), !picture.isEmpty());
        QCOMPARE(form()->Label24->isVisibleTo(form()->Pages1->widget(TTestForm::GapText)),
                 !picture.isEmpty());
        QVERIFY(m_rig->log.messages().isEmpty());
        QTest::mouseClick(form()->NextBtn, Qt::LeftButton);
        QCOMPARE(m_rig->temp().recNo(), row + 1);
    }

    void picturePage_data() {
        QTest::addColumn<int>("row");
        QTest::addColumn<int>("from");
        QTest::newRow("from the four answers") << 1 << int(TTestForm::FourAnswers);
        QTest::newRow("from the gap text") << 3 << int(TTestForm::GapText);
    }
    void picturePage() {
        QFETCH(int, row);
        QFETCH(int, from);
        run(kTest, m_mixed, 5);
        m_rig->goTo(row);
        QTest::mouseClick(from == TTestForm::FourAnswers ? form()->Label1 : form()->Label24,
                          Qt::LeftButton);
        QCOMPARE(m_rig->page(), int(TTestForm::PicturePage));
        QVERIFY(!form()->TopPanel1->isVisible());
        QVERIFY(!form()->ButtomPanel1->isVisible());
        QVERIFY(form()->DBImage1->stretch());
        QTest::mouseClick(form()->chnsize1, Qt::LeftButton);
        QVERIFY(!form()->DBImage1->stretch());
        QCOMPARE(form()->DBImage1->pictureRect().size(), form()->DBImage1->image().size());
        QTest::mouseClick(form()->Label2, Qt::LeftButton);
        QCOMPARE(m_rig->page(), from);
        QVERIFY(form()->TopPanel1->isVisible());
        QVERIFY(form()->ButtomPanel1->isVisible());
        form()->chnsize1->setChecked(false);
    }

    void conditionStrip() {
        run(kTest, m_mixed, 5);
        TTestForm* f = form();
        QCOMPARE(f->con->x(), 5);
        QTest::mousePress(f->SpeedButton2, Qt::LeftButton);
        QVERIFY(f->ScrollerRight1->isActive());
        QTest::mouseRelease(f->SpeedButton2, Qt::LeftButton);
        QVERIFY(!f->ScrollerRight1->isActive());
        for (int i = 0; i < 300; ++i)
            f->ScrollerRight1Timer();
        QCOMPARE(f->con->x(), -295);
        for (int i = 0; i < 2; ++i)
            f->ScrollerLeft1Timer();
        // Another question keeps the offset; "|<" puts it back.
        m_rig->goTo(2);
        QCOMPARE(f->con->x(), -293);
        QCOMPARE(f->con->text(), QStringLiteral("Свържете всяко понятие с неговото значение."));
        QTest::mouseClick(f->SpeedButton5, Qt::LeftButton);
        QCOMPARE(f->con->x(), 5);
    }

    void fullAnswerPage_data() {
        QTest::addColumn<int>("row");
        QTest::addColumn<bool>("question");
        QTest::newRow("four answers") << 1 << true;
        QTest::newRow("terms") << 2 << false;
    }
    void fullAnswerPage() {
        QFETCH(int, row);
        QFETCH(bool, question);
        run(kTutor, m_mixed, 5);
        m_rig->goTo(row);
        QCOMPARE(form()->FullAns->text(), m_rig->current(QStringLiteral("fullans")));
        form()->showFeedback(Feedback::Right);
        form()->Pages1->setCurrentIndex(TTestForm::FullAnswerPage);
        QVERIFY(!form()->TopPanel1->isVisible());
        QVERIFY(form()->ButtomPanel1->isVisible());
        QVERIFY(!form()->Panel10->isVisible());
        QCOMPARE(form()->GPQ->isVisible(), question);
        QCOMPARE(form()->QuestTTR->text(), question ? QStringLiteral("С картина") : QString());
        // Moving on shows the next question on its own page.
        QTest::mouseClick(form()->NextBtn, Qt::LeftButton);
        QCOMPARE(m_rig->page(), row == 1 ? int(TTestForm::Terms) : int(TTestForm::GapText));
    }

    void otherKindsAndDisplayOff() {
        run(kTutor, m_mixed, 5);
        m_rig->exec(QStringLiteral("update temp4 set typequest=7 where id=4"));
        m_rig->goTo(3);
        m_rig->goTo(4);
        QCOMPARE(m_rig->page(), int(TTestForm::GapText));
        // With display off only the full answer follows, and the banner goes.
        DataModule2->setDisplayEnabled(false);
        form()->showFeedback(Feedback::Wrong);
        m_rig->goTo(2);
        QCOMPARE(m_rig->page(), int(TTestForm::GapText));
        QCOMPARE(form()->FullAns->text(), m_rig->current(QStringLiteral("fullans")));
        QVERIFY(!form()->Panel10->isVisible());
        DataModule2->setDisplayEnabled(true);
    }
};

QTEST_MAIN(TestQuestionDisplay)
#include "tst_session_display.moc"
