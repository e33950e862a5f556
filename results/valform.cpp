#include "valform.h"

#include "grading.h"
#include "kit/messages.h"
#include "kit/namedchild.h"
#include "printout.h"
#include "runsource.h"
#include "store/datamodule.h"
#include "store/paths.h"
#include "store/pupilversion.h"
#include "ui/balloontexts.h"
#include "ui/instances.h"
#include "ui/mainwindow.h"

#include <QApplication>
#include <QFile>
#include <QFormLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLocale>
#include <QPrinter>
#include <QPushButton>
#include <QScopeGuard>
#include <QTextDocument>
#include <QTextEdit>
#include <QVBoxLayout>

namespace {

const QString kNotStored = QStringLiteral("Резултатът не е записан в базата данни с учениците. "
                                          "Препишете го или го принтирайте.");
const QString kPrintFailed =
    QStringLiteral("Резултатите не бяха отпечатани: принтерът съобщи за грешка.");

QLabel* valueLabel(QWidget* parent, const char* name) {
    auto* label = namedChild<QLabel>(parent, name);
    // Names typed by the pupil and taken from the topic rows, never markup.
    label->setTextFormat(Qt::PlainText);
    label->setTextInteractionFlags(Qt::TextSelectableByMouse);
    return label;
}

QPushButton* button(QWidget* parent, const char* name, const QString& text) {
    auto* b = namedChild<QPushButton>(parent, name, text);
    b->setMinimumHeight(28);
    return b;
}

} // namespace

void storePupilRecord(TDataModule2& dm, const PupilRecord& record) {
    Query& student = dm.Student;
    student.close();
    student.setConnectionString(dm.connectionString(DbFile::Students));
    // Over no rows: the record is appended without reading the earlier ones.
    student.setSql({QStringLiteral("select * from student where 0=1")});
    try {
        // A file of a newer program is refused here and stays as it is.
        upgradePupilFileBeforeUse(dm.programFolder());
        student.open();
        student.insert();
        student.setText(QStringLiteral("Name"), record.Name);
        student.setInteger(QStringLiteral("NumOfClass"), record.NumOfClass);
        student.setText(QStringLiteral("Val"), record.Val);
        student.setText(QStringLiteral("Object"), record.Object);
        student.setValue(QStringLiteral("DT"), record.DT);
        student.setText(QStringLiteral("Theme"), record.Theme);
        student.setText(QStringLiteral("Class"), record.Class);
        student.setInteger(QStringLiteral("Division"), record.Division);
        student.post();
    } catch (...) {
        // No half-made row may wait in the query for a later post.
        student.close();
        throw;
    }
}

TValForm::TValForm(QWidget* parent) : TForm(parent, Qt::Window) {
    setObjectName(QStringLiteral("ValForm"));
    setWindowTitle(QStringLiteral("Резултати"));
    setFont(QFont(QStringLiteral("Arial"), 10));
    setFixedWidth(440);

    auto* test = namedChild<QGroupBox>(this, "GroupBox1", QStringLiteral("Тест"));
    object1 = valueLabel(test, "object1");
    theme1 = valueLabel(test, "theme1");
    theme1->setWordWrap(true);
    QList<QLabel*> captions;
    const auto caption = [&captions](QWidget* parent, const QString& text) {
        auto* label = new QLabel(text, parent);
        captions.append(label);
        return label;
    };
    auto* testRows = new QFormLayout(test);
    testRows->addRow(caption(test, QStringLiteral("предмет")), object1);
    testRows->addRow(caption(test, QStringLiteral("раздел")), theme1);

    auto* pupil = namedChild<QGroupBox>(this, "GroupBox2", QStringLiteral("Ученик"));
    name1 = valueLabel(pupil, "name1");
    name1->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
    name1->setWordWrap(true);
    cldv1 = valueLabel(pupil, "cldv1");
    clofn1 = valueLabel(pupil, "clofn1");
    auto* pupilRows = new QFormLayout(pupil);
    pupilRows->addRow(caption(pupil, QStringLiteral("трите имена")), name1);
    pupilRows->addRow(caption(pupil, QStringLiteral("клас и паралелка")), cldv1);
    pupilRows->addRow(caption(pupil, QStringLiteral("номер в клас")), clofn1);
    // One column of captions across both boxes.
    int captionWidth = 0;
    for (QLabel* label : captions)
        captionWidth = qMax(captionWidth, label->sizeHint().width());
    for (QLabel* label : captions)
        label->setMinimumWidth(captionWidth);

    auto* results = namedChild<QGroupBox>(this, "GroupBox3", QStringLiteral("Резултати"));
    gs1 = valueLabel(results, "gs1");
    sc1 = valueLabel(results, "sc1");
    val1 = valueLabel(results, "val1");
    QFont gradeFont = val1->font();
    gradeFont.setBold(true);
    gradeFont.setPointSize(12);
    val1->setFont(gradeFont);
    auto* resultRows = new QVBoxLayout(results);
    resultRows->addWidget(gs1);
    resultRows->addWidget(sc1);
    resultRows->addWidget(val1);

    m_notStored = namedChild<QLabel>(this, "notStored", kNotStored);
    m_notStored->setWordWrap(true);
    QPalette warning = m_notStored->palette();
    warning.setColor(QPalette::WindowText, QColor(255, 0, 0));
    m_notStored->setPalette(warning);
    m_notStored->hide();

    PrintBtn = button(this, "PrintBtn", QStringLiteral("Принтирай резултатите"));
    CloseBtn = button(this, "CloseBtn", QStringLiteral("Затвори"));
    CloseBtn->setDefault(true);
    auto* buttons = new QHBoxLayout;
    buttons->addWidget(PrintBtn, 1);
    buttons->addWidget(CloseBtn, 1);

    re1 = namedChild<QTextEdit>(this, "re1");
    re1->setReadOnly(true);
    re1->setFont(printoutFont());
    re1->hide();

    auto* rows = new QVBoxLayout(this);
    rows->setContentsMargins(10, 10, 10, 10);
    rows->setSpacing(8);
    rows->addWidget(test);
    rows->addWidget(pupil);
    rows->addWidget(results);
    rows->addWidget(m_notStored);
    rows->addLayout(buttons);

    connect(PrintBtn, &QPushButton::clicked, this, &TValForm::PrintBtnClick);
    connect(CloseBtn, &QPushButton::clicked, this, &TValForm::CloseBtnClick);

    fitHeight();
}

