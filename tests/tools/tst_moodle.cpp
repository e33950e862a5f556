#include "tools/moodle/commands.h"
#include "tools/moodle/moodleimport.h"

#include "media/picture.h"
#include "store/connection.h"
#include "store/connstr.h"
#include "store/query.h"
#include "tools/bank/bank.h"
#include "tools/bank/source.h"
#include "tools/jpeg/jpegwrite.h"

#include <QBuffer>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QImage>
#include <QRegularExpression>
#include <QTemporaryDir>
#include <QTest>
#include <QTextStream>

// kivor-bank import-moodle and export-moodle over Moodle XML written here from
// the format's documentation: what each question becomes, what is left out
// and why, the pictures, the way back to Moodle and into the databases.
class TestMoodle : public QObject {
    Q_OBJECT
private slots:
    void init();
    void convert_data();
    void convert();
    void sections_data();
    void sections();
    void pictures_data();
    void pictures();
    void sharedPicture();
    void findingsAsReadBack();
    void malformedFileWritesNothing_data();
    void malformedFileWritesNothing();
    void roundTrip();
    void importedBankBuilds();
    void commandLine_data();
    void commandLine();

private:
    QString path(const QString& relative) const { return m_dir->filePath(relative); }
    void put(const QString& relative, const QByteArray& bytes) const;
    int command(const QStringList& arguments, QString* err = nullptr) const;

    std::unique_ptr<QTemporaryDir> m_dir;
};

