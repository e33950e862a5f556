// Moving from question to question in the session window over a whole run,
// kind by kind: the time from the move until the question is displayed, laid
// out and painted (what the event loop does before the pupil sees it), at the
// median and at the worst, against one frame (16.7 ms); and the peak memory of
// the run against a bare window of the toolkit measured in the same run.
#include "bench/benchutil.h"

#include "session/gapkey.h"
#include "session/sessionrun.h"
#include "session/testform.h"
#include "ui/instances.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QListWidget>
#include <QProcess>
#include <QSlider>
#include <QTemporaryDir>
#include <QTextEdit>
#include <algorithm>
#include <cstdio>
#include <cstring>
#include <vector>

namespace {

constexpr int kQuestions = 300;
constexpr int kDrawn = 100;
constexpr double kMemoryBudgetMb = 45.0;
constexpr double kFrameMs = 16.7;
constexpr double kMedianTargetMs = 3.0;
const char* const kBareWindow = "--bare-window";

// The drawing asks the kinds in turn: question q is of kind (q - 1) % 3.
int kindOf(int q) {
    return (q - 1) % 3;
}

// What the pupil does on each question: the second answer; every term
// joined to a meaning; every word placed into its gap.
void answer(int q) {
    SessionRun& run = TestForm->run();
    switch (kindOf(q)) {
    case 0:
        TestForm->Ans2Click();
        break;
    case 1:
        for (int row = 1; row <= 10; ++row) {
            run.pickTerm(row);
            run.joinMeaning(11 - row);
        }
        break;
    default:
        for (int i = 0; i < TestForm->Words1->count(); ++i) {
            TestForm->Words1->setCurrentRow(i);
            TestForm->Words1Click();
            TestForm->Text1MouseDown(int(TestForm->Text1->toPlainText().indexOf(kGapMarker)) + 1);
        }
    }
}

// The moves of a walk, kept by the kind of the question moved to.
struct Moves {
    std::vector<double> ms[3];

    void move(int q) {
        QElapsedTimer t;
        t.start();
        TestForm->QP1->setValue(q);
        // Layout and paint run as the event loop runs them after a move.
        QApplication::processEvents();
        ms[kindOf(q)].push_back(double(t.nsecsElapsed()) / 1e6);
    }
    // There and back twice: every question is left and reached from both
    // sides, as a pupil checking answers does.
    void walk() {
        for (int pass = 0; pass < 2; ++pass) {
            for (int q = 1; q <= kDrawn; ++q)
                move(q);
            for (int q = kDrawn; q >= 1; --q)
                move(q);
        }
    }
    void report(const char* when) {
        static const char* const kinds[3] = {"four answers", "term matching", "gap text"};
        for (int k = 0; k < 3; ++k) {
            std::vector<double>& v = ms[k];
            std::sort(v.begin(), v.end());
            ::report(QStringLiteral("move to %1, %2: median").arg(kinds[k], when), v[v.size() / 2],
                     kMedianTargetMs, "target (3 ms)");
            ::report(QStringLiteral("move to %1, %2: worst").arg(kinds[k], when), v.back(),
                     kFrameMs, "frame");
        }
    }
};

// The reference for memory: the toolkit's bare window, shown, in a process of
// its own (this program started again with kBareWindow).
double bareWindowMb(const char* program) {
    QProcess child;
    child.start(QString::fromLocal8Bit(program), {QString::fromLatin1(kBareWindow)});
    if (!child.waitForFinished(60000))
        return 0;
    return child.readAllStandardOutput().trimmed().toDouble();
}

} // namespace

int main(int argc, char** argv) {
    renderOffscreenWithoutDisplay();
    QApplication app(argc, argv);
    if (argc > 1 && std::strcmp(argv[1], kBareWindow) == 0) {
        QWidget window;
        window.resize(800, 600);
        window.show();
        QApplication::processEvents();
        std::printf("%.1f\n", peakMemoryMb());
        return 0;
    }
    const double bareMb = bareWindowMb(argv[0]);

    QTemporaryDir dir;
    const QString folder = dir.path();
    makeBenchFolder(folder, kQuestions);
    openBenchRun(folder, kDrawn);
    std::printf("Session window, a run of %d questions: move, lay out and paint\n\n", kDrawn);

    Moves open;
    open.walk();
    open.report("nothing answered");
    for (int q = 1; q <= kDrawn; ++q) {
        TestForm->QP1->setValue(q);
        QApplication::processEvents();
        answer(q);
    }
    Moves answered;
    answered.walk();
    answered.report("everything answered");

    const double peakMb = peakMemoryMb();
    std::printf("\n%-58s %9.1f MB   %6.2f x budget (%.0f MB)\n",
                "peak memory of a 100-question run", peakMb, peakMb / kMemoryBudgetMb,
                kMemoryBudgetMb);
    if (bareMb > 0)
        std::printf("%-58s %9.1f MB   %6.2f x that\n", "a bare window of the toolkit", bareMb,
                    peakMb / bareMb);

    closeBenchRun();
    return 0;
}
