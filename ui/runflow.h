#pragma once

class QString;

// How a run passes from window to window. The session window knows neither
// the set-up windows before it nor the results window after it; it asks here.

// The main window, shown and usable again.
void showMainWindow();
// The run's kind as the subject window set it ("test" or "tutor"); empty
// before any run.
QString runKind();
// Hides the subject window once the session window takes over.
void hideSubjectWindow();
// The results window takes a finished test run; without one the main window
// comes back.
void showRunResults();
// Puts back the corrections settings that a tutor run replaced for its time.
void restoreCorrectionsSettings();
// Lets the results window read runs from the program's windows.
void installRunSource();
