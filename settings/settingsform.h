#pragma once

#include "kit/form.h"

#include <QString>

class QCheckBox;
class QComboBox;
class QGroupBox;
class QLabel;
class QPushButton;
class QTabWidget;
class QVariant;
class SpinField;
struct Setting;

// The settings window. Its controls are the program's settings while it
// runs: the registry is loaded into them at start-up and on every showing,
// and every other part of the program reads the control it needs when it
// needs the value. It is left only through "Отказ" and "Запази".
//
// The handlers that can fail (FormShow, RegUpdate, savebtnClick, Dict) throw
// the layer's error; the window's own events run them inside guarded(), and
// the start-up steps do the same.
class TSettingsForm : public TForm {
    Q_OBJECT
public:
    explicit TSettingsForm(QWidget* parent = nullptr);
    ~TSettingsForm() override;

    // The main window's ProgramFolder when there is a main window; otherwise
    // the folder given here (tools and tests).
    QString programFolder() const;
    void setProgramFolder(const QString& folder) { m_programFolder = folder; }

    QTabWidget* PageControl1 = nullptr;
    QWidget* TabSheet1 = nullptr; // "Kivor"
    QWidget* TabSheet2 = nullptr; // "Тест"
    QWidget* TabSheet3 = nullptr; // "Обучение"

    QGroupBox* GroupBox1 = nullptr; // "Помощ" of the first page
    QCheckBox* shsc0 = nullptr;
    QCheckBox* sbt0 = nullptr;
    QPushButton* Button2 = nullptr;

    QCheckBox* sbbc1 = nullptr;
    QCheckBox* srqc1 = nullptr;
    QCheckBox* chtime1 = nullptr;
    SpinField* hour1 = nullptr;
    SpinField* min1 = nullptr;
    SpinField* sec1 = nullptr;
    QLabel* Label1 = nullptr;       // "часове"
    QLabel* Label2 = nullptr;       // "минути"
    QLabel* Label3 = nullptr;       // "секунди"
    QGroupBox* GroupBox2 = nullptr; // "Брой поправки на отговор"
    QCheckBox* unnumcor1 = nullptr;
    SpinField* numcor1 = nullptr;
    QPushButton* Button3 = nullptr;

    QCheckBox* sbbc2 = nullptr;
    QCheckBox* srqc2 = nullptr;
    QGroupBox* GroupBox3 = nullptr; // "Помощ" of the tutor page
    QCheckBox* sdc2d = nullptr;
    QCheckBox* sfac2d = nullptr;
    QComboBox* dict2 = nullptr;

    QPushButton* CancelBtn = nullptr;
    QPushButton* SaveBtn = nullptr;

    void FormShow() override;
    void savebtnClick();
    void CancelBtnClick();
    void FormClose() override;
    void chtime1Click();
    void unnumcor1Click();
    void Button3Click();
    // Fills dict2 with the languages of the dictionary database.
    void Dict();
    // Loads the registry into the controls, first writing the first-run
    // defaults when the settings key is missing. A missing or wrongly typed
    // value stops the load there: the controls before it hold the new values,
    // the others keep theirs.
    void RegUpdate();

protected:
    void showEvent(QShowEvent* event) override;

private:
    void buildKivorPage();
    void buildTestPage();
    void buildTutorPage();
    // What the setting's control holds, as the setting's kind is stored.
    QVariant controlValue(const Setting& s) const;
    void setControl(const Setting& s, const QVariant& value);

    QString m_programFolder;
};
