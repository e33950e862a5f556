#pragma once

#include "drawing.h"
#include "kit/form.h"

class QFrame;
class QLabel;
class QProgressBar;

// Shown while the questions are drawn: "Моля, изчакайте ..." and a gauge the
// drawing moves on. It stands in for the subject window meanwhile, so the
// pupil cannot start a second drawing.
class TProgressForm : public TForm, public DrawProgress {
    Q_OBJECT
public:
    explicit TProgressForm(QWidget* parent = nullptr);
    ~TProgressForm() override;

    QFrame* Panel1 = nullptr;
    QLabel* Label1 = nullptr;
    QProgressBar* g1 = nullptr;

    void FormShow() override;
    void FormHide() override;

    // DrawProgress
    int maximum() const override;
    void setMaximum(int maximum) override;
    void step() override;
    void processEvents() override;

private:
    bool m_waitCursor = false;
};
