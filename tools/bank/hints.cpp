#include "hints.h"

#include <QCryptographicHash>
#include <QHash>
#include <utility>

namespace bank {

namespace {

constexpr int kStem = 5;

// Runs of letters (and digits, when asked), in order.
QStringList wordsOf(const QString& text, bool digits = false) {
    QStringList words;
    QString word;
    for (QChar c : text + QLatin1Char(' ')) {
        if (c.isLetter() || (digits && c.isDigit())) {
            word += c;
        } else if (!word.isEmpty()) {
            words.append(word);
            word.clear();
        }
    }
    return words;
}

// Lower case, words only: what stays when blanks and punctuation are set aside.
QString plain(const QString& text) {
    return wordsOf(text.toLower(), true).join(u' ');
}

bool shareStem(const QString& a, const QString& b, int letters) {
    return a.size() >= letters && b.size() >= letters &&
           (b.contains(QStringView(a).left(letters), Qt::CaseInsensitive) ||
            a.contains(QStringView(b).left(letters), Qt::CaseInsensitive));
}

bool shareStem(const QString& word, const QStringList& words, int letters) {
    for (const QString& w : words)
        if (shareStem(word, w, letters))
            return true;
    return false;
}

// The question as a pupil sees it, in one text that is equal exactly when two
// questions read the same, letter case and punctuation aside.
// `pictureHash` stands for the picture's bytes.
QString readingOf(const Question& q, const QString& pictureHash) {
    QStringList parts{QString::number(int(q.kind)), plain(q.condition)};
    switch (q.kind) {
    case Kind::Choice: {
        parts.append(plain(q.question));
        // The session shuffles the answers, so their order says nothing.
        QStringList answers;
        for (const QString& a : q.answers)
            answers.append(plain(a));
        answers.sort();
        parts += answers;
        break;
    }
    case Kind::Matching: {
        QStringList pairs;
        for (const Pair& p : q.pairs)
            pairs.append(plain(p.term) + u'=' + plain(p.meaning));
        pairs.sort();
        parts += pairs;
        break;
    }
    case Kind::Gaps:
        parts.append(plain(q.gaps.text));
        parts.append(q.gaps.words.join(u'\n').toLower());
        break;
    }
    if (!q.pictureData.isEmpty())
        parts.append(pictureHash);
    return parts.join(u'\n');
}

} // namespace

QStringList giveawayWords(const QList<Pair>& pairs) {
    QList<QStringList> terms;
    bool wordForWord = true;
    for (const Pair& p : pairs) {
        terms.append(wordsOf(p.term));
        wordForWord = wordForWord && terms.last().size() == 1 && wordsOf(p.meaning).size() == 1;
    }
    QStringList found(pairs.size());
    if (wordForWord)
        return found;
    for (int i = 0; i < pairs.size(); ++i) {
        for (const QString& w : wordsOf(pairs[i].meaning)) {
            if (!shareStem(w, terms[i], kStem))
                continue;
            // Other terms are searched one letter looser: a root they all
            // share (умор- in "уморен" and "уморявам") points to none of them.
            bool elsewhere = false;
            for (int j = 0; j < terms.size() && !elsewhere; ++j)
                elsewhere = j != i && shareStem(w, terms[j], kStem - 1);
            if (!elsewhere) {
                found[i] = w;
                break;
            }
        }
    }
    return found;
}

void RepeatCheck::note(const Question& q, const QString& section, int number) {
    QString pictureHash;
    if (!q.pictureData.isEmpty()) {
        // A picture shared by many questions is hashed once, by the name
        // the sources give it: one name is one file in a build.
        pictureHash = m_pictureHashes.value(q.picture);
        if (pictureHash.isEmpty() || q.picture.isEmpty()) {
            pictureHash = QString::fromLatin1(
                QCryptographicHash::hash(q.pictureData, QCryptographicHash::Sha1).toHex());
            if (!q.picture.isEmpty())
                m_pictureHashes.insert(q.picture, pictureHash);
        }
    }
    // The reading itself is long; its hash is all a comparison needs.
    const QByteArray key =
        QCryptographicHash::hash(readingOf(q, pictureHash).toUtf8(), QCryptographicHash::Sha1);
    m_noted.append({key, {QString(), section, number}, q.line});
}

void RepeatCheck::endSource(const QString& file, bool kept, QList<Issue>* issues) {
    const QList<Noted> noted = std::exchange(m_noted, {});
    if (!kept)
        return;
    for (const Noted& n : noted) {
        const auto first = m_seen.constFind(n.key);
        if (first == m_seen.constEnd()) {
            m_seen.insert(n.key, {file, n.place.section, n.place.question});
            continue;
        }
        issues->append({Severity::Warning, file, n.line, n.place.section, n.place.question,
                        QStringLiteral("въпросът е същият като въпрос %1 от раздел „%2“ в %3: "
                                       "заменете единия")
                            .arg(first->question)
                            .arg(first->section, first->file)});
    }
}

} // namespace bank
