// Makes the pictures of the help pages from the program's own windows,
// rendered off screen inside a program folder: the help always shows the
// program as it is built. With --readme it makes the README's pictures instead
// (`make readme-shots`, committed under doc/).
//
//   kivor-shots <program folder>
//   kivor-shots --readme <program folder> <picture folder>
#include "app/aboutbox.h"
#include "app/globals.h"
#include "app/mainform.h"
#include "app/startup.h"
#include "kit/balloons.h"
#include "kit/messages.h"
#include "media/picture.h"
#include "results/valform.h"
#include "session/gapkey.h"
#include "session/sessionrun.h"
#include "session/shuffle.h"
#include "session/testform.h"
#include "settings/settingsform.h"
#include "settings/spinfield.h"
#include "setup/drawing.h"
#include "setup/objectform.h"
#include "setup/progressform.h"
#include "setup/random.h"
#include "setup/regtestform.h"
#include "store/datamodule.h"
#include "store/paths.h"
#include "tools/jpeg/jpegwrite.h"

#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QDir>
#include <QFile>
#include <QHelpEvent>
#include <QLineEdit>
#include <QLinearGradient>
#include <QListWidget>
#include <QMenu>
#include <QPainter>
#include <QPainterPath>
#include <QPushButton>
#include <QSlider>
#include <QTabWidget>
#include <QTemporaryDir>
#include <QTextEdit>
#include <QTimer>
#include <cstdio>

