#include "app/globals.h"
#include "app/mainform.h"
#include "app/messages.h"
#include "app/startup.h"

#include <QApplication>
#include <QEvent>
#include <QTimer>
#include <cstdio>

namespace {

// The test of the installed package starts the program through its launcher,
// where nobody can press a button: with KIVOR_PROBE_START set, messages go to
// the output instead of into boxes, and the program says where its main window
// came up and ends.
bool probing() {
    return qEnvironmentVariableIsSet("KIVOR_PROBE_START");
}

void say(const QString& line) {
    std::printf("kivor: %s\n", qPrintable(line));
    std::fflush(stdout);
}

class EndWhenShown : public QObject {
public:
    using QObject::QObject;

protected:
    bool eventFilter(QObject* watched, QEvent* event) override {
        if (event->type() == QEvent::Show && watched == MainForm) {
            say(QStringLiteral("main window in ") + MainForm->ProgramFolder);
            QTimer::singleShot(0, MainForm, &QWidget::close);
        }
        return QObject::eventFilter(watched, event);
    }
};

} // namespace

int main(int argc, char** argv) {
    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("Tamrel Kivor 2"));
    if (probing())
        setMessageSink(
            [](MessageKind, const QString& text) { say(QStringLiteral("message: ") + text); });

    // The launcher's way to a box when the program folder cannot be made:
    // without it nothing else of the program can run.
    const QStringList args = QApplication::arguments();
    if (args.size() == 3 && args.at(1) == QLatin1String("--message")) {
        showMessage(MessageKind::Error, args.at(2));
        return 1;
    }

    createApplicationObjects();
    if (probing())
        MainForm->installEventFilter(new EndWhenShown(MainForm));
    const int rc = QApplication::exec();
    destroyApplicationObjects();
    return rc;
}
