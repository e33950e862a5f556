// Balloon help, the status-bar phrases and the main window's hover display.
#include "app/aboutbox.h"
#include "app/globals.h"
#include "app/mainform.h"
#include "kit/balloons.h"
#include "kit/hints.h"
#include "media/picture.h"
#include "results/valform.h"
#include "session/testform.h"
#include "settings/settingsform.h"
#include "setup/objectform.h"
#include "setup/regtestform.h"
#include "store/paths.h"
#include "support/application.h"
#include "tools/jpeg/jpegwrite.h"

#include <QCheckBox>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QHelpEvent>
#include <QLabel>
#include <QMouseEvent>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QStatusBar>
#include <QStyle>
#include <QTest>
#include <QToolButton>
#include <QToolTip>
#include <memory>

namespace {

// The pictures of the main window's picture area, each a colour of its own.
const QList<QPair<QString, QColor>> kPictures = {
    {QStringLiteral("wellcome"), QColor(200, 200, 0)},
    {QStringLiteral("test"), QColor(255, 0, 0)},
    {QStringLiteral("tutor"), QColor(0, 160, 0)},
    {QStringLiteral("inf"), QColor(0, 0, 255)},
    {QStringLiteral("qu"), QColor(255, 0, 255)},
    {QStringLiteral("settings"), QColor(0, 200, 200)},
    {QStringLiteral("exit"), QColor(120, 60, 0)},
};

QColor pictureColour(const QString& name) {
    for (const auto& [n, colour] : kPictures) {
        if (n == name)
            return colour;
    }
    return {};
}

// The colour in the middle of the main window's picture; invalid when blank.
QColor shownColour() {
    const QPixmap shown = MainForm->Image1->pixmap();
    if (shown.isNull())
        return {};
    return shown.toImage().pixelColor(shown.width() / 2, shown.height() / 2);
}

bool near(const QColor& a, const QColor& b) {
    return a.isValid() && b.isValid() && qAbs(a.red() - b.red()) < 16 &&
           qAbs(a.green() - b.green()) < 16 && qAbs(a.blue() - b.blue()) < 16;
}

QWidget* window(const QString& name) {
    const QList<QPair<QString, QWidget*>> windows = {
        {QStringLiteral("main"), MainForm},    {QStringLiteral("settings"), SettingsForm},
        {QStringLiteral("reg"), RegTestForm},  {QStringLiteral("object"), ObjectForm},
        {QStringLiteral("session"), TestForm}, {QStringLiteral("results"), ValForm},
        {QStringLiteral("about"), AboutBox},
    };
    for (const auto& [n, w] : windows) {
        if (n == name)
            return w;
    }
    return nullptr;
}

QWidget* control(const QString& windowName, const QString& name) {
    const QList<QWidget*> found = window(windowName)->findChildren<QWidget*>(name);
    return found.size() == 1 ? found.first() : nullptr;
}

// The balloon that the pointer resting on the control brings up; empty
// when none comes. A balloon still fading out does not count.
QString balloonOver(QWidget* control) {
    for (QWidget* top : QApplication::topLevelWidgets()) {
        if (top->inherits("QTipLabel"))
            top->close();
    }
    const QPoint local(2, 2);
    QHelpEvent rest(QEvent::ToolTip, local, control->mapToGlobal(local));
    QApplication::sendEvent(control, &rest);
    return QToolTip::isVisible() ? QToolTip::text() : QString();
}

// Moves the pointer onto the middle of the control: through the window
// system when its window is on screen, else as the move it would deliver.
void pointTo(QWidget* control, QPoint local = {}) {
    if (local.isNull())
        local = control->rect().center();
    if (control->window()->isVisible()) {
        QTest::mouseMove(control, local);
        return;
    }
    QMouseEvent move(QEvent::MouseMove, local, control->mapToGlobal(local), Qt::NoButton,
                     Qt::NoButton, Qt::NoModifier);
    QApplication::sendEvent(control, &move);
}

} // namespace

class TestHints : public QObject {
    Q_OBJECT
    std::unique_ptr<fixture::RunningProgram> m_program;
    std::unique_ptr<fixture::MessageLog> m_log;

