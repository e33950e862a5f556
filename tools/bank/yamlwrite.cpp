#include "yamlwrite.h"

#include "gaps.h"
#include "model.h"

#include <yaml-cpp/yaml.h>

namespace bank {

namespace {

std::string utf8(const QString& s) {
    return s.toStdString();
}

// Several lines as a literal block, which reads as the text stands; the
// emitter cannot mark the indentation of a block whose first line begins
// with a blank, so such a text stays quoted.
void emitText(YAML::Emitter& y, const QString& s) {
    bool block = s.contains(QLatin1Char('\n'));
    for (const QString& line : s.split(QLatin1Char('\n')))
        if (!line.isEmpty() && line[0].isSpace())
            block = false;
    // Characters a block would carry unescaped, which YAML reads otherwise.
    for (QChar c : s)
        if ((c.category() == QChar::Other_Control && c != QLatin1Char('\n')) || c == QChar(0x85) ||
            c == QChar(0x2028) || c == QChar(0x2029) || c == QChar(0xFEFF))
            block = false;
    if (block)
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

} // namespace

QByteArray sourceYaml(const Source& source, const QString& head, const QuestionComment& comment,
                      SourceLines* lines) {
    YAML::Emitter y;
    LineCounter at(y);
    SourceLines none;
    if (!lines)
        lines = &none;
    *lines = SourceLines();
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

} // namespace bank