namespace {

using moodle::ImportOptions;

QByteArray quiz(const QByteArray& questions) {
    return "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n<quiz>\n" + questions + "</quiz>\n";
}

QByteArray text(const QByteArray& tag, const QByteArray& html) {
    return "<" + tag + " format=\"html\"><text><![CDATA[" + html + "]]></text></" + tag + ">";
}

QByteArray answer(int fraction, const QByteArray& html) {
    return "<answer fraction=\"" + QByteArray::number(fraction) +
           "\" format=\"html\"><text><![CDATA[" + html + "]]></text></answer>";
}

QByteArray xmlQuestion(const QByteArray& type, const QByteArray& body, const QByteArray& rest,
                       const QByteArray& grade = "1.0000000") {
    return "<question type=\"" + type + "\"><name><text>В " + type + "</text></name>" +
           text("questiontext", body) + "<defaultgrade>" + grade + "</defaultgrade>" + rest +
           "</question>\n";
}

QByteArray choice(const QByteArray& body, const QList<int>& fractions,
                  const QByteArray& grade = "1") {
    QByteArray answers;
    for (int i = 0; i < fractions.size(); ++i)
        answers += answer(fractions[i], "отг" + QByteArray::number(i + 1));
    return xmlQuestion("multichoice", body, "<single>true</single>" + answers, grade);
}

QByteArray pair(const QByteArray& term, const QByteArray& meaning) {
    return "<subquestion format=\"html\"><text>" + term + "</text><answer><text>" + meaning +
           "</text></answer></subquestion>";
}

QByteArray pairs(int n) {
    QByteArray out;
    for (int i = 1; i <= n; ++i)
        out += pair("t" + QByteArray::number(i), "m" + QByteArray::number(i));
    return out;
}

QByteArray box(const QByteArray& tag, const QByteArray& word, int group = 1) {
    return "<" + tag + "><text>" + word + "</text><group>" + QByteArray::number(group) +
           "</group></" + tag + ">";
}

QByteArray imageFile(const QByteArray& name, const QByteArray& bytes) {
    return "<file name=\"" + name + "\" path=\"/\" encoding=\"base64\">" + bytes.toBase64() +
           "</file>";
}

QByteArray pngBytes(int w, int h) {
    QImage image(w, h, QImage::Format_RGB32);
    image.fill(QColor(200, 30, 30));
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    image.save(&buffer, "PNG");
    return bytes;
}

QByteArray jpegBytes(int w, int h) {
    QImage image(w, h, QImage::Format_RGB32);
    image.fill(QColor(30, 30, 200));
    return encodeJpeg(image, 80);
}

// A picture question: its text with the <img>, and its files.
QByteArray pictureQuestion(const QByteArray& img, const QByteArray& files,
                           const QByteArray& rest = {}) {
    return "<question type=\"multichoice\"><name><text>С картина</text></name>"
           "<questiontext format=\"html\"><text><![CDATA[<p>Какво има тук?</p>" +
           img + "]]></text>" + files + "</questiontext>" + rest + answer(100, "а") +
           answer(0, "б") + answer(0, "в") + answer(0, "г") + "</question>\n";
}

ImportOptions options() {
    ImportOptions o;
    o.classNo = 5;
    o.subject = QStringLiteral("математика");
    o.defaultSection = QStringLiteral("внесени");
    return o;
}

// One line that says everything a question holds.
QString summary(const bank::Question& q) {
    QStringList parts;
    switch (q.kind) {
    case bank::Kind::Choice:
        parts << QStringLiteral("choice") << q.condition << q.question
              << q.answers.join(QLatin1Char('/')) << QString(q.right);
        break;
    case bank::Kind::Matching: {
        QStringList items;
        for (const bank::Pair& p : q.pairs)
            items.append(QStringLiteral("%1=%2:%3").arg(p.term, p.meaning).arg(p.points));
        parts << QStringLiteral("matching") << q.condition << items.join(QStringLiteral("; "));
        break;
    }
    case bank::Kind::Gaps: {
        QString t = q.gaps.text;
        for (int i = int(q.gaps.starts.size()) - 1; i >= 0; --i)
            t.replace(q.gaps.starts[i], 7,
                      QStringLiteral("[%1|%2]").arg(q.gaps.words[i]).arg(q.gaps.points[i]));
        parts << QStringLiteral("gaps") << q.condition << t;
        break;
    }
    }
    parts << QString::number(q.points);
    if (!q.fullAnswer.isEmpty())
        parts << q.fullAnswer;
    return parts.join(QLatin1Char('|'));
}

QStringList summaries(const moodle::Import& im) {
    QStringList out;
    for (const moodle::ImportedSection& s : im.sections)
        for (const moodle::ImportedQuestion& q : s.questions)
            out.append(s.name + QLatin1Char('>') + summary(q.question));
    return out;
}

// Every kind, a picture, a condition of its own, entities and several lines.
QByteArray sample() {
    return quiz(
        "<question type=\"category\"><category><text>$course$/top/По подразбиране/Дроби</text>"
        "</category></question>\n" +
        QByteArray("<question type=\"multichoice\"><name><text>Дроби</text></name>"
                   "<questiontext format=\"html\"><text><![CDATA[<p class=\"kivor-condition\">"
                   "Пресметнете.</p><p>Колко е 1/2 + 1/4?<br>Изберете &laquo;най-простия&raquo; "
                   "запис.</p><img src=\"@@PLUGINFILE@@/pie.png\">]]></text>") +
        imageFile("pie.png", pngBytes(6, 4)) + "</questiontext><defaultgrade>2</defaultgrade>" +
        answer(0, "2/6") + answer(100, "3/4") + answer(-25, "1/8") + answer(0, "6/8") +
        text("generalfeedback", "1/2 = 2/4 &amp; 2/4 + 1/4 = 3/4") + "</question>\n" +
        "<question type=\"category\"><category><text>$course$/top/Думи</text></category>"
        "</question>\n" +
        xmlQuestion("matching", "<p>Свържете дробта с процента.</p>",
                    pair("1/2", "50%") + pair("1/4", "25%") + pair("3/4", "75%"), "5") +
        xmlQuestion("ddwtos", "<p>Числителят е [[1]] чертата,</p><p>знаменателят – [[2]] нея.</p>",
                    box("dragbox", "над") + box("dragbox", "под"), "3"));
}

} // namespace

void TestMoodle::init() {
    m_dir = std::make_unique<QTemporaryDir>();
    QVERIFY(m_dir->isValid());
}

void TestMoodle::put(const QString& relative, const QByteArray& bytes) const {
    QVERIFY(QDir().mkpath(QFileInfo(path(relative)).absolutePath()));
    QFile f(path(relative));
    QVERIFY(f.open(QIODevice::WriteOnly | QIODevice::Truncate));
    f.write(bytes);
}

// import-moodle or export-moodle, as kivor-bank's main calls them.
int TestMoodle::command(const QStringList& arguments, QString* err) const {
    QString out, errText;
    QTextStream outStream(&out), errStream(&errText);
    const QStringList rest = arguments.mid(1);
    const int code = arguments.first() == QLatin1String("import-moodle")
                         ? moodle::importCommand(rest, outStream, errStream)
                         : moodle::exportCommand(rest, outStream, errStream);
    if (err)
        *err = errText;
    return code;
}

