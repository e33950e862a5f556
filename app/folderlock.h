#pragma once

#include <QString>
#include <memory>

class QLockFile;

// A program folder is worked in by one running program at a time: two would
// share one scratch database and store each other's runs. The hold lasts as
// long as its lock lives; a program that crashed on this computer leaves a
// lock the next start takes over.
struct FolderHold {
    std::unique_ptr<QLockFile> lock; // null when the folder is not held
    QString refusal;                 // why not, when another program holds it
    FolderHold();
    FolderHold(FolderHold&&) noexcept;
    ~FolderHold();
};

// Takes the lock of `folder` (its data folder holds the lock file). A folder
// whose lock cannot be made at all (no data folder, no right to write) is not
// refused here: it cannot hold a scratch database either, and the start-up
// check says what is wrong with it.
FolderHold holdProgramFolder(const QString& folder);
