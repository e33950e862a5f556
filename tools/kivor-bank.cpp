// kivor-bank [--check] <content folder> <program folder>
// Builds the databases of a program folder from the question-bank sources.

#include "tools/bank/bank.h"

#include <QCoreApplication>
#include <QTextStream>
#include <cstdio>

int main(int argc, char** argv) {
    // Picture formats come from the image plugins, which need an application.
    QCoreApplication app(argc, argv);
    QTextStream out(stdout);
    QTextStream err(stderr);
    return bank::run(app.arguments().mid(1), out, err);
}