void TestMoodle::convert_data() {
    QTest::addColumn<QByteArray>("xml");
    QTest::addColumn<QString>("expected"); // summary, or "пропуснат: " and words of the reason
    QTest::addColumn<QString>("note");     // words of the comment or of a note

    const QList<int> second = {0, 100, 0, 0};
    QTest::newRow("choice")
        << choice("<p>Колко е 2 + 2?</p>", second, "2.0000000")
        << "choice|Изберете верния отговор.|Колко е 2 + 2?|отг1/отг2/отг3/отг4|Б|2"
        << "";
    QTest::newRow("choice, wrong answers with negative marks")
        << choice("Кое?", {-50, -50, 0, 100})
        << "choice|Изберете верния отговор.|Кое?|отг1/отг2/отг3/отг4|Г|1"
        << "";
    QTest::newRow("html and entities")
        << choice("<div><p>Кое е &quot;вярно&quot;&nbsp;&amp; <b>точно</b>?<br/>Второ&#160;ред"
                  "&#x21;</p><!-- скрито --><script>x()</script><ol><li>едно</li><li>две</li>"
                  "</ol><ul><li>&laquo;а&raquo; &ndash; 5 cm<sup>2</sup>, H<sub>2</sub>O</li>"
                  "</ul></div>",
                  second)
        << "choice|Изберете верния отговор.|Кое е \"вярно\" & точно?\nВторо ред!\n1. едно\n"
           "2. две\n• «а» – 5 cm², H₂O|отг1/отг2/отг3/отг4|Б|1"
        << "";
    QTest::newRow("condition of its own")
        << choice("<p class=\"kivor-condition\">Прочетете.</p><p>Кое?</p>", second)
        << "choice|Прочетете.|Кое?|отг1/отг2/отг3/отг4|Б|1"
        << "";
    QTest::newRow("grade rounded") << choice("Кое?", second, "1.5")
                                   << "choice|Изберете верния отговор.|Кое?|отг1/отг2/отг3/отг4|Б|2"
                                   << "закръглени до 2";
    QTest::newRow("five answers") << choice("Кое?", {100, 0, 0, 0, 0}) << "пропуснат: 5 отговора"
                                  << "";
    QTest::newRow("three answers") << choice("Кое?", {100, 0, 0}) << "пропуснат: 3 отговора"
                                   << "";
    QTest::newRow("two right") << choice("Кое?", {100, 100, 0, 0})
                               << "пропуснат: верните отговори са 2"
                               << "";
    QTest::newRow("two half right")
        << choice("Кое?", {50, 0, 50, 0}) << "пропуснат: верните отговори са 2"
        << "";
    QTest::newRow("partly right") << choice("Кое?", {0, 50, -50, 0})
                                  << "пропуснат: носи 50% от точките"
                                  << "";
    QTest::newRow("none right") << choice("Кое?", {0, 0, 0, 0}) << "пропуснат: нито един"
                                << "";
    QTest::newRow("empty answer") << xmlQuestion("multichoice", "Кое?",
                                                 answer(100, "а") + answer(0, "<p> </p>") +
                                                     answer(0, "в") + answer(0, "г"))
                                  << "пропуснат: отговор 2 е празен"
                                  << "";
    QTest::newRow("truefalse") << xmlQuestion("truefalse", "Вярно ли е?",
                                              answer(100, "true") + answer(0, "false"))
                               << "пропуснат: вярно/невярно"
                               << "";
    QTest::newRow("shortanswer") << xmlQuestion("shortanswer", "Столицата?", answer(100, "София"))
                                 << "пропуснат: пише свободно"
                                 << "";
    QTest::newRow("essay") << xmlQuestion("essay", "Опишете.", "") << "пропуснат: пише свободно"
                           << "";
    QTest::newRow("cloze") << xmlQuestion("multianswer", "{1:SHORTANSWER:=а}", "")
                           << "пропуснат: cloze"
                           << "";

    QTest::newRow("matching") << xmlQuestion("matching", "<p>Свържете.</p>", pairs(3), "5")
                              << "matching|Свържете.|t1=m1:2; t2=m2:2; t3=m3:1|5"
                              << "5 т. за 3 двойки: 2 + 2 + 1";
    QTest::newRow("matching, grade below the pairs")
        << xmlQuestion("matching", "Свържете.", pairs(3), "1")
        << "matching|Свържете.|t1=m1:1; t2=m2:1; t3=m3:1|3"
        << "всяка получава 1, въпросът носи 3";
    QTest::newRow("matching, extra meanings")
        << xmlQuestion("matching", "", pairs(2) + pair("", "излишно"), "2")
        << "matching|Свържете всяко понятие с неговото значение.|t1=m1:1; t2=m2:1|2"
        << "значенията без понятие отпадат: „излишно“";
    QTest::newRow("matching, ten pairs") << xmlQuestion("matching", "С.", pairs(10), "10")
                                         << "matching|С.|t1=m1:1; t2=m2:1; t3=m3:1; t4=m4:1; "
                                            "t5=m5:1; t6=m6:1; t7=m7:1; t8=m8:1; t9=m9:1; "
                                            "t10=m10:1|10"
                                         << "";
    QTest::newRow("matching, eleven pairs")
        << xmlQuestion("matching", "С.", pairs(11)) << "пропуснат: 11 двойки"
        << "";
    QTest::newRow("matching, one pair")
        << xmlQuestion("matching", "С.", pairs(1)) << "пропуснат: поне две"
        << "";
    QTest::newRow("matching, meaning twice")
        << xmlQuestion("matching", "С.", pair("a", "x") + pair("b", "x"))
        << "пропуснат: „x“ е дадено"
        << "";

    QTest::newRow("ddwtos") << xmlQuestion("ddwtos", "<p>Котката [[1]] на [[3]].</p>",
                                           box("dragbox", "седи") + box("dragbox", "лежи") +
                                               box("dragbox", "стола", 2) +
                                               box("dragbox", "пода", 2),
                                           "3")
                            << "gaps|Попълнете пропуснатите думи.|Котката [седи|2] на [стола|1].|3"
                            << "думите без празнина отпадат: „лежи“, „пода“";
    QTest::newRow("ddwtos, hints")
        << xmlQuestion("ddwtos", "[[1]]",
                       box("dragbox", "да") + text("hint", "Помислете.") + text("hint", " "))
        << "gaps|Попълнете пропуснатите думи.|[да|1]|1"
        << "подсказките отпадат: „Помислете.“";
    QTest::newRow("gapselect") << xmlQuestion("gapselect", "[[2]] е столица.",
                                              box("selectoption", "Пловдив") +
                                                  box("selectoption", "София"),
                                              "1")
                               << "gaps|Попълнете пропуснатите думи.|[София|1] е столица.|1"
                               << "";
    QTest::newRow("ddwtos, a word in two gaps")
        << xmlQuestion("ddwtos", "[[1]] и [[1]]", box("dragbox", "да"), "4")
        << "gaps|Попълнете пропуснатите думи.|[да|2] и [да|2]|4"
        << "";
    QTest::newRow("ddwtos, a word in two groups")
        << xmlQuestion("ddwtos", "[[1]] и [[3]]",
                       box("dragbox", "да") + box("dragbox", "не") + box("dragbox", "да", 2))
        << "пропуснат: в групи 1 и 2"
        << "";
    QTest::newRow("ddwtos, missing choice")
        << xmlQuestion("ddwtos", "[[5]]", box("dragbox", "да")) << "пропуснат: [[5]]"
        << "";
    QTest::newRow("ddwtos, no gap")
        << xmlQuestion("ddwtos", "Нищо.", box("dragbox", "да")) << "пропуснат: нито една празнина"
        << "";
    QTest::newRow("ddwtos, bracket in the text")
        << xmlQuestion("ddwtos", "[[1]] [бележка]", box("dragbox", "да"))
        << "пропуснат: извън празнина"
        << "";
    QTest::newRow("ddwtos, bar in a word")
        << xmlQuestion("ddwtos", "[[1]]", box("dragbox", "а|б")) << "пропуснат: „|“"
        << "";

    const QByteArray png = pngBytes(4, 4);
    QTest::newRow("two pictures")
        << pictureQuestion("<img src=\"@@PLUGINFILE@@/a.png\"><img src=\"@@PLUGINFILE@@/b.png\">",
                           imageFile("a.png", png) + imageFile("b.png", png))
        << "пропуснат: 2 изображения"
        << "";
    QTest::newRow("gif") << pictureQuestion("<img src=\"@@PLUGINFILE@@/a.gif\">",
                                            imageFile("a.gif", "GIF89a\x01\x00\x01\x00"))
                         << "пропуснат: не е JPEG или PNG"
                         << "";
    QTest::newRow("picture elsewhere")
        << pictureQuestion("<img src=\"http://x/a.png\">", "") << "пропуснат: извън файла"
        << "";
    QTest::newRow("picture missing") << pictureQuestion("<img src=\"@@PLUGINFILE@@/a.png\">", "")
                                     << "пропуснат: липсва във файла"
                                     << "";
    QTest::newRow("old-style picture without its bytes")
        << pictureQuestion("", "", "<image>p.png</image>") << "пропуснат: липсва във файла"
        << "";
    const QByteArray mp3 = imageFile("a.mp3", "ID3\x03");
    for (const char* media :
         {"<audio controls><source src=\"@@PLUGINFILE@@/a.mp3\"></audio>",
          "<video src=\"http://x/v.webm\"></video>", "<embed src=\"v.swf\">",
          "<object data=\"v\"></object>", "<a href=\"@@PLUGINFILE@@/a.mp3\">чуйте</a>",
          "<a href=\"@@PLUGINFILE@@/%D0%B7\">запис</a>"})
        QTest::newRow(media) << pictureQuestion(media, mp3 + imageFile("з", "OggS"))
                             << "пропуснат: звук или видео"
                             << "";
}

