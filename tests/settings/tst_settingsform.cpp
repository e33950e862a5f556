#include "kit/balloons.h"
#include "kit/messages.h"
#include "settings/registry.h"
#include "settings/settingsform.h"
#include "settings/settingsstore.h"
#include "settings/spinfield.h"
#include "store/connection.h"
#include "store/datamodule.h"
#include "support/application.h"
#include "support/settingsfile.h"
#include "ui/instances.h"

#include <QApplication>
#include <QCheckBox>
#include <QCloseEvent>
#include <QComboBox>
#include <QDir>
#include <QProcess>
#include <QPushButton>
#include <QSettings>
#include <QTest>
#include <QTextStream>

namespace {

// A key path as the load names it, without the final backslash.
QString keyOf(const char* path) {
    return parseRegistryPath(QString::fromLatin1(path)).display;
}

// The first-run layout as another process must find it: key, value, type
// (b, i, s) and the text in the file.
struct Stored {
    QString key;
    QString name;
    char type;
    QString text;
};

QList<Stored> firstRunLayout(bool help, bool balloons) {
    QList<Stored> layout, lanTest;
    for (const Setting& s : kSettings) {
        const QString name = QString::fromLatin1(s.name);
        QString text = s.kind == ValueKind::String ? QString() : QString::number(s.firstRun);
        if (name == "Help" || name == "balloons")
            text = QString::number(int(name == "Help" ? help : balloons));
        const char type = "bis"[int(s.kind)];
        layout.append({keyOf(s.key), name, type, text});
        if (s.use & kAlsoLanTest)
            lanTest.append({keyOf(regkeys::LANTest), name, type, text});
    }
    return layout + lanTest;
}

QString fileKey(const QString& key, const QString& name) {
    return QString(key).remove(QStringLiteral("Tamrel\\Kivor 2\\")).replace('\\', '/') + '/' + name;
}

// Child process: reads "type|key|name" arguments through the registry layer
// and prints "key|name=value", or "key|name!" when the read fails.
int readRegistry(int argc, char** argv) {
    QTextStream out(stdout);
    for (int i = 2; i < argc; ++i) {
        const QStringList part = QString::fromUtf8(argv[i]).split('|');
        out << part[1] << '|' << part[2];
        try {
            RegistryKey key(part[1], RegistryKey::Open::Existing);
            if (part[0] == "s")
                out << '=' << key.readString(part[2]);
            else if (part[0] == "b")
                out << '=' << int(key.readBool(part[2]));
            else
                out << '=' << key.readInteger(part[2]);
        } catch (const RegistryError&) {
            out << '!';
        }
        out << '\n';
    }
    return 0;
}

QSettings store() {
    return QSettings(QStringLiteral("Tamrel"), QStringLiteral("Kivor 2"));
}

// What the load reads, in its order, with the values the tests store.
struct Loaded {
    QString key;
    QString name;
    int stored;   // differs from the first-run default
    int firstRun; // the first-run default
    const char* object;

    int control(const TSettingsForm& f) const {
        const QObject* c = f.findChild<QObject*>(object);
        if (const auto* box = qobject_cast<const QCheckBox*>(c))
            return int(box->isChecked());
        return qobject_cast<const SpinField*>(c)->value();
    }
    void set(TSettingsForm& f) const {
        QObject* c = f.findChild<QObject*>(object);
        if (auto* box = qobject_cast<QCheckBox*>(c))
            box->setChecked(stored);
        else
            qobject_cast<SpinField*>(c)->setValue(stored);
    }
};

const QList<Loaded>& loadOrder() {
    static const QList<Loaded> order = [] {
        QList<Loaded> order;
        for (const Setting& s : kSettings)
            if (s.use & kLoaded)
                order.append(
                    {keyOf(s.key), s.name,
                     s.kind == ValueKind::Bool ? 1 - s.firstRun : (s.firstRun + s.range.max) / 2,
                     s.firstRun, s.control});
        return order;
    }();
    return order;
}

} // namespace

