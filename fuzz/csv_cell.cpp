// The CSV cells of kivor-results: whatever people typed, a spreadsheet reads
// back the very text (behind an apostrophe where it would be a formula), and
// never a formula.
#include "check.h"

#include "tools/results/csvcell.h"

#include <QStringList>

#include <cstdint>
#include <cstdlib>

namespace {

// A row as RFC 4180 reads it, line breaks inside quotes kept.
QStringList readRow(const QString& row, QChar separator) {
    QStringList fields{QString()};
    bool quoted = false;
    for (qsizetype i = 0; i < row.size(); ++i) {
        const QChar c = row[i];
        if (quoted && c == QLatin1Char('"')) {
            if (i + 1 < row.size() && row[i + 1] == QLatin1Char('"')) {
                fields.back() += row[++i];
            } else { // the closing quote ends the field
                quoted = false;
                check(i + 1 == row.size() || row[i + 1] == separator);
            }
        } else if (quoted) {
            fields.back() += c;
        } else if (c == QLatin1Char('"')) {
            check(fields.back().isEmpty()); // a quote opens a field or is inside quotes
            quoted = true;
        } else if (c == separator) {
            fields.append(QString());
        } else {
            check(c != QLatin1Char('\r') && c != QLatin1Char('\n')); // a break ends the row
            fields.back() += c;
        }
    }
    check(!quoted);
    return fields;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const QStringList values =
        QString::fromUtf8(reinterpret_cast<const char*>(data), qsizetype(size)).split(QChar(u'\0'));
    for (const QChar separator : {QLatin1Char(';'), QLatin1Char(',')}) {
        QStringList cells;
        QStringList row;
        for (const QString& v : values) {
            const QString cell = resultscsv::textCell(v);
            check(cell == v || cell == QLatin1Char('\'') + v);
            check(cell.isEmpty() || !QStringLiteral("=+-@\t\r").contains(cell.front()));
            cells.append(cell);
            row.append(resultscsv::csvField(cell, separator));
        }
        check(readRow(row.join(separator), separator) == cells);
    }
    return 0;
}
