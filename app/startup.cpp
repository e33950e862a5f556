#include "startup.h"

#include "ui/runflow.h"

#include "aboutbox.h"
#include "globals.h"
#include "kit/messages.h"
#include "mainform.h"
#include "results/valform.h"
#include "session/testform.h"
#include "settings/settingsform.h"
#include "setup/objectform.h"
#include "setup/progressform.h"
#include "setup/regtestform.h"
#include "splashform.h"
#include "store/datamodule.h"

#include <QApplication>

void createApplicationObjects() {
    // The program ends when its main window closes, and only then: closing
    // a message box over a lone tool window must not end it.
    QApplication::setQuitOnLastWindowClosed(false);
    MainForm = new Tmain;
    MainWindow = MainForm;
    setMessageMainWindow([] { return MainWindow; });
    SplashForm = new TSplashForm;
    SplashForm->show();
    DataModule2 = new TDataModule2;
    DataModule2->setProgramFolder(MainForm->ProgramFolder);
    MainForm->createMainMenu();
    SettingsForm = new TSettingsForm;
    RegTestForm = new TRegTestForm;
    ObjectForm = new TObjectForm;
    TestForm = new TTestForm;
    ValForm = new TValForm;
    AboutBox = new TAboutBox;
    ProgressForm = new TProgressForm;
    installRunSource();
}

void destroyApplicationObjects() {
    delete ProgressForm;
    ProgressForm = nullptr;
    delete AboutBox;
    AboutBox = nullptr;
    delete ValForm;
    ValForm = nullptr;
    delete TestForm;
    TestForm = nullptr;
    delete ObjectForm;
    ObjectForm = nullptr;
    delete RegTestForm;
    RegTestForm = nullptr;
    delete SettingsForm;
    SettingsForm = nullptr;
    delete DataModule2;
    DataModule2 = nullptr;
    delete SplashForm;
    SplashForm = nullptr;
    setMessageMainWindow(nullptr);
    delete MainForm;
    MainForm = nullptr;
    MainWindow = nullptr;
}
