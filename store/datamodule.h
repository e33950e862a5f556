#pragma once

#include "store/connection.h"
#include "store/connstr.h"
#include "store/query.h"

#include <QObject>
#include <QString>

// The data module: every query object of the program and the shared
// connection to the scratch database. Windows reach the tables only through
// these objects and build a connection string right before they open one.
class TDataModule2 : public QObject {
    Q_OBJECT
public:
    explicit TDataModule2(QObject* parent = nullptr);
    ~TDataModule2() override;

    void setProgramFolder(const QString& folder) { m_programFolder = folder; }
    const QString& programFolder() const { return m_programFolder; }

    // Connection string of a database file of this program folder.
    QString connectionString(DbFile file, unsigned classNo = 0) const;

    // Closes everything on the scratch database and replaces it with a copy
    // of its template.
    void renewScratch();
    // Disconnects ATemp1, gives it the scratch database's string, connects it.
    void connectScratch();

    // Switches of a run. DisplayEnabled is kept as the tag of Temp: while it
    // is 0, moving through the question list shows nothing.
    bool displayEnabled() const { return Temp.tag() != 0; }
    void setDisplayEnabled(bool on) { Temp.setTag(on ? 1 : 0); }
    bool SessionStarted = false;
    int TextQuestionsShown = 0;
    bool WindowReady = false;
    int GapPostCount = 0;

    // Declared before the queries so that it outlives them.
    Connection ATemp1;

    Query Topics{QStringLiteral("Topics")};   // topic database
    Query sd1{QStringLiteral("sd1")};         // pupil database: earlier pupils
    Query Student{QStringLiteral("Student")}; // pupil database: the run's record
    Query Themes{QStringLiteral("Themes")};   // class database: question tables
    Query Temp{QStringLiteral("Temp")};       // scratch: temp4, over ATemp1
    Query Temp1{QStringLiteral("Temp1")};     // scratch: temp1, over ATemp1
    Query Temp2{QStringLiteral("Temp2")};     // scratch: temp2, over ATemp1
    Query Words{QStringLiteral("Words")};     // scratch: temp, own connection
    Query Clone1{QStringLiteral("Clone1")};   // scratch: sltable, own connection
    Query Dicts{QStringLiteral("Dicts")};     // dictionary database: dicts
    Query Dict{QStringLiteral("Dict")};       // dictionary database: a word table

private:
    QString m_programFolder;
};
