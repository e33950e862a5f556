#include "objectform.h"

#include "drawing.h"
#include "kit/messages.h"
#include "kit/namedchild.h"
#include "kit/windows.h"
#include "progressform.h"
#include "random.h"
#include "regtestform.h"
#include "session/eventlabel.h"
#include "session/testform.h"
#include "settings/settingsform.h"
#include "settings/settingsstore.h"
#include "settings/spinfield.h"
#include "store/datamodule.h"
#include "store/jetsql.h"
#include "ui/instances.h"
#include "ui/mainwindow.h"

#include <QCheckBox>
#include <QComboBox>
#include <QCompleter>
#include <QFrame>
#include <QGuiApplication>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QScreen>
#include <QShowEvent>
#include <QSignalBlocker>
#include <algorithm>

namespace {

const QString kTest = QStringLiteral("test");

const QString kTooFewInSections = QStringLiteral("В разделите към този предмет\rняма достатъчно "
                                                 "въведени въпроси.\rМинимума на въпросите в 1 "
                                                 "раздел е 2 броя");
const QString kProgramProblem = QStringLiteral("Има проблем в програмата! Моля, опитайте отново");

// The count as built; a chosen section sets its own maximum.
constexpr SpinRange kCountAsBuilt{1, 100, 3};

constexpr int kComboTop = 21;
constexpr int kComboHeight = 23;
constexpr int kLabelTop = 5;

// A section is offered only when a run over it can ask two questions.
constexpr int kMinimumQuestions = 2;

// Room for every digit of the largest count a section allows.
SpinRange countRange(int min, int max) {
    return {min, max, std::max(kCountAsBuilt.maxLength, int(QString::number(max).size()))};
}

void selectQuestions(Query& themes, const QString& table) {
    themes.setSql(
        {QStringLiteral("select * from ") + quoteName(table), QStringLiteral("where test=1")});
    themes.open();
}

} // namespace

QStringList subjectEntries(const QStringList& objects) {
    QStringList entries;
    for (const QString& object : objects)
        if (!entries.contains(object))
            entries.append(object);
    std::stable_sort(entries.begin(), entries.end(), [](const QString& a, const QString& b) {
        return QString::compare(a, b, Qt::CaseInsensitive) < 0;
    });
    return entries;
}

TObjectForm::TObjectForm(QWidget* parent) : TForm(parent, Qt::Tool, TForm::Guard::Show) {
    setObjectName(QStringLiteral("ObjectForm"));
    setWindowTitle(QStringLiteral("Предмет"));
    setFont(QFont(QStringLiteral("Arial"), 9));
    setFixedSize(406, 268);

    Label1 = namedChild<QLabel>(this, "Label1", QStringLiteral("клас"));

    Label1->setGeometry(5, kLabelTop, 40, 16);
    cl1 = namedChild<QComboBox>(this, "cl1");
    cl1->setGeometry(5, kComboTop, 40, kComboHeight);
    for (int c = 1; c <= 13; ++c)
        cl1->addItem(QString::number(c));

    Label4 = namedChild<QLabel>(this, "Label4", QStringLiteral("предмет"));

    Label4->setGeometry(50, kLabelTop, 200, 16);
    ob1 = namedChild<QComboBox>(this, "ob1");
    ob1->setEditable(true);
    ob1->setInsertPolicy(QComboBox::NoInsert);
    ob1->completer()->setCaseSensitivity(Qt::CaseSensitive);
    ob1->setGeometry(50, kComboTop, 351, kComboHeight);

    Label5 = namedChild<QLabel>(this, "Label5", QStringLiteral("раздел"));

    Label5->setGeometry(5, 50, 200, 16);
    sec1 = namedChild<QListWidget>(this, "sec1");
    sec1->setGeometry(5, 66, 396, 130);

    Label2 = namedChild<QLabel>(this, "Label2", QStringLiteral("брой въпроси"));

    Label2->setGeometry(5, 207, 90, 16);
    numq1 = namedChild<SpinField>(this, "numq1");
    numq1->setLimits(kCountAsBuilt);
    numq1->setValue(1);
    numq1->setEnabled(false);
    numq1->setGeometry(96, 203, 70, kComboHeight);

    CancelBtn = namedChild<QPushButton>(this, "CancelBtn", QStringLiteral("Отказ"));

    CancelBtn->setGeometry(190, 236, 90, 25);
    GoBtn = namedChild<QPushButton>(this, "GoBtn", QStringLiteral("Стартирай теста"));
    GoBtn->setGeometry(286, 236, 115, 25);
    GoBtn->setEnabled(false);
    GoBtn->setDefault(true);

    // Only the pupil's own choices count as changes: filling and resetting
    // the lists by program runs no handler.
    connect(cl1, &QComboBox::activated, this, &TObjectForm::cl1Change);
    connectGuarded(ob1, &QComboBox::editTextChanged, this, &TObjectForm::ob1Change);
    // A subject typed by hand is told about once it is complete: on Enter
    // or when the pupil leaves the box, not at every letter.
    connect(ob1->lineEdit(), &QLineEdit::editingFinished, this, [this] {
        if (sec1->count() == 0 && !ob1->currentText().isEmpty())
            tellTooFewQuestions();
    });
    connectGuarded(sec1, &QListWidget::itemSelectionChanged, this, &TObjectForm::sec1Click);
    connect(numq1, &QSpinBox::valueChanged, this, &TObjectForm::numq1Change);
    connectGuarded(GoBtn, &QPushButton::clicked, this, &TObjectForm::gobtnClick);
    connect(CancelBtn, &QPushButton::clicked, this, &TObjectForm::CancelBtnClick);

    centreOnScreen(this);
}

