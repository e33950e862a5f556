#include "html.h"

#include <QHash>
#include <QList>

namespace moodle {

namespace {

// The named entities editors write into Moodle texts; anything else stays
// as written, which a reader can still make out.
const QHash<QString, char32_t>& namedEntities() {
    static const QHash<QString, char32_t> names = {
        {QStringLiteral("amp"), U'&'},      {QStringLiteral("lt"), U'<'},
        {QStringLiteral("gt"), U'>'},       {QStringLiteral("quot"), U'"'},
        {QStringLiteral("apos"), U'\''},    {QStringLiteral("nbsp"), 0xA0},
        {QStringLiteral("ndash"), 0x2013},  {QStringLiteral("mdash"), 0x2014},
        {QStringLiteral("hellip"), 0x2026}, {QStringLiteral("laquo"), 0xAB},
        {QStringLiteral("raquo"), 0xBB},    {QStringLiteral("bdquo"), 0x201E},
        {QStringLiteral("ldquo"), 0x201C},  {QStringLiteral("rdquo"), 0x201D},
        {QStringLiteral("lsquo"), 0x2018},  {QStringLiteral("rsquo"), 0x2019},
        {QStringLiteral("sbquo"), 0x201A},  {QStringLiteral("bull"), 0x2022},
        {QStringLiteral("middot"), 0xB7},   {QStringLiteral("deg"), 0xB0},
        {QStringLiteral("times"), 0xD7},    {QStringLiteral("divide"), 0xF7},
        {QStringLiteral("minus"), 0x2212},  {QStringLiteral("plusmn"), 0xB1},
        {QStringLiteral("le"), 0x2264},     {QStringLiteral("ge"), 0x2265},
        {QStringLiteral("ne"), 0x2260},     {QStringLiteral("asymp"), 0x2248},
        {QStringLiteral("infin"), 0x221E},  {QStringLiteral("radic"), 0x221A},
        {QStringLiteral("pi"), 0x3C0},      {QStringLiteral("alpha"), 0x3B1},
        {QStringLiteral("beta"), 0x3B2},    {QStringLiteral("gamma"), 0x3B3},
        {QStringLiteral("sup1"), 0xB9},     {QStringLiteral("sup2"), 0xB2},
        {QStringLiteral("sup3"), 0xB3},     {QStringLiteral("frac12"), 0xBD},
        {QStringLiteral("frac14"), 0xBC},   {QStringLiteral("frac34"), 0xBE},
        {QStringLiteral("copy"), 0xA9},     {QStringLiteral("reg"), 0xAE},
        {QStringLiteral("euro"), 0x20AC},   {QStringLiteral("sect"), 0xA7},
        {QStringLiteral("para"), 0xB6},     {QStringLiteral("shy"), 0xAD},
        {QStringLiteral("larr"), 0x2190},   {QStringLiteral("rarr"), 0x2192},
        {QStringLiteral("uarr"), 0x2191},   {QStringLiteral("darr"), 0x2193},
        {QStringLiteral("harr"), 0x2194},   {QStringLiteral("rArr"), 0x21D2},
        {QStringLiteral("hArr"), 0x21D4},   {QStringLiteral("zwnj"), 0x200C},
        {QStringLiteral("zwj"), 0x200D},    {QStringLiteral("thinsp"), 0x2009},
        {QStringLiteral("ensp"), 0x2002},   {QStringLiteral("emsp"), 0x2003},
    };
    return names;
}

bool isBlank(QChar c) {
    return c == QLatin1Char(' ') || c == QLatin1Char('\t') || c == QLatin1Char('\n') ||
           c == QLatin1Char('\r') || c == QLatin1Char('\f');
}

// "&name;" or "&#123;" or "&#x7b;" at `at`: the character and the length
// consumed, or nothing (the ampersand then stands for itself).
bool decodeEntity(const QString& s, qsizetype at, char32_t* c, qsizetype* length) {
    const qsizetype end = s.indexOf(QLatin1Char(';'), at + 1);
    if (end < 0 || end - at > 32)
        return false;
    const QString name = s.mid(at + 1, end - at - 1);
    if (name.startsWith(QLatin1Char('#'))) {
        bool ok = false;
        const uint code =
            name.size() > 1 && (name[1] == QLatin1Char('x') || name[1] == QLatin1Char('X'))
                ? name.mid(2).toUInt(&ok, 16)
                : name.mid(1).toUInt(&ok, 10);
        if (!ok || code == 0 || code > 0x10FFFF || (code >= 0xD800 && code <= 0xDFFF))
            return false;
        *c = code;
    } else {
        const auto it = namedEntities().constFind(name);
        if (it == namedEntities().constEnd())
            return false;
        *c = *it;
    }
    *length = end - at + 1;
    return true;
}

QString decodeEntities(const QString& s) {
    QString out;
    for (qsizetype i = 0; i < s.size(); ++i) {
        char32_t c = 0;
        qsizetype length = 0;
        if (s[i] == QLatin1Char('&') && decodeEntity(s, i, &c, &length)) {
            out += QString::fromUcs4(&c, 1);
            i += length - 1;
        } else {
            out += s[i];
        }
    }
    return out;
}

// The value of attribute `wanted` in the inside of a tag ("img src=a alt='b'").
QString attributeValue(const QString& inside, const QString& wanted) {
    qsizetype i = 0;
    const qsizetype n = inside.size();
    while (i < n && !isBlank(inside[i]))
        ++i; // the tag's name
    while (i < n) {
        while (i < n && (isBlank(inside[i]) || inside[i] == QLatin1Char('/')))
            ++i;
        const qsizetype nameStart = i;
        while (i < n && !isBlank(inside[i]) && inside[i] != QLatin1Char('=') &&
               inside[i] != QLatin1Char('/'))
            ++i;
        const QString name = inside.mid(nameStart, i - nameStart).toLower();
        while (i < n && isBlank(inside[i]))
            ++i;
        QString value;
        if (i < n && inside[i] == QLatin1Char('=')) {
            ++i;
            while (i < n && isBlank(inside[i]))
                ++i;
            if (i < n && (inside[i] == QLatin1Char('"') || inside[i] == QLatin1Char('\''))) {
                const QChar quote = inside[i];
                const qsizetype close = inside.indexOf(quote, i + 1);
                const qsizetype stop = close < 0 ? n : close;
                value = inside.mid(i + 1, stop - i - 1);
                i = stop + 1;
            } else {
                const qsizetype start = i;
                while (i < n && !isBlank(inside[i]))
                    ++i;
                value = inside.mid(start, i - start);
            }
        }
        if (name == wanted)
            return decodeEntities(value);
        if (name.isEmpty())
            ++i;
    }
    return QString();
}

// Digits and signs raised or lowered have forms of their own (cm², H₂O).
QChar shifted(QChar c, bool up) {
    static const QString plain = QStringLiteral("0123456789+-=()");
    static const QString sup = QStringLiteral("⁰¹²³⁴⁵⁶⁷⁸⁹⁺⁻⁼⁽⁾");
    static const QString sub = QStringLiteral("₀₁₂₃₄₅₆₇₈₉₊₋₌₍₎");
    const qsizetype at = plain.indexOf(c);
    return at < 0 ? c : (up ? sup : sub)[at];
}

bool isBlockTag(const QString& name) {
    static const QStringList blocks = {
        QStringLiteral("p"),          QStringLiteral("div"),        QStringLiteral("h1"),
        QStringLiteral("h2"),         QStringLiteral("h3"),         QStringLiteral("h4"),
        QStringLiteral("h5"),         QStringLiteral("h6"),         QStringLiteral("tr"),
        QStringLiteral("table"),      QStringLiteral("blockquote"), QStringLiteral("pre"),
        QStringLiteral("hr"),         QStringLiteral("section"),    QStringLiteral("article"),
        QStringLiteral("header"),     QStringLiteral("footer"),     QStringLiteral("figure"),
        QStringLiteral("figcaption"), QStringLiteral("dl"),         QStringLiteral("dt"),
        QStringLiteral("dd"),         QStringLiteral("address"),    QStringLiteral("center"),
    };
    return blocks.contains(name);
}

bool isMediaTag(const QString& name) {
    static const QStringList media = {QStringLiteral("audio"), QStringLiteral("video"),
                                      QStringLiteral("source"), QStringLiteral("embed"),
                                      QStringLiteral("object")};
    return media.contains(name);
}

class Renderer {
public:
    PlainText result;

