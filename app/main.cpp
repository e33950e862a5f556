#include "app/folderlock.h"
#include "app/globals.h"
#include "app/mainform.h"
#include "app/startup.h"
#include "kit/messages.h"

#include <QApplication>
#include <QDir>
#include <QEvent>
#include <QTimer>
#include <cstdio>
#include <cstring>

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

// Answered before anything of the toolkit starts: a terminal without a
// display must get them too, and no folder may be touched for them.
int answerCommandLine(int argc, char** argv) {
    for (int i = 1; i < argc; ++i) {
        if (std::strcmp(argv[i], "--version") == 0) {
            std::printf("Kivor %s\n", KIVOR_VERSION);
            return 0;
        }
        if (std::strcmp(argv[i], "--help") == 0 || std::strcmp(argv[i], "-h") == 0) {
            std::printf(
                "Употреба: kivor [--help | --version]\n\n"
                "Kivor е програма за тестове и обучение на ученици по въпроси, подредени по\n"
                "клас, предмет и раздел. Работи в папката си: инсталираната програма я прави\n"
                "при първото стартиране в ~/.local/share/kivor (или $XDG_DATA_HOME/kivor).\n"
                "Резултатите на учениците се пазят в data/students.mdb в тази папка.\n"
                "В една папка може да работи само едно копие на програмата.\n\n"
                "  --help     показва този текст\n"
                "  --version  показва версията\n\n"
                "Повече: man kivor, man kivor-bank, man kivor-results.\n");
            return 0;
        }
    }
    return -1;
}

} // namespace

int main(int argc, char** argv) {
    if (const int rc = answerCommandLine(argc, argv); rc >= 0)
        return rc;
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

    // Held until the program ends; the operating system lets go of it when
    // the program crashes.
    const FolderHold hold = holdProgramFolder(QDir::currentPath());
    if (!hold.refusal.isEmpty()) {
        showMessage(MessageKind::Error, hold.refusal);
        return 1;
    }

    createApplicationObjects();
    if (probing())
        MainForm->installEventFilter(new EndWhenShown(MainForm));
    const int rc = QApplication::exec();
    destroyApplicationObjects();
    return rc;
}
