#pragma once

#include <QString>

// The statements of the program are written in the dialect of the desktop
// database engine the banks were first kept in: "delete * from t", string
// constants in double quotes, identifiers in [brackets]. The engine under the
// store speaks SQLite; these functions translate without touching callers.

// Jet statement -> SQLite statement.
QString translateJet(const QString& sql);

// A table name that comes from data (topics.table, dicts.Table), quoted as an
// identifier so that no name can change what a statement does. Throws
// StoreError for a name the engine could never hold (empty, or with brackets).
QString quoteName(const QString& name);

// A single-table select as the program writes it ("select <list> from <table> [where ...]
// [order by ...]") split into its pieces, so that its rows can be addressed
// one by one and written back. Anything else (distinct, union, joins,
// aggregates, sub-selects) is not simple and is read as a whole instead.
struct SimpleSelect {
    bool simple = false;
    QString selectList; // "*" or the columns as written
    QString table;      // SQLite form, quoted when it was quoted
    QString tableName;  // the bare name, for messages
    QString tail;       // everything after the table name
};
SimpleSelect analyseSelect(const QString& jetSql);

// SQLite identifier quoting for statements the store writes itself.
QString sqlIdent(const QString& name);