void TestMoodle::convert() {
    QFETCH(QByteArray, xml);
    QFETCH(QString, expected);
    QFETCH(QString, note);
    const moodle::Import im = moodle::readMoodleXml(quiz(xml), options());
    QVERIFY2(im.fault.isEmpty(), qPrintable(im.fault));
    QCOMPARE(im.questionCount() + im.skipped.size(), 1);
    if (expected.startsWith(QStringLiteral("пропуснат: "))) {
        QCOMPARE(im.skipped.size(), 1);
        QVERIFY2(im.skipped.first().message.contains(expected.mid(11)),
                 qPrintable(im.skipped.first().message));
        QVERIFY(im.skipped.first().name.startsWith(QStringLiteral("В ")) ||
                im.skipped.first().name == QStringLiteral("С картина"));
        return;
    }
    QVERIFY2(im.skipped.isEmpty(), qPrintable(im.skipped.value(0).message));
    const moodle::ImportedQuestion& q = im.sections.first().questions.first();
    QCOMPARE(summary(q.question), expected);
    QString said = q.note;
    for (const moodle::Finding& f : im.notes)
        said += QLatin1Char('\n') + f.message;
    if (!note.isEmpty())
        QVERIFY2(said.contains(note), qPrintable(said));
}

void TestMoodle::sections_data() {
    QTest::addColumn<QByteArray>("xml");
    QTest::addColumn<QString>("section");
    QTest::addColumn<QString>("table");
    QTest::addColumn<QString>("expected"); // section:table, one per section

    const QByteArray q = choice("Кое?", {100, 0, 0, 0});
    auto category = [](const QByteArray& path) {
        return "<question type=\"category\"><category><text>" + path +
               "</text></category></question>";
    };
    const QByteArray two = category("$course$/top/5а/Дроби и проценти") + q +
                           category("$course$/top/Геометрия: ъгли") + q + q;
    QTest::newRow("categories") << two << ""
                                << ""
                                << "Дроби и проценти:m5_drobi_i_protsenti Геометрия: "
                                   "ъгли:m5_geometriya_agli";
    QTest::newRow("section given") << two << "Всичко"
                                   << ""
                                   << "Всичко:m5_vsichko";
    QTest::newRow("section and table") << two << "Всичко"
                                       << "mat5_all"
                                       << "Всичко:mat5_all";
    QTest::newRow("table heads the categories")
        << two << ""
        << "mat5"
        << "Дроби и проценти:mat5_drobi_i_protsenti Геометрия: ъгли:mat5_geometriya_agli";
    QTest::newRow("before any category") << q + category("$course$/top") + q << ""
                                         << ""
                                         << "внесени:m5_vneseni";
    QTest::newRow("slash in a name") << category("$course$/top/a//b") + q << ""
                                     << ""
                                     << "a/b:m5_a_b";
    QTest::newRow("same table twice")
        << category("$course$/Дроби") + q + category("$course$/дроби!") + q << ""
        << ""
        << "Дроби:m5_drobi дроби!:m5_drobi_2";
    QTest::newRow("no letters left") << category("$course$/top/★") + q << ""
                                     << ""
                                     << "★:m5_1";
    QTest::newRow("index-like name") << category("$course$/x ix1") + q << ""
                                     << ""
                                     << "x ix1:m5_x_ix1_t";
}

