#pragma once

#include "ui/mainwindow.h"

class QAction;
class QFrame;
class QLabel;
class QMenu;
class QPushButton;
class QToolButton;
class QStatusBar;
class QTimer;

// The home screen: command buttons on the left, a picture and a hint text on
// the right, a status bar, no title bar (dragged by its top band). Closing it
// ends the program.
class Tmain : public TMainWindow {
    Q_OBJECT
public:
    explicit Tmain(QWidget* parent = nullptr);
    ~Tmain() override;

    bool HoverShown = false;
    bool WelcomeShown = false;

    QTimer* Timer1 = nullptr;
    QLabel* Title1 = nullptr;
    QPushButton* InfBtn = nullptr;
    QPushButton* HelpBtn = nullptr;
    QPushButton* TestBtn = nullptr;
    QToolButton* TutorBtn = nullptr;
    QPushButton* TestLANBtn = nullptr;
    QPushButton* printbtn = nullptr;
    QPushButton* DiaryBtn = nullptr;
    QPushButton* ThemeBtn = nullptr;
    QPushButton* settingsbtn = nullptr;
    QPushButton* dictbtn = nullptr;
    QPushButton* ExitBtn = nullptr;
    QFrame* Panel1 = nullptr;
    QLabel* Image1 = nullptr;
    QLabel* HintLab = nullptr;
    QStatusBar* StatusBar1 = nullptr;

    // The popup menu that opens anywhere on the window: every command of the
    // window is one of its items (made by createMainMenu, with the windows).
    QMenu* MainPopupMenu1 = nullptr;
    QAction* mN1 = nullptr;  // Тест
    QAction* mN2 = nullptr;  // Обучение
    QAction* N12 = nullptr;  // separator
    QAction* mN11 = nullptr; // Дневник (not in this program)
    QAction* mN4 = nullptr;  // Теми (not in this program)
    QAction* mN3 = nullptr;  // Речник (not in this program)
    QAction* mN14 = nullptr; // Принтиране (not in this program)
    QAction* N5 = nullptr;   // separator
    QAction* mN6 = nullptr;  // Настройки
    QAction* N7 = nullptr;   // separator
    QAction* mN13 = nullptr; // Помощ
    QAction* mN8 = nullptr;  // Информация
    QAction* N9 = nullptr;   // separator
    QAction* mN10 = nullptr; // Изход
    void createMainMenu();
    void mN1Click();
    void mN2Click();
    void mN6Click();
    void mN8Click();
    void mN10Click();
    void mN13Click();

    // Password of class database 1..13; other numbers leave `out` as it is.
    static void prse(unsigned classNo, QString& out);

    // The start-up steps, 200 ms after the window was made.
    void Timer1Timer();

    void TestBtnClick();
    void TutorBtnClick();
    void InfBtnClick();
    void HelpBtnClick();
    void settingsbtnClick();
    void ExitBtnClick();

    // The hover display: a command button under the pointer shows its
    // picture and explanation; the bare window blanks them.
    void TestBtnMouseMove();
    void TutorBtnMouseMove();
    void InfBtnMouseMove();
    void HelpBtnMouseMove();
    void settingsbtnMouseMove();
    void ExitBtnMouseMove();
    void FormMouseMove();
    // The pointer has moved onto `control` (nullptr: out of the window).
    void pointerMoved(QWidget* control);

    // Height of the band that drags the window: the frame above the title
    // picture and the picture itself.
    int dragBandHeight() const;
    void centreOnScreen();

protected:
    void mousePressEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void contextMenuEvent(QContextMenuEvent* event) override;
    void closeEvent(QCloseEvent* event) override;

private:
    void buttonHover(QWidget* button, const QString& picture);
    // Loads a picture of the program folder into Image1; throws when it
    // cannot be read.
    void showPicture(const QString& relative);

    // The client area inside the frame: its bare ground is the window's.
    QWidget* m_client = nullptr;
    bool m_dragging = false;
    QPoint m_dragOffset;
};
