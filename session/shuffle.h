#pragma once

#include <QChar>
#include <array>
#include <optional>

// The answer letters А Б В Г naming the boxes 1..4 (and the columns
// AnsA..AnsD of a question).
QChar answerLetter(int box);
// 1..4 for А..Г, 0 for anything else.
int answerBox(QChar letter);

// Which source answers (1..4 = AnsA..AnsD of the question) go into the boxes
// 1..4 when the right answer, now in box `rightBox`, is to move to box
// `target`. The other three take fixed places; the table is the one the
// stored runs were made with.
std::array<int, 4> answerShuffle(int rightBox, int target);
