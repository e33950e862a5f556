#pragma once

#include <QString>

// Starts the help program of the program folder as a process of its own. The
// start is not checked and not waited for: a missing help program just does
// nothing, and every call starts another one.
void startHelpProgram(const QString& programFolder);
