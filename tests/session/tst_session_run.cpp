// The run model without a window: a drawn run of every kind, answered by a
// seeded random walk of clicks, picks, joins, removals, word picks, presses
// on the gap text, moves and changes of the settings, with the score checked
// against the answers standing (and the gap text against the gap rows) after
// every step; and the corrections limit of line removals.
#include "modelrig.h"
#include "session/shuffle.h"
#include "support/fixedrandom.h"
#include "support/programfolder.h"

#include <QRandomGenerator>
#include <QTest>

using namespace sessiontest;
using question::Kind;

namespace {

constexpr unsigned kClass = 5;

} // namespace

class TestSessionRun : public QObject {
    Q_OBJECT

private:
    std::unique_ptr<fixture::ProgramFolder> m_folder;
    std::unique_ptr<TDataModule2> m_dm;
    ModelSettings m_settings;
    std::unique_ptr<SessionRun> m_run;

    std::unique_ptr<GapPage> m_page;

    Query& temp() const { return m_dm->Temp; }
    int lineCount() {
        int n = 0;
        forEachRow(m_dm->ATemp1, QStringLiteral("select * from temp2"), [&n](Query&) { ++n; });
        return n;
    }
    // A fresh run drawn with the shuffles of `seed`.
    void draw(quint32 seed, int count, const QString& section = QStringLiteral("walk")) {
        QRandomGenerator chance(seed);
        QList<int> values;
        for (int i = 0; i < 2000; ++i)
            values.append(int(chance.bounded(1000)));
        fixture::FixedRandom random(values);
        drawSection(*m_dm, kClass, section, count, random);
        m_run->start();
        m_dm->TextQuestionsShown = 0;
        temp().first();
        m_run->markVisited();
        m_page->show();
    }
    // The first term question of the run.
    void goToTerms() {
        for (temp().first(); m_run->kind() != Kind::Matching; temp().next())
            QVERIFY(!temp().eof());
        m_run->markVisited();
    }
    // The meaning row that belongs to the term of `row`.
    int rightMeaning(int row) {
        Query pairs;
        pairs.setConnection(&m_dm->ATemp1);
        pairs.setSql({QStringLiteral("select * from temp1")});
        pairs.open();
        if (!pairs.locate({QStringLiteral("id"), QStringLiteral("ttrue")},
                          {m_run->questionId(), m_run->termText(row)}))
            return 0;
        for (int j = 1; j <= m_run->rowCount(); ++j)
            if (m_run->meaningText(j) == pairs.text(QStringLiteral("trtrue")))
                return j;
        return 0;
    }

private slots:
    void initTestCase() {
        m_folder = std::make_unique<fixture::ProgramFolder>();
        const QString table = QStringLiteral("walk");
        m_folder->addTopic(kClass, QStringLiteral("математика"), table, table);
        // Term questions of 10, 6 and 12 pairs (two above the screen's ten),
        // and one with more meanings than terms.
        const QList<fixture::Question> questions = {
            fixture::fourAnswer(QStringLiteral("Първи"), fixture::numbered(QStringLiteral("о"), 4),
                                0, 3),
            fixture::termMatching(fixture::numbered(QStringLiteral("т"), 10),
                                  fixture::numbered(QStringLiteral("з"), 10),
                                  {1, 2, 3, 4, 5, 1, 2, 3, 4, 5}),
            fixture::gapFill(QStringLiteral("Едно [две] три [четири]."), {2, 3}),
            fixture::fourAnswer(QStringLiteral("Втори"), fixture::numbered(QStringLiteral("о"), 4),
                                2, 1),
            fixture::termMatching(fixture::numbered(QStringLiteral("а"), 6),
                                  fixture::numbered(QStringLiteral("б"), 6), {2, 2, 2, 1, 1, 1}),
            fixture::fourAnswer(QStringLiteral("Трети"), fixture::numbered(QStringLiteral("о"), 4),
                                1, 2),
            fixture::termMatching(fixture::numbered(QStringLiteral("в"), 12),
                                  fixture::numbered(QStringLiteral("г"), 12), QList<int>(12, 1)),
            fixture::termMatching(fixture::numbered(QStringLiteral("д"), 7),
                                  fixture::numbered(QStringLiteral("е"), 9),
                                  {1, 1, 1, 1, 1, 1, 1, 4, 4}),
            fixture::fourAnswer(QStringLiteral("Четвърти"),
                                fixture::numbered(QStringLiteral("о"), 4), 3, 2),
            fixture::termMatching(fixture::numbered(QStringLiteral("ж"), 3),
                                  fixture::numbered(QStringLiteral("з"), 3), {1, 2, 3}),
        };
        for (const fixture::Question& q : questions)
            m_folder->addQuestion(kClass, table, q);
        // Gap texts: gaps at the very start and end, words shorter and
        // longer than the marker, one word in several gaps, two gaps side
        // by side, words that differ only in case.
        const QString gaps = QStringLiteral("gaps");
        m_folder->addTopic(kClass, QStringLiteral("български"), gaps, gaps);
        for (const fixture::Question& q : {
                 fixture::gapFill(QStringLiteral("[Ах] каква [прекрасна] сутрин е [днес]"),
                                  {1, 2, 3}),
                 fixture::fourAnswer(QStringLiteral("Пети"),
                                     fixture::numbered(QStringLiteral("о"), 4), 1, 1),
                 fixture::gapFill(QStringLiteral("Едно [и] друго [и] трето[и][четвърто]."),
                                  {1, 1, 2, 3}),
                 fixture::termMatching(fixture::numbered(QStringLiteral("к"), 3),
                                       fixture::numbered(QStringLiteral("л"), 3), {1, 1, 1}),
                 fixture::gapFill(QStringLiteral("[Река] тече,\n[река] шуми, [многоводна] е."),
                                  {2, 1, 4}),
             })
            m_folder->addQuestion(kClass, gaps, q);
        m_dm = std::make_unique<TDataModule2>();
        m_dm->setProgramFolder(m_folder->path());
        m_run = std::make_unique<SessionRun>(*m_dm, m_settings);
        m_page = std::make_unique<GapPage>(*m_dm, *m_run);
    }
    void init() { m_settings = ModelSettings(); }
    void cleanupTestCase() {
        m_page.reset();
        m_run.reset();
        m_dm.reset();
        m_folder.reset();
    }

