#include "aboutbox.h"

#include "balloontexts.h"
#include "globals.h"
#include "kit/messages.h"
#include "kit/namedchild.h"
#include "kit/windows.h"
#include "mainform.h"
#include "media/picture.h"

#include <QFrame>
#include <QGuiApplication>
#include <QLabel>
#include <QPushButton>
#include <QScreen>

namespace {

QLabel* label(QWidget* parent, const char* name, QRect geometry, int pointSize = 9,
              bool bold = false) {
    auto* l = namedChild<QLabel>(parent, name);
    l->setGeometry(geometry);
    QFont f(QStringLiteral("Arial"), pointSize);
    f.setBold(bold);
    l->setFont(f);
    return l;
}

} // namespace

TAboutBox::TAboutBox(QWidget* parent) : TForm(parent, Qt::Tool) {
    setObjectName(QStringLiteral("AboutBox"));
    setWindowTitle(QStringLiteral("Информация"));
    setFixedSize(364, 287);
    makeWhite(this);
    setFont(QFont(QStringLiteral("Arial"), 9));

    ProgramIcon = label(this, "ProgramIcon", {0, 0, 364, 111});
    ProgramIcon->setScaledContents(true);
    guarded([this] {
        ProgramIcon->setPixmap(QPixmap::fromImage(artPicture(QStringLiteral("about"))));
    });
    // The names stand over the picture.
    Company = label(ProgramIcon, "Company", {16, 8, 300, 26}, 14, true);
    ProductName = label(ProgramIcon, "ProductName", {16, 30, 300, 50}, 30, true);
    Version = label(ProgramIcon, "Version", {20, 82, 200, 20});
    for (QLabel* l : {Company, ProductName, Version}) {
        QPalette p = l->palette();
        p.setColor(QPalette::WindowText, QColor(0, 0, 128));
        l->setPalette(p);
    }

    Credit = label(this, "Credit", {12, 118, 340, 18});
    ContactsLabel = label(this, "ContactsLabel", {12, 140, 70, 18});
    Contact1 = label(this, "Contact1", {84, 140, 270, 18});
    Contact2 = label(this, "Contact2", {84, 158, 270, 18});

    Memo1 = label(this, "Memo1", {4, 180, 355, 66});
    Memo1->setWordWrap(true);
    Memo1->setAlignment(Qt::AlignCenter);
    Memo1->setTextInteractionFlags(Qt::TextSelectableByMouse);

    auto* line = new QFrame(this);
    line->setFrameStyle(QFrame::HLine | QFrame::Sunken);
    line->setGeometry(4, 249, 356, 2);
    Origin = label(this, "Origin", {12, 257, 250, 22}, 8);
    CloseBtn = namedChild<QPushButton>(this, "CloseBtn", QStringLiteral("Затвори"));
    CloseBtn->setGeometry(274, 256, 82, 25);
    connect(CloseBtn, &QPushButton::clicked, this, &TAboutBox::CloseBtnClick);

    centreOnScreen(this);
}

void TAboutBox::FormShow() {
    Company->setText(QStringLiteral("Tamrel"));
    ProductName->setText(QStringLiteral("Kivor"));
    Version->setText(QStringLiteral("версия 2.5"));
    Credit->setText(QStringLiteral("създадено от екипа на Kivor в Tamrel"));
    ContactsLabel->setText(QStringLiteral("контакти:"));
    Contact1->setText(QStringLiteral("учителят по информатика в училище"));
    Contact2->setText(QStringLiteral("екипът на Kivor в Tamrel"));
    Memo1->setText(
        QStringLiteral("Благодарим на учителите, които написаха първите въпроси и речници, "
                       "и на учениците, които решиха първите тестове и ни казаха "
                       "кое е неясно."));
    Origin->setText(QStringLiteral("Tamrel Kivor 2 · България"));
    ShowBalloons_About(*this);
    if (MainForm)
        MainForm->hide();
}

void TAboutBox::FormClose() {
    if (MainForm)
        MainForm->show();
}

void TAboutBox::CloseBtnClick() {
    close();
}

#include "moc_aboutbox.cpp"
