#pragma once

#include <QtContainerFwd>

class QTextStream;

// The command lines of kivor-bank's Moodle commands: the words after
// "import-moodle" or "export-moodle"; findings to `err`, a summary to `out`.
namespace moodle {

// "FILE.xml --class N --subject S [--section T] [--table NAME] -o OUT.yaml".
// Questions left out and notes go to `err`. Exit code 0 when at least one
// question was written, 1 when none could be or the file is damaged (then
// nothing is written), 2 on wrong usage.
int importCommand(const QStringList& arguments, QTextStream& out, QTextStream& err);

// "<content folder | bank file> [--class N] [--subject S] [--section T]
// -o OUT.xml"; a content folder needs --class. Exit code 0 when something
// was written, 1 when nothing matches or the source has faults, 2 on wrong
// usage.
int exportCommand(const QStringList& arguments, QTextStream& out, QTextStream& err);

} // namespace moodle
