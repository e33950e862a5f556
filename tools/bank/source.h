#pragma once

#include "model.h"

namespace bank {

// Reads one bank file (`relativeFile` under `contentFolder`, e.g.
// "banks/bel5.yaml") into a model, appending every fault and warning it finds
// to `issues`. Pictures are read and checked here. Checks that need the other
// sources as well (table names, sections given twice) are not made here.
Source parseSource(const QString& contentFolder, const QString& relativeFile, QList<Issue>* issues);

// The same for one dictionary file ("dict/en_bg.yaml").
Dictionary parseDictionary(const QString& contentFolder, const QString& relativeFile,
                           QList<Issue>* issues);

// A table name the databases can hold and a statement can name safely:
// Latin letters, digits and _, not starting with a digit.
bool isTableName(const QString& name);

} // namespace bank
