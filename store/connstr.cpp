#include "connstr.h"

#include "paths.h"

#include <array>

namespace {

const QString kProvider = QStringLiteral("Provider=Microsoft.Jet.OLEDB.4.0;Data Source=");
const QString kPersist = QStringLiteral("Persist Security Info=False");
const QString kPassword = QStringLiteral("Jet OLEDB:Database Password=");

// The sixteen database passwords. Changing any of them makes every shipped
// database of that kind unreadable, so they stay as they are.
constexpr const char* kTopicsPassword = "0o5hlz1zpz1k4lk21fz5";
constexpr const char* kStudentsPassword = "60x2dal3p90yvm8pec60";
constexpr const char* kScratchPassword = "5jhs7te25318j1dt9b4m";
constexpr std::array<const char*, 13> kClassPasswords = {
    "op39q43gq68pdya8k7zk", "9bzfl979d9a1yaavtiaq", "vrywzssli0w9cxnu2r4q", "d78q53beyupil6le9v8o",
    "ep1iabpwoy5ujbj5cjei", "2c6ofrm6xviffpt67s8k", "8rpp3ldpn42epk8jatuy", "2v8z9hranmdmfwbemnl0",
    "dvp006vp2esk1ft7hj26", "hxif7kf7dpi5odp94p5q", "3jhqisb86sbjoo5on11k", "qy0og75xtogr0dbs0kw5",
    "pj2q8n5yfo4qq950gntz",
};

} // namespace

QString topicsPassword() {
    return QString::fromLatin1(kTopicsPassword);
}
QString studentsPassword() {
    return QString::fromLatin1(kStudentsPassword);
}
QString scratchPassword() {
    return QString::fromLatin1(kScratchPassword);
}

void prse(unsigned classNo, QString& out) {
    if (classNo >= 1 && classNo <= kClassPasswords.size())
        out = QString::fromLatin1(kClassPasswords[classNo - 1]);
}

QString dbRelativePath(DbFile file, unsigned classNo) {
    switch (file) {
    case DbFile::Topics:
        return QStringLiteral("\\data\\topics.mdb");
    case DbFile::Students:
        return QStringLiteral("\\data\\students.mdb");
    case DbFile::Class:
        return QStringLiteral("\\data\\class%1.mdb").arg(classNo);
    case DbFile::Scratch:
        return QStringLiteral("\\data\\temp.mdb");
    case DbFile::Dict:
        return QStringLiteral("\\dict\\dict.mdb");
    }
    return {};
}

namespace {

// A file name that holds the string's own separator is quoted, as the
// provider's strings quote a value, with an inner quote doubled; any other
// name stands as it is.
QString sourceValue(QString path) {
    if (!path.contains(QLatin1Char(';')) && !path.startsWith(QLatin1Char('"')))
        return path;
    path.replace(QLatin1String("\""), QLatin1String("\"\""));
    return QLatin1Char('"') + path + QLatin1Char('"');
}

} // namespace

QString connectionString(const QString& programFolder, DbFile file, unsigned classNo) {
    const QString head = kProvider + sourceValue(programFolder + dbRelativePath(file, classNo));
    if (file == DbFile::Dict)
        return head + QLatin1Char(';') + kPersist;
    QString password;
    switch (file) {
    case DbFile::Topics:
        password = topicsPassword();
        break;
    case DbFile::Students:
        password = studentsPassword();
        break;
    case DbFile::Scratch:
        password = scratchPassword();
        break;
    case DbFile::Class:
        prse(classNo, password);
        break;
    case DbFile::Dict:
        break;
    }
    return head + QLatin1Char(';') + kPersist + QLatin1Char(';') + kPassword + password;
}

ConnectionTarget parseConnectionString(const QString& cs) {
    ConnectionTarget t;
    const QString source = QStringLiteral("Data Source=");
    const qsizetype from = cs.indexOf(source, 0, Qt::CaseInsensitive);
    if (from < 0)
        return t;
    const qsizetype begin = from + source.size();
    qsizetype end = -1;
    if (cs.mid(begin, 1) == QLatin1String("\"")) {
        QString path;
        qsizetype at = begin + 1;
        for (; at < cs.size(); ++at) {
            if (cs[at] != QLatin1Char('"')) {
                path += cs[at];
            } else if (cs.mid(at + 1, 1) == QLatin1String("\"")) {
                path += cs[at++];
            } else {
                break;
            }
        }
        t.path = nativePath(path);
        end = at;
    } else {
        // A string written without quotes: a semicolon may still belong to
        // the folder, so the file name runs up to the security clause rather
        // than to the next semicolon.
        end = cs.indexOf(QLatin1Char(';') + kPersist, begin, Qt::CaseInsensitive);
        if (end < 0) {
            end = cs.lastIndexOf(QLatin1Char(';'));
            if (end < begin)
                end = cs.size();
        }
        t.path = nativePath(cs.mid(begin, end - begin));
    }
    const qsizetype pw = cs.indexOf(kPassword, end, Qt::CaseInsensitive);
    if (pw >= 0) {
        t.password = cs.mid(pw + kPassword.size());
        if (t.password.endsWith(QLatin1Char(';')))
            t.password.chop(1);
    }
    return t;
}
