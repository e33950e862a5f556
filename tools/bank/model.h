#pragma once

#include "question/question.h"

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

// The questions themselves are the question layer's.
using question::GapText;
using question::Kind;
using question::Pair;
using question::Question;

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
