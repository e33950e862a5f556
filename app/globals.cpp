#include "globals.h"

Tmain* MainForm = nullptr;
TSplashForm* SplashForm = nullptr;
TDataModule2* DataModule2 = nullptr;
TSettingsForm* SettingsForm = nullptr;
TRegTestForm* RegTestForm = nullptr;
TObjectForm* ObjectForm = nullptr;
TTestForm* TestForm = nullptr;
TValForm* ValForm = nullptr;
TAboutBox* AboutBox = nullptr;
TProgressForm* ProgressForm = nullptr;
