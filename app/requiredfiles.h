#pragma once

#include <QString>
#include <QStringList>

// The files an installation must hold for the program to start, relative to
// the program folder and tested in this order.
const QStringList& requiredFiles();

// Index of the first required file missing under `folder`, or -1 when all are
// there. Only existence as a file counts, not content.
int firstMissingRequiredFile(const QString& folder);
