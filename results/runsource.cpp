#include "runsource.h"

namespace {

// Before the program puts its windows in place, a run has nothing in it.
class NoRunSource : public RunSource {
public:
    RunInputs inputs() override { return RunInputs(); }
    void stopClocks() override {}
    QString timeLimitText() override { return QString(); }
    QString elapsedText() override { return QString(); }
};

RunSource*& current() {
    static RunSource* source = nullptr;
    return source;
}

RunSource*& program() {
    static NoRunSource none;
    static RunSource* source = &none;
    return source;
}

} // namespace

RunSource& runSource() {
    return current() ? *current() : *program();
}

void setRunSource(RunSource* source) {
    current() = source;
}

void setProgramRunSource(RunSource* source) {
    program() = source;
}
