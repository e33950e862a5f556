#pragma once

#include <QString>
#include <QStringList>

// Multi-line columns (terms, meanings, points, gap words, positions) hold one
// item per line. A line ends at CR LF, a lone CR or a lone LF; a final line
// break adds no item; an empty value has no items.
QStringList splitLines(const QString& value);

// The stored form: every item followed by CR LF.
QString joinLines(const QStringList& items);
