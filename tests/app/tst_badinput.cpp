// The bad-input corpus: damaged database files, question rows, pictures and
// settings, each row run against the real windows as far as its damage
// reaches (start-up, a test run to the stored record, a tutor run with the
// dictionary). A row states what the pupil must see, and every row checks
// that nothing stored is lost: the earlier pupil's record is still there and
// readable, and a test run that could be taken has stored its own.
#include "app/globals.h"
#include "app/mainform.h"
#include "app/picture.h"
#include "app/requiredfiles.h"
#include "app/splashform.h"
#include "results/valform.h"
#include "session/eventlabel.h"
#include "session/picturebox.h"
#include "session/testform.h"
#include "settings/settingsform.h"
#include "settings/spinfield.h"
#include "setup/objectform.h"
#include "setup/regtestform.h"
#include "setup/shuffle.h"
#include "store/connection.h"
#include "store/datamodule.h"
#include "store/paths.h"
#include "store/schema.h"
#include "support/application.h"
#include "support/fixedrandom.h"
#include "support/widgets.h"

#include <QCheckBox>
#include <QComboBox>
#include <QDirIterator>
#include <QFile>
#include <QFileInfo>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QRandomGenerator>
#include <QRegularExpression>
#include <QStackedWidget>
#include <QTest>
#include <QTextCursor>
#include <QTextEdit>
#include <QToolButton>
#include <memory>
#include <sqlite3.h>

