#include "store/multiline.h"

#include <QTest>

class TestMultiline : public QObject {
    Q_OBJECT
private slots:
    void split_data();
    void split();
    void joinThenSplit_data();
    void joinThenSplit();
};

void TestMultiline::split_data() {
    QTest::addColumn<QString>("value");
    QTest::addColumn<QStringList>("lines");

    QTest::newRow("CR LF") << "a\r\nb\r\nc" << QStringList{"a", "b", "c"};
    QTest::newRow("lone CR") << "a\rb\rc" << QStringList{"a", "b", "c"};
    QTest::newRow("lone LF") << "a\nb\nc" << QStringList{"a", "b", "c"};
    QTest::newRow("mixed breaks") << "a\r\nb\rc\nd" << QStringList{"a", "b", "c", "d"};
    QTest::newRow("final CR LF adds nothing") << "a\r\nb\r\n" << QStringList{"a", "b"};
    QTest::newRow("final CR adds nothing") << "a\r" << QStringList{"a"};
    QTest::newRow("final LF adds nothing") << "a\n" << QStringList{"a"};
    QTest::newRow("empty value has no lines") << "" << QStringList{};
    QTest::newRow("one line without break") << "само" << QStringList{"само"};
    QTest::newRow("empty line in the middle kept") << "a\r\n\r\nb\r\n" << QStringList{"a", "", "b"};
    QTest::newRow("empty lines by lone breaks")
        << "a\n\nb\r\rc" << QStringList{"a", "", "b", "", "c"};
    QTest::newRow("LF CR is two breaks") << "a\n\rb" << QStringList{"a", "", "b"};
    QTest::newRow("a single break is one empty line") << "\r\n" << QStringList{""};
    QTest::newRow("leading break") << "\r\na" << QStringList{"", "a"};
    QTest::newRow("blanks are content") << " \r\n  x \r\n" << QStringList{" ", "  x "};
    QTest::newRow("Cyrillic") << "вода\r\nогън\r\n" << QStringList{"вода", "огън"};
}

void TestMultiline::split() {
    QFETCH(QString, value);
    QFETCH(QStringList, lines);
    QCOMPARE(splitLines(value), lines);
}

void TestMultiline::joinThenSplit_data() {
    QTest::addColumn<QStringList>("items");
    QTest::addColumn<QString>("stored");

    QTest::newRow("none") << QStringList{} << "";
    QTest::newRow("one") << QStringList{"12"} << "12\r\n";
    QTest::newRow("with an empty item") << QStringList{"a", "", "b"} << "a\r\n\r\nb\r\n";
    QTest::newRow("only an empty item") << QStringList{""} << "\r\n";
}

void TestMultiline::joinThenSplit() {
    QFETCH(QStringList, items);
    QFETCH(QString, stored);
    QCOMPARE(joinLines(items), stored);
    QCOMPARE(splitLines(stored), items);
}

QTEST_GUILESS_MAIN(TestMultiline)
#include "tst_multiline.moc"