class TstSettingsForm : public QObject {
    Q_OBJECT

private slots:
    void init();
    void firstRunWritesDefaults_data();
    void firstRunWritesDefaults();
    void storedNumberIsClamped_data();
    void storedNumberIsClamped();
    void typedNumberIsClamped_data();
    void typedNumberIsClamped();
    void loadStopsAtBadValue_data();
    void loadStopsAtBadValue();
    void missingValuesTakeTheirDefaults_data();
    void missingValuesTakeTheirDefaults();
    void enabledStateFollowsLoad_data();
    void enabledStateFollowsLoad();
    void enabledStateFollowsBoxes_data();
    void enabledStateFollowsBoxes();
    void saveWritesOnlyItsValues();
    void saveFailureKeepsWindowOpen_data();
    void saveFailureKeepsWindowOpen();
    void standardThenCancelWritesNothing();
    void showDeletesLanFile();
    void dictionaryListFilled();
    void dictionaryFailureKeepsList_data();
    void dictionaryFailureKeepsList();
    void onlyButtonsClose();

private:
    // Shows the window once so that the first-run defaults exist, and leaves it.
    void firstRun(TSettingsForm& form);
    QString file() const { return programSettingsFile(); }

    fixture::MessageLog m_log;
};

void TstSettingsForm::init() {
    m_log.clear();
}

void TstSettingsForm::firstRun(TSettingsForm& form) {
    form.show();
    form.CancelBtn->click();
    QVERIFY(m_log.messages().isEmpty());
}

void TstSettingsForm::firstRunWritesDefaults_data() {
    QTest::addColumn<bool>("help");
    QTest::addColumn<bool>("balloons");
    QTest::newRow("start-up state") << false << false;
    QTest::newRow("boxes checked") << true << true;
}

void TstSettingsForm::firstRunWritesDefaults() {
    QFETCH(bool, help);
    QFETCH(bool, balloons);
    fixture::RunningProgram program;
    TSettingsForm& form = *SettingsForm;
    form.shsc0->setChecked(help);
    form.sbt0->setChecked(balloons);
    firstRun(form);
    const QList<Stored> layout = firstRunLayout(help, balloons);

    // Exactly these values reached the file, each in its own form.
    QMap<QString, QString> expected;
    for (const Stored& s : layout)
        expected.insert(fileKey(s.key, s.name), s.text);
    QCOMPARE(readSettingsFile(file()), expected);

    // Another process reads them back with their types.
    QStringList args{QStringLiteral("--read-registry")}, lines;
    for (const Stored& s : layout) {
        args << QStringLiteral("%1|%2|%3").arg(QChar(s.type), s.key, s.name);
        lines << s.key + '|' + s.name + '=' + s.text;
    }
    QProcess reader;
    reader.start(QCoreApplication::applicationFilePath(), args);
    QVERIFY(reader.waitForFinished(60000));
    QCOMPARE(QString::fromUtf8(reader.readAllStandardOutput()).split('\n', Qt::SkipEmptyParts),
             lines);

    for (const Loaded& l : loadOrder())
        QCOMPARE(l.control(form), l.name == "Help"       ? int(help)
                                  : l.name == "balloons" ? int(balloons)
                                                         : l.firstRun);
    QVERIFY(form.hour1->isEnabled() && form.numcor1->isEnabled());
    QVERIFY(form.sfac2d->isChecked() && form.sdc2d->isChecked());
    QVERIFY(form.dict2->isHidden());
    QCOMPARE(form.dict2->currentText(), QString());
}

void TstSettingsForm::storedNumberIsClamped_data() {
    QTest::addColumn<QString>("name");
    QTest::addColumn<QString>("field");
    QTest::addColumn<int>("stored");
    QTest::addColumn<int>("loaded");
    QTest::newRow("hour high") << "hour"
                               << "hour1" << 30 << 24;
    QTest::newRow("hour low") << "hour"
                              << "hour1" << -1 << 0;
    QTest::newRow("min high") << "min"
                              << "min1" << 61 << 60;
    QTest::newRow("min low") << "min"
                             << "min1" << -7 << 0;
    QTest::newRow("sec high") << "sec"
                              << "sec1" << 75 << 60;
    QTest::newRow("sec low") << "sec"
                             << "sec1" << -1 << 0;
    QTest::newRow("NumCor high") << "NumCor"
                                 << "numcor1" << 5000 << 1000;
    QTest::newRow("NumCor low") << "NumCor"
                                << "numcor1" << -2 << 0;
    QTest::newRow("NumCor in range") << "NumCor"
                                     << "numcor1" << 1000 << 1000;
}

