#pragma once

#include <cstdlib>

// A rule of the code under test that an input broke: the fuzzer keeps the
// input that did it.
inline void check(bool ok) {
    if (!ok)
        std::abort();
}
