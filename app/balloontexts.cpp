#include "balloontexts.h"

#include "aboutbox.h"
#include "globals.h"
#include "kit/balloons.h"
#include "mainform.h"
#include "ui/balloontexts.h"

#include <QLabel>
#include <QPushButton>
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

} // namespace

void ShowBalloons_Main(Tmain& f) {
    yes(f.Title1, QStringLiteral("При натискането и задържането на този бутон, ще\rможете да "
                                 "местите позоцоята на програмат|премести прозореца"));
    no(f.ExitBtn,
       QStringLiteral(
           "При натискането на този бутон, ще\rизлезете от програмата|изход от програмата"));
    no(f.InfBtn, QStringLiteral("При натискането на този бутон, ще\rсе появи диалог, в който са "
                                "посочени\rнякой данни за програмата|информация за програмата"));
    no(f.HelpBtn,
       QStringLiteral("При натискането на този бутон, ще\rсе появи информация, която описва\rкак "
                      "да работите с тази програма|помощна информация за програмата"));
    no(f.TestBtn, QStringLiteral("При натискането на този бутон, ще\rзапочнете да правите тест "
                                 "върху даден предмет|пусни тест"));
    yes(f.TestLANBtn,
        QStringLiteral("При натискането на този бутон, ще\rсе свържете със сървара за да направите "
                       "тест по мрежата|пусни тест зададет от сървъра"));
    no(f.TutorBtn, QStringLiteral("При натискането на този бутон, ще\rзапочнете да се обучавате по "
                                  "даден предмет|пусни обучение"));
    no(f.printbtn, QStringLiteral("При натискането на този бутон, ще\rможете да разпечатате "
                                  "желания от вас тест|принтиране"));
    yes(f.DiaryBtn,
        QStringLiteral("При натискането на този бутон, ще\rсе отвори програмата \"Дневник\",\rс "
                       "нея ще можете да проверите оценките\rна даден ученик|дневник с оценки"));
    yes(f.ThemeBtn,
        QStringLiteral("При натискането на този бутон, ще\rще се отвори програмата \"Теми, с нея "
                       "ще\"\rможете да изразработвате тестове|създаване на тестове"));
    no(f.settingsbtn, QStringLiteral("При натискането на този бутон, ще\rможете да настройте "
                                     "програмата както желаете|настройки на програмата"));
    no(f.dictbtn,
       QStringLiteral("При натискането на този бутон, ще\rсе отвори програмата \"Речник\", с нея "
                      "ще\rможете да проверявате, добавяте, редактирате и\rизтривате термини и/или "
                      "думи|речник за термини и чужди думи"));
}

void ShowBalloons_About(TAboutBox& f) {
    no(f.Memo1, QStringLiteral("Тук са изведени имената на всички хора\rили групи от хора, "
                               "помогнали за създаването\rна тази програма"));
    yes(f.CloseBtn,
        QStringLiteral("При натискането на този бутон, ще\rзатворите прозореца \"Информация\""));
}

void assignAllBalloons() {
    if (MainForm)
        ShowBalloons_Main(*MainForm);
    assignWindowBalloons();
    if (AboutBox)
        ShowBalloons_About(*AboutBox);
}
