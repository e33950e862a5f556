#pragma once

// The run model's invariant, computed from the scratch tables alone: the
// points of the right answers standing. A four-answer question counts when
// its last counted choice is the right letter; a line when its term and its
// meaning (as the page shows them: line t of terms, line tr of trans) are a
// pair of the question; a gap when it holds its key word. The answer marks
// are not read, so a mark that drifted from the answers shows up too.
#include "question/question.h"
#include "store/connection.h"
#include "store/multiline.h"
#include "store/query.h"

#include <QHash>

namespace sessiontest {

template <typename F> void forEachRow(Connection& scratch, const QString& sql, F&& row) {
    Query q;
    q.setConnection(&scratch);
    q.setSql({sql});
    q.open();
    for (q.first(); !q.eof(); q.next())
        row(q);
}

inline qint64 standingPoints(Connection& scratch) {
    qint64 sum = 0;
    QHash<int, QStringList> terms, trans, keyPoints, keyWords;
    forEachRow(scratch, QStringLiteral("select * from temp4"), [&](Query& q) {
        const int id = q.integer(QStringLiteral("id"));
        if (q.integer(QStringLiteral("typequest")) == int(question::Kind::Choice) &&
            q.text(QStringLiteral("ChAns")) == q.text(QStringLiteral("TrueAns")) &&
            !q.text(QStringLiteral("ChAns")).isEmpty())
            sum += q.integer(QStringLiteral("Scores"));
        terms[id] = splitLines(q.text(QStringLiteral("terms")));
        trans[id] = splitLines(q.text(QStringLiteral("trans")));
        keyWords[id] = splitLines(q.text(QStringLiteral("words")));
        keyPoints[id] = splitLines(q.text(QStringLiteral("ttscores")));
    });
    Query pairs;
    pairs.setConnection(&scratch);
    pairs.setSql({QStringLiteral("select * from temp1")});
    pairs.open();
    forEachRow(scratch, QStringLiteral("select * from temp2 where tr > 0"), [&](Query& q) {
        const int id = q.integer(QStringLiteral("id"));
        const QString term = terms[id].value(q.integer(QStringLiteral("t")) - 1);
        const QString meaning = trans[id].value(q.integer(QStringLiteral("tr")) - 1);
        if (pairs.locate({QStringLiteral("id"), QStringLiteral("ttrue"), QStringLiteral("trtrue")},
                         {id, term, meaning}))
            sum += pairs.integer(QStringLiteral("scores"));
    });
    // Gap rows go in order of position, as the gaps stand in the text.
    int id = -1;
    int rank = 0;
    forEachRow(scratch, QStringLiteral("select * from sltable order by id, start"), [&](Query& q) {
        const int gapId = q.integer(QStringLiteral("id"));
        rank = gapId == id ? rank + 1 : 0;
        id = gapId;
        if (q.text(QStringLiteral("word")) == keyWords[id].value(rank))
            sum += keyPoints[id].value(rank).toInt();
    });
    return sum;
}

} // namespace sessiontest
