#include "query.h"

#include "connection.h"
#include "error.h"
#include "jetsql.h"

#include <QDate>
#include <QDateTime>
#include <QSet>
#include <cmath>
#include <limits>
#include <sqlite3.h>

namespace {

QString paramKey(const QString& name) {
    QString key = name.startsWith(QLatin1Char(':')) ? name.mid(1) : name;
    return key.toLower();
}

QVariant columnValue(sqlite3_stmt* stmt, int i) {
    switch (sqlite3_column_type(stmt, i)) {
    case SQLITE_INTEGER:
        return QVariant(qlonglong(sqlite3_column_int64(stmt, i)));
    case SQLITE_FLOAT:
        return QVariant(sqlite3_column_double(stmt, i));
    case SQLITE_TEXT: {
        const auto* p = reinterpret_cast<const char*>(sqlite3_column_text(stmt, i));
        return QVariant(QString::fromUtf8(p, sqlite3_column_bytes(stmt, i)));
    }
    case SQLITE_BLOB: {
        const auto* p = static_cast<const char*>(sqlite3_column_blob(stmt, i));
        return QVariant(QByteArray(p, sqlite3_column_bytes(stmt, i)));
    }
    default:
        return QVariant();
    }
}

// The text a value is bound as when it is not a number, a blob or null.
QByteArray boundText(const QVariant& v) {
    switch (v.typeId()) {
    case QMetaType::QDate:
        return v.toDate().toString(Qt::ISODate).toUtf8();
    case QMetaType::QDateTime:
        return v.toDateTime().toString(Qt::ISODate).toUtf8();
    default:
        return v.toString().toUtf8();
    }
}

bool isIntegerType(const QVariant& v) {
    switch (v.typeId()) {
    case QMetaType::Bool:
    case QMetaType::Int:
    case QMetaType::UInt:
    case QMetaType::Long:
    case QMetaType::LongLong:
    case QMetaType::ULongLong:
    case QMetaType::Short:
    case QMetaType::UShort:
    case QMetaType::Char:
    case QMetaType::SChar:
    case QMetaType::UChar:
        return true;
    default:
        return false;
    }
}

int bindValue(sqlite3_stmt* stmt, int i, const QVariant& v) {
    if (!v.isValid() || v.isNull())
        return sqlite3_bind_null(stmt, i);
    if (isIntegerType(v))
        return sqlite3_bind_int64(stmt, i, v.toLongLong());
    switch (v.typeId()) {
    case QMetaType::Double:
    case QMetaType::Float:
        return sqlite3_bind_double(stmt, i, v.toDouble());
    case QMetaType::QByteArray: {
        const QByteArray b = v.toByteArray();
        return sqlite3_bind_blob(stmt, i, b.constData(), int(b.size()), SQLITE_TRANSIENT);
    }
    default: {
        const QByteArray t = boundText(v);
        return sqlite3_bind_text(stmt, i, t.constData(), int(t.size()), SQLITE_TRANSIENT);
    }
    }
}

// How the engine stores a value in a column: the column's affinity, by the
// engine's rules for a declared type. Rowid: the column is the row's key.
enum Storage : char {
    Unknown = 0,
    IntegerAffinity,
    TextAffinity,
    BlobAffinity,
    RealAffinity,
    NumericAffinity,
    Rowid,
};

Storage affinityOf(const QByteArray& declared) {
    const QByteArray t = declared.toUpper();
    if (t.contains("INT"))
        return IntegerAffinity;
    if (t.contains("CHAR") || t.contains("CLOB") || t.contains("TEXT"))
        return TextAffinity;
    if (t.contains("BLOB") || t.isEmpty())
        return BlobAffinity;
    if (t.contains("REAL") || t.contains("FLOA") || t.contains("DOUB"))
        return RealAffinity;
    return NumericAffinity;
}

// What a read of the column would return for a value bound by bindValue, as
// columnValue makes it; false where the engine converts in ways not
// repeated here (text to number, number to text of a float, ...), or where
// an empty value might come back as none.
bool storedValue(Storage storage, const QVariant& v, QVariant* out) {
    if (!v.isValid() || v.isNull()) {
        *out = QVariant();
        return true;
    }
    if (isIntegerType(v)) {
        const qlonglong n = v.toLongLong();
        if (storage == IntegerAffinity || storage == NumericAffinity || storage == BlobAffinity)
            *out = QVariant(n);
        else if (storage == TextAffinity)
            *out = QVariant(QString::number(n));
        else
            return false;
        return true;
    }
    switch (v.typeId()) {
    case QMetaType::Double:
    case QMetaType::Float:
        if (storage != RealAffinity && storage != BlobAffinity)
            return false;
        *out = QVariant(v.toDouble());
        return true;
    case QMetaType::QByteArray: {
        const QByteArray b = v.toByteArray();
        if (b.isEmpty() || storage == Unknown || storage == Rowid)
            return false;
        *out = QVariant(b);
        return true;
    }
    default: {
        const QByteArray t = boundText(v);
        if (t.isEmpty() || (storage != TextAffinity && storage != BlobAffinity))
            return false;
        *out = QVariant(QString::fromUtf8(t.constData(), t.size()));
        return true;
    }
    }
}

// Neighbouring rows often repeat a text (a class, a subject, a date): the
// text of the row before is shared then instead of made anew, which saves a
// large result most of its allocations.
QVariant repeatedOr(sqlite3_stmt* stmt, int i, const QVariant& before) {
    if (sqlite3_column_type(stmt, i) == SQLITE_TEXT && before.typeId() == QMetaType::QString) {
        const auto* p = reinterpret_cast<const char*>(sqlite3_column_text(stmt, i));
        const QUtf8StringView now(p, sqlite3_column_bytes(stmt, i));
        if (QAnyStringView(now) == QAnyStringView(*static_cast<const QString*>(before.constData())))
            return before;
    }
    return columnValue(stmt, i);
}

// Resets a cached statement and its values however the call that ran it ends:
// a statement left running keeps the file locked for the other connections.
struct ResetAfterUse {
    sqlite3_stmt* stmt;
    ~ResetAfterUse() {
        sqlite3_reset(stmt);
        sqlite3_clear_bindings(stmt);
    }
};

bool isNumber(const QVariant& v) {
    switch (v.typeId()) {
    case QMetaType::Int:
    case QMetaType::UInt:
    case QMetaType::LongLong:
    case QMetaType::ULongLong:
    case QMetaType::Double:
    case QMetaType::Bool:
        return true;
    default:
        return false;
    }
}

bool isEmptyValue(const QVariant& v) {
    return !v.isValid() || v.isNull() ||
           (v.typeId() == QMetaType::QString && v.toString().isEmpty());
}

// The comparison locate uses: numbers as numbers, everything else as text;
// an empty text and a missing value are the same to a user.
bool sameValue(const QVariant& stored, const QVariant& wanted) {
    if (isEmptyValue(stored) || isEmptyValue(wanted))
        return isEmptyValue(stored) && isEmptyValue(wanted);
    if (isNumber(stored) || isNumber(wanted)) {
        bool ok1 = false;
        bool ok2 = false;
        const double a = stored.toDouble(&ok1);
        const double b = wanted.toDouble(&ok2);
        if (ok1 && ok2)
            return a == b;
    }
    return stored.toString() == wanted.toString();
}

// A message that opens with the query's description ("заявката „Temp“").
QString sentence(const QString& text) {
    return text.isEmpty() ? text : text.front().toUpper() + text.mid(1);
}

} // namespace

