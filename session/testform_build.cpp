// The session window's building: the strips, the five pages and the
// feedback banner, the connections of their handlers, and the layout pass
// that fits the boxes to the window's size.
#include "testform.h"

#include "eventlabel.h"
#include "matchcanvas.h"
#include "picturebox.h"
#include "widgetcolours.h"
#include "wrapbox.h"

#include "kit/balloons.h"
#include "kit/messages.h"
#include "kit/namedchild.h"
#include "media/picture.h"

#include <QCheckBox>
#include <QEvent>
#include <QFrame>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPixmap>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QScrollArea>
#include <QSlider>
#include <QStackedWidget>
#include <QStatusBar>
#include <QTextDocument>
#include <QTextEdit>
#include <QTimer>
#include <QToolButton>
#include <QVBoxLayout>
#include <algorithm>

namespace {

const QColor kWindowColour(0xEE, 0xF1, 0xF5);
const QColor kStripColour(0xDF, 0xE5, 0xEC);
const QColor kBannerColour(0xA6, 0xCA, 0xF0);
const QColor kBannerTextColour(0xAB, 0xCC, 0xF1);
const QColor kWordsHeadingColour(0xDD, 0xDD, 0xDD);
const QColor kLinkHoverColour(0x00, 0x00, 0xFF);

constexpr int kStripButton = 24;
constexpr int kBottomStripHeight = 46;

constexpr int kTermLeft = 10;
constexpr int kRowBoxWidth = 261;
constexpr int kRowBoxHeight = 44;
constexpr int kRowLabelRoom = 21; // 261 - 240: the label keeps clear of a scroll bar
constexpr int kMeaningRightMargin = 10;
constexpr int kCanvasLeft = 275;
constexpr int kCanvasTop = 10;
constexpr int kCanvasHeight = 456;
constexpr int kCanvasGap = 4; // between the canvas and the meaning column

constexpr int kGapPictureSide = 311;

QFont arialPixels(int pixels, bool bold = false) {
    QFont f(QStringLiteral("Arial"));
    f.setPixelSize(pixels);
    f.setBold(bold);
    return f;
}

EventLabel* link(const QString& name, const QString& caption) {
    auto* l = namedChild<EventLabel>(nullptr, name);
    l->setText(caption);
    l->setCursor(Qt::PointingHandCursor);
    QFont f = l->font();
    f.setUnderline(true);
    l->setFont(f);
    setTextColour(l, Qt::black);
    return l;
}

QToolButton* stripButton(QWidget* parent, const QString& name, const QString& caption) {
    auto* b = namedChild<QToolButton>(parent, name);
    b->setText(caption);
    b->setFixedSize(kStripButton, kStripButton);
    b->setAutoRaise(true);
    b->setFocusPolicy(Qt::NoFocus);
    return b;
}

// A box of the term page: a label in a small scroll box with a white ground.
WrapBox* rowBox(QWidget* parent, const QString& boxName, EventLabel* label, int tag) {
    label->setProperty("tag", tag);
    label->setFont(arialPixels(14));
    label->setCursor(Qt::PointingHandCursor);
    label->setMinimumHeight(40);
    setFillColour(label, Qt::white);
    auto* box = namedChild<WrapBox>(parent, boxName, label, kRowLabelRoom);
    // The page itself takes the keyboard, not each of its twenty boxes.
    box->setFocusPolicy(Qt::NoFocus);
    setFillColour(box->viewport(), Qt::white);
    box->resize(kRowBoxWidth, kRowBoxHeight);
    box->hide();
    return box;
}

} // namespace