namespace {

const QString kSubject = QStringLiteral("математика");
const QString kSection = QStringLiteral("дроби");
const QString kTable = QStringLiteral("m5_drobi");
const QString kEarlier = QStringLiteral("Стара Ученичка");
const QString kWord = QStringLiteral("дроб");
const QString kMeaning = QStringLiteral("част от цяло");
constexpr unsigned kClass = 5;

// Words of the engine's or the toolkit's own English that must never reach
// the pupil; names of files, tables and values are quoted and left aside.
const QStringList kEnglish = {"no such", "not a",  "unable",  "malformed", "syntax",
                              "error",   "failed", "cannot",  "database",  "constraint",
                              "memory",  "disk",   "invalid", "unknown",   "file"};

void checkReadable(const QString& text) {
    QString bare = text;
    bare.remove(QRegularExpression(QStringLiteral("„[^“]*“")));
    QVERIFY2(!text.trimmed().isEmpty(), "an empty message");
    QVERIFY2(bare.contains(QRegularExpression(QStringLiteral("[а-яА-Я]"))), qPrintable(text));
    for (const QString& word : kEnglish)
        QVERIFY2(!bare.contains(word, Qt::CaseInsensitive), qPrintable(text));
}

// The messages seen, each containing the fragment of its place, in order.
void checkMessages(const fixture::MessageLog& log, const QStringList& expected) {
    const QStringList seen = log.texts();
    const QString all = seen.join(QStringLiteral("\n---\n"));
    QVERIFY2(seen.size() == expected.size(), qPrintable(QStringLiteral("seen:\n") + all));
    for (int i = 0; i < seen.size(); ++i) {
        QVERIFY2(seen[i].contains(expected[i]), qPrintable(QStringLiteral("seen:\n") + all));
        checkReadable(seen[i]);
    }
}

// A small picture for every place the main window loads one from.
void installPictures(const QString& folder) {
    QImage picture(16, 12, QImage::Format_RGB32);
    picture.fill(QColor(40, 120, 200));
    const QByteArray jpeg = encodeJpeg(picture, 90);
    for (const char* name : {"wellcome", "test", "tutor", "inf", "qu", "settings", "exit"}) {
        const QString path =
            programPath(folder, QStringLiteral("\\images\\%1.jpg").arg(QLatin1String(name)));
        QDir().mkpath(QFileInfo(path).path());
        QFile file(path);
        QVERIFY(file.open(QIODevice::WriteOnly));
        file.write(jpeg);
    }
}

// Every file the installation check asks for; the help files empty.
void installRequiredFiles(const QString& folder) {
    for (const QString& relative : requiredFiles()) {
        const QString path = programPath(folder, relative);
        QDir().mkpath(QFileInfo(path).path());
        QFile file(path);
        if (!file.exists())
            QVERIFY(file.open(QIODevice::WriteOnly));
    }
    installPictures(folder);
}

fixture::Question fourAnswers(const QString& quest, int scores) {
    return fixture::fourAnswer(quest,
                               {QStringLiteral("едно"), QStringLiteral("две"),
                                QStringLiteral("три"), QStringLiteral("четири")},
                               1, scores);
}

// A section of class 5 with a four-answer question worth 2 points and a gap
// text worth 3 after `first`, whatever that is: the drawing meets `first`
// whichever kind it asks for first.
void addSection(fixture::ProgramFolder& folder, const QString& subject, const QString& table,
                const fixture::Question& first) {
    folder.addTopic(kClass, subject, kSection, table);
    folder.exec(DbFile::Class, QStringLiteral("begin"), kClass);
    folder.addQuestion(kClass, table, first);
    folder.addQuestion(kClass, table, fourAnswers(QStringLiteral("Колко е 1/2 от 4?"), 2));
    folder.addQuestion(kClass, table,
                       fixture::gapFill(QStringLiteral("[Числителят] е над [чертата], "
                                                       "[знаменателят] е под нея."),
                                        {1, 1, 1}));
    folder.exec(DbFile::Class, QStringLiteral("commit"), kClass);
}

// The program folder every fresh start of the database table copies: the
// section, an earlier pupil, a dictionary, the help files and pictures.
const QString& preparedFolder() {
    static std::unique_ptr<fixture::ProgramFolder> folder;
    if (!folder) {
        folder = std::make_unique<fixture::ProgramFolder>();
        installRequiredFiles(folder->path());
        addSection(*folder, kSubject, kTable, fourAnswers(QStringLiteral("Коя дроб е 0,5?"), 4));
        fixture::Pupil earlier;
        earlier.name = kEarlier;
        earlier.classNo = int(kClass);
        folder->addPupil(earlier);
        folder->addDictionary(QStringLiteral("български"), QStringLiteral("bg"),
                              {{kWord, kMeaning}});
    }
    return folder->path();
}

void copyFolder(const QString& from, const QString& to) {
    QDirIterator it(from, QDir::Files, QDirIterator::Subdirectories);
    while (it.hasNext()) {
        const QString source = it.next();
        const QString target = to + source.mid(from.size());
        QDir().mkpath(QFileInfo(target).path());
        QFile::remove(target);
        QVERIFY(QFile::copy(source, target));
    }
}

QByteArray fileBytes(const QString& path) {
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

// --- The way through the windows; each step reports whether the pupil got
// there, and a step that cannot go on leaves the pupil at the main window.

void backHome() {
    if (RegTestForm->isVisible())
        QTest::mouseClick(RegTestForm->CBtn, Qt::LeftButton);
    if (ObjectForm->isVisible())
        QTest::mouseClick(ObjectForm->CancelBtn, Qt::LeftButton);
    if (TestForm->isVisible())
        QTest::mouseClick(TestForm->EndBtn, Qt::LeftButton);
    if (ValForm->isVisible())
        QTest::mouseClick(ValForm->CloseBtn, Qt::LeftButton);
}

bool chooseSection(const QString& subject, int count) {
    const int index = ObjectForm->ob1->findText(subject);
    if (index < 0) {
        backHome();
        return false;
    }
    ObjectForm->ob1->setCurrentIndex(index);
    QListWidget* sections = ObjectForm->sec1;
    if (sections->count() == 0) {
        backHome();
        return false;
    }
    QTest::mouseClick(sections->viewport(), Qt::LeftButton, {},
                      sections->visualItemRect(sections->item(0)).center());
    ObjectForm->numq1->setValue(count);
    QTest::mouseClick(ObjectForm->GoBtn, Qt::LeftButton);
    if (!TestForm->isVisible()) {
        backHome();
        return false;
    }
    return true;
}

bool openTestRun(const QString& name, const QString& subject, int count) {
    // A failure that ended the program leaves nothing to click.
    if (!MainForm->isVisible())
        return false;
    QTest::mouseClick(MainForm->TestBtn, Qt::LeftButton);
    if (!RegTestForm->isVisible())
        return false;
    fixture::typeText(RegTestForm->fullname->lineEdit(), name);
    RegTestForm->Class1->setCurrentIndex(int(kClass) - 1);
    RegTestForm->division->setCurrentIndex(1);
    RegTestForm->noc->setValue(3);
    QTest::mouseClick(RegTestForm->RBtn, Qt::LeftButton);
    if (!ObjectForm->isVisible()) {
        backHome();
        return false;
    }
    return chooseSection(subject, count);
}

bool openTutorRun(const QString& subject, int count) {
    if (!MainForm->isVisible())
        return false;
    QTest::mouseClick(MainForm->TutorBtn, Qt::LeftButton);
    if (!ObjectForm->isVisible())
        return false;
    while (ObjectForm->cl1->currentIndex() < int(kClass) - 1)
        QTest::keyClick(ObjectForm->cl1, Qt::Key_Down);
    return chooseSection(subject, count);
}

void clickLabel(QWidget* label) {
    if (label->isVisible())
        QTest::mouseClick(label, Qt::LeftButton, {}, label->rect().center());
}

// What a pupil does on each page: the right box of four, a term joined to
// a meaning, a word put into the first gap.
void answerShownQuestion() {
    switch (TestForm->Pages1->currentIndex()) {
    case TTestForm::FourAnswers: {
        const QString right = DataModule2->Temp.text(QStringLiteral("TrueAns"));
        const int box = right.size() == 1 ? answerBox(right.at(0)) : 0;
        clickLabel(TestForm->answerLabel(box > 0 ? box : 1));
        break;
    }
    case TTestForm::Terms:
        clickLabel(TestForm->termLabel(1));
        clickLabel(TestForm->meaningLabel(1));
        break;
    case TTestForm::GapText: {
        QListWidget* words = TestForm->Words1;
        if (words->count() == 0)
            break;
        QTest::mouseClick(words->viewport(), Qt::LeftButton, {},
                          words->visualItemRect(words->item(0)).center());
        const qsizetype gap = TestForm->Text1->toPlainText().indexOf(QStringLiteral(" ..... "));
        if (gap < 0)
            break;
        QTextCursor at(TestForm->Text1->document());
        at.setPosition(int(gap) + 3);
        QTest::mouseClick(TestForm->Text1->viewport(), Qt::LeftButton, {},
                          TestForm->Text1->cursorRect(at).center());
        break;
    }
    default:
        break;
    }
}

void answerEveryQuestion() {
    const int count = DataModule2->Temp.recordCount();
    for (int q = 1; q <= count; ++q) {
        answerShownQuestion();
        QTest::mouseClick(TestForm->NextBtn, Qt::LeftButton);
    }
}

// "Приключих": the total points the results window shows, or -1 when none
// came up.
int endTestRun() {
    QTest::mouseClick(TestForm->EndBtn, Qt::LeftButton);
    if (!ValForm->isVisible())
        return -1;
    bool ok = false;
    const int total = ValForm->gs1->text().section(QLatin1Char(' '), -1).toInt(&ok);
    QTest::mouseClick(ValForm->CloseBtn, Qt::LeftButton);
    return ok ? total : -1;
}

QString lookUp(const QString& word) {
    QTest::mouseClick(TestForm->fal1, Qt::LeftButton);
    TestForm->searchedit->clear();
    fixture::typeText(TestForm->searchedit, word);
    QTest::keyClick(TestForm->searchedit, Qt::Key_Return);
    const QString found = TestForm->trans1->toPlainText();
    QTest::mouseClick(TestForm->Label26, Qt::LeftButton);
    return found;
}

// The pupil records as a new connection reads them: names in order.
QStringList pupils(const fixture::ProgramFolder& folder) {
    QStringList names;
    for (const fixture::Row& r : folder.readTable(DbFile::Students, QStringLiteral("student")))
        names.append(r.value(QStringLiteral("name")).toString());
    return names;
}

// --- Damage done to a database file.

void makeDatabase(const QString& path, const QString& password, const QString& sql) {
    QFile::remove(path);
    auto c = Connection::create(path, password);
    c->execRaw(QStringLiteral("pragma user_version = 1"));
    if (!sql.isEmpty())
        c->execRaw(sql);
}

QString ownPassword(const QString& file) {
    if (file.contains(QLatin1String("topics")))
        return topicsPassword();
    if (file.contains(QLatin1String("students")))
        return studentsPassword();
    if (file.contains(QLatin1String("temp")))
        return scratchPassword();
    const QRegularExpressionMatch m = QRegularExpression(QStringLiteral("class(\\d+)")).match(file);
    QString password;
    if (m.hasMatch())
        prse(m.captured(1).toUInt(), password);
    return password;
}

// The tables of a file as a program of another kind would have made them.
QString otherSchema(const QString& file) {
    if (file.contains(QLatin1String("topics")))
        return QStringLiteral("create table topics (class integer, name text)");
    if (file.contains(QLatin1String("students")))
        return QStringLiteral("create table student (Name text, Mark integer)");
    if (file.contains(QLatin1String("temp")))
        return QStringLiteral("create table temp4 (id integer, Quest text)");
    if (file.contains(QLatin1String("class")))
        return QStringLiteral("create table \"%1\" (test integer, Quest text)").arg(kTable);
    if (file.contains(QLatin1String("dict")))
        return QStringLiteral("create table dicts (Language text)");
    return QStringLiteral("create table other (x text)");
}

void damageFile(const QString& path, const QString& relative, const QString& damage) {
    if (damage == QLatin1String("missing")) {
        QVERIFY(QFile::remove(path));
    } else if (damage == QLatin1String("zero-byte")) {
        QFile file(path);
        QVERIFY(file.open(QIODevice::WriteOnly | QIODevice::Truncate));
    } else if (damage == QLatin1String("random")) {
        QRandomGenerator random(13);
        QByteArray bytes(8192, Qt::Uninitialized);
        for (char& b : bytes)
            b = char(random.bounded(256));
        QFile file(path);
        QVERIFY(file.open(QIODevice::WriteOnly | QIODevice::Truncate));
        file.write(bytes);
    } else if (damage == QLatin1String("wrong password")) {
        makeDatabase(path, QStringLiteral("0123456789abcdefghij"), otherSchema(relative));
    } else if (damage == QLatin1String("wrong schema")) {
        makeDatabase(path, ownPassword(relative), otherSchema(relative));
    } else {
        QFAIL(qPrintable(QStringLiteral("unknown damage ") + damage));
    }
}

} // namespace

class TestBadInput : public QObject {
    Q_OBJECT

