#include "sessionrun.h"

#include "gapkey.h"
#include "scoring.h"

#include "question/question.h"
#include "store/connection.h"
#include "store/datamodule.h"
#include "store/multiline.h"
#include "store/schema.h"

#include <algorithm>

namespace {

constexpr int kRows = 10;

const QString kId = QStringLiteral("id");
const QString kMark = QStringLiteral("ChTrueAns");

QString cell(const QStringList& lines, int row) {
    return row >= 1 && row <= lines.size() ? lines[row - 1] : QString();
}

// Pair points are kept as text; one that is not a whole number earns nothing
// rather than stopping the pupil's answer.
int points(const QString& text) {
    bool ok = false;
    const int n = text.trimmed().toInt(&ok);
    return ok ? n : 0;
}

} // namespace

SessionRun::SessionRun(TDataModule2& dm, const RunSettings& settings)
    : m_dm(dm), m_settings(settings) {}

Query& SessionRun::question() const {
    return m_dm.Temp;
}

void SessionRun::openAll(Query& q, const QString& table) const {
    if (q.isOpen() && q.sqlText() == QStringLiteral("select * from ") + table)
        return;
    q.close();
    q.setConnection(&m_dm.ATemp1);
    q.setSql({QStringLiteral("select * from ") + table});
    q.open();
}

Query& SessionRun::pairs() const {
    openAll(m_dm.Temp1, QStringLiteral("temp1"));
    return m_dm.Temp1;
}

Query& SessionRun::lineRows() const {
    openAll(m_dm.Temp2, QStringLiteral("temp2"));
    return m_dm.Temp2;
}

void SessionRun::start() {
    Score = 0;
    m_pick = {};
    forgetGapQuestion();
}

Feedback SessionRun::feedback(bool right) const {
    if (!m_settings.tutorRun())
        return Feedback::None;
    return right ? Feedback::Right : Feedback::Wrong;
}

// --- Corrections ---

bool SessionRun::correctionAllowed() const {
    return ::correctionAllowed(m_settings.unlimitedCorrections(),
                               question().integer(QStringLiteral("Limit")),
                               m_settings.correctionsCount());
}

bool SessionRun::countCorrection() {
    if (m_settings.unlimitedCorrections())
        return true;
    if (!correctionAllowed())
        return false;
    Query& q = question();
    const int limit = q.integer(QStringLiteral("Limit"));
    q.edit();
    q.setInteger(QStringLiteral("Limit"), limit + 1);
    q.post();
    return true;
}

// --- The current question ---

int SessionRun::questionId() const {
    return question().integer(kId);
}

std::optional<question::Kind> SessionRun::kind() const {
    return question::kindOf(question().integer(QStringLiteral("typequest")));
}

void SessionRun::markVisited() {
    Query& q = question();
    if (!q.text(kMark).isEmpty())
        return;
    q.edit();
    q.setText(kMark, schema::no);
    q.post();
}

// --- Four answers ---

Feedback SessionRun::scoreChoice(QChar letter) {
    Query& q = question();
    const bool right = q.text(QStringLiteral("TrueAns")) == QString(letter);
    const MarkChange change =
        scoreAnswer(right, q.text(kMark) == schema::yes, q.integer(QStringLiteral("Scores")));
    if (change.flipped) {
        Score += change.scoreDelta;
        q.edit();
        q.setText(kMark, change.counted ? schema::yes : schema::no);
        q.post();
    }
    return feedback(right);
}

void SessionRun::storeChoice(QChar letter) {
    Query& q = question();
    q.edit();
    q.setText(QStringLiteral("ChAns"), QString(letter));
    q.post();
}

QChar SessionRun::storedChoice() const {
    const QString chosen = question().text(QStringLiteral("ChAns"));
    return chosen.size() == 1 ? chosen.at(0) : QChar();
}

// --- Term matching ---

const QStringList& SessionRun::columnLines(const QString& column, SplitColumn& cache) const {
    // Showing a term question asks for every row's texts: the column is split
    // once for as long as it stays the same.
    const QString value = question().text(column);
    if (value != cache.value) {
        cache.value = value;
        cache.lines = splitLines(value);
    }
    return cache.lines;
}

int SessionRun::rowCount() const {
    return std::min<int>(kRows, int(columnLines(QStringLiteral("trans"), m_trans).size()));
}

QString SessionRun::termText(int row) const {
    if (row > rowCount())
        return {};
    return cell(columnLines(QStringLiteral("terms"), m_terms), row);
}

QString SessionRun::meaningText(int row) const {
    if (row > rowCount())
        return {};
    return cell(columnLines(QStringLiteral("trans"), m_trans), row);
}

