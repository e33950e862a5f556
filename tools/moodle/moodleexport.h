#pragma once

#include "tools/bank/model.h"

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

} // namespace moodle