    // One program per table where the rows can share it.
    std::unique_ptr<fixture::RunningProgram> m_program;
    QString m_programFor;
    int m_row = 0;

    fixture::RunningProgram& sharedProgram() {
        if (!m_program || m_programFor != QLatin1String(QTest::currentTestFunction()) ||
            !MainForm->isVisible()) {
            m_program.reset();
            m_program = std::make_unique<fixture::RunningProgram>();
            m_programFor = QLatin1String(QTest::currentTestFunction());
            installRequiredFiles(m_program->folder.path());
            fixture::Pupil earlier;
            earlier.name = kEarlier;
            m_program->folder.addPupil(earlier);
            m_program->folder.addDictionary(QStringLiteral("български"), QStringLiteral("bg"),
                                            {{kWord, kMeaning}});
            fixture::MessageLog quiet;
            MainForm->Timer1Timer();
            SplashForm->Timer1Timer();
        }
        return *m_program;
    }

    // A section of its own for the row, its first question `first` with the
    // column set to the SQL value `literal`; the run over it and the record.
    // Returns the total points of the stored run, or -1.
    int runOverRow(fixture::Question first, const QString& column, const QString& literal) {
        fixture::RunningProgram& program = sharedProgram();
        const QString table = QStringLiteral("q%1").arg(++m_row);
        const QString subject = QStringLiteral("предмет %1").arg(m_row);
        addSection(program.folder, subject, table, first);
        program.folder.exec(
            DbFile::Class,
            QStringLiteral("update %1 set \"%2\" = %3 where rowid = 1").arg(table, column, literal),
            kClass);
        const QStringList before = pupils(program.folder);
        const QString name = QStringLiteral("Ученик %1").arg(m_row);
        int total = -1;
        if (openTestRun(name, subject, 2)) {
            answerEveryQuestion();
            total = endTestRun();
        }
        [&] {
            QVERIFY(MainForm->isVisible());
            const QStringList after = pupils(program.folder);
            QCOMPARE(after.mid(0, before.size()), before);
            QCOMPARE(after.size(), before.size() + (total >= 0 ? 1 : 0));
            if (total >= 0)
                QCOMPARE(after.last(), name);
        }();
        return total;
    }

private slots:
    void initTestCase() {
        fixture::usePrivateConfig();
        // Hundreds of starts and runs open the encrypted files again and
        // again; each opening would derive its key for some 30 ms. The files
        // this process makes and opens stay encrypted and keyed, only with a
        // cheap derivation: a wrong key is refused all the same.
        sqlite3* db = nullptr;
        sqlite3_open(":memory:", &db);
        sqlite3_exec(db, "pragma cipher_default_kdf_iter = 2", nullptr, nullptr, nullptr);
        sqlite3_close(db);
    }
    void cleanup() {
        if (QTest::currentTestFailed())
            m_program.reset();
    }
    void cleanupTestCase() { m_program.reset(); }