bool SessionRun::locateLine(int id, int meaningRow) const {
    return lineRows().locate({kId, QStringLiteral("tr")}, {id, meaningRow});
}

int SessionRun::termJoinedTo(int meaningRow) const {
    if (meaningRow < 1 || meaningRow > kRows || !locateLine(questionId(), meaningRow))
        return 0;
    return lineRows().integer(QStringLiteral("t"));
}

int SessionRun::pairedMeaning(int termRow) const {
    const QString term = termText(termRow);
    if (term.isEmpty())
        return 0;
    for (int m = 1; m <= rowCount(); ++m)
        if (pairPoints(term, meaningText(m)) >= 0)
            return m;
    return 0;
}

QList<TermLine> SessionRun::lines() const {
    Query& q = m_dm.Temp2;
    q.close();
    q.setConnection(&m_dm.ATemp1);
    q.setSql({QStringLiteral("select * from temp2"), QStringLiteral("where id=:id")});
    q.setParam(kId, questionId());
    q.open();
    QList<TermLine> out;
    for (q.first(); !q.eof(); q.next())
        out.append({q.integer(QStringLiteral("t")), q.integer(QStringLiteral("tr"))});
    q.close();
    return out;
}

SessionRun::PickOutcome SessionRun::pickTerm(int row) {
    if (m_pick.active || row < 1 || row > rowCount() || termText(row).isEmpty())
        return {};
    const int id = questionId();
    // A term already joined is not picked twice (its label takes no press).
    if (lineRows().locate({kId, QStringLiteral("t")}, {id, row}))
        return {};
    m_pick = {true, id, row, termText(row), false};

    Query& lines = lineRows();
    lines.append();
    lines.setInteger(kId, id);
    lines.setInteger(QStringLiteral("t"), row);
    lines.setInteger(QStringLiteral("tr"), 0);
    lines.setText(kMark, schema::no);
    lines.post();

    Query& p = pairs();
    if (p.locate({kId, QStringLiteral("ttrue")}, {id, m_pick.term})) {
        p.edit();
        p.setText(QStringLiteral("tfalse"), m_pick.term);
        p.post();
        m_pick.pairFound = true;
    }
    return {true, m_pick.pairFound};
}

SessionRun::JoinOutcome SessionRun::joinMeaning(int row) {
    if (!m_pick.active || m_pick.question != questionId() || row < 1 || row > rowCount() ||
        meaningText(row).isEmpty() || termJoinedTo(row) != 0)
        return {false, true, Feedback::None};
    const Pick pick = m_pick;
    m_pick = {};
    const QString meaning = meaningText(row);

    Query& lines = lineRows();
    if (lines.locate({kId, QStringLiteral("t"), QStringLiteral("tr")},
                     {pick.question, pick.row, 0})) {
        lines.edit();
        lines.setInteger(QStringLiteral("tr"), row);
        lines.post();
    }
    if (pick.pairFound) {
        Query& p = pairs();
        if (p.locate({kId, QStringLiteral("ttrue")}, {pick.question, pick.term})) {
            p.edit();
            p.setText(QStringLiteral("trfalse"), meaning);
            p.post();
        }
    }
    return {true, pick.pairFound, TrueAnswerT(pick.term, meaning, false, row)};
}

bool SessionRun::removeLine(int meaningRow) {
    const int term = termJoinedTo(meaningRow);
    if (term == 0 || !countCorrection())
        return false;
    // The term comes from the line itself: the pair rows' trfalse may name a
    // meaning that was joined to other terms before.
    TrueAnswerT(termText(term), meaningText(meaningRow), true, meaningRow);
    return true;
}

int SessionRun::pairPoints(const QString& term, const QString& meaning) const {
    Query& p = pairs();
    if (!p.locate({kId, QStringLiteral("ttrue"), QStringLiteral("trtrue")},
                  {questionId(), term, meaning}))
        return -1;
    return points(p.text(QStringLiteral("scores")));
}

Feedback SessionRun::TrueAnswerT(const QString& term, const QString& meaning, bool removal,
                                 int meaningRow) {
    const int id = questionId();
    const int pointsOfPair = pairPoints(term, meaning);
    const bool right = pointsOfPair >= 0;
    Query& lines = lineRows();
    if (!locateLine(id, meaningRow))
        return removal ? Feedback::None : feedback(right);
    const bool counted = lines.text(kMark) == schema::yes;
    if (right) {
        // A line already counted stays counted; a removal takes its points off.
        if (!counted && !removal) {
            Score += pointsOfPair;
            lines.edit();
            lines.setText(kMark, schema::yes);
            lines.post();
        } else if (counted && removal) {
            Score -= pointsOfPair;
        }
    } else if (counted) {
        // Only the points this line earned go back: those of its own pair.
        const int own = pairPoints(termText(lines.integer(QStringLiteral("t"))),
                                   meaningText(lines.integer(QStringLiteral("tr"))));
        Score -= std::max(own, 0);
        lines.edit();
        lines.setText(kMark, schema::no);
        lines.post();
    }
    if (removal) {
        locateLine(id, meaningRow);
        lines.deleteRecord();
        return Feedback::None;
    }
    return feedback(right);
}