void Query::Finalize::operator()(sqlite3_stmt* stmt) const {
    sqlite3_finalize(stmt);
}

Query::Query(const QString& name) : m_name(name) {}

Query::~Query() {
    close();
    if (m_shared)
        m_shared->detach(this);
    if (m_own)
        m_own->detach(this);
}

QString Query::what() const {
    return m_name.isEmpty() ? QStringLiteral("заявката")
                            : QStringLiteral("заявката „%1“").arg(m_name);
}

void Query::setConnectionString(const QString& connectionString) {
    if (m_own && m_own->connectionString() == connectionString)
        return;
    close();
    if (m_shared) {
        m_shared->detach(this);
        m_shared = nullptr;
    }
    if (!m_own) {
        m_own = std::make_unique<Connection>();
        m_own->attach(this);
    }
    m_own->setConnectionString(connectionString);
}

QString Query::connectionString() const {
    if (m_shared)
        return m_shared->connectionString();
    return m_own ? m_own->connectionString() : QString();
}

void Query::setConnection(Connection* connection) {
    if (m_shared == connection && connection)
        return;
    close();
    if (m_shared)
        m_shared->detach(this);
    if (m_own) {
        m_own->detach(this);
        m_own.reset();
    }
    m_shared = connection;
    if (m_shared)
        m_shared->attach(this);
}

