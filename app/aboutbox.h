#pragma once

#include "kit/form.h"

class QLabel;
class QPushButton;

// The information window: who made the program and who helped.
class TAboutBox : public TForm {
    Q_OBJECT
public:
    explicit TAboutBox(QWidget* parent = nullptr);

    QLabel* ProgramIcon = nullptr; // the picture across the top
    QLabel* Company = nullptr;
    QLabel* ProductName = nullptr;
    QLabel* Version = nullptr;
    QLabel* Credit = nullptr;
    QLabel* ContactsLabel = nullptr;
    QLabel* Contact1 = nullptr;
    QLabel* Contact2 = nullptr;
    QLabel* Memo1 = nullptr; // read-only acknowledgement
    QLabel* Origin = nullptr;
    QPushButton* CloseBtn = nullptr;

    void FormShow() override;
    void FormClose() override;
    void CloseBtnClick();
};
