#include "balloons.h"

#include <QApplication>
#include <QEvent>
#include <QHelpEvent>
#include <QObject>
#include <QProxyStyle>
#include <QToolTip>
#include <QWidget>

namespace {

constexpr int kWakeUpDelayMs = 200;
constexpr int kShowTimeMs = 100000;

// Every tool-tip request of the program passes here: swallowed while
// balloons are off, shown for the long time the program wants while on.
class BalloonFilter : public QObject {
public:
    bool enabled = false;

protected:
    bool eventFilter(QObject* watched, QEvent* event) override {
        if (event->type() != QEvent::ToolTip)
            return QObject::eventFilter(watched, event);
        if (!enabled)
            return true;
        auto* widget = qobject_cast<QWidget*>(watched);
        if (!widget || widget->toolTip().isEmpty())
            return QObject::eventFilter(watched, event);
        const auto* help = static_cast<QHelpEvent*>(event);
        QToolTip::showText(help->globalPos(), widget->toolTip(), widget, QRect(), kShowTimeMs);
        return true;
    }
};

class BalloonStyle : public QProxyStyle {
public:
    using QProxyStyle::QProxyStyle;
    int styleHint(StyleHint hint, const QStyleOption* option, const QWidget* widget,
                  QStyleHintReturn* returnData) const override {
        if (hint == SH_ToolTip_WakeUpDelay)
            return kWakeUpDelayMs;
        return QProxyStyle::styleHint(hint, option, widget, returnData);
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

void setupBalloonLook() {
    QPalette pal = QToolTip::palette();
    pal.setColor(QPalette::ToolTipBase, Qt::white);
    pal.setColor(QPalette::ToolTipText, QColor(0, 0, 128));
    QToolTip::setPalette(pal);
    if (!dynamic_cast<BalloonStyle*>(QApplication::style()))
        QApplication::setStyle(new BalloonStyle);
    filter();
}
