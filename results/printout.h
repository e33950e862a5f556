#pragma once

#include <QColor>
#include <QList>
#include <QString>
#include <functional>

class QFont;
class QPrinter;
class QTextDocument;
class QWidget;

// What the printout says: the results window's labels as they read, the
// time limit of the test settings and the session's time used.
struct PrintoutTexts {
    QString name1;
    QString cldv1;
    QString clofn1;
    QString object1;
    QString theme1;
    QString gs1;
    QString sc1;
    QString val1;
    QString timeLimit; // "0:40:0"
    QString elapsed;   // "0:12:5", or empty after an untimed run
};

struct PrintLine {
    QString text;
    QColor colour;
};

// The sixteen lines of the printed page, in order, each with its colour:
// the grade and the line after it red, the rest black.
QList<PrintLine> printoutLines(const PrintoutTexts& texts);

// Arial at 14 points; on this platform the font with Arial's metrics and
// Cyrillic letters (Liberation Sans) stands in for it.
QFont printoutFont();

// Empties the document and writes the lines into it, one paragraph each; an
// empty line keeps its colour in the paragraph's own format.
void fillPrintout(QTextDocument& document, const QList<PrintLine>& lines);

// Asks the user for a printer. Whether printing was confirmed.
bool askPrinter(QPrinter& printer, QWidget* parent);

// Tests answer the print dialog here instead of a modal dialog: confirm (after
// pointing the printer at a file, for instance) or cancel. An empty hook
// puts the real dialog back.
using PrintDialogHook = std::function<bool(QPrinter&)>;
void setPrintDialogHook(PrintDialogHook hook);

// Prints the document as the job "result". False when the printer reports
// a failure.
bool printDocument(QTextDocument& document, QPrinter& printer);
