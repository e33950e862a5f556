#pragma once

#include <QString>
#include <functional>

class QWidget;

// Every message of the program has one OK button: an information sign for
// notices and missing input, an error sign for failures.
enum class MessageKind { Information, Error };

// A box has the program's visible window as its parent, so that it stays
// above that window and closing it never looks like the last window closing.
void showMessage(MessageKind kind, const QString& text);
QWidget* messageParent();

// Tests put a sink here to collect messages instead of blocking on a modal
// box; an empty sink restores the real boxes.
using MessageSink = std::function<void(MessageKind, const QString&)>;
void setMessageSink(MessageSink sink);

// Runs a handler that may fail. A failure of a platform layer (or anything
// else thrown) is shown in an error box with the layer's own text, the rest of
// the handler is skipped and the program goes on. Returns whether the handler
// ran to its end. No exception ever crosses the event loop.
bool guarded(const std::function<void()>& handler);