void TstSettingsForm::storedNumberIsClamped() {
    QFETCH(QString, name);
    QFETCH(QString, field);
    QFETCH(int, stored);
    QFETCH(int, loaded);
    fixture::RunningProgram program;
    TSettingsForm& form = *SettingsForm;
    firstRun(form);
    store().setValue("LocalSettings/Test/" + name, stored);
    form.show();
    auto* spin = form.findChild<SpinField*>(field);
    QCOMPARE(spin->value(), loaded);
    QCOMPARE(spin->text(), QString::number(loaded));
}

void TstSettingsForm::typedNumberIsClamped_data() {
    QTest::addColumn<QString>("field");
    QTest::addColumn<QString>("typed");
    QTest::addColumn<int>("value");
    QTest::newRow("hour 99") << "hour1"
                             << "99" << 24;
    QTest::newRow("min 75") << "min1"
                            << "75" << 60;
    QTest::newRow("sec 61") << "sec1"
                            << "61" << 60;
    QTest::newRow("numcor 5000") << "numcor1"
                                 << "5000" << 1000;
    QTest::newRow("min in range") << "min1"
                                  << "7" << 7;
    QTest::newRow("hour emptied") << "hour1"
                                  << "" << 0;
    QTest::newRow("numcor emptied") << "numcor1"
                                    << "" << 0;
}

// A typed number counts clamped at once, and shows clamped once the click on
// "Запази" has taken the focus, before the save reads it.
void TstSettingsForm::typedNumberIsClamped() {
    QFETCH(QString, field);
    QFETCH(QString, typed);
    QFETCH(int, value);
    fixture::RunningProgram program;
    TSettingsForm& form = *SettingsForm;
    firstRun(form);
    form.show();
    form.activateWindow();
    QVERIFY(QTest::qWaitForWindowActive(&form));
    auto* spin = form.findChild<SpinField*>(field);
    form.PageControl1->setCurrentWidget(form.TabSheet2);
    spin->setFocus();
    spin->selectAll();
    QTest::keyClick(spin, Qt::Key_Delete);
    QTest::keyClicks(spin, typed);
    QCOMPARE(spin->text(), typed);
    QCOMPARE(spin->value(), value);

    QTest::mouseClick(form.SaveBtn, Qt::LeftButton);
    QVERIFY(!form.isVisible());
    QCOMPARE(spin->text(), QString::number(value));
    const QString name = QString::fromLatin1(settingOf(field.toLatin1()).name);
    QCOMPARE(readSettingsFile(file()).value("LocalSettings/Test/" + name), QString::number(value));
}

void TstSettingsForm::loadStopsAtBadValue_data() {
    QTest::addColumn<QString>("group"); // removed, or holds the bad value
    QTest::addColumn<QVariant>("bad");
    QTest::addColumn<int>("at"); // position in the load order
    QTest::addColumn<QString>("named");
    QTest::newRow("Help yes") << "LocalSettings/Help" << QVariant("yes") << 0 << "„Help“";
    QTest::newRow("Timer true") << "LocalSettings/Test/Timer" << QVariant("true") << 4 << "„Timer“";
    QTest::newRow("hour abc") << "LocalSettings/Test/hour" << QVariant("abc") << 5 << "„hour“";
    QTest::newRow("NumCor 1.5") << "LocalSettings/Test/NumCor" << QVariant("1.5") << 9
                                << "„NumCor“";
    QTest::newRow("Tutor WalkQuest yes")
        << "LocalSettings/Tutor/WalkQuest" << QVariant("yes") << 11 << "„WalkQuest“";
}

// The values before the bad one are loaded, the ones after it keep what the
// controls held, and the error box names what was wrong.
void TstSettingsForm::loadStopsAtBadValue() {
    QFETCH(QString, group);
    QFETCH(QVariant, bad);
    QFETCH(int, at);
    QFETCH(QString, named);
    fixture::RunningProgram program;
    TSettingsForm& form = *SettingsForm;
    firstRun(form);
    QSettings s = store();
    for (const Loaded& l : loadOrder())
        s.setValue(fileKey(l.key, l.name), l.stored);
    s.setValue(group, bad);
    s.sync();

    form.show();
    QCOMPARE(m_log.messages().size(), 1);
    QCOMPARE(m_log.messages()[0].kind, MessageKind::Error);
    QVERIFY2(m_log.messages()[0].text.contains(named), qPrintable(m_log.messages()[0].text));
    for (int i = 0; i < loadOrder().size(); ++i) {
        const Loaded& l = loadOrder()[i];
        QCOMPARE(l.control(form), i < at ? l.stored : l.firstRun);
    }
}

