// The commands of the main window, carried by its popup menu.
#include "mainform.h"

#include "aboutbox.h"
#include "globals.h"
#include "helpstart.h"
#include "kit/namedchild.h"
#include "settings/settingsform.h"
#include "setup/objectform.h"
#include "setup/regtestform.h"

#include <QAction>
#include <QMenu>

void Tmain::createMainMenu() {
    if (MainPopupMenu1)
        return;
    // No parent: the window's hint and pointer watchers take in every child
    // of the window, and a menu is none of its controls. It goes with the
    // window (see the destructor).
    MainPopupMenu1 = namedChild<QMenu>(nullptr, "MainPopupMenu1");
    auto item = [this](const char* name, const QString& caption, bool enabled) {
        QAction* a = MainPopupMenu1->addAction(caption);
        a->setObjectName(QLatin1String(name));
        a->setEnabled(enabled);
        return a;
    };
    auto separator = [this](const char* name) {
        QAction* a = MainPopupMenu1->addSeparator();
        a->setObjectName(QLatin1String(name));
        return a;
    };
    mN1 = item("mN1", QStringLiteral("Тест"), true);
    mN2 = item("mN2", QStringLiteral("Обучение"), true);
    N12 = separator("N12");
    mN11 = item("mN11", QStringLiteral("Дневник"), false);
    mN4 = item("mN4", QStringLiteral("Теми"), false);
    mN3 = item("mN3", QStringLiteral("Речник"), false);
    mN14 = item("mN14", QStringLiteral("Принтиране"), false);
    N5 = separator("N5");
    mN6 = item("mN6", QStringLiteral("Настройки"), true);
    N7 = separator("N7");
    mN13 = item("mN13", QStringLiteral("Помощ"), true);
    mN8 = item("mN8", QStringLiteral("Информация"), true);
    N9 = separator("N9");
    mN10 = item("mN10", QStringLiteral("Изход"), true);

    connect(mN1, &QAction::triggered, this, &Tmain::mN1Click);
    connect(mN2, &QAction::triggered, this, &Tmain::mN2Click);
    connect(mN6, &QAction::triggered, this, &Tmain::mN6Click);
    connect(mN8, &QAction::triggered, this, &Tmain::mN8Click);
    connect(mN10, &QAction::triggered, this, &Tmain::mN10Click);
    connect(mN13, &QAction::triggered, this, &Tmain::mN13Click);
}

void Tmain::mN1Click() {
    // A test run begins with the pupil's registration.
    if (!ObjectForm || !RegTestForm)
        return;
    ObjectForm->SessionKind = QStringLiteral("test");
    RegTestForm->show();
}

void Tmain::mN2Click() {
    // A tutor run skips registration and goes straight to the choice of subject.
    if (!ObjectForm)
        return;
    ObjectForm->SessionKind = QStringLiteral("tutor");
    ObjectForm->show();
}

void Tmain::mN6Click() {
    if (SettingsForm)
        SettingsForm->show();
}

void Tmain::mN8Click() {
    if (AboutBox)
        AboutBox->show();
}

void Tmain::mN10Click() {
    close();
}

void Tmain::mN13Click() {
    startHelpProgram(ProgramFolder);
}