TValForm::~TValForm() = default;

void TValForm::FormShow() {
    m_stored = false;
    // Nothing of the pupil before may remain on screen should this run fail
    // half way: it could be printed as this pupil's result.
    for (QLabel* label : {object1, theme1, name1, cldv1, clofn1, gs1, sc1, val1})
        label->clear();
    // Said until the record is in, so that a failure leaves it standing.
    m_notStored->show();
    guarded([this] {
        const auto release = qScopeGuard([this] { releaseRun(); });
        gradeAndStore();
    });
    m_notStored->setVisible(!m_stored);
    fitHeight();
}

void TValForm::fitHeight() {
    // The width is fixed; the height follows the wrapped texts.
    if (QLayout* rows = layout()) {
        rows->activate();
        // A word-wrapped label claims a height for its width only once it has
        // had a text, so before the first showing no row may claim one.
        setFixedHeight(rows->hasHeightForWidth() ? rows->totalHeightForWidth(width())
                                                 : rows->totalSizeHint().height());
    }
}

void TValForm::gradeAndStore() {
    RunSource& source = runSource();
    source.stopClocks();
    const RunInputs run = source.inputs();

    // What the run holds in memory is shown first: should the scratch file
    // fail under the walk below, the pupil and the points are on screen.
    const QLocale locale = QLocale::system();
    sc1->setText(scoreText(run.score));
    name1->setText(run.fullName);
    clofn1->setText(QString::number(run.numberInClass));
    cldv1->setText(classAndDivision(run.classText, run.divisionText));
    object1->setText(run.subject);
    theme1->setText(run.section);

    // The session has switched the question display off, so walking the
    // list shows nothing; the walk only reads.
    Query& temp = DataModule2->Temp;
    TotalPoints = 0;
    for (temp.first(); !temp.eof(); temp.next())
        TotalPoints += temp.integer(QStringLiteral("Scores"));
    Grade = grade(TotalPoints, run.score);
    gs1->setText(totalPointsText(TotalPoints));
    val1->setText(gradeText(Grade, locale));

    storePupilRecord(*DataModule2, pupilRecord(run, Grade, QDate::currentDate(), locale));
    m_stored = true;

    ShowBalloons_Val(*this);
    if (MainWindow) {
        MainWindow->show();
        MainWindow->setEnabled(true);
        // Both windows are on screen; the results are what the pupil looks at.
        raise();
    }
}

void TValForm::releaseRun() noexcept {
    try {
        if (DataModule2)
            DataModule2->ATemp1.close();
    } catch (...) {
        // Letting go of the scratch database has nothing left to report.
    }
    while (QApplication::overrideCursor())
        QApplication::restoreOverrideCursor();
}

void TValForm::CloseBtnClick() {
    close();
}

void TValForm::FormClose() {
    if (MainWindow) {
        MainWindow->show();
        MainWindow->setEnabled(true);
    }
    const QString folder = programFolder();
    if (folder.isEmpty())
        return;
    const QString lan = programPath(folder, QStringLiteral("\\lan"));
    if (QFile::exists(lan))
        QFile::remove(lan);
}

void TValForm::PrintBtnClick() {
    RunSource& source = runSource();
    const PrintoutTexts texts{
        name1->text(), cldv1->text(), clofn1->text(), object1->text(),        theme1->text(),
        gs1->text(),   sc1->text(),   val1->text(),   source.timeLimitText(), source.elapsedText()};
    re1->setFont(printoutFont());
    fillPrintout(*re1->document(), printoutLines(texts));

    // Kept, so that the printer the user chose is offered again.
    if (!m_printer)
        m_printer = std::make_unique<QPrinter>(QPrinter::HighResolution);
    if (!askPrinter(*m_printer, this))
        return;
    if (!printDocument(*re1->document(), *m_printer))
        showMessage(MessageKind::Error, kPrintFailed);
}

void TValForm::setVisible(bool visible) {
    const bool again = visible && isVisible();
    QWidget::setVisible(visible);
    if (!again)
        return;
    // A run has ended while the results of the one before are still on
    // screen. Showing an open window would do nothing, and this run would be
    // neither graded nor stored.
    setWindowState(windowState() & ~Qt::WindowMinimized);
    FormShow();
    raise();
    activateWindow();
}

QString TValForm::programFolder() const {
    if (MainWindow)
        return MainWindow->ProgramFolder;
    return DataModule2 ? DataModule2->programFolder() : QString();
}

#include "moc_valform.cpp"