Connection* Query::connection() const {
    return m_shared ? m_shared : m_own.get();
}

void Query::connectionClosing(Connection*) {
    close();
}

void Query::connectionGone(Connection* c) {
    close();
    if (m_shared == c)
        m_shared = nullptr;
}

Connection& Query::liveConnection() {
    Connection* c = connection();
    if (!c || (c->connectionString().isEmpty() && !c->isOpen()))
        throw StoreError(QStringLiteral("Не е зададена база данни за %1.").arg(what()));
    c->open();
    return *c;
}

// A result left open under a new statement would answer for the old one.
void Query::clearSql() {
    close();
    m_sql.clear();
    m_params.clear();
}

void Query::addSql(const QString& line) {
    close();
    m_sql.append(line);
    m_params.clear();
}

void Query::setSql(const QStringList& lines) {
    close();
    m_sql = lines;
    m_params.clear();
}

QString Query::sqlText() const {
    return m_sql.join(QLatin1Char('\n'));
}

void Query::setParam(const QString& name, const QVariant& value) {
    m_params.insert(paramKey(name), value);
}

Query::Statement Query::prepare(const QString& sql) {
    Connection& c = liveConnection();
    sqlite3_stmt* prepared = nullptr;
    const QByteArray text = sql.toUtf8();
    const char* tail = nullptr;
    const int rc =
        sqlite3_prepare_v2(c.handle(), text.constData(), int(text.size()), &prepared, &tail);
    Statement stmt(prepared);
    if (rc != SQLITE_OK)
        c.fail(rc, sqlText());
    // The engine compiles only the first statement; whatever follows it would
    // be dropped without a word, so a second statement is refused instead.
    const QByteArray rest = text.mid(tail - text.constData()).trimmed();
    if (!rest.isEmpty())
        throw StoreError(sentence(
            QStringLiteral("%1 съдържа повече от една команда:\n%2").arg(what(), sqlText())));
    return stmt;
}

// A post of every row of a table runs the same few statements: each is
// compiled once while the query is open.
sqlite3_stmt* Query::cached(const QString& sql) {
    auto it = m_statements.find(sql);
    if (it == m_statements.end())
        it = m_statements.emplace(sql, prepare(sql)).first;
    return it->second.get();
}

void Query::bindParams(sqlite3_stmt* stmt, const QString&) {
    const int n = sqlite3_bind_parameter_count(stmt);
    for (int i = 1; i <= n; ++i) {
        const char* raw = sqlite3_bind_parameter_name(stmt, i);
        const QString name = raw ? QString::fromUtf8(raw) : QString::number(i);
        const auto it = m_params.constFind(paramKey(name));
        if (it == m_params.constEnd())
            throw StoreError(
                QStringLiteral("Параметърът „%1“ на %2 няма стойност.").arg(name, what()));
        bindValue(stmt, i, it.value());
    }
}

void Query::setFields(const QStringList& names) {
    m_fields = names;
    m_fieldIndex.clear();
    m_fieldAsWritten.clear();
    for (int i = 0; i < names.size(); ++i) {
        const QString key = names[i].toLower();
        if (!m_fieldIndex.contains(key))
            m_fieldIndex.insert(key, i);
        m_fieldAsWritten.insert(names[i], m_fieldIndex.value(key));
    }
}

