#pragma once

#include <QByteArray>
#include <QList>
#include <QString>
#include <QStringList>

// What kivor-bank reads from the question-bank sources and writes into a
// program folder's databases.
namespace bank {

enum class Severity { Fault, Warning };

// One finding about a source. A fault keeps the whole source out of the
// program folder; a warning only tells the author.
struct Issue {
    Severity severity = Severity::Fault;
    QString file;     // as named to the author: "banks/bel5.yaml" or a database path
    int line = 0;     // 1-based line in the source; 0 when none applies
    QString section;  // section name, empty when the finding is about the file
    int question = 0; // 1-based number of the question in its section; 0 when none
    QString message;  // Bulgarian

    bool isFault() const { return severity == Severity::Fault; }
    // "banks/bel5.yaml:14: грешка: раздел „…“, въпрос 3: …"
    QString text() const;
};

bool hasFault(const QList<Issue>& issues);

// The stored number of each kind (typequest).
enum class Kind { Choice = 0, Matching = 1, Gaps = 2 };

struct Pair {
    QString term;
    QString meaning;
    int points = 0;
};

// A gap-fill text with its gaps taken out: the stored passage and, per gap,
// the right word, the position of its marker and its points.
struct GapText {
    QString text; // with every gap replaced by the marker
    QStringList words;
    QList<int> starts; // 0-based character positions of the markers in `text`
    QList<int> points;
    int totalPoints() const;
};

struct Question {
    Kind kind = Kind::Choice;
    int line = 0;
    int test = 1;
    QString condition;
    QString fullAnswer;
    int points = 0;  // Scores: given, or the sum of the pairs' / gaps' points
    QString picture; // as the source names it; empty when there is none
    QByteArray pictureData;

    // Choice
    QString question;
    QStringList answers; // four
    QChar right;         // А, Б, В or Г

    // Matching
    QList<Pair> pairs;

    // Gaps
    GapText gaps;
};

struct Section {
    QString name;
    QString table;
    int line = 0;
    QList<Question> questions;
};

// One bank file: the sections of one subject of one class.
struct Source {
    QString file; // relative to the content folder, "banks/bel5.yaml"
    int classNo = 0;
    QString subject;
    QList<Section> sections;
};

struct Dictionary {
    QString file;
    QString lang;
    QString table;
    QList<QPair<QString, QString>> words; // word, translation
};

} // namespace bank
