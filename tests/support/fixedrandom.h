#pragma once

#include "setup/random.h"

#include <QList>

namespace fixture {

// A random source that gives the numbers it was handed, one a draw, each
// taken modulo the n asked for, and 0 once they are used up (so a source
// made without numbers always gives 0). It keeps every n it was asked for.
// While it lives it is the source the program draws from.
class FixedRandom : public RandomSource {
public:
    FixedRandom() : FixedRandom(QList<int>()) {}
    explicit FixedRandom(QList<int> values) : m_values(std::move(values)) { setRandomSource(this); }
    ~FixedRandom() override { setRandomSource(nullptr); }
    FixedRandom(const FixedRandom&) = delete;
    FixedRandom& operator=(const FixedRandom&) = delete;

    int below(int n) override {
        m_asked.append(n);
        const int v = m_next < m_values.size() ? m_values[m_next] : 0;
        ++m_next;
        if (n <= 1)
            return 0;
        return ((v % n) + n) % n;
    }
    // The n of every draw, in order.
    const QList<int>& asked() const { return m_asked; }

private:
    QList<int> m_values;
    qsizetype m_next = 0;
    QList<int> m_asked;
};

} // namespace fixture