void TestMoodle::sections() {
    QFETCH(QByteArray, xml);
    QFETCH(QString, section);
    QFETCH(QString, table);
    QFETCH(QString, expected);
    ImportOptions o = options();
    o.section = section;
    o.table = table;
    const moodle::Import im = moodle::readMoodleXml(quiz(xml), o);
    QStringList got;
    for (const moodle::ImportedSection& s : im.sections) {
        got.append(s.name + QLatin1Char(':') + s.table);
        QVERIFY(bank::isTableName(s.table));
    }
    QCOMPARE(got.join(QLatin1Char(' ')), expected);
}

void TestMoodle::pictures_data() {
    QTest::addColumn<QByteArray>("xml");
    QTest::addColumn<QByteArray>("jpeg"); // bytes to be kept as they are; empty: converted
    QTest::addColumn<QSize>("size");

    const QByteArray jpeg = jpegBytes(12, 7);
    QTest::newRow("png") << pictureQuestion("<img src=\"@@PLUGINFILE@@/%D0%BF%D0%B0%201.png\">",
                                            imageFile("па 1.png", pngBytes(10, 6)))
                         << QByteArray() << QSize(10, 6);
    QTest::newRow("jpeg") << pictureQuestion("<img src=\"@@PLUGINFILE@@/p.jpg\">",
                                             imageFile("p.jpg", jpeg))
                          << jpeg << QSize(12, 7);
    QTest::newRow("data address") << pictureQuestion("<img src=\"data:image/png;base64," +
                                                         pngBytes(3, 5).toBase64() + "\">",
                                                     "")
                                  << QByteArray() << QSize(3, 5);
    QTest::newRow("large jpeg") << pictureQuestion("<img src=\"@@PLUGINFILE@@/p.jpg\">",
                                                   imageFile("p.jpg", jpegBytes(2000, 1500)))
                                << QByteArray() << QSize(1024, 768);
    QTest::newRow("old-style image")
        << pictureQuestion("", "",
                           "<image>стари/p.jpg</image><image_base64>\n" + jpeg.toBase64() +
                               "\n</image_base64>")
        << jpeg << QSize(12, 7);
}

