#include "app/startup.h"

#include <QApplication>

int main(int argc, char** argv) {
    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("Tamrel Kivor 2"));
    createApplicationObjects();
    const int rc = QApplication::exec();
    destroyApplicationObjects();
    return rc;
}
