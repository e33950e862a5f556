#include "store/scratch.h"

#include "store/datamodule.h"
#include "store/error.h"
#include "store/schema.h"
#include "support/programfolder.h"

#include <QDir>
#include <QFile>
#include <QTest>

// The scratch database is replaced before every drawing while the data module
// may still hold it open; every run must start from empty scratch tables and
// nothing may go on writing into the file that was replaced.
class TestScratch : public QObject {
    Q_OBJECT
private slots:
    void init();
    void cleanup();
    void renewalClosesEverythingOnIt();
    void secondRenewalAfterRunLeftConnected();
    void renewalDuringUnfinishedTransaction();
    void staleJournalIsRemoved();
    void readOnlyTemplate();
    void missingTemplateKeepsScratch();
    void otherFilesStayOpen();

private:
    // A run's worth of rows in every scratch table, through the data module.
    void fillScratch();
    // Rows of every scratch table, read through a new connection.
    int scratchRows() const;

    std::unique_ptr<fixture::ProgramFolder> m_folder;
    std::unique_ptr<TDataModule2> m_dm;
};

void TestScratch::init() {
    m_folder = std::make_unique<fixture::ProgramFolder>();
    m_dm = std::make_unique<TDataModule2>();
    m_dm->setProgramFolder(m_folder->path());
}

void TestScratch::cleanup() {
    m_dm.reset();
    m_folder.reset();
}

void TestScratch::fillScratch() {
    TDataModule2& dm = *m_dm;
    dm.connectScratch();
    for (Query* q : {&dm.Temp, &dm.Temp1, &dm.Temp2})
        q->setConnection(&dm.ATemp1);
    const auto fill = [](Query& q, const QString& table, const QString& field, const QVariant& v) {
        q.clearSql();
        q.addSql(QStringLiteral("select * from ") + table);
        q.open();
        q.append();
        q.setValue(field, v);
        q.post();
    };
    fill(dm.Temp, QStringLiteral("temp4"), QStringLiteral("id"), 1);
    fill(dm.Temp1, QStringLiteral("temp1"), QStringLiteral("ttrue"), QStringLiteral("вода"));
    fill(dm.Temp2, QStringLiteral("temp2"), QStringLiteral("t"), 1);
    dm.Words.setConnectionString(dm.connectionString(DbFile::Scratch));
    fill(dm.Words, QStringLiteral("temp"), QStringLiteral("words"), QStringLiteral("река"));
    dm.Clone1.setConnectionString(dm.connectionString(DbFile::Scratch));
    fill(dm.Clone1, QStringLiteral("sltable"), QStringLiteral("word"), QString());
    QCOMPARE(scratchRows(), 5);
}

int TestScratch::scratchRows() const {
    int n = 0;
    for (const schema::Table& t : schema::scratchTables())
        n += int(m_folder->readTable(DbFile::Scratch, t.name).size());
    return n;
}

void TestScratch::renewalClosesEverythingOnIt() {
    fillScratch();
    TDataModule2& dm = *m_dm;
    dm.renewScratch();
    for (Query* q : {&dm.Temp, &dm.Temp1, &dm.Temp2, &dm.Words, &dm.Clone1})
        QVERIFY2(!q->isOpen(), qPrintable(q->name()));
    QVERIFY(!dm.ATemp1.isOpen());
    QCOMPARE(scratchRows(), 0);
    const QStringList left = QDir(m_folder->file(QStringLiteral("\\data")))
                                 .entryList({QStringLiteral("temp.mdb*")}, QDir::Files);
    QCOMPARE(left, QStringList{QStringLiteral("temp.mdb")});

    // Queries with a string of their own reopen on the new file.
    dm.Words.open();
    QVERIFY(dm.Words.isEmpty());
    dm.Words.append();
    dm.Words.setText(QStringLiteral("words"), QStringLiteral("море"));
    dm.Words.post();
    const fixture::Rows rows = m_folder->readTable(DbFile::Scratch, QStringLiteral("temp"));
    QCOMPARE(rows.size(), 1);
    QCOMPARE(rows[0].value(QStringLiteral("words")).toString(), QStringLiteral("море"));
}

void TestScratch::secondRenewalAfterRunLeftConnected() {
    // A tutor run leaves ATemp1 connected and Temp open; the next drawing
    // must still start from empty tables.
    fillScratch();
    m_dm->renewScratch();
    fillScratch();
    QVERIFY(m_dm->ATemp1.isOpen());
    QVERIFY(m_dm->Temp.isOpen());
    m_dm->renewScratch();
    QCOMPARE(scratchRows(), 0);
    m_dm->connectScratch();
    m_dm->Temp.open();
    QVERIFY(m_dm->Temp.isEmpty());
}

void TestScratch::renewalDuringUnfinishedTransaction() {
    fillScratch();
    {
        Transaction t(m_dm->ATemp1);
        m_dm->Temp.append();
        m_dm->Temp.setInteger(QStringLiteral("id"), 2);
        m_dm->Temp.post();
        m_dm->renewScratch();
        // The transaction went with the connection; ending it is harmless.
    }
    QCOMPARE(scratchRows(), 0);
    m_dm->connectScratch();
    m_dm->Temp.open();
    QVERIFY(m_dm->Temp.isEmpty());
}

void TestScratch::staleJournalIsRemoved() {
    // A journal left by a crashed run would be played back into the new file.
    QFile journal(m_folder->file(QStringLiteral("\\data\\temp.mdb-journal")));
    QVERIFY(journal.open(QIODevice::WriteOnly));
    journal.write(QByteArray(4096, 'j'));
    journal.close();
    m_dm->renewScratch();
    QVERIFY(!journal.exists());
    m_dm->connectScratch();
    QCOMPARE(scratchRows(), 0);
}

void TestScratch::readOnlyTemplate() {
    const QString templ = m_folder->file(QStringLiteral("\\data\\ctemp.mdb"));
    QVERIFY(QFile::setPermissions(templ, QFile::ReadOwner | QFile::ReadGroup | QFile::ReadOther));
    m_dm->renewScratch();
    fillScratch();
    QVERIFY(QFile::permissions(templ) & QFile::ReadOwner);
    QVERIFY(!(QFile::permissions(templ) & QFile::WriteOwner));
}

void TestScratch::missingTemplateKeepsScratch() {
    fillScratch();
    QVERIFY(QFile::remove(m_folder->file(QStringLiteral("\\data\\ctemp.mdb"))));
    m_dm->renewScratch();
    // Nothing to put in its place: the run goes on in the old file, whose
    // tables the drawing empties itself.
    QVERIFY(QFile::exists(m_folder->file(QStringLiteral("\\data\\temp.mdb"))));
    m_dm->connectScratch();
    m_dm->Temp.open();
    QCOMPARE(m_dm->Temp.recordCount(), 1);
}

void TestScratch::otherFilesStayOpen() {
    fillScratch();
    m_dm->Topics.setConnectionString(m_dm->connectionString(DbFile::Topics));
    m_dm->Topics.addSql(QStringLiteral("select * from topics"));
    m_dm->Topics.open();
    m_dm->Themes.setConnectionString(m_dm->connectionString(DbFile::Class, 1));
    m_dm->Themes.addSql(QStringLiteral("select * from sqlite_master"));
    m_dm->Themes.open();
    m_dm->renewScratch();
    QVERIFY(m_dm->Topics.isOpen());
    QVERIFY(m_dm->Themes.isOpen());
    QVERIFY(!m_dm->Temp.isOpen());
}

QTEST_GUILESS_MAIN(TestScratch)
#include "tst_scratch.moc"
