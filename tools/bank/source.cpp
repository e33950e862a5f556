#include "source.h"

#include "media/picture.h"
#include "question/faults.h"
#include "store/fileerror.h"

#include "gaps.h"
#include "hints.h"
#include "pictures.h"
#include "yamltree.h"

#include <QBuffer>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QImage>
#include <QImageReader>
#include <QSet>
#include <QStringDecoder>
#include <yaml-cpp/exceptions.h>

namespace bank {

namespace {

// The parser's own words in English mean nothing to most teachers: the
// common ones get an explanation, and the parser's text follows in quotes.
QString yamlFault(const std::string& message) {
    namespace M = YAML::ErrorMsg;
    static const std::pair<const char*, const char*> known[] = {
        {M::BLOCK_ENTRY, "ред с „- “ не е на мястото си: проверете отстъпа"},
        {M::MAP_KEY, "ключ не е на мястото си: проверете отстъпа и двоеточието"},
        {M::MAP_VALUE, "стойност не е на мястото си: проверете отстъпа и двоеточието"},
        {M::END_OF_MAP, "незатворена скоба {"},
        {M::END_OF_MAP_FLOW, "незатворена скоба {"},
        {M::END_OF_SEQ, "незатворена скоба ["},
        {M::END_OF_SEQ_FLOW, "незатворена скоба ["},
        {M::EOF_IN_SCALAR, "незатворени кавички"},
        {M::FLOW_END, "затваряща скоба без отваряща"},
        {M::TAB_IN_INDENTATION, "табулация в отстъпа: пишете интервали"},
        {M::INVALID_ESCAPE, "непознат знак след \\ в кавички"},
        {M::UNKNOWN_TOKEN, "непознат знак"},
        {M::BAD_FILE, "файлът не може да бъде отворен"},
    };
    QString reason = QStringLiteral("знаците не следват правилата на YAML");
    for (const auto& [english, bulgarian] : known)
        if (message.rfind(english, 0) == 0) {
            reason = QString::fromUtf8(bulgarian);
            break;
        }
    return reason + QStringLiteral(" („") + QString::fromStdString(message) + QStringLiteral("“)");
}

QString str(const YamlNode& scalar) {
    return QString::fromStdString(scalar.scalar());
}

QString quoted(const QString& s) {
    return QStringLiteral("„") + s + QStringLiteral("“");
}

// Where findings go: the file, and the section and question being read.
class Reader {
public:
    Reader(const QString& file, QList<Issue>* issues) : m_file(file), m_issues(issues) {}

    QString section;
    int question = 0;
    QuestionSink* sink = nullptr;
    PictureCache* pictures = nullptr;

    void fault(const YamlNode& at, const QString& message) {
        add(Severity::Fault, lineOf(at), message);
    }
    void fault(int line, const QString& message) { add(Severity::Fault, line, message); }
    void warn(const YamlNode& at, const QString& message) {
        add(Severity::Warning, lineOf(at), message);
    }
    int faults() const { return m_faults; }

    static int lineOf(const YamlNode& n) { return n.isDefined() ? n.line() : 0; }

private:
    void add(Severity s, int line, const QString& message) {
        m_issues->append({s, m_file, line, section, question, message});
        if (s == Severity::Fault)
            ++m_faults;
    }

