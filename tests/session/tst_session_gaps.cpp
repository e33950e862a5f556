// The gap text case by case, through the run model: where a press puts a
// word, how the gaps after it move, what a removal may take and what the
// check scores. A row is a text with its gaps, the settings, the pupil's
// steps, and the text, score, limit and notices the steps must end with.
#include "modelrig.h"
#include "support/fixedrandom.h"
#include "support/programfolder.h"

#include <QSet>
#include <QTest>

using namespace sessiontest;

namespace {

constexpr unsigned kClass = 5;

const QString kFamily = QStringLiteral("[Мама] готви, [татко] чете, [баба] плете.");

QChar noticeMark(Feedback notice) {
    switch (notice) {
    case Feedback::Right:
        return QLatin1Char('+');
    case Feedback::Wrong:
        return QLatin1Char('-');
    case Feedback::None:
        break;
    }
    return QLatin1Char('0');
}

} // namespace

class TestGapText : public QObject {
    Q_OBJECT

private:
    std::unique_ptr<fixture::ProgramFolder> m_folder;
    std::unique_ptr<TDataModule2> m_dm;
    ModelSettings m_settings;
    std::unique_ptr<SessionRun> m_run;
    std::unique_ptr<GapPage> m_page;
    int m_sections = 0;

private slots:
    void initTestCase() {
        m_folder = std::make_unique<fixture::ProgramFolder>();
        m_dm = std::make_unique<TDataModule2>();
        m_dm->setProgramFolder(m_folder->path());
        m_run = std::make_unique<SessionRun>(*m_dm, m_settings);
        m_page = std::make_unique<GapPage>(*m_dm, *m_run);
    }
    void cleanupTestCase() {
        m_page.reset();
        m_run.reset();
        m_dm.reset();
        m_folder.reset();
    }

