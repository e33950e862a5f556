#include "mainform.h"

#include "aboutbox.h"
#include "balloontexts.h"
#include "globals.h"
#include "helpstart.h"
#include "hover.h"
#include "kit/balloons.h"
#include "kit/hints.h"
#include "kit/messages.h"
#include "kit/namedchild.h"
#include "kit/windows.h"
#include "media/picture.h"
#include "settings/settingsform.h"
#include "store/connstr.h"
#include "store/paths.h"

#include <QAction>
#include <QApplication>
#include <QCheckBox>
#include <QContextMenuEvent>
#include <QDir>
#include <QFrame>
#include <QKeyEvent>
#include <QLabel>
#include <QMenu>
#include <QMouseEvent>
#include <QPushButton>
#include <QScreen>
#include <QStatusBar>
#include <QTimer>
#include <QToolButton>
#include <QWindow>

namespace {

constexpr int kClientWidth = 494;
constexpr int kClientHeight = 313;
constexpr int kTitleHeight = 56;
// The dialog frame drawn around the client area in place of a title bar.
constexpr int kFrame = 3;

// Alt+F4 closes no window of the program: pupils must not leave a run by it.
class AltF4Filter : public QObject {
public:
    using QObject::QObject;

protected:
    bool eventFilter(QObject* watched, QEvent* event) override {
        if (event->type() == QEvent::KeyPress || event->type() == QEvent::ShortcutOverride) {
            const auto* key = static_cast<QKeyEvent*>(event);
            if (key->key() == Qt::Key_F4 && (key->modifiers() & Qt::AltModifier))
                return true;
        }
        return QObject::eventFilter(watched, event);
    }
};

// A disabled control takes no right-click, and the toolkit does not pass it
// on: the menu that opens anywhere on the main window opens over it too.
class DisabledRightClick : public QObject {
public:
    explicit DisabledRightClick(Tmain* main) : QObject(main), m_main(main) {}

protected:
    bool eventFilter(QObject* watched, QEvent* event) override {
        auto* w = qobject_cast<QWidget*>(watched);
        if (event->type() != QEvent::ContextMenu || !w || w->isEnabled())
            return QObject::eventFilter(watched, event);
        if (m_main->MainPopupMenu1)
            m_main->MainPopupMenu1->popup(static_cast<QContextMenuEvent*>(event)->globalPos());
        return true;
    }

private:
    Tmain* m_main;
};

QPushButton* makeButton(QWidget* parent, const char* name, const QString& caption, QRect geometry,
                        bool enabled) {
    auto* b = namedChild<QPushButton>(parent, name, caption);
    b->setGeometry(geometry);
    b->setEnabled(enabled);
    b->setFocusPolicy(Qt::TabFocus);
    return b;
}

} // namespace