    void randomWalk_data() {
        QTest::addColumn<quint32>("seed");
        QTest::addColumn<QString>("section");
        QTest::addColumn<int>("count");
        for (quint32 seed : {1u, 7u, 2024u, 99991u})
            QTest::newRow(qPrintable(QStringLiteral("seed %1").arg(seed)))
                << seed << QStringLiteral("walk") << 10;
        for (quint32 seed : {3u, 11u, 4242u, 8u, 77u})
            QTest::newRow(qPrintable(QStringLiteral("gaps, seed %1").arg(seed)))
                << seed << QStringLiteral("gaps") << 5;
    }
    void randomWalk() {
        QFETCH(quint32, seed);
        QFETCH(QString, section);
        QFETCH(int, count);
        draw(seed, count, section);
        QRandomGenerator walk(seed);
        const int questions = temp().recordCount();
        for (int step = 0; step < 600; ++step) {
            const qint32 before = m_run->Score;
            const int linesBefore = lineCount();
            const std::optional<Kind> kind = m_run->kind();
            // Mostly a row the action can take (a free term or meaning, a
            // joined meaning), now and then any row, one past the page too.
            int row = int(walk.bounded(m_run->rowCount() + 1)) + 1;
            const auto aimAt = [&](auto wanted) {
                QList<int> rows;
                for (int r = 1; r <= m_run->rowCount(); ++r)
                    if (wanted(r))
                        rows.append(r);
                if (!rows.isEmpty() && walk.bounded(4) != 0)
                    row = rows[int(walk.bounded(int(rows.size())))];
            };
            // A caret position mostly near a gap the press can take (an open
            // one with a word picked, a placed word without), from one before
            // it to one after it; now and then near any gap, or anywhere.
            const auto caret = [&]() {
                QList<PlacedWord> gaps = m_run->gapRows();
                QList<PlacedWord> aimed;
                for (const PlacedWord& gap : gaps)
                    if (gap.word.isEmpty() == m_run->wordPicked())
                        aimed.append(gap);
                if (!aimed.isEmpty() && walk.bounded(4) != 0)
                    gaps = aimed;
                if (gaps.isEmpty() || walk.bounded(6) == 0)
                    return int(walk.bounded(int(m_page->shown.size()) + 1));
                const PlacedWord& gap = gaps[int(walk.bounded(int(gaps.size())))];
                const int length =
                    gap.word.isEmpty() ? int(kGapMarker.size()) : int(gap.word.size());
                return gap.start - 1 + int(walk.bounded(length + 3));
            };
            QString action;
            int choice = int(walk.bounded(19));
            // The actions of the other kinds would change nothing on a gap question.
            if (kind == Kind::Gaps && choice >= 1 && choice <= 9)
                choice = 11 + int(walk.bounded(8));
            switch (choice) {
            case 0: // the question changes: a pick is dropped on the way
                action = QStringLiteral("move");
                m_run->dropPick();
                temp().moveTo(int(walk.bounded(questions)) + 1);
                m_run->markVisited();
                m_page->show();
                break;
            case 1: { // a click on one of the four boxes
                action = QStringLiteral("click");
                if (kind != Kind::Choice)
                    break;
                const QChar letter = answerLetter(int(walk.bounded(4)) + 1);
                if (!m_run->countCorrection()) {
                    QCOMPARE(m_run->Score, before);
                    break;
                }
                const Feedback f = m_run->scoreChoice(letter);
                m_run->storeChoice(letter);
                const bool right = temp().text(QStringLiteral("TrueAns")) == QString(letter);
                QCOMPARE(f, m_settings.tutor ? (right ? Feedback::Right : Feedback::Wrong)
                                             : Feedback::None);
                break;
            }
            case 2:
            case 3:
            case 4: { // a press on a term
                action = QStringLiteral("pick %1").arg(row);
                if (kind != Kind::Matching)
                    break;
                const QList<TermLine> lines = m_run->lines();
                aimAt([&](int r) {
                    return !m_run->termText(r).isEmpty() &&
                           std::none_of(lines.cbegin(), lines.cend(),
                                        [r](const TermLine& l) { return l.term == r; });
                });
                const bool wasActive = m_run->pickActive();
                const auto pick = m_run->pickTerm(row);
                if (wasActive)
                    QVERIFY(!pick.accepted);
                QCOMPARE(lineCount(), linesBefore + (pick.accepted ? 1 : 0));
                break;
            }
            case 5:
            case 6:
            case 7: { // a press and release on a meaning
                action = QStringLiteral("join %1").arg(row);
                if (kind != Kind::Matching)
                    break;
                aimAt([&](int r) { return m_run->termJoinedTo(r) == 0; });
                const auto join = m_run->joinMeaning(row);
                if (join.joined && m_settings.tutor)
                    QCOMPARE(join.feedback == Feedback::Right, m_run->Score > before);
                if (join.joined && !m_settings.tutor)
                    QCOMPARE(join.feedback, Feedback::None);
                QCOMPARE(lineCount(), linesBefore);
                break;
            }
            case 8:
            case 9: { // the remove-line button
                action = QStringLiteral("remove %1").arg(row);
                if (kind != Kind::Matching)
                    break;
                aimAt([&](int r) { return m_run->termJoinedTo(r) != 0; });
                const bool joined = m_run->termJoinedTo(row) != 0;
                const bool allowed = m_run->correctionAllowed();
                QCOMPARE(m_run->removeLine(row), joined && allowed);
                QCOMPARE(lineCount(), linesBefore - (joined && allowed ? 1 : 0));
                break;
            }
            case 11:
            case 12: { // a word of the list (or a text it does not hold)
                if (kind != Kind::Gaps)
                    break;
                const QString word =
                    walk.bounded(5) == 0
                        ? m_page->listed.value(0).toUpper() + QStringLiteral("x")
                        : m_page->listed.value(int(walk.bounded(int(m_page->listed.size()))));
                action = QStringLiteral("pick word %1").arg(word);
                QCOMPARE(m_run->pickWord(word), m_page->listed.contains(word));
                break;
            }
            case 13:
            case 14:
            case 15: { // a press on the text: the front end's steps
                if (kind != Kind::Gaps)
                    break;
                const int p = caret();
                action = QStringLiteral("press %1").arg(p);
                const std::optional<Feedback> notice = m_page->press(p);
                QVERIFY(!m_run->wordPicked());
                if (notice && m_settings.tutor)
                    QCOMPARE(*notice == Feedback::Right, m_run->Score > before);
                else if (notice)
                    QCOMPARE(*notice, Feedback::None);
                break;
            }
            case 16:
            case 17: { // the remove-word button, for the word selected last
                if (kind != Kind::Gaps)
                    break;
                // Or a word selected just now, with the button left showing
                // from before the settings changed.
                std::optional<PlacedWord>& selected = m_page->selected;
                if (walk.bounded(2) == 0 && !m_run->wordPicked())
                    if (const std::optional<PlacedWord> word = m_run->selectWord(caret()))
                        selected = word;
                if (!selected)
                    break;
                action = QStringLiteral("remove %1 at %2").arg(selected->word).arg(selected->start);
                const QList<PlacedWord> gaps = m_run->gapRows();
                const bool standing =
                    std::any_of(gaps.cbegin(), gaps.cend(), [&selected](const PlacedWord& g) {
                        return g.start == selected->start && g.word == selected->word;
                    });
                const bool allowed = m_run->correctionAllowed();
                const int limit = temp().integer(QStringLiteral("Limit"));
                const bool out = m_page->remove();
                QCOMPARE(out, standing && allowed);
                // A refused removal changes nothing, not even the limit.
                if (!out)
                    QCOMPARE(temp().integer(QStringLiteral("Limit")), limit);
                break;
            }
            case 18: // away and back again: the display runs twice
                action = QStringLiteral("away and back");
                if (kind != Kind::Gaps)
                    break;
                {
                    const int here = temp().recNo();
                    temp().moveTo(here % questions + 1);
                    m_run->markVisited();
                    m_page->show();
                    temp().moveTo(here);
                    m_page->show();
                }
                break;
            default: // the settings window changed meanwhile, or Esc
                action = QStringLiteral("settings");
                m_settings.unlimited = walk.bounded(2) == 0;
                m_settings.count = int(walk.bounded(3));
                m_settings.tutor = walk.bounded(2) == 0;
                if (walk.bounded(2) == 0)
                    m_run->dropPick();
                if (walk.bounded(2) == 0)
                    m_run->dropWordPick();
                break;
            }
            m_page->check();
            if (QTest::currentTestFailed())
                QFAIL(qPrintable(QStringLiteral("step %1: %2").arg(step).arg(action)));
            const qint64 standing = standingPoints(m_dm->ATemp1);
            if (m_run->Score != standing)
                QFAIL(
                    qPrintable(QStringLiteral("step %1 (%2 on question %3): score %4, standing %5")
                                   .arg(step)
                                   .arg(action)
                                   .arg(temp().recNo())
                                   .arg(m_run->Score)
                                   .arg(standing)));
        }
    }