void TestMoodle::pictures() {
    QFETCH(QByteArray, xml);
    QFETCH(QByteArray, jpeg);
    QFETCH(QSize, size);
    put(QStringLiteral("in.xml"), quiz(xml));
    QCOMPARE(command({"import-moodle", path("in.xml"), "--class", "6", "--subject", "x",
                      "--section", "Картини", "-o", path("content/banks/p.yaml")}),
             0);
    // Named in the source relative to the content folder, which kivor-bank reads.
    const QString picture = path(QStringLiteral("content/pictures/m6_kartini_1.jpg"));
    QFile source(path("content/banks/p.yaml"));
    QVERIFY(source.open(QIODevice::ReadOnly));
    QVERIFY(source.readAll().contains("picture: pictures/m6_kartini_1.jpg"));
    QCOMPARE(loadJpegFile(picture).size(), size);
    QFile f(picture);
    QVERIFY(f.open(QIODevice::ReadOnly));
    const QByteArray stored = f.readAll();
    if (!jpeg.isEmpty())
        QCOMPARE(stored, jpeg);
    QCOMPARE(decodePicture(stored).size(), size);
}

void TestMoodle::malformedFileWritesNothing_data() {
    QTest::addColumn<QByteArray>("xml");
    QTest::addColumn<QString>("where");

    QTest::newRow("tag not closed")
        << QByteArray("<?xml version=\"1.0\"?>\n<quiz>\n<question "
                      "type=\"essay\">\n<name><text>x</name>\n</quiz>\n")
        << "in.xml:4: грешка: неправилен XML";
    QTest::newRow("undefined entity")
        << quiz(choice("<p>a</p>", {100, 0, 0, 0}).replace("<single>", "&nbsp;<single>"))
        << "in.xml:3: грешка: неправилен XML";
    QTest::newRow("entities of its own")
        << QByteArray("<?xml version=\"1.0\"?>\n<!DOCTYPE quiz [<!ENTITY a \"aaaaaaaa\"> "
                      "<!ENTITY b \"&a;&a;&a;&a;\">]>\n<quiz>&b;</quiz>\n")
        << "in.xml:2: грешка: файлът обявява свои знакови единици";
    QTest::newRow("not moodle") << QByteArray("<?xml version=\"1.0\"?>\n\n<html></html>")
                                << "in.xml:3: грешка: файлът не е Moodle XML";
    QTest::newRow("not xml") << QByteArray("class: 5\n") << "in.xml:1: грешка: неправилен XML";
    QTest::newRow("empty") << QByteArray() << "грешка: неправилен XML: файлът свършва";
}