void Query::open() {
    close();
    const QString sql = translateJet(sqlText());
    Connection& c = liveConnection();
    const SimpleSelect sel = analyseSelect(sqlText());
    bool keyed = false;
    if (sel.simple && !m_readAll) {
        // Keys of the rows in the statement's own order; the rows themselves
        // are read one at a time as the cursor reaches them.
        const QString keySql =
            QStringLiteral("select _rowid_ from ") + sel.table + QLatin1Char(' ') + sel.tail;
        const QString rowSql = QStringLiteral("select ") + sel.selectList +
                               QStringLiteral(" from ") + sel.table +
                               QStringLiteral(" where _rowid_=?");
        // A statement the engine refuses here is not addressable by key after
        // all (say, an alias in "order by"): it is read whole below, which
        // also reports a real fault properly.
        const auto prepareQuietly = [&c](const QString& text) {
            const QByteArray utf8 = text.toUtf8();
            sqlite3_stmt* prepared = nullptr;
            sqlite3_prepare_v2(c.handle(), utf8.constData(), -1, &prepared, nullptr);
            return Statement(prepared);
        };
        const Statement keyStmt = prepareQuietly(keySql);
        Statement rowStmt = keyStmt ? prepareQuietly(rowSql) : Statement();
        if (keyStmt && rowStmt) {
            bindParams(keyStmt.get(), keySql);
            std::vector<qint64> keys;
            int rc;
            while ((rc = sqlite3_step(keyStmt.get())) == SQLITE_ROW)
                keys.push_back(sqlite3_column_int64(keyStmt.get(), 0));
            if (rc != SQLITE_DONE)
                c.fail(rc, sqlText());
            m_keys = std::move(keys);
            QStringList names;
            const int n = sqlite3_column_count(rowStmt.get());
            for (int i = 0; i < n; ++i)
                names.append(QString::fromUtf8(sqlite3_column_name(rowStmt.get(), i)));
            setFields(names);
            m_rowStmt = std::move(rowStmt);
            m_table = sel.table;
            m_selectList = sel.selectList;
            keyed = true;
        }
    }
    if (!keyed) {
        const Statement s = prepare(sql);
        const int n = sqlite3_column_count(s.get());
        // Stepping it would already have changed the file.
        if (n == 0)
            throw StoreError(
                sentence(QStringLiteral("%1 не връща редове и не може да бъде отворена:\n%2")
                             .arg(what(), sqlText())));
        bindParams(s.get(), sql);
        QStringList names;
        for (int i = 0; i < n; ++i)
            names.append(QString::fromUtf8(sqlite3_column_name(s.get(), i)));
        std::vector<QVariantList> rows;
        int rc;
        while ((rc = sqlite3_step(s.get())) == SQLITE_ROW) {
            QVariantList row;
            row.reserve(n);
            for (int i = 0; i < n; ++i)
                row.append(rows.empty() ? columnValue(s.get(), i)
                                        : repeatedOr(s.get(), i, rows.back()[i]));
            rows.push_back(std::move(row));
        }
        if (rc != SQLITE_DONE)
            c.fail(rc, sqlText());
        setFields(names);
        m_rows = std::move(rows);
    }
    m_keyed = keyed;
    m_state = State::Browse;
    m_bof = true;
    m_eof = recordCount() == 0;
    setPosition(recordCount() > 0 ? 0 : -1);
    if (recordCount() > 0)
        scrolled();
}

void Query::close() {
    if (m_state == State::Inactive && !m_rowStmt && m_statements.empty())
        return;
    m_rowStmt.reset();
    m_statements.clear();
    m_columnsLearnt = false;
    m_storage.clear();
    m_filledByEngine.clear();
    m_state = State::Inactive;
    m_keys.clear();
    m_rows.clear();
    m_current.clear();
    m_buffer.clear();
    m_modified.clear();
    m_fields.clear();
    m_fieldIndex.clear();
    m_fieldAsWritten.clear();
    m_pos = -1;
    m_bof = m_eof = true;
    m_keyed = false;
}

int Query::exec() {
    const QString sql = translateJet(sqlText());
    Connection& c = liveConnection();
    const Statement s = prepare(sql);
    bindParams(s.get(), sql);
    int rc;
    while ((rc = sqlite3_step(s.get())) == SQLITE_ROW) {
    }
    if (rc != SQLITE_DONE)
        c.fail(rc, sqlText());
    return sqlite3_changes(c.handle());
}

void Query::checkActive() const {
    if (m_state == State::Inactive)
        throw StoreError(sentence(QStringLiteral("%1 не е отворена.").arg(what())));
}

int Query::recordCount() const {
    checkActive();
    return int(m_keyed ? m_keys.size() : m_rows.size());
}

int Query::recNo() const {
    checkActive();
    return m_pos + 1;
}

void Query::loadCurrent() {
    if (m_pos < 0) {
        m_current = QVariantList(m_fields.size());
        return;
    }
    if (!m_keyed) {
        m_current = m_rows[size_t(m_pos)];
        return;
    }
    sqlite3_bind_int64(m_rowStmt.get(), 1, m_keys[size_t(m_pos)]);
    const int rc = sqlite3_step(m_rowStmt.get());
    QVariantList row;
    const int n = int(m_fields.size());
    row.reserve(n);
    if (rc == SQLITE_ROW) {
        for (int i = 0; i < n; ++i)
            row.append(columnValue(m_rowStmt.get(), i));
    } else {
        row = QVariantList(n); // removed behind our back: an empty row
    }
    // Reset at once: a statement left running keeps the file locked for the
    // other connections of the process.
    sqlite3_reset(m_rowStmt.get());
    if (rc != SQLITE_ROW && rc != SQLITE_DONE)
        connection()->fail(rc, sqlText());
    m_current = std::move(row);
}

