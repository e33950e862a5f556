#pragma once

// The corrections limit of every answer action that counts: allowed while the
// question's count of counted actions is at most the corrections setting, or
// always when corrections are unlimited. So a setting of n allows n + 1
// counted actions: the first answer and n corrections.
bool correctionAllowed(bool unlimited, int limit, int corrections);

// What an answer does to the run's score. Every scored item carries a mark
// that is "yes" exactly while its points are in the score; points move only
// when the mark flips, so answering the same way twice changes nothing.
struct MarkChange {
    int scoreDelta = 0;
    bool counted = false; // the item's mark after the answer
    bool flipped = false; // the mark changed and must be stored
};
MarkChange scoreAnswer(bool right, bool counted, int points);
