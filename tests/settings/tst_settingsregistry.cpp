#include "settings/registry.h"
#include "support/programfolder.h"
#include "support/settingsfile.h"

#include <QDir>
#include <QTest>

class TstSettingsRegistry : public QObject {
    Q_OBJECT
public:
    static void initMain() { fixture::usePrivateConfig(); }

private slots:
    void pathForms_data();
    void pathForms();
    void invalidNames_data();
    void invalidNames();
    void reads_data();
    void reads();
    void keyExistence();
    void writeFailureIsReported();
    void damagedFileIsRewrittenSound();

private:
    QString config() const { return qEnvironmentVariable("XDG_CONFIG_HOME"); }
    int m_row = 0;
};

void TstSettingsRegistry::pathForms_data() {
    QTest::addColumn<QString>("written");
    QTest::addColumn<QString>("read");
    const QString plain = QStringLiteral("Tamrel\\Kivor 2\\LocalSettings\\Test");
    QTest::newRow("final backslash") << plain + QStringLiteral("\\") << plain;
    QTest::newRow("no final backslash") << plain << plain + QStringLiteral("\\");
    QTest::newRow("leading backslash") << QStringLiteral("\\") + plain << plain;
}

// Both spellings of a key reach the same group of the one settings file.
void TstSettingsRegistry::pathForms() {
    QFETCH(QString, written);
    QFETCH(QString, read);
    const int value = ++m_row * 10;
    RegistryKey out(written, RegistryKey::Open::Create);
    out.writeInteger(QStringLiteral("hour"), value);
    out.close();
    // On disk at once, while the key is still open.
    const auto file =
        readSettingsFile(settingsFile(QStringLiteral("Tamrel"), QStringLiteral("Kivor 2")));
    QCOMPARE(file.value(QStringLiteral("LocalSettings/Test/hour")), QString::number(value));
    RegistryKey in(read, RegistryKey::Open::Existing);
    QCOMPARE(in.readInteger(QStringLiteral("hour")), value);
    QCOMPARE(in.path(), QStringLiteral("Tamrel\\Kivor 2\\LocalSettings\\Test"));
}

void TstSettingsRegistry::invalidNames_data() {
    QTest::addColumn<QString>("path");
    QTest::addColumn<QString>("name");
    const QString key = QStringLiteral("Tamrel\\Kivor 2\\Names");
    QTest::newRow("empty path") << QString() << QStringLiteral("v");
    QTest::newRow("no application") << QStringLiteral("Tamrel\\") << QStringLiteral("v");
    QTest::newRow("empty part") << QStringLiteral("Tamrel\\\\Kivor 2") << QStringLiteral("v");
    QTest::newRow("slash in key") << QStringLiteral("Tamrel\\Kivor 2\\a/b") << QStringLiteral("v");
    QTest::newRow("slash in name") << key << QStringLiteral("a/b");
    QTest::newRow("backslash in name") << key << QStringLiteral("a\\b");
    QTest::newRow("empty name") << key << QString();
}

// A name that would reach into another group is refused, not written there.
void TstSettingsRegistry::invalidNames() {
    QFETCH(QString, path);
    QFETCH(QString, name);
    try {
        RegistryKey key(path, RegistryKey::Open::Create);
        key.writeInteger(name, 1);
        QFAIL("no error");
    } catch (const RegistryError& e) {
        QVERIFY2(e.text().startsWith(QStringLiteral("Невалид")), qPrintable(e.text()));
    }
}

void TstSettingsRegistry::reads_data() {
    QTest::addColumn<QByteArray>("line"); // under [K] of a file never read before
    QTest::addColumn<char>("type");       // i, b, s
    QTest::addColumn<QVariant>("expected");
    QTest::addColumn<QString>("error"); // part of the message when the read fails

    const QString other = QStringLiteral("от друг вид");
    const QString missing = QStringLiteral("липсва");
    QTest::newRow("int") << QByteArray("v=40") << 'i' << QVariant(40) << QString();
    QTest::newRow("negative int") << QByteArray("v=-3") << 'i' << QVariant(-3) << QString();
    QTest::newRow("int as text") << QByteArray("v=abc") << 'i' << QVariant() << other;
    QTest::newRow("int beyond 32 bits") << QByteArray("v=4294967296") << 'i' << QVariant() << other;
    QTest::newRow("int with fraction") << QByteArray("v=1.5") << 'i' << QVariant() << other;
    QTest::newRow("int list") << QByteArray("v=1, 2") << 'i' << QVariant() << other;
    QTest::newRow("int missing") << QByteArray() << 'i' << QVariant() << missing;
    QTest::newRow("bool 0") << QByteArray("v=0") << 'b' << QVariant(false) << QString();
    QTest::newRow("bool 1") << QByteArray("v=1") << 'b' << QVariant(true) << QString();
    QTest::newRow("bool non-zero") << QByteArray("v=7") << 'b' << QVariant(true) << QString();
    QTest::newRow("bool yes") << QByteArray("v=yes") << 'b' << QVariant() << other;
    QTest::newRow("bool word true") << QByteArray("v=true") << 'b' << QVariant() << other;
    QTest::newRow("bool missing") << QByteArray() << 'b' << QVariant() << missing;
    QTest::newRow("string") << QByteArray("v=Английски") << 's'
                            << QVariant(QStringLiteral("Английски")) << QString();
    QTest::newRow("empty string") << QByteArray("v=") << 's' << QVariant(QString()) << QString();
    QTest::newRow("string list") << QByteArray("v=a, b") << 's' << QVariant() << other;
    // The message shows the value as the file has it, not an empty one.
    QTest::newRow("rectangle") << QByteArray("v=@Rect(1 2 3 4)") << 'i' << QVariant()
                               << QStringLiteral("„@Rect(1 2 3 4)“");
    QTest::newRow("size as text") << QByteArray("v=@Size(5 6)") << 's' << QVariant()
                                  << QStringLiteral("„@Size(5 6)“");
}

