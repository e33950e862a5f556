#pragma once

#include <QString>

// Paths are written as the program folder followed by a relative path that
// starts with a backslash ("\data\topics.mdb"). This is the one place where
// such a path becomes a path of this platform.
QString nativePath(const QString& path);

// ProgramFolder + relative ("\data\x.mdb"), as a path of this platform.
QString programPath(const QString& programFolder, const QString& relative);
