#include "scratch.h"

#include "connection.h"
#include "paths.h"

#include <QFile>

void renewScratch(const QString& programFolder) {
    const QString scratch = programPath(programFolder, QStringLiteral("\\data\\temp.mdb"));
    const QString templ = programPath(programFolder, QStringLiteral("\\data\\ctemp.mdb"));
    Connection::closeAllOn(scratch);
    // Without a template the old file is better than none: the drawing
    // empties its tables itself.
    if (!QFile::exists(templ))
        return;
    QFile::remove(scratch);
    // A journal left by an interrupted run would be applied to the new file.
    QFile::remove(scratch + QStringLiteral("-journal"));
    if (QFile::copy(templ, scratch)) {
        // The template may be installed read-only; the scratch file is written.
        QFile::setPermissions(scratch,
                              QFile::permissions(scratch) | QFile::WriteOwner | QFile::ReadOwner);
    }
}
