#pragma once

#include <QList>
#include <QString>
#include <QStringList>

class Connection;

// Every table and column the program relies on, in one place. Names are
// spelled as the statements spell them; the engine ignores their case.
namespace schema {

enum class Type { Integer, Text, Blob };

struct Column {
    QString name;
    Type type;
};

struct Table {
    QString name;
    QList<Column> columns;
    // Column lists of indexes that keep the drawing's repeated look-ups cheap.
    QList<QStringList> indexes;

    bool hasColumn(const QString& column) const;
};

// Topic database.
Table topics();
// One question table of a class database (the name comes from topics.table).
Table question(const QString& tableName);
// Scratch database.
Table temp4();
Table temp1();
Table temp2();
Table temp();
Table sltable();
QList<Table> scratchTables();
// Pupil database.
Table student();
// Dictionary database: the list of dictionaries and one word table each.
Table dicts();
Table wordTable(const QString& tableName);

// Writes the table (and its indexes) into the database.
void create(Connection& c, const Table& table);
// Only the indexes, for a table filled before they are made: building an
// index once over all rows is cheaper than keeping it up to date row by row.
void createIndexes(Connection& c, const Table& table);

// The flag texts of the yes/no columns.
inline const QString yes = QStringLiteral("yes");
inline const QString no = QStringLiteral("no");

} // namespace schema