    QString m_file;
    QList<Issue>* m_issues;
    int m_faults = 0;
};

// Duplicate and unknown keys of a mapping. A key given twice is most often a
// missing "- " in front of the next list item, so the hint says so.
void checkKeys(Reader& r, const YamlNode& map, const QStringList& known,
               const QStringList& otherKinds = {}, const QString& kindName = {}) {
    QSet<QString> seen;
    for (auto it = map.begin(); it != map.end(); ++it) {
        if (!it->first.isScalar()) {
            r.fault(it->first, QStringLiteral("името на поле трябва да е текст"));
            continue;
        }
        const QString key = str(it->first);
        if (seen.contains(key)) {
            r.fault(it->first, QStringLiteral("полето %1 е дадено два пъти (липсва ли „- “ пред "
                                              "следващия елемент на списъка?)")
                                   .arg(quoted(key)));
            continue;
        }
        seen.insert(key);
        if (known.contains(key))
            continue;
        if (otherKinds.contains(key))
            r.warn(it->first, QStringLiteral("полето %1 не се използва при въпрос от вида „%2“")
                                  .arg(quoted(key), kindName));
        else
            r.warn(it->first, QStringLiteral("непознато поле %1: пропуска се").arg(quoted(key)));
    }
}

// A text field. Missing or null: empty, a fault when required.
bool readText(Reader& r, const YamlNode& map, const char* key, bool required, QString* out,
              const QString& emptyMessage = {}) {
    out->clear();
    const YamlNode n = map[key];
    if (!n.isDefined() || n.isNull()) {
        if (required)
            r.fault(map, QStringLiteral("липсва полето %1").arg(quoted(QLatin1String(key))));
        return !required;
    }
    if (!n.isScalar()) {
        r.fault(n, QStringLiteral("полето %1 трябва да е текст").arg(quoted(QLatin1String(key))));
        return false;
    }
    *out = str(n).trimmed();
    if (required && out->isEmpty()) {
        r.fault(n, emptyMessage.isEmpty()
                       ? QStringLiteral("полето %1 е празно").arg(quoted(QLatin1String(key)))
                       : emptyMessage);
        return false;
    }
    return true;
}

// An integer field.
bool readInt(Reader& r, const YamlNode& map, const char* key, bool required, int* out) {
    const YamlNode n = map[key];
    if (!n.isDefined() || n.isNull()) {
        if (required)
            r.fault(map, QStringLiteral("липсва полето %1").arg(quoted(QLatin1String(key))));
        return !required;
    }
    bool ok = false;
    int v = 0;
    if (n.isScalar())
        v = str(n).trimmed().toInt(&ok);
    if (!ok) {
        r.fault(n, QStringLiteral("полето %1 трябва да е цяло число, а е %2")
                       .arg(quoted(QLatin1String(key)),
                            quoted(n.isScalar() ? str(n) : QStringLiteral("списък"))));
        return false;
    }
    *out = v;
    return true;
}

// Points of a question, where given: a positive integer.
bool readPoints(Reader& r, const YamlNode& map, bool required, int* out, bool* present) {
    const YamlNode n = map["points"];
    *present = n.isDefined() && !n.isNull();
    if (!*present) {
        if (required)
            r.fault(map, QStringLiteral("липсва полето „points“ (точките на въпроса)"));
        return !required;
    }
    if (!n.isScalar() || !parsePoints(str(n).trimmed(), out)) {
        r.fault(n, QStringLiteral("точките трябва да са цяло число от 1 до %1, а са %2")
                       .arg(kMaxPoints)
                       .arg(quoted(n.isScalar() ? str(n) : QStringLiteral("списък"))));
        return false;
    }
    return true;
}

// A sequence field that must be there.
bool readList(Reader& r, const YamlNode& map, const char* key, YamlNode* out) {
    const YamlNode n = map[key];
    if (!n.isDefined() || n.isNull()) {
        r.fault(map, QStringLiteral("липсва полето %1").arg(quoted(QLatin1String(key))));
        return false;
    }
    if (!n.isSequence()) {
        r.fault(n, QStringLiteral("полето %1 трябва да е списък").arg(quoted(QLatin1String(key))));
        return false;
    }
    *out = n;
    return true;
}

// Item text of a flow list such as a pair: null counts as empty.
bool itemText(const YamlNode& n, QString* out) {
    out->clear();
    if (n.isNull())
        return true;
    if (!n.isScalar())
        return false;
    *out = str(n).trimmed();
    return true;
}

bool isUtf8(const QByteArray& bytes) {
    QStringDecoder utf8(QStringDecoder::Utf8);
    const QString text = utf8.decode(bytes);
    return !utf8.hasError();
}

// The largest picture file read. A phone photo is a few megabytes and even a
// 40-megapixel JPEG, the most the loader decodes, stays well below; a larger
// file is no question's picture, and it is read whole into memory.
constexpr qint64 kMaxPictureFile = 20 * 1024 * 1024;

// The bytes a picture file is stored as, or why it cannot be: read, decoded
// and checked once however many questions name it.
PictureCache::Entry loadPicture(const QFileInfo& file) {
    using Name = const QString&;
    QFile f(file.filePath());
    if (file.size() > kMaxPictureFile)
        return {{}, [](Name name) {
                    return QStringLiteral("файлът с изображение %1 е по-голям от %2 MB")
                        .arg(name)
                        .arg(kMaxPictureFile / 1024 / 1024);
                }};
    if (!f.open(QIODevice::ReadOnly))
        return {{}, [why = fileFault(f)](Name name) {
                    return QStringLiteral("файлът с изображение %1 не може да бъде прочетен: %2")
                        .arg(name, why);
                }};
    // A file that grew since it was measured is still read only so far.
    const QByteArray data = f.read(kMaxPictureFile + 1);
    // Decoded from the very bytes that are stored, by content, not by name.
    QBuffer buffer;
    buffer.setData(data);
    buffer.open(QIODevice::ReadOnly);
    QImageReader reader(&buffer);
    reader.setDecideFormatFromContent(true);
    const QByteArray format = reader.format();
    // The decoder the session uses, so a picture that passes here shows there.
    const QImage image = (format == "jpeg" || format == "png") && data.size() <= kMaxPictureFile
                             ? decodePicture(data)
                             : QImage();
    if (image.isNull())
        return {
            {}, [](Name name) {
                return QStringLiteral("файлът %1 не е четимо изображение JPEG или PNG").arg(name);
            }};
    try {
        return {storedPicture(data, image), {}};
    } catch (const PictureError& e) {
        return {{}, [why = e.text()](Name name) {
                    return QStringLiteral("изображението %1 не може да бъде смалено: %2")
                        .arg(name, why);
                }};
    }
}

// The picture file a question names: a relative path that stays inside the
// content folder once `..` and symbolic links are resolved, so that a source
// cannot carry any other file of the machine into the databases.
void readPicture(Reader& r, const QString& contentFolder, const YamlNode& q, Question* out) {
    if (!readText(r, q, "picture", false, &out->picture) || out->picture.isEmpty())
        return;
    const YamlNode at = q["picture"];
    const QString name = quoted(out->picture);
    if (QDir::isAbsolutePath(out->picture)) {
        r.fault(at, QStringLiteral("пътят до изображението %1 трябва да е относителен спрямо "
                                   "папката с източниците")
                        .arg(name));
        return;
    }
    const QFileInfo file(QDir(contentFolder).filePath(out->picture));
    if (!file.isFile()) {
        r.fault(at, QStringLiteral("файлът с изображение %1 не съществува").arg(name));
        return;
    }
    const QString folder = QFileInfo(contentFolder).canonicalFilePath() + QLatin1Char('/');
    if (!file.canonicalFilePath().startsWith(folder)) {
        r.fault(at, QStringLiteral("изображението %1 е извън папката с източниците").arg(name));
        return;
    }
    const QString key = file.canonicalFilePath();
    const PictureCache::Entry* picture = r.pictures->find(key);
    if (!picture)
        picture = r.pictures->insert(key, loadPicture(file));
    if (picture->fault)
        r.fault(at, picture->fault(name));
    else
        out->pictureData = picture->data;
}

// Where the parts of a question stand in its source, for the faults the
// question layer finds in what was read. A part left undefined was found
// faulty while it was read and is not named again.
struct Parts {
    YamlNode answers;
    YamlNode right;
    QString rightText;
    YamlNode items;        // the pairs or the gap text
    QList<bool> malformed; // per pair: not [term, meaning, points]
    bool pointsGiven = false;
};

void readChoice(Reader& r, const YamlNode& q, Question* out, Parts* parts) {
    readText(r, q, "question", true, &out->question,
             QStringLiteral("текстът на въпроса („question“) е празен"));
    YamlNode answers;
    if (readList(r, q, "answers", &answers)) {
        bool texts = true;
        for (std::size_t i = 0; i < answers.size(); ++i) {
            QString a;
            if (!itemText(answers[i], &a)) {
                r.fault(answers[i], QStringLiteral("отговор %1 трябва да е текст").arg(i + 1));
                texts = false;
            }
            out->answers.append(a);
        }
        if (texts || answers.size() != 4)
            parts->answers = answers;
    }
    if (!readText(r, q, "right", true, &parts->rightText))
        return;
    if (parts->rightText.size() == 1)
        out->right = parts->rightText[0];
    parts->right = q["right"];
}

// The message about a right answer that is not one of А, Б, В, Г, with the
// likely slip named.
QString rightFault(const QString& right) {
    const QString cyrillic = question::kAnswerLetters;
    const QString latin = QStringLiteral("ABCD");
    const QString lower = QStringLiteral("абвгabcd");
    QString message = QStringLiteral("верният отговор трябва да е една от кирилските букви А, Б, "
                                     "В, Г, а е %1")
                          .arg(quoted(right));
    if (right.size() == 1 && latin.contains(right[0]))
        message += QStringLiteral(": това е латинската буква; напишете кирилската %1")
                       .arg(quoted(cyrillic[latin.indexOf(right[0])]));
    else if (right.size() == 1 && lower.contains(right[0]))
        message += QStringLiteral(": напишете главната кирилска буква %1")
                       .arg(quoted(cyrillic[lower.indexOf(right[0]) % 4]));
    return message;
}

// What the items of a question are called in a message.
QString itemsName(Kind kind) {
    return kind == Kind::Matching ? QStringLiteral("двойките") : QStringLiteral("празнините");
}

// Warns when given points and the items' sum differ: the grade of a run is
// computed from the question's points, the score from the items' points.
void comparePoints(Reader& r, const YamlNode& q, const Question& out) {
    const int sum = question::itemPoints(out);
    if (out.points != sum)
        r.warn(q["points"], pointsWarning(out.kind, out.points, sum));
}

void readMatching(Reader& r, const YamlNode& q, Question* out, Parts* parts) {
    YamlNode pairs;
    if (!readList(r, q, "pairs", &pairs))
        return;
    parts->items = pairs;
    for (std::size_t i = 0; i < pairs.size(); ++i) {
        const YamlNode p = pairs[i];
        const int n = int(i) + 1;
        Pair pair;
        QString points;
        const bool shaped = p.isSequence() && p.size() >= 2 && p.size() <= 3;
        const bool texts = shaped && itemText(p[0], &pair.term) && itemText(p[1], &pair.meaning) &&
                           (p.size() == 2 || itemText(p[2], &points));
        if (!shaped) {
            r.fault(p, QStringLiteral("двойка %1 трябва да е [термин, значение, точки]").arg(n));
        } else if (!texts) {
            r.fault(p, QStringLiteral("двойка %1 трябва да е [термин, значение, точки], всяко "
                                      "от тях текст")
                           .arg(n));
        } else if (points.isEmpty()) {
            r.fault(
                p,
                QStringLiteral("двойка %1 няма точки: пише се [термин, значение, точки]").arg(n));
        } else if (!parsePoints(points, &pair.points)) {
            r.fault(p, QStringLiteral("точките на двойка %1 трябва да са цяло число от 1 до %2, "
                                      "а са %3")
                           .arg(n)
                           .arg(kMaxPoints)
                           .arg(quoted(points)));
        }
        // A pair that could not be read keeps its place, so that the pairs
        // after it keep their numbers, and is not looked at again.
        parts->malformed.append(!texts);
        out->pairs.append(texts ? pair : Pair());
    }
}

void readGaps(Reader& r, const YamlNode& q, Question* out, Parts* parts) {
    const YamlNode n = q["text"];
    if (!n.isDefined() || n.isNull()) {
        r.fault(q, QStringLiteral("липсва полето „text“"));
        return;
    }
    if (!n.isScalar()) {
        r.fault(n, QStringLiteral("полето „text“ трябва да е текст"));
        return;
    }
    QStringList faults, warnings;
    out->gaps = parseGapText(str(n), &faults, &warnings);
    for (const QString& f : faults)
        r.fault(n, f);
    for (const QString& w : warnings)
        r.warn(n, w);
    if (faults.isEmpty())
        parts->items = n;
}

// The faults the question layer finds in a question read, where the source
// has the part, in the words kivor-bank has always used.
void reportFaults(Reader& r, const YamlNode& q, const Question& out, const Parts& parts) {
    for (const question::Fault& f : question::questionFaults(out)) {
        switch (f.kind) {
        case question::FaultKind::Points:
            // Points given are checked as they are read; left out, they are
            // the items' sum.
            if (!parts.pointsGiven && parts.items.isDefined())
                r.fault(q, QStringLiteral("сборът на точките на %1 е %2, а въпросът може да има "
                                          "най-много %3 точки")
                               .arg(itemsName(out.kind))
                               .arg(out.points)
                               .arg(kMaxPoints));
            break;
        case question::FaultKind::Answers:
            if (!parts.answers.isDefined())
                break;
            r.fault(parts.answers,
                    f.item == 0 ? QStringLiteral("въпросът с избор трябва да има точно четири "
                                                 "отговора, а има %1")
                                      .arg(out.answers.size())
                                : QStringLiteral("отговор %1 е празен: трябват четири непразни "
                                                 "отговора")
                                      .arg(f.item));
            break;
        case question::FaultKind::RightAnswer:
            if (parts.right.isDefined())
                r.fault(parts.right, rightFault(parts.rightText));
            break;
        case question::FaultKind::GapTextSize:
            if (parts.items.isDefined())
                r.fault(parts.items,
                        QStringLiteral("текстът има %1 знака, а програмата показва текст с "
                                       "празнини от най-много %2 знака")
                            .arg(out.gaps.text.size())
                            .arg(kMaxGapText));
            break;
        case question::FaultKind::NoPairs:
            // The rules of the pairs name it more closely.
            break;
        case question::FaultKind::PairCount:
            if (parts.items.isDefined())
                r.fault(parts.items, f.reason);
            break;
        case question::FaultKind::PairTerm:
        case question::FaultKind::PairMeaning:
        case question::FaultKind::PairLineBreak:
        case question::FaultKind::RepeatedTerm:
        case question::FaultKind::RepeatedMeaning:
            if (parts.items.isDefined() && !parts.malformed.value(f.item - 1))
                r.fault(parts.items[std::size_t(f.item - 1)], f.reason);
            break;
        default:
            // The kind, pair points and gaps are checked as they are read.
            if (parts.items.isDefined())
                r.fault(q, f.reason);
            break;
        }
    }
}

// What the author should know about a question's items once they are free
// of faults.
void noteItems(Reader& r, const YamlNode& q, const Question& out, const Parts& parts) {
    if (out.kind == Kind::Matching) {
        const QStringList giveaways = giveawayWords(out.pairs);
        for (int i = 0; i < giveaways.size(); ++i)
            if (!giveaways[i].isEmpty())
                r.warn(parts.items[std::size_t(i)],
                       giveawayWarning(i + 1, giveaways[i], out.pairs[i].term));
    }
    if (parts.pointsGiven && out.kind != Kind::Choice)
        comparePoints(r, q, out);
}

// Returns whether the question is free of faults.
bool readQuestion(Reader& r, const QString& contentFolder, const YamlNode& q, Question* out) {
    const int faultsBefore = r.faults();
    out->line = Reader::lineOf(q);
    if (!q.isMap()) {
        r.fault(q, QStringLiteral("въпросът трябва да е запис с полета (kind, condition, …)"));
        return false;
    }
    static const QStringList common = {QStringLiteral("kind"), QStringLiteral("condition"),
                                       QStringLiteral("full"), QStringLiteral("picture"),
                                       QStringLiteral("test"), QStringLiteral("points")};
    static const QStringList choice = {QStringLiteral("question"), QStringLiteral("answers"),
                                       QStringLiteral("right")};
    static const QStringList matching = {QStringLiteral("pairs")};
    static const QStringList gaps = {QStringLiteral("text")};

    QString kind;
    readText(r, q, "kind", true, &kind);
    bool known = true;
    QStringList own = common, others;
    if (kind == QLatin1String("choice")) {
        out->kind = Kind::Choice;
        own += choice;
        others = matching + gaps;
    } else if (kind == QLatin1String("matching")) {
        out->kind = Kind::Matching;
        own += matching;
        others = choice + gaps;
    } else if (kind == QLatin1String("gaps")) {
        out->kind = Kind::Gaps;
        own += gaps;
        others = choice + matching;
    } else {
        known = false;
        if (!kind.isEmpty())
            r.fault(q["kind"], QStringLiteral("непознат вид въпрос %1: възможни са choice, "
                                              "matching и gaps")
                                   .arg(quoted(kind)));
        own += choice + matching + gaps;
    }
    checkKeys(r, q, own, others, kind);

    readText(r, q, "condition", true, &out->condition,
             QStringLiteral("условието („condition“) е празно"));
    readText(r, q, "full", false, &out->fullAnswer);
    readInt(r, q, "test", false, &out->test);
    readPicture(r, contentFolder, q, out);
    // A choice question has no items to add up, so its points must be given.
    bool pointsGiven = false;
    const bool pointsOk =
        readPoints(r, q, known && out->kind == Kind::Choice, &out->points, &pointsGiven);
    if (!known)
        return false;
    Parts parts;
    parts.pointsGiven = pointsGiven && pointsOk;
    const int itemFaultsBefore = r.faults();
    switch (out->kind) {
    case Kind::Choice:
        readChoice(r, q, out, &parts);
        break;
    case Kind::Matching:
        readMatching(r, q, out, &parts);
        break;
    case Kind::Gaps:
        readGaps(r, q, out, &parts);
        break;
    }
    if (!parts.pointsGiven && out->kind != Kind::Choice)
        out->points = question::itemPoints(*out);
    reportFaults(r, q, *out, parts);
    if (r.faults() == itemFaultsBefore)
        noteItems(r, q, *out, parts);
    return r.faults() == faultsBefore;
}

// The section's own fields; returns whether its questions are a list.
bool readSection(Reader& r, const YamlNode& s, int number, Section* out) {
    r.section = QStringLiteral("№ %1").arg(number);
    r.question = 0;
    out->line = Reader::lineOf(s);
    if (!s.isMap()) {
        r.fault(s, QStringLiteral("разделът трябва да е запис с полетата section, table и "
                                  "questions"));
        return false;
    }
    checkKeys(r, s,
              {QStringLiteral("section"), QStringLiteral("table"), QStringLiteral("questions")});
    if (readText(r, s, "section", true, &out->name, QStringLiteral("името на раздела е празно")))
        r.section = out->name;
    if (readText(r, s, "table", true, &out->table,
                 QStringLiteral("името на таблицата („table“) е празно")) &&
        !isTableName(out->table))
        r.fault(s["table"], QStringLiteral("името на таблицата %1 трябва да е от латински букви, "
                                           "цифри и _, да не започва с цифра, нито със sqlite_")
                                .arg(quoted(out->table)));
    YamlNode questions;
    return readList(r, s, "questions", &questions);
}

// The lists a bank source streams: the questions of its sections.
const YamlStream kQuestions{"sections", "questions"};

// Whether the file is UTF-8 throughout, read a block at a time. A block ends
// at a line break, which no multi-byte character contains, so that each is
// decoded whole.
bool isUtf8File(QFile& f) {
    constexpr qint64 kBlock = 4 * 1024 * 1024;
    QByteArray carry;
    while (!f.atEnd()) {
        QByteArray block = carry + f.read(kBlock);
        const qsizetype cut = f.atEnd() ? block.size() : block.lastIndexOf('\n') + 1;
        carry = block.mid(cut);
        block.truncate(cut);
        if (!isUtf8(block))
            return false;
    }
    return isUtf8(carry);
}

std::string localPath(const QString& path) {
    return QFile::encodeName(path).toStdString();
}

// The file's one YAML document without the items of `stream`, or an
// undefined node after reporting why.
//
// yaml-cpp makes no progress over some damaged files (a stray "," before
// everything else) and yields empty documents at one place for ever, so the
// walk stops there.
//
// An anchor (&name) and its aliases (*name) let a small file stand for an
// enormous one: a few lines of aliases of aliases make a million questions,
// which every walk over them would expand. A bank has no use for them, so
// they are refused before anything is read.
YamlNode loadDocument(Reader& r, const QString& path, const YamlStream& stream,
                      bool* fast = nullptr) {
    QFile f(path);
    if (!f.open(QIODevice::ReadOnly)) {
        r.fault(0, QStringLiteral("файлът не може да бъде прочетен: %1").arg(fileFault(f)));
        return YamlNode::undefined();
    }
    if (!isUtf8File(f)) {
        f.seek(0);
        int line = 1;
        for (const QByteArray& l : f.readAll().split('\n')) {
            if (!isUtf8(l))
                break;
            ++line;
        }
        r.fault(line, QStringLiteral("файлът не е в кодировка UTF-8: запишете го като UTF-8"));
        return YamlNode::undefined();
    }
    f.close();
    YamlScan scan;
    try {
        scan = scanYaml(localPath(path), stream);
    } catch (const YAML::Exception& e) {
        r.fault(e.mark.is_null() ? 0 : e.mark.line + 1,
                QStringLiteral("неправилен запис на YAML: %1").arg(yamlFault(e.msg)));
        return YamlNode::undefined();
    }
    if (scan.stallLine) {
        r.fault(scan.stallLine,
                QStringLiteral("неправилен запис на YAML: знакът в колона %1 не е на мястото си")
                    .arg(scan.stallColumn));
        return YamlNode::undefined();
    }
    if (scan.anchorLine) {
        r.fault(scan.anchorLine,
                QStringLiteral("котви и препратки на YAML (&име, *име) не се приемат: всеки "
                               "раздел и въпрос се пише изцяло"));
        return YamlNode::undefined();
    }
    if (scan.documents > 1) {
        r.fault(scan.secondLine,
                QStringLiteral("файлът съдържа повече от един документ (ред „---“)"));
        return YamlNode::undefined();
    }
    if (scan.documents == 0 || scan.root.isNull()) {
        r.fault(0, QStringLiteral("файлът е празен"));
        return YamlNode::undefined();
    }
    if (fast)
        *fast = scan.fast;
    return scan.root;
}

// The sections of a source in the order of the file, each taken up when the
// first of its questions arrives (or a later section's), so that its own
// findings come before those of its questions, as they stand in the file.
class SectionWalk {
public:
    SectionWalk(Reader& r, const QString& contentFolder, const YamlNode& sections, Source* out)
        : m_r(r), m_folder(contentFolder), m_sections(sections), m_out(out) {}

