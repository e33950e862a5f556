// Kill tests: the program is killed (SIGKILL) in the middle of storing a
// pupil's record, of a drawing and of bringing the pupil file to a newer
// version, at every file operation of the database
// engine in turn and at random moments, and after each kill the databases
// must be whole, hold no half-written row, lose no stored record, and open
// and read as at the next start.
#include "store/connection.h"
#include "store/pupilversion.h"
#include "store/query.h"
#include "support/programfolder.h"

#include <QElapsedTimer>
#include <QFile>
#include <QProcess>
#include <QRandomGenerator>
#include <QTest>
#include <QThread>
#include <sqlite3.h>

namespace {

constexpr unsigned kClass = 5;
constexpr int kDrawn = 6;
const QString kTable = QStringLiteral("kill_t");

struct Outcome {
    bool armed = false;  // the write had begun
    bool stored = false; // the record was in before the end came
    bool done = false;   // ran to its end
    long operations = 0; // counted, when done
    bool killed = false;
    qint64 armedNs = 0; // from "armed" to the end
    QString errors;
};

// Runs the child; with `delayUs` >= 0 kills it that long after the write began.
Outcome runChild(const QStringList& args, qint64 delayUs = -1) {
    QProcess p;
    p.start(QStringLiteral(KIVOR_KILLEE), args);
    Outcome o;
    if (!p.waitForStarted(30000))
        qFatal("the kill test's child does not start");
    QByteArray out;
    QElapsedTimer armed;
    while (!out.contains("armed\n") && p.waitForReadyRead(60000))
        out += p.readAllStandardOutput();
    armed.start();
    if (delayUs >= 0 && p.state() != QProcess::NotRunning) {
        QThread::usleep(quint64(delayUs));
        p.kill();
    }
    p.waitForFinished(120000);
    o.armedNs = armed.nsecsElapsed();
    out += p.readAllStandardOutput();
    o.errors = QString::fromLocal8Bit(p.readAllStandardError());
    o.killed = p.exitStatus() == QProcess::CrashExit;
    o.armed = out.contains("armed\n");
    o.stored = out.contains("stored\n");
    const qsizetype done = out.indexOf("done ");
    o.done = !o.killed && p.exitCode() == 0 && done >= 0;
    if (o.done)
        o.operations = out.mid(done + 5).trimmed().toLong();
    return o;
}

QString integrity(Connection& c) {
    sqlite3_stmt* stmt = nullptr;
    QString result;
    if (sqlite3_prepare_v2(c.handle(), "pragma integrity_check", -1, &stmt, nullptr) == SQLITE_OK)
        while (sqlite3_step(stmt) == SQLITE_ROW)
            result +=
                QString::fromUtf8(reinterpret_cast<const char*>(sqlite3_column_text(stmt, 0)));
    sqlite3_finalize(stmt);
    return result;
}

// The file opens with its password and is whole.
void checkWhole(const fixture::ProgramFolder& folder, DbFile db, unsigned classNo = 0) {
    const std::unique_ptr<Connection> c = folder.connect(db, classNo);
    QCOMPARE(integrity(*c), QStringLiteral("ok"));
}

// The rows of a table as the program reads them at its next start: through
// the store's dataset from the connection string.
fixture::Rows readAsAtStart(const fixture::ProgramFolder& folder, DbFile db, const QString& table,
                            unsigned classNo = 0) {
    Query q(QStringLiteral("next start"));
    q.setConnectionString(folder.connectionString(db, classNo));
    q.setSql({QStringLiteral("select * from ") + table});
    q.open();
    fixture::Rows rows;
    for (q.first(); !q.eof(); q.next()) {
        fixture::Row row;
        for (const QString& f : q.fieldNames())
            row.insert(f.toLower(), q.value(f));
        rows.append(row);
    }
    return rows;
}

QByteArray bytesOf(const QString& path) {
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}

} // namespace

class TestKill : public QObject {
    Q_OBJECT

private:
    int m_kills = 0;
    QRandomGenerator m_chance{13};

