#include "store/jetsql.h"

#include "store/error.h"

#include <QTest>

class TestJetSql : public QObject {
    Q_OBJECT
private slots:
    void translate_data();
    void translate();
    void unclosedQuote_data();
    void unclosedQuote();
    void quoteName_data();
    void quoteName();
};

void TestJetSql::translate_data() {
    QTest::addColumn<QString>("jet");
    QTest::addColumn<QString>("sqlite");

    QTest::newRow("delete with asterisk") << "delete * from temp4"
                                          << "delete  from temp4";
    QTest::newRow("delete over two lines") << "DELETE *\nFROM sltable"
                                           << "DELETE \nFROM sltable";
    QTest::newRow("select * kept") << "select * from temp4"
                                   << "select * from temp4";
    QTest::newRow("double-quoted constant")
        << "select * from t\nwhere test=1 and typequest=:tq and nt=\"no\""
        << "select * from t\nwhere test=1 and typequest=:tq and nt='no'";
    QTest::newRow("doubled quote inside a constant") << "x=\"a\"\"b\""
                                                     << "x='a\"b'";
    QTest::newRow("apostrophe inside a constant") << "x=\"д'Артанян\""
                                                  << "x='д''Артанян'";
    QTest::newRow("single-quoted constant kept") << "x='it''s'"
                                                 << "x='it''s'";
    QTest::newRow("bracketed name") << "select [table] from [my topics]"
                                    << "select \"table\" from \"my topics\"";
    QTest::newRow("quote inside a bracketed name") << "select * from [a\"b]"
                                                   << "select * from \"a\"\"b\"";
    QTest::newRow("asterisk and colon inside a constant") << "delete * from t where w=\"* :cl\""
                                                          << "delete  from t where w='* :cl'";
    QTest::newRow("asterisk of a later select untouched")
        << "select words from temp\nunion\nselect words from temp"
        << "select words from temp\nunion\nselect words from temp";
}

void TestJetSql::translate() {
    QFETCH(QString, jet);
    QFETCH(QString, sqlite);
    QCOMPARE(translateJet(jet), sqlite);
}

void TestJetSql::unclosedQuote_data() {
    QTest::addColumn<QString>("jet");
    QTest::newRow("string") << "select * from t where nt=\"no";
    QTest::newRow("name") << "select * from [topics";
    QTest::newRow("apostrophe") << "select * from t where a='x";
}

void TestJetSql::unclosedQuote() {
    QFETCH(QString, jet);
    try {
        translateJet(jet);
        QFAIL("an unclosed quote was accepted");
    } catch (const StoreError& e) {
        QVERIFY2(e.text().contains(QStringLiteral("кавички")), qPrintable(e.text()));
    }
}

void TestJetSql::quoteName_data() {
    QTest::addColumn<QString>("name");
    QTest::addColumn<bool>("accepted");

    QTest::newRow("plain") << "q7_math_in" << true;
    QTest::newRow("Cyrillic with blanks") << "Входящо ниво 7" << true;
    QTest::newRow("statement after a semicolon") << "topics; drop table topics" << true;
    QTest::newRow("double quote") << "a\"b" << true;
    QTest::newRow("closing bracket") << "x]; drop table topics; --" << false;
    QTest::newRow("opening bracket") << "[x" << false;
    QTest::newRow("empty") << "" << false;
    QTest::newRow("blanks only") << "   " << false;
}

void TestJetSql::quoteName() {
    QFETCH(QString, name);
    QFETCH(bool, accepted);
    try {
        const QString quoted = ::quoteName(name);
        QVERIFY(accepted);
        // Whatever the name holds, the statement names exactly that one table.
        QCOMPARE(translateJet(QStringLiteral("select * from ") + quoted),
                 QStringLiteral("select * from ") + sqlIdent(name));
    } catch (const StoreError& e) {
        QVERIFY2(!accepted, qPrintable(e.text()));
        QVERIFY(!e.text().isEmpty());
    }
}

QTEST_GUILESS_MAIN(TestJetSql)
#include "tst_jetsql.moc"
