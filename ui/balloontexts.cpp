#include "balloontexts.h"

#include "instances.h"
#include "kit/balloons.h"
#include "results/valform.h"
#include "session/picturebox.h"
#include "session/testform.h"
#include "settings/settingsform.h"
#include "settings/spinfield.h"
#include "setup/objectform.h"
#include "setup/regtestform.h"

#include <QCheckBox>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QSlider>
#include <QToolButton>

// The texts are the program's own, written as its users have always read
// them, spelling included; \r breaks a balloon into lines.

namespace {

void yes(QWidget* control, const QString& hint) {
    setHint(control, hint, Balloon::Yes);
}

void no(QWidget* control, const QString& hint) {
    setHint(control, hint, Balloon::No);
}

// The test page and the tutor page share these two.
QString backButtonHint() {
    return QStringLiteral("При отметване на това поле, ще се показва бутон,\rс който ще можете да "
                          "се връщате с един бутон назад");
}

QString walkHint() {
    return QStringLiteral("При отметване на това поле, ще се показва списък\rс всички въпроси в "
                          "теста и така ще можете\rда отидете на желания въпрос");
}

} // namespace

void ShowBalloons_Settings_Main(TSettingsForm& f) {
    yes(f.CancelBtn, QStringLiteral("При натискането на този бутон ще,\rзатворите прозореца "
                                    "\"Настройки\"\rбез да запазвате направените промени"));
    yes(f.SaveBtn, QStringLiteral("При натискането на този бутон ще,,\rзатворите прозореца "
                                  "\"Настройки\"\rи ще запазите направените промени"));
}

void ShowBalloons_Settings_Kivor(TSettingsForm& f) {
    yes(f.shsc0, QStringLiteral("При отметване на това поле,\rкогато програмата стартира, "
                                "автоматично\rс нея ще се включи и помощната информация"));
    yes(f.sbt0, QStringLiteral("При отметване на това поле,\rсе разрешава показването на\rбалони с "
                               "помощна информация"));
}

void ShowBalloons_Settings_Test(TSettingsForm& f) {
    yes(f.sbbc1, backButtonHint());
    yes(f.srqc1, walkHint());
    yes(f.chtime1,
        QStringLiteral(
            "При отметване на това поле, ще имате\rобщо време за отговарянето на всички въпроси"));
    yes(f.hour1, QStringLiteral("Тук може да посочите колко часа да\rтрае решаването на "
                                "тест\r----------------------------------\rПосочените часове се "
                                "добавят към\rпосочените минути и секунди"));
    yes(f.min1, QStringLiteral("Тук може да посочите колко минути да\rтрае решаването на "
                               "тест\r----------------------------------\rПосочените минути се "
                               "добавят към\rпосочените часове и секунди"));
    yes(f.sec1, QStringLiteral("Тук може да посочите колко секунди да\rтрае решаването на "
                               "тест\r----------------------------------\rПосочените секунди се "
                               "добавят към\rпосочените часове и минути"));
    yes(f.unnumcor1, QStringLiteral("При отметване на това поле, ще можете\rда поправяте отговора "
                                    "си неограничен брой пъти"));
    yes(f.numcor1,
        QStringLiteral(
            "Тук можете да ограничите поправките на отговор\rкато посочите техният нов брой"));
}

void ShowBalloons_Settings_Tutor(TSettingsForm& f) {
    yes(f.sbbc2, backButtonHint());
    yes(f.srqc2, walkHint());
    yes(f.sdc2d,
        QStringLiteral("При отметване на това поле, ще разрешите\rизползването на речник"));
    yes(f.dict2, QStringLiteral("Тук можете да посочите кой речник да се използва"));
    yes(f.sfac2d,
        QStringLiteral(
            "При отметване на това поле, ще разрешите\rпоказването на изчерпателен отговор"));
}

// The network test has no page in this program.
void ShowBalloons_Settings_LAN(TSettingsForm&) {}

