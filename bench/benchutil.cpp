#include "benchutil.h"

#include "question/question.h"
#include "session/testform.h"
#include "settings/settingsform.h"
#include "setup/drawing.h"
#include "setup/objectform.h"
#include "setup/progressform.h"
#include "setup/random.h"
#include "store/connection.h"
#include "store/connstr.h"
#include "store/datamodule.h"
#include "store/jetsql.h"
#include "store/multiline.h"
#include "store/paths.h"
#include "store/query.h"
#include "store/schema.h"
#include "ui/instances.h"

#include <QApplication>
#include <QCheckBox>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QTextStream>
#include <algorithm>
#include <cstdio>
#include <vector>

void renderOffscreenWithoutDisplay() {
    if (qEnvironmentVariableIsEmpty("DISPLAY") && qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
}

double medianMs(int runs, const std::function<void()>& work) {
    std::vector<double> times;
    for (int i = 0; i < runs; ++i) {
        QElapsedTimer t;
        t.start();
        work();
        times.push_back(double(t.nsecsElapsed()) / 1e6);
    }
    std::sort(times.begin(), times.end());
    return times[times.size() / 2];
}

void report(const QString& name, double ms, double floorMs, const char* basis) {
    if (floorMs > 0)
        std::printf("%-58s %9.2f ms   %6.2f x %s\n", qPrintable(name), ms, ms / floorMs, basis);
    else
        std::printf("%-58s %9.2f ms\n", qPrintable(name), ms);
    std::fflush(stdout);
}

QString makeBenchFolder(const QString& folder, int count) {
    QDir().mkpath(folder + QStringLiteral("/data"));
    const QString table = QStringLiteral("bench_big");
    {
        auto scratch = Connection::create(programPath(folder, QStringLiteral("\\data\\ctemp.mdb")),
                                          scratchPassword());
        for (const schema::Table& t : schema::scratchTables())
            schema::create(*scratch, t);
    }
    QFile::copy(programPath(folder, QStringLiteral("\\data\\ctemp.mdb")),
                programPath(folder, QStringLiteral("\\data\\temp.mdb")));
    {
        auto topics = Connection::create(programPath(folder, QStringLiteral("\\data\\topics.mdb")),
                                         topicsPassword());
        schema::create(*topics, schema::topics());
        Query t;
        t.setConnection(topics.get());
        t.setSql({QStringLiteral("select * from topics")});
        t.open();
        t.append();
        t.setInteger(QStringLiteral("class"), 1);
        t.setText(QStringLiteral("object"), QStringLiteral("бенчмарк"));
        t.setText(QStringLiteral("section"), QStringLiteral("голям раздел"));
        t.setText(QStringLiteral("table"), table);
        t.post();
    }
    QString password;
    prse(1, password);
    auto c =
        Connection::create(programPath(folder, QStringLiteral("\\data\\class1.mdb")), password);
    schema::create(*c, schema::question(table));
    Query q;
    q.setConnection(c.get());
    q.setSql({QStringLiteral("select * from ") + quoteName(table)});
    q.open();
    Transaction tx(*c);
    for (int i = 1; i <= count; ++i) {
        const auto kind = question::Kind(i % 3);
        q.append();
        q.setInteger(QStringLiteral("test"), 1);
        q.setInteger(QStringLiteral("num"), i);
        q.setText(QStringLiteral("nt"), QStringLiteral("no"));
        q.setInteger(QStringLiteral("typequest"), int(kind));
        q.setText(QStringLiteral("Condition"), QStringLiteral("Изберете верния отговор."));
        q.setText(QStringLiteral("FullAns"),
                  QStringLiteral("Пълен отговор на въпрос %1, с обяснение защо.").arg(i));
        q.setInteger(QStringLiteral("Scores"), 2);
        if (kind == question::Kind::Choice) {
            q.setText(QStringLiteral("Quest"), QStringLiteral("Въпрос номер %1?").arg(i));
            q.setText(QStringLiteral("AnsA"), QStringLiteral("първи отговор"));
            q.setText(QStringLiteral("AnsB"), QStringLiteral("втори отговор"));
            q.setText(QStringLiteral("AnsC"), QStringLiteral("трети отговор"));
            q.setText(QStringLiteral("AnsD"), QStringLiteral("четвърти отговор"));
            q.setText(QStringLiteral("TrueAns"), QStringLiteral("Б"));
        } else if (kind == question::Kind::Matching) {
            // Ten pairs: the most a term page shows, and draws lines for.
            QStringList terms, trans, points;
            for (int p = 1; p <= 10; ++p) {
                terms.append(QStringLiteral("понятие %1").arg(p));
                trans.append(QStringLiteral("значение %1").arg(p));
                points.append(QStringLiteral("1"));
            }
            q.setText(QStringLiteral("Terms"), joinLines(terms));
            q.setText(QStringLiteral("Trans"), joinLines(trans));
            q.setText(QStringLiteral("TTScores"), joinLines(points));
        } else {
            // A passage of school length with eight gaps, as the shipped
            // banks have them: the page lays out and colours all of it.
            static const QStringList fill = {
                QStringLiteral("учим"),    QStringLiteral("училище"),   QStringLiteral("река"),
                QStringLiteral("планина"), QStringLiteral("граница"),   QStringLiteral("столица"),
                QStringLiteral("равнина"), QStringLiteral("пристанище")};
            QString text;
            QStringList starts, lengs, points;
            for (const QString& word : fill) {
                text += QStringLiteral("Този абзац разказва за природата и хората на родния край "
                                       "и за това, което пазим в паметта си, а думата");
                starts.append(QString::number(text.size()));
                text += question::kGapMarker;
                text += QStringLiteral("стои на мястото си. ");
                lengs.append(QString::number(word.size()));
                points.append(QStringLiteral("1"));
            }
            q.setText(QStringLiteral("TextW"), text);
            q.setText(QStringLiteral("Words"), joinLines(fill));
            q.setText(QStringLiteral("Start"), joinLines(starts));
            q.setText(QStringLiteral("Leng"), joinLines(lengs));
            q.setText(QStringLiteral("TTScores"), joinLines(points));
        }
        q.post();
    }
    tx.commit();
    return table;
}

void openBenchRun(const QString& folder, int drawn) {
    DataModule2 = new TDataModule2;
    DataModule2->setProgramFolder(folder);
    SettingsForm = new TSettingsForm;
    SettingsForm->setProgramFolder(folder);
    SettingsForm->srqc1->setChecked(true);
    ObjectForm = new TObjectForm;
    ObjectForm->SessionKind = QStringLiteral("test");
    TestForm = new TTestForm;

    Query& topics = DataModule2->Topics;
    topics.setConnectionString(DataModule2->connectionString(DbFile::Topics));
    topics.setSql({QStringLiteral("select * from topics"), QStringLiteral("where class=:cl")});
    topics.setParam(QStringLiteral("cl"), 1);
    topics.open();
    TProgressForm progress;
    drawQuestions(*DataModule2, 1, drawn, randomSource(), progress);
    TestForm->show();
    QApplication::processEvents();
}

void closeBenchRun() {
    TestForm->EndBtnClick();
    delete TestForm;
    delete ObjectForm;
    delete SettingsForm;
    delete DataModule2;
}

double peakMemoryMb() {
    QFile status(QStringLiteral("/proc/self/status"));
    if (!status.open(QIODevice::ReadOnly | QIODevice::Text))
        return 0;
    QTextStream in(&status);
    for (QString line = in.readLine(); !line.isNull(); line = in.readLine())
        if (line.startsWith(QLatin1String("VmHWM:")))
            return line.section(QLatin1Char(' '), 1, -1, QString::SectionSkipEmpty)
                       .section(QLatin1Char(' '), 0, 0)
                       .toDouble() /
                   1024.0;
    return 0;
}

bool resetPeakMemory() {
    // "5" resets the peak resident size to the current one (Linux 4.0 on).
    QFile refs(QStringLiteral("/proc/self/clear_refs"));
    return refs.open(QIODevice::WriteOnly) && refs.write("5") == 1;
}
