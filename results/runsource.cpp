#include "runsource.h"

#include "app/globals.h"
#include "session/clock.h"
#include "session/testform.h"
#include "settings/settingsform.h"
#include "settings/spinfield.h"
#include "setup/objectform.h"
#include "setup/regtestform.h"

#include <QComboBox>
#include <QTimer>

namespace {

class WindowsRunSource : public RunSource {
public:
    RunInputs inputs() override {
        RunInputs run;
        if (RegTestForm) {
            run.fullName = RegTestForm->fullName();
            run.numberInClass = RegTestForm->numberInClass();
            run.classText = RegTestForm->classText();
            run.divisionText = RegTestForm->division->currentText();
            run.divisionPosition = RegTestForm->divisionPosition();
        }
        if (ObjectForm) {
            run.subject = ObjectForm->TestSubject;
            run.section = ObjectForm->TestSection;
        }
        if (TestForm)
            run.score = TestForm->Score;
        return run;
    }

    void stopClocks() override {
        if (!TestForm)
            return;
        TestForm->Timer1->stop();
        TestForm->Timer5->stop();
    }

    QString timeLimitText() override {
        if (!SettingsForm)
            return QString();
        return clockText(ClockTime{SettingsForm->hour1->value(), SettingsForm->min1->value(),
                                   SettingsForm->sec1->value()});
    }

    QString elapsedText() override { return TestForm ? TestForm->ElapsedText : QString(); }
};

RunSource*& current() {
    static RunSource* source = nullptr;
    return source;
}

} // namespace

RunSource& runSource() {
    static WindowsRunSource windows;
    return current() ? *current() : windows;
}

void setRunSource(RunSource* source) {
    current() = source;
}