TObjectForm::~TObjectForm() = default;

void TObjectForm::FormShow() {
    if (RegTestForm)
        RegTestForm->hide();
    if (MainWindow)
        MainWindow->hide();

    Query& topics = DataModule2->Topics;
    if (SessionKind == kTest) {
        // The class is the registered one: the registration has set cl1 and
        // left Topics on the class's topic rows.
        Label1->hide();
        cl1->hide();
        ob1->setGeometry(5, kComboTop, 396, kComboHeight);
        Label4->move(5, kLabelTop);
    } else {
        Label1->show();
        cl1->show();
        cl1->setCurrentIndex(0);
        ob1->setGeometry(50, kComboTop, 351, kComboHeight);
        Label4->move(50, kLabelTop);
        topics.close();
        topics.setConnectionString(DataModule2->connectionString(DbFile::Topics));
        topics.setSql({QStringLiteral("select distinct object from topics"),
                       QStringLiteral("where class=:cl")});
        topics.setParam(QStringLiteral("cl"), 1);
        topics.open();
    }
    listSubjects();

    topics.close();
    topics.setConnectionString(DataModule2->connectionString(DbFile::Topics));
    topics.setSql({QStringLiteral("select * from topics"), QStringLiteral("where class=:cl")});
    topics.setParam(QStringLiteral("cl"), cl1->currentIndex() + 1);
    topics.open();

    {
        const QSignalBlocker block(sec1);
        sec1->clear();
    }
    numq1->setValue(1);
    numq1->setEnabled(false);
    GoBtn->setEnabled(false);
}

void TObjectForm::listSubjects() {
    Query& topics = DataModule2->Topics;
    QStringList objects;
    if (topics.isOpen())
        for (topics.first(); !topics.eof(); topics.next())
            objects.append(topics.text(QStringLiteral("object")));
    const QSignalBlocker block(ob1);
    ob1->clear();
    ob1->addItems(subjectEntries(objects));
    ob1->setCurrentIndex(-1);
    ob1->clearEditText();
}

void TObjectForm::cl1Change() {
    try {
        Query& topics = DataModule2->Topics;
        topics.close();
        topics.setConnectionString(DataModule2->connectionString(DbFile::Topics));
        topics.setSql({QStringLiteral("select distinct object from topics"),
                       QStringLiteral("where class=") + QString::number(cl1->currentIndex() + 1)});
        topics.open();
        listSubjects();
        TOB(quint8(cl1->currentIndex()), QString());
        const QSignalBlocker block(sec1);
        sec1->clear();
    } catch (...) {
        // A class whose subjects cannot be read offers nothing to start.
    }
    numq1->setEnabled(false);
    GoBtn->setEnabled(false);
}

void TObjectForm::tellTooFewQuestions() {
    if (m_toldFor == ob1->currentText())
        return;
    m_toldFor = ob1->currentText();
    showMessage(MessageKind::Information, kTooFewInSections);
}

void TObjectForm::ob1Change() {
    if (ob1->currentText() != m_toldFor)
        m_toldFor.clear();
    TOB(quint8(cl1->currentIndex()), selectedSubject());
    {
        const QSignalBlocker block(sec1);
        sec1->clear();
    }
    numq1->setEnabled(false);
    GoBtn->setEnabled(false);

    Query& topics = DataModule2->Topics;
    Query& themes = DataModule2->Themes;
    bool added = false;
    if (topics.isOpen()) {
        for (topics.first(); !topics.eof(); topics.next()) {
            themes.close();
            themes.setConnectionString(
                DataModule2->connectionString(DbFile::Class, unsigned(cl1->currentIndex() + 1)));
            selectQuestions(themes, topics.text(QStringLiteral("table")));
            if (themes.recordCount() >= kMinimumQuestions) {
                // The topic row goes with the entry: a section name may stand
                // twice under one subject.
                auto* item = new QListWidgetItem(topics.text(QStringLiteral("section")));
                item->setData(Qt::UserRole, topics.recNo());
                const QSignalBlocker block(sec1);
                sec1->addItem(item);
                added = true;
            }
        }
    }
    themes.close();
    if (!added) {
        // A subject from the list is complete; a text being typed is not yet.
        if (!selectedSubject().isEmpty())
            tellTooFewQuestions();
        const QSignalBlocker block(sec1);
        sec1->clear();
    }
}