// A value or key that is missing (a write cut short, a file edited by hand)
// takes its default, once and with a notice; the rest loads as stored.
void TstSettingsForm::missingValuesTakeTheirDefaults_data() {
    QTest::addColumn<QString>("group");
    QTest::addColumn<QStringList>("missing"); // load-order names that take their defaults
    QTest::newRow("balloons") << "LocalSettings/balloons" << QStringList{"balloons"};
    QTest::newRow("min") << "LocalSettings/Test/min" << QStringList{"min"};
    QTest::newRow("the test key") << "LocalSettings/Test"
                                  << QStringList{"BackBtn", "WalkQuest", "Timer",       "hour",
                                                 "min",     "sec",       "UnlimiteCor", "NumCor"};
    QTest::newRow("the tutor key") << "LocalSettings/Tutor" << QStringList{"BackBtn", "WalkQuest"};
}

void TstSettingsForm::missingValuesTakeTheirDefaults() {
    QFETCH(QString, group);
    QFETCH(QStringList, missing);
    fixture::RunningProgram program;
    TSettingsForm& form = *SettingsForm;
    firstRun(form);
    QSettings s = store();
    for (const Loaded& l : loadOrder())
        s.setValue(fileKey(l.key, l.name), l.stored);
    s.remove(group);
    s.sync();

    form.show();
    QCOMPARE(m_log.messages().size(), 1);
    QCOMPARE(m_log.messages()[0].kind, MessageKind::Information);
    for (const Loaded& l : loadOrder()) {
        const bool filled = fileKey(l.key, l.name).startsWith(group) && missing.contains(l.name);
        QCOMPARE(l.control(form), filled ? l.firstRun : l.stored);
        if (filled)
            QVERIFY2(m_log.messages()[0].text.contains(l.name),
                     qPrintable(m_log.messages()[0].text));
    }
    form.CancelBtn->click();
    form.show();
    QCOMPARE(m_log.messages().size(), 1);
}

void TstSettingsForm::enabledStateFollowsLoad_data() {
    QTest::addColumn<QString>("name");
    QTest::addColumn<int>("stored");
    QTest::addColumn<QString>("field");
    QTest::addColumn<bool>("enabled");
    QTest::newRow("UnlimiteCor 1") << "UnlimiteCor" << 1 << "numcor1" << false;
    QTest::newRow("UnlimiteCor 0") << "UnlimiteCor" << 0 << "numcor1" << true;
    QTest::newRow("Timer 0") << "Timer" << 0 << "sec1" << false;
    QTest::newRow("Timer 1") << "Timer" << 1 << "hour1" << true;
}

void TstSettingsForm::enabledStateFollowsLoad() {
    QFETCH(QString, name);
    QFETCH(int, stored);
    QFETCH(QString, field);
    QFETCH(bool, enabled);
    fixture::RunningProgram program;
    TSettingsForm& form = *SettingsForm;
    firstRun(form);
    store().setValue("LocalSettings/Test/" + name, stored);
    form.findChild<QWidget*>(field)->setEnabled(!enabled);
    form.show();
    QCOMPARE(form.findChild<QWidget*>(field)->isEnabled(), enabled);
}

void TstSettingsForm::enabledStateFollowsBoxes_data() {
    QTest::addColumn<QString>("box");
    QTest::addColumn<bool>("byUser");
    QTest::newRow("время by user") << "chtime1" << true;
    QTest::newRow("время by program") << "chtime1" << false;
    QTest::newRow("unlimited by user") << "unnumcor1" << true;
    QTest::newRow("unlimited by program") << "unnumcor1" << false;
}

void TstSettingsForm::enabledStateFollowsBoxes() {
    QFETCH(QString, box);
    QFETCH(bool, byUser);
    fixture::RunningProgram program;
    TSettingsForm& form = *SettingsForm;
    firstRun(form);
    form.show();
    form.PageControl1->setCurrentWidget(form.TabSheet2);
    auto* check = form.findChild<QCheckBox*>(box);
    const QList<QWidget*> fields = box == "chtime1"
                                       ? QList<QWidget*>{form.hour1, form.min1, form.sec1}
                                       : QList<QWidget*>{form.numcor1};
    // Checked "време" enables its fields; checked "неограничен брой" disables.
    const bool enablesWhenChecked = box == "chtime1";
    for (int step = 0; step < 2; ++step) {
        if (byUser)
            QTest::mouseClick(check, Qt::LeftButton, {}, QPoint(6, check->height() / 2));
        else
            check->setChecked(!check->isChecked());
        for (QWidget* f : fields)
            QCOMPARE(f->isEnabled(), check->isChecked() == enablesWhenChecked);
    }
}

