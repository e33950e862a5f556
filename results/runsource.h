#pragma once

#include "grading.h"

#include <QString>

// Where the results window reads a finished run: the registration, subject,
// session and settings windows, at the moments the window needs them. Tests
// put a source of their own in place, so the window can be driven without a
// whole run behind it.
class RunSource {
public:
    virtual ~RunSource() = default;
    // The pupil, the subject and section and the points, when the window is shown.
    virtual RunInputs inputs() = 0;
    // Stops the session window's count-down and elapsed-time clocks.
    virtual void stopClocks() = 0;
    // The test settings' time limit as "h:m:s", when printing.
    virtual QString timeLimitText() = 0;
    // The session window's time used, when printing.
    virtual QString elapsedText() = 0;
};

// The source in use: the program's windows unless a test set another.
RunSource& runSource();
// Null puts the program's windows back.
void setRunSource(RunSource* source);
// The program's windows, put in place once they exist.
void setProgramRunSource(RunSource* source);
