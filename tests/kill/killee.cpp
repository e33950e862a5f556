// The child of the kill tests: one write of the program (a pupil's record
// stored by the results window, a drawing into the scratch database, or the
// pupil file brought to a newer version at the start) over
// a program folder it is given. Every file operation of the database engine
// is counted from the moment the write begins; at the chosen one the process
// kills itself with SIGKILL, which, like a kill from outside, ends it on the
// spot with nothing flushed or closed.
//
//   kivor-killee record <program folder> <pupil number> [kill at]
//   kivor-killee draw <program folder> <seed> [kill at]
//   kivor-killee migrate <program folder> <run> [kill at]
//
// Prints "armed" when the write begins, "stored" once a record is in, and
// "done <operations>" when it is complete; a message box or an exception is printed and ends it
// with 1.
#include "app/datamodule.h"
#include "app/globals.h"
#include "app/mainform.h"
#include "app/messages.h"
#include "results/runsource.h"
#include "results/valform.h"
#include "setup/drawing.h"
#include "store/pupilversion.h"
#include "support/fixedrandom.h"

#include <QApplication>
#include <QByteArrayList>
#include <QTimer>
#include <algorithm>
#include <csignal>
#include <cstdio>
#include <cstring>
#include <memory>
#include <sqlite3.h>
#include <stdexcept>

