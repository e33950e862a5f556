// The session's rules that need no window: the clocks, the corrections
// limit, the scoring of one answer, and the reading of a gap question's key.
#include "session/clock.h"
#include "session/gapkey.h"
#include "session/scoring.h"

#include <QTest>

Q_DECLARE_METATYPE(GapKey)

class TestSessionRules : public QObject {
    Q_OBJECT

private slots:
    void countDownTick_data() {
        QTest::addColumn<QList<int>>("before");
        QTest::addColumn<QList<int>>("after");
        QTest::addColumn<bool>("red");
        QTest::addColumn<bool>("up");
        QTest::newRow("a minute left")
            << QList<int>{0, 1, 0} << QList<int>{0, 0, 59} << true << false;
        QTest::newRow("two minutes left")
            << QList<int>{0, 2, 0} << QList<int>{0, 1, 59} << false << false;
        QTest::newRow("an hour borrows")
            << QList<int>{1, 0, 0} << QList<int>{0, 59, 59} << false << false;
        QTest::newRow("last second") << QList<int>{0, 0, 1} << QList<int>{0, 0, 0} << true << true;
        QTest::newRow("plain second")
            << QList<int>{0, 39, 59} << QList<int>{0, 39, 58} << false << false;
    }
    void countDownTick() {
        QFETCH(QList<int>, before);
        QFETCH(QList<int>, after);
        QFETCH(bool, red);
        QFETCH(bool, up);
        const ClockTime left = countDown({before[0], before[1], before[2]});
        QCOMPARE(left, (ClockTime{after[0], after[1], after[2]}));
        QCOMPARE(inLastMinute(left), red);
        QCOMPARE(timeIsUp(left), up);
    }

    void countUpTick_data() {
        QTest::addColumn<QList<int>>("before");
        QTest::addColumn<QString>("text");
        QTest::newRow("first second") << QList<int>{0, 0, 0} << QStringLiteral("0:0:1");
        QTest::newRow("a minute") << QList<int>{0, 0, 59} << QStringLiteral("0:1:0");
        QTest::newRow("an hour") << QList<int>{0, 59, 59} << QStringLiteral("1:0:0");
        QTest::newRow("no leading zeros") << QList<int>{2, 5, 6} << QStringLiteral("2:5:7");
    }
    void countUpTick() {
        QFETCH(QList<int>, before);
        QFETCH(QString, text);
        QCOMPARE(clockText(countUp({before[0], before[1], before[2]})), text);
    }

    void timedRun_data() {
        QTest::addColumn<bool>("setting");
        QTest::addColumn<QList<int>>("limit");
        QTest::addColumn<bool>("tutor");
        QTest::addColumn<bool>("timed");
        QTest::newRow("time set") << true << QList<int>{0, 40, 0} << false << true;
        QTest::newRow("seconds only") << true << QList<int>{0, 0, 5} << false << true;
        QTest::newRow("setting off") << false << QList<int>{0, 40, 0} << false << false;
        QTest::newRow("no time in it") << true << QList<int>{0, 0, 0} << false << false;
        QTest::newRow("tutor run") << true << QList<int>{0, 40, 0} << true << false;
    }
    void timedRun() {
        QFETCH(bool, setting);
        QFETCH(QList<int>, limit);
        QFETCH(bool, tutor);
        QFETCH(bool, timed);
        QCOMPARE(isTimedRun(setting, {limit[0], limit[1], limit[2]}, tutor), timed);
    }

    void corrections_data() {
        QTest::addColumn<bool>("unlimited");
        QTest::addColumn<int>("corrections");
        QTest::addColumn<int>("allowed"); // counted actions before the first refusal
        QTest::newRow("none") << false << 0 << 1;
        QTest::newRow("two") << false << 2 << 3;
        QTest::newRow("unlimited") << true << 0 << -1;
    }
    void corrections() {
        QFETCH(bool, unlimited);
        QFETCH(int, corrections);
        QFETCH(int, allowed);
        int limit = 0;
        int counted = 0;
        for (int click = 0; click < 10; ++click) {
            if (!correctionAllowed(unlimited, limit, corrections))
                break;
            ++counted;
            if (!unlimited)
                ++limit;
        }
        QCOMPARE(counted, allowed < 0 ? 10 : allowed);
    }

    void scoring_data() {
        QTest::addColumn<bool>("right");
        QTest::addColumn<bool>("counted");
        QTest::addColumn<int>("delta");
        QTest::addColumn<bool>("countedAfter");
        QTest::newRow("right first") << true << false << 3 << true;
        QTest::newRow("right again") << true << true << 0 << true;
        QTest::newRow("wrong after right") << false << true << -3 << false;
        QTest::newRow("wrong again") << false << false << 0 << false;
    }
    void scoring() {
        QFETCH(bool, right);
        QFETCH(bool, counted);
        QFETCH(int, delta);
        QFETCH(bool, countedAfter);
        const MarkChange change = scoreAnswer(right, counted, 3);
        QCOMPARE(change.scoreDelta, delta);
        QCOMPARE(change.counted, countedAfter);
        QCOMPARE(change.flipped, counted != countedAfter);
    }

    void gapKeysOfAQuestion_data() {
        QTest::addColumn<QString>("words");
        QTest::addColumn<QString>("starts");
        QTest::addColumn<QString>("lengs");
        QTest::addColumn<QString>("points");
        QTest::addColumn<QList<GapKey>>("keys");
        const GapKey a{QStringLiteral("София"), 12, 5, 1};
        const GapKey b{QStringLiteral("Дунав"), 40, 5, 2};
        QTest::newRow("two gaps") << "София\r\nДунав\r\n"
                                  << "12\r\n40\r\n"
                                  << "5\r\n5\r\n"
                                  << "1\r\n2\r\n"
                                  << QList<GapKey>{a, b};
        QTest::newRow("lone line breaks") << "София\nДунав"
                                          << "12\r40"
                                          << "5\n5"
                                          << "1\r\n2" << QList<GapKey>{a, b};
        QTest::newRow("a position missing") << "София\r\nДунав\r\n"
                                            << "12\r\n"
                                            << "5\r\n5\r\n"
                                            << "1\r\n2\r\n"
                                            << QList<GapKey>{a};
        QTest::newRow("points not a number") << "София\r\nДунав\r\n"
                                             << "12\r\n40\r\n"
                                             << "5\r\n5\r\n"
                                             << "едно\r\n2\r\n"
                                             << QList<GapKey>{b};
        QTest::newRow("no words") << ""
                                  << "12"
                                  << "5"
                                  << "1" << QList<GapKey>{};
    }
    void gapKeysOfAQuestion() {
        QFETCH(QString, words);
        QFETCH(QString, starts);
        QFETCH(QString, lengs);
        QFETCH(QString, points);
        QFETCH(QList<GapKey>, keys);
        QCOMPARE(gapKeys(words, starts, lengs, points), keys);
    }

    void gapInside_data() {
        QTest::addColumn<int>("start");
        QTest::addColumn<bool>("inside");
        // A text of 20 characters.
        QTest::newRow("at the start") << 0 << true;
        QTest::newRow("ending with the text") << 13 << true;
        QTest::newRow("running past the end") << 14 << false;
        QTest::newRow("before the text") << -1 << false;
        QTest::newRow("far beyond") << 9999 << false;
    }
    void gapInside() {
        QFETCH(int, start);
        QFETCH(bool, inside);
        QCOMPARE(gapInsideText(start, 20), inside);
    }
};

QTEST_APPLESS_MAIN(TestSessionRules)
#include "tst_session_rules.moc"
