// kivor-bank [--check] <content folder> <program folder>
// Builds the databases of a program folder from the question-bank sources.
// kivor-bank import-moodle … / export-moodle …: Moodle XML in and out.

#include "tools/bank/bank.h"
#include "tools/moodle/commands.h"

#include <QCoreApplication>
#include <QTextStream>
#include <cstdio>

int main(int argc, char** argv) {
    // Picture formats come from the image plugins, which need an application.
    QCoreApplication app(argc, argv);
    QTextStream out(stdout);
    QTextStream err(stderr);
    const QStringList arguments = app.arguments().mid(1);
    const QString command = arguments.value(0);
    if (command == QLatin1String("import-moodle"))
        return moodle::importCommand(arguments.mid(1), out, err);
    if (command == QLatin1String("export-moodle"))
        return moodle::exportCommand(arguments.mid(1), out, err);
    return bank::run(arguments, out, err);
}