Tmain::Tmain(QWidget* parent) : TMainWindow(parent, Qt::Window | Qt::FramelessWindowHint) {
    setObjectName(QStringLiteral("main"));
    setWindowTitle(QStringLiteral("Kivor"));
    // FormCreate: the program folder is the working directory, whatever its length.
    ProgramFolder = QDir::currentPath();

    QFont font(QStringLiteral("Arial"), 9);
    setFont(font);
    setFixedSize(kClientWidth + 2 * kFrame, kClientHeight + 2 * kFrame);
    makeWhite(this);

    auto* frame = new QFrame(this);
    frame->setFrameStyle(QFrame::Panel | QFrame::Raised);
    frame->setLineWidth(kFrame);
    frame->setGeometry(0, 0, width(), height());
    frame->setAttribute(Qt::WA_TransparentForMouseEvents);

    auto* client = namedChild<QWidget>(this, "client");
    m_client = client;
    client->setGeometry(kFrame, kFrame, kClientWidth, kClientHeight);

    Title1 = namedChild<QLabel>(client, "Title1");
    Title1->setGeometry(0, 0, kClientWidth, kTitleHeight);
    Title1->setScaledContents(true);

    InfBtn = makeButton(client, "InfBtn", QStringLiteral("Информация"), {5, 59, 115, 25}, true);
    HelpBtn = makeButton(client, "HelpBtn", QStringLiteral("Помощ"), {125, 59, 81, 25}, true);
    TestBtn = makeButton(client, "TestBtn", QStringLiteral("Тест"), {5, 89, 98, 52}, true);
    TestBtn->setDefault(true);
    TestBtn->setIconSize(QSize(32, 32));
    TutorBtn = namedChild<QToolButton>(client, "TutorBtn");
    TutorBtn->setText(QStringLiteral("Обучение"));
    TutorBtn->setGeometry(108, 88, 98, 81);
    TutorBtn->setToolButtonStyle(Qt::ToolButtonTextUnderIcon);
    TutorBtn->setIconSize(QSize(32, 32));
    TutorBtn->setFocusPolicy(Qt::TabFocus);
    TestLANBtn =
        makeButton(client, "TestLANBtn", QStringLiteral("Тест по мрежа"), {5, 144, 98, 25}, false);
    printbtn =
        makeButton(client, "printbtn", QStringLiteral("Принтиране"), {5, 174, 201, 25}, false);
    DiaryBtn = makeButton(client, "DiaryBtn", QStringLiteral("Дневник"), {5, 205, 96, 25}, false);
    ThemeBtn = makeButton(client, "ThemeBtn", QStringLiteral("Теми"), {105, 205, 101, 25}, false);
    settingsbtn =
        makeButton(client, "settingsbtn", QStringLiteral("Настройки"), {5, 236, 116, 25}, true);
    dictbtn = makeButton(client, "dictbtn", QStringLiteral("Речник"), {125, 236, 81, 25}, false);
    ExitBtn = makeButton(client, "ExitBtn", QStringLiteral("Изход"), {5, 266, 201, 25}, true);

    Panel1 = namedChild<QFrame>(client, "Panel1");
    Panel1->setGeometry(209, 58, 283, 233);
    Panel1->setFrameStyle(QFrame::NoFrame);
    Image1 = namedChild<QLabel>(Panel1, "Image1");
    Image1->setGeometry(0, 0, 283, 145);
    Image1->setAlignment(Qt::AlignCenter);
    HintLab = namedChild<QLabel>(Panel1, "HintLab");
    HintLab->setGeometry(0, 145, 283, 88);
    HintLab->setAlignment(Qt::AlignHCenter | Qt::AlignBottom);
    HintLab->setWordWrap(true);
    HintLab->hide();

    StatusBar1 = namedChild<QStatusBar>(client, "StatusBar1");
    StatusBar1->setGeometry(0, 293, kClientWidth, 20);
    StatusBar1->setSizeGripEnabled(false);
    StatusBar1->setStyleSheet(QStringLiteral("QStatusBar { background: white; }"));
    setHint(StatusBar1, QStringLiteral("лента с обяснения"), Balloon::No);
    followHints(this, StatusBar1, HintPart::Phrase);
    watchPointer(this, [this](QWidget* control) { pointerMoved(control); });

    connect(TestBtn, &QPushButton::clicked, this, &Tmain::TestBtnClick);
    connect(TutorBtn, &QToolButton::clicked, this, &Tmain::TutorBtnClick);
    connect(InfBtn, &QPushButton::clicked, this, &Tmain::InfBtnClick);
    connect(HelpBtn, &QPushButton::clicked, this, &Tmain::HelpBtnClick);
    connect(settingsbtn, &QPushButton::clicked, this, &Tmain::settingsbtnClick);
    connect(ExitBtn, &QPushButton::clicked, this, &Tmain::ExitBtnClick);

    guarded([this] {
        Title1->setPixmap(QPixmap::fromImage(artPicture(QStringLiteral("title"))));
        TestBtn->setIcon(QPixmap::fromImage(artPicture(QStringLiteral("test-glyph"))));
        TutorBtn->setIcon(QPixmap::fromImage(artPicture(QStringLiteral("tutor-glyph"))));
    });

    setupBalloonLook();
    qApp->installEventFilter(new AltF4Filter(this));
    auto* rightClick = new DisabledRightClick(this);
    for (QWidget* child : findChildren<QWidget*>())
        child->installEventFilter(rightClick);

    Timer1 = new QTimer(this);
    Timer1->setSingleShot(true);
    Timer1->setInterval(200);
    connect(Timer1, &QTimer::timeout, this, &Tmain::Timer1Timer);
    Timer1->start();
}

Tmain::~Tmain() {
    delete MainPopupMenu1;
}

void Tmain::prse(unsigned classNo, QString& out) {
    ::prse(classNo, out);
}

int Tmain::dragBandHeight() const {
    return kFrame + kTitleHeight;
}

void Tmain::Timer1Timer() {
    Timer1->stop();
    // Each step that fails reports its error and skips the steps after it;
    // the installation check still follows on its own timer.
    guarded([this] {
        assignAllBalloons();
        if (SettingsForm) {
            SettingsForm->RegUpdate();
            SettingsForm->Dict();
            setBalloonsEnabled(SettingsForm->sbt0->isChecked());
            if (SettingsForm->shsc0->isChecked())
                startHelpProgram(ProgramFolder);
        }
        WelcomeShown = true;
        HintLab->hide();
        showPicture(QStringLiteral("\\images\\wellcome.jpg"));
    });
}

