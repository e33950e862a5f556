#pragma once

#include <QString>
#include <functional>

class QLabel;
class QStatusBar;
class QWidget;

// A control's hint is one text: an explanation, a vertical bar, a short
// phrase. The explanation goes to balloons and to the main window's hover
// label, the phrase to status bars; a text without a bar serves whole for
// both. A carriage return inside it breaks the balloon or label into lines.

// The part before the first bar; the whole text when there is none.
QString hintExplanation(const QString& hint);
// The part after the first bar; the whole text when there is none.
QString hintPhrase(const QString& hint);
// The hint's carriage returns as the line breaks a label understands.
QString hintLines(const QString& text);

// Puts the phrase after the first bar into panel 0 of `bar` and returns the
// explanation before it. Without a bar the whole text goes to the bar and
// the explanation is empty. A null bar takes nothing.
QString HintB(const QString& hint, QStatusBar* bar);

// Panel 0 of a status bar: one label across the whole bar, centred, made on
// first use. A status line has one line, so line breaks become blanks.
QLabel* statusPanel(QStatusBar* bar);
void setStatusText(QStatusBar* bar, const QString& text);
QString statusText(QStatusBar* bar);

// The hint that applies to a control: its own, else its nearest parent's
// up to and including `top`; empty when none has one.
QString inheritedHint(const QWidget* control, const QWidget* top);

// Calls `moved` with the control under the pointer whenever the pointer
// moves inside `area` (the deepest one, disabled controls included, or
// `area` itself on its bare ground), and with nullptr when it moves out of
// the area or leaves the window. Watches every control, whether or not it
// tracks the mouse; ends with `area`.
void watchPointer(QWidget* area, std::function<void(QWidget*)> moved);

// Which part of the hint a status bar shows.
enum class HintPart { Phrase, Whole };

// `bar` shows the hint of the control under the pointer inside `area` (its
// parent's when it has none of its own); it is emptied where none applies.
// A whole hint wraps; the bar keeps room for the longest hint of the area.
void followHints(QWidget* area, QStatusBar* bar, HintPart part);
