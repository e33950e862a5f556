#include "programfolder.h"

#include "tools/bank/gaps.h"

#include "store/connection.h"
#include "store/jetsql.h"
#include "store/multiline.h"
#include "store/paths.h"
#include "store/schema.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QTest>
#include <sqlite3.h>

namespace fixture {

namespace {

// Points per pair or gap, and the question's points as their sum.
void setPoints(Question& q, const QList<int>& points) {
    q.scores = 0;
    for (int p : points) {
        q.ttscores.append(QString::number(p));
        q.scores += p;
    }
}

void createDatabase(const QString& path, const QString& password,
                    const QList<schema::Table>& tables) {
    auto c = Connection::create(path, password);
    // Writes the first page, so that even a database without tables is
    // encrypted on disk and refuses a wrong password.
    c->execRaw(QStringLiteral("pragma user_version = 1"));
    for (const schema::Table& t : tables)
        schema::create(*c, t);
}

void bind(sqlite3_stmt* stmt, int i, const QVariant& v) {
    if (!v.isValid() || v.isNull()) {
        sqlite3_bind_null(stmt, i);
    } else if (v.typeId() == QMetaType::Int || v.typeId() == QMetaType::LongLong ||
               v.typeId() == QMetaType::UInt) {
        sqlite3_bind_int64(stmt, i, v.toLongLong());
    } else if (v.typeId() == QMetaType::QByteArray) {
        const QByteArray b = v.toByteArray();
        sqlite3_bind_blob(stmt, i, b.constData(), int(b.size()), SQLITE_TRANSIENT);
    } else {
        const QString s =
            v.typeId() == QMetaType::QDate ? v.toDate().toString(Qt::ISODate) : v.toString();
        const QByteArray t = s.toUtf8();
        sqlite3_bind_text(stmt, i, t.constData(), int(t.size()), SQLITE_TRANSIENT);
    }
}

QVariant column(sqlite3_stmt* stmt, int i) {
    const int bytes = sqlite3_column_bytes(stmt, i);
    switch (sqlite3_column_type(stmt, i)) {
    case SQLITE_INTEGER:
        return qlonglong(sqlite3_column_int64(stmt, i));
    case SQLITE_FLOAT:
        return sqlite3_column_double(stmt, i);
    case SQLITE_TEXT:
        return QString::fromUtf8(reinterpret_cast<const char*>(sqlite3_column_text(stmt, i)),
                                 bytes);
    case SQLITE_BLOB:
        return QByteArray(static_cast<const char*>(sqlite3_column_blob(stmt, i)), bytes);
    default:
        return QVariant();
    }
}

// Runs one statement with positional values; the rows it returns, if any.
Rows run(Connection& c, const QString& sql, const QVariantList& values = {}) {
    sqlite3_stmt* stmt = nullptr;
    const QByteArray text = sql.toUtf8();
    int rc = sqlite3_prepare_v2(c.handle(), text.constData(), int(text.size()), &stmt, nullptr);
    if (rc != SQLITE_OK) {
        sqlite3_finalize(stmt);
        c.fail(rc, sql);
    }
    for (int i = 0; i < values.size(); ++i)
        bind(stmt, i + 1, values[i]);
    Rows out;
    while ((rc = sqlite3_step(stmt)) == SQLITE_ROW) {
        Row row;
        for (int i = 0; i < sqlite3_column_count(stmt); ++i)
            row.insert(QString::fromUtf8(sqlite3_column_name(stmt, i)).toLower(), column(stmt, i));
        out.append(row);
    }
    sqlite3_finalize(stmt);
    if (rc != SQLITE_DONE)
        c.fail(rc, sql);
    return out;
}

} // namespace

Question fourAnswer(const QString& quest, const QStringList& answers, int right, int scores) {
    Question q;
    q.typequest = int(question::Kind::Choice);
    q.quest = quest;
    q.ansA = answers.value(0);
    q.ansB = answers.value(1);
    q.ansC = answers.value(2);
    q.ansD = answers.value(3);
    q.trueAns = QString(QChar(0x0410 + right));
    q.fullAns = QStringLiteral("Верният отговор е ") + answers.value(right) + QLatin1Char('.');
    q.scores = scores;
    return q;
}

QStringList numbered(const QString& stem, int n) {
    QStringList out;
    for (int i = 1; i <= n; ++i)
        out.append(stem + QString::number(i));
    return out;
}

Question termMatching(const QStringList& terms, const QStringList& trans,
                      const QList<int>& points) {
    Question q;
    q.typequest = int(question::Kind::Matching);
    q.condition = QStringLiteral("Свържете всяко понятие с неговото значение.");
    q.terms = terms;
    q.trans = trans;
    setPoints(q, points);
    return q;
}

Question gapFill(const QString& passage, const QList<int>& points) {
    Question q;
    q.typequest = int(question::Kind::Gaps);
    q.condition = QStringLiteral("Попълнете липсващите думи.");
    // The same reading of [word] as the bank tool's, so fixtures and shipped
    // banks place their gaps alike.
    QStringList faults;
    QStringList warnings;
    const bank::GapText gaps = bank::parseGapText(passage, &faults, &warnings);
    Q_ASSERT(faults.isEmpty());
    q.textw = gaps.text;
    q.words = gaps.words;
    for (int i = 0; i < gaps.words.size(); ++i) {
        q.start.append(QString::number(gaps.starts.value(i)));
        q.leng.append(QString::number(gaps.words[i].size()));
    }
    setPoints(q, points);
    return q;
}

namespace {

// The databases of a fresh program folder, made once and kept as bytes: a
// file written out whole costs far less than a copy of one, which goes
// through a temporary file, a rename and a change of permissions.
using FileBytes = QList<QPair<QString, QByteArray>>;
const FileBytes& freshFiles() {
    static const FileBytes files = [] {
        QTemporaryDir dir;
        const QString root = dir.path();
        const auto at = [&](const char* relative) {
            return programPath(root, QString::fromLatin1(relative));
        };
        QDir(root).mkpath(QStringLiteral("data"));
        QDir(root).mkpath(QStringLiteral("dict"));
        createDatabase(at("\\data\\topics.mdb"), topicsPassword(), {schema::topics()});
        createDatabase(at("\\data\\students.mdb"), studentsPassword(), {schema::student()});
        createDatabase(at("\\data\\ctemp.mdb"), scratchPassword(), schema::scratchTables());
        createDatabase(at("\\data\\m_thms.mdb"), QString(), {});
        QString password;
        prse(1, password);
        createDatabase(at("\\data\\class1.mdb"), password, {});
        createDatabase(at("\\dict\\dict.mdb"), QString(), {schema::dicts()});
        FileBytes out;
        for (const char* relative :
             {"\\data\\topics.mdb", "\\data\\students.mdb", "\\data\\ctemp.mdb",
              "\\data\\m_thms.mdb", "\\data\\class1.mdb", "\\dict\\dict.mdb"}) {
            QFile f(at(relative));
            out.append({QString::fromLatin1(relative),
                        f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray()});
        }
        // The scratch database as the program renews it: a copy of the template.
        out.append({QStringLiteral("\\data\\temp.mdb"), out[2].second});
        return out;
    }();
    return files;
}

} // namespace

ProgramFolder::ProgramFolder(const QString& name) {
    QVERIFY2(m_dir.isValid(), "no temporary folder");
    m_path = QDir::cleanPath(name.isEmpty() ? m_dir.path() : m_dir.filePath(name));
    for (const auto& [relative, bytes] : freshFiles()) {
        QVERIFY2(!bytes.isEmpty(), qPrintable(relative));
        const QString target = file(relative);
        QDir().mkpath(QFileInfo(target).path());
        QFile out(target);
        QVERIFY(out.open(QIODevice::WriteOnly));
        QCOMPARE(out.write(bytes), bytes.size());
    }
}

ProgramFolder::~ProgramFolder() = default;

QString ProgramFolder::file(const QString& relative) const {
    return programPath(m_path, relative);
}

QString ProgramFolder::connectionString(DbFile db, unsigned classNo) const {
    return ::connectionString(m_path, db, classNo);
}

void ProgramFolder::makeCurrent() const {
    QDir::setCurrent(m_path);
}

std::unique_ptr<Connection> ProgramFolder::connect(DbFile db, unsigned classNo) const {
    auto c = std::make_unique<Connection>(connectionString(db, classNo));
    c->open();
    return c;
}

void ProgramFolder::addClassDatabase(unsigned classNo) {
    const QString path = file(dbRelativePath(DbFile::Class, classNo));
    if (QFile::exists(path))
        return;
    QString password;
    prse(classNo, password);
    createDatabase(path, password, {});
}

Connection& ProgramFolder::writer(DbFile db, unsigned classNo) const {
    const QString cs = connectionString(db, classNo);
    auto& c = m_writers[cs];
    if (!c)
        c = std::make_unique<Connection>(cs);
    // Closed when the scratch file was renewed: open the one there now.
    c->open();
    return *c;
}

void ProgramFolder::addQuestionTable(unsigned classNo, const QString& table) {
    addClassDatabase(classNo);
    Connection& c = writer(DbFile::Class, classNo);
    const Rows found = run(
        c, QStringLiteral("select name from sqlite_master where type='table' and name=?"), {table});
    if (found.isEmpty())
        schema::create(c, schema::question(table));
}

void ProgramFolder::addTopic(unsigned classNo, const QString& object, const QString& section,
                             const QString& table) {
    addQuestionTable(classNo, table);
    insert(DbFile::Topics, QStringLiteral("topics"),
           {{QStringLiteral("class"), classNo},
            {QStringLiteral("object"), object},
            {QStringLiteral("section"), section},
            {QStringLiteral("table"), table}});
}

qint64 ProgramFolder::addQuestion(unsigned classNo, const QString& table, const Question& q) {
    addQuestionTable(classNo, table);
    const QVariantMap values = {
        {QStringLiteral("test"), q.test},
        {QStringLiteral("num"), q.num},
        {QStringLiteral("nt"), q.nt},
        {QStringLiteral("typequest"), q.typequest},
        {QStringLiteral("Condition"), q.condition},
        {QStringLiteral("Quest"), q.quest},
        {QStringLiteral("AnsA"), q.ansA},
        {QStringLiteral("AnsB"), q.ansB},
        {QStringLiteral("AnsC"), q.ansC},
        {QStringLiteral("AnsD"), q.ansD},
        {QStringLiteral("TrueAns"), q.trueAns},
        {QStringLiteral("FullAns"), q.fullAns},
        {QStringLiteral("Scores"), q.scores},
        {QStringLiteral("Picture"), q.picture.isEmpty() ? QVariant() : QVariant(q.picture)},
        {QStringLiteral("Terms"), joinLines(q.terms)},
        {QStringLiteral("Trans"), joinLines(q.trans)},
        {QStringLiteral("TTScores"), joinLines(q.ttscores)},
        {QStringLiteral("TextW"), q.textw},
        {QStringLiteral("Words"), joinLines(q.words)},
        {QStringLiteral("Start"), joinLines(q.start)},
        {QStringLiteral("Leng"), joinLines(q.leng)},
    };
    return insert(DbFile::Class, table, values, classNo);
}

void ProgramFolder::addPupil(const Pupil& p) {
    insert(DbFile::Students, QStringLiteral("student"),
           {{QStringLiteral("Name"), p.name},
            {QStringLiteral("Class"), QString::number(p.classNo)},
            {QStringLiteral("Division"), p.division},
            {QStringLiteral("NumOfClass"), p.numOfClass},
            {QStringLiteral("DT"), p.dt},
            {QStringLiteral("Object"), p.object},
            {QStringLiteral("Theme"), p.theme},
            {QStringLiteral("Val"), p.val}});
}

void ProgramFolder::addDictionary(const QString& lang, const QString& table,
                                  const QList<QPair<QString, QString>>& words) {
    Connection& c = writer(DbFile::Dict, 0);
    schema::create(c, schema::wordTable(table));
    run(c, QStringLiteral("insert into dicts (Lang, \"Table\") values (?, ?)"), {lang, table});
    for (const auto& w : words)
        run(c, QStringLiteral("insert into ") + sqlIdent(table) + QStringLiteral(" values (?, ?)"),
            {w.first, w.second});
}

qint64 ProgramFolder::insert(DbFile db, const QString& table, const QVariantMap& values,
                             unsigned classNo) const {
    QStringList cols;
    QStringList marks;
    for (auto it = values.cbegin(); it != values.cend(); ++it) {
        cols.append(sqlIdent(it.key()));
        marks.append(QStringLiteral("?"));
    }
    Connection& c = writer(db, classNo);
    run(c,
        QStringLiteral("insert into %1 (%2) values (%3)")
            .arg(sqlIdent(table), cols.join(QLatin1Char(',')), marks.join(QLatin1Char(','))),
        values.values());
    return sqlite3_last_insert_rowid(c.handle());
}

Rows ProgramFolder::rows(DbFile db, const QString& sql, unsigned classNo) const {
    auto c = connect(db, classNo);
    return run(*c, sql);
}

Rows ProgramFolder::readTable(DbFile db, const QString& table, unsigned classNo) const {
    return rows(db,
                QStringLiteral("select * from ") + sqlIdent(table) +
                    QStringLiteral(" order by _rowid_"),
                classNo);
}

void ProgramFolder::exec(DbFile db, const QString& sql, unsigned classNo) const {
    writer(db, classNo).execRaw(sql);
}

void usePrivateConfig() {
    static QTemporaryDir config;
    qputenv("XDG_CONFIG_HOME", QFile::encodeName(config.path()));
}

} // namespace fixture