    // The bare ground of the main window, beside the buttons.
    QPoint bare(int dy = 0) const { return QPoint(210, 150 + dy); }

private slots:
    void initTestCase();
    void cleanupTestCase();

    void hintSplit_data();
    void hintSplit();

    void balloonTexts_data();
    void balloonTexts();
    void balloonsFollowTheSetting();
    void assignedAgainWhenShown_data();
    void assignedAgainWhenShown();
    void statusFollowsPointer_data();
    void statusFollowsPointer();
    void hoverDisplay();
};

void TestHints::initTestCase() {
    fixture::usePrivateConfig();
    m_program = std::make_unique<fixture::RunningProgram>();
    m_log = std::make_unique<fixture::MessageLog>();
    for (const auto& [name, colour] : kPictures) {
        QImage picture(60, 40, QImage::Format_RGB32);
        picture.fill(colour);
        const QString path =
            programPath(m_program->folder.path(), QStringLiteral("\\images\\%1.jpg").arg(name));
        QDir().mkpath(QFileInfo(path).absolutePath());
        QFile file(path);
        QVERIFY(file.open(QIODevice::WriteOnly));
        file.write(encodeJpeg(picture, 95));
    }
    // The start-up steps: texts, settings (first run: balloons off), welcome.
    MainForm->Timer1Timer();
    MainForm->show();
    QVERIFY(QTest::qWaitForWindowExposed(MainForm));
    QVERIFY2(m_log->messages().isEmpty(), qPrintable(m_log->texts().join('\n')));
}

void TestHints::cleanupTestCase() {
    m_log.reset();
    m_program.reset();
}

void TestHints::hintSplit_data() {
    QTest::addColumn<QString>("hint");
    QTest::addColumn<QString>("explanation");
    QTest::addColumn<QString>("phrase");
    QTest::newRow("no bar") << "лента с обяснения"
                            << ""
                            << "лента с обяснения";
    QTest::newRow("one bar") << "При натискането на този бутон, ще\rизлезете|изход"
                             << "При натискането на този бутон, ще\rизлезете"
                             << "изход";
    QTest::newRow("two bars") << "едно|две|три"
                              << "едно"
                              << "две|три";
    QTest::newRow("bar first") << "|само фраза"
                               << ""
                               << "само фраза";
    QTest::newRow("empty") << ""
                           << ""
                           << "";
}

void TestHints::hintSplit() {
    QFETCH(QString, hint);
    QFETCH(QString, explanation);
    QFETCH(QString, phrase);
    QStatusBar bar;
    setStatusText(&bar, QStringLiteral("остатък"));
    QCOMPARE(HintB(hint, &bar), explanation);
    QCOMPARE(statusText(&bar), phrase);
}