void TTestForm::buildWindow() {
    QFont font(QStringLiteral("Arial"));
    font.setPixelSize(13);
    setFont(font);
    setFillColour(this, kWindowColour);

    auto* outer = new QVBoxLayout(this);
    outer->setContentsMargins(0, 0, 0, 0);
    outer->setSpacing(0);
    buildTopStrip(outer);

    Pages1 = namedChild<QStackedWidget>(this, "Pages1");
    Pages1->addWidget(buildFourAnswerPage());
    Pages1->addWidget(buildTermPage());
    Pages1->addWidget(buildGapPage());
    Pages1->addWidget(buildPicturePage());
    Pages1->addWidget(buildFullAnswerPage());
    outer->addWidget(Pages1, 1);

    buildBottomStrip(outer);
    buildBanner();
}

void TTestForm::buildTopStrip(QVBoxLayout* outer) {
    TopPanel1 = namedChild<QFrame>(this, "TopPanel1");
    TopPanel1->setFixedHeight(kStripButton);
    setFillColour(TopPanel1, kStripColour);

    SpeedButton5 = stripButton(TopPanel1, QStringLiteral("SpeedButton5"), QStringLiteral("|<"));
    SpeedButton1 = stripButton(TopPanel1, QStringLiteral("SpeedButton1"), QStringLiteral("<<"));
    SpeedButton2 = stripButton(TopPanel1, QStringLiteral("SpeedButton2"), QStringLiteral(">>"));
    ScrollCon = namedChild<QFrame>(TopPanel1, "ScrollCon");
    ScrollCon->setFixedHeight(kStripButton);
    setFillColour(ScrollCon, Qt::white);
    con = namedChild<QLabel>(ScrollCon, "con");
    con->setTextFormat(Qt::PlainText);
    con->setFont(arialPixels(16));
    con->move(kConditionStart, 0);
    con->setFixedHeight(kStripButton);

    auto* conditionRow = new QHBoxLayout;
    conditionRow->setContentsMargins(0, 0, 0, 0);
    conditionRow->setSpacing(0);
    conditionRow->addWidget(SpeedButton5);
    conditionRow->addWidget(SpeedButton1);
    conditionRow->addWidget(ScrollCon, 1);
    conditionRow->addWidget(SpeedButton2);

    fal1 = link(QStringLiteral("fal1"), QStringLiteral("Покажи изчерпателен отговор"));
    fab1 = namedChild<QFrame>(TopPanel1, "fab1");
    fab1->setFrameShape(QFrame::HLine);
    fab1->setFrameShadow(QFrame::Sunken);
    auto* fullAnswerRow = new QHBoxLayout;
    fullAnswerRow->setContentsMargins(8, 0, 8, 0);
    fullAnswerRow->setSpacing(8);
    fullAnswerRow->addWidget(fal1);
    fullAnswerRow->addWidget(fab1, 1);
    fal1->hide();
    fab1->hide();

    auto* strip = new QVBoxLayout(TopPanel1);
    strip->setContentsMargins(0, 0, 0, 0);
    strip->setSpacing(0);
    strip->addLayout(conditionRow);
    strip->addLayout(fullAnswerRow, 1);
    outer->addWidget(TopPanel1);
}

void TTestForm::buildBottomStrip(QVBoxLayout* outer) {
    ButtomPanel1 = namedChild<QFrame>(this, "ButtomPanel1");
    ButtomPanel1->setFixedHeight(kBottomStripHeight);
    setFillColour(ButtomPanel1, kStripColour);

    const auto button = [this](const QString& name, const QString& caption) {
        auto* b = namedChild<QPushButton>(ButtomPanel1, name, caption);
        b->setMinimumWidth(110);
        b->setMinimumHeight(30);
        return b;
    };
    EndBtn = button(QStringLiteral("EndBtn"), QStringLiteral("Приключих"));
    BackBtn = button(QStringLiteral("BackBtn"), QStringLiteral("Назад"));
    NextBtn = button(QStringLiteral("NextBtn"), QStringLiteral("Напред"));
    NextBtn->setDefault(true);

    Timer2 = namedChild<QLabel>(ButtomPanel1, "Timer2");
    Timer2->setFont(arialPixels(16, true));
    Timer2->setAlignment(Qt::AlignCenter);
    Timer2->setFixedWidth(100);
    Timer2->hide();

    QP1 = namedChild<QSlider>(ButtomPanel1, "QP1", Qt::Horizontal);
    QP1->setTickPosition(QSlider::TicksBelow);
    QP1->setTickInterval(1);
    QP1->setPageStep(1);
    QP1->setRange(1, 1);

    auto* row = new QHBoxLayout(ButtomPanel1);
    row->setContentsMargins(8, 6, 8, 6);
    row->setSpacing(10);
    row->addWidget(EndBtn);
    row->addWidget(Timer2);
    row->addWidget(QP1, 1);
    // Keeps "Назад" and "Напред" at the right when the track bar is hidden.
    row->addStretch(0);
    row->addWidget(BackBtn);
    row->addWidget(NextBtn);
    outer->addWidget(ButtomPanel1);
}

