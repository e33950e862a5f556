#pragma once

#include <QByteArray>
#include <QString>
#include <functional>

namespace bank {

struct Source;

// A comment beside question `question` of section `section` (both 0-based);
// empty for none.
using QuestionComment = std::function<QString(int section, int question)>;

// The bank source of `source` as kivor-bank reads it back: the same
// questions, multi-line texts as literal blocks. `head` is a comment line
// before everything; empty for none.
QByteArray sourceYaml(const Source& source, const QString& head = QString(),
                      const QuestionComment& comment = QuestionComment());

} // namespace bank