void TestHints::balloonTexts_data() {
    QTest::addColumn<QString>("window");
    QTest::addColumn<QString>("control");
    QTest::addColumn<bool>("balloon");
    QTest::addColumn<QString>("text");
    const auto row = [](const char* window, const char* control, bool balloon,
                        const QString& text) {
        QTest::addRow("%s %s", window, control)
            << QString::fromLatin1(window) << QString::fromLatin1(control) << balloon << text;
    };
    row("main", "Title1", true,
        QStringLiteral("При натискането и задържането на този бутон, ще\rможете да местите "
                       "позоцоята на програмат|премести прозореца"));
    row("main", "ExitBtn", false,
        QStringLiteral(
            "При натискането на този бутон, ще\rизлезете от програмата|изход от програмата"));
    row("main", "InfBtn", false,
        QStringLiteral("При натискането на този бутон, ще\rсе появи диалог, в който са "
                       "посочени\rнякой данни за програмата|информация за програмата"));
    row("main", "HelpBtn", false,
        QStringLiteral("При натискането на този бутон, ще\rсе появи информация, която описва\rкак "
                       "да работите с тази програма|помощна информация за програмата"));
    row("main", "TestBtn", false,
        QStringLiteral("При натискането на този бутон, ще\rзапочнете да правите тест върху даден "
                       "предмет|пусни тест"));
    row("main", "TestLANBtn", true,
        QStringLiteral("При натискането на този бутон, ще\rсе свържете със сървара за да направите "
                       "тест по мрежата|пусни тест зададет от сървъра"));
    row("main", "TutorBtn", false,
        QStringLiteral("При натискането на този бутон, ще\rзапочнете да се обучавате по даден "
                       "предмет|пусни обучение"));
    row("main", "printbtn", false,
        QStringLiteral("При натискането на този бутон, ще\rможете да разпечатате желания от вас "
                       "тест|принтиране"));
    row("main", "DiaryBtn", true,
        QStringLiteral("При натискането на този бутон, ще\rсе отвори програмата \"Дневник\",\rс "
                       "нея ще можете да проверите оценките\rна даден ученик|дневник с оценки"));
    row("main", "ThemeBtn", true,
        QStringLiteral("При натискането на този бутон, ще\rще се отвори програмата \"Теми, с нея "
                       "ще\"\rможете да изразработвате тестове|създаване на тестове"));
    row("main", "settingsbtn", false,
        QStringLiteral("При натискането на този бутон, ще\rможете да настройте програмата както "
                       "желаете|настройки на програмата"));
    row("main", "dictbtn", false,
        QStringLiteral("При натискането на този бутон, ще\rсе отвори програмата \"Речник\", с нея "
                       "ще\rможете да проверявате, добавяте, редактирате и\rизтривате термини "
                       "и/или думи|речник за термини и чужди думи"));
    row("settings", "CancelBtn", true,
        QStringLiteral("При натискането на този бутон ще,\rзатворите прозореца \"Настройки\"\rбез "
                       "да запазвате направените промени"));
    row("settings", "SaveBtn", true,
        QStringLiteral("При натискането на този бутон ще,,\rзатворите прозореца \"Настройки\"\rи "
                       "ще запазите направените промени"));
    row("settings", "shsc0", true,
        QStringLiteral("При отметване на това поле,\rкогато програмата стартира, автоматично\rс "
                       "нея ще се включи и помощната информация"));
    row("settings", "sbt0", true,
        QStringLiteral("При отметване на това поле,\rсе разрешава показването на\rбалони с помощна "
                       "информация"));
    row("settings", "sbbc1", true,
        QStringLiteral("При отметване на това поле, ще се показва бутон,\rс който ще можете да се "
                       "връщате с един бутон назад"));
    row("settings", "srqc1", true,
        QStringLiteral("При отметване на това поле, ще се показва списък\rс всички въпроси в теста "
                       "и така ще можете\rда отидете на желания въпрос"));
    row("settings", "chtime1", true,
        QStringLiteral(
            "При отметване на това поле, ще имате\rобщо време за отговарянето на всички въпроси"));
    row("settings", "hour1", true,
        QStringLiteral("Тук може да посочите колко часа да\rтрае решаването на "
                       "тест\r----------------------------------\rПосочените часове се добавят "
                       "към\rпосочените минути и секунди"));
    row("settings", "min1", true,
        QStringLiteral("Тук може да посочите колко минути да\rтрае решаването на "
                       "тест\r----------------------------------\rПосочените минути се добавят "
                       "към\rпосочените часове и секунди"));
    row("settings", "sec1", true,
        QStringLiteral("Тук може да посочите колко секунди да\rтрае решаването на "
                       "тест\r----------------------------------\rПосочените секунди се добавят "
                       "към\rпосочените часове и минути"));
    row("settings", "unnumcor1", true,
        QStringLiteral("При отметване на това поле, ще можете\rда поправяте отговора си "
                       "неограничен брой пъти"));
    row("settings", "numcor1", true,
        QStringLiteral(
            "Тук можете да ограничите поправките на отговор\rкато посочите техният нов брой"));
    row("settings", "sbbc2", true,
        QStringLiteral("При отметване на това поле, ще се показва бутон,\rс който ще можете да се "
                       "връщате с един бутон назад"));
    row("settings", "srqc2", true,
        QStringLiteral("При отметване на това поле, ще се показва списък\rс всички въпроси в теста "
                       "и така ще можете\rда отидете на желания въпрос"));
    row("settings", "sdc2d", true,
        QStringLiteral("При отметване на това поле, ще разрешите\rизползването на речник"));
    row("settings", "dict2", true,
        QStringLiteral("Тук можете да посочите кой речник да се използва"));
    row("settings", "sfac2d", true,
        QStringLiteral(
            "При отметване на това поле, ще разрешите\rпоказването на изчерпателен отговор"));
    row("reg", "fullname", true, QStringLiteral("Моля, въведете трите си имена"));
    row("reg", "Class1", true, QStringLiteral("Моля, въведете от кой клас сте"));
    row("reg", "division", true, QStringLiteral("Моля, въведете от коя паралелка сте"));
    row("reg", "noc", true, QStringLiteral("Моля, въведете номера си в клас"));
    row("reg", "RBtn", true, QStringLiteral("При натискането на този бутон, ще\rстартирате тест"));
    row("reg", "CBtn", true,
        QStringLiteral("При натискането на този бутон, ще\rзатворите прозореца \"Регистрация\""));
    row("object", "sec1", true,
        QStringLiteral(
            "Тук можете да посочите върху\rкой предмет и раздел ще правите тест или обучение"));
    row("object", "CancelBtn", true,
        QStringLiteral("При натискането на този бутон, ще\rзатворите прозореца \"Предмет\""));
    row("object", "numq1", true, QStringLiteral("Тук можете да посочите броя въпроси в теста"));
    row("object", "cl1", true, QStringLiteral("Тук можете да посочите кой клас сте"));
    row("object", "GoBtn", true,
        QStringLiteral("При натискането на този бутон, ще\rстартирате желания тест или обучение"));
    row("session", "DBImage1", true,
        QStringLiteral("Тук е изведено евентуално изображение,\rкъм въпроса"));
    row("session", "EndBtn", true,
        QStringLiteral("При натискане на този бутон, ще\rпрекратите теста или обучението "
                       "и\rпрограмата ще оцени и запази вашите знания"));
    row("session", "QP1", true,
        QStringLiteral("Тук можете да отидите на избран въпрос,\rтова може да стане като натисните "
                       "някаде върху лентата"));
    row("session", "BackBtn", true,
        QStringLiteral("При натискането на този бутон, ще\rсе върнете с един въпрос назад"));
    row("session", "NextBtn", true,
        QStringLiteral("При натискането на този бутон, ще\rотидите с един въпрос напред"));
    row("session", "searchedit", false,
        QStringLiteral("Тук можете да въведете непозната дума\rслед натискане на \"Enter\" ще се "
                       "покаже нейното значение"));
    row("session", "SearchBtn", false,
        QStringLiteral(
            "При натискането на този бутон, ще\rсе покаже значението на въведената дума"));
    row("session", "trans1", false, QStringLiteral("Тук е изведено значението на посочената дума"));
    row("results", "PrintBtn", true,
        QStringLiteral("При натискането на този бутон, ще\rразпечатате резултатите от теста на "
                       "съответния ученик"));
    row("results", "CloseBtn", true,
        QStringLiteral("При натискането на този бутон, ще\rзатворите прозореца \"Резултатите\""));
    row("about", "Memo1", false,
        QStringLiteral("Тук са изведени имената на всички хора\rили групи от хора, помогнали за "
                       "създаването\rна тази програма"));
    row("about", "CloseBtn", true,
        QStringLiteral("При натискането на този бутон, ще\rзатворите прозореца \"Информация\""));
}