void TTestForm::buildBanner() {
    Panel10 = namedChild<QFrame>(this, "Panel10");
    Panel10->setFrameStyle(QFrame::Panel | QFrame::Raised);
    Panel10->setLineWidth(2);
    setFillColour(Panel10, kBannerColour);
    Panel10->setFixedSize(300, 120);

    StaticText2 = namedChild<EventLabel>(Panel10, "StaticText2");
    StaticText2->setFont(arialPixels(19, true));
    StaticText2->setAlignment(Qt::AlignCenter);
    StaticText2->setFrameStyle(QFrame::Panel | QFrame::Sunken);
    StaticText2->setCursor(Qt::PointingHandCursor);
    // The small controls of the window have a plain tip, never a balloon.
    setHint(StaticText2, QStringLiteral("натисни тук за да ме скриеш"), Balloon::Plain);
    setFillColour(StaticText2, kBannerTextColour);

    StatusBar2 = namedChild<EventLabel>(Panel10, "StatusBar2");
    StatusBar2->setText(QStringLiteral("натисни тук за да ме скриеш"));
    StatusBar2->setFrameStyle(QFrame::Panel | QFrame::Sunken);
    StatusBar2->setCursor(Qt::PointingHandCursor);
    StatusBar2->setContentsMargins(4, 1, 4, 1);

    auto* col = new QVBoxLayout(Panel10);
    col->setContentsMargins(6, 6, 6, 6);
    col->setSpacing(4);
    col->addWidget(StaticText2, 1);
    col->addWidget(StatusBar2);
    Panel10->hide();
}

QWidget* TTestForm::buildFourAnswerPage() {
    auto* page = namedChild<QWidget>(nullptr, "fourans");

    QuestPanel = namedChild<QFrame>(page, "QuestPanel");
    QuestPanel->setFixedHeight(200);
    Quest = namedChild<QLabel>(nullptr, "Quest");
    Quest->setFont(arialPixels(16));
    setFillColour(Quest, Qt::white);
    PQuest = namedChild<WrapBox>(QuestPanel, "PQuest", Quest, 21);
    setFillColour(PQuest->viewport(), Qt::white);

    m_questPictureColumn = new QWidget(QuestPanel);
    DBImage2 = namedChild<PictureBox>(m_questPictureColumn, "DBImage2");
    Label1 = link(QStringLiteral("Label1"), QStringLiteral("Покажи изображението самостоятелно"));
    Label1->setAlignment(Qt::AlignCenter);
    Label1->setWordWrap(true);
    auto* pictureColumn = new QVBoxLayout(m_questPictureColumn);
    pictureColumn->setContentsMargins(0, 0, 0, 0);
    pictureColumn->setSpacing(4);
    pictureColumn->addWidget(DBImage2, 1);
    pictureColumn->addWidget(Label1);

    auto* questRow = new QHBoxLayout(QuestPanel);
    questRow->setContentsMargins(0, 0, 0, 0);
    questRow->setSpacing(10);
    questRow->addWidget(PQuest, 1);
    questRow->addWidget(m_questPictureColumn);

    ClientPanel = namedChild<QWidget>(page, "ClientPanel");
    EventLabel** labels[4] = {&ans1, &ans2, &ans3, &ans4};
    WrapBox** boxes[4] = {&pans1, &pans2, &pans3, &pans4};
    for (int k = 0; k < 4; ++k) {
        auto* label = namedChild<EventLabel>(nullptr, QStringLiteral("ans%1").arg(k + 1));
        label->setFont(arialPixels(16));
        label->setCursor(Qt::PointingHandCursor);
        // Opaque, in the colour of its box.
        setFillColour(label, kPlainColour);
        auto* box =
            namedChild<WrapBox>(ClientPanel, QStringLiteral("pans%1").arg(k + 1), label, 21);
        setFillColour(box->viewport(), kPlainColour);
        *labels[k] = label;
        *boxes[k] = box;
        m_answers[size_t(k)] = label;
        m_answerBoxes[size_t(k)] = box;
    }
    ClientPanel->installEventFilter(this);

    auto* col = new QVBoxLayout(page);
    col->setContentsMargins(10, 10, 10, 10);
    col->setSpacing(5);
    col->addWidget(QuestPanel);
    col->addWidget(ClientPanel, 1);
    return page;
}

