#pragma once

#include <QString>
#include <QWidget>

// The main window as the other windows know it: the folder the program works
// in, and a window they hide while they are up and show again after. Closing
// it ends the program.
class TMainWindow : public QWidget {
public:
    using QWidget::QWidget;

    // The folder every path of the program is built from: the working
    // directory at start, never the executable's own location.
    QString ProgramFolder;
};