void TstSettingsForm::saveWritesOnlyItsValues() {
    fixture::RunningProgram program;
    TSettingsForm& form = *SettingsForm;
    firstRun(form);
    // Values only the first run writes, set apart from their defaults.
    QSettings s = store();
    const QMap<QString, QVariant> kept = {
        {"LocalSettings/Test/NumQuest", 77},  {"LocalSettings/Tutor/FullAns", 0},
        {"LocalSettings/Tutor/NumQuest", 55}, {"LocalSettings/Tutor/Dict", 1},
        {"LANSettings/results", 0},           {"LANSettings/TS", 1},
        {"LANSettings/Test/hour", 9},         {"LANSettings/Test/NumCor", 8}};
    for (auto it = kept.begin(); it != kept.end(); ++it)
        s.setValue(it.key(), it.value());
    s.sync();
    QMap<QString, QString> expected = readSettingsFile(file());

    form.show();
    setBalloonsEnabled(false);
    for (const Loaded& l : loadOrder()) {
        expected[fileKey(l.key, l.name)] = QString::number(l.stored);
        l.set(form);
    }
    form.SaveBtn->click();

    QVERIFY(m_log.messages().isEmpty());
    QVERIFY(!form.isVisible());
    QVERIFY(balloonsEnabled());
    QCOMPARE(readSettingsFile(file()), expected);
}

void TstSettingsForm::saveFailureKeepsWindowOpen_data() {
    QTest::addColumn<bool>("folderBlocked");
    QTest::addColumn<QString>("reported");
    QTest::newRow("file unreadable") << false << "прочетен";
    QTest::newRow("folder cannot be made") << true << "записани";
}

// A save that did not reach the disk is reported, and the window stays open
// with the user's values instead of passing for saved.
void TstSettingsForm::saveFailureKeepsWindowOpen() {
    QFETCH(bool, folderBlocked);
    QFETCH(QString, reported);
    fixture::RunningProgram program;
    TSettingsForm& form = *SettingsForm;
    firstRun(form);
    form.show();
    const QString folder = QFileInfo(file()).path();
    QVERIFY(QDir(folder).removeRecursively());
    if (folderBlocked) {
        QFile blocker(folder);
        QVERIFY(blocker.open(QIODevice::WriteOnly));
    } else {
        QVERIFY(QDir().mkpath(file()));
    }
    setBalloonsEnabled(false);
    form.sbt0->setChecked(true);
    form.SaveBtn->click();
    QCOMPARE(m_log.messages().size(), 1);
    QCOMPARE(m_log.messages()[0].kind, MessageKind::Error);
    QVERIFY2(m_log.messages()[0].text.contains(reported), qPrintable(m_log.messages()[0].text));
    QVERIFY(form.isVisible());
    QVERIFY(!balloonsEnabled());

    // The values that found no file must not reach the next test's file.
    QFile::remove(folder);
    QDir(folder).removeRecursively();
    store().clear();
}

void TstSettingsForm::standardThenCancelWritesNothing() {
    fixture::RunningProgram program;
    TSettingsForm& form = *SettingsForm;
    firstRun(form);
    store().setValue("LocalSettings/Test/hour", 5);
    store().setValue("LocalSettings/Test/UnlimiteCor", 1);
    store().setValue("LocalSettings/Tutor/BackBtn", 0);
    QFile conf(file());
    QVERIFY(conf.open(QIODevice::ReadOnly));
    const QByteArray before = conf.readAll();
    conf.close();

    form.show();
    form.Button3->click();
    QCOMPARE(form.hour1->value(), 0);
    QCOMPARE(form.min1->value(), 40);
    QVERIFY(!form.unnumcor1->isChecked() && form.numcor1->isEnabled());
    QCOMPARE(form.numcor1->value(), 2);
    QVERIFY(!form.sbbc2->isChecked()); // the tutor page is not touched
    form.CancelBtn->click();
    QVERIFY(!form.isVisible());
    QVERIFY(conf.open(QIODevice::ReadOnly));
    QCOMPARE(conf.readAll(), before);

    form.show();
    QCOMPARE(form.hour1->value(), 5);
    QVERIFY(form.unnumcor1->isChecked() && !form.numcor1->isEnabled());
}