void TestMoodle::malformedFileWritesNothing() {
    QFETCH(QByteArray, xml);
    QFETCH(QString, where);
    put(QStringLiteral("in.xml"), xml);
    QString err;
    QCOMPARE(command({"import-moodle", path("in.xml"), "--class", "5", "--subject", "x", "-o",
                      path("content/banks/m.yaml")},
                     &err),
             1);
    QVERIFY2(err.contains(where), qPrintable(err));
    QVERIFY(err.contains(QStringLiteral("Нищо не е записано")));
    QVERIFY(!QFileInfo::exists(path("content")));
}

void TestMoodle::roundTrip() {
    const moodle::Import first = moodle::readMoodleXml(sample(), options());
    QVERIFY(first.skipped.isEmpty());
    QCOMPARE(first.questionCount(), 3);
    put(QStringLiteral("in.xml"), sample());
    QCOMPARE(command({"import-moodle", path("in.xml"), "--class", "5", "--subject", "математика",
                      "-o", path("content/banks/m.yaml")}),
             0);
    QString err;
    QCOMPARE(command({"export-moodle", path("content/banks/m.yaml"), "-o", path("out.xml")}, &err),
             0);
    QVERIFY2(err.isEmpty(), qPrintable(err));
    QFile exported(path("out.xml"));
    QVERIFY(exported.open(QIODevice::ReadOnly));
    const QByteArray xml = exported.readAll();
    QVERIFY(xml.startsWith("<?xml version=\"1.0\" encoding=\"UTF-8\"?>"));
    QVERIFY(xml.contains("<text>$course$/top/математика/Дроби</text>"));

    const moodle::Import second = moodle::readMoodleXml(xml, options());
    QVERIFY(second.skipped.isEmpty());
    QCOMPARE(summaries(second), summaries(first));
    QCOMPARE(second.sections.first().questions.first().question.pictureData,
             first.sections.first().questions.first().question.pictureData);
    QVERIFY(!first.sections.first().questions.first().question.pictureData.isEmpty());
}

void TestMoodle::importedBankBuilds() {
    put(QStringLiteral("in.xml"), sample());
    QCOMPARE(command({"import-moodle", path("in.xml"), "--class", "5", "--subject", "математика",
                      "--section", "Дроби", "-o", path("content/banks/m.yaml")}),
             0);
    const bank::Report r = bank::build(path("content"), path("kivor"));
    QVERIFY2(!r.hasFault(), qPrintable(r.issues.value(0).text()));
    QCOMPARE(r.questions, 3);

    Connection c(connectionString(path("kivor"), DbFile::Class, 5));
    Query q;
    q.setConnection(&c);
    q.setSql({QStringLiteral("select * from m5_drobi order by num")});
    q.open();
    QCOMPARE(q.recordCount(), 3);
    q.first();
    QCOMPARE(q.text(QStringLiteral("TrueAns")), QStringLiteral("Б"));
    QCOMPARE(q.text(QStringLiteral("Condition")), QStringLiteral("Пресметнете."));
    QVERIFY(!decodePicture(q.blob(QStringLiteral("Picture"))).isNull());
    q.next();
    QCOMPARE(q.integer(QStringLiteral("typequest")), 1);
    QCOMPARE(q.integer(QStringLiteral("Scores")), 5);
    q.next();
    QCOMPARE(q.integer(QStringLiteral("typequest")), 2);
    QVERIFY(q.text(QStringLiteral("TextW"))
                .startsWith(QStringLiteral("Числителят е  .....  чертата,")));

    Query topics;
    topics.setConnectionString(connectionString(path("kivor"), DbFile::Topics));
    topics.setSql({QStringLiteral("select * from topics")});
    topics.open();
    QVERIFY(topics.locate(QStringLiteral("Table"), QStringLiteral("m5_drobi")));
}

// A picture two questions show is one file, which both name.
void TestMoodle::sharedPicture() {
    const QByteArray q =
        pictureQuestion("<img src=\"@@PLUGINFILE@@/p.jpg\">", imageFile("p.jpg", jpegBytes(12, 7)));
    put(QStringLiteral("in.xml"), quiz(q + q));
    QCOMPARE(command({"import-moodle", path("in.xml"), "--class", "6", "--subject", "x",
                      "--section", "Картини", "-o", path("content/banks/p.yaml")}),
             0);
    QFile source(path("content/banks/p.yaml"));
    QVERIFY(source.open(QIODevice::ReadOnly));
    QCOMPARE(source.readAll().count("picture: pictures/m6_kartini_1.jpg"), 2);
    QCOMPARE(QDir(path("content/pictures")).entryList(QDir::Files).size(), 1);
}

