#include "hints.h"

#include "namedchild.h"

#include <QApplication>
#include <QEvent>
#include <QLabel>
#include <QMouseEvent>
#include <QPointer>
#include <QStatusBar>
#include <QWidget>
#include <algorithm>

namespace {

constexpr QChar kBar = QLatin1Char('|');

// Every pointer move of the program passes an application filter, even
// over controls that do not track the mouse and over disabled ones, which
// the controls' own filters never see.
class PointerWatch : public QObject {
public:
    PointerWatch(QWidget* area, std::function<void(QWidget*)> moved)
        : QObject(area), m_area(area), m_moved(std::move(moved)) {
        qApp->installEventFilter(this);
    }

protected:
    bool eventFilter(QObject* watched, QEvent* event) override {
        if (event->type() == QEvent::MouseMove) {
            auto* widget = qobject_cast<QWidget*>(watched);
            if (widget && widget->window() == m_area->window())
                m_moved(inArea(widget, static_cast<QMouseEvent*>(event)->position().toPoint()));
        } else if (event->type() == QEvent::Leave && watched == m_area->window()) {
            m_moved(nullptr);
        }
        return QObject::eventFilter(watched, event);
    }

private:
    // The deepest control at the point, found by position, so that a move
    // passed on to a parent names the same control as it did on arrival.
    QWidget* inArea(QWidget* receiver, const QPoint& local) const {
        QWidget* found = receiver->childAt(local);
        if (!found)
            found = receiver;
        return found == m_area || m_area->isAncestorOf(found) ? found : nullptr;
    }

    QWidget* m_area;
    std::function<void(QWidget*)> m_moved;
};

// A status line has one paragraph: line breaks become blanks.
QString statusLine(const QString& text) {
    return QString(text)
        .replace(QLatin1Char('\r'), QLatin1Char(' '))
        .replace(QLatin1Char('\n'), QLatin1Char(' '));
}

// A wrapping status line keeps the height that the longest hint of its area
// needs at its width, so the controls above it stay put while the pointer
// goes from a long hint to a short one.
class RoomForHints : public QObject {
public:
    RoomForHints(QLabel* line, QWidget* area) : QObject(line), m_line(line), m_area(area) {
        line->installEventFilter(this);
    }

protected:
    bool eventFilter(QObject* watched, QEvent* event) override {
        if (event->type() == QEvent::Resize) {
            const QRect across(0, 0, m_line->contentsRect().width(), 0);
            int needed = 0;
            for (const QWidget* control : m_area->findChildren<QWidget*>())
                needed = std::max(needed, m_line->fontMetrics()
                                              .boundingRect(across, Qt::TextWordWrap,
                                                            statusLine(control->toolTip()))
                                              .height());
            m_line->setMinimumHeight(needed);
        }
        return QObject::eventFilter(watched, event);
    }

private:
    QLabel* m_line;
    QWidget* m_area;
};

} // namespace

QString hintExplanation(const QString& hint) {
    const qsizetype bar = hint.indexOf(kBar);
    return bar < 0 ? hint : hint.left(bar);
}

QString hintPhrase(const QString& hint) {
    const qsizetype bar = hint.indexOf(kBar);
    return bar < 0 ? hint : hint.mid(bar + 1);
}

QString hintLines(const QString& text) {
    return QString(text).replace(QLatin1Char('\r'), QLatin1Char('\n'));
}

QString HintB(const QString& hint, QStatusBar* bar) {
    if (bar)
        setStatusText(bar, hintPhrase(hint));
    return hint.contains(kBar) ? hintExplanation(hint) : QString();
}

QLabel* statusPanel(QStatusBar* bar) {
    const QString name = QStringLiteral("panel0");
    if (auto* panel = bar->findChild<QLabel*>(name, Qt::FindDirectChildrenOnly))
        return panel;
    auto* panel = namedChild<QLabel>(bar, name);
    panel->setAlignment(Qt::AlignCenter);
    // A long hint is cut at the bar's edge instead of widening the window.
    panel->setSizePolicy(QSizePolicy::Ignored, QSizePolicy::Preferred);
    bar->addWidget(panel, 1);
    return panel;
}

void setStatusText(QStatusBar* bar, const QString& text) {
    const QString line = statusLine(text);
    QLabel* panel = statusPanel(bar);
    if (panel->text() != line)
        panel->setText(line);
}

QString statusText(QStatusBar* bar) {
    return statusPanel(bar)->text();
}

QString inheritedHint(const QWidget* control, const QWidget* top) {
    for (const QWidget* w = control; w; w = w->parentWidget()) {
        if (!w->toolTip().isEmpty())
            return w->toolTip();
        if (w == top)
            break;
    }
    return {};
}

void watchPointer(QWidget* area, std::function<void(QWidget*)> moved) {
    new PointerWatch(area, std::move(moved));
}

void followHints(QWidget* area, QStatusBar* bar, HintPart part) {
    // A whole hint is longer than a narrow bar: it takes the lines it needs,
    // since a line cut at both ends reads from neither.
    if (part == HintPart::Whole) {
        statusPanel(bar)->setWordWrap(true);
        new RoomForHints(statusPanel(bar), area);
    }
    watchPointer(area, [area, bar = QPointer<QStatusBar>(bar), part](QWidget* control) {
        if (!bar)
            return;
        const QString hint = control ? inheritedHint(control, area) : QString();
        setStatusText(bar, part == HintPart::Phrase ? hintPhrase(hint) : hint);
    });
}
