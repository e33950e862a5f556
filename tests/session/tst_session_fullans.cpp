// The dictionary look-up, and page 4 of a tutor run: there and back to the
// question as it was left.
#include "sessionrig.h"

#include "kit/hints.h"
#include "session/dictionary.h"
#include "session/matchcanvas.h"
#include "session/sessionrun.h"
#include "support/widgets.h"

#include <QFile>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>

using namespace sessiontest;

class TestFullAnswer : public QObject {
    Q_OBJECT

private:
    std::unique_ptr<Rig> m_rig;
    TTestForm* form() const { return m_rig->form; }

private slots:
    void initTestCase() {
        m_rig = std::make_unique<Rig>();
        m_rig->program.folder.addDictionary(
            QStringLiteral("български"), QStringLiteral("bg"),
            {{QStringLiteral("котка"), QStringLiteral("домашно животно")},
             {QStringLiteral("Котка"), QStringLiteral("име на кораб")},
             {QStringLiteral("Dog"), QStringLiteral("куче")},
             {QStringLiteral("ябълка"), QStringLiteral("плод")}});
    }
    void cleanupTestCase() { m_rig.reset(); }

    void lookUp_data() {
        QTest::addColumn<QString>("word");
        QTest::addColumn<QString>("meaning");
        QTest::newRow("as written") << "ябълка"
                                    << "плод";
        QTest::newRow("exact case first") << "Котка"
                                          << "име на кораб";
        QTest::newRow("Cyrillic case aside") << "ЯБЪЛКА"
                                             << "плод";
        QTest::newRow("Latin case aside") << "dog"
                                          << "куче";
        QTest::newRow("whole words only") << "ябълк" << kUnknownWord;
        QTest::newRow("no trimming") << " ябълка" << kUnknownWord;
        QTest::newRow("empty") << "" << kUnknownWord;
    }
    void lookUp() {
        QFETCH(QString, word);
        QFETCH(QString, meaning);
        QCOMPARE(lookUpWord(*DataModule2, QString(), word), meaning);
    }

    void theDictionaryIsOpenedOnce() {
        QCOMPARE(lookUpWord(*DataModule2, QString(), QStringLiteral("ябълка")),
                 QStringLiteral("плод"));
        // Later look-ups search the table opened then, whatever happens to
        // the file meanwhile.
        const QString file = m_rig->program.folder.file(QStringLiteral("\\dict\\dict.mdb"));
        QVERIFY(QFile::rename(file, file + QStringLiteral(".away")));
        QCOMPARE(lookUpWord(*DataModule2, QString(), QStringLiteral("dog")),
                 QStringLiteral("куче"));
        QVERIFY(QFile::rename(file + QStringLiteral(".away"), file));
    }

    void aBrokenDictionaryIsTriedAgain() {
        DataModule2->Dict.close();
        m_rig->program.folder.addDictionary(QStringLiteral("английски"), QStringLiteral("en"), {});
        m_rig->program.folder.exec(DbFile::Dict, QStringLiteral("drop table bg"));
        QVERIFY_THROWS_EXCEPTION(StoreError,
                                 lookUpWord(*DataModule2, QString(), QStringLiteral("котка")));
        QVERIFY(!DataModule2->Dict.isOpen());
        m_rig->program.folder.addDictionary(QStringLiteral("нов"), QStringLiteral("bg"),
                                            {{QStringLiteral("котка"), QStringLiteral("животно")}});
        QCOMPARE(lookUpWord(*DataModule2, QString(), QStringLiteral("котка")),
                 QStringLiteral("животно"));
    }

    void pageFourAndBack() {
        m_rig->plainSettings();
        const QString section = m_rig->section(
            {four(QStringLiteral("Първи")),
             fixture::termMatching(fixture::numbered(QStringLiteral("т"), 4),
                                   fixture::numbered(QStringLiteral("з"), 4), {1, 1, 1, 1})});
        m_rig->draw(section, 2);
        m_rig->start(QStringLiteral("tutor"));
        QVERIFY(form()->fal1->isVisible());
        QTest::mouseClick(form()->fal1, Qt::LeftButton);
        QLabel* line = statusPanel(form()->StatusBar1);
        setStatusText(form()->StatusBar1, QStringLiteral("дълга подсказка ").repeated(9));
        QTRY_VERIFY(line->contentsRect().contains(line->fontMetrics().boundingRect(
            line->contentsRect(), int(line->alignment()) | Qt::TextWordWrap, line->text())));
        m_rig->goTo(2);
        QTest::mouseClick(form()->t2, Qt::LeftButton);
        QTest::mouseClick(form()->tr3, Qt::LeftButton);

        QTest::mouseClick(form()->fal1, Qt::LeftButton);
        QCOMPARE(m_rig->page(), int(TTestForm::FullAnswerPage));
        // Enter looks the word up as the button does, and leaves it selected.
        DataModule2->Dict.close();
        fixture::typeText(form()->searchedit, QStringLiteral("котка"));
        QTest::keyClick(form()->searchedit, Qt::Key_Return);
        QCOMPARE(form()->trans1->toPlainText(), QStringLiteral("животно"));
        QCOMPARE(form()->searchedit->selectedText(), QStringLiteral("котка"));

        QTest::mouseClick(form()->Label26, Qt::LeftButton);
        QCOMPARE(m_rig->page(), int(TTestForm::Terms));
        QVERIFY(!form()->t2->isEnabled());
        QVERIFY(!form()->tr3->isEnabled());
        QCOMPARE(form()->ImgCnvs1->marker(MatchCanvas::Right, 3), MatchCanvas::rowColour(2));
        form()->EndBtnClick();
    }
};

QTEST_MAIN(TestFullAnswer)
#include "tst_session_fullans.moc"
