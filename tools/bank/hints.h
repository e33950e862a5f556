#pragma once

#include "model.h"

#include <QHash>

// Questions a pupil could answer without knowing the answer: one he has
// already seen elsewhere, or a pair whose meaning repeats its own term.
namespace bank {

// Per pair, the word of its meaning that shares a stem with a word of its
// own term and with no word of another term (there even four letters count),
// so that it points to that term alone; empty for a pair without such a word. Words shorter than
// five letters are skipped, and two words share a stem when the first five letters of one occur in
// the other ("вятъра" – "вятърна", "енергетика" – "електроенергия"). A question of one word against
// one word throughout is a word-form exercise (a verb and its participle): the shared root is its
// point, so it yields none.
QStringList giveawayWords(const QList<Pair>& pairs);

// A warning for every question that repeats an earlier one word for word
// (kind, condition, content and picture; case, blanks and punctuation aside),
// in any section of any source. Sources come one at a time, so that their questions
// need not be kept: what it remembers of a question is a hash and its place.
class RepeatCheck {
public:
    // A question of the source being read, `number` in its section.
    void note(const Question& q, const QString& section, int number);
    // Warns about the questions noted since the last call, and counts them
    // as seen, when their source is `kept`; else forgets them.
    void endSource(const QString& file, bool kept, QList<Issue>* issues);

private:
    struct Place {
        QString file;
        QString section;
        int question = 0;
    };
    struct Noted {
        QByteArray key;
        Place place;
        int line = 0;
    };
    QHash<QByteArray, Place> m_seen;
    QHash<QString, QString> m_pictureHashes;
    QList<Noted> m_noted;
};

} // namespace bank