namespace {

bool writeJpeg(const QImage& image, const QString& path) {
    const QByteArray bytes = encodeJpeg(image, 90);
    QDir().mkpath(QFileInfo(path).absolutePath());
    QFile f(path);
    return f.open(QIODevice::WriteOnly) && f.write(bytes) == bytes.size();
}

bool writeBmp(const QImage& image, const QString& path) {
    QDir().mkpath(QFileInfo(path).absolutePath());
    return image.convertToFormat(QImage::Format_RGB32).save(path, "BMP");
}

// The small mark at the top of every help page.
QImage logo() {
    QImage img(48, 48, QImage::Format_RGB32);
    img.fill(Qt::white);
    QPainter p(&img);
    p.setRenderHint(QPainter::Antialiasing);
    QLinearGradient g(0, 0, 0, 48);
    g.setColorAt(0, QColor(0x1f, 0x3f, 0x9a));
    g.setColorAt(1, QColor(0x00, 0x00, 0x80));
    p.setBrush(g);
    p.setPen(Qt::NoPen);
    p.drawRoundedRect(QRectF(2, 2, 44, 44), 9, 9);
    QFont f(QStringLiteral("DejaVu Sans"), 22, QFont::Bold);
    f.setPixelSize(30);
    p.setFont(f);
    p.setPen(Qt::white);
    p.drawText(QRectF(2, 0, 44, 46), Qt::AlignCenter, QStringLiteral("K"));
    p.setBrush(QColor(0xf5, 0xb8, 0x2e));
    p.drawEllipse(QPointF(37, 37), 5, 5);
    return img;
}

// Every draw takes the first row it is offered, so the pictures are the same
// at every build.
class FirstRows : public RandomSource {
public:
    int below(int) override { return 0; }
};

// The pointer as it rests at `tip`.
void drawPointer(QPainter& p, QPointF tip) {
    QPainterPath arrow;
    arrow.moveTo(tip);
    for (const QPointF& step : {QPointF(0, 17), QPointF(4, 13), QPointF(7, 20), QPointF(10, 19),
                                QPointF(7, 12), QPointF(12, 12)})
        arrow.lineTo(tip + step);
    arrow.closeSubpath();
    p.setRenderHint(QPainter::Antialiasing);
    p.setPen(QPen(Qt::black, 1));
    p.setBrush(Qt::white);
    p.drawPath(arrow);
}

// A window with the balloon that the pointer resting on `control` brings up,
// drawn where it appears; the picture grows to hold the balloon.
QImage withBalloon(QWidget* window, QWidget* control) {
    const bool wasOn = balloonsEnabled();
    setBalloonsEnabled(true);
    const QPoint local(control->width() * 2 / 3, control->height() / 2);
    QHelpEvent rest(QEvent::ToolTip, local, control->mapToGlobal(local));
    QApplication::sendEvent(control, &rest);
    QApplication::processEvents();
    QWidget* balloon = nullptr;
    for (QWidget* top : QApplication::topLevelWidgets()) {
        if (top->inherits("QTipLabel") && top->isVisible())
            balloon = top;
    }
    const QImage shot = window->grab().toImage();
    const QPoint pointer = control->mapTo(window, local);
    QRect area = shot.rect();
    QRect balloonRect;
    if (balloon) {
        balloonRect = QRect(window->mapFromGlobal(balloon->pos()), balloon->size());
        area = area.united(balloonRect.adjusted(0, 0, 4, 4));
    }
    QImage out(area.size(), QImage::Format_RGB32);
    out.fill(Qt::white);
    QPainter p(&out);
    p.translate(-area.topLeft());
    p.drawImage(0, 0, shot);
    if (balloon)
        p.drawImage(balloonRect.topLeft(), balloon->grab().toImage());
    drawPointer(p, pointer);
    p.end();
    if (balloon)
        balloon->close();
    setBalloonsEnabled(wasOn);
    return out;
}

// A run of the shipped bank's section on the session window, at the size of
// the help's pictures, on question `question`.
void startRun(const QString& kind, int count, int question) {
    Query& topics = DataModule2->Topics;
    topics.close();
    topics.setConnectionString(DataModule2->connectionString(DbFile::Topics));
    topics.setSql({QStringLiteral("select * from topics"), QStringLiteral("where class=:cl")});
    topics.setParam(QStringLiteral("cl"), 5);
    topics.open();
    if (!topics.locate(QStringLiteral("section"), QStringLiteral("обикновени дроби")))
        return;
    TProgressForm progress;
    FirstRows first;
    drawQuestions(*DataModule2, 5, count, first, progress);
    ObjectForm->SessionKind = kind;
    TestForm->show();
    TestForm->setWindowState(Qt::WindowNoState);
    TestForm->resize(1000, 620);
    TestForm->QP1->setValue(question);
    TestForm->Design();
    QApplication::processEvents();
}

// Put away without ending the run: an ended test run would be graded and
// stored as a pupil's.
void putAwayRun() {
    DataModule2->setDisplayEnabled(false);
    TestForm->hide();
}

// Page 4 of a tutor run: the full answer of a four-answer question, and a
// word looked up in the shipped dictionary.
QImage fullAnswerPage() {
    startRun(QStringLiteral("tutor"), 1, 1);
    TestForm->fal1Click();
    TestForm->searchedit->setText(QStringLiteral("дроб"));
    guarded([] { TestForm->searchbtnClick(); });
    QApplication::processEvents();
    const QImage shot = TestForm->grab().toImage();
    putAwayRun();
    return shot;
}

// The term page of a test run over the shipped bank, with lines drawn as a
// pupil draws them: three right ones and a wrong one.
QImage termPage() {
    startRun(QStringLiteral("test"), 2, 2);
    const SessionRun& run = TestForm->run();
    const auto join = [](int term, int meaning) {
        TestForm->Label4MouseDown3(TestForm->termLabel(term));
        TestForm->Label13MouseDown2(TestForm->meaningLabel(meaning));
        TestForm->Label13MouseUp2(TestForm->meaningLabel(meaning));
    };
    for (int term = 1; term <= 3; ++term)
        join(term, run.pairedMeaning(term));
    const int wrong = run.pairedMeaning(5);
    join(4, wrong);
    TestForm->Label13MouseEnter2(TestForm->meaningLabel(wrong));
    QApplication::processEvents();
    const QImage shot = TestForm->grab().toImage();
    putAwayRun();
    return shot;
}

// The gap page of a test run, with two words placed as a pupil places them:
// picked from the list, then a press on the gap.
QImage gapPage() {
    // Four answers, terms, gap text: the third question is the first gap text.
    startRun(QStringLiteral("test"), 3, 3);
    for (const QString& word : {QStringLiteral("числител"), QStringLiteral("знаменател")}) {
        const QList<QListWidgetItem*> items = TestForm->Words1->findItems(word, Qt::MatchExactly);
        if (items.isEmpty())
            continue;
        TestForm->Words1->setCurrentItem(items.first());
        TestForm->Words1Click();
        TestForm->Text1MouseDown(int(TestForm->Text1->toPlainText().indexOf(kGapMarker)) + 1);
    }
    TestForm->Words1->setCurrentItem(nullptr);
    QApplication::processEvents();
    const QImage shot = TestForm->grab().toImage();
    putAwayRun();
    return shot;
}

bool copyFolder(const QString& from, const QString& to) {
    if (!QDir().mkpath(to))
        return false;
    const QFileInfoList entries =
        QDir(from).entryInfoList(QDir::AllEntries | QDir::NoDotAndDotDot | QDir::Hidden);
    for (const QFileInfo& entry : entries) {
        const QString target = to + QLatin1Char('/') + entry.fileName();
        if (!(entry.isDir() ? copyFolder(entry.filePath(), target)
                            : QFile::copy(entry.filePath(), target)))
            return false;
    }
    return true;
}

// The README's pictures: the main window, a four-answer question of a test
// run with an answer chosen, and the results window once the run has ended.
bool readmeShots(const QString& pictures) {
    QDir().mkpath(pictures);
    const auto save = [&pictures](QWidget* window, const char* name) {
        return window->grab().toImage().save(pictures + QLatin1Char('/') + QLatin1String(name));
    };
    bool ok = save(MainForm, "main.png");

    RegTestForm->fullname->setEditText(QStringLiteral("Мария Иванова"));
    RegTestForm->Class1->setCurrentIndex(4);
    RegTestForm->division->setCurrentIndex(1);
    RegTestForm->noc->setValue(12);
    ObjectForm->TestSubject = QStringLiteral("математика");
    ObjectForm->TestSection = QStringLiteral("обикновени дроби");
    startRun(QStringLiteral("test"), 5, 1);
    switch (answerBox(DataModule2->Temp.text(QStringLiteral("TrueAns")).at(0))) {
    case 1:
        TestForm->Ans1Click();
        break;
    case 2:
        TestForm->Ans2Click();
        break;
    case 3:
        TestForm->Ans3Click();
        break;
    default:
        TestForm->Ans4Click();
        break;
    }
    QApplication::processEvents();
    ok = save(TestForm, "question.png") && ok;

    TestForm->EndBtnClick();
    QApplication::processEvents();
    ok = ValForm->isVisible() && save(ValForm, "results.png") && ok;
    ValForm->close();
    return ok;
}

} // namespace

