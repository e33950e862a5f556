#pragma once

#include <QColor>
#include <QPalette>
#include <QWidget>

// Colours of the session window's labels and boxes, kept in the palette so
// that they can be read back as they are shown.
inline void setTextColour(QWidget* w, const QColor& colour) {
    QPalette p = w->palette();
    p.setColor(QPalette::WindowText, colour);
    p.setColor(QPalette::Text, colour);
    w->setPalette(p);
}

inline QColor textColour(const QWidget* w) {
    return w->palette().color(QPalette::WindowText);
}

// An opaque background of this colour.
inline void setFillColour(QWidget* w, const QColor& colour) {
    QPalette p = w->palette();
    p.setColor(QPalette::Window, colour);
    w->setPalette(p);
    w->setAutoFillBackground(true);
}

inline QColor fillColour(const QWidget* w) {
    return w->palette().color(QPalette::Window);
}