void ShowBalloons_Reg(TRegTestForm& f) {
    yes(f.fullname, QStringLiteral("Моля, въведете трите си имена"));
    yes(f.Class1, QStringLiteral("Моля, въведете от кой клас сте"));
    yes(f.division, QStringLiteral("Моля, въведете от коя паралелка сте"));
    yes(f.noc, QStringLiteral("Моля, въведете номера си в клас"));
    yes(f.RBtn, QStringLiteral("При натискането на този бутон, ще\rстартирате тест"));
    yes(f.CBtn,
        QStringLiteral("При натискането на този бутон, ще\rзатворите прозореца \"Регистрация\""));
}

void ShowBalloons_Object(TObjectForm& f) {
    yes(f.sec1,
        QStringLiteral(
            "Тук можете да посочите върху\rкой предмет и раздел ще правите тест или обучение"));
    yes(f.CancelBtn,
        QStringLiteral("При натискането на този бутон, ще\rзатворите прозореца \"Предмет\""));
    yes(f.numq1, QStringLiteral("Тук можете да посочите броя въпроси в теста"));
    yes(f.cl1, QStringLiteral("Тук можете да посочите кой клас сте"));
    yes(f.GoBtn,
        QStringLiteral("При натискането на този бутон, ще\rстартирате желания тест или обучение"));
}

void ShowBalloons_Test(TTestForm& f) {
    yes(f.DBImage1, QStringLiteral("Тук е изведено евентуално изображение,\rкъм въпроса"));
    yes(f.EndBtn, QStringLiteral("При натискане на този бутон, ще\rпрекратите теста или обучението "
                                 "и\rпрограмата ще оцени и запази вашите знания"));
    yes(f.QP1, QStringLiteral("Тук можете да отидите на избран въпрос,\rтова може да стане като "
                              "натисните някаде върху лентата"));
    yes(f.BackBtn,
        QStringLiteral("При натискането на този бутон, ще\rсе върнете с един въпрос назад"));
    yes(f.NextBtn,
        QStringLiteral("При натискането на този бутон, ще\rотидите с един въпрос напред"));
}

// A tutor run has the dictionary besides; its texts show whole in the
// dictionary's own status line instead of in balloons.
void ShowBalloons_Tutor(TTestForm& f) {
    ShowBalloons_Test(f);
    no(f.searchedit, QStringLiteral("Тук можете да въведете непозната дума\rслед натискане на "
                                    "\"Enter\" ще се покаже нейното значение"));
    no(f.SearchBtn,
       QStringLiteral(
           "При натискането на този бутон, ще\rсе покаже значението на въведената дума"));
    no(f.trans1, QStringLiteral("Тук е изведено значението на посочената дума"));
}

void ShowBalloons_Val(TValForm& f) {
    yes(f.PrintBtn, QStringLiteral("При натискането на този бутон, ще\rразпечатате резултатите от "
                                   "теста на съответния ученик"));
    yes(f.CloseBtn,
        QStringLiteral("При натискането на този бутон, ще\rзатворите прозореца \"Резултатите\""));
}

void ShowBalloons_Settings(TSettingsForm& f) {
    ShowBalloons_Settings_Main(f);
    ShowBalloons_Settings_Kivor(f);
    ShowBalloons_Settings_Test(f);
    ShowBalloons_Settings_Tutor(f);
    ShowBalloons_Settings_LAN(f);
}

void assignWindowBalloons() {
    if (SettingsForm)
        ShowBalloons_Settings(*SettingsForm);
    if (RegTestForm)
        ShowBalloons_Reg(*RegTestForm);
    if (ObjectForm)
        ShowBalloons_Object(*ObjectForm);
    if (TestForm) {
        ShowBalloons_Test(*TestForm);
        ShowBalloons_Tutor(*TestForm);
    }
    if (ValForm)
        ShowBalloons_Val(*ValForm);
}
