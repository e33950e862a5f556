#include "form.h"

#include "messages.h"

#include <QCloseEvent>
#include <QHideEvent>
#include <QShowEvent>

TForm::TForm(QWidget* parent, Qt::WindowFlags flags, Guard guard)
    : QWidget(parent, flags), m_guard(guard) {}

void TForm::closeByButton() {
    m_closeAllowed = true;
    close();
    m_closeAllowed = false;
}

void TForm::showEvent(QShowEvent* event) {
    QWidget::showEvent(event);
    if (event->spontaneous())
        return;
    if (m_guard == Guard::None)
        FormShow();
    else
        guarded([this] { FormShow(); });
}

void TForm::hideEvent(QHideEvent* event) {
    QWidget::hideEvent(event);
    if (!event->spontaneous())
        FormHide();
}

void TForm::closeEvent(QCloseEvent* event) {
    if (m_refusesCloses && !m_closeAllowed) {
        event->ignore();
        return;
    }
    m_closeAllowed = false;
    QWidget::closeEvent(event);
    if (!event->isAccepted())
        return;
    if (m_guard == Guard::ShowAndClose)
        guarded([this] { FormClose(); });
    else
        FormClose();
}