int main(int argc, char** argv) {
    const bool readme = argc == 4 && qstrcmp(argv[1], "--readme") == 0;
    if (argc != 2 && !readme) {
        std::fprintf(stderr, "usage: kivor-shots <program folder>\n"
                             "       kivor-shots --readme <program folder> <picture folder>\n");
        return 2;
    }
    // Rendered without a display, and without touching the user's settings.
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QTemporaryDir config;
    qputenv("XDG_CONFIG_HOME", config.path().toLocal8Bit());
    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("Tamrel Kivor 2"));
    QString folder = QDir(QString::fromLocal8Bit(argv[readme ? 2 : 1])).absolutePath();
    // The README's test run ends with a pupil's record stored: it is made in
    // a copy, never in the folder given.
    QTemporaryDir copy;
    if (readme) {
        const QString copied = copy.filePath(QStringLiteral("kivor"));
        if (!copyFolder(folder, copied)) {
            std::fprintf(stderr, "kivor-shots: %s could not be copied\n", argv[2]);
            return 1;
        }
        folder = copied;
    }
    if (!QDir::setCurrent(folder)) {
        std::fprintf(stderr, "kivor-shots: no folder %s\n", argv[readme ? 2 : 1]);
        return 1;
    }
    QStringList failures;
    setMessageSink([&failures](MessageKind, const QString& text) { failures.append(text); });

    createApplicationObjects();
    MainForm->Timer1Timer();
    MainForm->show();
    QApplication::processEvents();

    if (readme) {
        const bool ok = readmeShots(QDir(QString::fromLocal8Bit(argv[3])).absolutePath());
        for (const QString& f : failures)
            std::fprintf(stderr, "kivor-shots: %s\n", qPrintable(f));
        destroyApplicationObjects();
        if (!ok || !failures.isEmpty()) {
            std::fprintf(stderr, "kivor-shots: the README's pictures could not be made\n");
            return 1;
        }
        return 0;
    }

    auto out = [&folder](const char* relative) {
        return programPath(folder, QString::fromLatin1(relative));
    };
    bool ok = writeBmp(logo(), out("\\help4\\x.bmp"));
    ok = writeJpeg(MainForm->grab().toImage(), out("\\help4\\images\\p02\\01.jpg")) && ok;

    MainForm->MainPopupMenu1->popup(MainForm->mapToGlobal(QPoint(300, 100)));
    QApplication::processEvents();
    ok = writeJpeg(MainForm->MainPopupMenu1->grab().toImage(),
                   out("\\help4\\images\\p02\\02.jpg")) &&
         ok;
    MainForm->MainPopupMenu1->hide();

    // The hover display: the pointer on "Тест" shows its picture, its
    // explanation and, in the status bar, its phrase.
    MainForm->pointerMoved(MainForm->TestBtn);
    QApplication::processEvents();
    {
        QImage shot = MainForm->grab().toImage();
        QPainter p(&shot);
        drawPointer(p, MainForm->TestBtn->mapTo(MainForm, QPoint(70, 30)));
        p.end();
        ok = writeJpeg(shot, out("\\help4\\images\\p02\\03.jpg")) && ok;
    }
    MainForm->pointerMoved(MainForm);

    SettingsForm->show();
    QApplication::processEvents();
    const char* pages[] = {"\\help4\\images\\p05\\01.bmp", "\\help4\\images\\p05\\02.jpg",
                           "\\help4\\images\\p05\\03.jpg"};
    for (int i = 0; i < 3; ++i) {
        SettingsForm->PageControl1->setCurrentIndex(i);
        QApplication::processEvents();
        const QImage shot = SettingsForm->grab().toImage();
        ok = (i == 0 ? writeBmp(shot, out(pages[i])) : writeJpeg(shot, out(pages[i]))) && ok;
    }
    SettingsForm->PageControl1->setCurrentIndex(0);
    QApplication::processEvents();
    ok = writeJpeg(withBalloon(SettingsForm, SettingsForm->sbt0),
                   out("\\help4\\images\\p05\\05.jpg")) &&
         ok;
    SettingsForm->CancelBtnClick();

    AboutBox->show();
    QApplication::processEvents();
    ok = writeJpeg(AboutBox->grab().toImage(), out("\\help4\\images\\p05\\04.jpg")) && ok;
    AboutBox->close();

    ok = writeJpeg(termPage(), out("\\help4\\images\\p04\\01.jpg")) && ok;
    ok = writeJpeg(fullAnswerPage(), out("\\help4\\images\\p03\\01.jpg")) && ok;
    ok = writeJpeg(gapPage(), out("\\help4\\images\\p04\\02.jpg")) && ok;

    for (const QString& f : failures)
        std::fprintf(stderr, "kivor-shots: %s\n", qPrintable(f));
    destroyApplicationObjects();
    if (!ok) {
        std::fprintf(stderr, "kivor-shots: a picture could not be written\n");
        return 1;
    }
    return 0;
}
