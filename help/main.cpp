#include "helppages.h"
#include "helpwindow.h"

#include <QApplication>

// Started by the main program through the shell, with no arguments and no
// working directory; each start is an independent window.
int main(int argc, char* argv[]) {
    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("Kivor – помощ"));
    HelpWindow window(helpFolder(QCoreApplication::applicationDirPath()));
    window.show();
    return app.exec();
}
