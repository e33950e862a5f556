// kivor-results PROGRAM_FOLDER [filters] [-o FILE]
// The pupils' records of a program folder as CSV, for a spreadsheet.

#include "tools/results/resultscsv.h"

#include <QCoreApplication>
#include <QFile>
#include <QTextStream>
#include <cstdio>

int main(int argc, char** argv) {
    QCoreApplication app(argc, argv);
    QFile out;
    if (!out.open(stdout, QIODevice::WriteOnly))
        return 1;
    QTextStream err(stderr);
    return resultscsv::run(app.arguments().mid(1), out, err);
}
