// kivor-bank over generated sources, as the real executable in its own
// process, against the least the same work costs: for a build, a libyaml
// event pass over the sources and the sqlcipher client loading the same rows;
// for import-moodle, xmllint --stream over the XML and a libyaml event pass
// over the source written. Time and peak memory are each given as a ratio to
// that floor.
//
//   kivor-bench-bank [questions for the build ...]   (10,000 and 100,000)
//
// KIVOR_BANK names another kivor-bank to measure (an earlier build, say).

#include "benchutil.h"

#include "store/schema.h"
#include "tools/bank/gaps.h"
#include "tools/bank/model.h"
#include "tools/bank/writer.h"
#include "tools/bank/yamlwrite.h"
#include "tools/moodle/moodleexport.h"

#include <QBuffer>
#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QImage>
#include <QTemporaryDir>
#include <cstdio>
#include <cstring>
#include <ctime>
#include <fcntl.h>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>
#include <yaml.h>

namespace {

constexpr int kPictures = 4;
constexpr int kPerSection = 5000;
constexpr int kPerFile = 25000;

struct Measure {
    double ms = 0;
    double mb = 0;
    bool ok = true;
    Measure operator+(const Measure& o) const {
        return {ms + o.ms, std::max(mb, o.mb), ok && o.ok};
    }
};

// Children are started by a launcher forked before the benchmark holds
// anything: a child forked from the benchmark itself would count the
// benchmark's generated data in its own peak until it execs.
int g_toLauncher = -1;
int g_fromLauncher = -1;

struct Request {
    char input[512];
    char args[4096]; // NUL-separated, an empty one last
};

struct Reply {
    double ms;
    double mb;
    int ok;
};

[[noreturn]] void launcher(int in, int out) {
    Request req;
    while (read(in, &req, sizeof req) == ssize_t(sizeof req)) {
        std::vector<char*> argv;
        for (char* a = req.args; *a; a += std::strlen(a) + 1)
            argv.push_back(a);
        argv.push_back(nullptr);
        timespec start{}, end{};
        clock_gettime(CLOCK_MONOTONIC, &start);
        const pid_t pid = fork();
        if (pid == 0) {
            if (req.input[0])
                dup2(open(req.input, O_RDONLY), 0);
            const int null = open("/dev/null", O_WRONLY);
            dup2(null, 1);
            dup2(null, 2);
            execv(argv[0], argv.data());
            _exit(127);
        }
        int status = 0;
        rusage usage{};
        wait4(pid, &status, 0, &usage);
        clock_gettime(CLOCK_MONOTONIC, &end);
        const Reply reply{
            double(end.tv_sec - start.tv_sec) * 1e3 + double(end.tv_nsec - start.tv_nsec) / 1e6,
            double(usage.ru_maxrss) / 1024, WIFEXITED(status) && WEXITSTATUS(status) == 0};
        if (write(out, &reply, sizeof reply) != ssize_t(sizeof reply))
            break;
    }
    _exit(0);
}

void startLauncher() {
    int down[2], up[2];
    if (pipe(down) != 0 || pipe(up) != 0)
        return;
    if (fork() == 0) {
        close(down[1]);
        close(up[0]);
        launcher(down[0], up[1]);
    }
    close(down[0]);
    close(up[1]);
    g_toLauncher = down[1];
    g_fromLauncher = up[0];
}

// Runs `args` as a child process, its standard input from `input` when
// given, and takes its wall time and its own peak resident memory.
Measure runProcess(const QStringList& args, const QString& input = QString()) {
    Request req{};
    std::strncpy(req.input, QFile::encodeName(input).constData(), sizeof req.input - 1);
    std::size_t at = 0;
    for (const QString& a : args) {
        const QByteArray b = QFile::encodeName(a);
        if (at + std::size_t(b.size()) + 2 > sizeof req.args)
            return {0, 0, false};
        std::memcpy(req.args + at, b.constData(), std::size_t(b.size()));
        at += std::size_t(b.size()) + 1;
    }
    Reply reply{};
    if (write(g_toLauncher, &req, sizeof req) != ssize_t(sizeof req) ||
        read(g_fromLauncher, &reply, sizeof reply) != ssize_t(sizeof reply))
        return {0, 0, false};
    return {reply.ms, reply.mb, reply.ok != 0};
}

// The floor's own pass: every event of every file, and nothing kept.
int yamlPass(const QStringList& files) {
    for (const QString& f : files) {
        FILE* in = std::fopen(QFile::encodeName(f).constData(), "rb");
        if (!in)
            return 1;
        yaml_parser_t parser;
        yaml_parser_initialize(&parser);
        yaml_parser_set_input_file(&parser, in);
        bool done = false;
        while (!done) {
            yaml_event_t event;
            if (!yaml_parser_parse(&parser, &event))
                return 1;
            done = event.type == YAML_STREAM_END_EVENT;
            yaml_event_delete(&event);
        }
        yaml_parser_delete(&parser);
        std::fclose(in);
    }
    return 0;
}

Measure yamlFloor(const QStringList& files) {
    return runProcess(
        QStringList{QCoreApplication::applicationFilePath(), QStringLiteral("--yaml-pass")} +
        files);
}

QByteArray picture(int n) {
    QImage image(160, 120, QImage::Format_RGB32);
    for (int y = 0; y < image.height(); ++y)
        for (int x = 0; x < image.width(); ++x)
            image.setPixel(x, y, qRgb(x + n * 40, y, (x / 8 + y / 8) % 2 * 128));
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    image.save(&buffer, "PNG");
    return bytes;
}

// Question `i`: the kinds in turn, every tenth with one of the pictures.
bank::Question question(int i, const QList<QByteArray>& pictures) {
    bank::Question q;
    const QString n = QString::number(i);
    q.condition = QStringLiteral("Условие на въпрос %1: прочетете внимателно.").arg(n);
    q.fullAnswer = QStringLiteral("Пълният отговор на въпрос %1.").arg(n);
    switch (i % 3) {
    case 0:
        q.kind = bank::Kind::Choice;
        q.question = QStringLiteral("Кой е верният отговор на въпрос %1?").arg(n);
        q.answers = {QStringLiteral("първи %1").arg(n), QStringLiteral("втори %1").arg(n),
                     QStringLiteral("трети %1").arg(n), QStringLiteral("четвърти %1").arg(n)};
        q.right = question::answerLetter(1 + i % 4);
        q.points = 2;
        break;
    case 1:
        q.kind = bank::Kind::Matching;
        q.pairs = {{QStringLiteral("река %1").arg(n), QStringLiteral("Дунав"), 1},
                   {QStringLiteral("планина %1").arg(n), QStringLiteral("Рила"), 1},
                   {QStringLiteral("град %1").arg(n), QStringLiteral("Пловдив"), 1},
                   {QStringLiteral("море %1").arg(n), QStringLiteral("Черно"), 1}};
        q.points = 4;
        break;
    default: {
        q.kind = bank::Kind::Gaps;
        QStringList faults, warnings;
        q.gaps = bank::parseGapText(
            QStringLiteral("В изречение %1 думата [първа] стои пред [втората] дума.").arg(n),
            &faults, &warnings);
        q.points = q.gaps.totalPoints();
        break;
    }
    }
    if (i % 10 == 0) {
        q.picture = QStringLiteral("pictures/p%1.png").arg(i / 10 % kPictures);
        q.pictureData = pictures[i / 10 % kPictures];
    }
    return q;
}

QList<bank::Section> sections(int count, const QList<QByteArray>& pictures) {
    QList<bank::Section> out;
    for (int i = 0; i < count; ++i) {
        if (i % kPerSection == 0)
            out.append({QStringLiteral("Раздел %1").arg(out.size() + 1),
                        QStringLiteral("bench_%1").arg(out.size() + 1),
                        0,
                        {}});
        out.last().questions.append(question(i, pictures));
    }
    return out;
}

bool save(const QString& path, const QByteArray& bytes) {
    QFile f(path);
    return f.open(QIODevice::WriteOnly) && f.write(bytes) == bytes.size();
}

QString sqlValue(const QVariant& v) {
    if (v.isNull())
        return QStringLiteral("NULL");
    if (v.typeId() == QMetaType::QByteArray)
        return QStringLiteral("X'") + QString::fromLatin1(v.toByteArray().toHex()) +
               QLatin1Char('\'');
    if (v.typeId() == QMetaType::Int)
        return QString::number(v.toInt());
    return QLatin1Char('\'') + v.toString().replace(QLatin1Char('\''), QStringLiteral("''")) +
           QLatin1Char('\'');
}

// The rows kivor-bank writes, as a script for the sqlcipher client: the
// tables, the rows in one transaction, the indexes after them.
bool writeScript(const QString& path, const QList<bank::Section>& all) {
    QFile f(path);
    if (!f.open(QIODevice::WriteOnly))
        return false;
    f.write("pragma key='bench'; pragma journal_mode=off; pragma synchronous=off; begin;\n");
    for (const bank::Section& sec : all) {
        const schema::Table t = schema::question(sec.table);
        QStringList names;
        for (const schema::Column& c : t.columns)
            names.append(c.name);
        f.write(QStringLiteral("create table %1 (%2);\n")
                    .arg(sec.table, names.join(QLatin1Char(',')))
                    .toUtf8());
        for (int i = 0; i < sec.questions.size(); ++i) {
            const QVariantHash row = bank::questionRow(sec.questions[i], i + 1);
            QStringList values;
            for (const QString& name : names)
                values.append(sqlValue(row.value(name)));
            f.write(QStringLiteral("insert into %1 values (%2);\n")
                        .arg(sec.table, values.join(QLatin1Char(',')))
                        .toUtf8());
        }
        for (int i = 0; i < t.indexes.size(); ++i)
            f.write(QStringLiteral("create index %1_ix%2 on %1 (%3);\n")
                        .arg(sec.table)
                        .arg(i + 1)
                        .arg(t.indexes[i].join(QLatin1Char(',')))
                        .toUtf8());
    }
    f.write("commit;\n");
    return true;
}

void line(const QString& name, const Measure& m, const Measure& floor) {
    report(name + QStringLiteral(" time"), m.ms, floor.ms);
    std::printf("%-58s %9.1f MB   %6.2f x floor (%.1f MB)%s\n",
                qPrintable(name + QStringLiteral(" peak memory")), m.mb, m.mb / floor.mb, floor.mb,
                m.ok && floor.ok ? "" : "   FAILED");
    std::fflush(stdout);
}

void benchBuild(const QString& bankExe, int count, const QList<QByteArray>& pictures) {
    QTemporaryDir dir;
    // To look at what a run was over: KIVOR_BENCH_KEEP=1.
    dir.setAutoRemove(qEnvironmentVariableIsEmpty("KIVOR_BENCH_KEEP"));
    const QString content = dir.filePath(QStringLiteral("content"));
    QDir().mkpath(content + QStringLiteral("/banks"));
    QDir().mkpath(content + QStringLiteral("/pictures"));
    for (int p = 0; p < kPictures; ++p)
        save(QStringLiteral("%1/pictures/p%2.png").arg(content).arg(p), pictures[p]);
    const QList<bank::Section> all = sections(count, pictures);
    QStringList files;
    for (int first = 0; first < all.size(); first += kPerFile / kPerSection) {
        bank::Source s;
        s.classNo = 5;
        s.subject = QStringLiteral("Предмет");
        s.sections = all.mid(first, kPerFile / kPerSection);
        files.append(QStringLiteral("%1/banks/b%2.yaml").arg(content).arg(files.size() + 1));
        save(files.last(), bank::sourceYaml(s));
    }
    const QString script = dir.filePath(QStringLiteral("rows.sql"));
    writeScript(script, all);

    const Measure floor = yamlFloor(files) + runProcess({QStringLiteral("/usr/bin/sqlcipher"),
                                                         dir.filePath(QStringLiteral("floor.db"))},
                                                        script);
    const Measure m = runProcess({bankExe, content, dir.filePath(QStringLiteral("program"))});
    line(QStringLiteral("kivor-bank, %1 questions").arg(count), m, floor);
}

void benchImport(const QString& bankExe, int count, const QList<QByteArray>& pictures) {
    QTemporaryDir dir;
    dir.setAutoRemove(qEnvironmentVariableIsEmpty("KIVOR_BENCH_KEEP"));
    QList<moodle::ExportSection> export_;
    for (const bank::Section& sec : sections(count, pictures))
        export_.append({QStringLiteral("Предмет"), sec});
    QStringList notes;
    const QString xml = dir.filePath(QStringLiteral("in.xml"));
    save(xml, moodle::moodleXml(export_, &notes));
    export_.clear();
    const QString content = dir.filePath(QStringLiteral("content"));
    QDir().mkpath(content + QStringLiteral("/banks"));
    const QString out = content + QStringLiteral("/banks/m.yaml");
    const Measure m = runProcess(
        {bankExe, QStringLiteral("import-moodle"), xml, QStringLiteral("--class"),
         QStringLiteral("5"), QStringLiteral("--subject"), QStringLiteral("Предмет"), "-o", out});
    const Measure floor = runProcess({QStringLiteral("/usr/bin/xmllint"),
                                      QStringLiteral("--stream"), QStringLiteral("--noout"), xml}) +
                          yamlFloor({out});
    line(QStringLiteral("import-moodle, %1 questions").arg(count), m, floor);
}

} // namespace

int main(int argc, char** argv) {
    if (argc < 2 || std::strcmp(argv[1], "--yaml-pass") != 0)
        startLauncher();
    QCoreApplication app(argc, argv);
    QStringList args = app.arguments().mid(1);
    if (args.value(0) == QLatin1String("--yaml-pass"))
        return yamlPass(args.mid(1));
    QList<int> counts;
    for (const QString& a : args)
        counts.append(a.toInt());
    if (counts.isEmpty())
        counts = {10000, 100000};
    QList<QByteArray> pictures;
    for (int p = 0; p < kPictures; ++p)
        pictures.append(picture(p));
    const QString bankExe = qEnvironmentVariable("KIVOR_BANK", QStringLiteral(KIVOR_BANK_EXE));
    for (int count : counts)
        benchBuild(bankExe, count, pictures);
    for (int count : counts)
        benchImport(bankExe, count / 10, pictures);
    return 0;
}