    void character(QChar c) {
        if (m_pre == 0 && isBlank(c)) {
            m_pendingBlank = true;
            return;
        }
        if (c == QLatin1Char('\n')) {
            lineBreak();
            return;
        }
        if (c == QLatin1Char('\t'))
            c = QLatin1Char(' ');
        // Control characters and invisible marks (soft hyphen, zero-width
        // space, byte-order mark) show nothing; the joiners stay, as scripts
        // need them.
        if (c.category() == QChar::Other_Control ||
            (c.category() == QChar::Other_Format && c != QChar(0x200C) && c != QChar(0x200D)))
            return;
        if (c == QChar(0xA0))
            c = QLatin1Char(' ');
        if (m_pendingBlank && !m_atLineStart)
            m_out += QLatin1Char(' ');
        m_pendingBlank = false;
        if (m_sup > 0 || m_sub > 0)
            c = shifted(c, m_sup > 0);
        m_out += c;
        m_atLineStart = false;
    }

    void text(const QString& s) {
        for (QChar c : s)
            character(c);
    }

    void lineBreak() {
        m_out += QLatin1Char('\n');
        m_atLineStart = true;
        m_pendingBlank = false;
    }

    void block() {
        if (!m_atLineStart)
            lineBreak();
        m_pendingBlank = false;
    }

