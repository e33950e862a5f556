// The show/close life cycle the windows share.
#include "kit/form.h"
#include "kit/messages.h"

#include <QStringList>
#include <QTest>
#include <stdexcept>

namespace {

// Notes each handler it runs; fails in the one named.
class Probe : public TForm {
public:
    Probe(Guard guard, bool refuses, QString failIn)
        : TForm(nullptr, Qt::Window, guard), m_failIn(std::move(failIn)) {
        if (refuses)
            refuseOtherCloses();
    }
    QStringList log;
    void FormShow() override { note(QStringLiteral("show")); }
    void FormHide() override { note(QStringLiteral("hide")); }
    void FormClose() override { note(QStringLiteral("close")); }
    using TForm::closeByButton;

private:
    void note(const QString& what) {
        log.append(what);
        if (what == m_failIn)
            throw std::runtime_error("failed");
    }
    QString m_failIn;
};

} // namespace

class TestLifeCycle : public QObject {
    Q_OBJECT
private slots:
    void lifeCycle_data() {
        QTest::addColumn<TForm::Guard>("guard");
        QTest::addColumn<bool>("refuses");
        QTest::addColumn<QString>("failIn");
        QTest::addColumn<QString>("steps"); // s: show, h: hide, c: close, b: close by button
        QTest::addColumn<QStringList>("log");
        QTest::addColumn<int>("messages");
        QTest::addColumn<bool>("visible");
        using G = TForm::Guard;
        const QStringList shown{"show"}, shownClosed{"show", "close", "hide"};
        QTest::newRow("show") << G::None << false << ""
                              << "s" << shown << 0 << true;
        QTest::newRow("hide") << G::None << false << ""
                              << "sh" << QStringList{"show", "hide"} << 0 << false;
        QTest::newRow("close") << G::None << false << ""
                               << "sc" << shownClosed << 0 << false;
        QTest::newRow("close refused") << G::None << true << ""
                                       << "sc" << shown << 0 << true;
        QTest::newRow("close by button") << G::None << true << ""
                                         << "scb" << shownClosed << 0 << false;
        QTest::newRow("show fails, guarded") << G::Show << false << "show"
                                             << "s" << shown << 1 << true;
        QTest::newRow("close fails, guarded") << G::ShowAndClose << false << "close"
                                              << "sc" << shownClosed << 1 << false;
    }
    void lifeCycle() {
        QFETCH(TForm::Guard, guard);
        QFETCH(bool, refuses);
        QFETCH(QString, failIn);
        QFETCH(QString, steps);
        int messages = 0;
        setMessageSink([&](MessageKind, const QString&) { ++messages; });
        Probe form(guard, refuses, failIn);
        for (QChar step : steps) {
            if (step == 's')
                form.show();
            else if (step == 'h')
                form.hide();
            else if (step == 'c')
                form.close();
            else
                form.closeByButton();
        }
        setMessageSink({});
        QTEST(form.log, "log");
        QTEST(messages, "messages");
        QTEST(form.isVisible(), "visible");
    }
};

QTEST_MAIN(TestLifeCycle)
#include "tst_form.moc"
