#pragma once

#include <QChar>
#include <QString>

// The cells of kivor-results' CSV, apart from the pupil database so that they
// can be fuzzed alone.
namespace resultscsv {

// A field as RFC 4180 writes it: in double quotes, quotes doubled, when it
// holds the separator, a quote, a line break or blanks at either end.
QString csvField(const QString& value, QChar separator);

// A text people typed, as a spreadsheet must take it: one that begins with
// =, +, -, @, a tab or a carriage return would be read as a formula, so it
// gets an apostrophe in front.
QString textCell(const QString& value);

} // namespace resultscsv
