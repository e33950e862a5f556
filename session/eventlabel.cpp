#include "eventlabel.h"

#include <QMouseEvent>

EventLabel::EventLabel(QWidget* parent) : QLabel(parent) {}

void EventLabel::mousePressEvent(QMouseEvent* event) {
    event->accept();
    emit pressed(event);
}

void EventLabel::mouseReleaseEvent(QMouseEvent* event) {
    event->accept();
    emit released(event);
    if (event->button() == Qt::LeftButton && rect().contains(event->position().toPoint()))
        emit clicked();
}

void EventLabel::enterEvent(QEnterEvent* event) {
    QLabel::enterEvent(event);
    emit entered();
}

void EventLabel::leaveEvent(QEvent* event) {
    QLabel::leaveEvent(event);
    emit left();
}

#include "moc_eventlabel.cpp"
