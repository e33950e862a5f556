#include "commands.h"

#include "common.h"
#include "moodleexport.h"
#include "moodleimport.h"
#include "tools/bank/yamlwrite.h"

#include "store/fileerror.h"
#include "tools/bank/bank.h"
#include "tools/bank/source.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QSaveFile>
#include <QSet>
#include <QTextStream>
#include <algorithm>
#include <optional>

namespace moodle {

namespace {

bool save(const QString& path, const QByteArray& bytes, QString* why) {
    if (!QDir().mkpath(QFileInfo(path).absolutePath())) {
        *why = QStringLiteral("папката на „%1“ не може да бъде създадена").arg(path);
        return false;
    }
    QSaveFile f(path);
    if (!f.open(QIODevice::WriteOnly) || f.write(bytes) != bytes.size() || !f.commit()) {
        *why = QStringLiteral("„%1“ не може да бъде записан: %2").arg(path, fileFault(f));
        return false;
    }
    return true;
}

// The questions left out and the notes on those kept, each with its line
// in the Moodle file.
void reportFindings(const QString& input, const Import& im, QTextStream& err) {
    for (const Finding& f : im.skipped)
        err << QStringLiteral("%1:%2: пропуснат въпрос „%3“ (%4): %5\n")
                   .arg(input)
                   .arg(f.line)
                   .arg(f.name, f.type, f.message);
    for (const Finding& f : im.notes)
        err << QStringLiteral("%1:%2: бележка: въпрос „%3“: %4\n")
                   .arg(input)
                   .arg(f.line)
                   .arg(f.name, f.message);
}

// The pictures of the imported questions, beside the content folder's
// others; how many, or -1 when one could not be written (said on `err`).
int savePictures(const Import& im, const QString& content, QTextStream& err) {
    QString why;
    int pictures = 0;
    QSet<QString> saved;
    for (const ImportedSection& s : im.sections) {
        for (const ImportedQuestion& q : s.questions) {
            if (q.question.picture.isEmpty() || saved.contains(q.question.picture))
                continue;
            saved.insert(q.question.picture);
            if (!save(QDir(content).filePath(q.question.picture), q.question.pictureData, &why)) {
                err << QStringLiteral("Грешка: %1.\n").arg(why);
                err.flush();
                return -1;
            }
            ++pictures;
        }
    }
    return pictures;
}

// A wrong command line: what is wrong, then the usage; exit code 2.
int wrongUsage(const QString& why, const QString& usage, QTextStream& err) {
    err << why << '\n' << usage;
    err.flush();
    return 2;
}

// One command line of either command, its values as the commands take them.
struct CommandLine {
    Arguments arguments;
    QString source; // the one positional word
    QString output;
    QString subject;
    QString section;
    QString table;
    int classNo = 0;