    void tag(const QString& inside) {
        const bool closing = inside.startsWith(QLatin1Char('/'));
        QString name;
        for (qsizetype i = closing ? 1 : 0; i < inside.size(); ++i) {
            if (isBlank(inside[i]) || inside[i] == QLatin1Char('/'))
                break;
            name += inside[i].toLower();
        }
        if (name == QLatin1String("br")) {
            lineBreak();
        } else if (name == QLatin1String("img")) {
            if (!closing)
                result.images.append(attributeValue(inside, QStringLiteral("src")));
        } else if (isMediaTag(name)) {
            const QString address =
                attributeValue(inside, name == QLatin1String("object") ? QStringLiteral("data")
                                                                       : QStringLiteral("src"));
            // A <source> without src belongs to a <picture>; a player counts
            // even where its sources are given apart.
            if (!closing && (!address.isEmpty() || name != QLatin1String("source")))
                result.media.append(address.isEmpty() ? QLatin1Char('<') + name + QLatin1Char('>')
                                                      : address);
        } else if (name == QLatin1String("a")) {
            if (!closing)
                result.links.append(attributeValue(inside, QStringLiteral("href")));
        } else if (name == QLatin1String("ul") || name == QLatin1String("ol")) {
            block();
            if (!closing)
                m_lists.append(name == QLatin1String("ol") ? 1 : 0);
            else if (!m_lists.isEmpty())
                m_lists.removeLast();
        } else if (name == QLatin1String("li")) {
            block();
            if (!closing) {
                if (!m_lists.isEmpty() && m_lists.last() > 0)
                    text(QString::number(m_lists.last()++) + QStringLiteral(". "));
                else
                    text(QStringLiteral("• "));
            }
        } else if (name == QLatin1String("td") || name == QLatin1String("th")) {
            if (!closing)
                m_pendingBlank = true;
        } else if (name == QLatin1String("sup")) {
            m_sup += closing ? (m_sup > 0 ? -1 : 0) : 1;
        } else if (name == QLatin1String("sub")) {
            m_sub += closing ? (m_sub > 0 ? -1 : 0) : 1;
        } else if (isBlockTag(name)) {
            block();
            if (name == QLatin1String("pre"))
                m_pre += closing ? (m_pre > 0 ? -1 : 0) : 1;
            blockTag(name, closing, inside);
        }
    }

    PlainText finish() {
        if (m_conditionDepth > 0)
            takeCondition();
        result.text = tidy(m_out);
        result.condition = tidy(result.condition);
        return result;
    }

private:
    // The condition's paragraph leaves the text when it closes.
    void blockTag(const QString& name, bool closing, const QString& inside) {
        if (m_conditionDepth > 0 && name == m_conditionTag) {
            m_conditionDepth += closing ? -1 : 1;
            if (m_conditionDepth == 0)
                takeCondition();
            return;
        }
        if (!closing && result.condition.isEmpty() &&
            attributeValue(inside, QStringLiteral("class"))
                .split(QLatin1Char(' '))
                .contains(kConditionClass)) {
            m_conditionTag = name;
            m_conditionDepth = 1;
            m_conditionStart = m_out.size();
        }
    }

    void takeCondition() {
        result.condition = m_out.mid(m_conditionStart);
        m_out.truncate(m_conditionStart);
        m_conditionDepth = 0;
        m_atLineStart = true;
        m_pendingBlank = false;
    }

