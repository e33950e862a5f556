#pragma once

#include "question/question.h"

#include <QList>
#include <QString>

using question::gapInsideText;
using question::kGapMarker;
using question::kMaxGapText;

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
