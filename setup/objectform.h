#pragma once

#include "kit/form.h"

#include <QString>
#include <QStringList>

class QComboBox;
class QLabel;
class QListWidget;
class QPushButton;
class SpinField;

// The subject list as the pupil sees it: every subject once, in alphabetical
// order without regard to letter case.
QStringList subjectEntries(const QStringList& objects);

// Where a run is set up: class (tutor runs), subject, section, number of
// questions; "Стартирай теста" draws the questions and hands over to the
// session window. The window also carries the run's kind and what the
// drawing chose, for the later windows of the run.
// What the pupil is told of the section's rows that could not be asked.
QString leftOutNotice(const QStringList& leftOut);

class TObjectForm : public TForm {
    Q_OBJECT
public:
    explicit TObjectForm(QWidget* parent = nullptr);
    ~TObjectForm() override;

    QLabel* Label1 = nullptr; // "клас"
    QComboBox* cl1 = nullptr;
    QLabel* Label4 = nullptr; // "предмет"
    QComboBox* ob1 = nullptr;
    QLabel* Label5 = nullptr; // "раздел"
    QListWidget* sec1 = nullptr;
    QLabel* Label2 = nullptr; // "брой въпроси"
    SpinField* numq1 = nullptr;
    QPushButton* CancelBtn = nullptr;
    QPushButton* GoBtn = nullptr;

    // "test" or "tutor", set by the main window's commands.
    QString SessionKind;
    QString TestSubject;
    QString TestSection;
    qint32 QuestionCount = 0;
    // The corrections settings as they were before a tutor run, which
    // allows unlimited corrections; put back when the run ends.
    bool SavedUnlimitedCorrections = false;
    qint32 SavedCorrectionsCount = 0;

    void FormShow() override;
    void cl1Change();
    void ob1Change();
    void sec1Click();
    void numq1Change();
    void gobtnClick();
    void CancelBtnClick();
    void FormClose() override;
    // Reopens Topics on the topic rows of a class and subject; on any
    // failure Topics is left closed.
    void TOB(quint8 classIndex, const QString& subject);
    // Draws the run's questions into the scratch tables. Whether it did: a
    // section that cannot give them brings the pupil back here; any other
    // failure ends the program.
    bool Test();

protected:
    void showEvent(QShowEvent* event) override;

private:
    // The text of the subject entry the pupil chose; empty for a text typed
    // by hand that is not one of the list's.
    QString selectedSubject() const;
    void listSubjects();
    void restoreCorrections();
    // Hands the drawn run over to the session window.
    void openSessionWindow();

    // Shown again after a drawing the section could not serve: the pupil's
    // choices stay, so that another section or count can be tried.
    bool m_keepChoices = false;
    // The "too few questions" notice, once for a subject text.
    void tellTooFewQuestions();
    QString m_toldFor;
};