void Query::setPosition(int index) {
    m_pos = index;
    loadCurrent();
}

void Query::scrolled() {
    if (m_afterScroll)
        m_afterScroll(*this);
}

void Query::checkBrowseMode() {
    checkActive();
    if (m_state == State::Edit || m_state == State::Insert) {
        if (std::find(m_modified.begin(), m_modified.end(), true) != m_modified.end())
            post();
        else
            cancel();
    }
}

void Query::first() {
    checkBrowseMode();
    setPosition(recordCount() > 0 ? 0 : -1);
    m_bof = true;
    m_eof = recordCount() == 0;
    scrolled();
}

void Query::last() {
    checkBrowseMode();
    setPosition(recordCount() - 1);
    m_eof = true;
    m_bof = recordCount() == 0;
    scrolled();
}

void Query::next() {
    checkBrowseMode();
    if (m_pos + 1 < recordCount()) {
        setPosition(m_pos + 1);
        m_bof = false;
        m_eof = false;
    } else {
        m_eof = true;
    }
    scrolled();
}

void Query::prior() {
    checkBrowseMode();
    if (m_pos > 0) {
        setPosition(m_pos - 1);
        m_bof = false;
        m_eof = false;
    } else {
        m_bof = true;
    }
    scrolled();
}

void Query::moveTo(int recNo) {
    checkBrowseMode();
    const int n = recordCount();
    if (n == 0)
        return;
    const int index = std::clamp(recNo, 1, n) - 1;
    setPosition(index);
    m_bof = false;
    m_eof = false;
    scrolled();
}

bool Query::locate(const QString& field, const QVariant& value) {
    return locate(QStringList{field}, QVariantList{value});
}

bool Query::locate(const QStringList& fields, const QVariantList& values) {
    checkBrowseMode();
    if (fields.size() != values.size() || fields.isEmpty())
        throw StoreError(QStringLiteral("Търсене в %1 без полета.").arg(what()));
    QList<int> idx;
    for (const QString& f : fields)
        idx.append(fieldIndex(f));
    int found = -1;
    if (m_keyed) {
        // Let the engine find the matching keys, then take the first of them
        // in the order of this result.
        QString sql = QStringLiteral("select _rowid_ from ") + m_table + QStringLiteral(" where ");
        QVariantList binds;
        for (int i = 0; i < idx.size(); ++i) {
            if (i)
                sql += QStringLiteral(" and ");
            const QString col = sqlIdent(m_fields[idx[i]]);
            if (isEmptyValue(values[i])) {
                sql += QStringLiteral("(%1 is null or %1 = '')").arg(col);
            } else {
                sql += col + QStringLiteral(" = ?");
                binds.append(values[i]);
            }
        }
        sqlite3_stmt* s = cached(sql);
        const ResetAfterUse reset{s};
        for (int i = 0; i < binds.size(); ++i)
            bindValue(s, i + 1, binds[i]);
        QSet<qint64> hits;
        int rc;
        while ((rc = sqlite3_step(s)) == SQLITE_ROW)
            hits.insert(sqlite3_column_int64(s, 0));
        if (rc != SQLITE_DONE)
            connection()->fail(rc, sql);
        for (size_t k = 0; k < m_keys.size() && !hits.isEmpty(); ++k) {
            if (hits.contains(m_keys[k])) {
                found = int(k);
                break;
            }
        }
    } else {
        for (size_t k = 0; k < m_rows.size() && found < 0; ++k) {
            bool all = true;
            for (int i = 0; i < idx.size() && all; ++i)
                all = sameValue(m_rows[k][idx[i]], values[i]);
            if (all)
                found = int(k);
        }
    }
    if (found < 0)
        return false;
    setPosition(found);
    m_bof = false;
    m_eof = false;
    scrolled();
    return true;
}