    void steps_data() {
        QTest::addColumn<QString>("passage");
        QTest::addColumn<QList<int>>("points");
        // "limit N", "unlimited" or "tutor" (unlimited, with notices)
        QTest::addColumn<QString>("settings");
        // pick:W, press:G+N (N past where gap G now starts),
        // remove (the word selected last), back (shown again)
        QTest::addColumn<QString>("steps");
        QTest::addColumn<QString>("text");
        QTest::addColumn<int>("score");
        QTest::addColumn<int>("limit");
        QTest::addColumn<QString>("notices"); // one per placed word: + right, - wrong, 0 none

        const QList<int> family = {1, 2, 4};
        QTest::newRow("four letters in gap 1 move the others three back")
            << kFamily << family << "limit 2"
            << "pick:Мама press:1+3"
            << "Мама готви,  .....  чете,  .....  плете." << 1 << 0 << "0";
        QTest::newRow("right word in gap 3 after coming back")
            << kFamily << family << "limit 2"
            << "pick:Мама press:1+3 back pick:баба press:3+3"
            << "Мама готви,  .....  чете, баба плете." << 5 << 0 << "00";
        QTest::newRow("caret just after the marker hits")
            << kFamily << family << "limit 2"
            << "pick:татко press:2+7"
            << " .....  готви, татко чете,  .....  плете." << 2 << 0 << "0";
        QTest::newRow("caret one further misses, the pick is used")
            << kFamily << family << "limit 2"
            << "pick:татко press:2+8 press:2+3"
            << " .....  готви,  .....  чете,  .....  плете." << 0 << 0 << "";
        QTest::newRow("a filled gap takes no other word")
            << kFamily << family << "limit 2"
            << "pick:Мама press:1+3 pick:баба press:1+2"
            << "Мама готви,  .....  чете,  .....  плете." << 1 << 0 << "0";
        QTest::newRow("a pick does not outlive the display")
            << kFamily << family << "limit 2"
            << "pick:Мама back press:1+3"
            << " .....  готви,  .....  чете,  .....  плете." << 0 << 0 << "";
        QTest::newRow("limit 0: one removal a question")
            << kFamily << family << "limit 0"
            << "pick:Мама press:1+3 press:1+2 remove pick:Мама press:1+3 press:1+2 remove"
            << "Мама готви,  .....  чете,  .....  плете." << 1 << 1 << "00";
        QTest::newRow("a right word placed again counts once")
            << kFamily << family << "unlimited"
            << "pick:Мама press:1+3 press:1+1 remove pick:Мама press:1+3 back"
            << "Мама готви,  .....  чете,  .....  плете." << 1 << 0 << "00";
        QTest::newRow("a removal with nothing left to take changes nothing")
            << kFamily << family << "limit 2"
            << "pick:Мама press:1+3 press:1+4 remove remove"
            << " .....  готви,  .....  чете,  .....  плете." << 0 << 1 << "0";
        QTest::newRow("gaps at both ends, words shorter and longer than the marker")
            << "[Ах] каква [прекрасна] сутрин е [днес]" << QList<int>{1, 2, 3} << "limit 2"
            << "pick:днес press:3+7 pick:прекрасна press:2+0 pick:Ах press:1+0 back"
            << "Ах каква прекрасна сутрин е днес" << 6 << 0 << "000";
        QTest::newRow("tutor: notices for words placed, none for a removal")
            << kFamily << family << "tutor"
            << "pick:татко press:1+3 press:1+1 remove pick:Мама press:1+3"
            << "Мама готви,  .....  чете,  .....  плете." << 1 << 0 << "-+";
        QTest::newRow("words are compared with their case")
            << "[Река] тече, [река] шуми." << QList<int>{2, 1} << "tutor"
            << "pick:река press:1+3 pick:Река press:2+3"
            << "река тече, Река шуми." << 0 << 0 << "--";
    }
    void steps() {
        QFETCH(QString, passage);
        QFETCH(QList<int>, points);
        QFETCH(QString, settings);
        QFETCH(QString, steps);
        QFETCH(QString, text);
        QFETCH(int, score);
        QFETCH(int, limit);
        QFETCH(QString, notices);

        m_settings = ModelSettings();
        m_settings.tutor = settings == QStringLiteral("tutor");
        m_settings.unlimited = m_settings.tutor || settings == QStringLiteral("unlimited");
        if (settings.startsWith(QStringLiteral("limit ")))
            m_settings.count = settings.mid(6).toInt();

        const QString table = QStringLiteral("g%1").arg(++m_sections);
        m_folder->addTopic(kClass, QStringLiteral("български"), table, table);
        m_folder->addQuestion(kClass, table, fixture::gapFill(passage, points));
        fixture::FixedRandom random;
        drawSection(*m_dm, kClass, table, 1, random);
        m_run->start();
        m_dm->TextQuestionsShown = 0;
        m_dm->Temp.first();
        m_page->show();

        QString given;
        for (const QString& step : steps.split(QLatin1Char(' '))) {
            const QString what = step.section(QLatin1Char(':'), 0, 0);
            const QString arg = step.section(QLatin1Char(':'), 1);
            if (what == QStringLiteral("pick")) {
                QVERIFY2(m_run->pickWord(arg), qPrintable(step));
            } else if (what == QStringLiteral("press")) {
                const int gap = arg.section(QLatin1Char('+'), 0, 0).toInt();
                const int past = arg.section(QLatin1Char('+'), 1).toInt();
                const std::optional<Feedback> notice =
                    m_page->press(m_run->gapRows().value(gap - 1).start + past);
                if (notice)
                    given += noticeMark(*notice);
            } else if (what == QStringLiteral("remove")) {
                m_page->remove();
            } else if (what == QStringLiteral("back")) {
                m_page->show();
            } else {
                QFAIL(qPrintable(QStringLiteral("unknown step ") + step));
            }
            m_page->check();
            QCOMPARE(m_run->Score, qint32(standingPoints(m_dm->ATemp1)));
            // The list offers each word of the key once.
            QCOMPARE(QSet<QString>(m_page->listed.cbegin(), m_page->listed.cend()).size(),
                     m_page->listed.size());
        }
        QCOMPARE(m_page->shown, text);
        QCOMPARE(m_run->Score, score);
        QCOMPARE(m_dm->Temp.integer(QStringLiteral("Limit")), limit);
        QCOMPARE(given, notices);
    }
};

QTEST_MAIN(TestGapText)
#include "tst_session_gaps.moc"