    static QString tidy(const QString& raw) {
        QStringList lines;
        int empty = 0;
        for (const QString& l : raw.split(QLatin1Char('\n'))) {
            const QString line = l.trimmed();
            empty = line.isEmpty() ? empty + 1 : 0;
            if (empty < 2)
                lines.append(line);
        }
        while (!lines.isEmpty() && lines.first().isEmpty())
            lines.removeFirst();
        while (!lines.isEmpty() && lines.last().isEmpty())
            lines.removeLast();
        return lines.join(QLatin1Char('\n'));
    }

    QString m_out;
    bool m_atLineStart = true;
    bool m_pendingBlank = false;
    int m_sup = 0;
    int m_sub = 0;
    int m_pre = 0;
    QList<int> m_lists; // 0: bullets; else the next number
    QString m_conditionTag;
    int m_conditionDepth = 0;
    qsizetype m_conditionStart = 0;
};

bool startsTag(const QString& s, qsizetype at) {
    if (at + 1 >= s.size())
        return false;
    const QChar c = s[at + 1];
    return c.isLetter() || c == QLatin1Char('/') || c == QLatin1Char('!') || c == QLatin1Char('?');
}

// The end of the tag opened at `at` (the index of its '>'), quotes honoured;
// -1 when it never closes.
qsizetype tagEnd(const QString& s, qsizetype at) {
    QChar quote;
    for (qsizetype i = at + 1; i < s.size(); ++i) {
        const QChar c = s[i];
        if (!quote.isNull()) {
            if (c == quote)
                quote = QChar();
        } else if (c == QLatin1Char('"') || c == QLatin1Char('\'')) {
            quote = c;
        } else if (c == QLatin1Char('>')) {
            return i;
        }
    }
    return -1;
}

} // namespace

PlainText htmlToText(const QString& html) {
    Renderer r;
    const qsizetype n = html.size();
    for (qsizetype i = 0; i < n; ++i) {
        const QChar c = html[i];
        if (c == QLatin1Char('<') && startsTag(html, i)) {
            if (html.mid(i, 4) == QLatin1String("<!--")) {
                const qsizetype end = html.indexOf(QLatin1String("-->"), i + 4);
                i = end < 0 ? n : end + 2;
                continue;
            }
            const qsizetype end = tagEnd(html, i);
            if (end < 0) {
                r.character(c);
                continue;
            }
            const QString inside = html.mid(i + 1, end - i - 1).trimmed();
            i = end;
            const QString lower = inside.toLower();
            // What scripts and styles hold is never shown.
            for (const QLatin1String hidden : {QLatin1String("script"), QLatin1String("style")}) {
                if (lower.startsWith(hidden) &&
                    (lower.size() == hidden.size() || isBlank(lower[hidden.size()]))) {
                    const qsizetype close =
                        html.indexOf(QStringLiteral("</") + hidden, i, Qt::CaseInsensitive);
                    const qsizetype closeEnd =
                        close < 0 ? -1 : html.indexOf(QLatin1Char('>'), close);
                    i = closeEnd < 0 ? n : closeEnd;
                }
            }
            if (i >= n)
                break;
            if (!inside.startsWith(QLatin1Char('!')) && !inside.startsWith(QLatin1Char('?')))
                r.tag(inside);
            continue;
        }
        char32_t decoded = 0;
        qsizetype length = 0;
        if (c == QLatin1Char('&') && decodeEntity(html, i, &decoded, &length)) {
            r.text(QString::fromUcs4(&decoded, 1));
            i += length - 1;
            continue;
        }
        r.character(c);
    }
    return r.finish();
}

QString textToHtml(const QString& text) {
    QString out;
    QChar previous = QLatin1Char('\n');
    for (QChar c : text) {
        if (c == QLatin1Char('&'))
            out += QStringLiteral("&amp;");
        else if (c == QLatin1Char('<'))
            out += QStringLiteral("&lt;");
        else if (c == QLatin1Char('>'))
            out += QStringLiteral("&gt;");
        else if (c == QLatin1Char('\n'))
            out += QStringLiteral("<br>");
        else if (c == QLatin1Char(' ') && previous == QLatin1Char(' '))
            out += QStringLiteral("&#160;");
        else
            out += c;
        previous = c;
    }
    return out;
}

} // namespace moodle
