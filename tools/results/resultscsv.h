#pragma once

#include "store/pupil.h"
#include "tools/results/csvcell.h"

#include <QChar>
#include <QDate>
#include <QList>
#include <QLocale>
#include <QString>

class QIODevice;
class QTextStream;

// kivor-results: the pupils' records of a program folder as a CSV file for a
// spreadsheet. Reads through the store only, and never the pupil database
// itself: a copy of it.
namespace resultscsv {

// One row of the pupil table, as stored.
struct Record {
    QString name;
    QString classText;
    int division = 0; // position of the letter in А … Я
    int numberInClass = 0;
    QString date;    // yyyy-mm-dd
    QString subject; // Object
    QString section; // Theme
    QString val;     // the grade, three decimals with either separator
    // Why the record cannot go into the file (a number column holding no
    // number), for the teacher; empty when it can.
    QString fault;
};

// Which records go into the file; a field left empty (0, null date) lets
// every record through.
struct Filter {
    int classNo = 0;
    int division = 0;
    QString subject;
    QString section;
    QDate from;
    QDate to;
    bool matches(const Record& r) const;
};

// The letters registration offers, А … Я without Ы and Э; a position outside
// them is written as its number.
QString divisionLetter(int position);
// 1-based position of a letter (either case); 0 for anything else.
using ::divisionPosition;

// The grade's word with its whole grade, for a grade as written with two
// decimals: below 3.00 "Слаб 2", to 3.49 "Среден 3", to 4.49 "Добър 4", to
// 5.49 "Много добър 5", from 5.50 "Отличен 6".
QString gradeWord(const QString& twoDecimals);

// The spreadsheet's two grade cells for a grade as stored: the grade as the
// results window showed it (two decimals, the locale's separator) and its
// word. Anything that is no grade stays as stored, without a word.
struct GradeCells {
    QString grade;
    QString word;
};
GradeCells gradeCells(const QString& val, const QLocale& locale);

struct Format {
    QChar separator = QLatin1Char(';');
    QLocale locale = QLocale(QLocale::Bulgarian, QLocale::Bulgaria);
    bool bom = true;
};

// The file: a header row and a row per record, lines ended by CR LF, UTF-8
// with a byte-order mark unless `format.bom` is off. The grade keeps two
// decimals with the locale's decimal separator; a grade that is no number is
// written as stored, without a word. Every stored text goes through
// textCell().
QByteArray csv(const QList<Record>& records, const Format& format);

// The records of data/students.mdb below `programFolder`, in the order they
// were stored; a record whose number columns hold no number comes with its
// fault and the rest of it. Throws StoreError, in words for the teacher, for
// a missing folder or file and for a file that cannot be read.
QList<Record> readRecords(const QString& programFolder);

// "kivor-results PROGRAM_FOLDER [--class N] [--division Б] [--subject S]
// [--section T] [--from DATE] [--to DATE] [--separator comma|semicolon]
// [--locale bg_BG] [--no-bom] [-o FILE]": the CSV to FILE, or to `out`.
// A chosen record with a fault is named on `err` and left out. Exit code 0
// when written, 1 when the records cannot be read or written, 2 on wrong
// usage.
int run(const QStringList& arguments, QIODevice& out, QTextStream& err);

} // namespace resultscsv