QWidget* TTestForm::buildTermPage() {
    auto* page = namedChild<QWidget>(nullptr, "termins");
    Panel8 = namedChild<QWidget>(page, "Panel8");
    EventLabel** terms[10] = {&t1, &t2, &t3, &t4, &t5, &t6, &t7, &t8, &t9, &t10};
    EventLabel** meanings[10] = {&tr1, &tr2, &tr3, &tr4, &tr5, &tr6, &tr7, &tr8, &tr9, &tr10};
    WrapBox** termBoxes[10] = {&pon1, &pon2, &pon3, &pon4, &pon5,
                               &pon6, &pon7, &pon8, &pon9, &pon10};
    WrapBox** meaningBoxes[10] = {&pto1, &pto2, &pto3, &pto4, &pto5,
                                  &pto6, &pto7, &pto8, &pto9, &pto10};
    for (int i = 0; i < 10; ++i) {
        auto* term = namedChild<EventLabel>(nullptr, QStringLiteral("t%1").arg(i + 1));
        auto* termBox = rowBox(Panel8, QStringLiteral("pon%1").arg(i + 1), term, i + 1);
        termBox->move(kTermLeft, MatchCanvas::rowTop(i + 1));
        auto* meaning = namedChild<EventLabel>(nullptr, QStringLiteral("tr%1").arg(i + 1));
        auto* meaningBox = rowBox(Panel8, QStringLiteral("pto%1").arg(i + 1), meaning, i + 1);
        meaning->unsetCursor();
        *terms[i] = term;
        *meanings[i] = meaning;
        *termBoxes[i] = termBox;
        *meaningBoxes[i] = meaningBox;
        m_terms[size_t(i)] = term;
        m_meanings[size_t(i)] = meaning;
        m_termBoxes[size_t(i)] = termBox;
        m_meaningBoxes[size_t(i)] = meaningBox;
    }
    // The matching canvas goes between the columns: from 275 to the
    // meanings, top 10, 456 high.
    ImgPnl1 = namedChild<QWidget>(Panel8, "ImgPnl1");
    ImgPnl1->setGeometry(kCanvasLeft, kCanvasTop, kRowBoxWidth, kCanvasHeight);
    ImgCnvs1 = namedChild<MatchCanvas>(ImgPnl1, "ImgCnvs1");
    ImgCnvs1->setGeometry(ImgPnl1->rect());
    arrow1 = namedChild<QLabel>(ImgPnl1, "arrow1");
    arrow1->setGeometry(MatchCanvas::kMarkerWidth, 0, MatchCanvas::kMarkerWidth,
                        MatchCanvas::kMarkerHeight);
    arrow1->setAttribute(Qt::WA_TransparentForMouseEvents);
    clBtn = namedChild<EventLabel>(ImgPnl1, "clBtn");
    clBtn->resize(19, 19);
    setHint(clBtn, QStringLiteral("премахни тази линия"), Balloon::Plain);
    clBtn->setCursor(Qt::PointingHandCursor);
    guarded([this] {
        arrow1->setPixmap(QPixmap::fromImage(artPicture(QStringLiteral("arrow"))));
        clBtn->setPixmap(QPixmap::fromImage(artPicture(QStringLiteral("remove-word"))));
    });
    arrow1->hide();
    clBtn->hide();

    // Where the keyboard stands on the page (it never takes a click).
    m_keyFocus = namedChild<QFrame>(Panel8, "keyFocus");
    m_keyFocus->setFrameShape(QFrame::Box);
    m_keyFocus->setLineWidth(2);
    m_keyFocus->setStyleSheet(QStringLiteral("QFrame#keyFocus { border: 2px dashed #0000FF; }"));
    m_keyFocus->setAttribute(Qt::WA_TransparentForMouseEvents);
    m_keyFocus->hide();
    Panel8->setFocusPolicy(Qt::StrongFocus);
    Panel8->installEventFilter(this);

    auto* col = new QVBoxLayout(page);
    col->setContentsMargins(0, 0, 0, 0);
    col->addWidget(Panel8);
    return page;
}

