#pragma once

class QString;

// A disk that fails under the program (full, failing, remounted read-only):
// the writes to one database file are refused with an I/O error while the
// reads go on. This is how the tests show what the program does then; the
// program itself never makes a disk fail.
//
// The layer lies under the files opened after it is installed; a file
// already open keeps the layer it was opened with.
void installDiskFaults();
// Every write to `path` and to its journal fails from now on; an empty path
// lets every write through again. Installs the layer when it is not yet.
void failWritesTo(const QString& path);
