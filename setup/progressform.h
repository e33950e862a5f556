#pragma once

#include "drawing.h"

#include <QWidget>

class QFrame;
class QLabel;
class QProgressBar;

// Shown while the questions are drawn: "Моля, изчакайте ..." and a gauge the
// drawing moves on. It stands in for the subject window meanwhile, so the
// pupil cannot start a second drawing.
class TProgressForm : public QWidget, public DrawProgress {
    Q_OBJECT
public:
    explicit TProgressForm(QWidget* parent = nullptr);
    ~TProgressForm() override;

    QFrame* Panel1 = nullptr;
    QLabel* Label1 = nullptr;
    QProgressBar* g1 = nullptr;

    void FormShow();
    void FormHide();

    // DrawProgress
    int maximum() const override;
    void setMaximum(int maximum) override;
    void step() override;
    void processEvents() override;

protected:
    void showEvent(QShowEvent* event) override;
    void hideEvent(QHideEvent* event) override;

private:
    bool m_waitCursor = false;
};
