#pragma once

class TDataModule2;
class TTestForm;

// The data module's display of the current question: after every change of
// Temp's current row the question is put on the page of its kind (page,
// pictures, term lines, gap text with its word list, answer key and gap
// rows), then the tail runs: in a tutor run the full answer is loaded, and
// the feedback banner is hidden. While display is switched off only the
// tail runs, so other code may walk the question list freely.
void TempAfterScroll(TDataModule2& dm, TTestForm& form);

// Empties the term page: every term and meaning box hidden, every label
// without text.
void pttr(TTestForm& form);

// Posts and deletes on the gap rows (sltable) since the last reset; the
// window's GapRowsFlag says whether there have been more posts than deletes.
void Clone1AfterPost(TDataModule2& dm, TTestForm& form);
void Clone1AfterDelete(TDataModule2& dm, TTestForm& form);

// Binds the handlers above to Temp (after every move) and Clone1 (after
// every post and delete); and unbinds them.
void connectDisplayHandlers(TDataModule2& dm, TTestForm& form);
void disconnectDisplayHandlers(TDataModule2& dm);
