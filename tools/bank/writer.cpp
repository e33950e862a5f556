#include "writer.h"

#include "question/row.h"
#include "store/connection.h"
#include "store/connstr.h"
#include "store/error.h"
#include "store/jetsql.h"
#include "store/paths.h"
#include "store/pupilversion.h"
#include "store/query.h"
#include "store/schema.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QSet>
#include <filesystem>
#include <functional>
#include <map>
#include <memory>
#include <optional>
#include <sqlite3.h>
#include <system_error>
#include <unistd.h>

namespace bank {

QVariantHash questionRow(const Question& q, int number) {
    QVariantHash row;
    // Columns a kind does not use hold empty text, never NULL: the session
    // tests them for emptiness as text.
    for (const schema::Column& c : schema::question(QString()).columns)
        if (c.type == schema::Type::Text)
            row.insert(c.name, QString(QLatin1String("")));
    row[QStringLiteral("test")] = q.test;
    row[QStringLiteral("num")] = number;
    row[QStringLiteral("nt")] = schema::no;
    row[QStringLiteral("Picture")] = q.pictureData.isEmpty() ? QVariant() : QVariant(q.pictureData);
    // The text columns as the question layer stores them.
    const question::QuestionRow r = question::toRow(q);
    for (const question::RowColumn& c : question::rowColumns())
        if (c.filledBy.isEmpty() || c.filledBy.contains(q.kind))
            row[c.name] = r.*c.text;
    // The stored numbers are numbers.
    row[QStringLiteral("typequest")] = int(q.kind);
    row[QStringLiteral("Scores")] = q.points;
    return row;
}

namespace {

QString classPassword(int classNo) {
    QString password;
    prse(unsigned(classNo), password);
    return password;
}

void removeDatabase(const QString& path) {
    QFile::remove(path);
    QFile::remove(path + QStringLiteral("-journal"));
}

// Rows into one table through one statement prepared for all its columns;
// a column a row does not name is NULL.
class Inserter {
public:
    Inserter(Connection& c, const schema::Table& table) : m_c(c) {
        QStringList names, marks;
        for (const schema::Column& col : table.columns) {
            names.append(quoteName(col.name));
            marks.append(QStringLiteral("?"));
            m_columns.append(col.name);
        }
        const QByteArray sql =
            (QStringLiteral("insert into ") + quoteName(table.name) + QStringLiteral(" (") +
             names.join(QLatin1Char(',')) + QStringLiteral(") values (") +
             marks.join(QLatin1Char(',')) + QLatin1Char(')'))
                .toUtf8();
        sqlite3_stmt* stmt = nullptr;
        const int rc =
            sqlite3_prepare_v2(c.handle(), sql.constData(), int(sql.size()), &stmt, nullptr);
        m_stmt.reset(stmt);
        if (rc != SQLITE_OK)
            c.fail(rc);
    }

    void add(const QVariantHash& row) {
        sqlite3_stmt* stmt = m_stmt.get();
        QList<QByteArray> texts; // alive until the step
        for (int i = 0; i < m_columns.size(); ++i) {
            const QVariant v = row.value(m_columns[i]);
            int rc = SQLITE_OK;
            if (v.isNull()) {
                rc = sqlite3_bind_null(stmt, i + 1);
            } else if (v.typeId() == QMetaType::Int || v.typeId() == QMetaType::Bool ||
                       v.typeId() == QMetaType::LongLong) {
                rc = sqlite3_bind_int64(stmt, i + 1, v.toLongLong());
            } else if (v.typeId() == QMetaType::QByteArray) {
                texts.append(v.toByteArray());
                rc = sqlite3_bind_blob(stmt, i + 1, texts.last().constData(),
                                       int(texts.last().size()), SQLITE_STATIC);
            } else {
                texts.append(v.toString().toUtf8());
                rc = sqlite3_bind_text(stmt, i + 1, texts.last().constData(),
                                       int(texts.last().size()), SQLITE_STATIC);
            }
            if (rc != SQLITE_OK)
                m_c.fail(rc);
        }
        const int rc = sqlite3_step(stmt);
        sqlite3_reset(stmt);
        sqlite3_clear_bindings(stmt);
        if (rc != SQLITE_DONE)
            m_c.fail(rc);
    }

private:
    struct Finalize {
        void operator()(sqlite3_stmt* s) const { sqlite3_finalize(s); }
    };
    Connection& m_c;
    QStringList m_columns;
    std::unique_ptr<sqlite3_stmt, Finalize> m_stmt;
};

void appendRows(Connection& c, const schema::Table& table, const QList<QVariantHash>& rows) {
    Inserter insert(c, table);
    for (const QVariantHash& row : rows)
        insert.add(row);
}

class Writer {
public:
    Writer(const QString& programFolder, QList<Issue>* issues)
        : m_folder(programFolder), m_issues(issues) {}

