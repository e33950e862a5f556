#pragma once

#include "setup/random.h"

#include <QList>

namespace fixture {

// A random source that gives the numbers it was handed, one after another
// and from the start again, each taken modulo n. While it lives it is the
// source the program draws from.
class FixedRandom : public RandomSource {
public:
    explicit FixedRandom(QList<int> values) : m_values(std::move(values)) { setRandomSource(this); }
    ~FixedRandom() override { setRandomSource(nullptr); }
    FixedRandom(const FixedRandom&) = delete;
    FixedRandom& operator=(const FixedRandom&) = delete;

    int below(int n) override {
        ++m_calls;
        if (m_values.isEmpty() || n <= 1)
            return 0;
        const int v = m_values[m_next];
        m_next = (m_next + 1) % int(m_values.size());
        return ((v % n) + n) % n;
    }
    int calls() const { return m_calls; }

private:
    QList<int> m_values;
    int m_next = 0;
    int m_calls = 0;
};

} // namespace fixture