void TstSettingsForm::showDeletesLanFile() {
    fixture::RunningProgram program;
    TSettingsForm& form = *SettingsForm;
    firstRun(form);
    QFile lan(program.folder.file(QStringLiteral("\\lan")));
    QVERIFY(lan.open(QIODevice::WriteOnly));
    lan.close();
    form.show();
    QVERIFY(!lan.exists());
    QVERIFY(m_log.messages().isEmpty());
}

void TstSettingsForm::dictionaryListFilled() {
    fixture::RunningProgram program;
    program.folder.addDictionary(QStringLiteral("Английски"), QStringLiteral("en"), {});
    program.folder.addDictionary(QStringLiteral("Немски"), QStringLiteral("de"), {});
    program.folder.addDictionary(QStringLiteral("Руски"), QStringLiteral("ru"), {});
    TSettingsForm& form = *SettingsForm;
    form.dict2->addItem(QStringLiteral("стар"));
    form.dict2->setCurrentIndex(-1);
    QVERIFY(guarded([&] { form.Dict(); }));
    QStringList items;
    for (int i = 0; i < form.dict2->count(); ++i)
        items << form.dict2->itemText(i);
    QCOMPARE(items, QStringList({"Английски", "Немски", "Руски"}));
    // Filling the list picks no dictionary.
    QCOMPARE(form.dict2->currentText(), QString());
    QVERIFY(DataModule2->Dicts.isOpen());
}

void TstSettingsForm::dictionaryFailureKeepsList_data() {
    QTest::addColumn<QByteArray>("damage");
    QTest::newRow("not a database") << QByteArray("garbage");
    QTest::newRow("missing file") << QByteArray("missing");
    QTest::newRow("no dicts table") << QByteArray("create table other (x text)");
    QTest::newRow("no Lang column")
        << QByteArray("create table dicts (Name text); insert into dicts values ('x')");
}

void TstSettingsForm::dictionaryFailureKeepsList() {
    QFETCH(QByteArray, damage);
    fixture::RunningProgram program;
    const QString path = program.folder.file(QStringLiteral("\\dict\\dict.mdb"));
    QVERIFY(QFile::remove(path));
    if (damage == "garbage") {
        QFile f(path);
        QVERIFY(f.open(QIODevice::WriteOnly));
        f.write(QByteArray(4096, 'x'));
    } else if (damage != "missing") {
        Connection::create(path, QString())->execRaw(QString::fromUtf8(damage));
    }
    TSettingsForm& form = *SettingsForm;
    const QStringList old{QStringLiteral("стар 1"), QStringLiteral("стар 2")};
    form.dict2->addItems(old);
    QVERIFY(!guarded([&] { form.Dict(); }));
    QCOMPARE(m_log.messages().size(), 1);
    QCOMPARE(m_log.messages()[0].kind, MessageKind::Error);
    QCOMPARE(form.dict2->count(), 2);
    QCOMPARE(form.dict2->itemText(1), old[1]);
}

void TstSettingsForm::onlyButtonsClose() {
    fixture::RunningProgram program;
    TSettingsForm& form = *SettingsForm;
    QCOMPARE(form.windowType(), Qt::Tool);
    QVERIFY(form.windowFlags() & Qt::CustomizeWindowHint);
    QVERIFY(!(form.windowFlags() & Qt::WindowCloseButtonHint));
    firstRun(form);
    form.show();
    QVERIFY(!form.close());
    QCloseEvent event;
    QApplication::sendEvent(&form, &event);
    QVERIFY(!event.isAccepted());
    QVERIFY(form.isVisible());
    form.CancelBtn->click();
    QVERIFY(!form.isVisible());
}

int main(int argc, char** argv) {
    if (argc > 1 && qstrcmp(argv[1], "--read-registry") == 0)
        return readRegistry(argc, argv);
    fixture::usePrivateConfig();
    QApplication app(argc, argv);
    TstSettingsForm test;
    return QTest::qExec(&test, argc, argv);
}

#include "tst_settingsform.moc"
