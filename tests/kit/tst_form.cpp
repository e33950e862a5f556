// The show/close life cycle the windows share.
#include "kit/form.h"
#include "kit/messages.h"

#include <QTest>
#include <stdexcept>

namespace {

// Notes each handler it runs (s, h, c) in `log`; fails in the one named.
class Probe : public TForm {
public:
    Probe(Guard guard, bool refuses, QChar failIn, QString& log)
        : TForm(nullptr, Qt::Window, guard), m_failIn(failIn), m_log(log) {
        if (refuses)
            refuseOtherCloses();
    }
    void FormShow() override { note('s'); }
    void FormHide() override { note('h'); }
    void FormClose() override { note('c'); }
    using TForm::closeByButton;

private:
    void note(char what) {
        m_log += QLatin1Char(what);
        if (m_failIn == QLatin1Char(what))
            throw std::runtime_error("failed");
    }
    QChar m_failIn;
    QString& m_log;
};

} // namespace

class TestLifeCycle : public QObject {
    Q_OBJECT
private slots:
    void lifeCycle_data() {
        QTest::addColumn<TForm::Guard>("guard");
        QTest::addColumn<bool>("refuses");
        QTest::addColumn<QChar>("failIn");
        QTest::addColumn<QString>("steps"); // s show, h hide, c close, b close by button
        QTest::addColumn<QString>("log");   // the handlers run, ! a failure shown
        using G = TForm::Guard;
        QTest::newRow("show, hide") << G::None << false << QChar() << "sh"
                                    << "sh";
        QTest::newRow("close") << G::None << false << QChar() << "sc"
                               << "sch";
        QTest::newRow("close refused") << G::None << true << QChar() << "sc"
                                       << "s";
        QTest::newRow("close by button") << G::None << true << QChar() << "scb"
                                         << "sch";
        QTest::newRow("show fails, guarded") << G::Show << false << QChar('s') << "s"
                                             << "s!";
        QTest::newRow("close fails, guarded") << G::ShowAndClose << false << QChar('c') << "sc"
                                              << "sc!h";
    }
    void lifeCycle() {
        QFETCH(TForm::Guard, guard);
        QFETCH(bool, refuses);
        QFETCH(QChar, failIn);
        QFETCH(QString, steps);
        QString log;
        setMessageSink([&log](MessageKind, const QString&) { log += QLatin1Char('!'); });
        Probe form(guard, refuses, failIn, log);
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
        QTEST(log, "log");
    }
};

QTEST_MAIN(TestLifeCycle)
#include "tst_form.moc"
