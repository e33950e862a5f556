// The bad-input corpus: damaged database files, question rows, topic and
// pupil rows, pictures, dictionaries and settings, each row run against the
// real windows as far as its damage reaches (start-up and the installation
// check, a test run to the stored record, a tutor run with the full answer
// and the dictionary). A row states what the pupil must see, and every row
// checks that nothing stored is lost: the earlier pupils' records are still
// there and readable, a test run that could be taken has stored its own, and
// the damaged row itself is still in the bank as it was.
#include "app/globals.h"
#include "app/mainform.h"
#include "app/requiredfiles.h"
#include "app/splashform.h"
#include "media/picture.h"
#include "question/question.h"
#include "results/valform.h"
#include "session/eventlabel.h"
#include "session/picturebox.h"
#include "session/sessionrun.h"
#include "session/shuffle.h"
#include "session/testform.h"
#include "session/wrapbox.h"
#include "settings/settingsform.h"
#include "settings/spinfield.h"
#include "setup/objectform.h"
#include "setup/random.h"
#include "setup/regtestform.h"
#include "store/connection.h"
#include "store/datamodule.h"
#include "store/diskfaults.h"
#include "store/jetsql.h"
#include "store/multiline.h"
#include "store/paths.h"
#include "support/application.h"
#include "support/fixedrandom.h"
#include "support/settingsfile.h"
#include "support/widgets.h"
#include "tools/jpeg/jpegwrite.h"

#include <QBuffer>
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
#include <QScopeGuard>
#include <QStackedWidget>
#include <QTest>
#include <QTextCursor>
#include <QTextDocument>
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

// Totals of a run over a section with a damaged row worth 4 points and two
// sound ones worth 2 each, two questions asked: the damaged row asked, or
// left out.
constexpr int kAsked = 6;
constexpr int kLeftOut = 4;

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
    const QString all = QStringLiteral("seen:\n") + seen.join(QStringLiteral("\n---\n"));
    QVERIFY2(seen.size() == expected.size(), qPrintable(all));
    for (int i = 0; i < seen.size(); ++i) {
        QVERIFY2(seen[i].contains(expected[i]), qPrintable(all));
        checkReadable(seen[i]);
    }
}

QString withNul(const QString& before, const QString& after) {
    return before + QChar(0) + after;
}

void writeFile(const QString& path, const QByteArray& bytes) {
    QDir().mkpath(QFileInfo(path).path());
    QFile file(path);
    QVERIFY(file.open(QIODevice::WriteOnly | QIODevice::Truncate));
    file.write(bytes);
}

