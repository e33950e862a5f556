#include "connection.h"

#include "connstr.h"
#include "error.h"
#include "query.h"

#include <QFile>
#include <QFileInfo>
#include <QHash>
#include <algorithm>
#include <mutex>
#include <openssl/evp.h>
#include <sqlite3.h>

namespace {

// Every live connection, so that a file about to be replaced can be let go by
// everything that holds it. One user-interface thread: no lock.
std::vector<Connection*>& registry() {
    static std::vector<Connection*> all;
    return all;
}

QString sameFileKey(const QString& path) {
    const QFileInfo fi(path);
    const QString canonical = fi.canonicalFilePath();
    return canonical.isEmpty() ? fi.absoluteFilePath() : canonical;
}

// SQLCipher derives a file's key from its password anew at every connection
// (PBKDF2, some 30 ms), though the key depends only on the password, the
// file's salt (its first bytes) and the iteration count. Derived once here,
// it is handed to the engine raw after that. A file replaced on disk brings
// its own salt, and so its own key; one keyed otherwise than by the
// defaults refuses the raw key and is opened with the password.
constexpr int kSaltSize = 16;
constexpr int kKeySize = 32;

QByteArray fileSalt(const QString& path) {
    QFile f(path);
    if (!f.open(QIODevice::ReadOnly))
        return QByteArray();
    const QByteArray salt = f.read(kSaltSize);
    return salt.size() == kSaltSize ? salt : QByteArray();
}

struct DerivedKeys {
    std::mutex lock;
    QHash<QByteArray, QByteArray> keys; // empty: the engine derives it
};

DerivedKeys& derivedKeys() {
    static DerivedKeys keys;
    return keys;
}

// The iteration count the engine would derive a key with on this connection.
int derivationRounds(sqlite3* db) {
    sqlite3_stmt* s = nullptr;
    int rounds = 0;
    if (sqlite3_prepare_v2(db, "pragma cipher_default_kdf_iter", -1, &s, nullptr) == SQLITE_OK &&
        sqlite3_step(s) == SQLITE_ROW)
        rounds = sqlite3_column_int(s, 0);
    sqlite3_finalize(s);
    return rounds;
}

bool isScratchFile(const QString& path) {
    return QFileInfo(path).fileName().compare(QLatin1String("temp.mdb"), Qt::CaseInsensitive) == 0;
}

// The raw key ("x'…'") for `secret` and `salt`, and in `keyId` what it is
// kept under; empty when the engine is to derive it.
QByteArray rawKey(sqlite3* db, const QByteArray& secret, const QByteArray& salt,
                  QByteArray* keyId) {
    const int rounds = derivationRounds(db);
    if (rounds <= 0)
        return QByteArray();
    *keyId = QByteArray::number(rounds) + ':' + salt + secret;
    DerivedKeys& derived = derivedKeys();
    const std::lock_guard<std::mutex> hold(derived.lock);
    const auto it = derived.keys.constFind(*keyId);
    if (it != derived.keys.constEnd())
        return it.value();
    unsigned char key[kKeySize];
    QByteArray raw;
    if (PKCS5_PBKDF2_HMAC_SHA1(secret.constData(), int(secret.size()),
                               reinterpret_cast<const unsigned char*>(salt.constData()),
                               int(salt.size()), rounds, kKeySize, key) == 1)
        raw = "x'" + QByteArray(reinterpret_cast<const char*>(key), kKeySize).toHex() + '\'';
    derived.keys.insert(*keyId, raw);
    return raw;
}

void forgetRawKey(const QByteArray& keyId) {
    DerivedKeys& derived = derivedKeys();
    const std::lock_guard<std::mutex> hold(derived.lock);
    derived.keys.insert(keyId, QByteArray());
}

} // namespace

