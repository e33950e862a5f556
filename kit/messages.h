#pragma once

#include <QObject>
#include <QString>
#include <concepts>
#include <functional>
#include <utility>

class QWidget;

// Every message of the program has one OK button: an information sign for
// notices and missing input, an error sign for failures.
enum class MessageKind { Information, Error };

// A box has the program's visible window as its parent, so that it stays
// above that window and closing it never looks like the last window closing.
void showMessage(MessageKind kind, const QString& text);
QWidget* messageParent();

// The main window, which a box takes only when no other window of the
// program is in front: the program names it at start-up (the provider gives
// null while there is none). Without a provider every window is alike.
void setMessageMainWindow(std::function<QWidget*()> mainWindow);

// Tests put a sink here to collect messages instead of blocking on a modal
// box; an empty sink restores the real boxes.
using MessageSink = std::function<void(MessageKind, const QString&)>;
void setMessageSink(MessageSink sink);

// Runs a handler that may fail. A failure of a platform layer (or anything
// else thrown) is shown in an error box with the layer's own text, the rest of
// the handler is skipped and the program goes on. Returns whether the handler
// ran to its end. No exception ever crosses the event loop.
bool guarded(const std::function<void()>& handler);

// A signal whose handler may fail: the handler runs inside guarded(). A member
// function of the receiver takes as many of the signal's arguments as it
// declares, as with a plain connect; any other handler takes none.
template <typename Sender, typename Signal, typename Receiver, typename Result, typename Class,
          typename... Args>
QMetaObject::Connection connectGuarded(const Sender* sender, Signal signal, Receiver* receiver,
                                       Result (Class::*handler)(Args...)) {
    return QObject::connect(sender, signal, receiver, [receiver, handler](Args... args) {
        guarded([&] { (receiver->*handler)(args...); });
    });
}

template <typename Sender, typename Signal, std::invocable Handler>
QMetaObject::Connection connectGuarded(const Sender* sender, Signal signal, const QObject* receiver,
                                       Handler handler) {
    return QObject::connect(sender, signal, receiver,
                            [handler = std::move(handler)] { guarded(handler); });
}
