#include "helpstart.h"

#include "store/paths.h"

#include <QProcess>

void startHelpProgram(const QString& programFolder) {
    QProcess::startDetached(programPath(programFolder, QStringLiteral("\\help.exe")), {});
}
