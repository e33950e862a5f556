#include "bank.h"

#include "hints.h"
#include "pictures.h"
#include "source.h"
#include "writer.h"

#include "store/schema.h"

#include <QDir>
#include <QElapsedTimer>
#include <QFileInfo>
#include <QHash>
#include <QLocale>
#include <QTextStream>
#include <algorithm>
#include <optional>

namespace bank {

QString Issue::text() const {
    QString s = file;
    if (line > 0)
        s += QLatin1Char(':') + QString::number(line);
    s += isFault() ? QStringLiteral(": грешка: ") : QStringLiteral(": предупреждение: ");
    if (!section.isEmpty())
        s += QStringLiteral("раздел „%1“").arg(section) +
             (question > 0 ? QStringLiteral(", ") : QStringLiteral(": "));
    if (question > 0)
        s += QStringLiteral("въпрос %1: ").arg(question);
    return s + message;
}

bool hasFault(const QList<Issue>& issues) {
    for (const Issue& i : issues)
        if (i.isFault())
            return true;
    return false;
}

namespace {

QStringList yamlFiles(const QString& contentFolder, const QString& sub) {
    QStringList files;
    const QDir dir(QDir(contentFolder).filePath(sub));
    const QStringList names =
        dir.entryList({QStringLiteral("*.yaml"), QStringLiteral("*.yml")}, QDir::Files, QDir::Name);
    for (const QString& name : names)
        files.append(sub + QLatin1Char('/') + name);
    return files;
}

// The names a table takes in its database: its own and those of its indexes,
// which the engine keeps in the same namespace. Index names follow the
// "<table>_ix<n>" pattern schema::create uses.
QStringList namesTaken(const schema::Table& t) {
    QStringList names{t.name.toLower()};
    for (int i = 1; i <= t.indexes.size(); ++i)
        names.append((t.name + QStringLiteral("_ix") + QString::number(i)).toLower());
    return names;
}

struct Owner {
    QString table;
    QString file;
    QString section;
};

// Table names of one database: a later table whose name, or one of its index
// names, is already taken gets a fault.
class NameRegistry {
public:
    // Empty when the names are free (and then taken); else the owner's.
    std::optional<Owner> take(const schema::Table& t, const Owner& owner) {
        const QStringList names = namesTaken(t);
        for (const QString& n : names)
            if (m_names.contains(n))
                return m_names.value(n);
        for (const QString& n : names)
            m_names.insert(n, owner);
        return std::nullopt;
    }

private:
    QHash<QString, Owner> m_names;
};

QString clashMessage(const QString& table, const Owner& other, const QString& where) {
    if (table.compare(other.table, Qt::CaseInsensitive) == 0)
        return QStringLiteral("таблицата „%1“ вече е дадена %2 в %3%4")
            .arg(table, where, other.file,
                 other.section.isEmpty() ? QString()
                                         : QStringLiteral(" (раздел „%1“)").arg(other.section));
    return QStringLiteral("името на таблицата „%1“ се застъпва с таблица „%2“ %3 в %4: програмата "
                          "дава на индексите на всяка таблица имена <таблица>_ix1, …")
        .arg(table, other.table, where, other.file);
}

// The most sections, each a table, one class database holds. The engine
// reads its whole list of tables again at every table it creates, so the
// time to build a class grows with the square of its sections: a thousand
// take about a second, ten thousand minutes. A thousand is far more than any
// class's subjects divide into.
constexpr int kMaxSectionsPerClass = 1000;

// The checks between sources, a source at a time in the order of the files:
// a source clashes only with those before it, so it is judged as soon as it
// is read.
class CrossCheck {
public:
    void add(const Source& s, QList<Issue>* issues) {
        if (s.classNo < 1)
            return;
        const QString where = QStringLiteral("за клас %1").arg(s.classNo);
        int& count = m_sectionsOfClass[s.classNo];
        if (count + s.sections.size() > kMaxSectionsPerClass) {
            issues->append({Severity::Fault, s.file, 0, QString(), 0,
                            QStringLiteral("с разделите на този файл клас %1 би имал %2 раздела, "
                                           "а базата на един клас побира най-много %3")
                                .arg(s.classNo)
                                .arg(count + s.sections.size())
                                .arg(kMaxSectionsPerClass)});
            return;
        }
        count += int(s.sections.size());
        for (const Section& sec : s.sections) {
            auto fault = [&](const QString& message) {
                issues->append({Severity::Fault, s.file, sec.line, sec.name, 0, message});
            };
            if (isTableName(sec.table)) {
                if (const auto other = m_tables[s.classNo].take(schema::question(sec.table),
                                                                {sec.table, s.file, sec.name}))
                    fault(clashMessage(sec.table, *other, where));
            }
            if (sec.name.isEmpty() || s.subject.isEmpty())
                continue;
            const QString key = QString::number(s.classNo) + QLatin1Char('\n') + s.subject +
                                QLatin1Char('\n') + sec.name;
            if (m_sectionsSeen.contains(key))
                fault(QStringLiteral("разделът вече е даден за предмета „%1“ %2 в %3")
                          .arg(s.subject, where, m_sectionsSeen.value(key)));
            else
                m_sectionsSeen.insert(key, s.file);
        }
    }

private:
    QHash<int, NameRegistry> m_tables;
    QHash<QString, QString> m_sectionsSeen; // class, subject, section -> file
    QHash<int, int> m_sectionsOfClass;
};

void crossCheckDictionaries(const QList<Dictionary>& dicts, QList<Issue>* issues) {
    NameRegistry tables;
    tables.take(schema::dicts(), {QStringLiteral("dicts"), QString(), QString()});
    QHash<QString, QString> langs;
    for (const Dictionary& d : dicts) {
        auto fault = [&](const QString& message) {
            issues->append({Severity::Fault, d.file, 0, QString(), 0, message});
        };
        if (isTableName(d.table) &&
            d.table.compare(QLatin1String("dicts"), Qt::CaseInsensitive) != 0) {
            if (const auto other = tables.take(schema::wordTable(d.table), {d.table, d.file, {}}))
                fault(clashMessage(d.table, *other, QStringLiteral("в речниците")));
        }
        if (d.lang.isEmpty())
            continue;
        if (langs.contains(d.lang))
            fault(QStringLiteral("речник с името „%1“ вече е даден в %2")
                      .arg(d.lang, langs.value(d.lang)));
        else
            langs.insert(d.lang, d.file);
    }
}

bool faultIn(const QList<Issue>& issues, const QString& file) {
    for (const Issue& i : issues)
        if (i.isFault() && i.file == file)
            return true;
    return false;
}

} // namespace

namespace {

// What a build does with the questions of a source as they are read: counts
// them, notes them for the repeat check and hands them to the writer.
class Collector : public QuestionSink {
public:
    Collector(RepeatCheck* repeats, BankWriter* writer, bool keep)
        : m_repeats(repeats), m_writer(writer), m_keep(keep) {}

