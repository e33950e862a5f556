// A run over large pictures: 40 questions, each with a 4000 x 3000 photo as a
// phone takes it, walked from the first to the last with the picture page
// opened on the way. Reports the peak memory of the walk against what one
// picture takes decoded at its own size.
#include "bench/benchutil.h"

#include "session/testform.h"
#include "store/connstr.h"
#include "store/jetsql.h"
#include "store/query.h"
#include "tools/jpeg/jpegwrite.h"
#include "ui/instances.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QImage>
#include <QRandomGenerator>
#include <QSlider>
#include <QStackedWidget>
#include <QTemporaryDir>
#include <cstdio>

namespace {

constexpr int kDrawn = 40;
constexpr int kWidth = 4000;
constexpr int kHeight = 3000;
// One picture decoded whole: what every question kept before.
constexpr double kWholePictureMb = kWidth * kHeight * 4 / (1024.0 * 1024.0);

// A photo's worth of detail: a gradient with grain, so that the file comes
// out about the size a phone's is.
QByteArray photo() {
    QImage image(kWidth, kHeight, QImage::Format_RGB32);
    QRandomGenerator grain(22);
    for (int y = 0; y < kHeight; ++y) {
        auto* line = reinterpret_cast<QRgb*>(image.scanLine(y));
        for (int x = 0; x < kWidth; ++x) {
            const int n = int(grain.bounded(8));
            line[x] = qRgb((x * 255 / kWidth + n) & 0xFF, (y * 255 / kHeight + n) & 0xFF,
                           (128 + n) & 0xFF);
        }
    }
    return encodeJpeg(image, 80);
}

void givePictures(const QString& folder, const QString& table, const QByteArray& picture) {
    Query q;
    q.setConnectionString(connectionString(folder, DbFile::Class, 1));
    q.setSql({QStringLiteral("select * from ") + quoteName(table)});
    q.open();
    for (int j = 1; j <= q.recordCount(); ++j) {
        q.moveTo(j);
        q.edit();
        q.setBlob(QStringLiteral("Picture"), picture);
        q.post();
    }
}

} // namespace

int main(int argc, char** argv) {
    renderOffscreenWithoutDisplay();
    QApplication app(argc, argv);
    QTemporaryDir dir;
    const QString folder = dir.path();
    const QString table = makeBenchFolder(folder, kDrawn);
    const QByteArray picture = photo();
    givePictures(folder, table, picture);
    std::printf("%d questions, each with a %d x %d JPEG of %.1f MB\n\n", kDrawn, kWidth, kHeight,
                double(picture.size()) / (1024.0 * 1024.0));

    openBenchRun(folder, kDrawn);
    const double before = peakMemoryMb();
    const bool reset = resetPeakMemory();
    const double start = peakMemoryMb();

    QElapsedTimer walk;
    walk.start();
    for (int q = 1; q <= kDrawn; ++q) {
        TestForm->QP1->setValue(q);
        QApplication::processEvents();
        // Every fifth question on the picture page too, and back.
        if (q % 5 == 0 && TestForm->Pages1->currentIndex() == TTestForm::FourAnswers) {
            TestForm->Label1Click();
            QApplication::processEvents();
            TestForm->Label2Click();
            QApplication::processEvents();
        }
    }
    report(QStringLiteral("walk %1 questions with large pictures, per question").arg(kDrawn),
           double(walk.nsecsElapsed()) / 1e6 / kDrawn);

    const double peak = peakMemoryMb();
    if (reset)
        std::printf("%-58s %9.1f MB\n", "resident at the start of the walk", start);
    else
        std::printf("(the peak could not be reset: it includes the set-up, %.1f MB)\n", before);
    std::printf("%-58s %9.1f MB\n", "peak memory of the walk", peak);
    std::printf("%-58s %9.1f MB   %6.2f x one whole picture (%.0f MB; target: under 1)\n",
                "growth of the peak over the walk", peak - start, (peak - start) / kWholePictureMb,
                kWholePictureMb);
    closeBenchRun();
    return 0;
}
