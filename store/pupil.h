#pragma once

#include <QString>
#include <QStringList>

// The 30 division letters А … Я in the order whose positions 1 … 30 the
// pupil records keep: the registration offers them, kivor-results names them.
const QStringList& divisionLetters();
// Position 1 … 30 of a division letter (either case), 0 for any other text.
int divisionPosition(const QString& division);
