#pragma once

#include <QLatin1StringView>
#include <QList>
#include <QString>

namespace question {

enum class Kind;
struct Fault;
struct Question;

// The columns of a question row as stored, as text. Multi-line columns hold
// one item per line (store/multiline.h).
struct QuestionRow {
    QString typequest, scores, trueAns, ansA, ansB, ansC, ansD, terms, trans, ttscores, textw,
        words, start, leng, condition, quest, fullAns;
};

// A column of a question row: its stored name, where QuestionRow keeps it,
// and the kinds that fill it in (none: every kind); in the other kinds it
// holds empty text.
struct RowColumn {
    QLatin1StringView name;
    QString QuestionRow::*text;
    QList<Kind> filledBy;
};
const QList<RowColumn>& rowColumns();

// The question a stored row holds. What its text cannot say as a question
// (a kind that is no number, points or positions that are not whole numbers,
// a pair or gap without points) is appended to `faults`; the question is then
// only as good as the rest of the row.
Question fromRow(const QuestionRow& row, QList<Fault>* faults);

// The row a question is stored as. The lengths of the gaps are their words'.
QuestionRow toRow(const Question& q);

// Why a stored row cannot be asked, the first reason first: what its text
// cannot say, else the faults that stop asking (stopsAsking). Empty when it
// can be asked.
QList<Fault> rowFaults(const QuestionRow& row);

} // namespace question
