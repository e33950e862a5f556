#include "application.h"

#include "app/globals.h"
#include "app/mainform.h"
#include "app/splashform.h"
#include "app/startup.h"
#include "results/valform.h"
#include "settingsfile.h"

#include <QDir>
#include <QTimer>

namespace fixture {

namespace {

void placeSettings(const QMap<QString, QString>& settings) {
    const QString path = programSettingsFile();
    if (!settings.isEmpty()) {
        writeSettingsFile(path, settingsText(settings));
        return;
    }
    if (QFileInfo(path).isDir())
        QDir(path).removeRecursively();
    QFile::remove(path);
    QVERIFY(!QFileInfo::exists(path));
}

} // namespace

RunningProgram::RunningProgram(const ProgramOptions& options)
    : folder(options.folderName), m_startDir(QDir::currentPath()) {
    // The settings placed here never land on the user's own.
    usePrivateConfig();
    placeSettings(options.settings);
    folder.makeCurrent();
    createApplicationObjects();
    MainForm->Timer1->stop();
    SplashForm->Timer1->stop();
    if (!options.splash)
        SplashForm->hide();
    if (!options.resultsWindow) {
        delete ValForm;
        ValForm = nullptr;
    }
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