    void question(int section, int number, const YamlNode& q) {
        while (m_next <= section)
            open();
        m_r.question = number + 1;
        Question read;
        if (readQuestion(m_r, m_folder, q, &read) && read.test == 1)
            ++m_usable;
        if (!m_r.sink || m_r.sink->question(read, m_r.faults() == 0))
            m_section.questions.append(read);
    }

    void finish() {
        while (m_next < int(m_sections.size()))
            open();
        close();
    }

private:
    void open() {
        close();
        m_node = m_sections[std::size_t(m_next)];
        m_section = Section();
        m_usable = 0;
        m_listed = readSection(m_r, m_node, ++m_next, &m_section);
        m_open = true;
        if (m_r.sink)
            m_r.sink->beginSection(m_section, m_r.faults() == 0);
    }

    void close() {
        if (!m_open)
            return;
        m_open = false;
        m_r.question = 0;
        if (m_listed && m_usable < 2)
            m_r.warn(m_node, fewQuestionsWarning(m_usable));
        m_out->sections.append(m_section);
    }

    Reader& m_r;
    QString m_folder;
    YamlNode m_sections;
    Source* m_out;
    YamlNode m_node;
    Section m_section;
    int m_next = 0;
    int m_usable = 0;
    bool m_listed = false;
    bool m_open = false;
};

void readSource(Reader& r, const QString& contentFolder, const QString& relativeFile,
                Source* outp) {
    Source& out = *outp;
    const QString path = QDir(contentFolder).filePath(relativeFile);
    bool fast = false;
    const YamlNode root = loadDocument(r, path, kQuestions, &fast);
    if (!root.isDefined())
        return;
    if (!root.isMap()) {
        r.fault(root,
                QStringLiteral("файлът трябва да съдържа полетата class, subject и sections"));
        return;
    }
    checkKeys(r, root,
              {QStringLiteral("class"), QStringLiteral("subject"), QStringLiteral("sections")});
    const YamlNode cls = root["class"];
    if (readInt(r, root, "class", true, &out.classNo) && (out.classNo < 1 || out.classNo > 13)) {
        r.fault(cls, QStringLiteral("класът трябва да е цяло число от 1 до 13, а е %1")
                         .arg(quoted(str(cls))));
        out.classNo = 0;
    }
    readText(r, root, "subject", true, &out.subject, QStringLiteral("предметът е празен"));
    YamlNode sections;
    if (!readList(r, root, "sections", &sections))
        return;
    if (sections.size() == 0)
        r.fault(sections, QStringLiteral("файлът няма нито един раздел"));
    if (r.sink)
        r.sink->beginSource(out, r.faults() == 0);
    SectionWalk walk(r, contentFolder, sections, &out);
    streamYaml(localPath(path), fast, kQuestions, [&](int section, int number, const YamlNode& q) {
        walk.question(section, number, q);
    });
    walk.finish();
}

void readDictionary(Reader& r, const QString& contentFolder, const QString& relativeFile,
                    Dictionary* outp) {
    Dictionary& out = *outp;
    const YamlNode root = loadDocument(r, QDir(contentFolder).filePath(relativeFile), YamlStream{});
    if (!root.isDefined())
        return;
    if (!root.isMap()) {
        r.fault(root, QStringLiteral("файлът трябва да съдържа полетата lang, table и words"));
        return;
    }
    checkKeys(r, root, {QStringLiteral("lang"), QStringLiteral("table"), QStringLiteral("words")});
    readText(r, root, "lang", true, &out.lang,
             QStringLiteral("името на речника („lang“) е празно"));
    if (readText(r, root, "table", true, &out.table,
                 QStringLiteral("името на таблицата („table“) е празно"))) {
        if (!isTableName(out.table))
            r.fault(root["table"], QStringLiteral("името на таблицата %1 трябва да е от латински "
                                                  "букви, цифри и _, да не започва с цифра, нито "
                                                  "със sqlite_")
                                       .arg(quoted(out.table)));
        else if (out.table.compare(QLatin1String("dicts"), Qt::CaseInsensitive) == 0)
            r.fault(root["table"], QStringLiteral("името „dicts“ е заето от списъка на речниците"));
    }
    YamlNode words;
    if (!readList(r, root, "words", &words))
        return;
    if (words.size() == 0)
        r.warn(words, QStringLiteral("речникът няма нито една дума"));
    for (std::size_t i = 0; i < words.size(); ++i) {
        const YamlNode w = words[i];
        const int n = int(i) + 1;
        QString word, trans;
        if (!w.isSequence() || w.size() != 2 || !itemText(w[0], &word) || !itemText(w[1], &trans)) {
            r.fault(w, QStringLiteral("дума %1 трябва да е [дума, превод]").arg(n));
            continue;
        }
        if (word.isEmpty() || trans.isEmpty()) {
            r.fault(w,
                    QStringLiteral("дума %1 няма %2")
                        .arg(n)
                        .arg(word.isEmpty() ? QStringLiteral("дума") : QStringLiteral("превод")));
            continue;
        }
        out.words.append({word, trans});
    }
}

} // namespace

QString fewQuestionsWarning(int usable) {
    return QStringLiteral("разделът има %1 използваеми въпроса (с test 1 и без грешки), а "
                          "програмата показва само раздели с поне 2")
        .arg(usable);
}

QString giveawayWarning(int pair, const QString& word, const QString& term) {
    return QStringLiteral("значението на двойка %1 повтаря думата %2 от своя термин %3 и от никой "
                          "друг: подсказва двойката")
        .arg(pair)
        .arg(quoted(word), quoted(term));
}

QString pointsWarning(Kind kind, int given, int sum) {
    return QStringLiteral("точките на въпроса (%1) се различават от сбора на точките на %2 (%3): "
                          "оценката %4")
        .arg(given)
        .arg(itemsName(kind))
        .arg(sum)
        .arg(given < sum ? QStringLiteral("може да стане по-висока от 6")
                         : QStringLiteral("не може да стигне 6"));
}

bool isTableName(const QString& name) {
    if (name.isEmpty() || name[0].isDigit() ||
        name.startsWith(QLatin1String("sqlite_"), Qt::CaseInsensitive))
        return false;
    for (QChar c : name) {
        const bool ok = (c >= QLatin1Char('a') && c <= QLatin1Char('z')) ||
                        (c >= QLatin1Char('A') && c <= QLatin1Char('Z')) ||
                        (c >= QLatin1Char('0') && c <= QLatin1Char('9')) || c == QLatin1Char('_');
        if (!ok)
            return false;
    }
    return true;
}

namespace {

// Reads one file into `T` with `read`; a shape the checks did not foresee
// still ends as a finding, never as an exception.
template <class T>
T readFile(const QString& contentFolder, const QString& relativeFile, QList<Issue>* issues,
           void (*read)(Reader&, const QString&, const QString&, T*), QuestionSink* sink = nullptr,
           PictureCache* pictures = nullptr) {
    T out;
    out.file = relativeFile;
    Reader r(relativeFile, issues);
    PictureCache own;
    r.sink = sink;
    r.pictures = pictures ? pictures : &own;
    try {
        read(r, contentFolder, relativeFile, &out);
    } catch (const YAML::Exception& e) {
        r.fault(0, QStringLiteral("файлът не може да бъде разчетен: %1").arg(yamlFault(e.msg)));
    }
    return out;
}

} // namespace

Source parseSource(const QString& contentFolder, const QString& relativeFile, QList<Issue>* issues,
                   QuestionSink* sink, PictureCache* pictures) {
    return readFile(contentFolder, relativeFile, issues, &readSource, sink, pictures);
}

Dictionary parseDictionary(const QString& contentFolder, const QString& relativeFile,
                           QList<Issue>* issues) {
    return readFile(contentFolder, relativeFile, issues, &readDictionary);
}

} // namespace bank
