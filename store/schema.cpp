#include "schema.h"

#include "connection.h"
#include "jetsql.h"

namespace schema {

namespace {

Column integer(const char* name) {
    return {QString::fromLatin1(name), Type::Integer};
}
Column text(const char* name) {
    return {QString::fromLatin1(name), Type::Text};
}
Column blob(const char* name) {
    return {QString::fromLatin1(name), Type::Blob};
}

const char* typeName(Type t) {
    switch (t) {
    case Type::Integer:
        return "integer";
    case Type::Text:
        return "text";
    case Type::Blob:
        return "blob";
    }
    return "text";
}

} // namespace

bool Table::hasColumn(const QString& column) const {
    for (const Column& c : columns)
        if (c.name.compare(column, Qt::CaseInsensitive) == 0)
            return true;
    return false;
}

Table topics() {
    return {QStringLiteral("topics"),
            {integer("class"), text("object"), text("section"), text("table")},
            {}};
}

Table question(const QString& tableName) {
    return {tableName,
            {integer("test"),   integer("num"),  text("nt"),      integer("typequest"),
             text("Condition"), text("Quest"),   text("AnsA"),    text("AnsB"),
             text("AnsC"),      text("AnsD"),    text("TrueAns"), text("FullAns"),
             integer("Scores"), blob("Picture"), text("Terms"),   text("Trans"),
             text("TTScores"),  text("TextW"),   text("Words"),   text("Start"),
             text("Leng")},
            {{QStringLiteral("test"), QStringLiteral("nt"), QStringLiteral("typequest")},
             {QStringLiteral("num")}}};
}

Table temp4() {
    return {QStringLiteral("temp4"),
            {integer("id"),     text("Condition"), text("Quest"),        text("FullAns"),
             integer("Scores"), blob("Picture"),   integer("TypeQuest"), text("TextW"),
             text("Words"),     text("Start"),     text("Leng"),         text("TTScores"),
             text("TrueAns"),   text("AnsA"),      text("AnsB"),         text("AnsC"),
             text("AnsD"),      text("Terms"),     text("Trans"),        integer("Limit"),
             text("ChTrueAns"), text("ChAns")},
            {}};
}

Table temp1() {
    return {QStringLiteral("temp1"),
            {integer("id"), text("ttrue"), text("trtrue"), text("scores"), text("tfalse"),
             text("trfalse")},
            {}};
}

Table temp2() {
    return {QStringLiteral("temp2"),
            {integer("id"), integer("t"), integer("tr"), text("ChTrueAns")},
            {}};
}

Table temp() {
    return {QStringLiteral("temp"),
            {text("words"), integer("start"), integer("leng"), integer("scores")},
            {}};
}

Table sltable() {
    return {QStringLiteral("sltable"),
            {integer("id"), integer("start"), integer("leng"), text("word"), text("chtrueans")},
            {}};
}

QList<Table> scratchTables() {
    return {temp4(), temp1(), temp2(), temp(), sltable()};
}

Table student() {
    // Class is kept as text and the date as ISO text (yyyy-mm-dd), which
    // sorts in date order.
    return {QStringLiteral("student"),
            {text("Name"), text("Class"), integer("Division"), integer("NumOfClass"), text("DT"),
             text("Object"), text("Theme"), text("Val")},
            {}};
}

Table dicts() {
    return {QStringLiteral("dicts"), {text("Lang"), text("Table")}, {}};
}

Table wordTable(const QString& tableName) {
    return {tableName, {text("Word"), text("Trans")}, {{QStringLiteral("Word")}}};
}

void create(Connection& c, const Table& table) {
    QStringList cols;
    for (const Column& col : table.columns)
        cols.append(sqlIdent(col.name) + QLatin1Char(' ') + QLatin1String(typeName(col.type)));
    c.execRaw(QStringLiteral("create table ") + sqlIdent(table.name) + QStringLiteral(" (") +
              cols.join(QStringLiteral(", ")) + QStringLiteral(");"));
    createIndexes(c, table);
}

void createIndexes(Connection& c, const Table& table) {
    QString sql;
    int n = 0;
    for (const QStringList& index : table.indexes) {
        QStringList parts;
        for (const QString& col : index)
            parts.append(sqlIdent(col));
        sql += QStringLiteral(" create index ") +
               sqlIdent(table.name + QStringLiteral("_ix") + QString::number(++n)) +
               QStringLiteral(" on ") + sqlIdent(table.name) + QStringLiteral(" (") +
               parts.join(QStringLiteral(", ")) + QStringLiteral(");");
    }
    if (!sql.isEmpty())
        c.execRaw(sql);
}

} // namespace schema
