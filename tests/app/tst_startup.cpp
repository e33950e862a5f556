// Start-up: the installation check, the program folder, the main window's
// frame and commands.
#include "app/aboutbox.h"
#include "app/globals.h"
#include "app/mainform.h"
#include "app/requiredfiles.h"
#include "app/splashform.h"
#include "kit/messages.h"
#include "store/datamodule.h"
#include "store/paths.h"
#include "support/application.h"

#include <QAbstractButton>
#include <QAction>
#include <QApplication>
#include <QContextMenuEvent>
#include <QDir>
#include <QFile>
#include <QKeyEvent>
#include <QMenu>
#include <QMessageBox>
#include <QMouseEvent>
#include <QTest>
#include <QTimer>

namespace {

// Creates every required file (empty) under the folder.
void installRequiredFiles(const QString& folder) {
    for (const QString& rel : requiredFiles()) {
        const QString path = programPath(folder, rel);
        QDir().mkpath(QFileInfo(path).absolutePath());
        QFile f(path);
        if (!f.exists()) {
            QVERIFY(f.open(QIODevice::WriteOnly));
            f.close();
        }
    }
}

// A window that records the keys that reach it.
class KeyProbe : public QWidget {
public:
    int keys = 0;

protected:
    void keyPressEvent(QKeyEvent* e) override {
        ++keys;
        QWidget::keyPressEvent(e);
    }
};

} // namespace

class TestStartup : public QObject {
    Q_OBJECT

private:
    fixture::MessageLog m_log;

    // The windows as main() leaves them: the splash on screen, its check of
    // the installation still to come.
    static fixture::ProgramOptions atStart(const QString& folderName = QString()) {
        return {.folderName = folderName, .splash = true};
    }

private slots:
    void cleanup() { m_log.clear(); }

    void refusesWhenARequiredFileIsMissing_data() {
        QTest::addColumn<int>("missing");
        for (int i = 0; i < requiredFiles().size(); ++i)
            QTest::addRow("%s", qPrintable(requiredFiles()[i])) << i;
    }
    void refusesWhenARequiredFileIsMissing() {
        QFETCH(int, missing);
        fixture::RunningProgram program(atStart());
        const QString folder = program.folder.path();
        installRequiredFiles(folder);
        QVERIFY(QFile::remove(programPath(folder, requiredFiles()[missing])));
        QCOMPARE(firstMissingRequiredFile(folder), missing);

        SplashForm->Timer1Timer();
        QCOMPARE(m_log.messages().size(), 1);
        QCOMPARE(m_log.messages()[0].kind, MessageKind::Error);
        QCOMPARE(m_log.messages()[0].text,
                 QStringLiteral("Програмата неможе да се стартира,\rпоради липса на файлове"));
        QVERIFY(!MainForm->isVisible());
        QVERIFY(!SplashForm->isVisible());
    }

    void startsWithoutTheScratchDatabase() {
        fixture::RunningProgram program(atStart());
        installRequiredFiles(program.folder.path());
        QVERIFY(QFile::remove(program.folder.file(QStringLiteral("\\data\\temp.mdb"))));
        QVERIFY(SplashForm->isVisible());
        QVERIFY(!MainForm->isVisible());
        SplashForm->Timer1Timer();
        QVERIFY(m_log.messages().isEmpty());
        QVERIFY(MainForm->isVisible());
        QVERIFY(!SplashForm->isVisible());
    }

    void worksInAVeryLongFolder() {
        QString deep = QStringLiteral("папка_с_дълго_име");
        while (deep.size() < 400)
            deep += QStringLiteral("/папка_с_дълго_име");
        fixture::RunningProgram program(atStart(deep));
        installRequiredFiles(program.folder.path());
        QCOMPARE(MainForm->ProgramFolder, QDir::currentPath());
        QVERIFY(MainForm->ProgramFolder.size() >= 400);
        SplashForm->Timer1Timer();
        QVERIFY(m_log.messages().isEmpty());
        QVERIFY(MainForm->isVisible());
    }