void Tmain::showPicture(const QString& relative) {
    const QImage picture = loadJpegFile(programPath(ProgramFolder, relative));
    Image1->setPixmap(QPixmap::fromImage(picture).scaled(Image1->size(), Qt::KeepAspectRatio,
                                                         Qt::SmoothTransformation));
}

void Tmain::pointerMoved(QWidget* control) {
    if (!control || !isEnabled())
        return;
    const struct {
        QWidget* button;
        void (Tmain::*hover)();
    } commands[] = {
        {TestBtn, &Tmain::TestBtnMouseMove},         {TutorBtn, &Tmain::TutorBtnMouseMove},
        {InfBtn, &Tmain::InfBtnMouseMove},           {HelpBtn, &Tmain::HelpBtnMouseMove},
        {settingsbtn, &Tmain::settingsbtnMouseMove}, {ExitBtn, &Tmain::ExitBtnMouseMove},
    };
    for (const auto& command : commands) {
        if (command.button == control || command.button->isAncestorOf(control)) {
            (this->*command.hover)();
            return;
        }
    }
    // A disabled control lets the pointer through to the window beneath it;
    // the picture area and the other controls keep the display as it is.
    if (control == this || control == m_client || !control->isEnabled())
        FormMouseMove();
}

void Tmain::buttonHover(QWidget* button, const QString& picture) {
    if (hoverMove(true, HoverShown, WelcomeShown) != HoverChange::ShowButton)
        return;
    HintLab->show();
    HintLab->setText(hintLines(HintB(button->toolTip(), StatusBar1)));
    // Set before the picture: a picture that cannot be read leaves the
    // explanation shown and is reported once, not at every move.
    guarded([&] { showPicture(picture); });
}

void Tmain::TestBtnMouseMove() {
    buttonHover(TestBtn, QStringLiteral("\\images\\test.jpg"));
}

void Tmain::TutorBtnMouseMove() {
    buttonHover(TutorBtn, QStringLiteral("\\images\\tutor.jpg"));
}

void Tmain::InfBtnMouseMove() {
    buttonHover(InfBtn, QStringLiteral("\\images\\inf.jpg"));
}

void Tmain::HelpBtnMouseMove() {
    buttonHover(HelpBtn, QStringLiteral("\\images\\qu.jpg"));
}

void Tmain::settingsbtnMouseMove() {
    buttonHover(settingsbtn, QStringLiteral("\\images\\settings.jpg"));
}

void Tmain::ExitBtnMouseMove() {
    buttonHover(ExitBtn, QStringLiteral("\\images\\exit.jpg"));
}

void Tmain::FormMouseMove() {
    if (hoverMove(false, HoverShown, WelcomeShown) != HoverChange::Blank)
        return;
    Image1->clear();
    HintLab->clear();
}

void Tmain::TestBtnClick() {
    if (mN1)
        mN1->trigger();
}

void Tmain::TutorBtnClick() {
    if (mN2)
        mN2->trigger();
}

void Tmain::InfBtnClick() {
    if (mN8)
        mN8->trigger();
}

void Tmain::HelpBtnClick() {
    if (mN13)
        mN13->trigger();
}

void Tmain::settingsbtnClick() {
    if (mN6)
        mN6->trigger();
}

void Tmain::ExitBtnClick() {
    close();
}

void Tmain::closeEvent(QCloseEvent* event) {
    QWidget::closeEvent(event);
    // Closing the main window ends the program, whichever windows are open.
    QCoreApplication::quit();
}

void Tmain::contextMenuEvent(QContextMenuEvent* event) {
    if (MainPopupMenu1)
        MainPopupMenu1->popup(event->globalPos());
}

void Tmain::mousePressEvent(QMouseEvent* event) {
    if (event->button() != Qt::LeftButton || event->position().y() >= dragBandHeight()) {
        QWidget::mousePressEvent(event);
        return;
    }
    // The window manager moves the window where it can; without one the
    // window follows the pointer itself.
    if (windowHandle() && windowHandle()->startSystemMove())
        return;
    m_dragging = true;
    m_dragOffset = event->globalPosition().toPoint() - frameGeometry().topLeft();
}

void Tmain::mouseMoveEvent(QMouseEvent* event) {
    if (m_dragging && (event->buttons() & Qt::LeftButton)) {
        move(event->globalPosition().toPoint() - m_dragOffset);
        return;
    }
    QWidget::mouseMoveEvent(event);
}

void Tmain::mouseReleaseEvent(QMouseEvent* event) {
    m_dragging = false;
    QWidget::mouseReleaseEvent(event);
}

void Tmain::centreOnScreen() {
    ::centreOnScreen(this);
}

#include "moc_mainform.cpp"
