#pragma once

// Balloon help (tool tips) of every window, switched on or off as a whole by
// the "balloons" setting.
void setBalloonsEnabled(bool enabled);
bool balloonsEnabled();
