#include "paths.h"

#include <QDir>
#include <QFileInfo>

namespace {

QString withSlashes(QString relative) {
    relative.replace(QLatin1Char('\\'), QLatin1Char('/'));
    return relative;
}

} // namespace

QString nativePath(const QString& path) {
    // A backslash may belong to the name of the program folder itself (a
    // legal character here): the longest beginning, up to a backslash, that
    // names an existing folder is kept as it is, and only the rest, the
    // program's relative path, is converted.
    for (qsizetype at = path.lastIndexOf(QLatin1Char('\\')); at > 0;
         at = path.lastIndexOf(QLatin1Char('\\'), at - 1)) {
        const QString folder = path.left(at);
        if (folder.contains(QLatin1Char('\\')) && QFileInfo(folder).isDir())
            return QDir::toNativeSeparators(folder + withSlashes(path.mid(at)));
    }
    return QDir::toNativeSeparators(withSlashes(path));
}

QString programPath(const QString& programFolder, const QString& relative) {
    return QDir::toNativeSeparators(programFolder + withSlashes(relative));
}