QByteArray fileBytes(const QString& path) {
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

QByteArray randomBytes(int size, quint32 seed) {
    QRandomGenerator random(seed);
    QByteArray bytes(size, Qt::Uninitialized);
    for (char& b : bytes)
        b = char(random.bounded(256));
    return bytes;
}

// --- Pictures, sound and damaged.

QImage plainPicture(int width, int height) {
    QImage picture(width, height, QImage::Format_RGB32);
    picture.fill(QColor(40, 120, 200));
    return picture;
}

QByteArray jpeg() {
    return encodeJpeg(plainPicture(64, 48), 90);
}

QByteArray png() {
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    plainPicture(64, 48).save(&buffer, "PNG");
    return bytes;
}

// A sound JPEG whose frame header claims width × height.
QByteArray jpegClaiming(int width, int height) {
    QByteArray bytes = jpeg();
    const qsizetype sof = bytes.indexOf(QByteArray("\xFF\xC0", 2));
    bytes[sof + 5] = char(height >> 8);
    bytes[sof + 6] = char(height & 0xFF);
    bytes[sof + 7] = char(width >> 8);
    bytes[sof + 8] = char(width & 0xFF);
    return bytes;
}

// A sound PNG whose header claims width × height (its checksum no longer fits).
QByteArray pngClaiming(quint32 width, quint32 height) {
    QByteArray bytes = png();
    for (int i = 0; i < 4; ++i) {
        bytes[16 + i] = char(width >> (24 - 8 * i));
        bytes[20 + i] = char(height >> (24 - 8 * i));
    }
    return bytes;
}

// A small picture for every place the main window loads one from.
void installPictures(const QString& folder) {
    const QByteArray bytes = jpeg();
    for (const char* name : {"wellcome", "test", "tutor", "inf", "qu", "settings", "exit"})
        writeFile(programPath(folder, QStringLiteral("\\images\\%1.jpg").arg(QLatin1String(name))),
                  bytes);
}

// Every file the installation check asks for; the help files empty.
void installRequiredFiles(const QString& folder) {
    for (const QString& relative : requiredFiles()) {
        const QString path = programPath(folder, relative);
        if (!QFileInfo::exists(path))
            writeFile(path, {});
    }
    installPictures(folder);
}

// --- Question rows.

fixture::Question fourAnswers(const QString& quest, int scores) {
    return fixture::fourAnswer(quest,
                               {QStringLiteral("едно"), QStringLiteral("две"),
                                QStringLiteral("три"), QStringLiteral("четири")},
                               1, scores);
}

const QStringList kSoundQuests = {QStringLiteral("Колко е 1/2 от 4?"),
                                  QStringLiteral("Колко е 1/4 от 8?")};

// The chance of a pupil who draws the damaged row whenever it can be drawn:
// every pick of the drawing over its candidate rows takes the row that is
// not one of the section's two sound questions; every other draw gives 0.
class DamagedFirst : public RandomSource {
public:
    DamagedFirst() { setRandomSource(this); }
    ~DamagedFirst() override { setRandomSource(nullptr); }
    DamagedFirst(const DamagedFirst&) = delete;
    DamagedFirst& operator=(const DamagedFirst&) = delete;

    int below(int n) override {
        Query& rows = DataModule2->Themes;
        if (!rows.isOpen() || !rows.sqlText().contains(QLatin1String("nt=")) ||
            rows.recordCount() != n)
            return 0;
        const int at = rows.recNo();
        int damaged = 0;
        for (int r = 1; r <= n && damaged == 0; ++r) {
            rows.moveTo(r);
            if (!kSoundQuests.contains(rows.text(QStringLiteral("Quest"))))
                damaged = r - 1;
        }
        rows.moveTo(at);
        return damaged;
    }
};

// The sound rows the damaged ones are made from, each worth 4 points.
fixture::Question damagedFour() {
    return fourAnswers(QStringLiteral("Коя дроб е 0,5?"), 4);
}
fixture::Question damagedPairs() {
    return fixture::termMatching({"1/2", "1/4", "3/4"}, {"0,5", "0,25", "0,75"}, {1, 1, 2});
}
fixture::Question damagedGaps() {
    // "Дробта ..... втора е ..... ." with its gaps at 6 and 20.
    return fixture::gapFill(QStringLiteral("Дробта[една]втора е[половинка]."), {2, 2});
}

// A section of class 5: `first`, then two four-answer questions worth 2
// points each, so that two questions can be asked whatever `first` is.
void addSection(fixture::ProgramFolder& folder, const QString& subject, const QString& table,
                const fixture::Question& first) {
    folder.addTopic(kClass, subject, kSection, table);
    folder.exec(DbFile::Class, QStringLiteral("begin"), kClass);
    folder.addQuestion(kClass, table, first);
    for (const QString& quest : kSoundQuests)
        folder.addQuestion(kClass, table, fourAnswers(quest, 2));
    folder.exec(DbFile::Class, QStringLiteral("commit"), kClass);
}

void bindValue(sqlite3_stmt* stmt, int i, const QVariant& v) {
    if (!v.isValid() || v.isNull()) {
        sqlite3_bind_null(stmt, i);
    } else if (v.typeId() == QMetaType::QByteArray) {
        const QByteArray b = v.toByteArray();
        sqlite3_bind_blob(stmt, i, b.constData(), int(b.size()), SQLITE_TRANSIENT);
    } else if (v.typeId() == QMetaType::Double) {
        sqlite3_bind_double(stmt, i, v.toDouble());
    } else if (v.typeId() == QMetaType::Int || v.typeId() == QMetaType::LongLong) {
        sqlite3_bind_int64(stmt, i, v.toLongLong());
    } else {
        const QByteArray t = v.toString().toUtf8();
        sqlite3_bind_text(stmt, i, t.constData(), int(t.size()), SQLITE_TRANSIENT);
    }
}

// Stores the values, as they are typed, into a row of a table: an invalid
// QVariant is NULL, a QByteArray a blob, a double a real, a QString text.
void setColumns(const fixture::ProgramFolder& folder, DbFile db, unsigned classNo,
                const QString& table, qint64 rowid, const QVariantMap& values) {
    const auto c = folder.connect(db, classNo);
    for (auto it = values.cbegin(); it != values.cend(); ++it) {
        const QByteArray sql = QStringLiteral("update %1 set %2 = ? where rowid = %3")
                                   .arg(sqlIdent(table), sqlIdent(it.key()))
                                   .arg(rowid)
                                   .toUtf8();
        sqlite3_stmt* stmt = nullptr;
        QCOMPARE(sqlite3_prepare_v2(c->handle(), sql.constData(), -1, &stmt, nullptr), SQLITE_OK);
        bindValue(stmt, 1, it.value());
        const int rc = sqlite3_step(stmt);
        sqlite3_finalize(stmt);
        QCOMPARE(rc, SQLITE_DONE);
    }
}

// The pupil records as a new connection reads them: names in order.
QStringList pupils(const fixture::ProgramFolder& folder) {
    QStringList names;
    for (const fixture::Row& r : folder.readTable(DbFile::Students, QStringLiteral("student")))
        names.append(r.value(QStringLiteral("name")).toString());
    return names;
}

// --- The way through the windows. Each step says whether the pupil got
// there; one that cannot go on leaves the pupil at the main window.

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

// The meaning row on screen, not in `taken`, that belongs to term row `t`
// of the question on screen, or 0.
int rightMeaning(int t, const QList<int>& taken) {
    Query& pairs = DataModule2->Temp1;
    const SessionRun& run = TestForm->run();
    const QString term = run.termText(t);
    if (!pairs.isOpen() || term.isEmpty())
        return 0;
    for (int m = 1; m <= 10; ++m)
        if (TestForm->meaningBox(m)->isVisible() && !taken.contains(m) &&
            pairs.locate({QStringLiteral("id"), QStringLiteral("ttrue"), QStringLiteral("trtrue")},
                         {run.questionId(), term, run.meaningText(m)}))
            return m;
    return 0;
}

// A pupil who knows every answer: the right box of four, every term joined
// to its meaning, every gap given its word in turn.
void answerShownQuestion() {
    switch (TestForm->Pages1->currentIndex()) {
    case TTestForm::FourAnswers: {
        const QString right = DataModule2->Temp.text(QStringLiteral("TrueAns"));
        const int box = right.size() == 1 ? answerBox(right.at(0)) : 0;
        clickLabel(TestForm->answerLabel(box > 0 ? box : 1));
        break;
    }
    case TTestForm::Terms: {
        QList<int> taken;
        for (int t = 1; t <= 10; ++t) {
            const int m = rightMeaning(t, taken);
            if (!TestForm->termBox(t)->isVisible() || m == 0)
                continue;
            clickLabel(TestForm->termLabel(t));
            clickLabel(TestForm->meaningLabel(m));
            taken.append(m);
        }
        break;
    }
    case TTestForm::GapText: {
        // Gap i is the i-th open gap on the page, after those that would
        // take no word.
        QListWidget* list = TestForm->Words1;
        int refused = 0;
        for (const QString& word : splitLines(DataModule2->Temp.text(QStringLiteral("words")))) {
            const QList<QListWidgetItem*> items = list->findItems(word, Qt::MatchExactly);
            const QString before = TestForm->Text1->toPlainText();
            qsizetype gap = -1;
            for (int k = 0; k <= refused; ++k)
                gap = before.indexOf(QStringLiteral(" ..... "), gap + 1);
            if (items.isEmpty() || gap < 0)
                break;
            QTest::mouseClick(list->viewport(), Qt::LeftButton, {},
                              list->visualItemRect(items[0]).center());
            QTextCursor at(TestForm->Text1->document());
            at.setPosition(int(gap) + 3);
            QTest::mouseClick(TestForm->Text1->viewport(), Qt::LeftButton, {},
                              TestForm->Text1->cursorRect(at).center());
            if (TestForm->Text1->toPlainText() == before)
                ++refused;
        }
        break;
    }
    default:
        break;
    }
}

// A label shows a stored text as it is: the text itself, never read as markup.
bool showsAsStored(const QLabel* label, const QString& stored) {
    return label->text() == stored &&
           (label->textFormat() == Qt::PlainText ||
            (label->textFormat() == Qt::AutoText && !Qt::mightBeRichText(stored)));
}

// What the pupil saw of the questions of a run.
struct Seen {
    QStringList conditions, quests, fullAnswers;
    bool picture = false;
};

// Every question of the run in turn: each on the page of its own kind,
// answered as a pupil would; in a tutor run its full answer looked at too.
Seen walkQuestions(bool tutor) {
    Seen seen;
    const int count = DataModule2->Temp.recordCount();
    for (int q = 1; q <= count; ++q) {
        const question::Kind kind =
            question::kindOf(DataModule2->Temp.integer(QStringLiteral("typequest"))).value();
        [&] { QCOMPARE(TestForm->Pages1->currentIndex(), int(TTestForm::pageOf(kind))); }();
        seen.conditions.append(TestForm->con->text());
        seen.quests.append(TestForm->Quest->text());
        seen.picture = seen.picture || TestForm->DBImage2->hasPicture();
        [&] {
            QVERIFY(
                showsAsStored(TestForm->con, DataModule2->Temp.text(QStringLiteral("Condition"))));
            if (kind == question::Kind::Choice) {
                QVERIFY(showsAsStored(TestForm->Quest,
                                      DataModule2->Temp.text(QStringLiteral("Quest"))));
                for (int k = 1; k <= 4; ++k)
                    QVERIFY(showsAsStored(
                        TestForm->answerLabel(k),
                        DataModule2->Temp.text(QStringLiteral("Ans") + QChar(u'A' + k - 1))));
            }
            if (kind == question::Kind::Matching) {
                for (int i = 1; i <= 10; ++i) {
                    QVERIFY(showsAsStored(TestForm->termLabel(i), TestForm->run().termText(i)));
                    QVERIFY(
                        showsAsStored(TestForm->meaningLabel(i), TestForm->run().meaningText(i)));
                }
            }
        }();
        if (tutor) {
            QTest::mouseClick(TestForm->fal1, Qt::LeftButton);
            seen.fullAnswers.append(TestForm->FullAns->text());
            [&] {
                QVERIFY(showsAsStored(TestForm->FullAns,
                                      DataModule2->Temp.text(QStringLiteral("fullans"))));
            }();
            QTest::mouseClick(TestForm->Label26, Qt::LeftButton);
        }
        answerShownQuestion();
        QTest::mouseClick(TestForm->NextBtn, Qt::LeftButton);
    }
    return seen;
}

// What the results window showed at the end of a test run.
struct Results {
    int total = -1; // -1: no results came up
    int received = -1;
    bool notStored = false;
    // The pupil, subject and section shown as they are, never as markup.
    bool plain = false;
};

// "Приключих" of a test run.
Results endTestRun() {
    Results r;
    QTest::mouseClick(TestForm->EndBtn, Qt::LeftButton);
    if (!ValForm->isVisible())
        return r;
    r.notStored = ValForm->findChild<QLabel*>(QStringLiteral("notStored"))->isVisible();
    const auto number = [](const QLabel* label) {
        bool ok = false;
        const int n = label->text().section(QLatin1Char(' '), -1).toInt(&ok);
        return ok ? n : -2;
    };
    r.total = number(ValForm->gs1);
    r.received = number(ValForm->sc1);
    r.plain = showsAsStored(ValForm->name1, ValForm->name1->text()) &&
              showsAsStored(ValForm->object1, ValForm->object1->text()) &&
              showsAsStored(ValForm->theme1, ValForm->theme1->text());
    QTest::mouseClick(ValForm->CloseBtn, Qt::LeftButton);
    return r;
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
    if (damage == QLatin1String("missing"))
        QVERIFY(QFile::remove(path));
    else if (damage == QLatin1String("zero-byte"))
        writeFile(path, {});
    else if (damage == QLatin1String("random"))
        writeFile(path, randomBytes(8192, 13));
    else if (damage == QLatin1String("wrong password"))
        makeDatabase(path, QStringLiteral("0123456789abcdefghij"), otherSchema(relative));
    else if (damage == QLatin1String("a folder"))
        QVERIFY(QFile::remove(path) && QDir().mkpath(path));
    else if (damage == QLatin1String("wrong schema"))
        makeDatabase(path, ownPassword(relative), otherSchema(relative));
    else
        QFAIL(qPrintable(QStringLiteral("unknown damage ") + damage));
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

void addEarlierPupil(fixture::ProgramFolder& folder) {
    fixture::Pupil earlier;
    earlier.name = kEarlier;
    earlier.classNo = int(kClass);
    folder.addPupil(earlier);
}

// The program folder every fresh start copies: the section, an earlier
// pupil, a dictionary, the help files and pictures.
const QString& preparedFolder() {
    static std::unique_ptr<fixture::ProgramFolder> folder;
    if (!folder) {
        folder = std::make_unique<fixture::ProgramFolder>();
        installRequiredFiles(folder->path());
        addSection(*folder, kSubject, kTable, damagedFour());
        addEarlierPupil(*folder);
        folder->addDictionary(QStringLiteral("български"), QStringLiteral("bg"),
                              {{kWord, kMeaning}});
    }
    return folder->path();
}

// The columns of the tables of question columns, and a row of them.
void questionColumns() {
    QTest::addColumn<QVariantMap>("set"); // column → value stored in the damaged row
    QTest::addColumn<QString>("notice");  // part of the drawing's notice; empty: no message
    QTest::addColumn<int>("total");       // total points the results window shows
    QTest::addColumn<int>("received");    // points of a pupil who knows every answer
}
// `received` below the total: points the row's design keeps from the pupil
// (pairs that are never shown, items worth less than the question).
void questionRow(const char* name, const QVariantMap& set, const QString& notice, int total,
                 int received = -1) {
    QTest::newRow(name) << set << notice << total << (received < 0 ? total : received);
}
QString leftOut(const QString& why) {
    return QStringLiteral(": ") + why + QLatin1Char('\r');
}
QString pointsFault(const QString& shown) {
    return QStringLiteral("(„%1“) не са цяло число от 0 до 1000").arg(shown);
}

// --- Settings, as the settings file holds them.

// The first-run values of the settings file, as the file writes them.
const QList<QPair<QString, QString>>& soundSettings() {
    static const QList<QPair<QString, QString>> values = {
        {"LANSettings/results", "1"},
        {"LANSettings/TS", "0"},
        {"LANSettings/Test/BackBtn", "1"},
        {"LANSettings/Test/WalkQuest", "1"},
        {"LANSettings/Test/Timer", "1"},
        {"LANSettings/Test/hour", "0"},
        {"LANSettings/Test/min", "40"},
        {"LANSettings/Test/sec", "0"},
        {"LANSettings/Test/UnlimiteCor", "0"},
        {"LANSettings/Test/NumCor", "2"},
        {"LocalSettings/Help", "0"},
        {"LocalSettings/balloons", "0"},
        {"LocalSettings/Test/BackBtn", "1"},
        {"LocalSettings/Test/WalkQuest", "1"},
        {"LocalSettings/Test/Timer", "1"},
        {"LocalSettings/Test/hour", "0"},
        {"LocalSettings/Test/min", "40"},
        {"LocalSettings/Test/sec", "0"},
        {"LocalSettings/Test/UnlimiteCor", "0"},
        {"LocalSettings/Test/NumCor", "2"},
        {"LocalSettings/Test/NumQuest", "10"},
        {"LocalSettings/Tutor/BackBtn", "1"},
        {"LocalSettings/Tutor/WalkQuest", "1"},
        {"LocalSettings/Tutor/FullAns", "1"},
        {"LocalSettings/Tutor/NumQuest", "10"},
        {"LocalSettings/Tutor/Dict", "0"},
        {"LocalSettings/Tutor/DictLang", ""},
    };
    return values;
}

QMap<QString, QString> soundSettingValues() {
    QMap<QString, QString> values;
    for (const auto& [key, value] : soundSettings())
        values.insert(key, value);
    return values;
}

} // namespace

class TestBadInput : public QObject {
    Q_OBJECT

    // One program per table where the rows can share it, and one log of the
    // program's messages for the whole run of the tests.
    std::unique_ptr<fixture::RunningProgram> m_program;
    QString m_programFor;
    std::unique_ptr<fixture::MessageLog> m_log;
    int m_row = 0;

    fixture::RunningProgram& sharedProgram() {
        if (!m_program || m_programFor != QLatin1String(QTest::currentTestFunction()) ||
            !MainForm->isVisible()) {
            m_program.reset();
            m_program = std::make_unique<fixture::RunningProgram>(
                fixture::ProgramOptions{.settings = soundSettingValues()});
            m_programFor = QLatin1String(QTest::currentTestFunction());
            copyFolder(preparedFolder(), m_program->folder.path());
            MainForm->Timer1Timer();
            SplashForm->Timer1Timer();
            m_log->clear();
        }
        return *m_program;
    }

    // A fresh start over a copy of the prepared folder, `damage` done to it
    // before the program opens anything.
    fixture::RunningProgram& freshProgram(const std::function<void(const QString&)>& damage) {
        m_program.reset();
        m_program = std::make_unique<fixture::RunningProgram>(
            fixture::ProgramOptions{.settings = soundSettingValues()});
        m_programFor.clear();
        copyFolder(preparedFolder(), m_program->folder.path());
        if (damage)
            damage(m_program->folder.path());
        MainForm->Timer1Timer();
        SplashForm->Timer1Timer();
        return *m_program;
    }

    // The damaged row (the `set` of the data row put into `base`) in a
    // section of its own; a test run over it (or a tutor run), the notice
    // and total the row expects, and nothing stored lost.
    Seen runOverRow(const fixture::Question& base, bool tutor = false) {
        QFETCH(QVariantMap, set);
        QFETCH(QString, notice);
        QFETCH(int, total);
        QFETCH(int, received);
        fixture::RunningProgram& program = sharedProgram();
        const QString table = QStringLiteral("q%1").arg(++m_row);
        const QString subject = QStringLiteral("предмет %1").arg(m_row);
        addSection(program.folder, subject, table, base);
        setColumns(program.folder, DbFile::Class, kClass, table, 1, set);
        const auto damagedRow = [&] {
            fixture::Row row =
                program.folder
                    .rows(DbFile::Class,
                          QStringLiteral("select * from %1 where rowid = 1").arg(sqlIdent(table)),
                          kClass)
                    .value(0);
            row.remove(QStringLiteral("num"));
            row.remove(QStringLiteral("nt"));
            return row;
        };
        const fixture::Row stored = damagedRow();
        const QStringList before = pupils(program.folder);
        const QString name = QStringLiteral("Ученик %1").arg(m_row);

        DamagedFirst random;
        Seen seen;
        Results results;
        if (tutor ? openTutorRun(subject, 2) : openTestRun(name, subject, 2)) {
            seen = walkQuestions(tutor);
            if (tutor)
                QTest::mouseClick(TestForm->EndBtn, Qt::LeftButton);
            else
                results = endTestRun();
        }
        checkMessages(*m_log, notice.isEmpty() ? QStringList() : QStringList{notice});
        if (!tutor)
            [&] {
                QCOMPARE(results.total, total);
                QCOMPARE(results.received, received);
            }();
        const int shown = results.total;
        [&] {
            QVERIFY(MainForm->isVisible());
            const QStringList after = pupils(program.folder);
            QCOMPARE(after.mid(0, before.size()), before);
            QCOMPARE(after.size(), before.size() + (shown >= 0 ? 1 : 0));
            if (shown >= 0)
                QCOMPARE(after.last(), name);
            QCOMPARE(damagedRow(), stored);
        }();
        return seen;
    }

private slots:
    void initTestCase() {
        // Every row posts and syncs its records; in memory the syncs cost
        // nothing, on a busy disk they would cost most of the run.
        if (QFileInfo(QStringLiteral("/dev/shm")).isWritable())
            qputenv("TMPDIR", "/dev/shm");
        fixture::usePrivateConfig();
        // Hundreds of starts and runs open the encrypted files again and
        // again; each opening would derive its key for some 30 ms. The files
        // this process makes and opens stay encrypted and keyed, only with a
        // cheap derivation: a wrong key is refused all the same.
        sqlite3* db = nullptr;
        sqlite3_open(":memory:", &db);
        sqlite3_exec(db, "pragma cipher_default_kdf_iter = 2", nullptr, nullptr, nullptr);
        sqlite3_close(db);
        m_log = std::make_unique<fixture::MessageLog>();
    }
    void init() {
        if (m_log)
            m_log->clear();
    }
    void cleanup() {
        if (QTest::currentTestFailed())
            m_program.reset();
    }
    void cleanupTestCase() {
        m_program.reset();
        m_log.reset();
    }

    // Every database file missing, empty, of random bytes, under another
    // password, with tables of another layout or a folder in its place: what
    // start-up, a test run and a tutor run with the dictionary show, and the
    // records kept.
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
        const QString folder = QStringLiteral("има папка");
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
        row(topics, "a folder", {refused}, "none", {});
        // The registration and the record report the pupil file; the results
        // stay on screen to be copied.
        const char* students = "\\data\\students.mdb";
        row(students, "missing", {refused}, "none", {});
        row(students, "zero-byte", {noTable("student"), noTable("student")}, "not stored",
            kMeaning);
        row(students, "random", {notDb, notDb}, "not stored", kMeaning);
        row(students, "wrong password", {notDb, notDb}, "not stored", kMeaning);
        row(students, "wrong schema",
            {QStringLiteral("няма поле „class“"), QStringLiteral("няма поле „NumOfClass“")},
            "not stored", kMeaning);
        row(students, "a folder", {refused}, "none", {});
        // Class 1 is only checked for; the section lives in class 5.
        const char* class1 = "\\data\\class1.mdb";
        row(class1, "missing", {refused}, "none", {});
        row(class1, "zero-byte", {}, "stored", kMeaning);
        row(class1, "random", {}, "stored", kMeaning);
        row(class1, "wrong password", {}, "stored", kMeaning);
        row(class1, "wrong schema", {}, "stored", kMeaning);
        row(class1, "a folder", {refused}, "none", {});
        // Each run that chooses the subject is told; nothing can start.
        const char* class5 = "\\data\\class5.mdb";
        row(class5, "missing", {missing, missing}, "none", {});
        row(class5, "zero-byte", {noTable("m5_drobi"), noTable("m5_drobi")}, "none", {});
        row(class5, "random", {notDb, notDb}, "none", {});
        row(class5, "wrong password", {notDb, notDb}, "none", {});
        row(class5, "wrong schema", {QStringLiteral("няма достатъчно въведени въпроси")}, "none",
            {});
        row(class5, "a folder", {folder, folder}, "none", {});
        // The scratch file is made anew from its template for every run; a
        // folder in its place cannot be, and every drawing fails.
        const char* scratch = "\\data\\temp.mdb";
        row(scratch, "missing", {}, "stored", kMeaning);
        row(scratch, "zero-byte", {}, "stored", kMeaning);
        row(scratch, "random", {}, "stored", kMeaning);
        row(scratch, "wrong password", {}, "stored", kMeaning);
        row(scratch, "wrong schema", {}, "stored", kMeaning);
        row(scratch, "a folder", {problem}, "ended", {});
        // A broken template breaks every drawing: the program says so and ends.
        const char* ctemp = "\\data\\ctemp.mdb";
        row(ctemp, "missing", {refused}, "none", {});
        row(ctemp, "zero-byte", {problem}, "ended", {});
        row(ctemp, "random", {problem}, "ended", {});
        row(ctemp, "wrong password", {problem}, "ended", {});
        row(ctemp, "wrong schema", {problem}, "ended", {});
        row(ctemp, "a folder", {refused}, "none", {});
        // Only checked for, never opened.
        const char* thms = "\\data\\m_thms.mdb";
        row(thms, "missing", {refused}, "none", {});
        row(thms, "zero-byte", {}, "stored", kMeaning);
        row(thms, "random", {}, "stored", kMeaning);
        row(thms, "wrong password", {}, "stored", kMeaning);
        row(thms, "wrong schema", {}, "stored", kMeaning);
        row(thms, "a folder", {refused}, "none", {});
        // Start-up and every look-up report the dictionary; the tests go on.
        const char* dict = "\\dict\\dict.mdb";
        row(dict, "missing", {missing, refused}, "none", {});
        row(dict, "zero-byte", {noTable("dicts"), dictClosed}, "stored", {});
        row(dict, "random", {notDb, dictClosed}, "stored", {});
        row(dict, "wrong password", {notDb, dictClosed}, "stored", {});
        row(dict, "wrong schema", {QStringLiteral("нито една таблица с думи")}, "stored", {});
        row(dict, "a folder", {folder, refused}, "none", {});
    }
    void damagedDatabase() {
        QFETCH(QString, file);
        QFETCH(QString, damage);
        QFETCH(QStringList, messages);
        QFETCH(QString, run);
        QFETCH(QString, meaning);
        fixture::FixedRandom random;
        QByteArray damaged;
        fixture::RunningProgram& program = freshProgram([&](const QString& folder) {
            damageFile(programPath(folder, file), file, damage);
            damaged = fileBytes(programPath(folder, file));
        });
        const QString path = program.folder.file(file);

        QString ended = QStringLiteral("none");
        if (openTestRun(QStringLiteral("Нов Ученик"), kSubject, 2)) {
            walkQuestions(false);
            const Results results = endTestRun();
            QCOMPARE(results.total, kAsked);
            QCOMPARE(results.received, kAsked);
            ended = results.notStored ? QStringLiteral("not stored") : QStringLiteral("stored");
        } else if (!MainForm->isVisible() &&
                   m_log->texts().filter(QStringLiteral("Програмата неможе")).isEmpty()) {
            ended = QStringLiteral("ended");
        }
        QString found;
        if (openTutorRun(kSubject, 2)) {
            found = lookUp(kWord);
            QTest::mouseClick(TestForm->EndBtn, Qt::LeftButton);
        }
        checkMessages(*m_log, messages);
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

    // Scores: only a whole number from 0 to 1000 is asked; any other value
    // leaves the row out, named in a notice, and the run goes on.
    void points_data() {
        questionColumns();
        const auto row = [](const char* name, const QVariant& value, const QString& shown,
                            int total) {
            questionRow(name, {{QStringLiteral("Scores"), value}},
                        shown.isNull()
                            ? QString()
                            : leftOut(QStringLiteral("точките на въпроса ") + pointsFault(shown)),
                        total);
        };
        const QString asked;
        row("text", QStringLiteral("abc"), QStringLiteral("abc"), kLeftOut);
        row("empty text", QStringLiteral(""), QStringLiteral(""), kLeftOut);
        row("NULL", QVariant(), QStringLiteral(""), kLeftOut);
        row("negative", -1, QStringLiteral("-1"), kLeftOut);
        row("one past the bound", 1001, QStringLiteral("1001"), kLeftOut);
        row("the bound", 1000, asked, 1002);
        row("zero", 0, asked, 2);
        row("32-bit maximum", 2147483647LL, QStringLiteral("2147483647"), kLeftOut);
        row("past 32 bits", 2147483648LL, QStringLiteral("2147483648"), kLeftOut);
        row("past 32 bits, cut to 1215752191", 99999999999LL, QStringLiteral("99999999999"),
            kLeftOut);
        row("2^32, cut to 0", 4294967296LL, QStringLiteral("4294967296"), kLeftOut);
        row("below 32 bits", -2147483649LL, QStringLiteral("-2147483649"), kLeftOut);
        row("huge real", 1e300, QStringLiteral("1e+300"), kLeftOut);
        row("fraction", 1.5, QStringLiteral("1.5"), kLeftOut);
        row("whole real", 7.0, asked, 9);
        row("digits then letters", QStringLiteral("5abc"), QStringLiteral("5abc"), kLeftOut);
        row("blanks around", QStringLiteral(" 7 "), asked, 9);
        row("line break after", QStringLiteral("7\r\n"), asked, 9);
        row("hexadecimal", QStringLiteral("0x10"), QStringLiteral("0x10"), kLeftOut);
        row("Arabic-Indic digit", QStringLiteral("٣"), QStringLiteral("٣"), kLeftOut);
        row("blob of a digit", QByteArray("7"), asked, 9);
        row("blob of bytes", QByteArray("\x01\xFF", 2), QStringLiteral("\x01\uFFFD"), kLeftOut);
    }
    void points() { runOverRow(damagedFour()); }

    // typequest: a row of an unknown kind, or without the content of its
    // kind, is never shown, least of all on the page of another question.
    void kinds_data() {
        questionColumns();
        QTest::addColumn<bool>("everyContent"); // the row carries the content of every kind
        const auto unknown = [](const QString& shown) {
            return leftOut(QStringLiteral("видът на въпроса („%1“) не е 0, 1 или 2").arg(shown));
        };
        const auto row = [](const char* name, const QVariant& value, const QString& notice,
                            int total, bool every) {
            QTest::newRow(name) << QVariantMap{{QStringLiteral("typequest"), value}} << notice
                                << total << total << every;
        };
        row("3", 3, unknown("3"), kLeftOut, true);
        row("-1", -1, unknown("-1"), kLeftOut, true);
        row("255", 255, unknown("255"), kLeftOut, true);
        row("past 32 bits", 4294967296LL, unknown("4294967296"), kLeftOut, true);
        row("text", QStringLiteral("abc"), unknown("abc"), kLeftOut, true);
        row("empty text", QStringLiteral(""), unknown(""), kLeftOut, true);
        row("NULL", QVariant(), unknown(""), kLeftOut, true);
        row("fraction", 1.5, unknown("1.5"), kLeftOut, true);
        row("whole real 2", 2.0, {}, kAsked, true);
        row("0 as text", QStringLiteral("0"), {}, kAsked, true);
        row("1 with blanks", QStringLiteral(" 1 "), {}, kAsked, true);
        row("2 with a line break", QStringLiteral("2\r\n"), {}, kAsked, true);
        row("1 with four answers only", 1,
            leftOut(QStringLiteral("въпросът няма понятия и значения")), kLeftOut, false);
        row("2 with four answers only", 2,
            leftOut(QStringLiteral("въпросът няма текст и думи за попълване")), kLeftOut, false);
    }
    void kinds() {
        QFETCH(bool, everyContent);
        fixture::Question base = damagedFour();
        if (everyContent) {
            const fixture::Question pairs = damagedPairs();
            const fixture::Question gaps = damagedGaps();
            base.terms = pairs.terms;
            base.trans = pairs.trans;
            // Three pairs and two gaps, each kind worth the question's 4.
            base.ttscores = QStringList{"2", "2", "0"};
            base.textw = gaps.textw;
            base.words = gaps.words;
            base.start = gaps.start;
            base.leng = gaps.leng;
        }
        runOverRow(base);
    }

    // TrueAns: only А, Б, В or Г names the right one of four answers.
    void rightAnswer_data() {
        questionColumns();
        const auto row = [](const char* name, const QVariant& value, const QString& shown) {
            questionRow(name, {{QStringLiteral("TrueAns"), value}},
                        shown.isNull() ? QString()
                                       : leftOut(QStringLiteral("верният отговор („%1“) не е А, "
                                                                "Б, В или Г")
                                                     .arg(shown)),
                        shown.isNull() ? kAsked : kLeftOut);
        };
        row("Г", QStringLiteral("Г"), {});
        row("А", QStringLiteral("А"), {});
        row("Latin A", QStringLiteral("A"), QStringLiteral("A"));
        row("small а", QStringLiteral("а"), QStringLiteral("а"));
        row("Д", QStringLiteral("Д"), QStringLiteral("Д"));
        row("empty", QStringLiteral(""), QStringLiteral(""));
        row("NULL", QVariant(), QStringLiteral(""));
        row("two letters", QStringLiteral("АБ"), QStringLiteral("АБ"));
        row("blank before", QStringLiteral(" А"), QStringLiteral(" А"));
        row("digit", QStringLiteral("1"), QStringLiteral("1"));
        row("number", 1, QStringLiteral("1"));
        row("NUL", withNul({}, {}), withNul({}, {}));
        row("full-width A", QStringLiteral("Ａ"), QStringLiteral("Ａ"));
        row("Б with a combining accent", QStringLiteral("Б\u0301"), QStringLiteral("Б\u0301"));
    }
    void rightAnswer() { runOverRow(damagedFour()); }

    // AnsA … AnsD: a row without all four answers is left out; any text of
    // an answer is shown as it is stored.
    void answers_data() {
        questionColumns();
        const QString noFour = leftOut(QStringLiteral("въпросът няма четири отговора"));
        const auto row = [](const char* name, const char* column, const QVariant& value,
                            const QString& notice) {
            questionRow(name, {{QLatin1String(column), value}}, notice,
                        notice.isEmpty() ? kAsked : kLeftOut);
        };
        row("AnsA empty", "AnsA", QStringLiteral(""), noFour);
        row("AnsB NULL", "AnsB", QVariant(), noFour);
        row("AnsC empty", "AnsC", QStringLiteral(""), noFour);
        row("AnsD NULL", "AnsD", QVariant(), noFour);
        row("AnsA a blank", "AnsA", QStringLiteral(" "), {});
        row("AnsB huge", "AnsB", QStringLiteral("дълъг отговор ").repeated(4000), {});
        row("AnsC one huge word", "AnsC", QStringLiteral("я").repeated(20000), {});
        row("AnsD control characters", "AnsD", QStringLiteral("\x01\x07\b\x1b[31mчервено"), {});
        row("AnsA right-to-left marks", "AnsA", QStringLiteral("\u202Eдве\u202C\u200F"), {});
        row("AnsB NUL inside", "AnsB", withNul(QStringLiteral("две"), QStringLiteral("три")), {});
        row("AnsC markup", "AnsC", QStringLiteral("<b>три</b>"), {});
        row("AnsD an entity", "AnsD", QStringLiteral("&lt;четири&gt;"), {});
        row("AnsA a number", "AnsA", 42, {});
        row("AnsB many lines", "AnsB", QStringLiteral("ред\r\n").repeated(200), {});
        row("all four alike", "AnsC", QStringLiteral("две"), {});
    }
    void answers() { runOverRow(damagedFour()); }

    // Terms, Trans, TTScores: a matching question without terms or meanings,
    // or with a pair whose points are missing or not 0 … 1000, is left out;
    // odd line endings and counts are read as the bank means them.
    void pairs_data() {
        questionColumns();
        const QString noPairs = leftOut(QStringLiteral("въпросът няма понятия и значения"));
        const auto lines = [](const QStringList& l) { return joinLines(l); };
        const auto row = [](const char* name, const QVariantMap& set, const QString& notice,
                            int received = -1) {
            questionRow(name, set, notice, notice.isEmpty() ? kAsked : kLeftOut, received);
        };
        const QString terms = QStringLiteral("Terms");
        const QString trans = QStringLiteral("Trans");
        const QString points = QStringLiteral("TTScores");
        row("Terms empty", {{terms, QStringLiteral("")}}, noPairs);
        row("Terms NULL", {{terms, QVariant()}}, noPairs);
        row("Trans empty", {{trans, QStringLiteral("")}}, noPairs);
        row("Trans NULL", {{trans, QVariant()}}, noPairs);
        row("first term empty", {{terms, lines({"", "1/4", "3/4"})}}, noPairs);
        row("TTScores empty", {{points, QStringLiteral("")}},
            leftOut(QStringLiteral("двойка 1 няма точки")));
        row("TTScores a line short", {{points, lines({"1", "1"})}},
            leftOut(QStringLiteral("двойка 3 няма точки")));
        row("TTScores a word", {{points, lines({"1", "едно", "2"})}},
            leftOut(QStringLiteral("точките на двойка 2 ") + pointsFault(QStringLiteral("едно"))));
        row("TTScores negative", {{points, lines({"1", "-1", "2"})}},
            leftOut(QStringLiteral("точките на двойка 2 ") + pointsFault(QStringLiteral("-1"))));
        row("TTScores past the bound", {{points, lines({"1", "1", "1001"})}},
            leftOut(QStringLiteral("точките на двойка 3 ") + pointsFault(QStringLiteral("1001"))));
        row("TTScores past 32 bits", {{points, lines({"99999999999", "1", "2"})}},
            leftOut(QStringLiteral("точките на двойка 1 ") +
                    pointsFault(QStringLiteral("99999999999"))));
        row("TTScores a line more", {{points, lines({"1", "1", "2", "7"})}}, {});
        row("TTScores with blanks", {{points, QStringLiteral(" 1 \r\n 1\r\n2 ")}}, {});
        // The grade is made from the question's points, the score from the
        // pairs': pairs worth less keep the grade below 6.
        row("TTScores all zero", {{points, lines({"0", "0", "0"})}}, {}, 2);
        // Ten rows on screen: the drawing moves every line to the first place,
        // so pairs 1 and 2 are the two never shown.
        questionRow("twelve pairs",
                    {{terms, lines(fixture::numbered(QStringLiteral("понятие "), 12))},
                     {trans, lines(fixture::numbered(QStringLiteral("значение "), 12))},
                     {points, lines(QStringList(12, QStringLiteral("1")))},
                     {QStringLiteral("Scores"), 12}},
                    {}, 14, 12);
        // As many rows as meanings; a pair without its other half earns nothing.
        row("three terms, two meanings", {{trans, lines({"0,5", "0,25"})}}, {}, 3);
        row("two terms, three meanings", {{terms, lines({"1/2", "1/4"})}}, {}, 4);
        row("lone carriage returns", {{terms, QStringLiteral("1/2\r1/4\r3/4")}}, {});
        row("line feeds only", {{trans, QStringLiteral("0,5\n0,25\n0,75\n")}}, {});
        // Empty lines are shuffled in with the terms and can push a term past
        // the rows shown.
        row("empty lines after", {{terms, QStringLiteral("1/2\r\n1/4\r\n3/4\r\n\r\n\r\n")}}, {}, 4);
        row("a term twice", {{terms, lines({"1/2", "1/2", "3/4"})}}, {});
        row("blank terms", {{terms, lines({" ", " ", " "})}}, {});
        row("a huge term",
            {{terms, lines({QStringLiteral("половина ").repeated(2000), "1/4", "3/4"})}}, {});
        // Shuffled in time proportional to the number of lines.
        questionRow("twenty thousand pairs",
                    {{terms, lines(fixture::numbered(QStringLiteral("понятие "), 20000))},
                     {trans, lines(fixture::numbered(QStringLiteral("значение "), 20000))},
                     {points, lines(QStringList(20000, QStringLiteral("1")))},
                     {QStringLiteral("Scores"), 1000}},
                    {}, 1002, 12);
        row("NUL in a meaning", {{trans, lines({withNul("0", "5"), "0,25", "0,75"})}}, {});
        row("right-to-left meaning", {{trans, lines({"\u202E0,5", "0,25", "0,75"})}}, {});
    }
    void pairs() { runOverRow(damagedPairs()); }

    // TextW, Words, Start, Leng, TTScores: a gap text without its text or
    // words, or whose gaps are not all placed inside the text by whole
    // numbers with points 0 … 1000, is left out; a gap whose place holds no
    // gap is shown, and cannot be filled.
    void gaps_data() {
        questionColumns();
        const QString noText = leftOut(QStringLiteral("въпросът няма текст и думи за попълване"));
        const auto place = [](int gap) {
            return leftOut(
                QStringLiteral("мястото на празнина %1 в текста не е дадено с числа").arg(gap));
        };
        const auto lines = [](const QStringList& l) { return joinLines(l); };
        const auto row = [](const char* name, const QVariantMap& set, const QString& notice,
                            int received = -1) {
            questionRow(name, set, notice, notice.isEmpty() ? kAsked : kLeftOut, received);
        };
        const QString text = QStringLiteral("TextW");
        const QString words = QStringLiteral("Words");
        const QString start = QStringLiteral("Start");
        const QString leng = QStringLiteral("Leng");
        const QString points = QStringLiteral("TTScores");
        const auto pastText = [](int gap, const char* shown) {
            return leftOut(QStringLiteral("мястото на празнина %1 („%2“) е извън текста")
                               .arg(gap)
                               .arg(QLatin1String(shown)));
        };
        row("TextW empty", {{text, QStringLiteral("")}}, noText);
        row("TextW NULL", {{text, QVariant()}}, noText);
        row("Words empty", {{words, QStringLiteral("")}}, noText);
        row("Words NULL", {{words, QVariant()}}, noText);
        row("Start empty", {{start, QStringLiteral("")}}, place(1));
        row("Start a line short", {{start, lines({"6"})}}, place(2));
        row("Start a word", {{start, lines({"шест", "20"})}}, place(1));
        row("Start negative", {{start, lines({"6", "-20"})}}, place(2));
        row("Start past 32 bits", {{start, lines({"6", "4294967316"})}}, place(2));
        row("Leng empty", {{leng, QStringLiteral("")}}, place(1));
        row("Leng a word", {{leng, lines({"4", "девет"})}}, place(2));
        row("TTScores empty", {{points, QStringLiteral("")}},
            leftOut(QStringLiteral("точките на празнина 1 ") + pointsFault(QString())));
        row("TTScores past the bound", {{points, lines({"2", "5000"})}},
            leftOut(QStringLiteral("точките на празнина 2 ") +
                    pointsFault(QStringLiteral("5000"))));
        row("Start past the text", {{start, lines({"6", "9999"})}}, pastText(2, "9999"));
        // Placing the long first word would move the second gap past the
        // largest whole number.
        row("Start at the largest whole number",
            {{start, lines({"6", "2147483647"})}, {words, lines({"половинката", "една"})}},
            pastText(2, "2147483647"));
        row("Start too near the end for a gap", {{start, lines({"6", "27"})}}, pastText(2, "27"));
        row("no gap in the text, place past it",
            {{text, QStringLiteral("Дробта")}, {start, lines({"0", "6"})}}, pastText(1, "0"));
        // A gap whose place holds no gap could never be filled, yet its
        // points would count.
        const auto notAGap = [](int gap, const char* shown) {
            return leftOut(QStringLiteral("мястото на празнина %1 („%2“) не е празнина в текста")
                               .arg(gap)
                               .arg(QLatin1String(shown)));
        };
        row("Start beside its gap", {{start, lines({"8", "20"})}}, notAGap(1, "8"));
        row("Start twice the same", {{start, lines({"6", "6"})}}, notAGap(2, "6"));
        row("no gap in the text", {{text, QStringLiteral("Дробта една втора е половинка.")}},
            notAGap(1, "6"));
        row("Start with blanks", {{start, QStringLiteral(" 6 \r\n 20 ")}}, {});
        row("Leng huge", {{leng, lines({"4", "99999"})}}, {});
        row("the same word twice", {{words, lines({"една", "една"})}}, {});
        row("TTScores a line more", {{points, lines({"2", "2", "9"})}}, {});
        row("a gap more in the text",
            {{text, QStringLiteral("Дробта ..... втора е ..... . ..... ")}}, {});
        row("long text",
            {{text, QStringLiteral("Дробта ..... втора е ..... .") +
                        QStringLiteral(" Още текст.").repeated(800)}},
            {});
        row("text of one unbroken run past the bound",
            {{text, QStringLiteral("Дробта ..... втора е ..... .") + QString(20000, u'а')}},
            leftOut(QStringLiteral("текстът е по-дълъг от 10000 знака")));
        {
            QString passage;
            for (int i = 1; i <= 60; ++i)
                passage += QStringLiteral("дума [д%1] и ").arg(i);
            const fixture::Question many = fixture::gapFill(passage, QList<int>(60, 1));
            questionRow("sixty gaps",
                        {{text, many.textw},
                         {words, lines(many.words)},
                         {start, lines(many.start)},
                         {leng, lines(many.leng)},
                         {points, lines(many.ttscores)},
                         {QStringLiteral("Scores"), 60}},
                        {}, 62);
        }
        row("NUL in the text",
            {{text,
              withNul(QStringLiteral("Дробта ..... втора е ..... ."), QStringLiteral(" край"))}},
            {});
        row("right-to-left text", {{text, QStringLiteral("Дробта ..... втора е ..... .\u202E")}},
            {});
        row("lone carriage returns", {{start, QStringLiteral("6\r20")}}, {});
        // The page shows a line break of any kind as one character.
        row("CR LF before a gap",
            {{text, QStringLiteral("Дробта\r\n ..... втора е ..... .")},
             {start, lines({"7", "21"})}},
            {});
        row("CR LF counted as two",
            {{text, QStringLiteral("Дробта\r\n ..... втора е ..... .")},
             {start, lines({"8", "22"})}},
            notAGap(1, "8"));
    }
    void gaps() { runOverRow(damagedGaps()); }

    // Condition, Quest, FullAns: whatever text is stored is shown as it is,
    // in a test run and (the full answer) in a tutor run.
    void texts_data() {
        questionColumns();
        QTest::addColumn<QString>("column");
        const QList<QPair<const char*, QVariant>> values = {
            {"huge", QStringLiteral("Много дълъг текст. ").repeated(3000)},
            {"one huge word", QStringLiteral("я").repeated(20000)},
            {"empty", QStringLiteral("")},
            {"NULL", QVariant()},
            {"control characters", QStringLiteral("\x01\x02\a\b\x1b[1mтекст\x7f")},
            {"right-to-left marks", QStringLiteral("\u202Eтекст\u202C \u200Fи\u200E")},
            {"NUL inside", withNul(QStringLiteral("преди"), QStringLiteral("след"))},
            {"markup", QStringLiteral("Кой етикет прави текста удебелен: <b>?")},
            {"many lines", QStringLiteral("ред\r\n").repeated(300)},
            {"bytes that are not UTF-8", QByteArray("\xC3\x28\xA0\xA1", 4)},
        };
        for (const char* column : {"Condition", "Quest", "FullAns"})
            for (const auto& [name, value] : values)
                QTest::addRow("%s %s", column, name)
                    << QVariantMap{{QLatin1String(column), value}} << QString() << kAsked << kAsked
                    << QString::fromLatin1(column);
    }
    void texts() {
        QFETCH(QString, column);
        QFETCH(QVariantMap, set);
        const bool tutor = column == QLatin1String("FullAns");
        const Seen seen = runOverRow(damagedFour(), tutor);
        // As a connection reads it: text, or the bytes read as UTF-8.
        const QVariant value = set.value(column);
        const QString stored = value.typeId() == QMetaType::QByteArray
                                   ? QString::fromUtf8(value.toByteArray())
                                   : value.toString();
        const QStringList& shown = column == QLatin1String("Condition") ? seen.conditions
                                   : column == QLatin1String("Quest")   ? seen.quests
                                                                        : seen.fullAnswers;
        QVERIFY(shown.contains(stored));
    }

    // Picture: a damaged or foreign picture leaves the question shown without
    // it; a picture of any readable kind is shown.
    void pictures_data() {
        questionColumns();
        QTest::addColumn<bool>("shown");
        const QByteArray sound = jpeg();
        const auto row = [](const char* name, const QVariant& value, bool shown) {
            QTest::newRow(name) << QVariantMap{{QStringLiteral("Picture"), value}} << QString()
                                << kAsked << kAsked << shown;
        };
        row("JPEG", sound, true);
        row("PNG", png(), true);
        row("NULL", QVariant(), false);
        row("empty", QByteArray(""), false);
        row("truncated JPEG", sound.left(sound.size() / 2), false);
        row("JPEG in 190 scans", encodeJpegScanByScan(plainPicture(64, 48), 90), false);
        row("JPEG start alone", QByteArray("\xFF\xD8", 2), false);
        row("JPEG start and random bytes", QByteArray("\xFF\xD8\xFF", 3) + randomBytes(4000, 7),
            false);
        row("random bytes", randomBytes(4000, 5), false);
        row("zero bytes", QByteArray(4000, '\0'), false);
        row("text", QStringLiteral("картина.jpg"), false);
        row("JPEG claiming 60000 x 60000", jpegClaiming(60000, 60000), false);
        row("JPEG claiming 6000 x 6000", jpegClaiming(6000, 6000), false);
        row("PNG claiming 100000 x 100000", pngClaiming(100000, 100000), false);
        row("truncated PNG", png().left(60), false);
    }
    void pictures() {
        QFETCH(bool, shown);
        QCOMPARE(runOverRow(damagedFour()).picture, shown);
    }

    // test, num, nt: a row is listed and drawn only with test 1; whatever
    // num and nt hold, the drawing numbers the rows anew.
    void bookkeeping_data() {
        questionColumns();
        const auto row = [](const char* name, const char* column, const QVariant& value,
                            int total) {
            questionRow(name, {{QLatin1String(column), value}}, {}, total);
        };
        row("test 0", "test", 0, kLeftOut);
        row("test 2", "test", 2, kLeftOut);
        row("test -1", "test", -1, kLeftOut);
        row("test NULL", "test", QVariant(), kLeftOut);
        row("test a word", "test", QStringLiteral("да"), kLeftOut);
        row("test 1 as text", "test", QStringLiteral("1"), kAsked);
        row("test 1 as a real", "test", 1.0, kAsked);
        row("num past 32 bits", "num", 99999999999LL, kAsked);
        row("num a word", "num", QStringLiteral("едно"), kAsked);
        row("num NULL", "num", QVariant(), kAsked);
        row("num of another row", "num", 2, kAsked);
        row("nt yes", "nt", QStringLiteral("yes"), kAsked);
        row("nt NULL", "nt", QVariant(), kAsked);
        row("nt a word", "nt", QStringLiteral("може би"), kAsked);
    }
    void bookkeeping() { runOverRow(damagedFour()); }

    // A section's table made by another program, without one of the columns
    // the run reads: the section is not offered, or the drawing says it
    // cannot go on and the program ends; the records and the bank stay.
    void questionTableLayout_data() {
        QTest::addColumn<QString>("column"); // the column the table lacks
        QTest::addColumn<QString>("message");
        for (const char* column :
             {"num",   "nt",       "typequest", "Condition", "Quest",  "AnsA",    "AnsB",
              "AnsC",  "AnsD",     "TrueAns",   "FullAns",   "Scores", "Picture", "Terms",
              "Trans", "TTScores", "TextW",     "Words",     "Start",  "Leng"})
            QTest::newRow(column) << QString::fromLatin1(column)
                                  << QStringLiteral("Има проблем в програмата! Моля, опитайте "
                                                    "отново");
        QTest::newRow("test") << "test" << QStringLiteral("няма поле „test“");
    }
    void questionTableLayout() {
        QFETCH(QString, column);
        QFETCH(QString, message);
        fixture::RunningProgram& program = freshProgram({});
        addSection(program.folder, QStringLiteral("стар предмет"), QStringLiteral("full"),
                   damagedFour());
        QStringList kept;
        for (const fixture::Row& r :
             program.folder.rows(DbFile::Class, QStringLiteral("pragma table_info(full)"), kClass))
            if (r.value(QStringLiteral("name")).toString() != column)
                kept.append(sqlIdent(r.value(QStringLiteral("name")).toString()));
        program.folder.exec(DbFile::Class,
                            QStringLiteral("create table old as select %1 from full")
                                .arg(kept.join(QLatin1Char(','))),
                            kClass);
        program.folder.exec(DbFile::Topics, QStringLiteral("update topics set \"table\" = 'old' "
                                                           "where \"table\" = 'full'"));
        const fixture::Rows bank =
            program.folder.readTable(DbFile::Class, QStringLiteral("old"), kClass);

        DamagedFirst random;
        QVERIFY(!openTestRun(QStringLiteral("Нов Ученик"), QStringLiteral("стар предмет"), 2));
        checkMessages(*m_log, {message});
        QCOMPARE(MainForm->isVisible(), column == QLatin1String("test"));
        QCOMPARE(pupils(program.folder), QStringList{kEarlier});
        const fixture::Rows after =
            program.folder.readTable(DbFile::Class, QStringLiteral("old"), kClass);
        QCOMPARE(after.size(), bank.size());
    }

    // Topic rows: a section whose table is missing or oddly named, of no
    // class, or with odd names; what the subject window offers, and what the
    // results window shows and the record keeps.
    void topics_data() {
        QTest::addColumn<QVariantMap>("set"); // topic column → value
        QTest::addColumn<QString>("message"); // part of the one message; empty: none
        QTest::addColumn<bool>("stored");
        const auto noTable = [](const QString& table) {
            return QStringLiteral("няма таблица „%1“").arg(table);
        };
        const auto row = [](const char* name, const QVariantMap& set, const QString& message,
                            bool stored) { QTest::newRow(name) << set << message << stored; };
        const QString table = QStringLiteral("table");
        const QString cls = QStringLiteral("class");
        const QString object = QStringLiteral("object");
        const QString section = QStringLiteral("section");
        row("table missing", {{table, QStringLiteral("липсва")}}, noTable(QStringLiteral("липсва")),
            false);
        row("table with a statement in it",
            {{table, QStringLiteral("x\"; drop table student; --")}},
            QStringLiteral("няма таблица"), false);
        row("table with brackets", {{table, QStringLiteral("a]b[c")}},
            QStringLiteral("Недопустимо име на таблица: a]b[c"), false);
        row("table empty", {{table, QStringLiteral("")}}, QStringLiteral("Липсва име на таблица."),
            false);
        row("table NULL", {{table, QVariant()}}, QStringLiteral("Липсва име на таблица."), false);
        // Not of the pupil's class: not offered at all.
        row("class a word", {{cls, QStringLiteral("пети")}}, {}, false);
        row("class 14", {{cls, 14}}, {}, false);
        row("class NULL", {{cls, QVariant()}}, {}, false);
        row("class 5 as text", {{cls, QStringLiteral("5")}}, {}, true);
        row("class 5 as a real", {{cls, 5.0}}, {}, true);
        row("object NULL", {{object, QVariant()}}, {}, false);
        row("object with markup", {{object, QStringLiteral("<i>математика</i>")}}, {}, true);
        row("section empty", {{section, QStringLiteral("")}}, {}, true);
        row("section NULL", {{section, QVariant()}}, {}, true);
        row("section huge", {{section, QStringLiteral("дълъг раздел ").repeated(300)}}, {}, true);
        row("section with markup", {{section, QStringLiteral("<b>дроби</b> &amp; проценти")}}, {},
            true);
        row("section with NUL", {{section, withNul(QStringLiteral("дро"), QStringLiteral("би"))}},
            {}, true);
        row("section right-to-left", {{section, QStringLiteral("\u202Eдроби")}}, {}, true);
    }
    void topics() {
        QFETCH(QVariantMap, set);
        QFETCH(QString, message);
        QFETCH(bool, stored);
        fixture::RunningProgram& program = sharedProgram();
        const QString table = QStringLiteral("q%1").arg(++m_row);
        const QString subject = QStringLiteral("предмет %1").arg(m_row);
        addSection(program.folder, subject, table, damagedFour());
        const qint64 topic = program.folder
                                 .rows(DbFile::Topics, QStringLiteral("select max(rowid) as r "
                                                                      "from topics"))
                                 .value(0)
                                 .value(QStringLiteral("r"))
                                 .toLongLong();
        setColumns(program.folder, DbFile::Topics, 0, QStringLiteral("topics"), topic, set);
        const fixture::Rows before =
            program.folder.readTable(DbFile::Students, QStringLiteral("student"));
        const QString shown = set.contains(QStringLiteral("object"))
                                  ? set.value(QStringLiteral("object")).toString()
                                  : subject;
        const QString name = QStringLiteral("Ученик %1").arg(m_row);

        DamagedFirst random;
        Results results;
        if (openTestRun(name, shown, 2)) {
            walkQuestions(false);
            results = endTestRun();
        }
        checkMessages(*m_log, message.isEmpty() ? QStringList() : QStringList{message});
        QVERIFY(MainForm->isVisible());
        QCOMPARE(results.total >= 0, stored);
        const fixture::Rows after =
            program.folder.readTable(DbFile::Students, QStringLiteral("student"));
        QCOMPARE(after.mid(0, before.size()), before);
        QCOMPARE(after.size(), before.size() + (stored ? 1 : 0));
        if (stored) {
            QVERIFY(results.plain);
            QCOMPARE(after.last().value(QStringLiteral("object")).toString(), shown);
            QCOMPARE(after.last().value(QStringLiteral("theme")).toString(),
                     set.value(QStringLiteral("section"), kSection).toString());
        }
    }

    // Earlier pupil records with damaged values: the registration offers
    // what it can read of them, every record stays as it was, and the new
    // one is stored beside them.
    void earlierRecords_data() {
        QTest::addColumn<QVariantMap>("set"); // column of the earlier record → value
        QTest::addColumn<QString>("typed");   // the name the pupil types; empty: the record's
        const auto row = [](const char* name, const QVariantMap& set, const QString& typed) {
            QTest::newRow(name) << set << typed;
        };
        const QString other = QStringLiteral("Друг Ученик");
        row("Name NULL", {{QStringLiteral("Name"), QVariant()}}, other);
        row("Name empty", {{QStringLiteral("Name"), QStringLiteral("")}}, other);
        row("Name huge", {{QStringLiteral("Name"), QStringLiteral("Име ").repeated(2000)}}, other);
        row("Name with NUL", {{QStringLiteral("Name"), withNul(QStringLiteral("Ив"), "ан")}},
            other);
        row("Name a number", {{QStringLiteral("Name"), 42}}, other);
        row("Class a word", {{QStringLiteral("Class"), QStringLiteral("пети")}}, {});
        row("Class 99", {{QStringLiteral("Class"), QStringLiteral("99")}}, {});
        row("Class NULL", {{QStringLiteral("Class"), QVariant()}}, {});
        row("Class past 32 bits", {{QStringLiteral("Class"), QStringLiteral("4294967301")}}, {});
        row("Division 99", {{QStringLiteral("Division"), 99}}, {});
        row("Division -1", {{QStringLiteral("Division"), -1}}, {});
        row("Division a letter", {{QStringLiteral("Division"), QStringLiteral("Б")}}, {});
        row("NumOfClass a word", {{QStringLiteral("NumOfClass"), QStringLiteral("трети")}}, {});
        row("NumOfClass 1000", {{QStringLiteral("NumOfClass"), 1000}}, {});
        row("NumOfClass past 32 bits", {{QStringLiteral("NumOfClass"), 99999999999LL}}, {});
        row("DT not a date", {{QStringLiteral("DT"), QStringLiteral("вчера")}}, {});
        row("DT NULL", {{QStringLiteral("DT"), QVariant()}}, {});
        row("Val a word", {{QStringLiteral("Val"), QStringLiteral("отличен")}}, {});
        row("typed name with markup", {}, QStringLiteral("<b>Иван</b> &amp; Мария"));
    }
    void earlierRecords() {
        QFETCH(QVariantMap, set);
        QFETCH(QString, typed);
        fixture::RunningProgram& program = sharedProgram();
        fixture::Pupil earlier;
        earlier.name = QStringLiteral("Запис %1").arg(++m_row);
        earlier.classNo = int(kClass);
        earlier.division = 2;
        earlier.numOfClass = 7;
        program.folder.addPupil(earlier);
        const qint64 record = program.folder
                                  .rows(DbFile::Students, QStringLiteral("select max(rowid) as r "
                                                                         "from student"))
                                  .value(0)
                                  .value(QStringLiteral("r"))
                                  .toLongLong();
        setColumns(program.folder, DbFile::Students, 0, QStringLiteral("student"), record, set);
        const fixture::Rows before =
            program.folder.readTable(DbFile::Students, QStringLiteral("student"));
        const QString name = typed.isEmpty() ? earlier.name : typed;

        DamagedFirst random;
        Results results;
        if (openTestRun(name, kSubject, 2)) {
            walkQuestions(false);
            results = endTestRun();
        }
        checkMessages(*m_log, {});
        QCOMPARE(results.total, kAsked);
        QVERIFY(results.plain);
        const fixture::Rows after =
            program.folder.readTable(DbFile::Students, QStringLiteral("student"));
        QCOMPARE(after.mid(0, before.size()), before);
        QCOMPARE(after.size(), before.size() + 1);
        QCOMPARE(after.last().value(QStringLiteral("name")).toString(), name);
        QCOMPARE(after.last().value(QStringLiteral("class")).toString(), QStringLiteral("5"));
    }
    // Settings values of another type, out of range, unreadable as numbers,
    // in the file's notation for other types, or missing; and whole files
    // that are damaged. Start-up says what is wrong (or fills in what is
    // missing, once), keeps the file's other values, and a test run can
    // still be taken and stored.
    void settingsValues_data() {
        QTest::addColumn<QString>("key");     // "LocalSettings/Test/hour"; empty: the whole file
        QTest::addColumn<QString>("raw");     // as the file holds it; null: missing
        QTest::addColumn<QString>("message"); // part of the start-up message; empty: none
        QTest::addColumn<QString>("control"); // a control of the settings window ...
        QTest::addColumn<int>("value");       // ... and what it holds after start-up
        const auto wrong = [](const QString& key, const QString& shown) {
            QString path = QStringLiteral("Tamrel\\Kivor 2\\") + key.section('/', 0, -2);
            path.replace('/', '\\');
            return QStringLiteral("„%1“ в ключа „%2“ на регистъра е от друг вид: очаква се цяло "
                                  "число, а е записано „%3“")
                .arg(key.section('/', -1), path, shown);
        };
        const auto missing = [](const QString& key) {
            QString path = QStringLiteral("Tamrel\\Kivor 2\\") + key;
            path.replace('/', '\\');
            return QStringLiteral("Някои настройки липсваха и са върнати към стандартните:\r") +
                   path;
        };
        const auto row = [&](const char* key, const QString& raw, const QString& control,
                             int value) {
            const QString k = QStringLiteral("LocalSettings/") + QLatin1String(key);
            QString message;
            if (raw.isNull())
                message = missing(k);
            else if (control.isEmpty())
                message = wrong(k, raw);
            QTest::addRow("%s %s", key, raw.isNull() ? "missing" : qPrintable(raw))
                << k << raw << message << control << value;
        };
        const QString bad; // no control: the load stops at the value
        row("Help", QStringLiteral("yes"), bad, 0);
        row("Help", QStringLiteral(""), bad, 0);
        row("Help", QStringLiteral("@Rect(1 2 3 4)"), bad, 0);
        row("Help", QStringLiteral("99999999999"), bad, 0);
        row("Help", QStringLiteral("1, 2"), bad, 0);
        row("Help", QString(), QStringLiteral("shsc0"), 0);
        row("balloons", QStringLiteral("abc"), bad, 0);
        row("balloons", QString(), QStringLiteral("sbt0"), 0);
        row("Test/BackBtn", QStringLiteral("x"), bad, 0);
        row("Test/BackBtn", QString(), QStringLiteral("sbbc1"), 1);
        row("Test/WalkQuest", QStringLiteral("1.5"), bad, 0);
        row("Test/WalkQuest", QString(), QStringLiteral("srqc1"), 1);
        row("Test/Timer", QStringLiteral("true"), bad, 0);
        row("Test/Timer", QStringLiteral("7"), QStringLiteral("chtime1"), 1);
        row("Test/Timer", QString(), QStringLiteral("chtime1"), 1);
        row("Test/hour", QStringLiteral("abc"), bad, 0);
        row("Test/hour", QStringLiteral("-5"), QStringLiteral("hour1"), 0);
        row("Test/hour", QStringLiteral("30"), QStringLiteral("hour1"), 24);
        row("Test/hour", QStringLiteral("99999999999"), bad, 0);
        row("Test/hour", QStringLiteral("@Size(1 2)"), bad, 0);
        row("Test/hour", QStringLiteral("0x10"), bad, 0);
        row("Test/hour", QStringLiteral("٣"), bad, 0);
        row("Test/hour", QString(), QStringLiteral("hour1"), 0);
        row("Test/min", QStringLiteral("-1"), QStringLiteral("min1"), 0);
        row("Test/min", QStringLiteral("61"), QStringLiteral("min1"), 60);
        row("Test/min", QStringLiteral(""), bad, 0);
        row("Test/min", QString(), QStringLiteral("min1"), 40);
        row("Test/sec", QStringLiteral("75"), QStringLiteral("sec1"), 60);
        row("Test/sec", QStringLiteral("x"), bad, 0);
        row("Test/sec", QString(), QStringLiteral("sec1"), 0);
        row("Test/UnlimiteCor", QStringLiteral("2"), QStringLiteral("unnumcor1"), 1);
        row("Test/UnlimiteCor", QStringLiteral("no"), bad, 0);
        row("Test/UnlimiteCor", QString(), QStringLiteral("unnumcor1"), 0);
        row("Test/NumCor", QStringLiteral("5000"), QStringLiteral("numcor1"), 1000);
        row("Test/NumCor", QStringLiteral("2147483647"), QStringLiteral("numcor1"), 1000);
        row("Test/NumCor", QStringLiteral("-2"), QStringLiteral("numcor1"), 0);
        row("Test/NumCor", QStringLiteral("1.5"), bad, 0);
        row("Test/NumCor", QString(), QStringLiteral("numcor1"), 2);
        row("Tutor/BackBtn", QStringLiteral("maybe"), bad, 0);
        row("Tutor/BackBtn", QString(), QStringLiteral("sbbc2"), 1);
        row("Tutor/WalkQuest", QStringLiteral("@Point(1 2)"), bad, 0);
        row("Tutor/WalkQuest", QString(), QStringLiteral("srqc2"), 1);
        // Values the program never reads back.
        QTest::newRow("Test/NumQuest abc") << "LocalSettings/Test/NumQuest"
                                           << "abc" << QString() << QString() << 0;
        QTest::newRow("Tutor/DictLang huge")
            << "LocalSettings/Tutor/DictLang" << QStringLiteral("език").repeated(3000) << QString()
            << QString() << 0;
        // Whole files: a first run writes the defaults over what it cannot use.
        const auto file = [](const char* name, const QString& message) {
            // Unless the defaults cannot be written, the corrections are theirs.
            QTest::newRow(name) << QString() << QString::fromLatin1(name) << message
                                << (message.isEmpty() ? QStringLiteral("numcor1") : QString()) << 2;
        };
        file("empty", {});
        file("random bytes", {});
        file("without its local settings", {});
        file("a folder", QStringLiteral("Настройките не могат да бъдат записани във файла"));
    }
    void settingsValues() {
        QFETCH(QString, key);
        QFETCH(QString, raw);
        QFETCH(QString, message);
        QFETCH(QString, control);
        QFETCH(int, value);
        QMap<QString, QString> values = soundSettingValues();
        QByteArray text;
        if (key.isEmpty()) {
            if (raw == QLatin1String("random bytes"))
                text = randomBytes(2000, 11);
            else if (raw == QLatin1String("a folder"))
                text = QByteArray();
            else if (raw == QLatin1String("without its local settings"))
                for (auto it = values.cbegin(); it != values.cend(); ++it)
                    if (it.key().startsWith(QLatin1String("LAN")))
                        text += settingsText({{it.key(), it.value()}});
        } else {
            if (raw.isNull())
                values.remove(key);
            else
                values.insert(key, raw);
            text = settingsText(values);
        }
        fixture::RunningProgram& program = freshProgram([&](const QString&) {
            writeSettingsFile(programSettingsFile(), text);
            if (raw == QLatin1String("a folder"))
                QVERIFY(QFile::remove(programSettingsFile()) &&
                        QDir().mkpath(programSettingsFile()));
        });
        checkMessages(*m_log, message.isEmpty() ? QStringList() : QStringList{message});
        if (!control.isEmpty()) {
            QWidget* w = SettingsForm->findChild<QWidget*>(control);
            QVERIFY(w);
            const auto* box = qobject_cast<QCheckBox*>(w);
            QCOMPARE(box ? int(box->isChecked()) : static_cast<SpinField*>(w)->value(), value);
        }
        // What the file held stays, a missing value is filled in, and a value
        // of another type waits there for the teacher.
        if (!key.isEmpty()) {
            const QMap<QString, QString> after = readSettingsFile(programSettingsFile());
            if (raw.isNull()) {
                for (const auto& [k, v] : soundSettings())
                    QCOMPARE(after.value(k), v);
            } else {
                QCOMPARE(fileBytes(programSettingsFile()), text);
            }
        }
        m_log->clear();
        DamagedFirst random;
        QVERIFY(openTestRun(QStringLiteral("Нов Ученик"), kSubject, 2));
        walkQuestions(false);
        QCOMPARE(endTestRun().total, kAsked);
        checkMessages(*m_log, {});
        QCOMPARE(pupils(program.folder), (QStringList{kEarlier, QStringLiteral("Нов Ученик")}));
    }

    // The main window's own pictures damaged: start-up, or the first hover
    // over a command, says which picture cannot be shown; the program works on.
    void windowPictures_data() {
        QTest::addColumn<QString>("picture");  // under \images
        QTest::addColumn<QByteArray>("bytes"); // empty with `folder`: a folder in its place
        QTest::addColumn<bool>("folder");
        QTest::addColumn<QString>("message");
        const QByteArray sound = jpeg();
        const auto row = [](const char* name, const char* picture, const QByteArray& bytes,
                            const char* message, bool folder = false) {
            QTest::newRow(name) << QString::fromLatin1(picture) << bytes << folder
                                << QString::fromUtf8(message);
        };
        row("welcome missing", "wellcome", QByteArray("-"), "Липсва файлът с картина");
        row("welcome zero-byte", "wellcome", QByteArray(), "е празна: в нея няма данни");
        row("welcome truncated", "wellcome", sound.left(sound.size() / 2), "е непълна");
        row("welcome a PNG", "wellcome", png(), "не е картина във формат JPEG");
        row("welcome random bytes", "wellcome", randomBytes(4000, 5),
            "не е картина във формат JPEG");
        row("welcome a JPEG start and random bytes", "wellcome",
            QByteArray("\xFF\xD8\xFF", 3) + randomBytes(4000, 7), "Картината");
        row("welcome claiming 60000 x 60000", "wellcome", jpegClaiming(60000, 60000),
            "е твърде голяма");
        row("welcome claiming 6000 x 6000", "wellcome", jpegClaiming(6000, 6000), "е непълна");
        row("welcome in 190 scans", "wellcome", encodeJpegScanByScan(plainPicture(64, 48), 90),
            "твърде много сканирания");
        row("welcome a folder", "wellcome", QByteArray(), "е папка, а не файл с картина", true);
        row("test hover missing", "test", QByteArray("-"), "Липсва файлът с картина");
        row("test hover a PNG", "test", png(), "не е картина във формат JPEG");
        row("inf hover zero-byte", "inf", QByteArray(), "е празна: в нея няма данни");
        row("exit hover truncated", "exit", sound.left(100), "е непълна");
    }
    void windowPictures() {
        QFETCH(QString, picture);
        QFETCH(QByteArray, bytes);
        QFETCH(bool, folder);
        QFETCH(QString, message);
        fixture::RunningProgram& program = freshProgram([&](const QString& root) {
            const QString path = programPath(root, QStringLiteral("\\images\\%1.jpg").arg(picture));
            QFile::remove(path);
            if (folder)
                QDir().mkpath(path);
            else if (bytes != "-")
                writeFile(path, bytes);
        });
        // Twice over the command: the picture is reported once.
        QWidget* command = picture == QLatin1String("test")  ? MainForm->TestBtn
                           : picture == QLatin1String("inf") ? MainForm->InfBtn
                                                             : MainForm->ExitBtn;
        MainForm->pointerMoved(command);
        MainForm->pointerMoved(command);
        checkMessages(*m_log, {message});
        QVERIFY(MainForm->isVisible());
        m_log->clear();
        DamagedFirst random;
        QVERIFY(openTestRun(QStringLiteral("Нов Ученик"), kSubject, 2));
        walkQuestions(false);
        QCOMPARE(endTestRun().total, kAsked);
        checkMessages(*m_log, {});
        QCOMPARE(pupils(program.folder), (QStringList{kEarlier, QStringLiteral("Нов Ученик")}));
    }

    // The dictionary's rows and tables damaged, and odd words typed: the
    // look-up of a tutor run shows a meaning, "not entered" or why the
    // dictionary cannot be read, the run goes on, and the dictionary stays
    // as it was.
    void dictionary_data() {
        QTest::addColumn<QString>("sql");     // run on the dictionary before start-up
        QTest::addColumn<QString>("typed");   // the word looked up
        QTest::addColumn<QString>("shown");   // what the look-up shows
        QTest::addColumn<QString>("message"); // part of the one message; empty: none
        const QString unknown = QStringLiteral("Тази дума не е въведена.");
        const QString closed = QStringLiteral("Речникът не може да се отвори");
        const auto row = [](const char* name, const QString& sql, const QString& typed,
                            const QString& shown, const QString& message) {
            QTest::newRow(name) << sql << typed << shown << message;
        };
        row("no dictionary listed", QStringLiteral("delete from dicts"), kWord, {},
            QStringLiteral("нито една таблица с думи"));
        row("table missing", QStringLiteral("update dicts set \"Table\" = 'липсва'"), kWord, {},
            closed);
        row("table empty", QStringLiteral("update dicts set \"Table\" = ''"), kWord, {},
            QStringLiteral("Липсва име на таблица."));
        row("table NULL", QStringLiteral("update dicts set \"Table\" = null"), kWord, {},
            QStringLiteral("Липсва име на таблица."));
        row("table with a statement in it",
            QStringLiteral("update dicts set \"Table\" = 'bg\"; drop table dicts; --'"), kWord, {},
            closed);
        row("table with brackets", QStringLiteral("update dicts set \"Table\" = 'a]b'"), kWord, {},
            QStringLiteral("Недопустимо име на таблица"));
        row("word table without meanings",
            QStringLiteral("drop table bg; create table bg (Word text); "
                           "insert into bg values ('дроб')"),
            kWord, {}, QStringLiteral("„Trans“"));
        row("word table empty", QStringLiteral("delete from bg"), kWord, unknown, {});
        row("meaning NULL", QStringLiteral("update bg set Trans = null"), kWord, QString(""), {});
        row("meaning huge",
            QStringLiteral("update bg set Trans = replace(hex(zeroblob(20000)), '00', 'част ')"),
            kWord, QStringLiteral("част ").repeated(20000), {});
        row("meaning with NUL", QStringLiteral("update bg set Trans = 'част' || char(0) || 'от'"),
            kWord, withNul(QStringLiteral("част"), QStringLiteral("от")), {});
        row("meaning with markup", QStringLiteral("update bg set Trans = '<b>част</b>'"), kWord,
            QStringLiteral("<b>част</b>"), {});
        row("word NULL beside the word",
            QStringLiteral("insert into bg values (null, 'нищо'); insert into bg values ('', '')"),
            kWord, kMeaning, {});
        row("language NULL", QStringLiteral("update dicts set Lang = null"), kWord, kMeaning, {});
        row("a statement typed", {}, QStringLiteral("' or '1'='1"), unknown, {});
        row("wildcards typed", {}, QStringLiteral("%др_б%"), unknown, {});
        row("nothing typed", {}, QString(), unknown, {});
        row("another case typed", {}, QStringLiteral("ДРОБ"), kMeaning, {});
    }
    void dictionary() {
        QFETCH(QString, sql);
        QFETCH(QString, typed);
        QFETCH(QString, shown);
        QFETCH(QString, message);
        QByteArray before;
        fixture::RunningProgram& program = freshProgram([&](const QString& root) {
            const QString path = programPath(root, QStringLiteral("\\dict\\dict.mdb"));
            if (!sql.isEmpty())
                Connection::create(path, QString())->execRaw(sql);
            before = fileBytes(path);
        });
        checkMessages(*m_log, {});
        DamagedFirst random;
        QVERIFY(openTutorRun(kSubject, 2));
        QCOMPARE(lookUp(typed), shown);
        walkQuestions(true);
        QTest::mouseClick(TestForm->EndBtn, Qt::LeftButton);
        checkMessages(*m_log, message.isEmpty() ? QStringList() : QStringList{message});
        QVERIFY(MainForm->isVisible());
        QCOMPARE(fileBytes(program.folder.file(QStringLiteral("\\dict\\dict.mdb"))), before);
        QCOMPARE(pupils(program.folder), QStringList{kEarlier});
    }

    // Scratch writes refused under a test run: told once, the grade kept.
    void scratchWritesFail_data() {
        QTest::addColumn<bool>("duringRun"); // from an answer on, or only at "Приключих"
        QTest::addColumn<QStringList>("messages");
        const QString disk = QStringLiteral("дискът не може да прочете или запише файла");
        QTest::newRow("at the end") << false << QStringList{disk};
        QTest::newRow("from an answer on, moving on") << true << QStringList{disk, disk};
    }
    void scratchWritesFail() {
        QFETCH(bool, duringRun);
        QFETCH(QStringList, messages);
        installDiskFaults();
        fixture::RunningProgram& program = sharedProgram();
        const QString subject = QStringLiteral("предмет %1").arg(++m_row);
        addSection(program.folder, subject, QStringLiteral("q%1").arg(m_row), damagedGaps());
        const QString name = QStringLiteral("Ученик %1").arg(m_row);
        QVERIFY(openTestRun(name, subject, 3));
        walkQuestions(false);
        QList<int> fourAnswers;
        for (const fixture::Row& r :
             program.folder.readTable(DbFile::Scratch, QStringLiteral("temp4")))
            if (r.value(QStringLiteral("typequest")).toInt() == int(question::Kind::Choice))
                fourAnswers.append(r.value(QStringLiteral("id")).toInt());
        QCOMPARE(fourAnswers.size(), 2);
        TestForm->QP1->setValue(fourAnswers[0]);
        const auto healed = qScopeGuard([] { failWritesTo(QString()); });
        failWritesTo(program.folder.file(QStringLiteral("\\data\\temp.mdb")));
        if (duringRun) {
            clickLabel(TestForm->answerLabel(1));
            for (int i = 0; i < 3; ++i) {
                TestForm->QP1->setValue(fourAnswers[1]);
                TestForm->QP1->setValue(fourAnswers[0]);
            }
        }
        const Results results = endTestRun();
        checkMessages(*m_log, messages);
        QVERIFY(results.total > 4);
        QCOMPARE(results.received, results.total);
        QVERIFY(!results.notStored);
        QCOMPARE(pupils(program.folder).last(), name);
    }
};

QTEST_MAIN(TestBadInput)
#include "tst_badinput.moc"
