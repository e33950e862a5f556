#include "random.h"

#include <random>

namespace {

class SystemRandom : public RandomSource {
public:
    SystemRandom() {
        std::random_device device;
        std::seed_seq seed{device(), device(), device(), device(), device(), device()};
        m_engine.seed(seed);
    }
    int below(int n) override {
        if (n <= 1)
            return 0;
        return std::uniform_int_distribution<int>(0, n - 1)(m_engine);
    }

private:
    std::mt19937_64 m_engine;
};

RandomSource* g_override = nullptr;

} // namespace

RandomSource& randomSource() {
    static SystemRandom system;
    return g_override ? *g_override : system;
}

void setRandomSource(RandomSource* source) {
    g_override = source;
}
