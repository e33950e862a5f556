#include "balloons.h"

#include "hints.h"

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
constexpr char kNoBalloon[] = "kivorNoBalloon";
constexpr char kPlainTip[] = "kivorPlainTip";

// Every tool-tip request of the program passes here: swallowed while
// balloons are off, shown for the long time the program wants while on.
// A plain tip goes its ordinary way while they are off, and never as a balloon.
class BalloonFilter : public QObject {
public:
    bool enabled = false;

protected:
    bool eventFilter(QObject* watched, QEvent* event) override {
        if (event->type() != QEvent::ToolTip)
            return QObject::eventFilter(watched, event);
        auto* widget = qobject_cast<QWidget*>(watched);
        if (!enabled)
            return !(widget && widget->property(kPlainTip).toBool());
        // A control without a hint of its own leaves the balloon to its parent.
        if (!widget || (widget->toolTip().isEmpty() && !widget->property(kNoBalloon).toBool()))
            return QObject::eventFilter(watched, event);
        const QString text = balloonText(widget);
        const auto* help = static_cast<QHelpEvent*>(event);
        if (text.isEmpty())
            QToolTip::hideText();
        else
            QToolTip::showText(help->globalPos(), text, widget, QRect(), kShowTimeMs);
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

void setHint(QWidget* control, const QString& hint, Balloon balloon) {
    control->setToolTip(hint);
    control->setProperty(kNoBalloon, balloon != Balloon::Yes);
    control->setProperty(kPlainTip, balloon == Balloon::Plain);
}

QString balloonText(const QWidget* control) {
    if (control->property(kNoBalloon).toBool())
        return {};
    return hintLines(hintExplanation(control->toolTip()));
}
