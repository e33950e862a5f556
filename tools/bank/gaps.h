#pragma once

#include "model.h"

namespace bank {

// What every gap becomes in the stored passage: blank, five full stops, blank.
// The session replaces exactly these seven characters with the placed word.
inline const QString gapMarker = QStringLiteral(" ..... ");

// The most points a question, a pair or a gap may have: the program leaves a
// row with more out of every drawing.
constexpr int kMaxPoints = 1000;

// The longest gap text a question may have, in characters. A school passage
// is a few hundred; text layout of a much longer one (worst: one unbroken run
// of letters) takes the session window seconds to minutes at every change, so
// the program leaves such a row out and kivor-bank refuses it.
constexpr int kMaxGapText = 10000;

// Points written in a source: decimal digits only, from 1 to kMaxPoints.
bool parsePoints(const QString& text, int* value);

// Takes the gaps out of a source text written with "[word]" (1 point) or
// "[word|points]". Line breaks become a single LF and trailing ones are
// dropped, so that positions count as the text box counts. Problems are
// appended as Bulgarian messages: `faults` make the text unusable,
// `warnings` do not.
GapText parseGapText(const QString& source, QStringList* faults, QStringList* warnings);

} // namespace bank