QWidget* TTestForm::buildGapPage() {
    auto* page = namedChild<QWidget>(nullptr, "text");

    auto* strip = new QWidget(page);
    strip->setFixedWidth(20);
    clBtn1 = namedChild<QFrame>(strip, "clBtn1");
    clBtn1->setFixedSize(19, 19);
    clImg = namedChild<EventLabel>(clBtn1, "clImg");
    clImg->setGeometry(0, 0, 19, 19);
    setHint(clImg, QStringLiteral("премахни тази дума"), Balloon::Plain);
    clImg->setCursor(Qt::PointingHandCursor);
    guarded([this] {
        clImg->setPixmap(QPixmap::fromImage(artPicture(QStringLiteral("remove-word"))));
    });
    clBtn1->hide();
    auto* stripCol = new QVBoxLayout(strip);
    stripCol->setContentsMargins(0, 0, 0, 0);
    stripCol->addWidget(clBtn1);
    stripCol->addStretch(1);

    Text1 = namedChild<QTextEdit>(page, "Text1");
    Text1->setReadOnly(true);
    Text1->setFont(arialPixels(16));
    Text1->document()->setDocumentMargin(12);
    Text1->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    Text1->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    Text1->viewport()->setCursor(Qt::ArrowCursor);
    Text1->setTextInteractionFlags(Qt::TextSelectableByMouse);

    auto* words = new QWidget(page);
    words->setFixedWidth(kGapPictureSide);
    DBImage3 = namedChild<PictureBox>(words, "DBImage3");
    DBImage3->setFixedSize(kGapPictureSide, kGapPictureSide);
    Label24 = link(QStringLiteral("Label24"), QStringLiteral("Покажи изображението самостоятелно"));
    Label24->setAlignment(Qt::AlignCenter);
    StaticText1 = namedChild<QLabel>(words, "StaticText1", QStringLiteral("Думи"));
    StaticText1->setAlignment(Qt::AlignCenter);
    StaticText1->setFont(arialPixels(14, true));
    StaticText1->setFixedHeight(24);
    setFillColour(StaticText1, kWordsHeadingColour);
    Words1 = namedChild<QListWidget>(words, "Words1");
    Words1->setFont(arialPixels(15));
    Words1->setSpacing(2);
    auto* wordsCol = new QVBoxLayout(words);
    wordsCol->setContentsMargins(0, 0, 0, 0);
    wordsCol->setSpacing(6);
    wordsCol->addWidget(DBImage3);
    wordsCol->addWidget(Label24);
    wordsCol->addWidget(StaticText1);
    wordsCol->addWidget(Words1, 1);

    auto* row = new QHBoxLayout(page);
    row->setContentsMargins(0, 10, 10, 10);
    row->setSpacing(0);
    row->addWidget(strip);
    row->addWidget(Text1, 1);
    row->addSpacing(10);
    row->addWidget(words);
    return page;
}