    QString path(const QString& relative) const { return programPath(m_folder, relative); }

    void fault(const QString& file, const QString& message) {
        m_issues->append({Severity::Fault, file, 0, QString(), 0, message});
    }
    void warn(const QString& file, const QString& message) {
        m_issues->append({Severity::Warning, file, 0, QString(), 0, message});
    }

    bool makeFolders() {
        for (const char* sub : {"data", "dict"}) {
            const QString dir = QDir(m_folder).filePath(QLatin1String(sub));
            if (!QDir().mkpath(dir)) {
                fault(dir, QStringLiteral("папката не може да бъде създадена"));
                return false;
            }
        }
        return true;
    }

    // Builds the database in a new file beside `target` and renames it over
    // the target only when it is complete.
    bool writeAtomically(const QString& target, const QString& password,
                         const std::function<void(Connection&)>& fill) {
        std::unique_ptr<Connection> c;
        try {
            c = openFresh(target, password);
            fill(*c);
        } catch (const StoreError& e) {
            failed(target, e);
            return false;
        }
        return complete(std::move(c), target);
    }

    // A new file beside `target`, in a transaction.
    std::unique_ptr<Connection> openFresh(const QString& target, const QString& password) {
        const QString fresh = target + QStringLiteral(".new");
        removeDatabase(fresh);
        auto c = Connection::create(fresh, password);
        // A file that fails half-way is thrown away, so its journal need not
        // outlive the process; it is kept in memory only so that a source
        // found faulty can be taken back. The file is synced once, whole,
        // before it takes its place. Every table created reads the list of
        // tables again: with it in the page cache, not decrypted page by page
        // from the file, a class of many sections builds several times faster.
        c->execRaw(QStringLiteral("pragma journal_mode=memory; pragma synchronous=off; "
                                  "pragma cache_size=-65536"));
        c->begin();
        return c;
    }

    // Commits a file from openFresh() and renames it over `target`.
    bool complete(std::unique_ptr<Connection> c, const QString& target) {
        try {
            // Also writes the header of a database without tables, which
            // would otherwise stay an empty file.
            c->execRaw(QStringLiteral("pragma user_version=0"));
            c->commit();
            c->close();
        } catch (const StoreError& e) {
            c.reset();
            failed(target, e);
            return false;
        }
        const QString fresh = target + QStringLiteral(".new");
        return sync(fresh, target) && replace(fresh, target);
    }

    // Reports why the file for `target` could not be written and removes it.
    void failed(const QString& target, const StoreError& e) {
        fault(target, QStringLiteral("базата данни не може да бъде записана: %1").arg(e.text()));
        removeDatabase(target + QStringLiteral(".new"));
    }

    bool copyAtomically(const QString& from, const QString& target) {
        const QString fresh = target + QStringLiteral(".new");
        removeDatabase(fresh);
        if (!QFile::copy(from, fresh)) {
            fault(target, QStringLiteral("файлът не може да бъде копиран от „%1“").arg(from));
            return false;
        }
        return sync(fresh, target) && replace(fresh, target);
    }

