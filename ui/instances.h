#pragma once

// The single instances the windows reach one another through, created once
// at start-up and alive until the program ends (app/globals.h adds the
// program's own windows).
class TMainWindow;
class TDataModule2;
class TSettingsForm;
class TRegTestForm;
class TObjectForm;
class TTestForm;
class TValForm;
class TProgressForm;

extern TMainWindow* MainWindow; // the program's MainForm
extern TDataModule2* DataModule2;
extern TSettingsForm* SettingsForm;
extern TRegTestForm* RegTestForm;
extern TObjectForm* ObjectForm;
extern TTestForm* TestForm;
extern TValForm* ValForm;
extern TProgressForm* ProgressForm;