void Query::edit() {
    checkActive();
    if (m_state == State::Edit || m_state == State::Insert)
        return;
    if (recordCount() == 0) {
        insert();
        return;
    }
    if (!m_keyed)
        throw StoreError(QStringLiteral("Редовете на %1 не могат да се променят.").arg(what()));
    m_buffer = m_current;
    m_modified.assign(size_t(m_fields.size()), false);
    m_state = State::Edit;
}

void Query::insert() {
    beginInsert(false);
}
void Query::append() {
    beginInsert(true);
}

void Query::beginInsert(bool atEnd) {
    checkBrowseMode();
    if (!m_keyed)
        throw StoreError(QStringLiteral("В %1 не могат да се добавят редове.").arg(what()));
    m_posBeforeInsert = m_pos;
    m_insertAt = atEnd ? recordCount() : std::max(m_pos, 0);
    m_buffer = QVariantList(m_fields.size());
    m_modified.assign(size_t(m_fields.size()), false);
    m_state = State::Insert;
    m_bof = m_eof = false;
    scrolled();
}

void Query::post() {
    checkActive();
    if (m_state == State::Browse)
        return;
    try {
        writeChange();
    } catch (...) {
        // Kept, a change the file refused would be posted again, and refused
        // again, at every move of the cursor: it is reported once and dropped.
        try {
            dropChange();
        } catch (const StoreError&) {
            // The refusal is what the user is told.
        }
        throw;
    }
    // The row just written is known; the file is asked only where the engine
    // may have stored something else than was set.
    QVariantList row;
    const bool known = storedRow(&row);
    m_state = State::Browse;
    m_buffer.clear();
    m_modified.clear();
    if (known)
        m_current = std::move(row);
    else
        loadCurrent();
    if (m_afterPost)
        m_afterPost(*this);
}

void Query::writeChange() {
    QStringList cols;
    QVariantList vals;
    for (int i = 0; i < m_fields.size(); ++i) {
        if (m_modified[size_t(i)]) {
            cols.append(sqlIdent(m_fields[i]));
            vals.append(m_buffer[i]);
        }
    }
    Connection& c = liveConnection();
    if (m_state == State::Edit) {
        if (!cols.isEmpty()) {
            QString sql = QStringLiteral("update ") + m_table + QStringLiteral(" set ");
            for (int i = 0; i < cols.size(); ++i)
                sql += (i ? QStringLiteral(", ") : QString()) + cols[i] + QStringLiteral("=?");
            sql += QStringLiteral(" where _rowid_=?");
            sqlite3_stmt* s = cached(sql);
            const ResetAfterUse reset{s};
            for (int i = 0; i < vals.size(); ++i)
                bindValue(s, i + 1, vals[i]);
            sqlite3_bind_int64(s, int(vals.size()) + 1, m_keys[size_t(m_pos)]);
            const int rc = sqlite3_step(s);
            if (rc != SQLITE_DONE)
                c.fail(rc, sql);
            // Removed by another statement since it was read: the change
            // went nowhere, and the caller must not believe it was stored.
            if (sqlite3_changes(c.handle()) == 0)
                throw StoreError(
                    QStringLiteral("Редът, променян в %1, вече не съществува в базата данни.")
                        .arg(what()));
        }
    } else {
        QString sql = QStringLiteral("insert into ") + m_table;
        if (cols.isEmpty()) {
            sql += QStringLiteral(" default values");
        } else {
            sql += QStringLiteral(" (") + cols.join(QStringLiteral(", ")) +
                   QStringLiteral(") values (");
            for (int i = 0; i < cols.size(); ++i)
                sql += i ? QStringLiteral(", ?") : QStringLiteral("?");
            sql += QLatin1Char(')');
        }
        sqlite3_stmt* s = cached(sql);
        const ResetAfterUse reset{s};
        for (int i = 0; i < vals.size(); ++i)
            bindValue(s, i + 1, vals[i]);
        const int rc = sqlite3_step(s);
        if (rc != SQLITE_DONE)
            c.fail(rc, sql);
        m_keys.insert(m_keys.begin() + m_insertAt, sqlite3_last_insert_rowid(c.handle()));
        m_pos = m_insertAt;
    }
}

