#pragma once

#include <QByteArray>
#include <QList>
#include <QString>
#include <functional>

namespace bank {

struct Source;

// A comment beside question `question` of section `section` (both 0-based);
// empty for none.
using QuestionComment = std::function<QString(int section, int question)>;

// Where a question stands in a source written (1-based lines): its first
// field, its points where written, its pairs.
struct QuestionLines {
    int question = 0;
    int points = 0;
    int text = 0; // a gap text
    QList<int> pairs;
};

// The same for every section (its first field) and question of a source.
struct SourceLines {
    QList<int> sections;
    QList<QList<QuestionLines>> questions;
};

// The bank source of `source` as kivor-bank reads it back: the same
// questions, multi-line texts as literal blocks. `head` is a comment line
// before everything; empty for none. Where it put each part goes to `lines`.
QByteArray sourceYaml(const Source& source, const QString& head = QString(),
                      const QuestionComment& comment = QuestionComment(),
                      SourceLines* lines = nullptr);

} // namespace bank
