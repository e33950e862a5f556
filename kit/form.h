#pragma once

#include <QWidget>

class QCloseEvent;
class QHideEvent;
class QShowEvent;

// The life cycle every window of the program shares: FormShow runs each time
// the program shows the window (coming back from minimised is no new
// showing), FormHide each time the program hides it, FormClose once a close
// has gone through.
//
// A handler that can fail either stops at the window (guarded: its failure is
// shown and the program goes on with what showed or closed the window) or
// passes the failure to what showed or closed it, which then stops as well.
class TForm : public QWidget {
public:
    enum class Guard { None, Show, ShowAndClose };

    explicit TForm(QWidget* parent, Qt::WindowFlags flags, Guard guard = Guard::None);

    virtual void FormShow() {}
    virtual void FormHide() {}
    virtual void FormClose() {}

protected:
    // A window left through its own buttons only: every other close (the
    // close box, Alt+F4, the window manager) is refused, and the buttons
    // close it with closeByButton().
    void refuseOtherCloses() { m_refusesCloses = true; }
    void closeByButton();

    void showEvent(QShowEvent* event) override;
    void hideEvent(QHideEvent* event) override;
    void closeEvent(QCloseEvent* event) override;

private:
    Guard m_guard;
    bool m_refusesCloses = false;
    bool m_closeAllowed = false;
};