    // Kills the child at every counted operation of its write and at
    // `randomKills` random moments, checking after each; then runs it whole.
    template <class Check>
    void killThroughout(const std::function<QStringList(int run, long killAt)>& args,
                        int randomKills, Check check) {
        const Outcome whole = runChild(args(0, 0));
        QVERIFY2(whole.done, qPrintable(whole.errors));
        QVERIFY(whole.operations > 3);
        qInfo("%ld file operations", whole.operations);
        check(whole, 0);
        if (QTest::currentTestFailed())
            return;
        int run = 1;
        for (long at = 1; at <= whole.operations; ++at, ++run) {
            const Outcome o = runChild(args(run, at));
            QVERIFY2(o.killed && o.armed,
                     qPrintable(QStringLiteral("operation %1: %2").arg(at).arg(o.errors)));
            ++m_kills;
            check(o, run);
            if (QTest::currentTestFailed()) {
                qWarning("after the kill at operation %ld", at);
                return;
            }
        }
        for (int i = 0; i < randomKills; ++i, ++run) {
            const qint64 delayUs = qint64(m_chance.bounded(whole.armedNs / 1000 + 1));
            const Outcome o = runChild(args(run, 0), delayUs);
            m_kills += o.killed ? 1 : 0;
            check(o, run);
            if (QTest::currentTestFailed()) {
                qWarning("after the kill %lld µs into the write", delayUs);
                return;
            }
        }
        const Outcome last = runChild(args(run, 0));
        QVERIFY2(last.done, qPrintable(last.errors));
        check(last, run);
    }

private slots:
    void initTestCase() { fixture::usePrivateConfig(); }
    void cleanupTestCase() { qInfo("kills: %d", m_kills); }

    void recordWrite() {
        fixture::ProgramFolder folder;
        for (int i = 1; i <= 3; ++i)
            folder.insert(DbFile::Scratch, QStringLiteral("temp4"),
                          {{QStringLiteral("id"), i},
                           {QStringLiteral("Scores"), 2},
                           {QStringLiteral("TypeQuest"), 0},
                           {QStringLiteral("ChTrueAns"), QStringLiteral("no")}});
        fixture::Pupil earlier;
        earlier.name = QStringLiteral("По-ранен ученик");
        folder.addPupil(earlier);

        // Pupil n's record as the whole run 0 stored it, but for its own fields.
        fixture::Row model;
        QSet<QString> stored; // names whose child said the record was in
        const auto check = [&](const Outcome& o, int run) {
            checkWhole(folder, DbFile::Students);
            const fixture::Rows rows =
                readAsAtStart(folder, DbFile::Students, QStringLiteral("student"));
            QVERIFY(!rows.isEmpty());
            QCOMPARE(rows[0].value(QStringLiteral("name")).toString(), earlier.name);
            if (run == 0)
                model = rows.last();
            QSet<QString> names;
            for (qsizetype i = 1; i < rows.size(); ++i) {
                fixture::Row r = rows[i];
                const QString name = r.value(QStringLiteral("name")).toString();
                QVERIFY2(!names.contains(name), qPrintable(name));
                names.insert(name);
                const int n = name.section(QLatin1Char(' '), 1).toInt();
                QCOMPARE(name, QStringLiteral("Ученик %1").arg(n));
                QCOMPARE(r.value(QStringLiteral("numofclass")).toInt(), n % 99 + 1);
                QCOMPARE(r.value(QStringLiteral("class")).toString(), QString::number(n % 13 + 1));
                for (const QString& same :
                     {QStringLiteral("division"), QStringLiteral("object"), QStringLiteral("theme"),
                      QStringLiteral("val"), QStringLiteral("dt")})
                    QCOMPARE(r.value(same).toString(), model.value(same).toString());
            }
            if (o.stored || o.done)
                stored.insert(QStringLiteral("Ученик %1").arg(run));
            for (const QString& name : stored)
                QVERIFY2(names.contains(name), qPrintable(name + " was stored and is lost"));
        };
        const QString path = folder.path();
        killThroughout(
            [&](int run, long at) {
                return QStringList{QStringLiteral("record"), path, QString::number(run),
                                   QString::number(at)};
            },
            10, check);
    }

