#pragma once

#include <QString>
#include <memory>
#include <vector>

class QByteArray;
struct sqlite3;
class Query;

// Why the engine failed, in the user's words, by its result code: the
// engine's own text is English and means little to a teacher. That text
// follows in quotes all the same, for whoever looks into the fault.
QString engineReason(int code, const QString& engineText);

// One open database file. Opening checks the password at once with a first
// statement, because the engine would otherwise only notice a wrong one later.

class Connection {
public:
    Connection();
    explicit Connection(const QString& connectionString);
    ~Connection();
    Connection(const Connection&) = delete;
    Connection& operator=(const Connection&) = delete;

    // A new string takes effect at the next open; an open connection to a
    // different target is closed.
    void setConnectionString(const QString& connectionString);
    const QString& connectionString() const { return m_connectionString; }

    void open();
    void close();
    bool isOpen() const { return m_db != nullptr; }

    // Builds a new file (or opens an existing one) with the given password;
    // empty password: no encryption. For building program folders.
    static std::unique_ptr<Connection> create(const QString& path, const QString& password);

    // The file as opened (absolute path of this platform).
    const QString& path() const { return m_path; }

    // Runs SQLite statements as written (no translation), e.g. table definitions.
    void execRaw(const QString& sql);
    int changes() const;

    void begin();
    void commit();
    void rollback();
    bool inTransaction() const;

    sqlite3* handle() const { return m_db; }

    // Raises the engine's last error as a StoreError naming this file.
    [[noreturn]] void fail(int code, const QString& context = QString()) const;

    // Closes every connection that is open on this file, and the queries that
    // run over them, so the file can be replaced safely.
    static void closeAllOn(const QString& path);

private:
    friend class Query;
    void attach(Query* q);
    void detach(Query* q);
    void openFile(const QString& path, const QString& password, bool create);
    int openKeyed(bool create, const QByteArray& secret, const QByteArray& salt, QByteArray* keyId);

    QString m_connectionString;
    QString m_path;
    sqlite3* m_db = nullptr;
    std::vector<Query*> m_queries;
};

// Several posts with no user step between them made atomic (and fast).
// Rolled back unless commit() is reached.
class Transaction {
public:
    explicit Transaction(Connection& c);
    ~Transaction();
    Transaction(const Transaction&) = delete;
    Transaction& operator=(const Transaction&) = delete;
    void commit();

private:
    Connection& m_connection;
    bool m_done = false;
};

// A loop of reads made one read of the file: without it every row read is
// a transaction of its own, which locks and checks the file anew. Nothing
// is written in one; inside a transaction already open it does nothing.
class ReadTransaction {
public:
    explicit ReadTransaction(Connection& c);
    ~ReadTransaction();
    ReadTransaction(const ReadTransaction&) = delete;
    ReadTransaction& operator=(const ReadTransaction&) = delete;

private:
    Connection& m_connection;
    bool m_began = false;
};
