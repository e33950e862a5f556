#include "gaps.h"

namespace bank {

bool parsePoints(const QString& text, int* value) {
    if (text.isEmpty() || text.size() > 9)
        return false;
    for (QChar c : text)
        if (c < QLatin1Char('0') || c > QLatin1Char('9'))
            return false;
    const int v = text.toInt();
    if (v <= 0 || v > kMaxPoints)
        return false;
    *value = v;
    return true;
}

namespace {

// CR LF and lone CR become LF; line breaks at the end are dropped.
QString normalizedText(const QString& source) {
    QString text = source;
    text.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
    text.replace(QLatin1Char('\r'), QLatin1Char('\n'));
    while (text.endsWith(QLatin1Char('\n')))
        text.chop(1);
    return text;
}

} // namespace

GapText parseGapText(const QString& source, QStringList* faults, QStringList* warnings) {
    const QString text = normalizedText(source);
    GapText out;
    bool inGap = false;
    int line = 1;     // line of the text, for messages
    int openLine = 1; // line where the open gap began
    QString inner;
    bool broken = false; // a bracket fault: positions after it mean nothing

    auto closeGap = [&] {
        const int n = int(out.words.size()) + 1;
        const QStringList parts = inner.split(QLatin1Char('|'));
        const QString word = parts.first().trimmed();
        int points = 1;
        bool ok = true;
        if (parts.size() > 2) {
            faults->append(QStringLiteral("празнина %1 „[%2]“ има повече от една черта „|“")
                               .arg(n)
                               .arg(inner));
            ok = false;
        } else if (parts.size() == 2 && !parsePoints(parts[1].trimmed(), &points)) {
            faults->append(
                QStringLiteral("точките на празнина %1 „[%2]“ трябва да са цяло число от 1 до %3")
                    .arg(n)
                    .arg(inner)
                    .arg(kMaxPoints));
            ok = false;
        }
        if (word.isEmpty()) {
            faults->append(QStringLiteral("празнина %1 „[%2]“ няма дума").arg(n).arg(inner));
            ok = false;
        }
        out.starts.append(int(out.text.size()));
        out.words.append(ok ? word : QString());
        out.points.append(ok ? points : 0);
        out.text += question::kGapMarker;
    };

    for (QChar c : text) {
        if (inGap) {
            if (c == QLatin1Char(']')) {
                closeGap();
                inGap = false;
            } else if (c == QLatin1Char('[')) {
                faults->append(
                    QStringLiteral("скобата „[“ на ред %1 от текста не е затворена преди "
                                   "следващата „[“")
                        .arg(openLine));
                broken = true;
                inGap = false;
                break;
            } else if (c == QLatin1Char('\n')) {
                faults->append(QStringLiteral("скобата „[“ на ред %1 от текста не е затворена на "
                                              "същия ред")
                                   .arg(openLine));
                broken = true;
                inGap = false;
                break;
            } else {
                inner += c;
            }
            continue;
        }
        if (c == QLatin1Char('[')) {
            inGap = true;
            openLine = line;
            inner.clear();
        } else if (c == QLatin1Char(']')) {
            faults->append(
                QStringLiteral("затваряща скоба „]“ без отваряща на ред %1 от текста").arg(line));
            broken = true;
            break;
        } else {
            if (c == QLatin1Char('\n'))
                ++line;
            out.text += c;
        }
    }
    if (inGap) {
        faults->append(
            QStringLiteral("скобата „[“ на ред %1 от текста не е затворена").arg(openLine));
        broken = true;
    }
    if (broken)
        return out;
    if (out.words.isEmpty()) {
        faults->append(QStringLiteral("текстът няма нито една празнина: всяка се пише като "
                                      "[дума] или [дума|точки]"));
        return out;
    }
    // A marker typed into the text would look like a gap the pupil cannot fill.
    for (qsizetype at = out.text.indexOf(question::kGapMarker); at >= 0;
         at = out.text.indexOf(question::kGapMarker, at + 1)) {
        if (!out.starts.contains(int(at))) {
            warnings->append(QStringLiteral("текстът съдържа „ ..... “ извън празнина: за "
                                            "ученика то изглежда като празнина"));
            break;
        }
    }
    return out;
}

QString fillGaps(const GapText& gaps, const std::function<QString(int)>& gap) {
    QString out;
    qsizetype at = 0;
    for (int i = 0; i < gaps.starts.size(); ++i) {
        out += gaps.text.mid(at, gaps.starts[i] - at);
        out += gap(i);
        at = gaps.starts[i] + question::kGapMarker.size();
    }
    return out + gaps.text.mid(at);
}

} // namespace bank
