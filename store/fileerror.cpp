#include "fileerror.h"

#include <QFileDevice>

QString fileFault(const QFileDevice& file) {
    QString reason;
    switch (file.error()) {
    case QFileDevice::ResourceError:
        // Where Qt puts a full disk (ENOSPC) and a full quota.
        reason = QStringLiteral("на диска няма място");
        break;
    case QFileDevice::OpenError:
        reason = QStringLiteral("файлът липсва или няма права за него");
        break;
    case QFileDevice::PermissionsError:
        reason = QStringLiteral("няма права за файла");
        break;
    case QFileDevice::ReadError:
        reason = QStringLiteral("дискът не може да прочете файла");
        break;
    case QFileDevice::WriteError:
        reason = QStringLiteral("дискът не може да запише файла");
        break;
    case QFileDevice::RenameError:
        reason = QStringLiteral("новият файл не може да замени стария");
        break;
    default:
        reason = QStringLiteral("грешка на файловата система");
        break;
    }
    const QString system = file.errorString();
    return system.isEmpty() ? reason
                            : reason + QStringLiteral(" („") + system + QStringLiteral("“)");
}