    void altF4ClosesNothing() {
        fixture::RunningProgram program;
        KeyProbe probe;
        probe.show();
        QKeyEvent altF4(QEvent::KeyPress, Qt::Key_F4, Qt::AltModifier);
        QApplication::sendEvent(&probe, &altF4);
        QCOMPARE(probe.keys, 0);
        QKeyEvent plainF4(QEvent::KeyPress, Qt::Key_F4, Qt::NoModifier);
        QApplication::sendEvent(&probe, &plainF4);
        QCOMPARE(probe.keys, 1);
        QVERIFY(probe.isVisible());
    }

    void dragBandMovesTheWindow_data() {
        QTest::addColumn<int>("pressY");
        QTest::addColumn<bool>("moves");
        QTest::newRow("on the title picture") << 30 << true;
        QTest::newRow("on the frame above it") << 1 << true;
        QTest::newRow("last row of the band") << 58 << true;
        QTest::newRow("below the band") << 59 << false;
        QTest::newRow("on the status bar") << 300 << false;
    }
    void dragBandMovesTheWindow() {
        QFETCH(int, pressY);
        QFETCH(bool, moves);
        fixture::RunningProgram program;
        MainForm->move(100, 100);
        MainForm->show();
        QVERIFY(QTest::qWaitForWindowExposed(MainForm));
        const QPoint start = MainForm->pos();
        const QPoint local(400, pressY);
        const QPoint global = MainForm->mapToGlobal(local);
        QMouseEvent press(QEvent::MouseButtonPress, local, global, Qt::LeftButton, Qt::LeftButton,
                          Qt::NoModifier);
        QApplication::sendEvent(MainForm, &press);
        const QPoint delta(37, 23);
        QMouseEvent moveEv(QEvent::MouseMove, local + delta, global + delta, Qt::NoButton,
                           Qt::LeftButton, Qt::NoModifier);
        QApplication::sendEvent(MainForm, &moveEv);
        QMouseEvent release(QEvent::MouseButtonRelease, local + delta, global + delta,
                            Qt::LeftButton, Qt::NoButton, Qt::NoModifier);
        QApplication::sendEvent(MainForm, &release);
        QCOMPARE(MainForm->pos() - start, moves ? delta : QPoint());
    }

    void popupMenuOffersTheCommands() {
        fixture::RunningProgram program;
        const QList<QAction*> items = MainForm->MainPopupMenu1->actions();
        struct Item {
            const char* name;
            const char* caption;
            bool enabled;
        };
        const QList<Item> expected = {
            {"mN1", "Тест", true},
            {"mN2", "Обучение", true},
            {"N12", "", true},
            {"mN11", "Дневник", false},
            {"mN4", "Теми", false},
            {"mN3", "Речник", false},
            {"mN14", "Принтиране", false},
            {"N5", "", true},
            {"mN6", "Настройки", true},
            {"N7", "", true},
            {"mN13", "Помощ", true},
            {"mN8", "Информация", true},
            {"N9", "", true},
            {"mN10", "Изход", true},
        };
        QCOMPARE(items.size(), expected.size());
        for (int i = 0; i < items.size(); ++i) {
            QCOMPARE(items[i]->objectName(), QLatin1String(expected[i].name));
            QCOMPARE(items[i]->isSeparator(), QByteArray(expected[i].caption).isEmpty());
            if (!items[i]->isSeparator()) {
                QCOMPARE(items[i]->text(), QString::fromUtf8(expected[i].caption));
                QCOMPARE(items[i]->isEnabled(), expected[i].enabled);
            }
        }
    }

    // "Anywhere on the main window" includes its disabled buttons.
    void popupMenuAnywhere_data() {
        QTest::addColumn<QString>("where");
        QTest::newRow("bare window") << QString();
        QTest::newRow("enabled button") << "TestBtn";
        QTest::newRow("disabled button") << "DiaryBtn";
    }
    void popupMenuAnywhere() {
        QFETCH(QString, where);
        fixture::RunningProgram program;
        MainForm->show();
        QWidget* target = where.isEmpty() ? MainForm : MainForm->findChild<QWidget*>(where);
        QVERIFY(target);
        const QPoint at = where.isEmpty() ? QPoint(MainForm->width() - 20, MainForm->height() / 2)
                                          : target->rect().center();
        QContextMenuEvent rightClick(QContextMenuEvent::Mouse, at, target->mapToGlobal(at));
        QApplication::sendEvent(target, &rightClick);
        QVERIFY(MainForm->MainPopupMenu1->isVisible());
        MainForm->MainPopupMenu1->hide();
    }

