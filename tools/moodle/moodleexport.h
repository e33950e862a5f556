#pragma once

#include "tools/bank/model.h"

class QTextStream;

// kivor-bank export-moodle: sections of the banks as Moodle XML, for Moodle's
// question import. Choice becomes multichoice, matching stays matching, gaps
// become ddwtos (drag and drop into text); each section is the category
// $course$/top/<subject>/<section>.
namespace moodle {

struct ExportSection {
    QString subject;
    bank::Section section;
};

// The file Moodle imports. Questions not listed in the program (test other
// than 1) are left out, and what Moodle cannot keep of the rest (points of
// single pairs or gaps: Moodle divides a question's grade evenly) is said in
// `notes`.
QByteArray moodleXml(const QList<ExportSection>& sections, QStringList* notes);

// "export-moodle <content folder | bank file> [--class N] [--subject S]
// [--section T] -o OUT.xml" (the words after "export-moodle"). A content
// folder needs --class. Exit code 0 when something was written, 1 when
// nothing matches or the source has faults, 2 on wrong usage.
int exportCommand(const QStringList& arguments, QTextStream& out, QTextStream& err);

} // namespace moodle
