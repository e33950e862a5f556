#include "balloons.h"

#include <QApplication>
#include <QEvent>
#include <QObject>
#include <QToolTip>

namespace {

// Swallows tool-tip requests while balloons are off, so no window needs to
// know about the setting.
class BalloonFilter : public QObject {
public:
    bool enabled = false;

protected:
    bool eventFilter(QObject* watched, QEvent* event) override {
        if (!enabled && event->type() == QEvent::ToolTip)
            return true;
        return QObject::eventFilter(watched, event);
    }
};

BalloonFilter* filter() {
    static BalloonFilter* f = [] {
        auto* created = new BalloonFilter;
        if (qApp) {
            created->setParent(qApp);
            qApp->installEventFilter(created);
        }
        return created;
    }();
    return f;
}

} // namespace

void setBalloonsEnabled(bool enabled) {
    filter()->enabled = enabled;
    if (!enabled)
        QToolTip::hideText();
}

bool balloonsEnabled() {
    return filter()->enabled;
}
