#pragma once

#include <QString>

class QWidget;

// Balloon help (tool tips) of every window, switched on or off as a whole by
// the "balloons" setting.
void setBalloonsEnabled(bool enabled);
bool balloonsEnabled();

// The look of the balloons: shown 200 ms after the pointer stops, kept up for
// 100 s, navy text on white.
void setupBalloonLook();

// Plain: a short hint of a small control, shown as an ordinary tool tip
// while balloon help is off and left out while it is on.
enum class Balloon { Yes, No, Plain };

// Gives the control its hint (see hints.h). A control marked Balloon::No
// keeps the text, since status bars and the main window's picture area
// explain with it, but never shows it in a balloon.
void setHint(QWidget* control, const QString& hint, Balloon balloon);

// What a balloon over the control shows while balloons are on: the
// explanation of its hint, in lines. Empty when it shows none.
QString balloonText(const QWidget* control);