void TObjectForm::sec1Click() {
    const QListWidgetItem* item = sec1->currentItem();
    if (!item || !item->isSelected())
        return;
    Query& topics = DataModule2->Topics;
    Query& themes = DataModule2->Themes;
    themes.close();
    themes.setConnectionString(
        DataModule2->connectionString(DbFile::Class, unsigned(cl1->currentIndex() + 1)));
    if (!topics.isOpen())
        return;
    topics.moveTo(item->data(Qt::UserRole).toInt());
    selectQuestions(themes, topics.text(QStringLiteral("table")));
    const int rows = themes.recordCount();
    if (rows < kMinimumQuestions) {
        numq1->setLimits(countRange(0, 1));
        numq1->setValue(0);
        numq1->setEnabled(false);
        GoBtn->setEnabled(false);
    } else {
        numq1->setLimits(countRange(1, rows));
        numq1->setValue(1);
        numq1->setEnabled(true);
        GoBtn->setEnabled(true);
    }
}

void TObjectForm::numq1Change() {
    if (numq1->value() > 0)
        GoBtn->setEnabled(true);
}

void TObjectForm::gobtnClick() {
    const bool tutor = SessionKind != kTest;
    if (tutor) {
        SavedUnlimitedCorrections = SettingsForm->unnumcor1->isChecked();
        SavedCorrectionsCount = SettingsForm->numcor1->value();
        SettingsForm->unnumcor1->setChecked(true);
    }
    if (!Test()) {
        // No run follows: the settings must not stay at unlimited, nor be
        // saved again as unlimited by the next start.
        if (tutor)
            restoreCorrections();
        return;
    }
    openSessionWindow();
}

void TObjectForm::restoreCorrections() {
    SettingsForm->unnumcor1->setChecked(SavedUnlimitedCorrections);
    SettingsForm->numcor1->setValue(SavedCorrectionsCount);
}

void TObjectForm::openSessionWindow() {
    const bool tutor = SessionKind != kTest;
    TestForm->show();
    // The full-answer link belongs to tutor runs only.
    TestForm->fal1->setVisible(tutor);
    TestForm->fab1->setVisible(tutor);
    TestForm->TopPanel1->update();
    close();
    // The session keeps the main window hidden until the run ends; a run
    // that could not start has already brought it back.
    if (MainWindow && TestForm->isVisible())
        MainWindow->hide();
}

void TObjectForm::CancelBtnClick() {
    close();
}

void TObjectForm::FormClose() {
    if (MainWindow)
        MainWindow->show();
}

void TObjectForm::TOB(quint8 classIndex, const QString& subject) {
    Query& topics = DataModule2->Topics;
    try {
        topics.close();
        if (topics.connectionString().isEmpty())
            topics.setConnectionString(DataModule2->connectionString(DbFile::Topics));
        topics.setSql({QStringLiteral("select * from topics"),
                       QStringLiteral("where class=:cl and object=:ob")});
        topics.setParam(QStringLiteral("cl"), QString::number(classIndex + 1));
        topics.setParam(QStringLiteral("ob"), subject);
        topics.open();
    } catch (...) {
        topics.close();
    }
}

QString leftOutNotice(const QStringList& leftOut) {
    constexpr int kShown = 5;
    QString text = QStringLiteral("Някои въпроси от този раздел не могат да се зададат и са "
                                  "пропуснати:");
    for (qsizetype i = 0; i < leftOut.size() && i < kShown; ++i)
        text += QStringLiteral("\r") + leftOut[i];
    if (leftOut.size() > kShown)
        text += QStringLiteral("\r… и още %1.").arg(leftOut.size() - kShown);
    return text + QStringLiteral("\rТестът продължава с останалите. Моля, кажете на учителя.");
}

bool TObjectForm::Test() {
    ProgressForm->show();
    ProgressForm->setMaximum(4);
    ProgressForm->processEvents();
    try {
        const DrawResult drawn = drawQuestions(*DataModule2, unsigned(cl1->currentIndex() + 1),
                                               numq1->value(), randomSource(), *ProgressForm);
        TestSubject = drawn.testSubject;
        TestSection = drawn.testSection;
        QuestionCount = drawn.questionCount;
        ProgressForm->hide();
        if (!drawn.leftOut.isEmpty())
            showMessage(MessageKind::Information, leftOutNotice(drawn.leftOut));
        return true;
    } catch (const TooFewQuestions& e) {
        // The section cannot serve the count: the pupil chooses again, with
        // the choices that led here still in place.
        ProgressForm->hide();
        showMessage(MessageKind::Information, e.text());
        m_keepChoices = true;
        show();
        m_keepChoices = false;
        return false;
    } catch (...) {
        ProgressForm->hide();
        showMessage(MessageKind::Error, kProgramProblem);
        if (MainWindow)
            MainWindow->close();
        return false;
    }
}

QString TObjectForm::selectedSubject() const {
    const int index = ob1->findText(ob1->currentText(), Qt::MatchExactly | Qt::MatchCaseSensitive);
    return index >= 0 ? ob1->itemText(index) : QString();
}

void TObjectForm::showEvent(QShowEvent* event) {
    // Shown again over the choices it keeps, the window starts nothing anew.
    if (m_keepChoices)
        QWidget::showEvent(event);
    else
        TForm::showEvent(event);
}

#include "moc_objectform.cpp"
