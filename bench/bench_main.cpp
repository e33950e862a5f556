// Speed figures of the data layer, each set beside a floor measured in the
// same run so that the ratios hold on any machine.
#include "bench_startup.h"
#include "benchutil.h"

#include "setup/drawing.h"
#include "setup/random.h"
#include "store/connection.h"
#include "store/connstr.h"
#include "store/datamodule.h"
#include "store/jetsql.h"
#include "store/query.h"
#include "store/scratch.h"

#include <QApplication>
#include <QTemporaryDir>
#include <cstdio>

namespace {

constexpr int kQuestions = 10000;
constexpr int kRuns = 5;

// One read of the question table through the provider, touching the columns
// the drawing reads.
void readTable(Query& q) {
    q.open();
    long long sum = 0;
    for (int j = 1; j <= q.recordCount(); ++j) {
        q.moveTo(j);
        sum += q.integer(QStringLiteral("num"));
        sum += q.text(QStringLiteral("AnsA")).size() + q.text(QStringLiteral("terms")).size() +
               q.text(QStringLiteral("textw")).size();
    }
    if (sum < 0)
        std::printf("?\n");
}

// The numbering of a drawing: every row's num and nt rewritten.
void rewriteNumbers(Query& q, Connection* inTransaction) {
    q.open();
    std::unique_ptr<Transaction> tx;
    if (inTransaction)
        tx = std::make_unique<Transaction>(*inTransaction);
    for (int j = 1; j <= q.recordCount(); ++j) {
        q.moveTo(j);
        q.edit();
        q.setInteger(QStringLiteral("num"), j);
        q.setText(QStringLiteral("nt"), QStringLiteral("no"));
        q.post();
    }
    if (tx)
        tx->commit();
}

} // namespace

int main(int argc, char** argv) {
    renderOffscreenWithoutDisplay();
    QApplication app(argc, argv);
    QTemporaryDir dir;
    const QString folder = dir.path();
    std::printf("Building a %d-question table ...\n", kQuestions);
    const QString table = makeBenchFolder(folder, kQuestions);

    Query themes(QStringLiteral("Themes"));
    themes.setConnectionString(connectionString(folder, DbFile::Class, 1));
    themes.setSql(
        {QStringLiteral("select * from ") + quoteName(table), QStringLiteral("where test=1")});

    const double read = medianMs(kRuns, [&] { readTable(themes); });
    const double rewriteTx = medianMs(kRuns, [&] { rewriteNumbers(themes, themes.connection()); });
    const double floor = read + rewriteTx;
    std::printf("\nFloor (one read of the table + one rewrite of num/nt in one transaction): "
                "%.2f ms\n\n",
                floor);
    report(QStringLiteral("read %1 question rows").arg(kQuestions), read, floor);
    report(QStringLiteral("rewrite num/nt, one transaction"), rewriteTx, floor);
    const double rewriteRows = medianMs(1, [&] { rewriteNumbers(themes, nullptr); });
    report(QStringLiteral("rewrite num/nt, row by row (each post synced)"), rewriteRows, floor);

    // 100 drawn questions appended to the scratch table, as the drawing copies them.
    Connection scratch;
    Query temp(QStringLiteral("Temp"));
    const double append = medianMs(kRuns, [&] {
        renewScratch(folder);
        scratch.setConnectionString(connectionString(folder, DbFile::Scratch));
        scratch.open();
        temp.setConnection(&scratch);
        temp.setSql({QStringLiteral("select * from temp4")});
        temp.open();
        themes.open();
        Transaction tx(scratch);
        for (int k = 1; k <= 100; ++k) {
            themes.moveTo(k * 97 % kQuestions + 1);
            temp.append();
            temp.setInteger(QStringLiteral("id"), k);
            for (const char* col :
                 {"Condition", "Quest", "FullAns", "AnsA", "AnsB", "AnsC", "AnsD", "TrueAns",
                  "Terms", "Trans", "TTScores", "TextW", "Words", "Start", "Leng"})
                temp.setValue(QLatin1String(col), themes.value(QLatin1String(col)));
            temp.setInteger(QStringLiteral("Limit"), 0);
            temp.post();
        }
        tx.commit();
    });
    report(QStringLiteral("renew scratch + append 100 temp4 rows"), append, floor);

    // A whole drawing of 100 questions, as the subject window starts it.
    TDataModule2 dm;
    dm.setProgramFolder(folder);
    const double drawing = medianMs(kRuns, [&] {
        dm.Topics.close();
        dm.Topics.setConnectionString(dm.connectionString(DbFile::Topics));
        dm.Topics.setSql(
            {QStringLiteral("select * from topics"), QStringLiteral("where class=:cl")});
        dm.Topics.setParam(QStringLiteral("cl"), 1);
        dm.Topics.open();
        SilentProgress progress;
        drawQuestions(dm, 1, 100, randomSource(), progress);
    });
    report(QStringLiteral("draw 100 of %1 questions (target: within 3x floor)").arg(kQuestions),
           drawing, floor);
    benchStartup();
    return 0;
}
