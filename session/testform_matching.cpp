// The term page's state between questions and runs. Joining terms to their
// meanings (the canvas between the columns, its lines and their scoring)
// builds on these.
#include "testform.h"

#include "eventlabel.h"

void TTestForm::resetMatchingPage() {
    for (int i = 1; i <= 10; ++i) {
        termLabel(i)->setEnabled(true);
        meaningLabel(i)->setEnabled(true);
    }
}

void TTestForm::ClearIC1() {
    // Every label free; the lines stored for this question (temp2) are drawn
    // again on the canvas, and their labels disabled, once the page has one.
    resetMatchingPage();
}