// What the import says of the source it wrote is what reading that source
// says: every warning, at the same line.
void TestMoodle::findingsAsReadBack() {
    const QByteArray gaps = xmlQuestion("ddwtos", "[[1]] и  .....  тук", box("dragbox", "да"));
    put(QStringLiteral("in.xml"), quiz(gaps + gaps));
    QString err;
    QCOMPARE(command({"import-moodle", path("in.xml"), "--class", "5", "--subject", "м", "-o",
                      path("content/banks/m.yaml")},
                     &err),
             0);
    QList<bank::Issue> readBack;
    bank::parseSource(path("content"), QStringLiteral("banks/m.yaml"), &readBack);
    QCOMPARE(readBack.size(), 2);
    for (const bank::Issue& i : readBack)
        QVERIFY2(err.contains(i.text()), qPrintable(i.text() + "\n" + err));
}

void TestMoodle::commandLine_data() {
    QTest::addColumn<QStringList>("args"); // I: the import file, C: content, O: output
    QTest::addColumn<int>("code");
    QTest::addColumn<QString>("printed");

    const QStringList import = {"import-moodle", "I", "--class", "5", "--subject", "м", "-o", "O"};
    QTest::newRow("import") << import << 0 << "пропуснат въпрос „В essay“ (essay)";
    QTest::newRow("import, class 14")
        << QStringList(import).replaceInStrings(QRegularExpression("^5$"), "14") << 2
        << "от 1 до 13";
    QTest::newRow("import, no subject")
        << import.mid(0, 4) + QStringList{"-o", "O"} << 2 << "--subject";
    QTest::newRow("import, no output") << import.mid(0, 6) << 2 << "-o";
    QTest::newRow("import, unknown option") << import + QStringList{"--force"} << 2 << "„--force“";
    QTest::newRow("import, bad table") << import + QStringList{"--table", "1x"} << 2 << "„1x“";
    QTest::newRow("import, no file")
        << QStringList(import).replaceInStrings(QRegularExpression("^I$"), "I.none") << 2
        << "не съществува";
    QTest::newRow("import, nothing to keep")
        << QStringList(import).replaceInStrings(QRegularExpression("^I$"), "I.essay") << 1
        << "Нито един въпрос";
    QTest::newRow("export a folder")
        << QStringList{"export-moodle", "C", "--class", "5", "-o", "O"} << 0 << "";
    QTest::newRow("export a folder without class")
        << QStringList{"export-moodle", "C", "-o", "O"} << 2 << "--class";
    QTest::newRow("export, nothing matches")
        << QStringList{"export-moodle", "C", "--class", "5", "--section", "няма", "-o", "O"} << 1
        << "Нито един раздел";
}

void TestMoodle::commandLine() {
    QFETCH(QStringList, args);
    QFETCH(int, code);
    QFETCH(QString, printed);
    const QByteArray essay = xmlQuestion("essay", "Опишете.", "");
    put(QStringLiteral("in.xml"), quiz(choice("Кое?", {100, 0, 0, 0}) + essay));
    put(QStringLiteral("in.xml.essay"), quiz(essay));
    put(QStringLiteral("content/banks/b.yaml"),
        "class: 5\nsubject: м\nsections:\n  - section: р\n    table: t\n    questions:\n"
        "      - kind: choice\n        condition: У.\n        question: В?\n"
        "        answers: [а, б, в, г]\n        right: А\n        points: 1\n");
    for (QString& a : args) {
        if (a.startsWith(QLatin1Char('I')))
            a = path(QStringLiteral("in.xml")) + a.mid(1);
        else if (a == QLatin1String("C"))
            a = path(QStringLiteral("content"));
        else if (a == QLatin1String("O"))
            a = path(QStringLiteral("out"));
    }
    QString err;
    QCOMPARE(command(args, &err), code);
    QVERIFY2(err.contains(printed), qPrintable(err));
    QCOMPARE(QFileInfo::exists(path(QStringLiteral("out"))), code == 0);
}

QTEST_MAIN(TestMoodle)
#include "tst_moodle.moc"
