#pragma once

#include <QWidget>

class QLabel;
class QTimer;

// Shown while the program starts; after 2.5 s it checks the installation and
// either hands over to the main window or refuses to run.
class TSplashForm : public QWidget {
    Q_OBJECT
public:
    explicit TSplashForm(QWidget* parent = nullptr);

    QTimer* Timer1 = nullptr;
    QLabel* Image1 = nullptr;

    void Timer1Timer();
};
