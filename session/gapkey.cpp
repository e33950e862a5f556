#include "gapkey.h"

#include "store/multiline.h"

namespace {

bool wholeNumber(const QStringList& lines, qsizetype i, int* value) {
    if (i >= lines.size())
        return false;
    bool ok = false;
    *value = lines[i].trimmed().toInt(&ok);
    return ok;
}

} // namespace

QList<GapKey> gapKeys(const QString& words, const QString& starts, const QString& lengs,
                      const QString& points) {
    const QStringList w = splitLines(words);
    const QStringList s = splitLines(starts);
    const QStringList l = splitLines(lengs);
    const QStringList p = splitLines(points);
    QList<GapKey> keys;
    for (qsizetype i = 0; i < w.size(); ++i) {
        GapKey key;
        key.word = w[i];
        if (wholeNumber(s, i, &key.start) && wholeNumber(l, i, &key.leng) &&
            wholeNumber(p, i, &key.points))
            keys.append(key);
    }
    return keys;
}
