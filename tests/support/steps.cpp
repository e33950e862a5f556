#include "steps.h"

#include "store/query.h"

#include <QTest>

namespace fixture {

void runSteps(Query& q, const QString& steps) {
    for (const QString& step : steps.split(QLatin1Char(' '), Qt::SkipEmptyParts)) {
        const QString word = step.section(QLatin1Char(':'), 0, 0);
        const QString arg = step.section(QLatin1Char(':'), 1);
        const QString field = arg.section(QLatin1Char('='), 0, 0);
        const QString value = arg.section(QLatin1Char('='), 1);
        if (word == QLatin1String("next"))
            q.next();
        else if (word == QLatin1String("prior"))
            q.prior();
        else if (word == QLatin1String("first"))
            q.first();
        else if (word == QLatin1String("last"))
            q.last();
        else if (word == QLatin1String("move"))
            q.moveTo(arg.toInt());
        else if (word == QLatin1String("edit"))
            q.edit();
        else if (word == QLatin1String("set"))
            q.setText(field, value);
        else if (word == QLatin1String("post"))
            q.post();
        else if (word == QLatin1String("cancel"))
            q.cancel();
        else if (word == QLatin1String("append"))
            q.append();
        else if (word == QLatin1String("insert"))
            q.insert();
        else if (word == QLatin1String("delete"))
            q.deleteRecord();
        else if (word == QLatin1String("locate"))
            q.locate(field, value);
        else
            QFAIL(qPrintable(QStringLiteral("unknown step ") + step));
    }
}

} // namespace fixture
