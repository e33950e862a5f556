#include "pupilversion.h"

#include "connection.h"
#include "connstr.h"
#include "fileerror.h"

#include <QFile>
#include <QFileInfo>
#include <algorithm>
#include <fcntl.h>
#include <filesystem>
#include <memory>
#include <sqlite3.h>
#include <unistd.h>

const PupilFileSteps& pupilFileSteps() {
    static const PupilFileSteps steps{
        // 0 -> 1: the layout every school has had; only the number is new.
        {},
    };
    return steps;
}

namespace {

// The one whole number a statement answers.
int number(Connection& c, const char* sql) {
    sqlite3_stmt* stmt = nullptr;
    int rc = sqlite3_prepare_v2(c.handle(), sql, -1, &stmt, nullptr);
    if (rc != SQLITE_OK)
        c.fail(rc);
    rc = sqlite3_step(stmt);
    const int value = rc == SQLITE_ROW ? sqlite3_column_int(stmt, 0) : 0;
    sqlite3_finalize(stmt);
    if (rc != SQLITE_ROW)
        c.fail(rc);
    return value;
}

} // namespace

int storedPupilFileVersion(Connection& c) {
    return number(c, "pragma user_version");
}

void stampPupilFile(Connection& c, const PupilFileSteps& steps) {
    c.execRaw(QStringLiteral("pragma user_version = %1").arg(currentPupilFileVersion(steps)));
}

PupilFileTooNew::PupilFileTooNew(const QString& path, int version, int known)
    : StoreError(QStringLiteral("Файлът с резултатите на учениците „%1“ е от по-нова версия на "
                                "Kivor (версия %2 на файла, а тази програма познава до версия "
                                "%3). Програмата не чете и не записва резултати в него и го "
                                "оставя непроменен. Инсталирайте по-новата версия на Kivor.")
                     .arg(path)
                     .arg(version)
                     .arg(known)) {}

void refuseNewerPupilFile(Connection& c, const QString& shownPath, const PupilFileSteps& steps) {
    const int version = storedPupilFileVersion(c);
    if (version > currentPupilFileVersion(steps))
        throw PupilFileTooNew(shownPath, version, currentPupilFileVersion(steps));
}

namespace {

[[noreturn]] void copyFails(const QString& copy, const QString& why) {
    throw StoreError(QStringLiteral("Копието „%1“ на резултатите на учениците не може да бъде "
                                    "записано: %2. Файлът с резултатите не е променен.")
                         .arg(copy, why));
}

// Writes the bytes through the engine's own file layer, as the engine writes
// the database itself, so that the copy is synced the same way and whatever
// watches the engine's file operations sees the copy's as well.
void writeSynced(const QString& path, const QByteArray& bytes) {
    sqlite3_vfs* vfs = sqlite3_vfs_find(nullptr);
    const QByteArray name = QFile::encodeName(path);
    const auto space = std::make_unique<char[]>(size_t(vfs->szOsFile));
    auto* file = reinterpret_cast<sqlite3_file*>(space.get());
    const int flags = SQLITE_OPEN_READWRITE | SQLITE_OPEN_CREATE | SQLITE_OPEN_MAIN_DB;
    int rc = vfs->xOpen(vfs, name.constData(), file, flags, nullptr);
    if (rc != SQLITE_OK) {
        if (file->pMethods)
            file->pMethods->xClose(file);
        copyFails(path, engineReason(rc, QString()));
    }
    rc = file->pMethods->xTruncate(file, 0);
    constexpr qsizetype chunk = 1 << 16;
    for (qsizetype at = 0; rc == SQLITE_OK && at < bytes.size(); at += chunk)
        rc = file->pMethods->xWrite(file, bytes.constData() + at,
                                    int(std::min(chunk, bytes.size() - at)), at);
    if (rc == SQLITE_OK)
        rc = file->pMethods->xSync(file, SQLITE_SYNC_FULL);
    file->pMethods->xClose(file);
    if (rc != SQLITE_OK)
        copyFails(path, engineReason(rc, QString()));
}

// The copy must be whole and on the disk before the migration begins. The
// migration's commit rewrites the pupil file in place and syncs it; were the
// copy still only in memory when the power goes, the disk could hold the
// migrated file beside an empty or half-written copy, and the school would have
// lost the one way back to its records as they were. It is written under
// another name and renamed, so a copy cut short never bears the kept name.
void keepCopy(const QString& from, const QString& to) {
    QFile source(from);
    if (!source.open(QIODevice::ReadOnly))
        copyFails(to, fileFault(source));
    const QByteArray bytes = source.readAll();
    if (source.error() != QFileDevice::NoError)
        copyFails(to, fileFault(source));
    const QString part = to + QStringLiteral(".part");
    writeSynced(part, bytes);
    std::error_code ec;
    std::filesystem::rename(QFile::encodeName(part).toStdString(),
                            QFile::encodeName(to).toStdString(), ec);
    if (ec)
        copyFails(to, QString::fromLocal8Bit(ec.message()));
    // The new name is an entry of the folder: synced with the folder.
    const QByteArray folder = QFile::encodeName(QFileInfo(to).absolutePath());
    const int fd = ::open(folder.constData(), O_RDONLY | O_DIRECTORY);
    const bool synced = fd >= 0 && ::fsync(fd) == 0;
    if (fd >= 0)
        ::close(fd);
    if (!synced)
        copyFails(to, QStringLiteral("папката не може да бъде записана на диска"));
}

} // namespace

PupilFileUpgrade upgradePupilFile(const QString& programFolder, const PupilFileSteps& steps) {
    Connection c(connectionString(programFolder, DbFile::Students));
    if (!QFileInfo(parseConnectionString(c.connectionString()).path).isFile())
        return PupilFileUpgrade::Absent;
    try {
        // Opening also rolls back a journal left by a crash, so the file
        // alone holds all there is when it is copied.
        c.open();
        // An empty file opens as an empty database: it holds no records to
        // keep, and stamping it would hide what is wrong with it.
        if (number(c, "select count(*) from sqlite_master where type = 'table' and "
                      "lower(name) = 'student'") == 0)
            return PupilFileUpgrade::Unreadable;
    } catch (const StoreError&) {
        return PupilFileUpgrade::Unreadable;
    }
    const int version = storedPupilFileVersion(c);
    const int current = currentPupilFileVersion(steps);
    if (version > current)
        throw PupilFileTooNew(c.path(), version, current);
    if (version == current)
        return PupilFileUpgrade::Current;

    const QString path = c.path();
    c.close();
    // A file never stamped holds the first layout.
    keepCopy(path, path + QStringLiteral(".v%1").arg(std::max(version, 1)));
    c.open();
    Transaction t(c);
    for (int n = version; n < current; ++n) {
        for (const QString& statement : steps.at(n))
            c.execRaw(statement);
        c.execRaw(QStringLiteral("pragma user_version = %1").arg(n + 1));
    }
    t.commit();
    return PupilFileUpgrade::Migrated;
}

void upgradePupilFileBeforeUse(const QString& programFolder) {
    static QString upgraded;
    if (upgraded == programFolder)
        return;
    upgradePupilFile(programFolder);
    upgraded = programFolder;
}
