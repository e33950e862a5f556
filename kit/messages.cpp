#include "messages.h"

#include "store/error.h"

#include <QApplication>
#include <QMessageBox>
#include <exception>

namespace {

MessageSink& sink() {
    static MessageSink s;
    return s;
}

std::function<QWidget*()>& mainWindowProvider() {
    static std::function<QWidget*()> provider;
    return provider;
}

} // namespace

QWidget* messageParent() {
    if (QWidget* active = QApplication::activeWindow(); active && active->isVisible())
        return active;
    // No window of the program is active (a box at start-up, or focus taken
    // by another program): the box belongs to the window the pupil sees, a
    // window in front of the main window before the main window itself.
    QWidget* const mainWindow = mainWindowProvider() ? mainWindowProvider()() : nullptr;
    QWidget* main = nullptr;
    for (QWidget* w : QApplication::topLevelWidgets()) {
        if (!w->isVisible() || w->windowType() == Qt::Popup || w->windowType() == Qt::ToolTip ||
            qobject_cast<QMessageBox*>(w))
            continue;
        if (w == mainWindow)
            main = w;
        else
            return w;
    }
    return main;
}

void setMessageMainWindow(std::function<QWidget*()> mainWindow) {
    mainWindowProvider() = std::move(mainWindow);
}

void setMessageSink(MessageSink s) {
    sink() = std::move(s);
}

void showMessage(MessageKind kind, const QString& text) {
    if (sink()) {
        sink()(kind, text);
        return;
    }
    // The message text uses \r for its line breaks, as the program's texts
    // always have; the box shows them as breaks.
    QString shown = text;
    shown.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
    shown.replace(QLatin1Char('\r'), QLatin1Char('\n'));
    QMessageBox box(kind == MessageKind::Error ? QMessageBox::Critical : QMessageBox::Information,
                    QApplication::applicationName(), shown, QMessageBox::Ok, messageParent());
    // Messages carry names from data files and from pupils; as rich text a
    // table named <img src=…> would show a file of the computer's.
    box.setTextFormat(Qt::PlainText);
    box.exec();
}

bool guarded(const std::function<void()>& handler) {
    try {
        handler();
        return true;
    } catch (const LayerError& e) {
        showMessage(MessageKind::Error, e.text());
    } catch (const std::exception& e) {
        showMessage(MessageKind::Error, QString::fromLocal8Bit(e.what()));
    } catch (...) {
        showMessage(MessageKind::Error, QStringLiteral("Неочаквана грешка."));
    }
    return false;
}
