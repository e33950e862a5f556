#include "moodleexport.h"

#include "common.h"
#include "html.h"

#include "tools/bank/gaps.h"

#include <QFileInfo>
#include <QUrl>
#include <QXmlStreamWriter>

namespace moodle {

namespace {

// HTML goes into CDATA, as Moodle's documentation asks, so that it stays
// readable in the file.
void writeText(QXmlStreamWriter& w, const QString& text) {
    w.writeStartElement(QStringLiteral("text"));
    if (text.contains(QLatin1Char('<')) || text.contains(QLatin1Char('&')))
        w.writeCDATA(text);
    else
        w.writeCharacters(text);
    w.writeEndElement();
}

void writeHtmlField(QXmlStreamWriter& w, const QString& name, const QString& html) {
    w.writeStartElement(name);
    w.writeAttribute(QStringLiteral("format"), QStringLiteral("html"));
    writeText(w, html);
    w.writeEndElement();
}

void writeValue(QXmlStreamWriter& w, const QString& name, const QString& value) {
    w.writeTextElement(name, value);
}

// A category path names its levels with "/"; a "/" inside a name is doubled.
QString categoryName(const QString& name) {
    return QString(name).replace(QLatin1Char('/'), QStringLiteral("//"));
}

QString paragraph(const QString& text) {
    return QStringLiteral("<p>") + textToHtml(text) + QStringLiteral("</p>");
}

QString pictureName(const bank::Question& q) {
    const QString name = QFileInfo(q.picture).fileName();
    return name.isEmpty() ? QStringLiteral("picture.jpg") : name;
}

// The question's text with its condition, where it is not the kind's usual
// one, in a marked paragraph of its own, and its picture below.
void writeQuestionText(QXmlStreamWriter& w, const bank::Question& q, const QString& main) {
    QString html;
    if (q.kind != bank::Kind::Matching && q.condition != defaultCondition(q.kind))
        html += QStringLiteral("<p class=\"%1\">").arg(kConditionClass) + textToHtml(q.condition) +
                QStringLiteral("</p>");
    html += paragraph(main);
    if (!q.pictureData.isEmpty())
        html += QStringLiteral("<p><img src=\"@@PLUGINFILE@@/%1\" alt=\"\"></p>")
                    .arg(QString::fromLatin1(QUrl::toPercentEncoding(pictureName(q))));
    w.writeStartElement(QStringLiteral("questiontext"));
    w.writeAttribute(QStringLiteral("format"), QStringLiteral("html"));
    writeText(w, html);
    if (!q.pictureData.isEmpty()) {
        w.writeStartElement(QStringLiteral("file"));
        w.writeAttribute(QStringLiteral("name"), pictureName(q));
        w.writeAttribute(QStringLiteral("path"), QStringLiteral("/"));
        w.writeAttribute(QStringLiteral("encoding"), QStringLiteral("base64"));
        w.writeCharacters(QString::fromLatin1(q.pictureData.toBase64()));
        w.writeEndElement();
    }
    w.writeEndElement();
}

// Moodle gives every pair or gap an even share of the grade; the import
// gives the first ones what does not divide evenly.
bool evenShares(const QList<int>& points, int total) {
    const int n = int(points.size());
    for (int i = 0; i < n; ++i)
        if (points[i] != std::max(1, total / n + (i < total % n ? 1 : 0)))
            return false;
    return true;
}

QString joined(const QList<int>& values) {
    QStringList parts;
    for (int v : values)
        parts.append(QString::number(v));
    return parts.join(QStringLiteral(", "));
}

void writeQuestion(QXmlStreamWriter& w, const QString& section, int number, const bank::Question& q,
                   QStringList* notes) {
    static const char* types[] = {"multichoice", "matching", "ddwtos"};
    w.writeStartElement(QStringLiteral("question"));
    w.writeAttribute(QStringLiteral("type"), QLatin1String(types[int(q.kind)]));
    w.writeStartElement(QStringLiteral("name"));
    writeText(w, QStringLiteral("%1 %2").arg(section).arg(number));
    w.writeEndElement();

    // The distinct words of a gap text, each a drag box, in order of first use.
    QStringList words;
    switch (q.kind) {
    case bank::Kind::Choice:
        writeQuestionText(w, q, q.question);
        break;
    case bank::Kind::Matching:
        writeQuestionText(w, q, q.condition);
        break;
    case bank::Kind::Gaps:
        for (const QString& word : q.gaps.words)
            if (!words.contains(word))
                words.append(word);
        writeQuestionText(w, q, bank::fillGaps(q.gaps, [&](int i) {
                              return QStringLiteral("[[%1]]").arg(words.indexOf(q.gaps.words[i]) +
                                                                  1);
                          }));
        break;
    }
    writeHtmlField(w, QStringLiteral("generalfeedback"),
                   q.fullAnswer.isEmpty() ? QString() : paragraph(q.fullAnswer));
    writeValue(w, QStringLiteral("defaultgrade"), QString::number(q.points));
    writeValue(w, QStringLiteral("penalty"), QStringLiteral("0.3333333"));
    writeValue(w, QStringLiteral("hidden"), QStringLiteral("0"));

    // Moodle's own files carry the feedback of the whole question; empty is
    // what its editor starts from.
    for (const char* feedback :
         {"correctfeedback", "partiallycorrectfeedback", "incorrectfeedback"})
        writeHtmlField(w, QLatin1String(feedback), QString());

    const QString where = QStringLiteral("раздел „%1“, въпрос %2").arg(section).arg(number);
    switch (q.kind) {
    case bank::Kind::Choice:
        writeValue(w, QStringLiteral("single"), QStringLiteral("true"));
        writeValue(w, QStringLiteral("shuffleanswers"), QStringLiteral("1"));
        writeValue(w, QStringLiteral("answernumbering"), QStringLiteral("abc"));
        for (int i = 0; i < q.answers.size(); ++i) {
            const bool right = QStringLiteral("АБВГ").indexOf(q.right) == i;
            w.writeStartElement(QStringLiteral("answer"));
            w.writeAttribute(QStringLiteral("fraction"),
                             right ? QStringLiteral("100") : QStringLiteral("0"));
            w.writeAttribute(QStringLiteral("format"), QStringLiteral("html"));
            writeText(w, textToHtml(q.answers[i]));
            writeHtmlField(w, QStringLiteral("feedback"), QString());
            w.writeEndElement();
        }
        break;
    case bank::Kind::Matching: {
        writeValue(w, QStringLiteral("shuffleanswers"), QStringLiteral("1"));
        QList<int> points;
        for (const bank::Pair& p : q.pairs) {
            points.append(p.points);
            w.writeStartElement(QStringLiteral("subquestion"));
            w.writeAttribute(QStringLiteral("format"), QStringLiteral("html"));
            writeText(w, textToHtml(p.term));
            // Moodle keeps a matching answer as plain text.
            w.writeStartElement(QStringLiteral("answer"));
            writeText(w, p.meaning);
            w.writeEndElement();
            w.writeEndElement();
        }
        if (!evenShares(points, q.points))
            notes->append(QStringLiteral("%1: точките на двойките (%2) стават равни части от %3")
                              .arg(where, joined(points))
                              .arg(q.points));
        break;
    }
    case bank::Kind::Gaps: {
        writeValue(w, QStringLiteral("shuffleanswers"), QStringLiteral("1"));
        for (const QString& word : words) {
            w.writeStartElement(QStringLiteral("dragbox"));
            writeText(w, textToHtml(word));
            writeValue(w, QStringLiteral("group"), QStringLiteral("1"));
            // A word of several gaps must stay in the list after its first use.
            if (q.gaps.words.count(word) > 1)
                w.writeEmptyElement(QStringLiteral("infinite"));
            w.writeEndElement();
        }
        if (!evenShares(q.gaps.points, q.points))
            notes->append(QStringLiteral("%1: точките на празнините (%2) стават равни части от %3")
                              .arg(where, joined(q.gaps.points))
                              .arg(q.points));
        break;
    }
    }
    w.writeEndElement();
}

} // namespace

QByteArray moodleXml(const QList<ExportSection>& sections, QStringList* notes) {
    QByteArray bytes;
    QXmlStreamWriter w(&bytes);
    w.setAutoFormatting(true);
    w.setAutoFormattingIndent(2);
    w.writeStartDocument();
    w.writeStartElement(QStringLiteral("quiz"));
    for (const ExportSection& s : sections) {
        w.writeStartElement(QStringLiteral("question"));
        w.writeAttribute(QStringLiteral("type"), QStringLiteral("category"));
        w.writeStartElement(QStringLiteral("category"));
        writeText(w, QStringLiteral("$course$/top/%1/%2")
                         .arg(categoryName(s.subject), categoryName(s.section.name)));
        w.writeEndElement();
        w.writeEndElement();
        int number = 0;
        for (const bank::Question& q : s.section.questions) {
            ++number;
            if (q.test != 1) {
                notes->append(QStringLiteral("раздел „%1“, въпрос %2: не се изнася (test %3)")
                                  .arg(s.section.name)
                                  .arg(number)
                                  .arg(q.test));
                continue;
            }
            writeQuestion(w, s.section.name, number, q, notes);
        }
    }
    w.writeEndElement();
    w.writeEndDocument();
    return bytes;
}

} // namespace moodle