QWidget* TTestForm::buildPicturePage() {
    auto* page = namedChild<QWidget>(nullptr, "image");
    Label2 = link(QStringLiteral("Label2"), QStringLiteral("Обратно към въпроса"));
    Label2->setFont(arialPixels(15));
    QFont underline = Label2->font();
    underline.setUnderline(true);
    Label2->setFont(underline);
    chnsize1 = namedChild<QCheckBox>(page, "chnsize1", QStringLiteral("оригинални размери"));
    DBImage1 = namedChild<PictureBox>(nullptr, "DBImage1");
    DBImage1->setFocusPolicy(Qt::NoFocus);
    m_pictureScroll = new QScrollArea(page);
    m_pictureScroll->setFrameShape(QFrame::NoFrame);
    m_pictureScroll->setWidgetResizable(true);
    m_pictureScroll->setAlignment(Qt::AlignCenter);
    m_pictureScroll->setWidget(DBImage1);

    auto* top = new QHBoxLayout;
    top->addWidget(Label2);
    top->addStretch(1);
    top->addWidget(chnsize1);
    auto* col = new QVBoxLayout(page);
    col->setContentsMargins(10, 10, 10, 10);
    col->setSpacing(8);
    col->addLayout(top);
    col->addWidget(m_pictureScroll, 1);
    return page;
}

QWidget* TTestForm::buildFullAnswerPage() {
    auto* page = namedChild<QWidget>(nullptr, "fullans");

    GPQ = namedChild<QGroupBox>(page, "GPQ", QStringLiteral("Въпрос"));
    GPQ->setFixedSize(444, 185);
    QuestTTR = namedChild<QLabel>(nullptr, "QuestTTR");
    QuestTTR->setFont(arialPixels(14));
    m_gpqBox = new WrapBox(QuestTTR, 20, GPQ);
    m_gpqBox->setFrameShape(QFrame::NoFrame);
    auto* gpqCol = new QVBoxLayout(GPQ);
    gpqCol->setContentsMargins(6, 6, 6, 6);
    gpqCol->addWidget(m_gpqBox);

    Label23 = namedChild<QLabel>(page, "Label23", QStringLiteral("изчерпателен отговор"));
    Label23->setFont(arialPixels(14, true));
    FullAns = namedChild<QLabel>(nullptr, "FullAns");
    FullAns->setFont(arialPixels(16));
    setFillColour(FullAns, Qt::white);
    FAP = namedChild<WrapBox>(page, "FAP", FullAns, 20);
    setFillColour(FAP->viewport(), Qt::white);

    // The dictionary: a word, its look-up, its meaning, and a status line
    // that explains the control under the pointer.
    GroupBox1 = namedChild<QGroupBox>(page, "GroupBox1", QStringLiteral("Речник"));
    GroupBox1->setMinimumSize(342, 204);
    searchedit = namedChild<QLineEdit>(GroupBox1, "searchedit");
    searchedit->setToolTip(QStringLiteral("търсена дума"));
    SearchBtn = namedChild<QPushButton>(GroupBox1, "SearchBtn", QStringLiteral("Търси"));
    SearchBtn->setToolTip(QStringLiteral("търси значение на тази дума"));
    trans1 = namedChild<QPlainTextEdit>(GroupBox1, "trans1");
    trans1->setReadOnly(true);
    trans1->setToolTip(QStringLiteral("значение"));
    StatusBar1 = namedChild<QStatusBar>(GroupBox1, "StatusBar1");
    StatusBar1->setSizeGripEnabled(false);
    auto* searchRow = new QHBoxLayout;
    searchRow->addWidget(searchedit, 1);
    searchRow->addWidget(SearchBtn);
    auto* dictCol = new QVBoxLayout(GroupBox1);
    dictCol->setContentsMargins(6, 6, 6, 0);
    dictCol->setSpacing(4);
    dictCol->addLayout(searchRow);
    dictCol->addWidget(trans1, 1);
    dictCol->addWidget(StatusBar1);

    Label26 = link(QStringLiteral("Label26"), QStringLiteral("Обратно към въпроса"));
    Label26->setAlignment(Qt::AlignCenter);

    auto* top = new QHBoxLayout;
    top->setSpacing(10);
    top->addWidget(GroupBox1, 1);
    top->addWidget(GPQ, 0, Qt::AlignTop);
    auto* col = new QVBoxLayout(page);
    col->setContentsMargins(10, 10, 10, 6);
    col->setSpacing(8);
    col->addLayout(top);
    col->addWidget(Label23, 0, Qt::AlignRight);
    col->addWidget(FAP, 1);
    col->addWidget(Label26, 0, Qt::AlignHCenter);
    return page;
}

