#pragma once

#include <QString>
#include <QStringList>

// Moodle keeps its texts as HTML fragments; the banks keep plain text.
namespace moodle {

// The class of the paragraph that carries a question's condition in an
// exported text, so that an import of that export finds it again. Moodle
// shows it as an ordinary paragraph above the question.
inline const QString kConditionClass = QStringLiteral("kivor-condition");

struct PlainText {
    QString text;       // one line per line of the rendered text, trimmed
    QString condition;  // the text of the paragraph marked kConditionClass
    QStringList images; // the src of every <img>, in order
    // Sound and video a browser would play: the address of every <audio>,
    // <video>, <source>, <embed> and <object>, or "<audio>" where it has none.
    QStringList media;
    QStringList links; // the href of every <a>, which may lead to sound or video too
};

// What a reader sees of an HTML fragment: entities decoded, blanks folded as
// a browser folds them, a line per paragraph, line break, list item or table
// row (list items with "• " or their number), digits and signs in <sup> and
// <sub> as their Unicode forms, at most one empty line in a row. Pictures,
// sound and video leave their address in `images` or `media` and nothing in
// the text; a link leaves its text and its address in `links`.
PlainText htmlToText(const QString& html);

// The inverse for texts the banks hold: &, <, > escaped, a line break as
// <br>, a blank after a blank as a no-break space, so that the text comes back
// from htmlToText as it was.
QString textToHtml(const QString& text);

} // namespace moodle
