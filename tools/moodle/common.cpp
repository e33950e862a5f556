#include "common.h"

#include "tools/bank/gaps.h"

#include <QDir>
#include <QFileInfo>

namespace moodle {

Arguments::Arguments(const QStringList& arguments, const QStringList& known) {
    for (qsizetype i = 0; i < arguments.size(); ++i) {
        const QString& a = arguments[i];
        if (!a.startsWith(QLatin1Char('-')) || a == QLatin1String("-")) {
            positional.append(a);
            continue;
        }
        QString name = a;
        QString value;
        bool inline_ = false;
        if (const qsizetype eq = a.indexOf(QLatin1Char('='));
            eq > 0 && a.startsWith(QLatin1String("--"))) {
            name = a.left(eq);
            value = a.mid(eq + 1);
            inline_ = true;
        }
        if (!known.contains(name)) {
            fault = QStringLiteral("Непознат параметър „%1“.").arg(a);
            return;
        }
        if (!inline_) {
            if (i + 1 >= arguments.size()) {
                fault = QStringLiteral("Параметърът „%1“ иска стойност.").arg(name);
                return;
            }
            value = arguments[++i];
        }
        if (options.contains(name)) {
            fault = QStringLiteral("Параметърът „%1“ е даден два пъти.").arg(name);
            return;
        }
        options.insert(name, value);
    }
}

int classNumber(const QString& text) {
    bool ok = false;
    const int n = text.trimmed().toInt(&ok);
    return ok && n >= 1 && n <= 13 ? n : 0;
}

QString contentFolderOf(const QString& bankFile) {
    const QDir dir = QFileInfo(bankFile).absoluteDir();
    if (dir.dirName() == QLatin1String("banks"))
        return QFileInfo(dir.absolutePath()).absolutePath();
    return dir.absolutePath();
}

QString defaultCondition(bank::Kind kind) {
    switch (kind) {
    case bank::Kind::Choice:
        return QStringLiteral("Изберете верния отговор.");
    case bank::Kind::Matching:
        return QStringLiteral("Свържете всяко понятие с неговото значение.");
    case bank::Kind::Gaps:
        return QStringLiteral("Попълнете пропуснатите думи.");
    }
    return QString();
}

} // namespace moodle
