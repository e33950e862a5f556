#pragma once

#include "kit/form.h"

#include <QString>
#include <memory>

class QLabel;
class QPrinter;
class QPushButton;
class QTextEdit;
class TDataModule2;
struct PupilRecord;

// Appends `record` to the pupil file of the data module's program folder
// through its Student query: what every showing of the results window stores.
void storePupilRecord(TDataModule2& dm, const PupilRecord& record);

// The end of a test run: the grade, who took the test on what, and the
// pupil's record appended to the pupil database; the results can be printed.
// Every showing grades the run that has just ended and appends one record.
class TValForm : public TForm {
    Q_OBJECT
public:
    explicit TValForm(QWidget* parent = nullptr);
    ~TValForm() override;

    qint32 TotalPoints = 0;
    double Grade = 2.0;

    QLabel* object1 = nullptr; // предмет
    QLabel* theme1 = nullptr;  // раздел
    QLabel* name1 = nullptr;   // трите имена
    QLabel* cldv1 = nullptr;   // клас и паралелка
    QLabel* clofn1 = nullptr;  // номер в клас
    QLabel* gs1 = nullptr;     // общо точки
    QLabel* sc1 = nullptr;     // получени точки
    QLabel* val1 = nullptr;    // оценка
    QPushButton* PrintBtn = nullptr;
    QPushButton* CloseBtn = nullptr;
    QTextEdit* re1 = nullptr; // hidden: the printout is assembled here

    // Grades, shows and stores the run. A failure is reported in the error
    // box and leaves the window open with what it shows, so the result can
    // still be printed or written down; the window then says that the
    // record was not stored.
    void FormShow() override;
    void CloseBtnClick();
    void FormClose() override;
    void PrintBtnClick();

    // Whether the last showing stored its record.
    bool recordStored() const { return m_stored; }

    // Showing the window while it is still open grades and stores the run
    // that has just ended as well.
    void setVisible(bool visible) override;

private:
    void gradeAndStore();
    // Whatever happened before: the scratch database is let go and the
    // pointer is the normal arrow again.
    void releaseRun() noexcept;
    QString programFolder() const;
    void fitHeight();

    QLabel* m_notStored = nullptr;
    bool m_stored = false;
    std::unique_ptr<QPrinter> m_printer;
};
