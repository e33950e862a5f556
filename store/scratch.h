#pragma once

#include <QString>

// Puts a fresh, empty scratch database in place for the next run: every
// connection on \data\temp.mdb is closed first (with the queries over it), so
// nothing keeps writing into a file that is replaced, then the file becomes a
// copy of the template \data\ctemp.mdb. Failures are not reported here: a run
// then goes on in the file that is there, and the drawing empties its tables.
void renewScratch(const QString& programFolder);
