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
#include "kit/messages.h"
#include "results/runsource.h"
#include "results/valform.h"
#include "setup/drawing.h"
#include "store/datamodule.h"
#include "store/diskfaults.h"
#include "store/pupilversion.h"
#include "support/fixedrandom.h"
#include "ui/instances.h"
#include "ui/mainwindow.h"

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
    TMainWindow main;
    main.ProgramFolder = dm.programFolder();
    MainWindow = &main;
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
    MainWindow = nullptr;
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
    // Opening, writing, truncating, syncing and deleting: the operations
    // after which a file on disk differs.
    watchDiskChanges([](DiskChange, const char*) {
        operation();
        return SQLITE_OK;
    });
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