    // True when the pupil database there opens with its password and holds
    // no row in any table; anything less keeps it.
    bool studentsProvenEmpty(QString* why) {
        try {
            Connection c(connectionString(m_folder, DbFile::Students));
            c.open();
            Query tables;
            tables.setConnection(&c);
            tables.setSql({QStringLiteral("select distinct name from sqlite_master"),
                           QStringLiteral("where type=\"table\"")});
            tables.open();
            for (tables.first(); !tables.eof(); tables.next()) {
                Query count;
                count.setConnection(&c);
                count.setSql({QStringLiteral("select count(*) as n from ") +
                              quoteName(tables.text(QStringLiteral("name")))});
                count.open();
                if (count.integer(QStringLiteral("n")) > 0)
                    return false;
            }
            return true;
        } catch (const StoreError& e) {
            *why = e.text();
            return false;
        }
    }

private:
    bool sync(const QString& fresh, const QString& target) {
        QFile f(fresh);
        if (!f.open(QIODevice::ReadOnly) || ::fsync(f.handle()) != 0) {
            fault(target,
                  QStringLiteral("файлът „%1“ не може да бъде записан на диска").arg(fresh));
            f.close();
            removeDatabase(fresh);
            return false;
        }
        return true;
    }

    bool replace(const QString& fresh, const QString& target) {
        // Whatever still has the old file open would go on in a deleted file.
        Connection::closeAllOn(target);
        // A journal left beside the old file would be applied to the new one.
        QFile::remove(target + QStringLiteral("-journal"));
        std::error_code ec;
        std::filesystem::rename(QFile::encodeName(fresh).toStdString(),
                                QFile::encodeName(target).toStdString(), ec);
        if (ec) {
            fault(target, QStringLiteral("файлът не може да бъде заменен: %1")
                              .arg(QString::fromLocal8Bit(ec.message())));
            removeDatabase(fresh);
            return false;
        }
        return true;
    }

    QString m_folder;
    QList<Issue>* m_issues;
};

} // namespace

struct BankWriter::Impl {
    struct ClassDb {
        std::unique_ptr<Connection> c; // none once it failed
        QString target;
        bool used = false; // holds a source kept
    };

    explicit Impl(const QString& programFolder, QList<Issue>* issues)
        : w(programFolder, issues), folders(w.makeFolders()) {}

    ClassDb* classDb(int classNo) {
        auto [it, added] = classes.try_emplace(classNo);
        ClassDb& db = it->second;
        if (added && folders) {
            db.target = w.path(dbRelativePath(DbFile::Class, unsigned(classNo)));
            try {
                db.c = w.openFresh(db.target, classPassword(classNo));
            } catch (const StoreError& e) {
                db.c.reset();
                w.failed(db.target, e);
            }
        }
        return db.c ? &db : nullptr;
    }

    // Indexes the section's table once its rows are in.
    void endSection() {
        if (insert && failure.isEmpty()) {
            try {
                insert.reset();
                schema::createIndexes(*db->c, table);
            } catch (const StoreError& e) {
                failure = e.text();
            }
        }
        insert.reset();
    }

