#include "progressform.h"

#include "kit/namedchild.h"
#include "kit/windows.h"
#include "objectform.h"
#include "ui/instances.h"

#include <QApplication>
#include <QFrame>
#include <QGuiApplication>
#include <QLabel>
#include <QProgressBar>
#include <QScreen>
#include <algorithm>

TProgressForm::TProgressForm(QWidget* parent)
    : TForm(parent, Qt::Window | Qt::FramelessWindowHint) {
    setObjectName(QStringLiteral("ProgressForm"));
    setWindowTitle(QStringLiteral("Моля, изчакайте ..."));
    setFont(QFont(QStringLiteral("Arial"), 9));
    setFixedSize(330, 41);

    Panel1 = namedChild<QFrame>(this, "Panel1");
    Panel1->setFrameStyle(QFrame::Panel | QFrame::Raised);
    Panel1->setGeometry(0, 0, 330, 41);

    Label1 = namedChild<QLabel>(Panel1, "Label1", QStringLiteral("Моля, изчакайте ..."));
    Label1->setGeometry(5, 2, 200, 15);

    g1 = namedChild<QProgressBar>(Panel1, "g1");
    g1->setOrientation(Qt::Horizontal);
    g1->setGeometry(4, 18, 321, 20);
    g1->setTextVisible(true);
    g1->setFormat(QStringLiteral("%p%"));
    g1->setRange(0, 4);
    g1->setValue(0);

    centreOnScreen(this);
}

TProgressForm::~TProgressForm() {
    if (m_waitCursor)
        QApplication::restoreOverrideCursor();
}

void TProgressForm::FormShow() {
    if (ObjectForm)
        ObjectForm->hide();
    g1->setValue(0);
    if (!m_waitCursor) {
        QApplication::setOverrideCursor(Qt::WaitCursor);
        m_waitCursor = true;
    }
}

void TProgressForm::FormHide() {
    if (m_waitCursor) {
        QApplication::restoreOverrideCursor();
        m_waitCursor = false;
    }
}

int TProgressForm::maximum() const {
    return g1->maximum();
}

void TProgressForm::setMaximum(int maximum) {
    g1->setMaximum(maximum);
}

void TProgressForm::step() {
    // The gauge ignores a value beyond its maximum; the drawing never asks
    // for one, but the bar should stay full rather than freeze short of it.
    g1->setValue(std::min(g1->value() + 1, g1->maximum()));
}

void TProgressForm::processEvents() {
    QCoreApplication::processEvents();
}

#include "moc_progressform.cpp"
