#include "hints.h"

#include <QCryptographicHash>
#include <QHash>

namespace bank {

namespace {

constexpr int kStem = 5;

// Lower-case runs of letters (and digits, when asked), in order.
QStringList wordsOf(const QString& text, bool digits = false) {
    QStringList words;
    QString word;
    for (QChar c : text + QLatin1Char(' ')) {
        if (c.isLetter() || (digits && c.isDigit())) {
            word += c.toLower();
        } else if (!word.isEmpty()) {
            words.append(word);
            word.clear();
        }
    }
    return words;
}

bool shareStem(const QString& a, const QString& b) {
    return a.size() >= kStem && b.size() >= kStem &&
           (b.contains(QStringView(a).left(kStem)) || a.contains(QStringView(b).left(kStem)));
}

bool shareStem(const QString& word, const QStringList& words) {
    for (const QString& w : words)
        if (shareStem(word, w))
            return true;
    return false;
}

// The question as a pupil sees it, in one text that is equal exactly when two
// questions read the same.
QString readingOf(const Question& q) {
    QStringList parts{QString::number(int(q.kind)), wordsOf(q.condition, true).join(u' ')};
    switch (q.kind) {
    case Kind::Choice: {
        parts.append(wordsOf(q.question, true).join(u' '));
        // The session shuffles the answers, so their order says nothing.
        QStringList answers;
        for (const QString& a : q.answers)
            answers.append(wordsOf(a, true).join(u' '));
        answers.sort();
        parts += answers;
        break;
    }
    case Kind::Matching: {
        QStringList pairs;
        for (const Pair& p : q.pairs)
            pairs.append(wordsOf(p.term, true).join(u' ') + u'=' +
                         wordsOf(p.meaning, true).join(u' '));
        pairs.sort();
        parts += pairs;
        break;
    }
    case Kind::Gaps:
        parts.append(wordsOf(q.gaps.text, true).join(u' '));
        parts += q.gaps.words;
        break;
    }
    if (!q.pictureData.isEmpty())
        parts.append(QString::fromLatin1(
            QCryptographicHash::hash(q.pictureData, QCryptographicHash::Sha1).toHex()));
    return parts.join(u'\n');
}

struct Place {
    QString file;
    QString section;
    int question = 0;
};

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
            if (!shareStem(w, terms[i]))
                continue;
            bool elsewhere = false;
            for (int j = 0; j < terms.size() && !elsewhere; ++j)
                elsewhere = j != i && shareStem(w, terms[j]);
            if (!elsewhere) {
                found[i] = w;
                break;
            }
        }
    }
    return found;
}

void checkRepeats(const QList<Source>& sources, QList<Issue>* issues) {
    QHash<QString, Place> seen;
    for (const Source& s : sources) {
        for (const Section& sec : s.sections) {
            for (int i = 0; i < sec.questions.size(); ++i) {
                const Question& q = sec.questions[i];
                const QString reading = readingOf(q);
                const auto first = seen.constFind(reading);
                if (first == seen.constEnd()) {
                    seen.insert(reading, {s.file, sec.name, i + 1});
                    continue;
                }
                issues->append({Severity::Warning, s.file, q.line, sec.name, i + 1,
                                QStringLiteral("въпросът е същият като въпрос %1 от раздел "
                                               "„%2“ в %3: заменете единия")
                                    .arg(first->question)
                                    .arg(first->section, first->file)});
            }
        }
    }
}

} // namespace bank