namespace {

long g_operations = 0;
long g_killAt = 0; // 0: never
bool g_armed = false;

void operation() {
    if (!g_armed)
        return;
    if (++g_operations == g_killAt)
        std::raise(SIGKILL);
}

// A VFS over the default one that counts opening, writing, truncating,
// syncing and deleting: the operations after which a file on disk differs.
sqlite3_vfs* g_real = nullptr;

struct CountedFile {
    sqlite3_file base;
    sqlite3_file* real; // the default VFS's file, right behind this struct
};

sqlite3_file* realOf(sqlite3_file* f) {
    return reinterpret_cast<CountedFile*>(f)->real;
}

int fileClose(sqlite3_file* f) {
    return realOf(f)->pMethods->xClose(realOf(f));
}
int fileRead(sqlite3_file* f, void* buf, int n, sqlite3_int64 at) {
    return realOf(f)->pMethods->xRead(realOf(f), buf, n, at);
}
int fileWrite(sqlite3_file* f, const void* buf, int n, sqlite3_int64 at) {
    operation();
    return realOf(f)->pMethods->xWrite(realOf(f), buf, n, at);
}
int fileTruncate(sqlite3_file* f, sqlite3_int64 size) {
    operation();
    return realOf(f)->pMethods->xTruncate(realOf(f), size);
}
int fileSync(sqlite3_file* f, int flags) {
    operation();
    return realOf(f)->pMethods->xSync(realOf(f), flags);
}
int fileSize(sqlite3_file* f, sqlite3_int64* size) {
    return realOf(f)->pMethods->xFileSize(realOf(f), size);
}
int fileLock(sqlite3_file* f, int level) {
    return realOf(f)->pMethods->xLock(realOf(f), level);
}
int fileUnlock(sqlite3_file* f, int level) {
    return realOf(f)->pMethods->xUnlock(realOf(f), level);
}
int fileReserved(sqlite3_file* f, int* out) {
    return realOf(f)->pMethods->xCheckReservedLock(realOf(f), out);
}
int fileControl(sqlite3_file* f, int op, void* arg) {
    return realOf(f)->pMethods->xFileControl(realOf(f), op, arg);
}
int fileSectorSize(sqlite3_file* f) {
    return realOf(f)->pMethods->xSectorSize(realOf(f));
}
int fileCharacteristics(sqlite3_file* f) {
    return realOf(f)->pMethods->xDeviceCharacteristics(realOf(f));
}

// Version 1 only: without shared-memory and mapping methods the engine uses
// neither, which the program's journal modes never need.
sqlite3_io_methods countedMethods() {
    sqlite3_io_methods m{};
    m.iVersion = 1;
    m.xClose = fileClose;
    m.xRead = fileRead;
    m.xWrite = fileWrite;
    m.xTruncate = fileTruncate;
    m.xSync = fileSync;
    m.xFileSize = fileSize;
    m.xLock = fileLock;
    m.xUnlock = fileUnlock;
    m.xCheckReservedLock = fileReserved;
    m.xFileControl = fileControl;
    m.xSectorSize = fileSectorSize;
    m.xDeviceCharacteristics = fileCharacteristics;
    return m;
}
const sqlite3_io_methods kCountedMethods = countedMethods();

int vfsOpen(sqlite3_vfs*, const char* name, sqlite3_file* f, int flags, int* outFlags) {
    operation();
    auto* counted = reinterpret_cast<CountedFile*>(f);
    counted->real = reinterpret_cast<sqlite3_file*>(counted + 1);
    counted->base.pMethods = nullptr;
    const int rc = g_real->xOpen(g_real, name, counted->real, flags, outFlags);
    if (counted->real->pMethods)
        counted->base.pMethods = &kCountedMethods;
    return rc;
}
int vfsDelete(sqlite3_vfs*, const char* name, int syncDir) {
    operation();
    return g_real->xDelete(g_real, name, syncDir);
}

sqlite3_vfs g_counted;

void installCountingVfs() {
    g_real = sqlite3_vfs_find(nullptr);
    g_counted = *g_real;
    g_counted.iVersion = std::min(g_real->iVersion, 3);
    g_counted.szOsFile = int(sizeof(CountedFile)) + g_real->szOsFile;
    g_counted.zName = "counted";
    g_counted.pNext = nullptr;
    g_counted.xOpen = vfsOpen;
    g_counted.xDelete = vfsDelete;
    sqlite3_vfs_register(&g_counted, 1);
}

void say(const char* what) {
    std::fputs(what, stdout);
    std::fputc('\n', stdout);
    std::fflush(stdout);
}

void arm() {
    say("armed");
    g_armed = true;
}

// The run as the other windows would hand it over: pupil `n`.
class Run : public RunSource {
public:
    explicit Run(int n) {
        m_run.score = 5;
        m_run.fullName = QStringLiteral("Ученик %1").arg(n);
        m_run.numberInClass = n % 99 + 1;
        m_run.classText = QString::number(n % 13 + 1);
        m_run.divisionText = QStringLiteral("А");
        m_run.divisionPosition = 1;
        m_run.subject = QStringLiteral("математика");
        m_run.section = QStringLiteral("дроби");
    }
    RunInputs inputs() override { return m_run; }
    void stopClocks() override {}
    QString timeLimitText() override { return QStringLiteral("0:40:0"); }
    QString elapsedText() override { return QStringLiteral("0:12:5"); }

private:
    RunInputs m_run;
};

// The question list open over the scratch database as the session leaves it
// (the parent filled temp4), then the results window shown: it grades and
// stores the record.
void storeRecord(TDataModule2& dm, int pupil) {
    Run run(pupil);
    setRunSource(&run);
    Tmain main;
    main.Timer1->stop();
    main.ProgramFolder = dm.programFolder();
    MainForm = &main;
    TValForm form;
    ValForm = &form;
    dm.connectScratch();
    dm.Temp.setConnection(&dm.ATemp1);
    dm.Temp.setSql({QStringLiteral("select * from temp4")});
    dm.Temp.open();
    dm.setDisplayEnabled(false);
    arm();
    form.show();
    if (!form.recordStored())
        throw std::runtime_error("the record was not stored");
    say("stored");
    ValForm = nullptr;
    MainForm = nullptr;
    setRunSource(nullptr);
}

// As the subject window leaves it: Topics on the section's row, class 5.
void draw(TDataModule2& dm, int seed) {
    Query& topics = dm.Topics;
    topics.setConnectionString(dm.connectionString(DbFile::Topics));
    topics.setSql({QStringLiteral("select * from topics"), QStringLiteral("where class=5")});
    topics.open();
    QList<int> chance;
    for (int i = 0; i < 40; ++i)
        chance.append(seed * 7919 + i * 104729);
    fixture::FixedRandom random(chance);
    SilentProgress progress;
    arm();
    drawQuestions(dm, 5, 6, random, progress);
}

// The program's steps and one that changes the layout, as a later table would.
const PupilFileSteps kWithDiary =
    pupilFileSteps() + PupilFileSteps{{"create table diary (id integer primary key, pupil text)",
                                       "insert into diary (pupil) select Name from student"}};

} // namespace

int main(int argc, char** argv) {
    if (argc < 4 || !QByteArrayList{"record", "draw", "migrate"}.contains(argv[1])) {
        std::fprintf(stderr, "usage: %s record|draw|migrate <program folder> <number> [kill at]\n",
                     argv[0]);
        return 2;
    }
    if (argc > 4)
        g_killAt = std::atol(argv[4]);
    installCountingVfs();
    QApplication app(argc, argv);
    setMessageSink([](MessageKind, const QString& text) {
        std::fprintf(stderr, "message: %s\n", qPrintable(text));
        std::exit(1);
    });
    try {
        TDataModule2 dm;
        DataModule2 = &dm;
        dm.setProgramFolder(QString::fromLocal8Bit(argv[2]));
        const int number = std::atoi(argv[3]);
        if (std::strcmp(argv[1], "record") == 0)
            storeRecord(dm, number);
        else if (std::strcmp(argv[1], "draw") == 0)
            draw(dm, number);
        else
            arm(), upgradePupilFile(dm.programFolder(), kWithDiary);
        g_armed = false;
        DataModule2 = nullptr;
    } catch (const std::exception& e) {
        std::fprintf(stderr, "failed: %s\n", e.what());
        return 1;
    }
    std::printf("done %ld\n", g_operations);
    return 0;
}
