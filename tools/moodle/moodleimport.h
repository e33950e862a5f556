#pragma once

#include "tools/bank/model.h"

class QIODevice;

namespace bank {
struct SourceLines;
}

// kivor-bank import-moodle: questions exported from Moodle as Moodle XML made
// into a bank source. Moodle's multichoice with four answers and one right,
// matching, ddwtos and gapselect have a kind of the banks; every other
// question is left out with its reason.
namespace moodle {

struct ImportOptions {
    int classNo = 0;
    QString subject;
    QString section;        // every question into this section; empty: a section per category
    QString table;          // the table of `section`; with categories the head of every table name
    QString defaultSection; // the section of questions before any category
};

// A question left out, or what the author should know about one kept.
struct Finding {
    int line = 0;
    QString name; // the question's name in Moodle
    QString type; // its Moodle type
    QString message;
};

struct ImportedQuestion {
    bank::Question question; // a picture is "pictures/<table>_<n>.jpg" of the first question
                             // showing it, its JPEG bytes beside
    QString name;
    QString note;            // how its points came about; a comment beside it in the source
    QStringList gapWarnings; // what kivor-bank says of its gap text
};

struct ImportedSection {
    QString name;
    QString table;
    QList<ImportedQuestion> questions;
};

struct Import {
    // A file that is not well-formed Moodle XML: nothing else is filled in.
    QString fault;
    int faultLine = 0;
    QList<ImportedSection> sections;
    QList<Finding> skipped;
    QList<Finding> notes;
    int questionCount() const;
};

Import readMoodleXml(const QByteArray& xml, const ImportOptions& options);
// The same from a file, read as it goes.
Import readMoodleXml(QIODevice* xml, const ImportOptions& options);

// The bank source of an import, as kivor-bank reads it; `origin` names the
// Moodle file in its first line.
// Where it put each part goes to `lines`.
QByteArray bankSource(const Import& import, const ImportOptions& options, const QString& origin,
                      bank::SourceLines* lines = nullptr);

// What kivor-bank will say of the source bankSource() wrote as `file` (its
// path in the content folder), found from the import itself: the question
// layer's faults, and the warnings about sections and items.
QList<bank::Issue> sourceFindings(const Import& import, const bank::SourceLines& lines,
                                  const QString& file);

// A text in Latin letters: Bulgarian by the official transliteration, other
// Cyrillic and accented Latin letters as near as they come.
QString transliterate(const QString& text);

// A name kivor-bank takes as a table (bank::isTableName): the text
// transliterated and lower-cased, every other character a "_", at most 40
// characters; empty when no letter or digit is left.
QString tableNameOf(const QString& text);

} // namespace moodle
