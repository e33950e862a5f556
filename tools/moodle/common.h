#pragma once

#include "tools/bank/model.h"

#include <QHash>
#include <QString>
#include <QStringList>

// What the two Moodle commands of kivor-bank share: their command lines and
// where a bank file's pictures live.
namespace moodle {

// "FILE --class 5 -o OUT" split into the positional words and the options
// with their values. An option the command does not know, or one without
// its value, makes `fault` say so.
struct Arguments {
    QStringList positional;
    QHash<QString, QString> options; // "--class" -> "5"
    QString fault;

    Arguments(const QStringList& arguments, const QStringList& known);
    QString value(const QString& option) const { return options.value(option); }
    bool has(const QString& option) const { return options.contains(option); }
};

// Class numbers as the banks take them, 1 … 13; 0 for anything else.
int classNumber(const QString& text);

// The content folder a bank file belongs to: the folder above banks/ when the
// file lies in a folder of that name, else the file's own folder. Pictures
// are named relative to it.
QString contentFolderOf(const QString& bankFile);

// The condition a question of each kind gets where Moodle has none to give
// (a matching question's is its Moodle text).
QString defaultCondition(bank::Kind kind);

} // namespace moodle
