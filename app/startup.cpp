#include "startup.h"

#include "aboutbox.h"
#include "globals.h"
#include "mainform.h"
#include "settings/settingsform.h"
#include "splashform.h"
#include "store/datamodule.h"

void createApplicationObjects()
{
    MainForm = new Tmain;
    SplashForm = new TSplashForm;
    SplashForm->show();
    DataModule2 = new TDataModule2;
    DataModule2->setProgramFolder(MainForm->ProgramFolder);
    DataModule2->createMainMenu();
    SettingsForm = new TSettingsForm;
    AboutBox = new TAboutBox;
}

void destroyApplicationObjects()
{
    delete AboutBox;
    AboutBox = nullptr;
    delete SettingsForm;
    SettingsForm = nullptr;
    delete DataModule2;
    DataModule2 = nullptr;
    delete SplashForm;
    SplashForm = nullptr;
    delete MainForm;
    MainForm = nullptr;
}
