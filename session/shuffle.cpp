#include "shuffle.h"

std::array<int, 4> answerShuffle(int rightBox, int target) {
    // Rows: the right answer's box in the question; columns: the target box.
    // A=1, B=2, C=3, D=4.
    static const std::array<std::array<std::array<int, 4>, 4>, 4> table = {{
        {{{1, 4, 2, 3}, {3, 1, 4, 2}, {2, 4, 1, 3}, {3, 2, 4, 1}}},
        {{{2, 1, 4, 3}, {1, 2, 3, 4}, {4, 1, 2, 3}, {4, 3, 1, 2}}},
        {{{3, 2, 4, 1}, {4, 3, 1, 2}, {1, 2, 3, 4}, {4, 2, 1, 3}}},
        {{{4, 3, 1, 2}, {2, 4, 3, 1}, {1, 3, 4, 2}, {1, 2, 3, 4}}},
    }};
    return table[size_t(rightBox - 1)][size_t(target - 1)];
}