void TTestForm::connectHandlers() {
    connectGuarded(Timer1, &QTimer::timeout, this, &TTestForm::Timer1Timer);
    connect(Timer5, &QTimer::timeout, this, &TTestForm::Timer5Timer);
    connect(DesignTimer1, &QTimer::timeout, this, &TTestForm::DesignTimer1Timer);
    connect(ScrollerLeft1, &QTimer::timeout, this, &TTestForm::ScrollerLeft1Timer);
    connect(ScrollerRight1, &QTimer::timeout, this, &TTestForm::ScrollerRight1Timer);

    connect(SpeedButton1, &QToolButton::pressed, this, &TTestForm::SpeedButton1MouseDown);
    connect(SpeedButton1, &QToolButton::released, this, &TTestForm::SpeedButton1MouseUp);
    connect(SpeedButton2, &QToolButton::pressed, this, &TTestForm::SpeedButton2MouseDown);
    connect(SpeedButton2, &QToolButton::released, this, &TTestForm::SpeedButton2MouseUp);
    connect(SpeedButton5, &QToolButton::clicked, this, &TTestForm::SpeedButton5Click);

    connectGuarded(EndBtn, &QPushButton::clicked, this, &TTestForm::EndBtnClick);
    connectGuarded(BackBtn, &QPushButton::clicked, this, &TTestForm::BackBtnClick);
    connectGuarded(NextBtn, &QPushButton::clicked, this, &TTestForm::NextBtnClick);
    connectGuarded(QP1, &QSlider::valueChanged, this, &TTestForm::QP1Change);
    connectGuarded(Pages1, &QStackedWidget::currentChanged, this, &TTestForm::Pages1PageChanged);

    void (TTestForm::*clicks[4])() = {&TTestForm::Ans1Click, &TTestForm::Ans2Click,
                                      &TTestForm::Ans3Click, &TTestForm::Ans4Click};
    for (int k = 0; k < 4; ++k) {
        EventLabel* label = m_answers[size_t(k)];
        connectGuarded(label, &EventLabel::clicked, this, clicks[k]);
        connect(label, &EventLabel::entered, this, [this, label] { ans1MouseEnter(label); });
        connect(label, &EventLabel::left, this, [this, label] { ans1MouseLeave(label); });
    }

    connect(Label1, &EventLabel::clicked, this, &TTestForm::Label1Click);
    connect(Label2, &EventLabel::clicked, this, &TTestForm::Label2Click);
    connect(Label24, &EventLabel::clicked, this, &TTestForm::Label24Click);
    connect(fal1, &EventLabel::clicked, this, &TTestForm::fal1Click);
    connectGuarded(Label26, &EventLabel::clicked, this, &TTestForm::Label26Click);
    connectGuarded(SearchBtn, &QPushButton::clicked, this, &TTestForm::searchbtnClick);
    connect(searchedit, &QLineEdit::returnPressed, this, &TTestForm::searcheditKeyDown);
    for (EventLabel* l : {Label1, Label2, Label24, fal1, Label26}) {
        connect(l, &EventLabel::entered, this, [l] { setTextColour(l, kLinkHoverColour); });
        connect(l, &EventLabel::left, this, [l] { setTextColour(l, Qt::black); });
    }
    connect(chnsize1, &QCheckBox::toggled, this, &TTestForm::chnsize1Click);
    connect(StaticText2, &EventLabel::clicked, this, &TTestForm::StaticText2Click);
    connectTermPage();
    connectGapPage();
    connect(StatusBar2, &EventLabel::clicked, this, &TTestForm::StaticText2Click);
}

