#include "moodleimport.h"

#include "common.h"
#include "html.h"

#include "media/picture.h"
#include "question/faults.h"
#include "tools/bank/gaps.h"
#include "tools/bank/hints.h"
#include "tools/bank/pictures.h"
#include "tools/bank/source.h"
#include "tools/bank/yamlwrite.h"
#include "tools/jpeg/jpegwrite.h"

#include <QCryptographicHash>
#include <QHash>
#include <QImage>
#include <QRegularExpression>
#include <QSet>
#include <QUrl>
#include <QXmlStreamReader>
#include <algorithm>
#include <cmath>
#include <map>
#include <optional>

namespace moodle {

int Import::questionCount() const {
    int n = 0;
    for (const ImportedSection& s : sections)
        n += int(s.questions.size());
    return n;
}

namespace {

QString quoted(const QString& s) {
    return QStringLiteral("„") + s + QStringLiteral("“");
}

// A question read as a tree: Moodle's questions are small, and a tree lets
// the conversion look at a question's parts in any order.
struct Element {
    QString name;
    QXmlStreamAttributes attributes;
    QString text; // the character data directly inside
    QList<Element> children;
    int line = 0;

    const Element* child(QLatin1StringView n) const {
        for (const Element& c : children)
            if (c.name == n)
                return &c;
        return nullptr;
    }
    QList<const Element*> all(QLatin1StringView n) const {
        QList<const Element*> out;
        for (const Element& c : children)
            if (c.name == n)
                out.append(&c);
        return out;
    }
    QString attribute(QLatin1StringView n) const { return attributes.value(n).toString(); }
    // The <text> inside, or the element's own text where it has none.
    QString textInside() const {
        const Element* t = child(QLatin1StringView("text"));
        return t ? t->text : text;
    }
};

// Deeper than any Moodle file goes; a file nested deeper is damaged or
// hostile, and the reading recurses.
constexpr int kMaxDepth = 64;

Element readElement(QXmlStreamReader& r, int depth) {
    Element e;
    e.name = r.name().toString();
    e.attributes = r.attributes();
    e.line = int(r.lineNumber());
    if (depth > kMaxDepth) {
        r.raiseError(QStringLiteral("елементите са вложени твърде дълбоко"));
        return e;
    }
    while (!r.atEnd()) {
        r.readNext();
        if (r.isStartElement())
            e.children.append(readElement(r, depth + 1));
        else if (r.isCharacters())
            e.text += r.text();
        else if (r.isEndElement())
            break;
    }
    return e;
}

// A Moodle text field rendered by its format; HTML unless it says otherwise.
PlainText rich(const Element* field, bool htmlByDefault = true) {
    if (!field)
        return {};
    const QString raw = field->textInside();
    const QString format = field->attribute(QLatin1StringView("format"));
    if (format == QLatin1String("html") || (format.isEmpty() && htmlByDefault))
        return htmlToText(raw);
    if (format == QLatin1String("moodle_auto_format"))
        return htmlToText(QString(raw).replace(QLatin1Char('\n'), QStringLiteral("<br>")));
    // plain_text, markdown: the text as written, blanks tidied the same way
    return htmlToText(textToHtml(raw));
}

QString oneLine(const QString& s) {
    return s.split(QLatin1Char('\n'), Qt::SkipEmptyParts).join(QLatin1Char(' '));
}

// What one question of the file became.
struct Conversion {
    bank::PictureCache* pictures = nullptr; // the file's pictures converted so far
    bank::Question question;
    QString refusal;   // why it cannot be kept; empty when kept
    QString comment;   // beside it in the source
    QStringList notes; // for the author, on the error output
    QStringList gapWarnings;
};

// Moodle grades a question by its default grade, a decimal; the banks by
// whole points from 1 to kMaxPoints.
int pointsOf(const Element& q, Conversion* c) {
    const Element* g = q.child(QLatin1StringView("defaultgrade"));
    if (!g || g->text.trimmed().isEmpty())
        return 1;
    bool ok = false;
    const QString written = g->text.trimmed();
    const double v = QString(written).replace(QLatin1Char(','), QLatin1Char('.')).toDouble(&ok);
    if (!ok || !std::isfinite(v)) {
        c->refusal = QStringLiteral("точките (defaultgrade) %1 не са число").arg(quoted(written));
        return 0;
    }
    if (v > bank::kMaxPoints + 0.5) {
        c->refusal = QStringLiteral("въпросът носи %1 точки, а програмата – най-много %2")
                         .arg(written)
                         .arg(bank::kMaxPoints);
        return 0;
    }
    const int whole = int(std::lround(v));
    if (whole < 1) {
        c->notes.append(
            QStringLiteral("точките %1 стават 1: въпрос носи поне 1 точка").arg(written));
        return 1;
    }
    if (std::abs(v - whole) > 1e-6)
        c->notes.append(QStringLiteral("точките %1 са закръглени до %2").arg(written).arg(whole));
    return whole;
}

// Moodle gives every pair or gap an equal share of the question's grade;
// the banks give each its own whole points. The first items take what does
// not divide evenly, and a grade too small for every item to have a point
// gives each one.
QList<int> split(int total, int items, Conversion* c, const QString& what) {
    QList<int> out;
    if (items <= 0)
        return out;
    for (int i = 0; i < items; ++i)
        out.append(std::max(1, total / items + (i < total % items ? 1 : 0)));
    QStringList shares;
    int sum = 0;
    for (int p : out) {
        shares.append(QString::number(p));
        sum += p;
    }
    c->comment = QStringLiteral("%1 т. за %2 %3: %4")
                     .arg(total)
                     .arg(items)
                     .arg(what, shares.join(QStringLiteral(" + ")));
    if (sum != total)
        c->notes.append(
            QStringLiteral("%1 точки не стигат за %2 %3: всяка получава 1, въпросът носи %4")
                .arg(total)
                .arg(items)
                .arg(what)
                .arg(sum));
    return out;
}

// The name a file of a text goes by in its address "@@PLUGINFILE@@/name";
// empty for an address outside the file.
QString pluginFileName(const QString& src) {
    static const QString plugin = QStringLiteral("@@PLUGINFILE@@/");
    if (!src.startsWith(plugin))
        return QString();
    const QString name = QUrl::fromPercentEncoding(src.mid(plugin.size()).toUtf8());
    return name.section(QLatin1Char('?'), 0, 0).section(QLatin1Char('/'), -1);
}

// The <file> of that name among a text field's files.
const Element* fileOf(const Element* field, const QString& name) {
    if (!field || name.isEmpty())
        return nullptr;
    for (const Element* f : field->all(QLatin1StringView("file")))
        if (f->attribute(QLatin1StringView("name")) == name)
            return f;
    return nullptr;
}

// An address as the author knows it: the file's name, decoded.
QString shownName(const QString& src) {
    return quoted(QUrl::fromPercentEncoding(src.toUtf8())
                      .section(QLatin1Char('?'), 0, 0)
                      .section(QLatin1Char('/'), -1)
                      .left(80));
}

// The bytes of an embedded picture: a file of the question's text
// (@@PLUGINFILE@@/name) or a data: address.
std::optional<QByteArray> pictureBytes(const Element& questiontext, const QString& src,
                                       QString* why) {
    if (const QString name = pluginFileName(src); !name.isEmpty()) {
        const Element* f = fileOf(&questiontext, name);
        if (!f) {
            *why = QStringLiteral("изображението %1 липсва във файла").arg(quoted(name));
            return std::nullopt;
        }
        if (f->attribute(QLatin1StringView("encoding")) != QLatin1String("base64")) {
            *why = QStringLiteral("изображението %1 не е записано в base64").arg(quoted(name));
            return std::nullopt;
        }
        return QByteArray::fromBase64(f->text.toLatin1());
    }
    if (src.startsWith(QLatin1String("data:"), Qt::CaseInsensitive)) {
        const qsizetype comma = src.indexOf(QLatin1Char(','));
        if (comma > 0 && src.left(comma).contains(QLatin1String(";base64"), Qt::CaseInsensitive))
            return QByteArray::fromBase64(src.mid(comma + 1).toLatin1());
    }
    *why = QStringLiteral("изображението %1 е извън файла").arg(quoted(src.left(80)));
    return std::nullopt;
}

// The bytes a picture is kept as, or why it cannot be (a message about the
// picture `name`). Pictures too large for the session are scaled down here
// already, so that the content folder does not keep what the banks never
// show.
bank::PictureCache::Entry convertedPicture(const QByteArray& bytes) {
    using Name = const QString&;
    const auto damaged = [](Name name) {
        return QStringLiteral("изображението %1 е повредено").arg(name);
    };
    const auto failed = [](const PictureError& e) {
        return [why = e.text()](Name) { return why; };
    };
    if (bytes.startsWith("\xFF\xD8\xFF")) {
        const QImage image = decodePicture(bytes);
        if (image.isNull())
            return {{}, damaged};
        try {
            return {bank::storedPicture(bytes, image), {}};
        } catch (const PictureError& e) {
            return {{}, failed(e)};
        }
    }
    if (bytes.startsWith("\x89PNG\r\n\x1a\n")) {
        const QImage image = QImage::fromData(bytes, "PNG");
        if (image.isNull())
            return {{}, damaged};
        try {
            return {encodeJpeg(bank::fittedPicture(image), bank::kPictureQuality), {}};
        } catch (const PictureError& e) {
            return {{}, failed(e)};
        }
    }
    return {{}, [](Name name) {
                return QStringLiteral("изображението %1 не е JPEG или PNG").arg(name);
            }};
}

// The question's one picture as JPEG, the format of the banks' pictures; PNG
// is converted. Older Moodle keeps the picture beside the text (<image> names
// it, <image_base64> holds it), and Moodle's own import adds it to the end of
// the text: it counts as a picture of the text.
void takePicture(const Element& q, const PlainText& body, Conversion* c) {
    QStringList sources = body.images;
    const Element* old = q.child(QLatin1StringView("image"));
    if (old && !old->text.trimmed().isEmpty())
        sources.append(old->text.trimmed());
    if (sources.isEmpty())
        return;
    if (sources.size() > 1) {
        c->refusal = QStringLiteral("текстът има %1 изображения, а въпросът показва едно")
                         .arg(sources.size());
        return;
    }
    const QString name = shownName(sources.first());
    QString why = QStringLiteral("изображението %1 липсва във файла").arg(name);
    std::optional<QByteArray> bytes;
    if (!body.images.isEmpty()) {
        bytes = pictureBytes(*q.child(QLatin1StringView("questiontext")), sources.first(), &why);
    } else if (const Element* data = q.child(QLatin1StringView("image_base64"));
               data && !data->text.trimmed().isEmpty()) {
        bytes = QByteArray::fromBase64(data->text.toLatin1());
    }
    if (!bytes) {
        c->refusal = why;
        return;
    }
    // A picture embedded in many questions is converted once.
    const QString key =
        QString::fromLatin1(QCryptographicHash::hash(*bytes, QCryptographicHash::Sha1).toHex());
    const bank::PictureCache::Entry* picture = c->pictures->find(key);
    if (!picture)
        picture = c->pictures->insert(key, convertedPicture(*bytes));
    if (picture->fault)
        c->refusal = picture->fault(name);
    else
        c->question.pictureData = picture->data;
}

// The endings Moodle's players take for sound and video.
bool isMediaName(const QString& address) {
    static const QStringList endings =
        QStringLiteral("mp3 wav ogg oga opus m4a aac flac wma mid midi aif aiff au mp4 m4v webm "
                       "ogv mov qt avi wmv flv f4v mpg mpeg 3gp mkv swf")
            .split(QLatin1Char(' '));
    const QString file = address.section(QLatin1Char('?'), 0, 0)
                             .section(QLatin1Char('#'), 0, 0)
                             .section(QLatin1Char('/'), -1);
    return file.contains(QLatin1Char('.')) &&
           endings.contains(file.section(QLatin1Char('.'), -1).toLower());
}

// How sound and video files begin, whatever their names say.
bool isMediaData(const QByteArray& head) {
    for (const char* s : {"ID3", "OggS", "fLaC", "MThd", "FLV", "FWS", "CWS", "\x1A\x45\xDF\xA3",
                          "\x30\x26\xB2\x75"})
        if (head.startsWith(s))
            return true;
    if (head.startsWith("RIFF") && (head.mid(8, 4) == "WAVE" || head.mid(8, 4) == "AVI "))
        return true;
    // MP4 and QuickTime, but not the still pictures (HEIC, AVIF) of the same make.
    static const QList<QByteArray> stills = {"heic", "heix", "mif1", "msf1", "avif", "avis"};
    if (head.mid(4, 4) == "ftyp")
        return !stills.contains(head.mid(8, 4));
    // An MPEG audio frame without a tag before it.
    return head.size() > 1 && uchar(head[0]) == 0xFF && (uchar(head[1]) & 0xE0) == 0xE0;
}

// The first sound or video of a text field: a player, or a link to a file of
// that kind (told by its name or, for a file of the field, by its bytes).
// Empty when there is none.
QString mediumOf(const Element* field, const PlainText& rendered) {
    // A player named by its file rather than by its tag, where its <source> says.
    for (const QString& m : rendered.media)
        if (!m.startsWith(QLatin1Char('<')))
            return m;
    if (!rendered.media.isEmpty())
        return rendered.media.first();
    for (const QString& link : rendered.links) {
        if (isMediaName(link))
            return link;
        const Element* f = fileOf(field, pluginFileName(link));
        if (f && isMediaData(QByteArray::fromBase64(f->text.trimmed().left(64).toLatin1())))
            return link;
    }
    return QString();
}

// The program shows text and one picture; a question that needs sound or
// video asks about what the pupil never hears or sees.
QString mediaRefusal(const QString& where, const QString& medium) {
    return QStringLiteral("%1 съдържа звук или видео %2, а програмата не ги възпроизвежда")
        .arg(where, shownName(medium));
}

// Moodle shows a hint after a wrong try; the program has no place for one.
void noteHints(const Element& q, Conversion* c) {
    QStringList hints;
    for (const Element* h : q.all(QLatin1StringView("hint")))
        if (const QString t = oneLine(rich(h).text); !t.isEmpty())
            hints.append(quoted(t));
    if (!hints.isEmpty())
        c->notes.append(
            QStringLiteral("подсказките отпадат: %1").arg(hints.join(QStringLiteral(", "))));
}

void convertChoice(const Element& q, const PlainText& body, Conversion* c) {
    const QList<const Element*> answers = q.all(QLatin1StringView("answer"));
    if (answers.size() != 4) {
        c->refusal = QStringLiteral("въпросът има %1 отговора, а въпросът с избор – точно четири")
                         .arg(answers.size());
        return;
    }
    // Moodle's fractions: 100 the right answer, 0 or less a wrong one; any
    // other share is partial credit, which a choice question does not give.
    QList<int> credited;
    for (int i = 0; i < 4; ++i)
        if (answers[i]->attribute(QLatin1StringView("fraction")).toDouble() > 0)
            credited.append(i);
    if (credited.size() > 1) {
        c->refusal =
            QStringLiteral("верните отговори са %1, а трябва да е един").arg(credited.size());
        return;
    }
    if (credited.isEmpty()) {
        c->refusal = QStringLiteral("нито един отговор не е верен (fraction 100)");
        return;
    }
    const int right = credited.first();
    const QString fraction = answers[right]->attribute(QLatin1StringView("fraction")).trimmed();
    if (fraction.toDouble() < 99.99) {
        c->refusal = QStringLiteral("верният отговор носи %1% от точките, а не 100").arg(fraction);
        return;
    }
    for (int i = 0; i < 4; ++i) {
        const PlainText a = rich(answers[i]);
        if (!a.images.isEmpty()) {
            c->refusal = QStringLiteral("отговор %1 съдържа изображение").arg(i + 1);
            return;
        }
        if (const QString m = mediumOf(answers[i], a); !m.isEmpty()) {
            c->refusal = mediaRefusal(QStringLiteral("отговор %1").arg(i + 1), m);
            return;
        }
        c->question.answers.append(oneLine(a.text));
    }
    if (body.text.isEmpty()) {
        c->refusal = QStringLiteral("въпросът няма текст");
        return;
    }
    c->question.kind = bank::Kind::Choice;
    c->question.question = body.text;
    c->question.right = question::answerLetter(right + 1);
    c->question.condition =
        body.condition.isEmpty() ? defaultCondition(bank::Kind::Choice) : body.condition;
    c->question.points = pointsOf(q, c);
}

void convertMatching(const Element& q, const PlainText& body, Conversion* c) {
    QList<bank::Pair> pairs;
    QStringList extra;
    for (const Element* sub : q.all(QLatin1StringView("subquestion"))) {
        const PlainText term = rich(sub);
        // Moodle keeps the answers of a matching question as plain text.
        const QString meaning = oneLine(rich(sub->child(QLatin1StringView("answer")), false).text);
        if (!term.images.isEmpty()) {
            c->refusal = QStringLiteral("понятие %1 съдържа изображение").arg(pairs.size() + 1);
            return;
        }
        if (const QString m = mediumOf(sub, term); !m.isEmpty()) {
            c->refusal = mediaRefusal(QStringLiteral("понятие %1").arg(pairs.size() + 1), m);
            return;
        }
        const QString termText = oneLine(term.text);
        if (termText.isEmpty()) {
            if (!meaning.isEmpty())
                extra.append(quoted(meaning));
            continue;
        }
        pairs.append({termText, meaning, 0});
    }
    const int total = pointsOf(q, c);
    if (!c->refusal.isEmpty())
        return;
    const QList<int> shares = split(total, int(pairs.size()), c, QStringLiteral("двойки"));
    for (int i = 0; i < pairs.size(); ++i)
        pairs[i].points = shares[i];
    if (!extra.isEmpty())
        c->notes.append(QStringLiteral("значенията без понятие отпадат: %1")
                            .arg(extra.join(QStringLiteral(", "))));
    c->question.kind = bank::Kind::Matching;
    c->question.pairs = pairs;
    QStringList condition;
    for (const QString& text : {body.condition, body.text})
        if (!text.isEmpty())
            condition.append(text);
    c->question.condition = condition.isEmpty() ? defaultCondition(bank::Kind::Matching)
                                                : condition.join(QLatin1Char('\n'));
    c->question.points = question::itemPoints(c->question);
}

// A choice of a ddwtos or gapselect question: a word and the group it is
// offered in.
struct GapChoice {
    QString text;
    int group = 1;
};

// A "[[n]]" of the text: where it stands and the word it asks for.
struct MoodleGap {
    qsizetype from = 0, to = 0;
    QString word;
};

QList<GapChoice> gapChoices(const Element& q, const QString& type) {
    QList<GapChoice> choices;
    const QLatin1StringView tag(type == QLatin1String("ddwtos") ? "dragbox" : "selectoption");
    for (const Element* e : q.all(tag)) {
        const Element* group = e->child(QLatin1StringView("group"));
        const int g = group ? group->text.trimmed().toInt() : 1;
        choices.append({oneLine(rich(e).text), g});
    }
    return choices;
}

// Why `word`, the choice of gap [[n]], cannot be a word of the bank's gap
// text; empty when it can.
QString gapWordRefusal(const QString& word, int n, const QList<GapChoice>& choices) {
    if (word.isEmpty())
        return QStringLiteral("изборът на празнина [[%1]] е празен").arg(n);
    if (word.contains(QLatin1Char('[')) || word.contains(QLatin1Char(']')) ||
        word.contains(QLatin1Char('|')))
        return QStringLiteral("думата %1 съдържа „[“, „]“ или „|“").arg(quoted(word));
    // The program lists every word of the question once, in one list.
    QSet<int> groups;
    for (const GapChoice& other : choices)
        if (other.text == word)
            groups.insert(other.group);
    if (groups.size() <= 1)
        return QString();
    QList<int> sorted(groups.begin(), groups.end());
    std::sort(sorted.begin(), sorted.end());
    QStringList names;
    for (int g : sorted)
        names.append(QString::number(g));
    return QStringLiteral("думата %1 е в групи %2, а програмата показва всички думи в един списък")
        .arg(quoted(word), names.join(QStringLiteral(" и ")));
}

// The gaps of the text in order, the indices of the choices they use in
// `used`; empty with the refusal set when one of them cannot be kept.
QList<MoodleGap> findGaps(const QString& text, const QList<GapChoice>& choices, QSet<int>* used,
                          Conversion* c) {
    static const QRegularExpression placeholder(QStringLiteral("\\[\\[(\\d+)\\]\\]"));
    QList<MoodleGap> gaps;
    for (auto it = placeholder.globalMatch(text); it.hasNext();) {
        const QRegularExpressionMatch m = it.next();
        const int n = m.captured(1).toInt();
        if (n < 1 || n > choices.size()) {
            c->refusal =
                QStringLiteral("празнината [[%1]] сочи избор, който липсва (изборите са %2)")
                    .arg(m.captured(1))
                    .arg(choices.size());
            return {};
        }
        const QString word = choices[n - 1].text;
        if (const QString why = gapWordRefusal(word, n, choices); !why.isEmpty()) {
            c->refusal = why;
            return {};
        }
        used->insert(n - 1);
        gaps.append({m.capturedStart(), m.capturedEnd(), word});
    }
    if (gaps.isEmpty())
        c->refusal = QStringLiteral("текстът няма нито една празнина [[n]]");
    return gaps;
}

// The text as the bank writes it: every gap "[word]", or "[word|points]"
// when it is not worth 1; empty with the refusal set when a bracket stands
// outside a gap.
QString bankGapText(const QString& text, const QList<MoodleGap>& gaps, const QList<int>& shares,
                    Conversion* c) {
    const auto bracketed = [](const QString& s) {
        return s.contains(QLatin1Char('[')) || s.contains(QLatin1Char(']'));
    };
    const QString outside = QStringLiteral("текстът съдържа „[“ или „]“ извън празнина");
    QString source;
    qsizetype at = 0;
    for (int i = 0; i < gaps.size(); ++i) {
        const QString between = text.mid(at, gaps[i].from - at);
        if (bracketed(between)) {
            c->refusal = outside;
            return {};
        }
        source += between + QLatin1Char('[') + gaps[i].word;
        if (shares[i] != 1)
            source += QLatin1Char('|') + QString::number(shares[i]);
        source += QLatin1Char(']');
        at = gaps[i].to;
    }
    const QString tail = text.mid(at);
    if (bracketed(tail)) {
        c->refusal = outside;
        return {};
    }
    return source + tail;
}

// The words offered that no gap asks for, quoted.
QStringList unusedChoices(const QList<GapChoice>& choices, const QSet<int>& used,
                          const QList<MoodleGap>& gaps) {
    QSet<QString> words;
    for (const MoodleGap& g : gaps)
        words.insert(g.word);
    QStringList unused;
    for (int i = 0; i < choices.size(); ++i)
        if (!used.contains(i) && !words.contains(choices[i].text) && !choices[i].text.isEmpty())
            unused.append(quoted(choices[i].text));
    return unused;
}

// ddwtos and gapselect: "[[n]]" in the text is the n-th choice of the list.
void convertGaps(const Element& q, const PlainText& body, const QString& type, Conversion* c) {
    const QList<GapChoice> choices = gapChoices(q, type);
    QSet<int> used;
    const QList<MoodleGap> gaps = findGaps(body.text, choices, &used, c);
    if (!c->refusal.isEmpty())
        return;
    const int total = pointsOf(q, c);
    if (!c->refusal.isEmpty())
        return;
    const QList<int> shares = split(total, int(gaps.size()), c, QStringLiteral("празнини"));
    const QString source = bankGapText(body.text, gaps, shares, c);
    if (!c->refusal.isEmpty())
        return;
    QStringList faults;
    const bank::GapText parsed = bank::parseGapText(source, &faults, &c->gapWarnings);
    if (!faults.isEmpty()) {
        c->refusal = faults.first();
        return;
    }
    const QStringList unused = unusedChoices(choices, used, gaps);
    if (!unused.isEmpty())
        c->notes.append(QStringLiteral("думите без празнина отпадат: %1")
                            .arg(unused.join(QStringLiteral(", "))));
    c->question.kind = bank::Kind::Gaps;
    c->question.gaps = parsed;
    c->question.points = parsed.totalPoints();
    c->question.condition =
        body.condition.isEmpty() ? defaultCondition(bank::Kind::Gaps) : body.condition;
}

// Why a question as built cannot be kept, in the words of Moodle's parts
// where the import has them; empty when it can be kept.
QString builtRefusal(const bank::Question& q) {
    for (const question::Fault& f : question::questionFaults(q)) {
        const bank::Pair pair = q.pairs.value(f.item - 1);
        switch (f.kind) {
        case question::FaultKind::NoPairs:
            continue; // the count of the pairs names it
        case question::FaultKind::Answers:
            return f.item == 0 ? f.reason : QStringLiteral("отговор %1 е празен").arg(f.item);
        case question::FaultKind::PairMeaning:
            return QStringLiteral("понятието %1 няма значение").arg(quoted(pair.term));
        case question::FaultKind::RepeatedTerm:
            return QStringLiteral("понятието %1 е дадено два пъти").arg(quoted(pair.term));
        case question::FaultKind::RepeatedMeaning:
            return QStringLiteral("значението %1 е дадено на две понятия, а всяко значение се "
                                  "свързва с едно")
                .arg(quoted(pair.meaning));
        case question::FaultKind::PairCount:
            return q.pairs.size() < 2
                       ? QStringLiteral("въпросът има %1 двойки, а трябват поне две")
                             .arg(q.pairs.size())
                       : QStringLiteral("въпросът има %1 двойки, а екранът показва най-много 10")
                             .arg(q.pairs.size());
        default:
            return f.reason;
        }
    }
    return QString();
}

QString refusalOfType(const QString& type) {
    if (type == QLatin1String("truefalse"))
        return QStringLiteral("въпрос „вярно/невярно“: въпросът с избор има четири отговора");
    if (type == QLatin1String("shortanswer") || type == QLatin1String("numerical") ||
        type == QLatin1String("essay") || type.startsWith(QLatin1String("calculated")))
        return QStringLiteral("отговорът се пише свободно, а в програмата се избира");
    if (type == QLatin1String("description"))
        return QStringLiteral("описание, а не въпрос");
    if (type == QLatin1String("multianswer"))
        return QStringLiteral("въпрос с вложени отговори (cloze)");
    if (type.isEmpty())
        return QStringLiteral("въпросът няма вид (атрибут type)");
    return QStringLiteral("видът %1 няма съответствие в програмата").arg(quoted(type));
}

Conversion convert(const Element& q, const QString& type, bank::PictureCache* pictures) {
    Conversion c;
    c.pictures = pictures;
    const bool known = type == QLatin1String("multichoice") || type == QLatin1String("matching") ||
                       type == QLatin1String("ddwtos") || type == QLatin1String("gapselect");
    if (!known) {
        c.refusal = refusalOfType(type);
        return c;
    }
    const Element* questiontext = q.child(QLatin1StringView("questiontext"));
    const PlainText body = rich(questiontext);
    if (const QString m = mediumOf(questiontext, body); !m.isEmpty()) {
        c.refusal = mediaRefusal(QStringLiteral("текстът"), m);
        return c;
    }
    if (type == QLatin1String("multichoice"))
        convertChoice(q, body, &c);
    else if (type == QLatin1String("matching"))
        convertMatching(q, body, &c);
    else
        convertGaps(q, body, type, &c);
    if (c.refusal.isEmpty())
        c.refusal = builtRefusal(c.question);
    if (!c.refusal.isEmpty())
        return c;
    takePicture(q, body, &c);
    noteHints(q, &c);
    c.question.fullAnswer = rich(q.child(QLatin1StringView("generalfeedback"))).text;
    return c;
}

// "$course$/top/Дроби" -> "Дроби": the innermost category names the
// section; "//" stands for a "/" inside a name.
QString sectionOfCategory(const Element& q, const QString& fallback) {
    const Element* category = q.child(QLatin1StringView("category"));
    const QString path = category ? category->textInside() : QString();
    QStringList parts{QString()};
    for (qsizetype i = 0; i < path.size(); ++i) {
        if (path[i] != QLatin1Char('/'))
            parts.last() += path[i];
        else if (i + 1 < path.size() && path[i + 1] == QLatin1Char('/'))
            parts.last() += path[i++];
        else
            parts.append(QString());
    }
    QString last;
    for (auto it = parts.crbegin(); it != parts.crend() && last.isEmpty(); ++it)
        last = it->simplified();
    if (last.isEmpty() || last.startsWith(QLatin1Char('$')) || last == QLatin1String("top"))
        return fallback;
    return last;
}

// The table names given so far (in lower case) and, for every name a table
// was derived from, the number its next namesake tries first: many sections
// of one name would otherwise try every number again.
struct TablesTaken {
    QSet<QString> names;
    QHash<QString, int> next;
};

QString tableOf(const QString& section, int index, const ImportOptions& options,
                TablesTaken* taken) {
    QString base;
    if (!options.section.isEmpty() && !options.table.isEmpty()) {
        base = options.table;
    } else {
        const QString head = options.section.isEmpty() && !options.table.isEmpty()
                                 ? options.table
                                 : QStringLiteral("m%1").arg(options.classNo);
        const QString stem = tableNameOf(section);
        base = head + QLatin1Char('_') + (stem.isEmpty() ? QString::number(index) : stem);
        // The program names a table's index <table>_ix1.
        static const QRegularExpression indexName(QStringLiteral("_ix\\d+$"),
                                                  QRegularExpression::CaseInsensitiveOption);
        if (indexName.match(base).hasMatch())
            base += QStringLiteral("_t");
    }
    QString table = base;
    int& k = taken->next[base.toLower()];
    for (k = std::max(k, 2); taken->names.contains(table.toLower()); ++k)
        table = base + QLatin1Char('_') + QString::number(k);
    taken->names.insert(table.toLower());
    return table;
}

} // namespace

QString transliterate(const QString& text) {
    static const QHash<QChar, QString> letters = [] {
        QHash<QChar, QString> m;
        const QStringList pairs =
            QStringLiteral(
                "а=a б=b в=v г=g д=d е=e ж=zh з=z и=i й=y к=k л=l м=m н=n о=o п=p р=r с=s т=t у=u "
                "ф=f х=h ц=ts ч=ch ш=sh щ=sht ъ=a ь=y ю=yu я=ya ы=y э=e ё=yo і=i ї=yi є=ye ґ=g "
                "ђ=dj ј=j љ=lj њ=nj ћ=c џ=dz ѓ=gj ќ=kj ѕ=dz ў=u")
                .split(QLatin1Char(' '));
        for (const QString& p : pairs)
            m.insert(p[0], p.mid(2));
        return m;
    }();
    QString out;
    for (QChar c : text) {
        const QChar lower = c.toLower();
        const auto it = letters.constFind(lower);
        if (it == letters.constEnd()) {
            // Accented Latin letters lose their accents.
            const QString plain = QString(c).normalized(QString::NormalizationForm_D);
            for (QChar p : plain)
                if (p.category() != QChar::Mark_NonSpacing)
                    out += p;
            continue;
        }
        QString latin = *it;
        if (c != lower && !latin.isEmpty())
            latin[0] = latin[0].toUpper();
        out += latin;
    }
    return out;
}

QString tableNameOf(const QString& text) {
    const QString latin = transliterate(text).toLower();
    QString out;
    for (QChar c : latin) {
        const bool ok = (c >= QLatin1Char('a') && c <= QLatin1Char('z')) ||
                        (c >= QLatin1Char('0') && c <= QLatin1Char('9'));
        if (ok)
            out += c;
        else if (!out.isEmpty() && !out.endsWith(QLatin1Char('_')))
            out += QLatin1Char('_');
    }
    out.truncate(40);
    while (out.endsWith(QLatin1Char('_')))
        out.chop(1);
    return out;
}

namespace {

// Reads the file a question at a time: only the question being converted is
// held as a tree, never the file.
Import readQuiz(QXmlStreamReader& r, const ImportOptions& options) {
    Import out;
    bool quiz = false;
    bank::PictureCache pictures;
    const QString fallback = options.section.isEmpty() ? options.defaultSection : options.section;
    QString current = fallback;
    // Sections by name, to their place in the list: a file may hold thousands.
    std::map<QString, int> sectionIndex;
    const auto take = [&](const Element& q) {
        if (q.name != QLatin1String("question"))
            return;
        const QString type = q.attribute(QLatin1StringView("type"));
        if (type == QLatin1String("category")) {
            current = options.section.isEmpty() ? sectionOfCategory(q, fallback) : fallback;
            return;
        }
        const QString name = oneLine(rich(q.child(QLatin1StringView("name")), false).text);
        Conversion c = convert(q, type, &pictures);
        if (!c.refusal.isEmpty()) {
            out.skipped.append({q.line, name, type, c.refusal});
            return;
        }
        for (const QString& n : c.notes)
            out.notes.append({q.line, name, type, n});
        c.question.line = q.line;
        auto [section, added] = sectionIndex.try_emplace(current, int(out.sections.size()));
        if (added)
            out.sections.append({current, QString(), {}});
        out.sections[section->second].questions.append(
            {c.question, name, c.comment, c.gapWarnings});
    };
    const auto failed = [&](const QString& fault) {
        Import f;
        f.fault = fault;
        f.faultLine = int(r.lineNumber());
        return f;
    };
    while (!r.atEnd() && !r.hasError()) {
        r.readNext();
        // Entities of the file's own make can stand for each other: a few
        // lines of them expand to gigabytes. The reader bounds each one, not
        // their sum, and Moodle never declares any.
        if (r.isDTD() && !r.entityDeclarations().isEmpty())
            return failed(QStringLiteral("файлът обявява свои знакови единици (<!ENTITY …>), "
                                         "каквито Moodle не пише"));
        if (!r.isStartElement())
            continue;
        if (r.name() != QLatin1String("quiz"))
            return failed(QStringLiteral("файлът не е Moodle XML: започва с <%1>, а не с <quiz>")
                              .arg(r.name().toString()));
        quiz = true;
        while (!r.atEnd()) {
            r.readNext();
            if (r.isStartElement()) {
                const Element q = readElement(r, 1);
                if (!r.hasError())
                    take(q);
            } else if (r.isEndElement()) {
                break;
            }
        }
    }
    if (r.hasError()) {
        // The reader's English text follows an explanation in words.
        QString why = QStringLiteral("записът е нарушен");
        if (r.error() == QXmlStreamReader::PrematureEndOfDocumentError)
            why = QStringLiteral("файлът свършва, преди XML да е завършен (непълен файл?)");
        else if (r.error() == QXmlStreamReader::UnexpectedElementError)
            why = QStringLiteral("неочакван елемент");
        return failed(r.error() == QXmlStreamReader::CustomError
                          ? QStringLiteral("неправилен XML: %1").arg(r.errorString())
                          : QStringLiteral("неправилен XML: %1 („%2“)").arg(why, r.errorString()));
    }
    if (!quiz)
        return failed(QStringLiteral("файлът няма елемент <quiz>"));

    TablesTaken taken;
    // A picture is one file however many questions show it, named after the
    // first; the questions share its bytes.
    QHash<const char*, QString> named;
    for (int i = 0; i < out.sections.size(); ++i) {
        ImportedSection& s = out.sections[i];
        s.table = tableOf(s.name, i + 1, options, &taken);
        for (int n = 0; n < s.questions.size(); ++n) {
            bank::Question& q = s.questions[n].question;
            if (q.pictureData.isEmpty())
                continue;
            QString& name = named[q.pictureData.constData()];
            if (name.isEmpty())
                name = QStringLiteral("pictures/%1_%2.jpg").arg(s.table).arg(n + 1);
            q.picture = name;
        }
    }
    return out;
}

} // namespace

Import readMoodleXml(const QByteArray& xml, const ImportOptions& options) {
    QXmlStreamReader r(xml);
    return readQuiz(r, options);
}

Import readMoodleXml(QIODevice* xml, const ImportOptions& options) {
    QXmlStreamReader r(xml);
    return readQuiz(r, options);
}

QByteArray bankSource(const Import& import, const ImportOptions& options, const QString& origin,
                      bank::SourceLines* lines) {
    bank::Source source;
    source.classNo = options.classNo;
    source.subject = options.subject;
    for (const ImportedSection& s : import.sections) {
        bank::Section section{s.name, s.table, 0, {}};
        for (const ImportedQuestion& q : s.questions)
            section.questions.append(q.question);
        source.sections.append(section);
    }
    return bank::sourceYaml(
        source, QStringLiteral("Внесено от Moodle XML: ") + oneLine(origin),
        [&](int section, int question) {
            const ImportedQuestion& q = import.sections[section].questions[question];
            QString comment = QStringLiteral("Moodle: ") + quoted(q.name);
            if (!q.note.isEmpty())
                comment += QStringLiteral("; ") + q.note;
            return comment;
        },
        lines);
}

QList<bank::Issue> sourceFindings(const Import& import, const bank::SourceLines& lines,
                                  const QString& file) {
    using bank::Severity;
    QList<bank::Issue> issues;
    for (int s = 0; s < import.sections.size(); ++s) {
        const ImportedSection& section = import.sections[s];
        int usable = 0;
        for (int n = 0; n < section.questions.size(); ++n) {
            const bank::Question& q = section.questions[n].question;
            const bank::QuestionLines& at = lines.questions[s][n];
            const auto add = [&](Severity severity, int line, const QString& message) {
                issues.append({severity, file, line, section.name, n + 1, message});
            };
            const QList<question::Fault> faults = question::questionFaults(q);
            for (const question::Fault& f : faults)
                add(Severity::Fault, at.question, f.reason);
            if (!faults.isEmpty())
                continue;
            if (q.test == 1)
                ++usable;
            if (q.kind == bank::Kind::Matching) {
                const QStringList giveaways = bank::giveawayWords(q.pairs);
                for (int i = 0; i < giveaways.size(); ++i)
                    if (!giveaways[i].isEmpty())
                        add(Severity::Warning, at.pairs.value(i),
                            bank::giveawayWarning(i + 1, giveaways[i], q.pairs[i].term));
            }
            for (const QString& w : section.questions[n].gapWarnings)
                add(Severity::Warning, at.text, w);
            if (q.kind != bank::Kind::Choice && q.points != question::itemPoints(q))
                add(Severity::Warning, at.points,
                    bank::pointsWarning(q.kind, q.points, question::itemPoints(q)));
        }
        if (usable < 2)
            issues.append({Severity::Warning, file, lines.sections[s], section.name, 0,
                           bank::fewQuestionsWarning(usable)});
    }
    return issues;
}

} // namespace moodle
