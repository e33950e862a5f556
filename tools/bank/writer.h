#pragma once

#include "bank.h"

#include <QVariantHash>

namespace bank {

// Writes the databases of a program folder from content already read and
// checked; every failure to write is appended to `issues` as a fault.
void writeProgramFolder(const Content& content, const QString& programFolder, QList<Issue>* issues);

// The column values of one question row, by column name of the question
// table. `number` is the row's num.
QVariantHash questionRow(const Question& q, int number);

} // namespace bank