// Every text lands on the control it names; with balloons on, the controls
// marked for balloons show the explanation in lines and the others none;
// with balloons off none shows anything.
void TestHints::balloonTexts() {
    QFETCH(QString, window);
    QFETCH(QString, control);
    QFETCH(bool, balloon);
    QFETCH(QString, text);
    QWidget* w = ::control(window, control);
    QVERIFY2(w, "no control of that name, or more than one");
    QCOMPARE(w->toolTip(), text);

    const bool wasOn = balloonsEnabled();
    setBalloonsEnabled(true);
    const QString shown = balloonOver(w);
    setBalloonsEnabled(false);
    const QString whenOff = balloonOver(w);
    setBalloonsEnabled(wasOn);
    QCOMPARE(shown, balloon ? text.section(QLatin1Char('|'), 0, 0).replace('\r', '\n') : QString());
    QCOMPARE(whenOff, QString());
}

// The setting switches balloons at once when saved; the hover display and
// the status bar work either way.
void TestHints::balloonsFollowTheSetting() {
    QVERIFY(!balloonsEnabled());
    QCOMPARE(QApplication::style()->styleHint(QStyle::SH_ToolTip_WakeUpDelay), 200);
    QCOMPARE(QToolTip::palette().color(QPalette::ToolTipBase), QColor(Qt::white));
    QCOMPARE(QToolTip::palette().color(QPalette::ToolTipText), QColor(0, 0, 128));
    QWidget* probe = RegTestForm->RBtn;
    const QString balloon = QStringLiteral("При натискането на този бутон, ще\nстартирате тест");
    QCOMPARE(balloonOver(probe), QString());
    MainForm->HoverShown = false;
    pointTo(MainForm->TestBtn);
    QCOMPARE(statusText(MainForm->StatusBar1), QStringLiteral("пусни тест"));
    QVERIFY(MainForm->HintLab->text().startsWith(QStringLiteral("При натискането")));
    QVERIFY(near(shownColour(), pictureColour(QStringLiteral("test"))));

    for (bool on : {true, false}) {
        SettingsForm->show();
        SettingsForm->sbt0->setChecked(on);
        SettingsForm->SaveBtn->click();
        QVERIFY(!SettingsForm->isVisible());
        QCOMPARE(balloonOver(probe), on ? balloon : QString());
        for (const char* small : {"StaticText2", "clBtn", "clImg"})
            QCOMPARE(balloonOver(control(QStringLiteral("session"), small)).isEmpty(), on);
    }
    MainForm->show();
}