// Values as another process finds them in the file: text only.
void TstSettingsRegistry::reads() {
    QFETCH(QByteArray, line);
    QFETCH(char, type);
    QFETCH(QVariant, expected);
    QFETCH(QString, error);
    // A file of its own per row, so nothing comes from an earlier read.
    const QString app = QStringLiteral("Row%1").arg(++m_row);
    QDir().mkpath(config() + QStringLiteral("/Reads"));
    QFile file(settingsFile(QStringLiteral("Reads"), app));
    QVERIFY(file.open(QIODevice::WriteOnly));
    file.write("[K]\nother=1\n" + line + "\n");
    file.close();

    const QString path = QStringLiteral("Reads\\") + app + QStringLiteral("\\K");
    RegistryKey key(path, RegistryKey::Open::Existing);
    try {
        QVariant got;
        if (type == 'i')
            got = key.readInteger(QStringLiteral("v"));
        else if (type == 'b')
            got = key.readBool(QStringLiteral("v"));
        else
            got = key.readString(QStringLiteral("v"));
        QVERIFY2(error.isEmpty(), "read without error");
        QCOMPARE(got, expected);
    } catch (const RegistryError& e) {
        QVERIFY2(!error.isEmpty(), qPrintable(e.text()));
        QVERIFY2(e.text().contains(error), qPrintable(e.text()));
        QVERIFY2(e.text().contains(QStringLiteral("„v“")), qPrintable(e.text()));
        QVERIFY2(e.text().contains(path), qPrintable(e.text()));
    }
}

void TstSettingsRegistry::keyExistence() {
    const QString parent = QStringLiteral("Exist\\App\\A");
    QVERIFY(!registryKeyExists(parent));
    try {
        RegistryKey missing(parent, RegistryKey::Open::Existing);
        QFAIL("a missing key opened");
    } catch (const RegistryError& e) {
        QVERIFY2(e.text().contains(parent), qPrintable(e.text()));
    }
    RegistryKey child(parent + QStringLiteral("\\B"), RegistryKey::Open::Create);
    child.writeBool(QStringLiteral("v"), true);
    child.close();
    QVERIFY(registryKeyExists(parent));
    QVERIFY(registryKeyExists(parent + QStringLiteral("\\B\\")));
    QVERIFY(!registryKeyExists(parent + QStringLiteral("\\C")));
}

// Settings that never reached the disk must not pass for saved.
void TstSettingsRegistry::writeFailureIsReported() {
    QFile blocker(config() + QStringLiteral("/Blocked"));
    QVERIFY(blocker.open(QIODevice::WriteOnly));
    blocker.close();
    RegistryKey key(QStringLiteral("Blocked\\App\\K"), RegistryKey::Open::Create);
    key.writeInteger(QStringLiteral("v"), 1);
    try {
        key.close();
        QFAIL("the failed write passed for saved");
    } catch (const RegistryError& e) {
        QVERIFY2(e.text().contains(QStringLiteral("Blocked/App.conf")), qPrintable(e.text()));
    }
}

// A file QSettings cannot parse whole is rewritten in sound form on the next
// write, which is no write failure.
void TstSettingsRegistry::damagedFileIsRewrittenSound() {
    QDir().mkpath(config() + QStringLiteral("/Damaged"));
    const QString path = settingsFile(QStringLiteral("Damaged"), QStringLiteral("App"));
    QFile file(path);
    QVERIFY(file.open(QIODevice::WriteOnly));
    file.write("[K\nv=1\n");
    file.close();
    RegistryKey key(QStringLiteral("Damaged\\App\\K"), RegistryKey::Open::Create);
    key.writeInteger(QStringLiteral("w"), 2);
    key.close();
    QCOMPARE(readSettingsFile(path).value(QStringLiteral("K/w")), QStringLiteral("2"));
}

QTEST_GUILESS_MAIN(TstSettingsRegistry)
#include "tst_settingsregistry.moc"
