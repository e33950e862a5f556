#include "application.h"

#include "app/globals.h"
#include "app/mainform.h"
#include "app/splashform.h"
#include "app/startup.h"

#include <QDir>
#include <QTimer>

namespace fixture {

RunningProgram::RunningProgram() : m_startDir(QDir::currentPath()) {
    folder.makeCurrent();
    createApplicationObjects();
    MainForm->Timer1->stop();
    SplashForm->Timer1->stop();
    SplashForm->hide();
}

RunningProgram::~RunningProgram() {
    destroyApplicationObjects();
    QDir::setCurrent(m_startDir);
}

MessageLog::MessageLog() {
    setMessageSink([this](MessageKind kind, const QString& text) {
        m_messages.append({kind, text});
    });
}

MessageLog::~MessageLog() {
    setMessageSink(nullptr);
}

QStringList MessageLog::texts() const {
    QStringList out;
    for (const Message& m : m_messages)
        out.append(m.text);
    return out;
}

} // namespace fixture
