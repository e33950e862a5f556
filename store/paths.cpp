#include "paths.h"

#include <QDir>

QString nativePath(const QString& path) {
    QString p = path;
    p.replace(QLatin1Char('\\'), QLatin1Char('/'));
    return QDir::toNativeSeparators(p);
}

QString programPath(const QString& programFolder, const QString& relative) {
    return nativePath(programFolder + relative);
}