bool TTestForm::eventFilter(QObject* watched, QEvent* event) {
    if (watched == Panel8) {
        switch (event->type()) {
        case QEvent::KeyPress:
            if (termPageKey(static_cast<QKeyEvent*>(event)))
                return true;
            break;
        case QEvent::FocusIn:
            termPageFocused(static_cast<QFocusEvent*>(event)->reason());
            break;
        case QEvent::FocusOut:
            showKeyFocus();
            break;
        default:
            break;
        }
    }
    if (event->type() == QEvent::Resize) {
        if (watched == ClientPanel)
            placeAnswerBoxes();
        else if (watched == Panel8)
            placeMeaningBoxes();
    }
    return QWidget::eventFilter(watched, event);
}

void TTestForm::placeAnswerBoxes() {
    const int w = std::max(1, ClientPanel->width() / 2 - 7);
    const int h = std::max(1, ClientPanel->height() / 2 - 7);
    pans1->setGeometry(5, 5, w, h);
    pans2->setGeometry(pans1->width() + 10, 5, w, h);
    pans3->setGeometry(5, pans1->height() + 10, w, h);
    pans4->setGeometry(pans3->width() + 10, pans2->height() + 10, w, h);
    for (WrapBox* box : m_answerBoxes)
        box->refit();
}

void TTestForm::placeMeaningBoxes() {
    const int left = std::max(kCanvasLeft + MatchCanvas::kMarkerWidth * 3,
                              Panel8->width() - kRowBoxWidth - kMeaningRightMargin);
    for (int i = 0; i < 10; ++i)
        m_meaningBoxes[size_t(i)]->move(left, MatchCanvas::rowTop(i + 1));
    // The canvas widens with the window; the remove-line button keeps just
    // left of the right markers.
    ImgPnl1->setGeometry(kCanvasLeft, kCanvasTop, left - kCanvasGap - kCanvasLeft, kCanvasHeight);
    ImgCnvs1->setGeometry(ImgPnl1->rect());
    clBtn->move(ImgPnl1->width() - MatchCanvas::kMarkerWidth - clBtn->width(), clBtn->y());
    showKeyFocus();
}

void TTestForm::resizeEvent(QResizeEvent* event) {
    QWidget::resizeEvent(event);
    // The banner stays in the middle of the window whatever its size now.
    centreBanner();
}

void TTestForm::centreBanner() {
    const QRect outer = frameGeometry();
    Panel10->move(outer.width() / 2 - Panel10->width() / 2,
                  outer.height() / 2 - Panel10->height() / 2);
}

void TTestForm::Design() {
    if (layout())
        layout()->activate();
    const int questHeight =
        std::max(0, (frameGeometry().height() - TopPanel1->height() - ButtomPanel1->height()) / 3);
    QuestPanel->setFixedHeight(questHeight);
    m_questPictureColumn->setFixedWidth(questHeight);
    // The sizes below are read from the page as it now stands.
    for (QWidget* w : {Pages1->widget(FourAnswers), static_cast<QWidget*>(QuestPanel)})
        if (QLayout* l = w->layout())
            l->activate();
    PQuest->refit();
    placeAnswerBoxes();
    FAP->refit();
    m_gpqBox->refit();
    centreBanner();
}

void TTestForm::DesignTimer1Timer() {
    Design();
}