// Which table column each field reads, and how that column stores a value;
// a table with triggers may change any row it is written to, and a field
// that is no plain column (an alias, the row's key) is read back.
void Query::learnColumns() {
    m_columnsLearnt = true;
    const int n = int(m_fields.size());
    m_storage.assign(size_t(n), Unknown);
    m_filledByEngine.assign(size_t(n), true);
    sqlite3_stmt* row = m_rowStmt.get();
    const char* table = n > 0 ? sqlite3_column_table_name(row, 0) : nullptr;
    if (!table)
        return;
    sqlite3* db = connection()->handle();
    const QByteArray tableName(table);
    sqlite3_stmt* t = nullptr;
    sqlite3_prepare_v2(db,
                       "select 1 from sqlite_master where type='trigger' and tbl_name=? "
                       "collate nocase",
                       -1, &t, nullptr);
    const Statement triggers(t);
    if (!triggers)
        return;
    sqlite3_bind_text(triggers.get(), 1, tableName.constData(), int(tableName.size()),
                      SQLITE_TRANSIENT);
    if (sqlite3_step(triggers.get()) != SQLITE_DONE)
        return;
    // The defaults are in the table's definition only; pragma table_info has them.
    QHash<QString, std::pair<Storage, bool>> columns;
    {
        const QByteArray sql =
            "pragma table_info(" + sqlIdent(QString::fromUtf8(tableName)).toUtf8() + ')';
        t = nullptr;
        sqlite3_prepare_v2(db, sql.constData(), -1, &t, nullptr);
        const Statement info(t);
        if (!info)
            return;
        int keyParts = 0;
        QString keyColumn;
        bool keyIsInteger = false;
        while (sqlite3_step(info.get()) == SQLITE_ROW) {
            const QString name = QString::fromUtf8(
                reinterpret_cast<const char*>(sqlite3_column_text(info.get(), 1)));
            const QByteArray declared(
                reinterpret_cast<const char*>(sqlite3_column_text(info.get(), 2)));
            const bool hasDefault = sqlite3_column_type(info.get(), 4) != SQLITE_NULL;
            if (sqlite3_column_int(info.get(), 5) > 0) {
                ++keyParts;
                keyColumn = name.toLower();
                keyIsInteger = declared.toUpper() == "INTEGER";
            }
            columns.insert(name.toLower(), {affinityOf(declared), hasDefault});
        }
        // An "integer primary key" is the row's key under another name.
        if (keyParts == 1 && keyIsInteger)
            columns[keyColumn] = {Rowid, false};
    }
    for (int i = 0; i < n; ++i) {
        const char* origin = sqlite3_column_origin_name(row, i);
        const char* from = sqlite3_column_table_name(row, i);
        if (!origin || !from || tableName != from)
            continue;
        const auto it = columns.constFind(QString::fromUtf8(origin).toLower());
        if (it == columns.constEnd())
            continue;
        m_storage[size_t(i)] = it->first;
        m_filledByEngine[size_t(i)] = it->second;
    }
}

// The row the post just wrote, as a read of the file would return it, when
// the values set tell it; false when only a read does.
bool Query::storedRow(QVariantList* row) {
    if (!m_keyed || m_pos < 0)
        return false;
    if (!m_columnsLearnt)
        learnColumns();
    const bool inserted = m_state == State::Insert;
    const int n = int(m_fields.size());
    QVariantList out;
    out.reserve(n);
    for (int i = 0; i < n; ++i) {
        const Storage storage = Storage(m_storage[size_t(i)]);
        if (storage == Unknown)
            return false;
        QVariant v;
        if (inserted && storage == Rowid)
            v = QVariant(qlonglong(m_keys[size_t(m_pos)]));
        else if (m_modified[size_t(i)]) {
            if (!storedValue(storage, m_buffer[i], &v))
                return false;
        } else if (inserted) {
            if (m_filledByEngine[size_t(i)])
                return false;
        } else {
            v = m_buffer[i];
        }
        out.append(v);
    }
    *row = std::move(out);
    return true;
}

void Query::cancel() {
    checkActive();
    const bool wasInsert = m_state == State::Insert;
    if (m_state == State::Browse)
        return;
    dropChange();
    if (wasInsert)
        scrolled();
}

void Query::dropChange() {
    const bool wasInsert = m_state == State::Insert;
    m_state = State::Browse;
    m_buffer.clear();
    m_modified.clear();
    if (wasInsert) {
        setPosition(m_posBeforeInsert < recordCount() ? m_posBeforeInsert : recordCount() - 1);
        m_eof = recordCount() == 0;
        m_bof = recordCount() == 0;
    }
}

