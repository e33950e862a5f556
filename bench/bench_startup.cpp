#include "bench_startup.h"

#include "benchutil.h"

#include "app/globals.h"
#include "app/mainform.h"
#include "app/startup.h"
#include "kit/messages.h"

#include <QApplication>
#include <QDir>
#include <QTemporaryDir>
#include <cstdio>

void benchStartup() {
    const QString folder = QStringLiteral(KIVOR_PROGRAM_FOLDER);
    if (!QDir(folder).exists(QStringLiteral("data"))) {
        std::printf("start-up: no program folder at %s (build it first)\n", qPrintable(folder));
        return;
    }
    QTemporaryDir config;
    qputenv("XDG_CONFIG_HOME", config.path().toLocal8Bit());
    const QString before = QDir::currentPath();
    QDir::setCurrent(folder);
    int failures = 0;
    setMessageSink([&failures](MessageKind, const QString&) { ++failures; });
    // Everything the program does before and besides the fixed 2.5 s splash:
    // making the windows and the start-up steps (settings, dictionary list,
    // welcome picture).
    const double ms = medianMs(5, [] {
        createApplicationObjects();
        MainForm->Timer1Timer();
        QApplication::processEvents();
        destroyApplicationObjects();
    });
    setMessageSink({});
    QDir::setCurrent(before);
    std::printf("\n");
    report(QStringLiteral("start-up work besides the splash (target: under 300 ms)"), ms);
    if (failures)
        std::printf("  (%d messages were shown during start-up)\n", failures);
}
