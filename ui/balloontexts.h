#pragma once

class TObjectForm;
class TRegTestForm;
class TSettingsForm;
class TTestForm;
class TValForm;

// The hints of the run's windows' controls, one assigner per group of
// controls. Each gives the same texts every time it runs.
void ShowBalloons_Settings_Main(TSettingsForm& f);  // the two buttons
void ShowBalloons_Settings_Kivor(TSettingsForm& f); // the first page
void ShowBalloons_Settings_Test(TSettingsForm& f);
void ShowBalloons_Settings_Tutor(TSettingsForm& f);
void ShowBalloons_Settings_LAN(TSettingsForm& f);
void ShowBalloons_Reg(TRegTestForm& f);
void ShowBalloons_Object(TObjectForm& f);
void ShowBalloons_Test(TTestForm& f);
void ShowBalloons_Tutor(TTestForm& f);
void ShowBalloons_Val(TValForm& f);

// The five settings assigners, in their order.
void ShowBalloons_Settings(TSettingsForm& f);

// Every assigner above in start-up order, over the windows that exist.
void assignWindowBalloons();