void Query::deleteRecord() {
    checkActive();
    if (m_state == State::Insert) {
        cancel();
        return;
    }
    if (m_state == State::Edit)
        cancel();
    if (recordCount() == 0)
        throw StoreError(QStringLiteral("Няма ред за изтриване в %1.").arg(what()));
    if (!m_keyed)
        throw StoreError(QStringLiteral("Редовете на %1 не могат да се изтриват.").arg(what()));
    Connection& c = liveConnection();
    const QString sql =
        QStringLiteral("delete from ") + m_table + QStringLiteral(" where _rowid_=?");
    sqlite3_stmt* s = cached(sql);
    const ResetAfterUse reset{s};
    sqlite3_bind_int64(s, 1, m_keys[size_t(m_pos)]);
    const int rc = sqlite3_step(s);
    if (rc != SQLITE_DONE)
        c.fail(rc, sql);
    m_keys.erase(m_keys.begin() + m_pos);
    const int n = recordCount();
    setPosition(m_pos < n ? m_pos : n - 1);
    m_eof = n == 0;
    m_bof = n == 0;
    if (m_afterDelete)
        m_afterDelete(*this);
    scrolled();
}

int Query::fieldIndex(const QString& field) const {
    // Callers mostly write a field as the table does; lowering the name at
    // every value read would cost a loop over a large table more than the read.
    if (const auto exact = m_fieldAsWritten.constFind(field); exact != m_fieldAsWritten.constEnd())
        return exact.value();
    const auto it = m_fieldIndex.constFind(field.toLower());
    if (it == m_fieldIndex.constEnd())
        failField(field);
    return it.value();
}

void Query::failField(const QString& field) const {
    checkActive();
    throw StoreError(QStringLiteral("В %1 няма поле „%2“.").arg(what(), field));
}

bool Query::hasField(const QString& field) const {
    return m_fieldIndex.contains(field.toLower());
}

QVariant Query::value(const QString& field) const {
    checkActive();
    const int i = fieldIndex(field);
    if (m_state == State::Edit || m_state == State::Insert)
        return m_buffer[i];
    return m_current.value(i);
}

QString Query::text(const QString& field) const {
    const QVariant v = value(field);
    if (!v.isValid() || v.isNull())
        return QString();
    if (v.typeId() == QMetaType::QByteArray)
        return QString::fromUtf8(v.toByteArray());
    if (v.typeId() == QMetaType::Double)
        return QString::number(v.toDouble());
    return v.toString();
}

int Query::integer(const QString& field) const {
    const QVariant v = value(field);
    if (!v.isValid() || v.isNull())
        return 0;
    // A value that does not fit is an error, never a number cut to size.
    const auto outOfRange = [&] {
        return StoreError(
            QStringLiteral("„%1“ не е цяло число в допустимите граници (поле „%2“ на %3).")
                .arg(v.toString(), field, what()));
    };
    if (v.typeId() == QMetaType::LongLong) {
        const qint64 n = v.toLongLong();
        if (n < std::numeric_limits<int>::min() || n > std::numeric_limits<int>::max())
            throw outOfRange();
        return int(n);
    }
    if (v.typeId() == QMetaType::Double) {
        const double d = v.toDouble();
        if (!std::isfinite(d) || d != std::trunc(d) || d < std::numeric_limits<int>::min() ||
            d > std::numeric_limits<int>::max())
            throw outOfRange();
        return int(d);
    }
    bool ok = false;
    const QString s = text(field).trimmed();
    const int n = s.toInt(&ok);
    if (!ok)
        throw StoreError(
            QStringLiteral("„%1“ не е цяло число (поле „%2“ на %3).").arg(s, field, what()));
    return n;
}

QByteArray Query::blob(const QString& field) const {
    const QVariant v = value(field);
    if (!v.isValid() || v.isNull())
        return QByteArray();
    if (v.typeId() == QMetaType::QByteArray)
        return v.toByteArray();
    return v.toString().toUtf8();
}

bool Query::isNull(const QString& field) const {
    const QVariant v = value(field);
    return !v.isValid() || v.isNull();
}

void Query::setValue(const QString& field, const QVariant& value) {
    checkActive();
    const int i = fieldIndex(field);
    if (m_state != State::Edit && m_state != State::Insert)
        throw StoreError(
            sentence(QStringLiteral("%1 не е в режим на промяна (поле „%2“).").arg(what(), field)));
    m_buffer[i] = value;
    m_modified[size_t(i)] = true;
}
