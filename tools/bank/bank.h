#pragma once

#include "model.h"

class QTextStream;

// kivor-bank: turns the YAML sources of a content folder (banks/*.yaml,
// dict/*.yaml, pictures/) into the databases of a program folder.
namespace bank {

// Everything a content folder holds, read and checked. Sources and
// dictionaries with a fault are not in the lists: they contribute nothing.
struct Content {
    QList<Source> sources;
    QList<Dictionary> dictionaries;
    QList<Issue> issues;
};

Content readContent(const QString& contentFolder);

struct Report {
    QList<Issue> issues;
    int sources = 0; // fault-free sources, and what they hold
    int sections = 0;
    int questions = 0;
    int dictionaries = 0;
    bool hasFault() const { return bank::hasFault(issues); }
};

// Reads and checks every source; writes nothing.
Report check(const QString& contentFolder);

// Writes the databases of `programFolder` (creating its folders): the
// topics, one database per class with content (always class 1), the empty
// pupil database unless one with records is there, the scratch database and
// its template, m_thms.mdb and the dictionaries. Every file is built beside
// its place and renamed over it, so a failed run leaves the old one whole.
// Failures to write are faults in the report.
Report build(const QString& contentFolder, const QString& programFolder);

// The command line "kivor-bank [--check] <content folder> <program folder>":
// findings to `err`, a summary to `out`. Exit code 0 without faults, 1 with,
// 2 on wrong usage.
int run(const QStringList& arguments, QTextStream& out, QTextStream& err);

} // namespace bank
