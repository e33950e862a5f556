#include "globals.h"

Tmain* MainForm = nullptr;
TSplashForm* SplashForm = nullptr;
TAboutBox* AboutBox = nullptr;
