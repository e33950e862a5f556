#pragma once

#include "tools/bank/gaps.h"

#include <QList>
#include <QString>

// What every gap of a gap-fill text shows while it is open: blank, five full
// stops, blank. Placing a word replaces exactly these seven characters.
inline const QString kGapMarker = QStringLiteral(" ..... ");

// The longest gap text a question may have, in characters: the bound the bank
// compiler checks sources against.
using bank::kMaxGapText;

// One gap of a question as its multi-line columns describe it: the right
// word, the marker's position in the text, the length value and the points.
struct GapKey {
    QString word;
    int start = 0;
    int leng = 0;
    int points = 0;
    friend bool operator==(const GapKey&, const GapKey&) = default;
};

// The gaps of a question, line i of each column belonging to gap i. A gap
// whose position, length or points are missing or not whole numbers comes
// from a damaged bank: it is left out, so that the question is still shown
// with the gaps that can be answered.
QList<GapKey> gapKeys(const QString& words, const QString& starts, const QString& lengs,
                      const QString& points);

// Whether the gap marker at `start` lies wholly inside a text of `length`
// characters.
bool gapInsideText(int start, int length);