    // One meaning joined to two terms in turn: the removal takes back the
    // term of the line itself, whichever pair rows named the meaning before.
    void meaningJoinedToTermsInTurn() {
        m_settings.unlimited = true;
        draw(5, 10);
        goToTerms();
        while (m_run->rowCount() != 3) {
            temp().next();
            QVERIFY(!temp().eof());
        }
        // The terms in the order of their pair rows (ж1, ж2, ж3 worth 1, 2, 3).
        QList<int> termRows;
        for (const QString& term : {QStringLiteral("ж1"), QStringLiteral("ж2")})
            for (int r = 1; r <= 3; ++r)
                if (m_run->termText(r) == term)
                    termRows.append(r);
        const int meaning = rightMeaning(termRows[1]);
        const QList<QPair<int, qint32>> steps = {{termRows[0], 0}, {termRows[1], 2}};
        for (const auto& [term, joined] : steps) {
            QVERIFY(m_run->pickTerm(term).accepted);
            QVERIFY(m_run->joinMeaning(meaning).joined);
            QCOMPARE(m_run->Score, joined);
            QVERIFY(m_run->removeLine(meaning));
            QCOMPARE(m_run->Score, 0);
        }
    }
    void lineRemovalsUnderTheLimit_data() {
        QTest::addColumn<bool>("unlimited");
        QTest::addColumn<int>("corrections");
        QTest::addColumn<int>("allowed");
        QTest::newRow("none") << false << 0 << 1;
        QTest::newRow("two") << false << 2 << 3;
        QTest::newRow("unlimited") << true << 0 << 6;
    }
    void lineRemovalsUnderTheLimit() {
        QFETCH(bool, unlimited);
        QFETCH(int, corrections);
        QFETCH(int, allowed);
        m_settings.unlimited = unlimited;
        m_settings.count = corrections;
        draw(5, 8);
        goToTerms();
        const int right = rightMeaning(1);
        QVERIFY(right > 0);
        int removed = 0;
        for (int i = 0; i < 6; ++i) {
            // Joins are never refused; each join of the right pair earns its
            // points once, and a counted removal takes them off again.
            QVERIFY(m_run->pickTerm(1).accepted || m_run->termJoinedTo(right) == 1);
            m_run->joinMeaning(right);
            QVERIFY(m_run->Score > 0);
            if (m_run->removeLine(right))
                ++removed;
            QCOMPARE(m_run->Score, qint32(standingPoints(m_dm->ATemp1)));
        }
        QCOMPARE(removed, allowed);
        QCOMPARE(temp().integer(QStringLiteral("Limit")), unlimited ? 0 : allowed);
    }
};

QTEST_MAIN(TestSessionRun)
#include "tst_session_run.moc"
