#pragma once

#include "kit/form.h"
#include "store/pupil.h"

#include <QString>
#include <QStringList>

class QComboBox;
class QLabel;
class QPushButton;
class SpinField;

// Whether the registration names a pupil: a full name and a division that
// are more than blanks, and a class from the list (index 0 … 12).
bool registrationComplete(const QString& fullName, const QString& division, int classIndex);

// The pupil's registration before a test run. Its controls keep the pupil's
// data for the whole run; the results window reads them through the
// accessors below.
class TRegTestForm : public TForm {
    Q_OBJECT
public:
    explicit TRegTestForm(QWidget* parent = nullptr);
    ~TRegTestForm() override;

    QLabel* Label3 = nullptr; // "трите имена"
    QComboBox* fullname = nullptr;
    QLabel* Label4 = nullptr; // "клас и паралелка"
    QComboBox* Class1 = nullptr;
    QComboBox* division = nullptr;
    QLabel* Label5 = nullptr; // "номер в клас"
    SpinField* noc = nullptr;
    QPushButton* RBtn = nullptr; // "Готово"
    QPushButton* CBtn = nullptr; // "Отказ"

    void FormShow() override;
    void fullnameChange();
    void RBtnClick();
    void CBtnClick();
    void FormClose() override;

    QString fullName() const;
    QString classText() const;
    // Index 0 … 12 of the class in Class1; -1 when the text is not one of
    // the list's (typed by hand).
    int classIndex() const;
    int divisionPosition() const; // 1 … 30, 0 for a letter not in the list
    int numberInClass() const;

private:
    // Set by a successful "Готово": the run goes on in the subject window,
    // so closing must not bring the main window back.
    bool m_started = false;
};