    // Every database file missing, empty, of random bytes, under another
    // password or with tables of another layout: what start-up, a test run
    // and a tutor run with the dictionary show, and the records kept.
    void damagedDatabase_data() {
        QTest::addColumn<QString>("file");
        QTest::addColumn<QString>("damage");
        QTest::addColumn<QStringList>("messages"); // fragments, in order
        QTest::addColumn<QString>("run");          // how the test run ends
        QTest::addColumn<QString>("meaning");      // what the tutor run's look-up shows

        const QString refused = QStringLiteral("Програмата неможе да се стартира");
        const QString noTopics = QStringLiteral("Няма въведени теми за вашия клас.");
        const QString notDb = QStringLiteral("не е база данни на програмата или паролата му е "
                                             "грешна");
        const QString missing = QStringLiteral("не съществува");
        const QString problem = QStringLiteral("Има проблем в програмата! Моля, опитайте отново");
        const QString dictClosed = QStringLiteral("Речникът не може да се отвори");
        const auto noTable = [](const char* table) {
            return QStringLiteral("няма таблица „%1“").arg(QLatin1String(table));
        };
        const auto row = [](const char* file, const char* damage, const QStringList& messages,
                            const char* run, const QString& meaning) {
            QTest::addRow("%s %s", file + 6, damage)
                << QString::fromLatin1(file) << QString::fromLatin1(damage) << messages
                << QString::fromLatin1(run) << meaning;
        };
        const char* topics = "\\data\\topics.mdb";
        row(topics, "missing", {refused}, "none", {});
        row(topics, "zero-byte", {noTopics, noTable("topics")}, "none", {});
        row(topics, "random", {noTopics, notDb}, "none", {});
        row(topics, "wrong password", {noTopics, notDb}, "none", {});
        row(topics, "wrong schema", {noTopics, QStringLiteral("няма поле „object“")}, "none", {});
        // The registration and the record report the pupil file; the results
        // stay on screen to be copied.
        const char* students = "\\data\\students.mdb";
        row(students, "missing", {refused}, "none", {});
        row(students, "zero-byte", {noTable("student"), noTable("student")}, "not stored",
            kMeaning);
        row(students, "random", {notDb, notDb}, "not stored", kMeaning);
        row(students, "wrong password", {notDb, notDb}, "not stored", kMeaning);
        row(students, "wrong schema", {QStringLiteral("няма поле „class“"), QStringLiteral("поле")},
            "not stored", kMeaning);
        // Class 1 is only checked for; the section lives in class 5.
        const char* class1 = "\\data\\class1.mdb";
        row(class1, "missing", {refused}, "none", {});
        row(class1, "zero-byte", {}, "stored", kMeaning);
        row(class1, "random", {}, "stored", kMeaning);
        row(class1, "wrong password", {}, "stored", kMeaning);
        row(class1, "wrong schema", {}, "stored", kMeaning);
        // Each run that chooses the subject is told; nothing can start.
        const char* class5 = "\\data\\class5.mdb";
        row(class5, "missing", {missing, missing}, "none", {});
        row(class5, "zero-byte", {noTable("m5_drobi"), noTable("m5_drobi")}, "none", {});
        row(class5, "random", {notDb, notDb}, "none", {});
        row(class5, "wrong password", {notDb, notDb}, "none", {});
        row(class5, "wrong schema", {QStringLiteral("няма достатъчно въведени въпроси")}, "none",
            {});
        // The scratch file is made anew from its template for every run.
        const char* scratch = "\\data\\temp.mdb";
        row(scratch, "missing", {}, "stored", kMeaning);
        row(scratch, "zero-byte", {}, "stored", kMeaning);
        row(scratch, "random", {}, "stored", kMeaning);
        row(scratch, "wrong password", {}, "stored", kMeaning);
        row(scratch, "wrong schema", {}, "stored", kMeaning);
        // A broken template breaks every drawing: the program says so and ends.
        const char* ctemp = "\\data\\ctemp.mdb";
        row(ctemp, "missing", {refused}, "none", {});
        row(ctemp, "zero-byte", {problem}, "ended", {});
        row(ctemp, "random", {problem}, "ended", {});
        row(ctemp, "wrong password", {problem}, "ended", {});
        row(ctemp, "wrong schema", {problem}, "ended", {});
        // Only checked for, never opened.
        const char* thms = "\\data\\m_thms.mdb";
        row(thms, "missing", {refused}, "none", {});
        row(thms, "zero-byte", {}, "stored", kMeaning);
        row(thms, "random", {}, "stored", kMeaning);
        row(thms, "wrong password", {}, "stored", kMeaning);
        row(thms, "wrong schema", {}, "stored", kMeaning);
        // Start-up and every look-up report the dictionary; the tests go on.
        const char* dict = "\\dict\\dict.mdb";
        row(dict, "missing", {missing, refused}, "none", {});
        row(dict, "zero-byte", {noTable("dicts"), dictClosed}, "stored", {});
        row(dict, "random", {notDb, dictClosed}, "stored", {});
        row(dict, "wrong password", {notDb, dictClosed}, "stored", {});
        row(dict, "wrong schema", {QStringLiteral("нито една таблица с думи")}, "stored", {});
    }
    void damagedDatabase() {
        QFETCH(QString, file);
        QFETCH(QString, damage);
        QFETCH(QStringList, messages);
        QFETCH(QString, run);
        QFETCH(QString, meaning);
        m_program.reset();
        fixture::RunningProgram program;
        fixture::MessageLog log;
        fixture::FixedRandom random;
        copyFolder(preparedFolder(), program.folder.path());
        const QString path = program.folder.file(file);
        damageFile(path, file, damage);
        const QByteArray damaged = fileBytes(path);

        MainForm->Timer1Timer();
        SplashForm->Timer1Timer();
        QString ended = QStringLiteral("none");
        if (openTestRun(QStringLiteral("Нов Ученик"), kSubject, 2)) {
            answerEveryQuestion();
            QTest::mouseClick(TestForm->EndBtn, Qt::LeftButton);
            QVERIFY(ValForm->isVisible());
            QVERIFY(ValForm->gs1->text().endsWith(QStringLiteral(": 6")));
            const bool told = ValForm->findChild<QLabel*>(QStringLiteral("notStored"))->isVisible();
            ended = told ? QStringLiteral("not stored") : QStringLiteral("stored");
            QTest::mouseClick(ValForm->CloseBtn, Qt::LeftButton);
        } else if (!MainForm->isVisible() && !SplashForm->isVisible() &&
                   !log.texts().contains(QStringLiteral("Програмата неможе да се стартира,\r"
                                                        "поради липса на файлове"))) {
            ended = QStringLiteral("ended");
        }
        QString found;
        if (openTutorRun(kSubject, 2)) {
            found = lookUp(kWord);
            QTest::mouseClick(TestForm->EndBtn, Qt::LeftButton);
        }
        checkMessages(log, messages);
        QCOMPARE(ended, run);
        QCOMPARE(found, meaning);

        // A damaged pupil file is never written over; a sound one keeps the
        // earlier record and gains the run's when the run could be taken.
        if (file.contains(QLatin1String("students"))) {
            QCOMPARE(fileBytes(path), damaged);
        } else {
            QStringList expected{kEarlier};
            if (run == QLatin1String("stored"))
                expected.append(QStringLiteral("Нов Ученик"));
            QCOMPARE(pupils(program.folder), expected);
        }
        if (!file.contains(QLatin1String("class5")))
            QCOMPARE(program.folder.readTable(DbFile::Class, kTable, kClass).size(), 3);
    }
};

QTEST_MAIN(TestBadInput)
#include "tst_badinput.moc"
