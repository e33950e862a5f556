#pragma once

#include "model.h"

#include <functional>

namespace bank {

using question::kMaxGapText;
using question::kMaxPoints;

// Points written in a source: decimal digits only, from 1 to kMaxPoints.
bool parsePoints(const QString& text, int* value);

// Takes the gaps out of a source text written with "[word]" (1 point) or
// "[word|points]". Line breaks become a single LF and trailing ones are
// dropped, so that positions count as the text box counts. Problems are
// appended as Bulgarian messages: `faults` make the text unusable,
// `warnings` do not.
GapText parseGapText(const QString& source, QStringList* faults, QStringList* warnings);

// A gap text with every gap marker replaced by what `gap` makes of the gap's
// index: the way back from parseGapText to a written text.
QString fillGaps(const GapText& gaps, const std::function<QString(int)>& gap);

} // namespace bank
