// Gap fill: the word picked from the list, the press on the text that puts
// it into a gap or selects a placed word, the removal and the check. The
// positions of the gaps live in two tables at once, the gap rows (sltable)
// and the answer key (temp), and in the text on screen; every change moves
// all three alike, so that key row k, gap row k and the k-th gap of the text
// always mean the same gap.
#include "sessionrun.h"

#include "gapkey.h"
#include "scoring.h"

#include "store/datamodule.h"
#include "store/schema.h"

namespace {

const QString kStart = QStringLiteral("start");
const QString kWord = QStringLiteral("word");
const QString kGapMark = QStringLiteral("chtrueans");
const int kMarkerLength = int(kGapMarker.size());

} // namespace

void SessionRun::forgetGapQuestion() {
    m_gapQuestion = -1;
    m_gapText.clear();
    m_wordPick = {};
}

bool SessionRun::gapRowsOpen() const {
    // The question list is closed while a new run is drawn.
    return m_gapQuestion >= 0 && m_dm.Clone1.isOpen() && question().isOpen() &&
           !question().isEmpty() && m_gapQuestion == questionId();
}

QList<TextChange> SessionRun::takeGapText(int id, const QString& shown) {
    m_gapQuestion = id;
    m_gapText = shown;
    // The rows go in order of position and each stored position already
    // counts the words placed before it, so every word put back moves the
    // text exactly as the later positions expect.
    QList<TextChange> changes;
    for (const PlacedWord& gap : gapRows()) {
        // A position outside the text (a damaged bank) leaves that gap alone.
        if (gap.word.isEmpty() || !gapInsideText(gap.start, int(m_gapText.size())) ||
            m_gapText.mid(gap.start, kMarkerLength) != kGapMarker)
            continue;
        m_gapText.replace(gap.start, kMarkerLength, gap.word);
        changes.append({gap.start, kMarkerLength, gap.word, true});
    }
    return changes;
}

void SessionRun::shiftGapsAfter(int rank, int by) {
    Query& gaps = m_dm.Clone1;
    Query& key = m_dm.Words;
    const int keyRows = key.recordCount();
    for (int m = rank + 1; m <= gaps.recordCount(); ++m) {
        gaps.moveTo(m);
        const int moved = gaps.integer(kStart) + by;
        gaps.edit();
        gaps.setInteger(kStart, moved);
        gaps.post();
        if (m > keyRows)
            continue;
        key.moveTo(m);
        key.edit();
        key.setInteger(kStart, moved);
        key.post();
    }
}

bool SessionRun::pickWord(const QString& word) {
    m_wordPick = {};
    Query& key = m_dm.Words;
    // The first key row of the word, in order of position, gives the word
    // placed; a text the key does not hold is no pick.
    if (word.isEmpty() || !key.isOpen() || !key.locate(QStringLiteral("words"), word))
        return false;
    m_wordPick = {true, questionId(), key.text(QStringLiteral("words"))};
    return true;
}

std::optional<TextChange> SessionRun::fillGap(int p) {
    const WordPick pick = m_wordPick;
    m_wordPick = {};
    if (!pick.active || pick.question != questionId() || !gapRowsOpen())
        return std::nullopt;
    Query& gaps = m_dm.Clone1;
    for (int k = 1; k <= gaps.recordCount(); ++k) {
        gaps.moveTo(k);
        const int s = gaps.integer(kStart);
        if (p < s || p > s + kMarkerLength)
            continue;
        // A gap that holds a word, or whose marker is not where its row
        // says, takes none; the press may still hit the next gap.
        if (!gaps.text(kWord).isEmpty() || !gapInsideText(s, int(m_gapText.size())) ||
            m_gapText.mid(s, kMarkerLength) != kGapMarker)
            continue;
        gaps.edit();
        gaps.setText(kWord, pick.word);
        gaps.post();
        shiftGapsAfter(k, int(pick.word.size()) - kMarkerLength);
        m_gapText.replace(s, kMarkerLength, pick.word);
        return TextChange{s, kMarkerLength, pick.word, true};
    }
    return std::nullopt;
}

std::optional<PlacedWord> SessionRun::selectWord(int p) const {
    // An open gap is no word to take out: selecting it would only spend a
    // correction on nothing.
    for (const PlacedWord& gap : gapRows())
        if (!gap.word.isEmpty() && p >= gap.start && p <= gap.start + int(gap.word.size()))
            return gap;
    return std::nullopt;
}

std::optional<TextChange> SessionRun::removeWord(const QString& word, int start) {
    if (word.isEmpty() || !gapRowsOpen())
        return std::nullopt;
    Query& gaps = m_dm.Clone1;
    const int length = int(word.size());
    // Whether the word comes out is settled before anything is counted or
    // changed: a selection left over from before (another question, a word
    // already taken out) must neither cost a correction nor take points.
    if (!gaps.locate({kStart, kWord}, {start, word}) || start < 0 ||
        m_gapText.mid(start, length) != word)
        return std::nullopt;
    const int rank = gaps.recNo();
    if (!countCorrection())
        return std::nullopt;
    gaps.moveTo(rank);
    gaps.edit();
    gaps.setText(kWord, QString());
    gaps.post();
    shiftGapsAfter(rank, kMarkerLength - length);
    m_gapText.replace(start, length, kGapMarker);
    return TextChange{start, length, kGapMarker, false};
}

Feedback SessionRun::TrueAnswerW(const QString& word, int start, bool removal) {
    Query& key = m_dm.Words;
    Query& gaps = m_dm.Clone1;
    // Key row and gap row of a gap share its position.
    const bool keyFound = key.isOpen() && key.locate(kStart, start);
    const bool right = keyFound && key.text(QStringLiteral("words")) == word;
    if (keyFound && gaps.isOpen() && gaps.locate(kStart, start)) {
        const MarkChange change = scoreAnswer(right && !removal, gaps.text(kGapMark) == schema::yes,
                                              key.integer(QStringLiteral("scores")));
        if (change.flipped) {
            Score += change.scoreDelta;
            gaps.edit();
            gaps.setText(kGapMark, change.counted ? schema::yes : schema::no);
            gaps.post();
        }
    }
    return removal ? Feedback::None : feedback(right);
}
