#include "instances.h"

TMainWindow* MainWindow = nullptr;
TDataModule2* DataModule2 = nullptr;
TSettingsForm* SettingsForm = nullptr;
TRegTestForm* RegTestForm = nullptr;
TObjectForm* ObjectForm = nullptr;
TTestForm* TestForm = nullptr;
TValForm* ValForm = nullptr;
TProgressForm* ProgressForm = nullptr;