    void mainWindowControls_data() {
        QTest::addColumn<QString>("name");
        QTest::addColumn<QString>("caption");
        QTest::addColumn<QRect>("geometry");
        QTest::addColumn<bool>("enabled");
        QTest::newRow("InfBtn") << "InfBtn"
                                << "Информация" << QRect(5, 59, 115, 25) << true;
        QTest::newRow("HelpBtn") << "HelpBtn"
                                 << "Помощ" << QRect(125, 59, 81, 25) << true;
        QTest::newRow("TestBtn") << "TestBtn"
                                 << "Тест" << QRect(5, 89, 98, 52) << true;
        QTest::newRow("TutorBtn") << "TutorBtn"
                                  << "Обучение" << QRect(108, 88, 98, 81) << true;
        QTest::newRow("TestLANBtn") << "TestLANBtn"
                                    << "Тест по мрежа" << QRect(5, 144, 98, 25) << false;
        QTest::newRow("printbtn") << "printbtn"
                                  << "Принтиране" << QRect(5, 174, 201, 25) << false;
        QTest::newRow("DiaryBtn") << "DiaryBtn"
                                  << "Дневник" << QRect(5, 205, 96, 25) << false;
        QTest::newRow("ThemeBtn") << "ThemeBtn"
                                  << "Теми" << QRect(105, 205, 101, 25) << false;
        QTest::newRow("settingsbtn") << "settingsbtn"
                                     << "Настройки" << QRect(5, 236, 116, 25) << true;
        QTest::newRow("dictbtn") << "dictbtn"
                                 << "Речник" << QRect(125, 236, 81, 25) << false;
        QTest::newRow("ExitBtn") << "ExitBtn"
                                 << "Изход" << QRect(5, 266, 201, 25) << true;
    }
    void mainWindowControls() {
        QFETCH(QString, name);
        QFETCH(QString, caption);
        QFETCH(QRect, geometry);
        QFETCH(bool, enabled);
        fixture::RunningProgram program;
        auto* button = MainForm->findChild<QAbstractButton*>(name);
        QVERIFY(button);
        QCOMPARE(button->text(), caption);
        QCOMPARE(button->geometry(), geometry);
        QCOMPARE(button->isEnabled(), enabled);
    }

    void informationWindowHandsOver() {
        fixture::RunningProgram program;
        MainForm->show();
        MainForm->InfBtnClick();
        QWidget* about = AboutBox;
        QVERIFY(about && about->isVisible());
        QVERIFY(!MainForm->isVisible());
        about->close();
        QVERIFY(MainForm->isVisible());
    }

    // A box belongs to the window the pupil sees, and closing it over a lone
    // tool window does not end the program.
    void messageBoxesBelongToTheVisibleWindow() {
        fixture::RunningProgram program;
        QVERIFY(!QGuiApplication::quitOnLastWindowClosed());
        SplashForm->hide();
        QCOMPARE(messageParent(), nullptr);
        MainForm->show();
        QCOMPARE(messageParent(), MainForm);
        MainForm->hide();
        AboutBox->show();
        QCOMPARE(messageParent(), AboutBox);
        MainForm->show();
        QVERIFY(messageParent() == AboutBox || messageParent() == QApplication::activeWindow());

        // What a box carries is shown as it is, never as markup.
        setMessageSink({});
        Qt::TextFormat format = Qt::RichText;
        QTimer::singleShot(0, [&] {
            auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
            QVERIFY(box);
            format = box->textFormat();
            box->accept();
        });
        showMessage(MessageKind::Error, QStringLiteral("<img src=\"/tmp/x.png\"><b>т</b>"));
        QCOMPARE(format, Qt::PlainText);
    }
};

QTEST_MAIN(TestStartup)
#include "tst_startup.moc"
