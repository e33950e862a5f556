#pragma once

class QWidget;

// Places the window in the middle of the screen it will appear on.
void centreOnScreen(QWidget* window);

// The white ground the program's windows have.
void makeWhite(QWidget* widget);