    int count = 0;

    void beginSource(const Source& s, bool clean) override {
        if (m_writer)
            m_writer->beginSource(s.classNo, clean);
    }
    void beginSection(const Section& section, bool clean) override {
        m_section = section.name;
        m_number = 0;
        if (m_writer)
            m_writer->beginSection(section.table, clean);
    }
    bool question(const Question& q, bool clean) override {
        ++count;
        m_repeats->note(q, m_section, ++m_number);
        if (m_writer)
            m_writer->question(q, clean);
        return m_keep;
    }

private:
    RepeatCheck* m_repeats;
    BankWriter* m_writer;
    bool m_keep;
    QString m_section;
    int m_number = 0;
};

// Reads and checks every source and dictionary, a source at a time. With a
// writer the questions go into the databases as they are read; the content
// keeps them only when `keep`. `questions` counts those of the sources kept.
Content readAll(const QString& contentFolder, BankWriter* writer, bool keep, int* questions) {
    Content c;
    RepeatCheck repeats;
    CrossCheck cross;
    PictureCache pictures;
    Collector collector(&repeats, writer, keep);
    const QStringList bankFiles = yamlFiles(contentFolder, QStringLiteral("banks"));
    for (const QString& f : bankFiles) {
        collector.count = 0;
        const Source s = parseSource(contentFolder, f, &c.issues, &collector, &pictures);
        cross.add(s, &c.issues);
        const bool kept = !faultIn(c.issues, s.file);
        if (writer)
            writer->endSource(kept);
        repeats.endSource(s.file, kept, &c.issues);
        if (kept) {
            c.sources.append(s);
            *questions += collector.count;
        }
    }
    if (bankFiles.isEmpty())
        c.issues.append({Severity::Warning, QStringLiteral("banks"), 0, QString(), 0,
                         QStringLiteral("няма нито един източник на въпроси (banks/*.yaml)")});

    QList<Dictionary> dicts;
    const QStringList dictFiles = yamlFiles(contentFolder, QStringLiteral("dict"));
    for (const QString& f : dictFiles)
        dicts.append(parseDictionary(contentFolder, f, &c.issues));
    crossCheckDictionaries(dicts, &c.issues);
    for (const Dictionary& d : dicts)
        if (!faultIn(c.issues, d.file))
            c.dictionaries.append(d);
    // Findings of one file together, in the order they were found.
    std::stable_sort(c.issues.begin(), c.issues.end(),
                     [](const Issue& a, const Issue& b) { return a.file < b.file; });
    return c;
}

Report reportOf(const Content& c, int questions) {
    Report r;
    r.issues = c.issues;
    r.sources = int(c.sources.size());
    for (const Source& s : c.sources)
        r.sections += int(s.sections.size());
    r.questions = questions;
    r.dictionaries = int(c.dictionaries.size());
    return r;
}

} // namespace

Content readContent(const QString& contentFolder) {
    int questions = 0;
    return readAll(contentFolder, nullptr, true, &questions);
}

Report check(const QString& contentFolder) {
    if (!QFileInfo(contentFolder).isDir()) {
        Report r;
        r.issues.append({Severity::Fault, contentFolder, 0, QString(), 0,
                         QStringLiteral("папката със източниците не съществува")});
        return r;
    }
    int questions = 0;
    const Content c = readAll(contentFolder, nullptr, false, &questions);
    return reportOf(c, questions);
}

Report build(const QString& contentFolder, const QString& programFolder) {
    if (!QFileInfo(contentFolder).isDir())
        return check(contentFolder);
    QList<Issue> writing;
    BankWriter writer(programFolder, &writing);
    int questions = 0;
    const Content c = readAll(contentFolder, &writer, false, &questions);
    Report r = reportOf(c, questions);
    writer.finish(c);
    r.issues += writing;
    return r;
}

int run(const QStringList& arguments, QTextStream& out, QTextStream& err) {
    const QString usage = QStringLiteral(
        "Употреба: kivor-bank [--check] <папка със източници> <папка на програмата>\n"
        "  --check  само проверява източниците, без да записва нищо\n"
        "          kivor-bank import-moodle …  въпроси от Moodle XML в източник\n"
        "          kivor-bank export-moodle …  източник или раздели към Moodle XML\n");
    bool checkOnly = false;
    QStringList folders;
    for (const QString& a : arguments) {
        if (a == QLatin1String("--check")) {
            checkOnly = true;
        } else if (a == QLatin1String("--help") || a == QLatin1String("-h")) {
            out << usage;
            return 0;
        } else if (a.startsWith(QLatin1Char('-'))) {
            err << QStringLiteral("Непознат параметър „%1“.\n").arg(a) << usage;
            return 2;
        } else {
            folders.append(a);
        }
    }
    // With --check the program folder may be left out: nothing goes there.
    if (folders.size() != 2 && !(checkOnly && folders.size() == 1)) {
        err << usage;
        return 2;
    }
    if (!QFileInfo(folders[0]).isDir()) {
        err << QStringLiteral("Папката със източниците „%1“ не съществува.\n").arg(folders[0]);
        return 2;
    }
    QElapsedTimer clock;
    clock.start();
    const Report r = checkOnly ? check(folders[0]) : build(folders[0], folders[1]);
    const double seconds = double(clock.elapsed()) / 1000;
    int faults = 0;
    for (const Issue& i : r.issues) {
        err << i.text() << '\n';
        if (i.isFault())
            ++faults;
    }
    err.flush();
    out << QStringLiteral("%1: източници %2, раздели %3, въпроси %4, речници %5; грешки %6, "
                          "предупреждения %7 (за %8 s)\n")
               .arg(checkOnly ? QStringLiteral("Проверени") : QStringLiteral("Записани"))
               .arg(r.sources)
               .arg(r.sections)
               .arg(r.questions)
               .arg(r.dictionaries)
               .arg(faults)
               .arg(r.issues.size() - faults)
               .arg(QLocale().toString(seconds, 'f', 1));
    out.flush();
    return faults ? 1 : 0;
}

} // namespace bank
