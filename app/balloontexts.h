#pragma once

class Tmain;
class TAboutBox;

// The hints of the program's own windows (ui/balloontexts.h has the run's).
void ShowBalloons_Main(Tmain& f);
void ShowBalloons_About(TAboutBox& f);

// Every assigner in start-up order, over the windows that exist.
void assignAllBalloons();
