#include "diskfaults.h"

#include <QByteArray>
#include <QFileInfo>
#include <QString>
#include <algorithm>
#include <cstring>
#include <sqlite3.h>

namespace {

sqlite3_vfs* g_real = nullptr;
sqlite3_vfs g_faulty;
DiskWatcher g_watcher;

struct FaultyFile {
    sqlite3_file base;
    const char* name;   // the engine keeps it alive while the file is open
    sqlite3_file* real; // the default layer's file, right behind this struct
};

FaultyFile* faulty(sqlite3_file* f) {
    return reinterpret_cast<FaultyFile*>(f);
}
sqlite3_file* realOf(sqlite3_file* f) {
    return faulty(f)->real;
}

int watched(DiskChange change, const char* path) {
    return g_watcher ? g_watcher(change, path) : SQLITE_OK;
}

int fileClose(sqlite3_file* f) {
    return realOf(f)->pMethods->xClose(realOf(f));
}
int fileRead(sqlite3_file* f, void* buf, int n, sqlite3_int64 at) {
    return realOf(f)->pMethods->xRead(realOf(f), buf, n, at);
}
int fileWrite(sqlite3_file* f, const void* buf, int n, sqlite3_int64 at) {
    if (const int rc = watched(DiskChange::Write, faulty(f)->name); rc != SQLITE_OK)
        return rc;
    return realOf(f)->pMethods->xWrite(realOf(f), buf, n, at);
}
int fileTruncate(sqlite3_file* f, sqlite3_int64 size) {
    if (const int rc = watched(DiskChange::Truncate, faulty(f)->name); rc != SQLITE_OK)
        return rc;
    return realOf(f)->pMethods->xTruncate(realOf(f), size);
}
int fileSync(sqlite3_file* f, int flags) {
    if (const int rc = watched(DiskChange::Sync, faulty(f)->name); rc != SQLITE_OK)
        return rc;
    return realOf(f)->pMethods->xSync(realOf(f), flags);
}
int fileSize(sqlite3_file* f, sqlite3_int64* size) {
    return realOf(f)->pMethods->xFileSize(realOf(f), size);
}
int fileLock(sqlite3_file* f, int level) {
    return realOf(f)->pMethods->xLock(realOf(f), level);
}
int fileUnlock(sqlite3_file* f, int level) {
    return realOf(f)->pMethods->xUnlock(realOf(f), level);
}
int fileReserved(sqlite3_file* f, int* out) {
    return realOf(f)->pMethods->xCheckReservedLock(realOf(f), out);
}
int fileControl(sqlite3_file* f, int op, void* arg) {
    return realOf(f)->pMethods->xFileControl(realOf(f), op, arg);
}
int fileSectorSize(sqlite3_file* f) {
    return realOf(f)->pMethods->xSectorSize(realOf(f));
}
int fileCharacteristics(sqlite3_file* f) {
    return realOf(f)->pMethods->xDeviceCharacteristics(realOf(f));
}

// Version 1: without shared-memory and mapping methods the engine uses
// neither, and the program's journal modes need neither.
sqlite3_io_methods faultyMethods() {
    sqlite3_io_methods m{};
    m.iVersion = 1;
    m.xClose = fileClose;
    m.xRead = fileRead;
    m.xWrite = fileWrite;
    m.xTruncate = fileTruncate;
    m.xSync = fileSync;
    m.xFileSize = fileSize;
    m.xLock = fileLock;
    m.xUnlock = fileUnlock;
    m.xCheckReservedLock = fileReserved;
    m.xFileControl = fileControl;
    m.xSectorSize = fileSectorSize;
    m.xDeviceCharacteristics = fileCharacteristics;
    return m;
}
const sqlite3_io_methods kFaultyMethods = faultyMethods();

int vfsOpen(sqlite3_vfs*, const char* name, sqlite3_file* f, int flags, int* outFlags) {
    FaultyFile* file = faulty(f);
    file->base.pMethods = nullptr;
    if (const int rc = watched(DiskChange::Open, name); rc != SQLITE_OK)
        return rc;
    file->name = name;
    file->real = reinterpret_cast<sqlite3_file*>(file + 1);
    const int rc = g_real->xOpen(g_real, name, file->real, flags, outFlags);
    if (file->real->pMethods)
        file->base.pMethods = &kFaultyMethods;
    return rc;
}

int vfsDelete(sqlite3_vfs*, const char* name, int syncDir) {
    if (const int rc = watched(DiskChange::Delete, name); rc != SQLITE_OK)
        return rc;
    return g_real->xDelete(g_real, name, syncDir);
}

} // namespace

void installDiskFaults() {
    if (g_real)
        return;
    g_real = sqlite3_vfs_find(nullptr);
    g_faulty = *g_real;
    g_faulty.iVersion = std::min(g_real->iVersion, 3);
    g_faulty.szOsFile = int(sizeof(FaultyFile)) + g_real->szOsFile;
    g_faulty.zName = "diskfaults";
    g_faulty.pNext = nullptr;
    g_faulty.xOpen = vfsOpen;
    g_faulty.xDelete = vfsDelete;
    sqlite3_vfs_register(&g_faulty, 1);
}

void watchDiskChanges(DiskWatcher watcher) {
    installDiskFaults();
    g_watcher = std::move(watcher);
}

void failWritesTo(const QString& path) {
    if (path.isEmpty()) {
        watchDiskChanges({});
        return;
    }
    // The database file itself or one of its side files ("…-journal").
    const QByteArray failing = QFileInfo(path).absoluteFilePath().toUtf8();
    watchDiskChanges([failing](DiskChange change, const char* name) {
        const size_t n = size_t(failing.size());
        if (change == DiskChange::Open || change == DiskChange::Delete || !name ||
            std::strncmp(name, failing.constData(), n) != 0 || (name[n] != '\0' && name[n] != '-'))
            return SQLITE_OK;
        return change == DiskChange::Write      ? SQLITE_IOERR_WRITE
               : change == DiskChange::Truncate ? SQLITE_IOERR_TRUNCATE
                                                : SQLITE_IOERR_FSYNC;
    });
}
