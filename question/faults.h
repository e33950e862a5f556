#pragma once

#include <QList>
#include <QString>

namespace question {

struct Question;

// What can be wrong with a question. The first ones keep it from being asked
// at all (see stopsAsking); the others mislead the pupil while the session
// could still show them, so kivor-bank refuses them and the program, which
// must take the banks it is given, asks them.
enum class FaultKind {
    Kind,         // a stored kind no kind has
    Points,       // the question's points are not a whole number from 0 to kMaxPoints
    Answers,      // item 0: not four answers; item i: answer i is empty
    RightAnswer,  // the right answer is not А, Б, В or Г
    NoPairs,      // no first term, or no meaning at all
    PairPoints,   // pair `item` has no points or too many
    NoGapText,    // no text or no words
    GapTextSize,  // the text is longer than kMaxGapText
    GapPlace,     // gap `item` is given no position
    GapPoints,    // gap `item` has no points or too many
    GapOutside,   // the marker of gap `item` runs past the end of the text
    GapNotMarker, // gap `item` is not at a marker of its own
    // Only refused by kivor-bank:
    PairCount,       // fewer than two pairs or more than the ten the screen shows
    PairTerm,        // pair `item` has no term
    PairMeaning,     // pair `item` has no meaning
    PairLineBreak,   // a term or meaning of pair `item` holds a line break
    RepeatedTerm,    // the term of pair `item` is that of an earlier pair
    RepeatedMeaning, // the meaning of pair `item` is that of an earlier pair
};

// Whether a question with this fault cannot be asked: it would show another
// question's page, stop the pupil's clicks or spoil the grade.
bool stopsAsking(FaultKind kind);

struct Fault {
    FaultKind kind;
    int item = 0;   // 1-based answer, pair or gap; 0 when the fault is the question's
    QString reason; // Bulgarian, in words a teacher can act on
};

// The faults of a question, in the order of its parts.
QList<Fault> questionFaults(const Question& q);

} // namespace question
