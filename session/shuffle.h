#pragma once

#include "question/question.h"

#include <array>
#include <optional>

using question::answerBox;
using question::answerLetter;

// Which source answers (1..4 = AnsA..AnsD of the question) go into the boxes
// 1..4 when the right answer, now in box `rightBox`, is to move to box
// `target`. The other three take fixed places; the table is the one the
// stored runs were made with.
std::array<int, 4> answerShuffle(int rightBox, int target);
