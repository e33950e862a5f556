// Speed figures of the data layer, each set beside a reference measured in
// the same run, the two taken in turns, so that the ratios hold on any
// machine. Every figure is taken at two sizes: a cost that grows with the
// file shows as a ratio that grows.
#include "bench_startup.h"
#include "benchutil.h"

#include "results/grading.h"
#include "results/valform.h"
#include "setup/drawing.h"
#include "setup/random.h"
#include "store/connection.h"
#include "store/connstr.h"
#include "store/datamodule.h"
#include "store/jetsql.h"
#include "store/paths.h"
#include "store/pupilversion.h"
#include "store/schema.h"

#include <QApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QProcess>
#include <QTemporaryDir>
#include <algorithm>
#include <cstdio>
#include <openssl/evp.h>
#include <sqlite3.h>
#include <vector>

namespace {

constexpr int kRuns = 5;
constexpr int kAppends = 9;

double median(std::vector<double> times) {
    std::sort(times.begin(), times.end());
    return times[times.size() / 2];
}

double elapsedMs(const std::function<void()>& work) {
    QElapsedTimer t;
    t.start();
    work();
    return double(t.nsecsElapsed()) / 1e6;
}

// Median times of `work` and of its reference, run in turns so that a busy
// moment of the machine falls on both alike.
std::pair<double, double> paired(int runs, const std::function<void()>& work,
                                 const std::function<void()>& reference) {
    std::vector<double> a;
    std::vector<double> b;
    for (int i = 0; i < runs; ++i) {
        a.push_back(elapsedMs(work));
        b.push_back(elapsedMs(reference));
    }
    return {median(a), median(b)};
}

// The key SQLCipher derives for the file with its default settings, taken
// once, so that the references open the files without the provider.
QByteArray rawKeyOf(const QString& path, const QString& password) {
    QFile f(path);
    if (!f.open(QIODevice::ReadOnly))
        return QByteArray();
    const QByteArray salt = f.read(16);
    const QByteArray secret = password.toUtf8();
    unsigned char key[32];
    PKCS5_PBKDF2_HMAC_SHA1(secret.constData(), int(secret.size()),
                           reinterpret_cast<const unsigned char*>(salt.constData()),
                           int(salt.size()), 64000, 32, key);
    return "x'" + QByteArray(reinterpret_cast<const char*>(key), 32).toHex() + '\'';
}

sqlite3* openRaw(const QString& path, const QByteArray& key) {
    sqlite3* db = nullptr;
    sqlite3_open_v2(path.toUtf8().constData(), &db, SQLITE_OPEN_READWRITE, nullptr);
    sqlite3_key(db, key.constData(), int(key.size()));
    return db;
}

void execRaw(sqlite3* db, const char* sql) {
    if (sqlite3_exec(db, sql, nullptr, nullptr, nullptr) != SQLITE_OK) {
        std::printf("bench: %s: %s\n", sql, sqlite3_errmsg(db));
        std::exit(1);
    }
}

QString pupilFilePath(const QString& folder) {
    return programPath(folder, QStringLiteral("\\data\\students.mdb"));
}

// A program folder whose pupil file holds `count` records.
void makePupilFolder(const QString& folder, int count) {
    QDir().mkpath(folder + QStringLiteral("/data"));
    auto c = Connection::create(pupilFilePath(folder), studentsPassword());
    schema::create(*c, schema::student());
    stampPupilFile(*c);
    sqlite3* db = c->handle();
    execRaw(db, "begin");
    sqlite3_stmt* s = nullptr;
    sqlite3_prepare_v2(db,
                       "insert into student (Name, Class, Division, NumOfClass, DT, Object, "
                       "Theme, Val) values (?, '7', ?, ?, '2026-05-14', 'История', "
                       "'Средновековие', '5,250')",
                       -1, &s, nullptr);
    for (int i = 1; i <= count; ++i) {
        const QByteArray name = QStringLiteral("Ученик %1").arg(i).toUtf8();
        sqlite3_bind_text(s, 1, name.constData(), int(name.size()), SQLITE_TRANSIENT);
        sqlite3_bind_int(s, 2, i % 5 + 1);
        sqlite3_bind_int(s, 3, i % 30 + 1);
        sqlite3_step(s);
        sqlite3_reset(s);
    }
    sqlite3_finalize(s);
    execRaw(db, "commit");
}

PupilRecord benchRecord() {
    PupilRecord r;
    r.Name = QStringLiteral("Иван Петров");
    r.NumOfClass = 12;
    r.Val = QStringLiteral("5,250");
    r.Object = QStringLiteral("История");
    r.DT = QDate(2026, 5, 14);
    r.Theme = QStringLiteral("Средновековие");
    r.Class = QStringLiteral("7");
    r.Division = 2;
    return r;
}

// (a) One record stored as the results window stores it, against opening
// the file with its key, one insert and closing it again.
void benchAppend(const QString& folder, int earlier) {
    TDataModule2 dm;
    dm.setProgramFolder(folder);
    const QString file = pupilFilePath(folder);
    const QByteArray key = rawKeyOf(file, studentsPassword());
    const PupilRecord record = benchRecord();
    const QByteArray dt = record.DT.toString(Qt::ISODate).toUtf8();
    const auto raw = [&] {
        sqlite3* db = openRaw(file, key);
        execRaw(db, "pragma journal_mode=delete; pragma synchronous=full");
        sqlite3_stmt* s = nullptr;
        sqlite3_prepare_v2(db,
                           "insert into student (Name, NumOfClass, Val, Object, DT, Theme, "
                           "Class, Division) values ('Иван Петров', 12, '5,250', 'История', ?, "
                           "'Средновековие', '7', 2)",
                           -1, &s, nullptr);
        sqlite3_bind_text(s, 1, dt.constData(), int(dt.size()), SQLITE_TRANSIENT);
        if (sqlite3_step(s) != SQLITE_DONE)
            std::printf("bench: raw append: %s\n", sqlite3_errmsg(db));
        sqlite3_finalize(s);
        sqlite3_close(db);
    };
    const auto kivor = [&] { storePupilRecord(dm, record); };
    // The first use checks the file's version and opens it: once a process.
    kivor();
    raw();
    const auto [ms, floor] = paired(kAppends, kivor, raw);
    report(QStringLiteral("store a record, %1 earlier (target: 2x raw, flat)").arg(earlier), ms,
           floor, "raw append");
}

// (b) kivor-results writing the CSV, against the engine's own client
// exporting the table; both whole processes.
void benchResults(const QString& folder, int records, const QString& scratch) {
    QString password = studentsPassword();
    password.replace(QLatin1Char('\''), QStringLiteral("''"));
    const QString script =
        QStringLiteral("PRAGMA key = '%1';\nselect * from student;\n").arg(password);
    const QString scriptFile = scratch + QStringLiteral("/export.sql");
    {
        QFile f(scriptFile);
        f.open(QIODevice::WriteOnly);
        f.write(script.toUtf8());
    }
    const auto run = [](const QString& program, const QStringList& args, const QString& in,
                        const QString& out) {
        QProcess p;
        if (!in.isEmpty())
            p.setStandardInputFile(in);
        p.setStandardOutputFile(out);
        p.start(program, args);
        if (!p.waitForFinished(-1) || p.exitCode() != 0)
            std::printf("bench: %s failed\n", qPrintable(program));
    };
    const QString kivorCsv = scratch + QStringLiteral("/kivor.csv");
    const QString clientCsv = scratch + QStringLiteral("/client.csv");
    const auto kivor = [&] {
        run(QStringLiteral(KIVOR_RESULTS_PROGRAM), {folder, QStringLiteral("-o"), kivorCsv},
            QString(), QProcess::nullDevice());
    };
    const auto client = [&] {
        run(QStringLiteral("sqlcipher"), {QStringLiteral("-csv"), pupilFilePath(folder)},
            scriptFile, clientCsv);
    };
    const auto [ms, floor] = paired(kRuns, kivor, client);
    report(QStringLiteral("kivor-results, %1 records (target: 2x client)").arg(records), ms, floor,
           "sqlcipher client");
}

// (c) A drawing of 100 questions, against the least any drawing reads and
// writes: one select of the section and its num/nt rewritten by one
// prepared update, in one transaction, on the C API.
void benchDrawing(const QString& folder, int questions) {
    const QString table = makeBenchFolder(folder, questions);
    QString password;
    prse(1, password);
    const QString classFile = programPath(folder, QStringLiteral("\\data\\class1.mdb"));
    sqlite3* db = openRaw(classFile, rawKeyOf(classFile, password));
    execRaw(db, "pragma journal_mode=delete; pragma synchronous=full");
    const QByteArray select =
        ("select _rowid_, * from " + quoteName(table) + " where test=1").toUtf8();
    const QByteArray update =
        ("update " + quoteName(table) + " set num=?, nt='no' where _rowid_=?").toUtf8();
    const auto floor = [&] {
        execRaw(db, "begin");
        sqlite3_stmt* s = nullptr;
        sqlite3_prepare_v2(db, select.constData(), -1, &s, nullptr);
        std::vector<qint64> keys;
        qint64 bytes = 0;
        while (sqlite3_step(s) == SQLITE_ROW) {
            keys.push_back(sqlite3_column_int64(s, 0));
            for (int i = 0; i < sqlite3_column_count(s); ++i)
                bytes += sqlite3_column_bytes(s, i);
        }
        sqlite3_finalize(s);
        sqlite3_prepare_v2(db, update.constData(), -1, &s, nullptr);
        int num = 0;
        for (const qint64 key : keys) {
            sqlite3_bind_int(s, 1, ++num);
            sqlite3_bind_int64(s, 2, key);
            sqlite3_step(s);
            sqlite3_reset(s);
        }
        sqlite3_finalize(s);
        execRaw(db, "commit");
        if (bytes < 0)
            std::printf("?\n");
    };

    TDataModule2 dm;
    dm.setProgramFolder(folder);
    const auto drawing = [&] {
        dm.Topics.close();
        dm.Topics.setConnectionString(dm.connectionString(DbFile::Topics));
        dm.Topics.setSql(
            {QStringLiteral("select * from topics"), QStringLiteral("where class=:cl")});
        dm.Topics.setParam(QStringLiteral("cl"), 1);
        dm.Topics.open();
        SilentProgress progress;
        drawQuestions(dm, 1, 100, randomSource(), progress);
    };
    const auto [ms, floorMs] = paired(kRuns, drawing, floor);
    sqlite3_close(db);
    report(QStringLiteral("draw 100 of %1 questions (target: 1.2x floor)").arg(questions), ms,
           floorMs, "raw floor");
}

} // namespace

int main(int argc, char** argv) {
    renderOffscreenWithoutDisplay();
    QApplication app(argc, argv);
    QTemporaryDir dir;

    std::printf("Building pupil files of 0, 10,000 and 100,000 records ...\n");
    for (const int n : {0, 10000, 100000})
        makePupilFolder(dir.path() + QStringLiteral("/pupils%1").arg(n), n);
    std::printf("\n");
    for (const int n : {0, 100000})
        benchAppend(dir.path() + QStringLiteral("/pupils%1").arg(n), n);
    for (const int n : {10000, 100000})
        benchResults(dir.path() + QStringLiteral("/pupils%1").arg(n), n, dir.path());
    for (const int n : {1000, 10000})
        benchDrawing(dir.path() + QStringLiteral("/questions%1").arg(n), n);

    benchStartup();
    return 0;
}
