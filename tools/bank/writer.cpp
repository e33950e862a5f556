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
#include <QMap>
#include <QSet>
#include <filesystem>
#include <functional>
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

// Appends rows to a table through the store's dataset, one post each.
void appendRows(Connection& c, const QString& table, const QList<QVariantHash>& rows) {
    Query q;
    q.setConnection(&c);
    q.setSql({QStringLiteral("select * from ") + quoteName(table)});
    q.open();
    for (const QVariantHash& row : rows) {
        q.append();
        for (auto it = row.begin(); it != row.end(); ++it)
            q.setValue(it.key(), it.value());
        q.post();
    }
    q.close();
}

// One question table per section of the class's sources.
void fillClass(Connection& c, const QList<const Source*>& sources) {
    for (const Source* s : sources) {
        for (const Section& sec : s->sections) {
            schema::create(c, schema::question(sec.table));
            QList<QVariantHash> rows;
            for (int i = 0; i < sec.questions.size(); ++i)
                rows.append(questionRow(sec.questions[i], i + 1));
            appendRows(c, sec.table, rows);
        }
    }
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
        const QString fresh = target + QStringLiteral(".new");
        removeDatabase(fresh);
        try {
            auto c = Connection::create(fresh, password);
            // A file that fails half-way is thrown away, so it needs no
            // journal; it is synced once, whole, before it takes its place.
            // Every table created reads the list of tables again: with it
            // in the page cache, not decrypted page by page from the file,
            // a class of many sections builds several times faster.
            c->execRaw(QStringLiteral("pragma journal_mode=off; pragma synchronous=off; "
                                      "pragma cache_size=-65536"));
            Transaction t(*c);
            fill(*c);
            // Also writes the header of a database without tables, which
            // would otherwise stay an empty file.
            c->execRaw(QStringLiteral("pragma user_version=0"));
            t.commit();
            c->close();
        } catch (const StoreError& e) {
            fault(target,
                  QStringLiteral("базата данни не може да бъде записана: %1").arg(e.text()));
            removeDatabase(fresh);
            return false;
        }
        return sync(fresh, target) && replace(fresh, target);
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

void writeProgramFolder(const Content& content, const QString& programFolder,
                        QList<Issue>* issues) {
    Writer w(programFolder, issues);
    if (!w.makeFolders())
        return;

    // Class databases first: topics then lists only sections whose tables
    // are really there.
    QMap<int, QList<const Source*>> byClass;
    byClass[1];
    for (const Source& s : content.sources)
        byClass[s.classNo].append(&s);
    QSet<int> written;
    for (auto it = byClass.cbegin(); it != byClass.cend(); ++it) {
        const QList<const Source*> sources = it.value();
        const bool ok = w.writeAtomically(w.path(dbRelativePath(DbFile::Class, unsigned(it.key()))),
                                          classPassword(it.key()),
                                          [&](Connection& c) { fillClass(c, sources); });
        if (ok)
            written.insert(it.key());
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
        appendRows(c, QStringLiteral("topics"), rows);
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
            appendRows(c, d.table, words);
        }
        appendRows(c, QStringLiteral("dicts"), list);
    });
}

} // namespace bank
