#include "question.h"

#include <algorithm>
#include <limits>

namespace question {

std::optional<Kind> kindOf(int stored) {
    if (stored < int(Kind::Choice) || stored > int(Kind::Gaps))
        return std::nullopt;
    return Kind(stored);
}

QChar answerLetter(int box) {
    return box >= 1 && box <= 4 ? kAnswerLetters[box - 1] : QChar();
}

int answerBox(QChar letter) {
    return int(kAnswerLetters.indexOf(letter)) + 1;
}

bool gapInsideText(int start, int length) {
    return start >= 0 && start <= length - int(kGapMarker.size());
}

int GapText::totalPoints() const {
    qint64 sum = 0;
    for (int p : points)
        sum += p;
    return int(std::min<qint64>(sum, std::numeric_limits<int>::max()));
}

int itemPoints(const Question& q) {
    switch (q.kind) {
    case Kind::Choice:
        return 0;
    case Kind::Matching: {
        qint64 sum = 0;
        for (const Pair& p : q.pairs)
            sum += p.points;
        return int(std::min<qint64>(sum, std::numeric_limits<int>::max()));
    }
    case Kind::Gaps:
        return q.gaps.totalPoints();
    }
    return 0;
}

} // namespace question
