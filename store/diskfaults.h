#pragma once

#include <functional>

class QString;

// A layer under the database engine's files through which the tests make the
// disk misbehave: a disk that fails under the program (full, failing,
// remounted read-only), or a process killed between two changes of a file.
// The program itself never installs it.
//
// The layer lies under the files opened after it is installed; a file
// already open keeps the layer it was opened with.
void installDiskFaults();

// The operations after which a file on disk differs.
enum class DiskChange { Open, Write, Truncate, Sync, Delete };

// Called before each such operation with the file's path (null for the
// engine's nameless temporary files); an answer other than SQLITE_OK refuses
// the operation with that error code. An empty function lets all through.
using DiskWatcher = std::function<int(DiskChange, const char* path)>;
void watchDiskChanges(DiskWatcher watcher);

// Every write to `path` and to its journal fails from now on; an empty path
// lets every write through again. Installs the layer when it is not yet.
void failWritesTo(const QString& path);
