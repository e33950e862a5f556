// Moving to another question in the session window, kind by kind: the time
// from the move until the question is displayed and laid out, against one
// frame (16 ms).
#include "bench/benchutil.h"

#include "session/gapkey.h"
#include "session/sessionrun.h"
#include "session/testform.h"
#include "ui/instances.h"

#include <QApplication>
#include <QListWidget>
#include <QSlider>
#include <QStackedWidget>
#include <QTemporaryDir>
#include <QTextEdit>
#include <cstdio>

namespace {

constexpr int kQuestions = 300;
constexpr int kDrawn = 100;
constexpr double kMemoryBudgetMb = 80.0;
constexpr int kRuns = 21;
constexpr double kFrameMs = 16.0;

} // namespace

int main(int argc, char** argv) {
    renderOffscreenWithoutDisplay();
    QApplication app(argc, argv);
    QTemporaryDir dir;
    const QString folder = dir.path();
    makeBenchFolder(folder, kQuestions);

    openBenchRun(folder, kDrawn);

    std::printf("Session window: move to another question, displayed and laid out\n\n");
    const char* kinds[3] = {"four answers", "term matching", "gap text"};
    // The drawing asks the kinds in turn: rows k+1, k+4, k+7 ... are of kind k.
    for (int kind = 0; kind < 3; ++kind) {
        int turn = 0;
        const double ms = medianMs(kRuns, [&] {
            TestForm->QP1->setValue(kind + 1 + 3 * (turn++ % 4));
            QApplication::processEvents();
        });
        if (TestForm->Pages1->currentIndex() != kind)
            std::printf("(the question shown is not of this kind)\n");
        report(QStringLiteral("move to a question: %1 (target: under one frame)")
                   .arg(QLatin1String(kinds[kind])),
               ms, kFrameMs, "frame");
    }

    // The term questions met above, each with ten lines drawn: moving to one
    // redraws every line from the stored rows.
    for (int turn = 0; turn < 4; ++turn) {
        TestForm->QP1->setValue(2 + 3 * turn);
        QApplication::processEvents();
        SessionRun& run = TestForm->run();
        for (int row = 1; row <= 10; ++row) {
            run.pickTerm(row);
            run.joinMeaning(11 - row);
        }
    }
    int turn = 0;
    const double linesMs = medianMs(kRuns, [&] {
        TestForm->QP1->setValue(2 + 3 * (turn++ % 4));
        QApplication::processEvents();
    });
    if (TestForm->run().lines().size() != 10)
        std::printf("(the term question shown has not ten lines)\n");
    report(QStringLiteral("move to a term question with ten lines drawn (target: under one frame)"),
           linesMs, kFrameMs, "frame");
    // The same gap questions with every gap filled, as the pupil fills them:
    // each shown again puts its words back and moves its answer key.
    bool leftOpen = false;
    for (int turn = 0; turn < 4; ++turn) {
        TestForm->QP1->setValue(3 + 3 * turn);
        QApplication::processEvents();
        for (int i = 0; i < TestForm->Words1->count(); ++i) {
            TestForm->Words1->setCurrentRow(i);
            TestForm->Words1Click();
            TestForm->Text1MouseDown(int(TestForm->Text1->toPlainText().indexOf(kGapMarker)) + 1);
        }
        leftOpen = leftOpen || TestForm->Text1->toPlainText().contains(kGapMarker);
    }
    if (leftOpen)
        std::printf("(a gap was left open)\n");
    turn = 0;
    const double filled = medianMs(kRuns, [&] {
        TestForm->QP1->setValue(3 + 3 * (turn++ % 4));
        QApplication::processEvents();
    });
    report(QStringLiteral("move to a question: gap text, all gaps filled (ditto)"), filled,
           kFrameMs, "frame");

    // A whole run of 100 questions walked from the first to the last: the
    // peak memory of the process against the budget.
    for (int q = 1; q <= kDrawn; ++q) {
        TestForm->QP1->setValue(q);
        QApplication::processEvents();
    }
    const double peakMb = peakMemoryMb();
    std::printf("\n%-58s %9.1f MB   %6.2f x budget (%.0f MB)\n",
                "peak memory of a 100-question run", peakMb, peakMb / kMemoryBudgetMb,
                kMemoryBudgetMb);

    closeBenchRun();
    return 0;
}
