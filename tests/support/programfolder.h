#pragma once

#include "store/connstr.h"

#include <QByteArray>
#include <QDate>
#include <QList>
#include <QPair>
#include <QString>
#include <QStringList>
#include <QTemporaryDir>
#include <QVariantMap>
#include <map>
#include <memory>

class Connection;

namespace fixture {

// One row read back from a table; keys are the column names in lower case,
// so a test need not know how the table spells them.
using Row = QVariantMap;
using Rows = QList<Row>;

// A row of a question table. The defaults make a question that is listed and
// drawn (test 1, nt "no"); multi-line columns are given as their lines and
// stored with CR LF after every line, as the bank tool writes them.
struct Question {
    int test = 1;
    int num = 0;
    QString nt = QStringLiteral("no");
    int typequest = 0;
    QString condition = QStringLiteral("Отговорете на въпроса.");
    QString quest;
    QString ansA, ansB, ansC, ansD;
    QString trueAns;
    QString fullAns;
    int scores = 1;
    QByteArray picture;
    QStringList terms, trans, ttscores;
    QString textw;
    QStringList words, start, leng;
};

// stem1, stem2, ... stemN: terms, meanings and answers that are all different.
QStringList numbered(const QString& stem, int n);
// Kind 0: four answers, `right` is 0..3 (А..Г).
Question fourAnswer(const QString& quest, const QStringList& answers, int right, int scores = 1);
// Kind 1: term i belongs to meaning i and is worth points[i].
Question termMatching(const QStringList& terms, const QStringList& trans, const QList<int>& points);
// Kind 2 from a passage with its gaps written inline, e.g. "Столицата е [София].":
// each [word] becomes the gap marker " ..... ", Start is the marker's position
// in the stored text and Leng the word's length.
Question gapFill(const QString& passage, const QList<int>& points);

// A pupil record as the results window writes it.
struct Pupil {
    QString name;
    int classNo = 7;
    int division = 1; // position of the letter in А..Я
    int numOfClass = 1;
    QDate dt = QDate(2024, 5, 20);
    QString object = QStringLiteral("математика");
    QString theme = QStringLiteral("входящо ниво");
    QString val = QStringLiteral("4.000");
};

// A program folder in a temporary directory with the databases made through
// the store, encrypted with the program's own passwords: topics, students,
// class1 (empty), the scratch template and the scratch database, m_thms and
// the dictionary. Removed with the object. The files are made once per
// process and copied for every further folder.
class ProgramFolder {
public:
    // `name`: the program folder is a folder of that name inside the
    // temporary directory (for paths with blanks, Cyrillic or semicolons).
    explicit ProgramFolder(const QString& name = QString());
    ~ProgramFolder();
    ProgramFolder(const ProgramFolder&) = delete;
    ProgramFolder& operator=(const ProgramFolder&) = delete;

    // The folder as the program holds it: no trailing separator.
    const QString& path() const { return m_path; }
    // path() + "\data\x.mdb" as a path of this platform.
    QString file(const QString& relative) const;
    QString connectionString(DbFile db, unsigned classNo = 0) const;
    // The program takes its folder from the working directory.
    void makeCurrent() const;

    // A new connection, opened from the connection string.
    std::unique_ptr<Connection> connect(DbFile db, unsigned classNo = 0) const;

    // Creates data\classN.mdb when it is missing, with the class's password.
    void addClassDatabase(unsigned classNo);
    // Creates an empty question table in the class database (and the database).
    void addQuestionTable(unsigned classNo, const QString& table);
    // A topic row; its question table is created when it is missing.
    void addTopic(unsigned classNo, const QString& object, const QString& section,
                  const QString& table);
    // Appends the question; returns its row key.
    qint64 addQuestion(unsigned classNo, const QString& table, const Question& q);
    void addPupil(const Pupil& p);
    // A dictionary: its row in dicts and its word table.
    void addDictionary(const QString& lang, const QString& table,
                       const QList<QPair<QString, QString>>& words);

    // Any row into any table of a database, column names as given; its row key.
    qint64 insert(DbFile db, const QString& table, const QVariantMap& values,
                  unsigned classNo = 0) const;
    // Statements run through a new connection, so they see only what was
    // really written to the file.
    Rows rows(DbFile db, const QString& sql, unsigned classNo = 0) const;
    Rows readTable(DbFile db, const QString& table, unsigned classNo = 0) const;
    void exec(DbFile db, const QString& sql, unsigned classNo = 0) const;

private:
    // One connection per file for the helpers that write, since every
    // opening of an encrypted file costs a key derivation.
    Connection& writer(DbFile db, unsigned classNo) const;

    QTemporaryDir m_dir;
    QString m_path;
    mutable std::map<QString, std::unique_ptr<Connection>> m_writers;
};

// Points XDG_CONFIG_HOME of this process at a private empty folder, so that
// settings written by a test never touch the user's. Call it before the first
// QSettings is made (for example in initTestCase).
void usePrivateConfig();

} // namespace fixture
