#include "row.h"

#include "faults.h"
#include "question.h"

#include "store/multiline.h"

namespace question {

namespace {

// A whole number of a column, as the program reads one: blanks around it
// are allowed, nothing else.
std::optional<int> wholeNumber(const QString& text) {
    bool ok = false;
    const int n = text.trimmed().toInt(&ok);
    return ok ? std::optional<int>(n) : std::nullopt;
}

QString pointsFault() {
    return QStringLiteral("не са цяло число от 0 до %1").arg(kMaxPoints);
}

QStringList numbers(const QList<int>& values) {
    QStringList out;
    for (int v : values)
        out.append(QString::number(v));
    return out;
}

void readPairs(const QuestionRow& row, Question* q, QList<Fault>* faults) {
    const QStringList terms = splitLines(row.terms);
    const QStringList trans = splitLines(row.trans);
    const QStringList points = splitLines(row.ttscores);
    for (qsizetype i = 0; i < std::max(terms.size(), trans.size()); ++i) {
        Pair p{terms.value(i), trans.value(i), 0};
        const int n = int(i) + 1;
        // A line empty in both lists is no pair: the session passes it by,
        // and it needs no points.
        if (p.term.isEmpty() && p.meaning.isEmpty()) {
            q->pairs.append(p);
            continue;
        }
        if (i >= points.size())
            faults->append(
                {FaultKind::PairPoints, n, QStringLiteral("двойка %1 няма точки").arg(n)});
        else if (const std::optional<int> v = wholeNumber(points[i]))
            p.points = *v;
        else
            faults->append({FaultKind::PairPoints, n,
                            QStringLiteral("точките на двойка %1 („%2“) %3")
                                .arg(n)
                                .arg(points[i], pointsFault())});
        q->pairs.append(p);
    }
}

void readGaps(const QuestionRow& row, Question* q, QList<Fault>* faults) {
    GapText& g = q->gaps;
    // Positions count in the text as the gap page shows it, where a line
    // break of any kind is one character.
    g.text = row.textw;
    g.text.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
    g.text.replace(QLatin1Char('\r'), QLatin1Char('\n'));
    g.words = splitLines(row.words);
    const QStringList starts = splitLines(row.start);
    const QStringList lengs = splitLines(row.leng);
    const QStringList points = splitLines(row.ttscores);
    for (qsizetype i = 0; i < g.words.size(); ++i) {
        const int n = int(i) + 1;
        const std::optional<int> start = wholeNumber(starts.value(i));
        const std::optional<int> leng = wholeNumber(lengs.value(i));
        if (!start || *start < 0 || !leng || *leng < 0)
            faults->append(
                {FaultKind::GapPlace, n,
                 QStringLiteral("мястото на празнина %1 в текста не е дадено с числа").arg(n)});
        g.starts.append(start.value_or(-1));
        const std::optional<int> p = wholeNumber(points.value(i));
        if (!p)
            faults->append({FaultKind::GapPoints, n,
                            QStringLiteral("точките на празнина %1 („%2“) %3")
                                .arg(n)
                                .arg(points.value(i), pointsFault())});
        g.points.append(p.value_or(0));
    }
}

} // namespace

const QList<RowColumn>& rowColumns() {
    using R = QuestionRow;
    const auto c = [](const char* name) { return QLatin1StringView(name); };
    const QList<Kind> choice{Kind::Choice}, matching{Kind::Matching}, gaps{Kind::Gaps},
        items{Kind::Matching, Kind::Gaps};
    static const QList<RowColumn> columns = {
        {c("typequest"), &R::typequest, {}},  {c("Scores"), &R::scores, {}},
        {c("Condition"), &R::condition, {}},  {c("FullAns"), &R::fullAns, {}},
        {c("Quest"), &R::quest, choice},      {c("AnsA"), &R::ansA, choice},
        {c("AnsB"), &R::ansB, choice},        {c("AnsC"), &R::ansC, choice},
        {c("AnsD"), &R::ansD, choice},        {c("TrueAns"), &R::trueAns, choice},
        {c("Terms"), &R::terms, matching},    {c("Trans"), &R::trans, matching},
        {c("TTScores"), &R::ttscores, items}, {c("TextW"), &R::textw, gaps},
        {c("Words"), &R::words, gaps},        {c("Start"), &R::start, gaps},
        {c("Leng"), &R::leng, gaps}};
    return columns;
}

Question fromRow(const QuestionRow& row, QList<Fault>* faults) {
    Question q;
    const std::optional<int> stored = wholeNumber(row.typequest);
    const std::optional<Kind> kind = stored ? kindOf(*stored) : std::nullopt;
    if (!kind) {
        faults->append(
            {FaultKind::Kind, 0,
             QStringLiteral("видът на въпроса („%1“) не е 0, 1 или 2").arg(row.typequest)});
        return q;
    }
    q.kind = *kind;
    if (const std::optional<int> points = wholeNumber(row.scores))
        q.points = *points;
    else
        faults->append(
            {FaultKind::Points, 0,
             QStringLiteral("точките на въпроса („%1“) %2").arg(row.scores, pointsFault())});
    q.condition = row.condition;
    q.fullAnswer = row.fullAns;
    switch (q.kind) {
    case Kind::Choice:
        q.question = row.quest;
        q.answers = {row.ansA, row.ansB, row.ansC, row.ansD};
        if (row.trueAns.size() == 1)
            q.right = row.trueAns[0];
        else
            faults->append(
                {FaultKind::RightAnswer, 0,
                 QStringLiteral("верният отговор („%1“) не е А, Б, В или Г").arg(row.trueAns)});
        break;
    case Kind::Matching:
        readPairs(row, &q, faults);
        break;
    case Kind::Gaps:
        readGaps(row, &q, faults);
        break;
    }
    return q;
}

QuestionRow toRow(const Question& q) {
    QuestionRow row;
    row.typequest = QString::number(int(q.kind));
    row.scores = QString::number(q.points);
    row.condition = q.condition;
    row.fullAns = q.fullAnswer;
    switch (q.kind) {
    case Kind::Choice:
        row.quest = q.question;
        row.ansA = q.answers.value(0);
        row.ansB = q.answers.value(1);
        row.ansC = q.answers.value(2);
        row.ansD = q.answers.value(3);
        row.trueAns = QString(q.right);
        break;
    case Kind::Matching: {
        QStringList terms, meanings;
        QList<int> points;
        for (const Pair& p : q.pairs) {
            terms.append(p.term);
            meanings.append(p.meaning);
            points.append(p.points);
        }
        row.terms = joinLines(terms);
        row.trans = joinLines(meanings);
        row.ttscores = joinLines(numbers(points));
        break;
    }
    case Kind::Gaps: {
        QList<int> lengths;
        for (const QString& w : q.gaps.words)
            lengths.append(int(w.size()));
        row.textw = q.gaps.text;
        row.words = joinLines(q.gaps.words);
        row.start = joinLines(numbers(q.gaps.starts));
        row.leng = joinLines(numbers(lengths));
        row.ttscores = joinLines(numbers(q.gaps.points));
        break;
    }
    }
    return row;
}

QList<Fault> rowFaults(const QuestionRow& row) {
    QList<Fault> faults;
    const Question q = fromRow(row, &faults);
    if (!faults.isEmpty())
        return faults;
    for (const Fault& f : questionFaults(q))
        if (stopsAsking(f.kind))
            faults.append(f);
    return faults;
}

} // namespace question
