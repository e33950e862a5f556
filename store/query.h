#pragma once

#include <QByteArray>
#include <QHash>
#include <QString>
#include <QStringList>
#include <QVariant>
#include <functional>
#include <map>
#include <memory>
#include <vector>

class Connection;
struct sqlite3_stmt;

// The dataset every window talks to: a statement over one database, its rows
// walked with a cursor, the current row edited and posted at once.
//
// A select over one table keeps only the keys of its rows and reads the
// current row when the cursor gets there, so that reopening a large question
// table costs little; edits go back to the row they came from. Any other
// select (distinct, union, ...) is read whole and is read-only.
class Query {
public:
    enum class State { Inactive, Browse, Edit, Insert };
    using Handler = std::function<void(Query&)>;

    explicit Query(const QString& name = QString());
    ~Query();
    Query(const Query&) = delete;
    Query& operator=(const Query&) = delete;

    const QString& name() const { return m_name; }

    // Where the statement runs: a connection of its own, opened from the
    // string when needed and kept while the string stays the same ...
    void setConnectionString(const QString& connectionString);
    QString connectionString() const;
    // ... or a shared connection (null detaches).
    void setConnection(Connection* connection);
    Connection* connection() const;

    // The statement, set line by line and run as the lines joined with line
    // breaks; one statement only (a closing semicolon is allowed). Changing it
    // closes the result and forgets the parameter values.
    void clearSql();
    void addSql(const QString& line);
    void setSql(const QStringList& lines);
    QString sqlText() const;
    // ":cl" or "cl".
    void setParam(const QString& name, const QVariant& value);

    // Rows read in one pass when the query opens and kept, read-only: for a
    // caller that reads every row once, where one read per row as the cursor
    // gets there costs a lookup of each. Holds until changed.
    void setReadAll(bool all) { m_readAll = all; }

    // A statement that returns no rows is refused here, before it runs:
    // that is what exec() is for.
    void open();
    void close();
    bool isOpen() const { return m_state != State::Inactive; }
    State state() const { return m_state; }
    // Runs a statement that returns no rows; the number of rows it changed.
    int exec();

    int recordCount() const;
    int recNo() const; // 1-based; 0 when there is no current row
    bool isEmpty() const { return recordCount() == 0; }
    bool bof() const { return m_bof; }
    bool eof() const { return m_eof; }
    void first();
    void next();
    void prior();
    void last();
    void moveTo(int recNo); // 1-based, clamped to the rows there are
    // Moves to the first row, in the order of the result, whose fields hold
    // the values; without one the cursor stays. An empty value (empty text
    // or none) finds a field of empty text and a field with no value alike.
    bool locate(const QStringList& fields, const QVariantList& values);
    bool locate(const QString& field, const QVariant& value);

    // A post that fails (the file refuses the write, or another statement
    // removed the edited row meanwhile) drops the change: the query is back
    // in browse mode on the row as the file holds it.
    void edit();
    void insert(); // new row before the current one
    void append(); // new row at the end
    void post();
    void cancel();
    void deleteRecord();

    // Fields of the current row (of the row being edited while editing),
    // found by name without regard to case.
    bool hasField(const QString& field) const;
    QStringList fieldNames() const { return m_fields; }
    QVariant value(const QString& field) const;
    QString text(const QString& field) const;
    int integer(const QString& field) const;
    QByteArray blob(const QString& field) const;
    bool isNull(const QString& field) const;
    void setValue(const QString& field, const QVariant& value);
    void setText(const QString& field, const QString& value) { setValue(field, value); }
    void setInteger(const QString& field, int value) { setValue(field, value); }
    void setBlob(const QString& field, const QByteArray& value) { setValue(field, value); }

    int tag() const { return m_tag; }
    void setTag(int tag) { m_tag = tag; }

    void setAfterScroll(Handler h) { m_afterScroll = std::move(h); }
    void setAfterPost(Handler h) { m_afterPost = std::move(h); }
    void setAfterDelete(Handler h) { m_afterDelete = std::move(h); }

private:
    friend class Connection;
    // A statement is finalized however the call that prepared it ends, and
    // the row statement with the result it reads for.
    struct Finalize {
        void operator()(sqlite3_stmt* stmt) const;
    };
    using Statement = std::unique_ptr<sqlite3_stmt, Finalize>;

    void connectionClosing(Connection* c);
    void connectionGone(Connection* c);

    Connection& liveConnection();
    Statement prepare(const QString& sql);
    sqlite3_stmt* cached(const QString& sql);
    void learnColumns();
    bool storedRow(QVariantList* row);
    void bindParams(sqlite3_stmt* stmt, const QString& sql);
    int fieldIndex(const QString& field) const;
    [[noreturn]] void failField(const QString& field) const;
    void setFields(const QStringList& names);
    void loadCurrent();
    void checkActive() const;
    void checkBrowseMode();
    void beginInsert(bool atEnd);
    void writeChange();
    void dropChange();
    void setPosition(int index);
    void scrolled();
    QString what() const;

    QString m_name;
    QStringList m_sql;
    QHash<QString, QVariant> m_params;
    std::unique_ptr<Connection> m_own;
    Connection* m_shared = nullptr;

    bool m_readAll = false;
    State m_state = State::Inactive;
    bool m_keyed = false; // rows addressed by key (single table) or read whole
    QString m_table;      // keyed: table as the engine writes it
    QString m_selectList; // keyed: columns read for the current row
    std::vector<qint64> m_keys;
    std::vector<QVariantList> m_rows;
    Statement m_rowStmt; // keyed: reads one row by key
    // Keyed: the writes of posts and the finds, prepared once while open.
    std::map<QString, Statement> m_statements;
    // Keyed, learnt at the first post: how the engine stores a value set in
    // each field, and which fields it fills itself on an insert.
    bool m_columnsLearnt = false;
    std::vector<char> m_storage;
    std::vector<bool> m_filledByEngine;

    QStringList m_fields;
    QHash<QString, int> m_fieldIndex;     // by the lowered name
    QHash<QString, int> m_fieldAsWritten; // by the name as the statement wrote it
    int m_pos = -1;                       // index of the current row; -1 when there is none
    bool m_bof = true;
    bool m_eof = true;
    QVariantList m_current;
    QVariantList m_buffer;        // the row being edited or inserted
    std::vector<bool> m_modified; // which fields of the buffer were set
    int m_insertAt = 0;
    int m_posBeforeInsert = -1;

    int m_tag = 0;
    Handler m_afterScroll;
    Handler m_afterPost;
    Handler m_afterDelete;
};