    void drawing() {
        fixture::ProgramFolder folder;
        folder.addTopic(kClass, QStringLiteral("математика"), QStringLiteral("дроби"), kTable);
        for (int i = 0; i < 4; ++i) {
            const QString n = QString::number(i);
            folder.addQuestion(kClass, kTable,
                               fixture::fourAnswer(QStringLiteral("Въпрос ") + n,
                                                   fixture::numbered(QStringLiteral("о") + n, 4),
                                                   i % 4, 2));
            folder.addQuestion(kClass, kTable,
                               fixture::termMatching(fixture::numbered(QStringLiteral("п") + n, 3),
                                                     fixture::numbered(QStringLiteral("з") + n, 3),
                                                     {1, 2, 1}));
            folder.addQuestion(
                kClass, kTable,
                fixture::gapFill(QStringLiteral("Текст [дума] и [друга] ") + n, {1, 1}));
        }
        const auto content = [&] {
            fixture::Rows rows =
                folder.rows(DbFile::Class, QStringLiteral("select * from ") + kTable, kClass);
            for (fixture::Row& r : rows) {
                r.remove(QStringLiteral("num"));
                r.remove(QStringLiteral("nt"));
            }
            return rows;
        };
        const fixture::Rows questions = content();
        const int count = int(questions.size());

        const auto check = [&](const Outcome& o, int) {
            checkWhole(folder, DbFile::Class, kClass);
            checkWhole(folder, DbFile::Topics);
            QCOMPARE(content(), questions);
            const fixture::Rows rows = readAsAtStart(folder, DbFile::Class, kTable, kClass);
            QCOMPARE(rows.size(), count);
            // Either numbered, or not yet; drawn: none or every one of a run.
            QSet<int> nums;
            int yes = 0;
            for (const fixture::Row& r : rows) {
                nums.insert(r.value(QStringLiteral("num")).toInt());
                yes += r.value(QStringLiteral("nt")).toString() == QStringLiteral("yes");
            }
            QVERIFY2(nums == QSet<int>{0} || nums.size() == count, "half a numbering");
            QVERIFY(nums == QSet<int>{0} || (*std::min_element(nums.begin(), nums.end()) == 1 &&
                                             *std::max_element(nums.begin(), nums.end()) == count));
            QVERIFY2(yes == 0 || yes == kDrawn, qPrintable(QStringLiteral("%1 drawn").arg(yes)));
            if (o.done) {
                checkWhole(folder, DbFile::Scratch);
                QCOMPARE(readAsAtStart(folder, DbFile::Scratch, QStringLiteral("temp4")).size(),
                         kDrawn);
            }
        };
        const QString path = folder.path();
        killThroughout(
            [&](int run, long at) {
                return QStringList{QStringLiteral("draw"), path, QString::number(run),
                                   QString::number(at)};
            },
            10, check);
    }

    // The old file or the new, whole; a kept copy is the old file byte for byte.
    void migration() {
        fixture::ProgramFolder folder;
        for (const QString& name : fixture::numbered(QStringLiteral("Ученик "), 3))
            folder.addPupil({name});
        folder.exec(DbFile::Students, QStringLiteral("pragma user_version=0"));
        const QString file = folder.file(QStringLiteral("\\data\\students.mdb")),
                      path = folder.path();
        const fixture::Rows records = folder.readTable(DbFile::Students, QStringLiteral("student"));
        Connection::closeAllOn(file);
        const QByteArray original = bytesOf(file);
        const auto args = [&](int run, long at) {
            return QStringList{QStringLiteral("migrate"), path, QString::number(run),
                               QString::number(at)};
        };
        killThroughout(args, 10, [&](const Outcome& o, int run) {
            QVERIFY(!QFile::exists(file + ".v1") || bytesOf(file + ".v1") == original);
            checkWhole(folder, DbFile::Students);
            const int version = storedPupilFileVersion(*folder.connect(DbFile::Students));
            QVERIFY(version == 2 || (version == 0 && !o.done));
            QVERIFY(runChild(args(run, 0)).done); // the next start finishes it
            QCOMPARE(folder.readTable(DbFile::Students, QStringLiteral("student")), records);
            QCOMPARE(folder.readTable(DbFile::Students, QStringLiteral("diary")).size(), 3);
            Connection::closeAllOn(file);
            QFile f(file);
            QVERIFY(QFile::remove(file + ".v1") && f.open(QIODevice::WriteOnly) &&
                    f.write(original));
        });
    }
};

QTEST_GUILESS_MAIN(TestKill)
#include "tst_kill.moc"
