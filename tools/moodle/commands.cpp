#include "commands.h"

#include "common.h"
#include "moodleexport.h"
#include "moodleimport.h"

#include "store/fileerror.h"
#include "tools/bank/bank.h"
#include "tools/bank/source.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QSaveFile>
#include <QTextStream>
#include <algorithm>

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

// Both commands print their usage on --help and exit 0.
bool wantsHelp(const QStringList& arguments, const QString& usage, QTextStream& out) {
    if (!arguments.contains(QLatin1String("--help")) && !arguments.contains(QLatin1String("-h")))
        return false;
    out << usage;
    out.flush();
    return true;
}

// A wrong command line: what is wrong, then the usage; exit code 2.
int wrongUsage(const QString& why, const QString& usage, QTextStream& err) {
    err << why << '\n' << usage;
    err.flush();
    return 2;
}

} // namespace

int importCommand(const QStringList& arguments, QTextStream& out, QTextStream& err) {
    const QString usage = QStringLiteral(
        "Употреба: kivor-bank import-moodle ФАЙЛ.xml --class N --subject ПРЕДМЕТ\n"
        "                [--section РАЗДЕЛ] [--table ТАБЛИЦА] -o ИЗХОД.yaml\n"
        "  --class    класът, 1 … 13\n"
        "  --subject  предметът, както го показва списъкът\n"
        "  --section  всички въпроси в този раздел; без него – раздел за всяка категория\n"
        "  --table    таблицата на раздела; с категориите – начало на имената им\n"
        "  -o         източникът, който се записва; изображенията – в pictures/ на\n"
        "             папката със източници\n");
    if (wantsHelp(arguments, usage, out))
        return 0;
    const Arguments a(arguments, {QStringLiteral("--class"), QStringLiteral("--subject"),
                                  QStringLiteral("--section"), QStringLiteral("--table"),
                                  QStringLiteral("-o")});
    auto wrong = [&](const QString& why) { return wrongUsage(why, usage, err); };
    if (!a.fault.isEmpty())
        return wrong(a.fault);
    if (a.positional.size() != 1)
        return wrong(QStringLiteral("Дайте точно един файл Moodle XML."));
    ImportOptions options;
    options.classNo = classNumber(a.value(QStringLiteral("--class")));
    options.subject = a.value(QStringLiteral("--subject")).simplified();
    options.section = a.value(QStringLiteral("--section")).simplified();
    options.table = a.value(QStringLiteral("--table")).trimmed();
    const QString output = a.value(QStringLiteral("-o"));
    if (options.classNo == 0)
        return wrong(QStringLiteral("Класът (--class) трябва да е цяло число от 1 до 13."));
    if (options.subject.isEmpty())
        return wrong(QStringLiteral("Липсва предметът (--subject)."));
    if (a.has(QStringLiteral("--section")) && options.section.isEmpty())
        return wrong(QStringLiteral("Разделът (--section) е празен."));
    if (a.has(QStringLiteral("--table")) && !bank::isTableName(options.table))
        return wrong(QStringLiteral("Таблицата „%1“ трябва да е от латински букви, цифри и _ и да "
                                    "не започва с цифра.")
                         .arg(options.table));
    if (output.isEmpty())
        return wrong(QStringLiteral("Липсва изходният файл (-o)."));

    const QString input = a.positional.first();
    QFile file(input);
    if (!QFileInfo(input).isFile() || !file.open(QIODevice::ReadOnly)) {
        err << QStringLiteral("Файлът „%1“ не съществува или не може да бъде прочетен.\n")
                   .arg(input);
        err.flush();
        return 2;
    }
    options.defaultSection = QFileInfo(input).completeBaseName();
    const Import im = readMoodleXml(file.readAll(), options);
    if (!im.fault.isEmpty()) {
        err << QStringLiteral("%1:%2: грешка: %3\nНищо не е записано.\n")
                   .arg(input)
                   .arg(im.faultLine)
                   .arg(im.fault);
        err.flush();
        return 1;
    }
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
    if (im.questionCount() == 0) {
        err << QStringLiteral("Нито един въпрос не може да бъде внесен: нищо не е записано.\n");
        err.flush();
        return 1;
    }

    const QString target = QFileInfo(output).absoluteFilePath();
    const QString content = contentFolderOf(target);
    QString why;
    int pictures = 0;
    for (const ImportedSection& s : im.sections) {
        for (const ImportedQuestion& q : s.questions) {
            if (q.question.picture.isEmpty())
                continue;
            if (!save(QDir(content).filePath(q.question.picture), q.question.pictureData, &why)) {
                err << QStringLiteral("Грешка: %1.\n").arg(why);
                err.flush();
                return 1;
            }
            ++pictures;
        }
    }
    if (!save(target, bankSource(im, options, QFileInfo(input).fileName()), &why)) {
        err << QStringLiteral("Грешка: %1.\n").arg(why);
        err.flush();
        return 1;
    }
    // What kivor-bank will say of the source, at once (a section with one
    // question, for instance).
    QList<bank::Issue> findings;
    bank::parseSource(content, QDir(content).relativeFilePath(target), &findings);
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
    const QString usage = QStringLiteral(
        "Употреба: kivor-bank export-moodle <папка със източници | файл.yaml>\n"
        "                [--class N] [--subject ПРЕДМЕТ] [--section РАЗДЕЛ] -o ИЗХОД.xml\n"
        "  --class    класът (задължителен с папка)\n"
        "  --subject  само този предмет\n"
        "  --section  само този раздел\n");
    if (wantsHelp(arguments, usage, out))
        return 0;
    const Arguments a(arguments, {QStringLiteral("--class"), QStringLiteral("--subject"),
                                  QStringLiteral("--section"), QStringLiteral("-o")});
    auto wrong = [&](const QString& why) { return wrongUsage(why, usage, err); };
    if (!a.fault.isEmpty())
        return wrong(a.fault);
    if (a.positional.size() != 1)
        return wrong(QStringLiteral("Дайте една папка със източници или един файл."));
    const QString source = a.positional.first();
    const QString output = a.value(QStringLiteral("-o"));
    const QString subject = a.value(QStringLiteral("--subject")).simplified();
    const QString section = a.value(QStringLiteral("--section")).simplified();
    const int classNo = classNumber(a.value(QStringLiteral("--class")));
    if (output.isEmpty())
        return wrong(QStringLiteral("Липсва изходният файл (-o)."));
    if (a.has(QStringLiteral("--class")) && classNo == 0)
        return wrong(QStringLiteral("Класът (--class) трябва да е цяло число от 1 до 13."));
    const QFileInfo info(source);
    if (!info.exists()) {
        err << QStringLiteral("„%1“ не съществува.\n").arg(source);
        err.flush();
        return 2;
    }
    if (info.isDir() && classNo == 0)
        return wrong(QStringLiteral("С папка със източници дайте и класа (--class)."));

    QList<bank::Source> sources;
    QList<bank::Issue> findings;
    if (info.isDir()) {
        const bank::Content content = bank::readContent(source);
        sources = content.sources;
        findings = content.issues;
    } else {
        const QString folder = contentFolderOf(source);
        const QString relative = QDir(folder).relativeFilePath(info.absoluteFilePath());
        const bank::Source s = bank::parseSource(folder, relative, &findings);
        if (!bank::hasFault(findings))
            sources.append(s);
    }
    for (const bank::Issue& i : findings)
        if (i.isFault())
            err << i.text() << '\n';

    QList<ExportSection> chosen;
    int questions = 0;
    for (const bank::Source& s : sources) {
        if ((classNo != 0 && s.classNo != classNo) || (!subject.isEmpty() && s.subject != subject))
            continue;
        for (const bank::Section& sec : s.sections) {
            if (!section.isEmpty() && sec.name != section)
                continue;
            chosen.append({s.subject, sec});
            questions += int(std::count_if(sec.questions.begin(), sec.questions.end(),
                                           [](const bank::Question& q) { return q.test == 1; }));
        }
    }
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
