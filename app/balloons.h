#pragma once

// Balloon help (tool tips) of every window, switched on or off as a whole by
// the "balloons" setting.
void setBalloonsEnabled(bool enabled);
bool balloonsEnabled();

// The look of the balloons: shown 200 ms after the pointer stops, kept up for
// 100 s, navy text on white.
void setupBalloonLook();