    Writer w;
    bool folders;
    std::map<int, ClassDb> classes;
    ClassDb* db = nullptr; // of the source being read, while its rows go there
    QString failure;       // why the source's rows could not be written
    schema::Table table;
    std::optional<Inserter> insert;
    int number = 0;
};

BankWriter::BankWriter(const QString& programFolder, QList<Issue>* issues)
    : m(std::make_unique<Impl>(programFolder, issues)) {}

BankWriter::~BankWriter() = default;

void BankWriter::beginSource(int classNo, bool clean) {
    m->failure.clear();
    m->db = clean ? m->classDb(classNo) : nullptr;
    if (m->db)
        try {
            m->db->c->execRaw(QStringLiteral("savepoint source"));
        } catch (const StoreError& e) {
            m->failure = e.text();
        }
}

void BankWriter::beginSection(const QString& table, bool clean) {
    m->endSection();
    if (!m->db || !clean || !m->failure.isEmpty())
        return;
    m->table = schema::question(table);
    m->number = 0;
    schema::Table bare = m->table;
    bare.indexes.clear();
    try {
        schema::create(*m->db->c, bare);
        m->insert.emplace(*m->db->c, m->table);
    } catch (const StoreError& e) {
        m->failure = e.text();
    }
}

void BankWriter::question(const Question& q, bool clean) {
    if (!clean)
        m->insert.reset();
    if (!m->insert || !m->failure.isEmpty())
        return;
    try {
        m->insert->add(questionRow(q, ++m->number));
    } catch (const StoreError& e) {
        m->failure = e.text();
    }
}

void BankWriter::endSource(bool keep) {
    m->endSection();
    if (!m->db)
        return;
    Impl::ClassDb& db = *m->db;
    m->db = nullptr;
    try {
        if (keep && m->failure.isEmpty())
            db.c->execRaw(QStringLiteral("release source"));
        else
            db.c->execRaw(QStringLiteral("rollback to source; release source"));
    } catch (const StoreError& e) {
        m->failure = e.text();
        keep = true;
    }
    if (keep && !m->failure.isEmpty()) {
        db.c.reset();
        m->w.failed(db.target, StoreError(m->failure));
    }
    db.used = db.used || keep;
}

void BankWriter::finish(const Content& content) {
    Writer& w = m->w;
    if (!m->folders)
        return;
    // Class databases first: topics then lists only sections whose tables
    // are really there.
    m->classDb(1);
    QSet<int> written;
    for (auto& [classNo, db] : m->classes) {
        if (!db.c)
            continue;
        if (db.used || classNo == 1) {
            if (w.complete(std::move(db.c), db.target))
                written.insert(classNo);
        } else {
            // Only faulty sources named this class.
            db.c.reset();
            removeDatabase(db.target + QStringLiteral(".new"));
        }
    }

    w.writeAtomically(w.path(dbRelativePath(DbFile::Topics)), topicsPassword(), [&](Connection& c) {
        schema::create(c, schema::topics());
        QList<QVariantHash> rows;
        for (const Source& s : content.sources) {
            if (!written.contains(s.classNo))
                continue;
            for (const Section& sec : s.sections)
                rows.append({{QStringLiteral("class"), s.classNo},
                             {QStringLiteral("object"), s.subject},
                             {QStringLiteral("section"), sec.name},
                             {QStringLiteral("table"), sec.table}});
        }
        appendRows(c, schema::topics(), rows);
    });

    // Pupil records are never lost: a file there is replaced only when it is
    // proven to hold none.
    const QString students = w.path(dbRelativePath(DbFile::Students));
    QString why;
    if (!QFileInfo::exists(students) || w.studentsProvenEmpty(&why)) {
        w.writeAtomically(students, studentsPassword(), [](Connection& c) {
            schema::create(c, schema::student());
            stampPupilFile(c);
        });
    } else if (!why.isEmpty()) {
        w.warn(students, QStringLiteral("файлът не може да бъде прочетен като база с резултатите "
                                        "на учениците; оставен е както е: %1")
                             .arg(why));
    }

    const QString scratchTemplate = w.path(QStringLiteral("\\data\\ctemp.mdb"));
    if (w.writeAtomically(scratchTemplate, scratchPassword(), [](Connection& c) {
            for (const schema::Table& t : schema::scratchTables())
                schema::create(c, t);
        }))
        w.copyAtomically(scratchTemplate, w.path(dbRelativePath(DbFile::Scratch)));

    w.writeAtomically(w.path(QStringLiteral("\\data\\m_thms.mdb")), QString(), [](Connection&) {});

    w.writeAtomically(w.path(dbRelativePath(DbFile::Dict)), QString(), [&](Connection& c) {
        schema::create(c, schema::dicts());
        QList<QVariantHash> list;
        for (const Dictionary& d : content.dictionaries) {
            list.append({{QStringLiteral("Lang"), d.lang}, {QStringLiteral("Table"), d.table}});
            schema::create(c, schema::wordTable(d.table));
            QList<QVariantHash> words;
            for (const auto& [word, trans] : d.words)
                words.append({{QStringLiteral("Word"), word}, {QStringLiteral("Trans"), trans}});
            appendRows(c, schema::wordTable(d.table), words);
        }
        appendRows(c, schema::dicts(), list);
    });
}

} // namespace bank