QString engineReason(int code, const QString& engineText) {
    QString why;
    switch (code & 0xff) {
    case SQLITE_CANTOPEN:
        why = QStringLiteral("файлът или папката му не могат да се отворят (липсва папката, на "
                             "мястото на файла има папка или няма права за достъп)");
        break;
    case SQLITE_PERM:
    case SQLITE_AUTH:
        why = QStringLiteral("няма права за достъп до файла");
        break;
    case SQLITE_IOERR:
        why = QStringLiteral("дискът не може да прочете или запише файла");
        break;
    case SQLITE_CORRUPT:
        why = QStringLiteral("файлът е повреден");
        break;
    case SQLITE_NOTADB:
        why = QStringLiteral("файлът не е база данни на програмата или паролата му е грешна");
        break;
    case SQLITE_NOMEM:
        why = QStringLiteral("няма достатъчно памет");
        break;
    case SQLITE_FULL:
        why = QStringLiteral("няма място на диска");
        break;
    case SQLITE_NOLFS:
        why = QStringLiteral("файлът е по-голям, отколкото дискът позволява");
        break;
    case SQLITE_BUSY:
    case SQLITE_LOCKED:
    case SQLITE_PROTOCOL:
        why = QStringLiteral("файлът е зает от друга програма");
        break;
    case SQLITE_READONLY:
        why = QStringLiteral("файлът е само за четене");
        break;
    case SQLITE_CONSTRAINT:
        why = QStringLiteral("редът нарушава правило на таблицата (липсва задължителна стойност "
                             "или повтаря стойност, която трябва да е единствена)");
        break;
    case SQLITE_MISMATCH:
        why = QStringLiteral("стойността не е от вида, който полето приема");
        break;
    case SQLITE_TOOBIG:
        why = QStringLiteral("стойността е твърде голяма");
        break;
    case SQLITE_ERROR:
        // Most often a table of another layout than the program's, or a view
        // in a table's place.
        why = QStringLiteral("командата не може да се изпълни върху таблиците на файла");
        break;
    case SQLITE_SCHEMA:
        why = QStringLiteral("таблиците на файла се промениха по време на работа");
        break;
    case SQLITE_INTERRUPT:
    case SQLITE_ABORT:
        why = QStringLiteral("действието беше прекъснато");
        break;
    default:
        why = QStringLiteral("грешка %1 на базата данни").arg(code);
        break;
    }
    // Quoted, so that it reads as the engine's words and not as the program's.
    if (!engineText.isEmpty())
        why += QStringLiteral(" („%1“)").arg(engineText);
    return why;
}

Connection::Connection() {
    registry().push_back(this);
}

Connection::Connection(const QString& connectionString) : Connection() {
    m_connectionString = connectionString;
}

Connection::~Connection() {
    close();
    for (Query* q : m_queries)
        q->connectionGone(this);
    auto& all = registry();
    all.erase(std::remove(all.begin(), all.end(), this), all.end());
}

void Connection::setConnectionString(const QString& connectionString) {
    if (connectionString == m_connectionString)
        return;
    close();
    m_connectionString = connectionString;
}

void Connection::open() {
    if (isOpen())
        return;
    if (m_connectionString.isEmpty())
        throw StoreError(QStringLiteral("Не е зададена връзка към база данни."));
    const ConnectionTarget target = parseConnectionString(m_connectionString);
    if (target.path.isEmpty())
        throw StoreError(QStringLiteral("Връзката към базата данни не назовава файл:\n%1")
                             .arg(m_connectionString));
    openFile(target.path, target.password, false);
}

std::unique_ptr<Connection> Connection::create(const QString& path, const QString& password) {
    auto c = std::make_unique<Connection>();
    c->openFile(path, password, true);
    return c;
}

void Connection::openFile(const QString& path, const QString& password, bool create) {
    const QFileInfo fi(path);
    m_path = fi.absoluteFilePath();
    // A folder of the file's name is no missing file: the teacher sees it there.
    if (!create && fi.isDir())
        throw StoreError(QStringLiteral("На мястото на файла „%1“ има папка.").arg(m_path));
    if (!create && !fi.isFile())
        throw StoreError(QStringLiteral("Файлът „%1“ не съществува.").arg(m_path));

    const QByteArray secret = password.toUtf8();
    // A new file gets its salt from the engine, which derives its key itself.
    const QByteArray salt = create || secret.isEmpty() ? QByteArray() : fileSalt(m_path);
    QByteArray keyId;
    int rc = openKeyed(create, secret, salt, &keyId);
    if (rc == SQLITE_NOTADB && !keyId.isEmpty()) {
        // The file is keyed some other way than the engine's defaults say:
        // the engine derives the key itself, from now on.
        sqlite3_close(m_db);
        m_db = nullptr;
        forgetRawKey(keyId);
        rc = openKeyed(create, secret, QByteArray(), &keyId);
    }
    if (rc != SQLITE_OK) {
        const bool notDb = rc == SQLITE_NOTADB;
        const QString why =
            engineReason(sqlite3_extended_errcode(m_db), QString::fromUtf8(sqlite3_errmsg(m_db)));
        sqlite3_close(m_db);
        m_db = nullptr;
        if (notDb)
            throw StoreError(
                QStringLiteral(
                    "Файлът „%1“ не е база данни на програмата или паролата му е грешна.")
                    .arg(m_path));
        throw StoreError(
            QStringLiteral("Файлът „%1“ не може да бъде прочетен: %2.").arg(m_path, why));
    }
    // No write-ahead log anywhere: its side files would outlive a scratch file
    // that is replaced. The scratch file is rebuilt for every run and needs no
    // durability; every other file (pupil records above all) is synced fully.
    const char* pragmas = isScratchFile(m_path)
                              ? "pragma journal_mode=memory; pragma synchronous=off;"
                              : "pragma journal_mode=delete; pragma synchronous=full;";
    rc = sqlite3_exec(m_db, pragmas, nullptr, nullptr, nullptr);
    if (rc != SQLITE_OK) {
        const QString why =
            engineReason(sqlite3_extended_errcode(m_db), QString::fromUtf8(sqlite3_errmsg(m_db)));
        sqlite3_close(m_db);
        m_db = nullptr;
        throw StoreError(
            QStringLiteral("Файлът „%1“ не може да бъде прочетен: %2.").arg(m_path, why));
    }
}

