#include "yamlwrite.h"

#include "gaps.h"
#include "model.h"

#include <optional>
#include <yaml-cpp/yaml.h>

namespace bank {

namespace {

std::string utf8(const QString& s) {
    return s.toStdString();
}

// Several lines as a literal block, which reads as the text stands; the
// emitter cannot mark the indentation of a block whose first line begins
// with a blank, so such a text stays quoted.
bool isBlock(const QString& s) {
    bool block = s.contains(QLatin1Char('\n'));
    for (const QString& line : s.split(QLatin1Char('\n')))
        if (!line.isEmpty() && line[0].isSpace())
            block = false;
    // Characters a block would carry unescaped, which YAML reads otherwise.
    for (QChar c : s)
        if ((c.category() == QChar::Other_Control && c != QLatin1Char('\n')) || c == QChar(0x85) ||
            c == QChar(0x2028) || c == QChar(0x2029) || c == QChar(0xFEFF))
            block = false;
    return block;
}

void emitText(YAML::Emitter& y, const QString& s) {
    if (isBlock(s))
        y << YAML::Literal;
    y << utf8(s);
}

// A gap as the source writes it: "[word]", or "[word|points]" when it is
// not worth 1.
QString writtenGap(const GapText& gaps, int i) {
    const QString& w = gaps.words[i];
    return gaps.points[i] == 1 ? QStringLiteral("[%1]").arg(w)
                               : QStringLiteral("[%1|%2]").arg(w).arg(gaps.points[i]);
}

// The line the emitter has come to, counted as it goes.
class LineCounter {
public:
    explicit LineCounter(const YAML::Emitter& y) : m_y(y) {}
    int now() {
        const char* text = m_y.c_str();
        for (; m_counted < m_y.size(); ++m_counted)
            m_line += text[m_counted] == '\n';
        return m_line;
    }

private:
    const YAML::Emitter& m_y;
    std::size_t m_counted = 0;
    int m_line = 1;
};

void emitQuestion(YAML::Emitter& y, const Question& q, const QString& comment, LineCounter& at,
                  QuestionLines* lines) {
    static const char* kinds[] = {"choice", "matching", "gaps"};
    y << YAML::BeginMap;
    y << YAML::Key << "kind" << YAML::Value << kinds[int(q.kind)];
    lines->question = at.now();
    if (!comment.isEmpty())
        y << YAML::Comment(utf8(comment));
    y << YAML::Key << "condition" << YAML::Value;
    emitText(y, q.condition);
    switch (q.kind) {
    case Kind::Choice:
        y << YAML::Key << "question" << YAML::Value;
        emitText(y, q.question);
        y << YAML::Key << "answers" << YAML::Value << YAML::Flow << YAML::BeginSeq;
        for (const QString& a : q.answers)
            y << utf8(a);
        y << YAML::EndSeq;
        y << YAML::Key << "right" << YAML::Value << utf8(QString(q.right));
        break;
    case Kind::Matching:
        y << YAML::Key << "pairs" << YAML::Value << YAML::BeginSeq;
        for (const Pair& p : q.pairs) {
            y << YAML::Flow << YAML::BeginSeq << utf8(p.term) << utf8(p.meaning) << p.points
              << YAML::EndSeq;
            lines->pairs.append(at.now());
        }
        y << YAML::EndSeq;
        break;
    case Kind::Gaps:
        y << YAML::Key << "text" << YAML::Value;
        lines->text = at.now();
        emitText(y, fillGaps(q.gaps, [&](int i) { return writtenGap(q.gaps, i); }));
        break;
    }
    // Points the items add up to go without saying.
    if (q.kind == Kind::Choice || q.points != question::itemPoints(q)) {
        y << YAML::Key << "points" << YAML::Value << q.points;
        lines->points = at.now();
    }
    if (!q.fullAnswer.isEmpty()) {
        y << YAML::Key << "full" << YAML::Value;
        emitText(y, q.fullAnswer);
    }
    if (!q.picture.isEmpty())
        y << YAML::Key << "picture" << YAML::Value << utf8(q.picture);
    if (q.test != 1)
        y << YAML::Key << "test" << YAML::Value << q.test;
    y << YAML::EndMap;
}

// The common sources written directly, byte for byte as the emitter writes
// them: the emitter tests every character of every text against its
// patterns, which took most of an import. Only what is sure to come out the
// same is written here: a text that is plainly safe or plainly needs quotes,
// on one line, and lists that are not empty. Anything else is left to the
// emitter, for the whole source.
class FastWriter {
public:
    bool failed = false;

