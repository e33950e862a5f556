#pragma once

// Where the drawing gets its chance from: a uniform whole number 0..n-1.
// The program uses one generator seeded once from the system's entropy;
// re-seeding from a clock before every draw would make draws close in time
// alike. Tests put a fixed sequence in its place.
class RandomSource {
public:
    virtual ~RandomSource() = default;
    // n >= 1.
    virtual int below(int n) = 0;
};

// The source the program draws from now.
RandomSource& randomSource();
// Replaces it (nullptr: back to the program's own generator). The caller
// keeps ownership.
void setRandomSource(RandomSource* source);
