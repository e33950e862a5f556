#pragma once

// A run of the session window over real databases: the program with a
// fixture folder, sections of questions, a drawing with the chance fixed, and
// the messages the run would show. Helpers of the session's tests only; the
// windows are the program's own.
#include "app/globals.h"
#include "app/mainform.h"
#include "kit/messages.h"
#include "session/eventlabel.h"
#include "session/testform.h"
#include "session/wrapbox.h"
#include "settings/settingsform.h"
#include "settings/spinfield.h"
#include "setup/drawing.h"
#include "setup/objectform.h"
#include "setup/progressform.h"
#include "store/datamodule.h"
#include "support/application.h"
#include "support/fixedrandom.h"

#include <QCheckBox>
#include <QSignalSpy>
#include <QSlider>
#include <QStackedWidget>
#include <QTest>
#include <QTimer>
#include <memory>

namespace sessiontest {

constexpr unsigned kClass = 5;

// One scratch row: column names in lower case.
using Row = QVariantMap;

class Rig {
public:
    // Without the results window a test run ends on the main window; with
    // it, the run is handed over to be graded.
    explicit Rig(bool resultsWindow = false)
        : program({.resultsWindow = resultsWindow}), form(TestForm) {}
    ~Rig() {
        if (form->isVisible())
            form->EndBtnClick();
    }
    Rig(const Rig&) = delete;
    Rig& operator=(const Rig&) = delete;

    // The settings of a plain run: back button and track bar shown, no time
    // limit, two corrections.
    void plainSettings() {
        for (QCheckBox* box :
             {SettingsForm->sbbc1, SettingsForm->srqc1, SettingsForm->sbbc2, SettingsForm->srqc2})
            box->setChecked(true);
        SettingsForm->chtime1->setChecked(false);
        SettingsForm->hour1->setValue(0);
        SettingsForm->min1->setValue(0);
        SettingsForm->sec1->setValue(0);
        SettingsForm->unnumcor1->setChecked(false);
        SettingsForm->numcor1->setValue(2);
    }

    void timeLimit(int h, int m, int s) {
        SettingsForm->chtime1->setChecked(true);
        SettingsForm->hour1->setValue(h);
        SettingsForm->min1->setValue(m);
        SettingsForm->sec1->setValue(s);
    }

    // A section of its own with these questions.
    QString section(const QList<fixture::Question>& questions) {
        const QString table = QStringLiteral("s%1").arg(++m_sections);
        program.folder.addTopic(kClass, QStringLiteral("математика"), table, table);
        for (const fixture::Question& q : questions)
            program.folder.addQuestion(kClass, table, q);
        return table;
    }

    // Draws the section's questions as the subject window does; with the
    // chance all zeros every kind takes its questions in bank order and every
    // right answer lands in box А.
    void draw(const QString& section, int count, QList<int> chance = {}) {
        Query& topics = DataModule2->Topics;
        topics.close();
        topics.setConnectionString(DataModule2->connectionString(DbFile::Topics));
        topics.setSql({QStringLiteral("select * from topics"), QStringLiteral("where class=:cl")});
        topics.setParam(QStringLiteral("cl"), kClass);
        topics.open();
        QVERIFY(topics.locate(QStringLiteral("section"), section));
        fixture::FixedRandom random(std::move(chance));
        drawQuestions(*DataModule2, kClass, count, random, *ProgressForm);
    }

    // Shows the window over the drawn run, as the subject window hands over.
    void start(const QString& kind) {
        ObjectForm->SessionKind = kind;
        if (kind == QStringLiteral("tutor")) {
            ObjectForm->SavedUnlimitedCorrections = SettingsForm->unnumcor1->isChecked();
            ObjectForm->SavedCorrectionsCount = SettingsForm->numcor1->value();
            SettingsForm->unnumcor1->setChecked(true);
        }
        MainForm->hide();
        form->show();
    }

    // Rows of a scratch table as they stand in the file.
    QList<Row> rows(const QString& sql) {
        Query q;
        q.setConnection(&DataModule2->ATemp1);
        q.setSql({sql});
        q.open();
        QList<Row> out;
        for (q.first(); !q.eof(); q.next()) {
            Row r;
            for (const QString& f : q.fieldNames())
                r.insert(f.toLower(), q.value(f));
            out.append(r);
        }
        return out;
    }
    int count(const QString& table) {
        return rows(QStringLiteral("select count(*) as n from ") + table)
            .value(0)
            .value(QStringLiteral("n"))
            .toInt();
    }
    void exec(const QString& sql) { DataModule2->ATemp1.execRaw(sql); }

    Query& temp() const { return DataModule2->Temp; }
    QString current(const QString& field) const { return temp().text(field); }
    int page() const { return form->Pages1->currentIndex(); }
    void goTo(int row) { form->QP1->setValue(row); }

    // Collecting before the first window is made.
    fixture::MessageLog log;
    fixture::RunningProgram program;
    TTestForm* const form;

private:
    int m_sections = 0;
};

inline fixture::Question four(const QString& quest, int points = 1) {
    return fixture::fourAnswer(quest,
                               {quest + QStringLiteral(" а"), quest + QStringLiteral(" б"),
                                quest + QStringLiteral(" в"), quest + QStringLiteral(" г")},
                               0, points);
}

} // namespace sessiontest