void TestHints::assignedAgainWhenShown_data() {
    QTest::addColumn<QString>("window");
    QTest::addColumn<QString>("control");
    QTest::newRow("settings, buttons") << "settings"
                                       << "SaveBtn";
    QTest::newRow("settings, first page") << "settings"
                                          << "sbt0";
    QTest::newRow("settings, tutor page") << "settings"
                                          << "srqc2";
    QTest::newRow("information") << "about"
                                 << "CloseBtn";
}

void TestHints::assignedAgainWhenShown() {
    QFETCH(QString, window);
    QFETCH(QString, control);
    QWidget* w = ::control(window, control);
    QVERIFY(w);
    const QString hint = w->toolTip();
    w->setToolTip(QString());
    ::window(window)->show();
    QCOMPARE(w->toolTip(), hint);
    if (window == QLatin1String("settings"))
        SettingsForm->CancelBtnClick();
    else
        ::window(window)->close();
    QVERIFY(MainForm->isVisible());
}

void TestHints::statusFollowsPointer_data() {
    QTest::addColumn<QString>("window");
    QTest::addColumn<QString>("control");
    QTest::addColumn<QString>("status");
    QTest::newRow("title band") << "main"
                                << "Title1"
                                << "премести прозореца";
    QTest::newRow("command button") << "main"
                                    << "TestBtn"
                                    << "пусни тест";
    QTest::newRow("disabled button") << "main"
                                     << "DiaryBtn"
                                     << "дневник с оценки";
    QTest::newRow("picture area: no hint") << "main"
                                           << "Panel1"
                                           << "";
    QTest::newRow("status panel: the bar's own") << "main"
                                                 << "panel0"
                                                 << "лента с обяснения";
    QTest::newRow("word") << "session"
                          << "searchedit"
                          << "Тук можете да въведете непозната дума след натискане на \"Enter\" "
                             "ще се покаже нейното значение";
    QTest::newRow("look-up") << "session"
                             << "SearchBtn"
                             << "При натискането на този бутон, ще се покаже значението на "
                                "въведената дума";
    QTest::newRow("meaning, inside its box") << "session"
                                             << "qt_scrollarea_viewport"
                                             << "Тук е изведено значението на посочената дума";
    QTest::newRow("dictionary ground") << "session"
                                       << "GroupBox1"
                                       << "";
}