void SessionRun::dropPick() {
    if (!m_pick.active)
        return;
    const Pick pick = m_pick;
    m_pick = {};
    Query& lines = lineRows();
    if (lines.locate({kId, QStringLiteral("t"), QStringLiteral("tr")},
                     {pick.question, pick.row, 0}))
        lines.deleteRecord();
}

// --- Gap fill ---

QStringList SessionRun::buildAnswerKey() {
    forgetGapQuestion();
    const Query& q = question();
    Query& words = m_dm.Words;
    words.close();
    if (words.connectionString().isEmpty())
        words.setConnectionString(m_dm.connectionString(DbFile::Scratch));
    words.setSql({QStringLiteral("delete * from temp")});
    words.exec();
    // The key's rows go into the scratch file as one write, not one each.
    Transaction tx(*words.connection());
    words.setSql({QStringLiteral("select * from temp")});
    words.open();
    const QList<GapKey> keys =
        gapKeys(q.text(QStringLiteral("words")), q.text(QStringLiteral("start")),
                q.text(QStringLiteral("leng")), q.text(QStringLiteral("ttscores")));
    for (const GapKey& key : keys) {
        words.append();
        words.setText(QStringLiteral("words"), key.word);
        words.setInteger(QStringLiteral("start"), key.start);
        words.setInteger(QStringLiteral("leng"), key.leng);
        words.setInteger(QStringLiteral("scores"), key.points);
        words.post();
    }
    tx.commit();

    // Each word once, however many gaps it fills.
    words.setSql({QStringLiteral("select words from temp"), QStringLiteral("union"),
                  QStringLiteral("select words from temp")});
    words.open();
    QStringList list;
    for (words.first(); !words.eof(); words.next())
        list.append(words.text(QStringLiteral("words")));

    words.setSql({QStringLiteral("select * from temp"), QStringLiteral("order by start")});
    words.open();
    return list;
}

QList<TextChange> SessionRun::openGapRows(const QString& shown) {
    const int id = questionId();
    Query& words = m_dm.Words;
    Query& gaps = m_dm.Clone1;
    ++m_dm.TextQuestionsShown;
    gaps.close();
    gaps.setConnectionString(m_dm.connectionString(DbFile::Scratch));
    if (m_dm.TextQuestionsShown == 1) {
        gaps.setSql({QStringLiteral("delete * from sltable")});
        gaps.exec();
    }
    // Only this question's rows are read: the table holds the gaps of every
    // text question shown so far.
    gaps.setSql({QStringLiteral("select * from sltable"), QStringLiteral("where id=:id"),
                 QStringLiteral("order by start")});
    gaps.setParam(kId, id);
    gaps.open();
    if (gaps.isEmpty()) {
        m_dm.GapPostCount = 0;
        for (words.first(); !words.eof(); words.next()) {
            gaps.append();
            gaps.setInteger(kId, id);
            gaps.setInteger(QStringLiteral("start"), words.integer(QStringLiteral("start")));
            gaps.setInteger(QStringLiteral("leng"),
                            int(words.text(QStringLiteral("words")).size()));
            gaps.setText(QStringLiteral("word"), QString());
            gaps.setText(QStringLiteral("chtrueans"), schema::no);
            gaps.post();
        }
        // Again, in order of position.
        gaps.open();
    }

    // The answer key follows the text as it will stand with the stored words:
    // key row k takes the position of gap row k.
    const int keyRows = words.recordCount();
    Transaction tx(*words.connection());
    for (int k = 1; k <= gaps.recordCount() && k <= keyRows; ++k) {
        gaps.moveTo(k);
        words.moveTo(k);
        const int start = gaps.integer(QStringLiteral("start"));
        if (words.integer(QStringLiteral("start")) == start)
            continue;
        words.edit();
        words.setInteger(QStringLiteral("start"), start);
        words.post();
    }
    tx.commit();
    return takeGapText(id, shown);
}

QList<PlacedWord> SessionRun::gapRows() const {
    Query& gaps = m_dm.Clone1;
    QList<PlacedWord> out;
    if (!gapRowsOpen())
        return out;
    for (int k = 1; k <= gaps.recordCount(); ++k) {
        gaps.moveTo(k);
        out.append({gaps.integer(QStringLiteral("start")), gaps.text(QStringLiteral("word"))});
    }
    return out;
}
