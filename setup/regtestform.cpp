#include "regtestform.h"

#include "kit/messages.h"
#include "kit/namedchild.h"
#include "kit/windows.h"
#include "objectform.h"
#include "settings/settingsstore.h"
#include "settings/spinfield.h"
#include "store/datamodule.h"
#include "store/pupilversion.h"
#include "ui/instances.h"
#include "ui/mainwindow.h"

#include <QComboBox>
#include <QCompleter>
#include <QGuiApplication>
#include <QLabel>
#include <QPushButton>
#include <QScreen>
#include <QSignalBlocker>

namespace {

constexpr SpinRange kNumberInClassRange{1, 99, 2};

const QString kMissingData = QStringLiteral("Моля, въведете данните си.");
const QString kNoTopics = QStringLiteral("Няма въведени теми за вашия клас.");

// A combo box the pupil may type into; what is typed never joins the list.
QComboBox* editableCombo(QWidget* parent, const char* name, QRect geometry) {
    auto* box = namedChild<QComboBox>(parent, name);
    box->setEditable(true);
    box->setInsertPolicy(QComboBox::NoInsert);
    box->setGeometry(geometry);
    return box;
}

// The value of a stored column as a list index 0 … count-1, or -1.
int storedIndex(const QString& stored, int count) {
    bool ok = false;
    const int n = stored.trimmed().toInt(&ok);
    return ok && n >= 1 && n <= count ? n - 1 : -1;
}

} // namespace

bool registrationComplete(const QString& fullName, const QString& division, int classIndex) {
    // A name or letter of blanks only names nobody: it would be stored as
    // an empty pupil.
    return !fullName.trimmed().isEmpty() && !division.trimmed().isEmpty() && classIndex >= 0;
}

TRegTestForm::TRegTestForm(QWidget* parent) : TForm(parent, Qt::Tool, TForm::Guard::Show) {
    setObjectName(QStringLiteral("RegTestForm"));
    setWindowTitle(QStringLiteral("Регистрация"));
    setFont(QFont(QStringLiteral("Arial"), 9));
    setFixedSize(290, 140);

    Label3 = namedChild<QLabel>(this, "Label3", QStringLiteral("трите имена"));

    Label3->setGeometry(8, 6, 200, 16);
    fullname = editableCombo(this, "fullname", {8, 23, 274, 23});
    // Earlier names are offered, never filled in while typing: a new pupil
    // whose name begins like an earlier one keeps the class he has chosen.
    fullname->completer()->setCompletionMode(QCompleter::PopupCompletion);

    Label4 = namedChild<QLabel>(this, "Label4", QStringLiteral("клас и паралелка"));

    Label4->setGeometry(8, 52, 120, 16);
    Class1 = editableCombo(this, "Class1", {8, 69, 52, 23});
    for (int c = 1; c <= 13; ++c)
        Class1->addItem(QString::number(c));
    division = editableCombo(this, "division", {66, 69, 52, 23});
    division->addItems(divisionLetters());

    Label5 = namedChild<QLabel>(this, "Label5", QStringLiteral("номер в клас"));

    Label5->setGeometry(150, 52, 120, 16);
    noc = namedChild<SpinField>(this, "noc");
    noc->setLimits(kNumberInClassRange);
    noc->setValue(1);
    noc->setGeometry(150, 69, 52, 23);

    RBtn = namedChild<QPushButton>(this, "RBtn", QStringLiteral("Готово"));
    RBtn->setGeometry(120, 106, 78, 25);
    RBtn->setDefault(true);
    CBtn = namedChild<QPushButton>(this, "CBtn", QStringLiteral("Отказ"));
    CBtn->setGeometry(204, 106, 78, 25);

    Class1->setCurrentIndex(0);
    division->setCurrentIndex(0);

    connectGuarded(fullname, &QComboBox::editTextChanged, this, &TRegTestForm::fullnameChange);
    connect(RBtn, &QPushButton::clicked, this, &TRegTestForm::RBtnClick);
    connect(CBtn, &QPushButton::clicked, this, &TRegTestForm::CBtnClick);

    centreOnScreen(this);
}

TRegTestForm::~TRegTestForm() = default;

void TRegTestForm::FormShow() {
    m_started = false;
    if (MainWindow)
        MainWindow->hide();

    Query& sd1 = DataModule2->sd1;
    sd1.close();
    upgradePupilFileBeforeUse(DataModule2->programFolder());
    sd1.setConnectionString(DataModule2->connectionString(DbFile::Students));
    sd1.setSql({QStringLiteral("select name,class,division,numofclass,dt from student"),
                QStringLiteral("union"),
                QStringLiteral("select name,class,division,numofclass,dt from student"),
                QStringLiteral("order by dt desc")});
    sd1.open();

    {
        // Filling the list is no choice of the pupil's.
        const QSignalBlocker block(fullname);
        fullname->clear();
        for (sd1.first(); !sd1.eof(); sd1.next())
            fullname->addItem(sd1.text(QStringLiteral("name")));
        fullname->setCurrentIndex(-1);
        fullname->clearEditText();
    }
    Class1->setCurrentIndex(0);
    division->setCurrentIndex(0);
    noc->setValue(1);
}

void TRegTestForm::fullnameChange() {
    Query& sd1 = DataModule2->sd1;
    // Without the pupil list (it could not be opened) there is nobody to
    // recognise; the error was reported when the window was shown.
    if (!sd1.isOpen())
        return;
    if (!sd1.locate(QStringLiteral("name"), fullname->currentText()))
        return;
    const int cls = storedIndex(sd1.text(QStringLiteral("class")), Class1->count());
    if (cls >= 0)
        Class1->setCurrentIndex(cls);
    const int div = storedIndex(sd1.text(QStringLiteral("division")), division->count());
    if (div >= 0)
        division->setCurrentIndex(div);
    bool ok = false;
    const int number = sd1.text(QStringLiteral("numofclass")).trimmed().toInt(&ok);
    if (ok)
        noc->setValue(number);
}

void TRegTestForm::RBtnClick() {
    const int cls = classIndex();
    if (!registrationComplete(fullname->currentText(), division->currentText(), cls)) {
        showMessage(MessageKind::Information, kMissingData);
        return;
    }
    try {
        Query& topics = DataModule2->Topics;
        topics.close();
        topics.setConnectionString(DataModule2->connectionString(DbFile::Topics));
        topics.setSql({QStringLiteral("select * from topics"), QStringLiteral("where class=:cl")});
        topics.setParam(QStringLiteral("cl"), cls + 1);
        topics.open();
        topics.first();
        ObjectForm->cl1->setCurrentIndex(cls);
        if (topics.recordCount() == 0) {
            showMessage(MessageKind::Information, kNoTopics);
            return;
        }
        m_started = true;
        ObjectForm->show();
        close();
    } catch (...) {
        showMessage(MessageKind::Information, kNoTopics);
    }
}

void TRegTestForm::CBtnClick() {
    m_started = false;
    close();
}

void TRegTestForm::FormClose() {
    if (!m_started && MainWindow)
        MainWindow->show();
    m_started = false;
}

QString TRegTestForm::fullName() const {
    return fullname->currentText();
}

QString TRegTestForm::classText() const {
    return Class1->currentText();
}

int TRegTestForm::classIndex() const {
    return Class1->findText(Class1->currentText(), Qt::MatchExactly | Qt::MatchCaseSensitive);
}

int TRegTestForm::divisionPosition() const {
    return ::divisionPosition(division->currentText());
}

int TRegTestForm::numberInClass() const {
    return noc->value();
}

#include "moc_regtestform.cpp"