    void comment(const QString& text) {
        if (text.contains(QLatin1Char('\n')) || text.contains(QLatin1Char('\r')))
            failed = true;
        m_out += "# " + text.toUtf8();
        line();
    }
    void key(int indent, const char* key) { m_out += QByteArray(indent, ' ') + key + ':'; }
    void value(const QString& text, bool inFlow = false) { m_out += ' ' + scalar(text, inFlow); }
    void value(int n) { m_out += ' ' + QByteArray::number(n); }
    // "key: value" on a line of its own.
    template <class V> void field(int indent, const char* name, const V& v) {
        key(indent, name);
        value(v);
        line();
    }
    void line() {
        m_out += '\n';
        ++m_line;
    }
    void item(int indent) { m_out += QByteArray(indent, ' ') + "- "; }
    void raw(const QByteArray& text) { m_out += text; }
    void lineComment(const QString& text) {
        if (text.contains(QLatin1Char('\n')) || text.contains(QLatin1Char('\r')))
            failed = true;
        m_out += "  # " + text.toUtf8();
    }
    int lineNow() const { return m_line; }
    QByteArray text() const { return m_out; }

    QByteArray scalar(const QString& text, bool inFlow) {
        const QByteArray s = text.toUtf8();
        // A leading "-" is an indicator only before a blank or the end.
        const bool dash = s.startsWith('-') && s.size() > 1 && s[1] != ' ';
        bool plain = !s.isEmpty() && s != "~" && s != "null" && s != "Null" && s != "NULL" &&
                     (dash || !QByteArrayView("-?:,[]{}#&*!|>'\"%@` ").contains(s.front())) &&
                     s.back() != ' ';
        bool quoted = s.isEmpty() || s == "~" || s == "null" || s == "Null" || s == "NULL" ||
                      QByteArrayView(",[]{}#&*!|>'\"%@` ").contains(s.front()) || s.back() == ' ';
        for (qsizetype i = 0; i < s.size(); ++i) {
            const uchar c = uchar(s[i]);
            const uchar next = i + 1 < s.size() ? uchar(s[i + 1]) : ' ';
            if (c == ':' && next == ' ')
                quoted = true;
            if (c == ' ' && next == '#')
                quoted = true;
            if (inFlow && QByteArrayView(",?[]{}").contains(char(c)))
                quoted = true;
            // ":" ends a plain text only before a blank, the end or, in a
            // list, its punctuation.
            if ((c == ':' && (i + 1 == s.size() || QByteArrayView(" ,]}").contains(char(next)))) ||
                c == '#' || (inFlow && QByteArrayView(",?[]{}").contains(char(c))))
                plain = false;
            // Control characters, and the letters the emitter escapes or
            // tests more closely: left to it.
            const uchar third = i + 2 < s.size() ? uchar(s[i + 2]) : 0;
            if (c < 0x20 || c == 0x7F || (c == 0xC2 && next <= 0xA0) ||
                (c == 0xEF && next == 0xBB) ||
                (c == 0xE2 && next == 0x80 && (third == 0xA8 || third == 0xA9)))
                plain = quoted = false, i = s.size();
        }
        if (plain)
            return s;
        if (!quoted) {
            failed = true;
            return {};
        }
        QByteArray out = "\"";
        for (char c : s) {
            if (c == '"' || c == '\\')
                out += '\\';
            out += c;
        }
        return out + '"';
    }

private:
    QByteArray m_out;
    int m_line = 1;
};

void writeQuestion(FastWriter& w, const Question& q, const QString& comment, QuestionLines* lines) {
    static const char* kinds[] = {"choice", "matching", "gaps"};
    constexpr int in = 8;
    w.item(6);
    w.raw(QByteArray("kind: ") + kinds[int(q.kind)]);
    lines->question = w.lineNow();
    if (!comment.isEmpty())
        w.lineComment(comment);
    w.line();
    const auto text = [&](const char* key, const QString& value, bool mayBeBlock = true) {
        w.key(in, key);
        if (!value.contains(QLatin1Char('\n'))) {
            w.value(value);
            w.line();
            return;
        }
        // A block as emitText() chooses it, where each line has text.
        const QStringList lines = value.split(QLatin1Char('\n'));
        w.failed = w.failed || !mayBeBlock || !isBlock(value) || lines.contains(QString());
        w.raw(" |");
        w.line();
        for (const QString& l : lines) {
            w.raw(QByteArray(in + 2, ' ') + l.toUtf8());
            w.line();
        }
    };
    text("condition", q.condition);
    switch (q.kind) {
    case Kind::Choice: {
        text("question", q.question);
        if (q.answers.isEmpty())
            w.failed = true;
        QByteArrayList answers;
        for (const QString& a : q.answers)
            answers.append(w.scalar(a, true));
        w.key(in, "answers");
        w.raw(" [" + answers.join(", ") + ']');
        w.line();
        text("right", QString(q.right), false);
        break;
    }
    case Kind::Matching:
        if (q.pairs.isEmpty())
            w.failed = true;
        w.key(in, "pairs");
        w.line();
        for (const Pair& p : q.pairs) {
            w.item(in + 2);
            w.raw('[' + w.scalar(p.term, true) + ", " + w.scalar(p.meaning, true) + ", " +
                  QByteArray::number(p.points) + ']');
            lines->pairs.append(w.lineNow());
            w.line();
        }
        break;
    case Kind::Gaps:
        lines->text = w.lineNow();
        text("text", fillGaps(q.gaps, [&](int i) { return writtenGap(q.gaps, i); }));
        break;
    }
    if (q.kind == Kind::Choice || q.points != question::itemPoints(q)) {
        w.key(in, "points");
        w.value(q.points);
        lines->points = w.lineNow();
        w.line();
    }
    if (!q.fullAnswer.isEmpty())
        text("full", q.fullAnswer);
    if (!q.picture.isEmpty())
        text("picture", q.picture, false);
    if (q.test != 1)
        w.field(in, "test", q.test);
}

std::optional<QByteArray> fastSourceYaml(const Source& source, const QString& head,
                                         const QuestionComment& comment, SourceLines* lines) {
    FastWriter w;
    if (!head.isEmpty())
        w.comment(head);
    w.field(0, "class", source.classNo);
    w.field(0, "subject", source.subject);
    w.key(0, "sections");
    w.line();
    if (source.sections.isEmpty())
        return std::nullopt;
    for (int s = 0; s < source.sections.size() && !w.failed; ++s) {
        const Section& section = source.sections[s];
        if (section.questions.isEmpty())
            return std::nullopt;
        w.item(2);
        w.raw("section:");
        w.value(section.name);
        lines->sections.append(w.lineNow());
        lines->questions.append(QList<QuestionLines>());
        w.line();
        w.field(4, "table", section.table);
        w.key(4, "questions");
        w.line();
        for (int n = 0; n < section.questions.size() && !w.failed; ++n) {
            lines->questions[s].append(QuestionLines());
            writeQuestion(w, section.questions[n], comment ? comment(s, n) : QString(),
                          &lines->questions[s].last());
        }
    }
    if (w.failed)
        return std::nullopt;
    return w.text();
}

QByteArray emittedSourceYaml(const Source& source, const QString& head,
                             const QuestionComment& comment, SourceLines* lines) {
    YAML::Emitter y;
    LineCounter at(y);
    if (!head.isEmpty())
        y << YAML::Comment(utf8(head));
    y << YAML::BeginMap;
    y << YAML::Key << "class" << YAML::Value << source.classNo;
    y << YAML::Key << "subject" << YAML::Value << utf8(source.subject);
    y << YAML::Key << "sections" << YAML::Value << YAML::BeginSeq;
    for (int s = 0; s < source.sections.size(); ++s) {
        const Section& section = source.sections[s];
        y << YAML::BeginMap;
        y << YAML::Key << "section" << YAML::Value << utf8(section.name);
        lines->sections.append(at.now());
        lines->questions.append(QList<QuestionLines>());
        y << YAML::Key << "table" << YAML::Value << utf8(section.table);
        y << YAML::Key << "questions" << YAML::Value << YAML::BeginSeq;
        for (int n = 0; n < section.questions.size(); ++n) {
            lines->questions[s].append(QuestionLines());
            emitQuestion(y, section.questions[n], comment ? comment(s, n) : QString(), at,
                         &lines->questions[s].last());
        }
        y << YAML::EndSeq << YAML::EndMap;
    }
    y << YAML::EndSeq << YAML::EndMap << YAML::Newline;
    return QByteArray(y.c_str(), qsizetype(y.size()));
}

} // namespace

QByteArray sourceYaml(const Source& source, const QString& head, const QuestionComment& comment,
                      SourceLines* lines) {
    SourceLines none;
    if (!lines)
        lines = &none;
    *lines = SourceLines();
    if (const auto fast = fastSourceYaml(source, head, comment, lines))
        return *fast;
    *lines = SourceLines();
    return emittedSourceYaml(source, head, comment, lines);
}

} // namespace bank
