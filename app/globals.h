#pragma once

// The single instances of the program, created once in main() in this order
// and alive until the program ends. Everything else reaches them here.
class Tmain;
class TSplashForm;
class TDataModule2;
class TSettingsForm;
class TRegTestForm;
class TObjectForm;
class TTestForm;
class TValForm;
class TAboutBox;
class TProgressForm;

extern Tmain* MainForm;
extern TSplashForm* SplashForm;
extern TDataModule2* DataModule2;
extern TSettingsForm* SettingsForm;
extern TRegTestForm* RegTestForm;
extern TObjectForm* ObjectForm;
extern TTestForm* TestForm;
extern TValForm* ValForm;
extern TAboutBox* AboutBox;
extern TProgressForm* ProgressForm;