// The status bar shows the hint of the control under the pointer, the
// parent's where the control has none: the main window's the short phrase,
// the dictionary's status line the whole text.
void TestHints::statusFollowsPointer() {
    QFETCH(QString, window);
    QFETCH(QString, control);
    QFETCH(QString, status);
    QStatusBar* bar = window == QLatin1String("main") ? MainForm->StatusBar1 : TestForm->StatusBar1;
    QWidget* target = control == QLatin1String("qt_scrollarea_viewport")
                          ? TestForm->trans1->viewport()
                          : ::control(window, control);
    QVERIFY(target);
    setStatusText(bar, QStringLiteral("остатък"));
    pointTo(target, control == QLatin1String("GroupBox1") ? QPoint(3, 3) : QPoint());
    QCOMPARE(statusText(bar), status);
}

// The picture area through a pupil's moves: welcome, a button's picture and
// explanation, kept over the next button, blanked by the bare window; a
// picture that cannot be read is reported once per hover and the rest shown.
void TestHints::hoverDisplay() {
    m_log->clear();
    MainForm->HoverShown = false;
    MainForm->Timer1Timer();
    QVERIFY(MainForm->WelcomeShown);
    QVERIFY(!MainForm->HintLab->isVisible());
    QVERIFY(near(shownColour(), pictureColour(QStringLiteral("wellcome"))));

    QTest::mouseMove(MainForm, bare());
    QVERIFY(near(shownColour(), pictureColour(QStringLiteral("wellcome"))));

    const struct {
        QWidget* button;
        const char* picture;
    } commands[] = {
        {MainForm->TestBtn, "test"},         {MainForm->TutorBtn, "tutor"},
        {MainForm->InfBtn, "inf"},           {MainForm->HelpBtn, "qu"},
        {MainForm->settingsbtn, "settings"}, {MainForm->ExitBtn, "exit"},
    };
    int dy = 0;
    for (const auto& command : commands) {
        QTest::mouseMove(command.button);
        QVERIFY(near(shownColour(), pictureColour(QString::fromLatin1(command.picture))));
        const QString hint = command.button->toolTip();
        QCOMPARE(MainForm->HintLab->text(), hint.section('|', 0, 0).replace('\r', '\n'));
        QVERIFY(MainForm->HintLab->isVisible());
        QCOMPARE(statusText(MainForm->StatusBar1), hint.section('|', 1));
        // Straight onto another button: the first one's display stays.
        QWidget* other =
            command.button == MainForm->TestBtn ? MainForm->ExitBtn : MainForm->TestBtn;
        QTest::mouseMove(other);
        QVERIFY(near(shownColour(), pictureColour(QString::fromLatin1(command.picture))));
        QTest::mouseMove(MainForm, bare(++dy));
        QCOMPARE(shownColour(), QColor());
        QCOMPARE(MainForm->HintLab->text(), QString());
        QVERIFY(MainForm->HintLab->isVisible());
    }
    // A disabled button lets the pointer through to the bare window.
    QTest::mouseMove(MainForm->TutorBtn);
    QTest::mouseMove(MainForm->DiaryBtn);
    QCOMPARE(shownColour(), QColor());
    QVERIFY(m_log->messages().isEmpty());

    QVERIFY(
        QFile::remove(programPath(m_program->folder.path(), QStringLiteral("\\images\\inf.jpg"))));
    for (int hover = 1; hover <= 2; ++hover) {
        QTest::mouseMove(MainForm->InfBtn);
        QTest::mouseMove(MainForm->InfBtn, QPoint(4, 4));
        QCOMPARE(m_log->messages().size(), hover);
        QCOMPARE(m_log->messages().last().kind, MessageKind::Error);
        QCOMPARE(statusText(MainForm->StatusBar1), QStringLiteral("информация за програмата"));
        QVERIFY(MainForm->HintLab->text().endsWith(QStringLiteral("данни за програмата")));
        QTest::mouseMove(MainForm, bare(++dy));
    }
}

QTEST_MAIN(TestHints)
#include "tst_hints.moc"
