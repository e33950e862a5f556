#include "faults.h"

#include "question.h"

#include <QSet>
#include <algorithm>

namespace question {

namespace {

bool validPoints(int points) {
    return points >= 0 && points <= kMaxPoints;
}

QString pointsFault() {
    return QStringLiteral("не са цяло число от 0 до %1").arg(kMaxPoints);
}

QString quoted(const QString& s) {
    return QStringLiteral("„") + s + QStringLiteral("“");
}

bool hasLineBreak(const QString& s) {
    return s.contains(QLatin1Char('\n')) || s.contains(QLatin1Char('\r'));
}

void choiceFaults(const Question& q, QList<Fault>* out) {
    if (q.answers.size() != 4)
        out->append({FaultKind::Answers, 0, QStringLiteral("въпросът няма четири отговора")});
    else
        for (int i = 0; i < 4; ++i)
            if (q.answers[i].isEmpty())
                out->append(
                    {FaultKind::Answers, i + 1, QStringLiteral("въпросът няма четири отговора")});
    if (answerBox(q.right) == 0)
        out->append(
            {FaultKind::RightAnswer, 0,
             QStringLiteral("верният отговор („%1“) не е А, Б, В или Г").arg(QString(q.right))});
}

void matchingFaults(const Question& q, QList<Fault>* out) {
    const bool anyMeaning = std::any_of(q.pairs.begin(), q.pairs.end(),
                                        [](const Pair& p) { return !p.meaning.isEmpty(); });
    if (q.pairs.isEmpty() || q.pairs[0].term.isEmpty() || !anyMeaning)
        out->append({FaultKind::NoPairs, 0, QStringLiteral("въпросът няма понятия и значения")});
    QSet<QString> terms, meanings;
    for (int i = 0; i < q.pairs.size(); ++i) {
        const Pair& p = q.pairs[i];
        const int n = i + 1;
        if (!validPoints(p.points))
            out->append({FaultKind::PairPoints, n,
                         QStringLiteral("точките на двойка %1 („%2“) %3")
                             .arg(n)
                             .arg(QString::number(p.points), pointsFault())});
        if (p.term.isEmpty())
            out->append({FaultKind::PairTerm, n, QStringLiteral("двойка %1 няма термин").arg(n)});
        if (p.meaning.isEmpty())
            out->append(
                {FaultKind::PairMeaning, n, QStringLiteral("двойка %1 няма значение").arg(n)});
        // Terms and meanings are stored one per line, so a line break would
        // split a pair in two.
        if (hasLineBreak(p.term) || hasLineBreak(p.meaning))
            out->append(
                {FaultKind::PairLineBreak, n,
                 QStringLiteral("термин или значение на двойка %1 съдържа нов ред").arg(n)});
        // The session finds a pair by its term and joins meanings by text.
        if (!p.term.isEmpty() && terms.contains(p.term))
            out->append({FaultKind::RepeatedTerm, n,
                         QStringLiteral("терминът %1 се среща в повече от една двойка")
                             .arg(quoted(p.term))});
        if (!p.meaning.isEmpty() && meanings.contains(p.meaning))
            out->append({FaultKind::RepeatedMeaning, n,
                         QStringLiteral("значението %1 се среща в повече от една двойка")
                             .arg(quoted(p.meaning))});
        terms.insert(p.term);
        meanings.insert(p.meaning);
    }
    if (q.pairs.size() < 2)
        out->append({FaultKind::PairCount, 0,
                     QStringLiteral("въпросът за свързване трябва да има поне две двойки, а има %1")
                         .arg(q.pairs.size())});
    if (q.pairs.size() > 10)
        out->append({FaultKind::PairCount, 0,
                     QStringLiteral("въпросът има %1 двойки, а екранът показва най-много 10: "
                                    "останалите не могат да бъдат свързани")
                         .arg(q.pairs.size())});
}

void gapFaults(const Question& q, QList<Fault>* out) {
    const GapText& g = q.gaps;
    if (g.text.isEmpty() || g.words.isEmpty()) {
        out->append(
            {FaultKind::NoGapText, 0, QStringLiteral("въпросът няма текст и думи за попълване")});
        return;
    }
    if (g.text.size() > kMaxGapText) {
        out->append({FaultKind::GapTextSize, 0,
                     QStringLiteral("текстът е по-дълъг от %1 знака").arg(kMaxGapText)});
        return;
    }
    const int marker = int(kGapMarker.size());
    QList<int> opened; // the starts of the gaps checked so far, in order
    for (int i = 0; i < g.words.size(); ++i) {
        const int n = i + 1;
        if (i >= g.starts.size()) {
            out->append(
                {FaultKind::GapPlace, n,
                 QStringLiteral("мястото на празнина %1 в текста не е дадено с числа").arg(n)});
            continue;
        }
        if (i >= g.points.size() || !validPoints(g.points[i]))
            out->append({FaultKind::GapPoints, n,
                         QStringLiteral("точките на празнина %1 („%2“) %3")
                             .arg(n)
                             .arg(i < g.points.size() ? QString::number(g.points[i]) : QString(),
                                  pointsFault())});
        // A gap past the end of its text can never be filled, and moving it
        // with the words placed before it would run past the largest number.
        const int start = g.starts[i];
        if (!gapInsideText(start, int(g.text.size()))) {
            out->append(
                {FaultKind::GapOutside, n,
                 QStringLiteral("мястото на празнина %1 („%2“) е извън текста").arg(n).arg(start)});
            continue;
        }
        // A gap that is not at a marker, or shares one with another gap, can
        // never be filled, yet its points would count in the run's total.
        const auto at = std::lower_bound(opened.begin(), opened.end(), start);
        if (QStringView(g.text).mid(start, marker) != kGapMarker ||
            (at != opened.end() && *at < start + marker) ||
            (at != opened.begin() && *(at - 1) + marker > start)) {
            out->append({FaultKind::GapNotMarker, n,
                         QStringLiteral("мястото на празнина %1 („%2“) не е празнина в текста")
                             .arg(n)
                             .arg(start)});
            continue;
        }
        opened.insert(at, start);
    }
}

} // namespace

bool stopsAsking(FaultKind kind) {
    return kind < FaultKind::PairCount;
}

QList<Fault> questionFaults(const Question& q) {
    QList<Fault> out;
    if (!validPoints(q.points))
        out.append({FaultKind::Points, 0,
                    QStringLiteral("точките на въпроса („%1“) %2")
                        .arg(QString::number(q.points), pointsFault())});
    switch (q.kind) {
    case Kind::Choice:
        choiceFaults(q, &out);
        break;
    case Kind::Matching:
        matchingFaults(q, &out);
        break;
    case Kind::Gaps:
        gapFaults(q, &out);
        break;
    }
    return out;
}

} // namespace question
