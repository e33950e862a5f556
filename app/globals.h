#pragma once

#include "ui/instances.h"

// The single instances of the program, created once in main() in this order
// (main window, splash, data module, settings, ..., information window) and
// alive until the program ends. Everything else reaches them here.
class Tmain;
class TSplashForm;
class TAboutBox;

extern Tmain* MainForm;
extern TSplashForm* SplashForm;
extern TAboutBox* AboutBox;
