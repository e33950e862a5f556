#include "runflow.h"

#include "instances.h"
#include "mainwindow.h"
#include "results/runsource.h"
#include "results/valform.h"
#include "session/clock.h"
#include "session/testform.h"
#include "settings/settingsform.h"
#include "settings/spinfield.h"
#include "setup/objectform.h"
#include "setup/regtestform.h"

#include <QCheckBox>
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

} // namespace

void showMainWindow() {
    if (MainWindow) {
        MainWindow->show();
        MainWindow->setEnabled(true);
    }
}

QString runKind() {
    return ObjectForm ? ObjectForm->SessionKind : QString();
}

void hideSubjectWindow() {
    if (ObjectForm)
        ObjectForm->hide();
}

void showRunResults() {
    // The results window grades the run from temp4 and Score while both are
    // still there, stores the record and brings the main window back.
    if (ValForm)
        ValForm->show();
    else
        showMainWindow();
}

void restoreCorrectionsSettings() {
    if (!ObjectForm || !SettingsForm)
        return;
    SettingsForm->unnumcor1->setChecked(ObjectForm->SavedUnlimitedCorrections);
    SettingsForm->numcor1->setValue(ObjectForm->SavedCorrectionsCount);
}

void installRunSource() {
    static WindowsRunSource windows;
    setProgramRunSource(&windows);
}