    explicit CommandLine(const Arguments& a)
        : arguments(a), source(a.positional.value(0)), output(a.value(QStringLiteral("-o"))),
          subject(a.value(QStringLiteral("--subject")).simplified()),
          section(a.value(QStringLiteral("--section")).simplified()),
          table(a.value(QStringLiteral("--table")).trimmed()),
          classNo(classNumber(a.value(QStringLiteral("--class")))) {}
    bool has(const QString& option) const { return arguments.has(option); }
};

// A check of a command line: what is wrong with it, or nothing.
using Check = QString (*)(const CommandLine&);

QString classGiven(const CommandLine& c) {
    return c.classNo == 0 ? QStringLiteral("Класът (--class) трябва да е цяло число от 1 до 13.")
                          : QString();
}

QString classValidWhenGiven(const CommandLine& c) {
    return c.has(QStringLiteral("--class")) ? classGiven(c) : QString();
}

QString subjectGiven(const CommandLine& c) {
    return c.subject.isEmpty() ? QStringLiteral("Липсва предметът (--subject).") : QString();
}

QString sectionNotEmpty(const CommandLine& c) {
    return c.has(QStringLiteral("--section")) && c.section.isEmpty()
               ? QStringLiteral("Разделът (--section) е празен.")
               : QString();
}

QString tableNameValid(const CommandLine& c) {
    if (!c.has(QStringLiteral("--table")) || bank::isTableName(c.table))
        return QString();
    return QStringLiteral("Таблицата „%1“ трябва да е от латински букви, цифри и _ и да не "
                          "започва с цифра.")
        .arg(c.table);
}

QString outputGiven(const CommandLine& c) {
    return c.output.isEmpty() ? QStringLiteral("Липсва изходният файл (-o).") : QString();
}

// What a command takes: its usage, its options, what to say when it is not
// given exactly one source, and its checks in the order it reports them.
struct Command {
    QString usage;
    QStringList options;
    QString oneSource;
    QList<Check> checks;
};

// The command line parsed and checked; without a value the command ends at
// once with `exit`: 0 after printing the usage on --help, 2 on a wrong line.
std::optional<CommandLine> parseCommandLine(const Command& command, const QStringList& arguments,
                                            QTextStream& out, QTextStream& err, int* exit) {
    if (arguments.contains(QLatin1String("--help")) || arguments.contains(QLatin1String("-h"))) {
        out << command.usage;
        out.flush();
        *exit = 0;
        return std::nullopt;
    }
    const Arguments a(arguments, command.options);
    QString why = a.fault;
    if (why.isEmpty() && a.positional.size() != 1)
        why = command.oneSource;
    const CommandLine line(a);
    for (const Check check : command.checks)
        if (why.isEmpty())
            why = check(line);
    if (why.isEmpty())
        return line;
    *exit = wrongUsage(why, command.usage, err);
    return std::nullopt;
}

const Command& importLine() {
    static const Command command{
        QStringLiteral(
            "Употреба: kivor-bank import-moodle ФАЙЛ.xml --class N --subject ПРЕДМЕТ\n"
            "                [--section РАЗДЕЛ] [--table ТАБЛИЦА] -o ИЗХОД.yaml\n"
            "  --class    класът, 1 … 13\n"
            "  --subject  предметът, както го показва списъкът\n"
            "  --section  всички въпроси в този раздел; без него – раздел за всяка категория\n"
            "  --table    таблицата на раздела; с категориите – начало на имената им\n"
            "  -o         източникът, който се записва; изображенията – в pictures/ на\n"
            "             папката със източници\n"),
        {QStringLiteral("--class"), QStringLiteral("--subject"), QStringLiteral("--section"),
         QStringLiteral("--table"), QStringLiteral("-o")},
        QStringLiteral("Дайте точно един файл Moodle XML."),
        {classGiven, subjectGiven, sectionNotEmpty, tableNameValid, outputGiven}};
    return command;
}

const Command& exportLine() {
    static const Command command{
        QStringLiteral(
            "Употреба: kivor-bank export-moodle <папка със източници | файл.yaml>\n"
            "                [--class N] [--subject ПРЕДМЕТ] [--section РАЗДЕЛ] -o ИЗХОД.xml\n"
            "  --class    класът (задължителен с папка)\n"
            "  --subject  само този предмет\n"
            "  --section  само този раздел\n"),
        {QStringLiteral("--class"), QStringLiteral("--subject"), QStringLiteral("--section"),
         QStringLiteral("-o")},
        QStringLiteral("Дайте една папка със източници или един файл."),
        {outputGiven, classValidWhenGiven}};
    return command;
}

// The bank sources of a content folder or of one bank file, their
// findings in `findings`; a file with faults gives none.
QList<bank::Source> readSources(const QString& source, QList<bank::Issue>* findings) {
    const QFileInfo info(source);
    if (info.isDir()) {
        const bank::Content content = bank::readContent(source);
        *findings = content.issues;
        return content.sources;
    }
    const QString folder = contentFolderOf(source);
    const QString relative = QDir(folder).relativeFilePath(info.absoluteFilePath());
    const bank::Source s = bank::parseSource(folder, relative, findings);
    if (bank::hasFault(*findings))
        return {};
    return {s};
}

// The sections of the sources the command line asks for, and in
// `questions` how many of their questions a test can ask.
QList<ExportSection> chooseSections(const QList<bank::Source>& sources, const CommandLine& line,
                                    int* questions) {
    QList<ExportSection> chosen;
    for (const bank::Source& s : sources) {
        if ((line.classNo != 0 && s.classNo != line.classNo) ||
            (!line.subject.isEmpty() && s.subject != line.subject))
            continue;
        for (const bank::Section& sec : s.sections) {
            if (!line.section.isEmpty() && sec.name != line.section)
                continue;
            chosen.append({s.subject, sec});
            *questions += int(std::count_if(sec.questions.begin(), sec.questions.end(),
                                            [](const bank::Question& q) { return q.test == 1; }));
        }
    }
    return chosen;
}

} // namespace

int importCommand(const QStringList& arguments, QTextStream& out, QTextStream& err) {
    int exit = 0;
    const std::optional<CommandLine> line =
        parseCommandLine(importLine(), arguments, out, err, &exit);
    if (!line)
        return exit;
    ImportOptions options;
    options.classNo = line->classNo;
    options.subject = line->subject;
    options.section = line->section;
    options.table = line->table;
    const QString output = line->output;

    const QString input = line->source;
    QFile file(input);
    if (!QFileInfo(input).isFile() || !file.open(QIODevice::ReadOnly)) {
        err << QStringLiteral("Файлът „%1“ не съществува или не може да бъде прочетен.\n")
                   .arg(input);
        err.flush();
        return 2;
    }
    options.defaultSection = QFileInfo(input).completeBaseName();
    const Import im = readMoodleXml(&file, options);
    if (!im.fault.isEmpty()) {
        err << QStringLiteral("%1:%2: грешка: %3\nНищо не е записано.\n")
                   .arg(input)
                   .arg(im.faultLine)
                   .arg(im.fault);
        err.flush();
        return 1;
    }
    reportFindings(input, im, err);
    if (im.questionCount() == 0) {
        err << QStringLiteral("Нито един въпрос не може да бъде внесен: нищо не е записано.\n");
        err.flush();
        return 1;
    }

    const QString target = QFileInfo(output).absoluteFilePath();
    const QString content = contentFolderOf(target);
    const int pictures = savePictures(im, content, err);
    if (pictures < 0)
        return 1;
    QString why;
    bank::SourceLines lines;
    if (!save(target, bankSource(im, options, QFileInfo(input).fileName(), &lines), &why)) {
        err << QStringLiteral("Грешка: %1.\n").arg(why);
        err.flush();
        return 1;
    }
    // What kivor-bank will say of the source, at once (a section with one
    // question, for instance), from what was written rather than by reading
    // it back.
    const QList<bank::Issue> findings =
        sourceFindings(im, lines, QDir(content).relativeFilePath(target));
    for (const bank::Issue& i : findings)
        err << i.text() << '\n';
    err.flush();
    out << QStringLiteral("Внесени: въпроси %1 в раздели %2, изображения %3 → %4; пропуснати "
                          "въпроси %5\n")
               .arg(im.questionCount())
               .arg(im.sections.size())
               .arg(pictures)
               .arg(output)
               .arg(im.skipped.size());
    out.flush();
    return bank::hasFault(findings) ? 1 : 0;
}

int exportCommand(const QStringList& arguments, QTextStream& out, QTextStream& err) {
    int exit = 0;
    const std::optional<CommandLine> line =
        parseCommandLine(exportLine(), arguments, out, err, &exit);
    if (!line)
        return exit;
    const QString& source = line->source;
    const QString& output = line->output;
    const QFileInfo info(source);
    if (!info.exists()) {
        err << QStringLiteral("„%1“ не съществува.\n").arg(source);
        err.flush();
        return 2;
    }
    if (info.isDir() && line->classNo == 0)
        return wrongUsage(QStringLiteral("С папка със източници дайте и класа (--class)."),
                          exportLine().usage, err);

    QList<bank::Issue> findings;
    const QList<bank::Source> sources = readSources(source, &findings);
    for (const bank::Issue& i : findings)
        if (i.isFault())
            err << i.text() << '\n';

    int questions = 0;
    const QList<ExportSection> chosen = chooseSections(sources, *line, &questions);
    if (chosen.isEmpty()) {
        err << (bank::hasFault(findings)
                    ? QStringLiteral("Източникът има грешки: нищо не е записано.\n")
                    : QStringLiteral("Нито един раздел не отговаря на зададеното: нищо не е "
                                     "записано.\n"));
        err.flush();
        return 1;
    }
    QStringList notes;
    const QByteArray xml = moodleXml(chosen, &notes);
    for (const QString& n : notes)
        err << QStringLiteral("бележка: ") << n << '\n';
    err.flush();
    QSaveFile f(output);
    if (!f.open(QIODevice::WriteOnly) || f.write(xml) != xml.size() || !f.commit()) {
        err << QStringLiteral("Грешка: „%1“ не може да бъде записан: %2.\n")
                   .arg(output, fileFault(f));
        err.flush();
        return 1;
    }
    out << QStringLiteral("Изнесени: раздели %1, въпроси %2 → %3\n")
               .arg(chosen.size())
               .arg(questions)
               .arg(output);
    out.flush();
    return 0;
}

} // namespace moodle
