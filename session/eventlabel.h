#pragma once

#include <QLabel>

// A label that reports the pointer: pressing, releasing, a click (press and
// release on it), entering and leaving. The session window's answer boxes,
// term and meaning labels, links and banner are all of this kind.
class EventLabel : public QLabel {
    Q_OBJECT
public:
    explicit EventLabel(QWidget* parent = nullptr);

signals:
    void pressed(QMouseEvent* event);
    void released(QMouseEvent* event);
    void clicked();
    void entered();
    void left();

protected:
    void mousePressEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void enterEvent(QEnterEvent* event) override;
    void leaveEvent(QEvent* event) override;
};