// Opens m_path and keys it: with the key derived from `secret` for `salt`
// when there is a salt (its id in `keyId`), else with `secret` itself. The
// result of the first statement, which is what reads the file and so checks
// the key; m_db is left open either way.
int Connection::openKeyed(bool create, const QByteArray& secret, const QByteArray& salt,
                          QByteArray* keyId) {
    keyId->clear();
    const int flags = SQLITE_OPEN_READWRITE | (create ? SQLITE_OPEN_CREATE : 0);
    const QByteArray file = m_path.toUtf8();
    sqlite3* db = nullptr;
    int rc = sqlite3_open_v2(file.constData(), &db, flags, nullptr);
    if (rc != SQLITE_OK) {
        const QString why =
            engineReason(rc, db ? QString::fromUtf8(sqlite3_errmsg(db)) : QString());
        sqlite3_close(db);
        throw StoreError(
            QStringLiteral("Файлът „%1“ не може да бъде отворен: %2.").arg(m_path, why));
    }
    m_db = db;
    if (!secret.isEmpty()) {
        const QByteArray raw = salt.isEmpty() ? QByteArray() : rawKey(m_db, secret, salt, keyId);
        const QByteArray& key = raw.isEmpty() ? secret : raw;
        sqlite3_key(m_db, key.constData(), int(key.size()));
    }
    // Other connections of this process may hold the file for a moment.
    sqlite3_busy_timeout(m_db, 3000);
    // The engine reads the file, and so checks the password, only now.
    rc = sqlite3_exec(m_db, "select count(*) from sqlite_master", nullptr, nullptr, nullptr);
    return rc;
}

void Connection::close() {
    if (!m_db)
        return;
    // Queries first: they hold prepared statements on this handle.
    const std::vector<Query*> queries = m_queries;
    for (Query* q : queries)
        q->connectionClosing(this);
    sqlite3_close_v2(m_db);
    m_db = nullptr;
}

void Connection::closeAllOn(const QString& path) {
    const QString key = sameFileKey(path);
    const std::vector<Connection*> all = registry();
    for (Connection* c : all)
        if (c->isOpen() && sameFileKey(c->m_path) == key)
            c->close();
}

void Connection::fail(int code, const QString& context) const {
    const QString why =
        m_db ? QString::fromUtf8(sqlite3_errmsg(m_db)) : QString::fromUtf8(sqlite3_errstr(code));
    QString text;
    if (why.startsWith(QLatin1String("no such table: ")))
        text = QStringLiteral("В базата данни „%1“ няма таблица „%2“.").arg(m_path, why.mid(15));
    else if (why.startsWith(QLatin1String("no such column: ")))
        text = QStringLiteral("В базата данни „%1“ няма поле „%2“.").arg(m_path, why.mid(16));
    else
        text =
            QStringLiteral("Грешка в базата данни „%1“: %2.").arg(m_path, engineReason(code, why));
    if (!context.isEmpty())
        text += QLatin1Char('\n') + context;
    throw StoreError(text);
}

void Connection::execRaw(const QString& sql) {
    if (!m_db)
        open();
    const QByteArray text = sql.toUtf8();
    const int rc = sqlite3_exec(m_db, text.constData(), nullptr, nullptr, nullptr);
    if (rc != SQLITE_OK)
        fail(rc, sql);
}

int Connection::changes() const {
    return m_db ? sqlite3_changes(m_db) : 0;
}

void Connection::begin() {
    execRaw(QStringLiteral("begin"));
}
void Connection::commit() {
    execRaw(QStringLiteral("commit"));
}
void Connection::rollback() {
    if (inTransaction())
        execRaw(QStringLiteral("rollback"));
}
bool Connection::inTransaction() const {
    return m_db && !sqlite3_get_autocommit(m_db);
}

void Connection::attach(Query* q) {
    if (std::find(m_queries.begin(), m_queries.end(), q) == m_queries.end())
        m_queries.push_back(q);
}

void Connection::detach(Query* q) {
    m_queries.erase(std::remove(m_queries.begin(), m_queries.end(), q), m_queries.end());
}

Transaction::Transaction(Connection& c) : m_connection(c) {
    m_connection.begin();
}

Transaction::~Transaction() {
    if (!m_done) {
        try {
            m_connection.rollback();
        } catch (const StoreError&) {
            // Already failing; the first error is the one the user sees.
        }
    }
}

void Transaction::commit() {
    m_connection.commit();
    m_done = true;
}

ReadTransaction::ReadTransaction(Connection& c) : m_connection(c) {
    if (!m_connection.inTransaction()) {
        m_connection.begin();
        m_began = true;
    }
}

ReadTransaction::~ReadTransaction() {
    if (!m_began || !m_connection.inTransaction())
        return;
    try {
        m_connection.commit();
    } catch (const StoreError&) {
        // Only reads ran in it: letting it go loses nothing.
        try {
            m_connection.rollback();
        } catch (const StoreError&) {
        }
    }
}
