#include "folderlock.h"

#include <QDir>
#include <QLockFile>

FolderHold::FolderHold() = default;
FolderHold::FolderHold(FolderHold&&) noexcept = default;
FolderHold::~FolderHold() = default;

FolderHold holdProgramFolder(const QString& folder) {
    FolderHold hold;
    const QString path = folder + QStringLiteral("/data/kivor.lock");
    auto lock = std::make_unique<QLockFile>(path);
    // Only a dead process on this computer frees a lock. By age alone, Qt
    // would call a lock stale after 30 s and, on a file system without
    // native locks, hand a running program's folder to a second one.
    lock->setStaleLockTime(0);
    if (lock->tryLock(0)) {
        hold.lock = std::move(lock);
        return hold;
    }
    if (lock->error() != QLockFile::LockFailedError)
        return hold;

    qint64 pid = 0;
    QString host;
    QString app;
    QString who;
    if (lock->getLockInfo(&pid, &host, &app))
        who = QStringLiteral(" (процес %1 на компютъра „%2“)").arg(pid).arg(host);
    hold.refusal =
        QStringLiteral("Kivor вече работи с папката %1%2.\r\r"
                       "Две копия на програмата в една папка смесват тестовете на учениците, "
                       "затова това копие няма да започне. Затворете другото копие и опитайте "
                       "отново.\r\rАко никое друго копие не работи (например другият компютър е "
                       "спрял внезапно), изтрийте файла %3.")
            .arg(QDir::toNativeSeparators(folder), who, QDir::toNativeSeparators(path));
    return hold;
}
