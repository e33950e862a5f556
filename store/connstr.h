#pragma once

#include <QString>

// The database files of a program folder.
enum class DbFile {
    Topics,   // \data\topics.mdb
    Students, // \data\students.mdb
    Class,    // \data\class<N>.mdb
    Scratch,  // \data\temp.mdb
    Dict,     // \dict\dict.mdb (no password)
};

// Relative file name as the connection string writes it: "\data\class7.mdb".
QString dbRelativePath(DbFile file, unsigned classNo = 0);

// The connection string of a database file, built the moment a query needs it.
// For a class database outside 1..13 the password clause is left empty.
QString connectionString(const QString& programFolder, DbFile file, unsigned classNo = 0);

// Password of class database 1..13; any other number leaves `out` untouched.
void prse(unsigned classNo, QString& out);

// The fixed passwords of the topic, pupil and scratch databases.
QString topicsPassword();
QString studentsPassword();
QString scratchPassword();

// What a connection string names: the file (a path of this platform) and its
// password (empty when the string has no password clause).
struct ConnectionTarget {
    QString path;
    QString password;
};
ConnectionTarget parseConnectionString(const QString& connectionString);
