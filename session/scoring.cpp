#include "scoring.h"

bool correctionAllowed(bool unlimited, int limit, int corrections) {
    return unlimited || limit <= corrections;
}

MarkChange scoreAnswer(bool right, bool counted, int points) {
    if (right && !counted)
        return {points, true, true};
    if (!right && counted)
        return {-points, false, true};
    return {0, counted, false};
}
