#pragma once

#include "kit/messages.h"
#include "programfolder.h"

#include <QList>
#include <QMap>
#include <QString>

namespace fixture {

// How a test wants the program it stands up.
struct ProgramOptions {
    // The program folder is a folder of this name (or path) inside the
    // temporary directory: for paths with blanks, Cyrillic or great length.
    QString folderName{};
    // The settings file as the program finds it, each value as its text in
    // the file ("LocalSettings/Test/hour" → "0"). Empty: no file at all, as
    // on a machine where the program never ran.
    QMap<QString, QString> settings{};
    // Without the results window a finished test run hands straight back to
    // the main window, as the session window's own tests want it.
    bool resultsWindow = true;
    // The splash stays on screen as main() leaves it, for the tests of the
    // installation check it makes.
    bool splash = false;
};

// The program's single instances made as at start-up over a fixture
// program folder, which is the working directory meanwhile. The start-up
// timers are stopped and the splash put away: a test drives every step
// itself, and no timer may fire in the middle of it. Settings live in the
// private folder of usePrivateConfig().
class RunningProgram {
public:
    explicit RunningProgram(const ProgramOptions& options = {});
    ~RunningProgram();
    RunningProgram(const RunningProgram&) = delete;
    RunningProgram& operator=(const RunningProgram&) = delete;

    ProgramFolder folder;

private:
    QString m_startDir;
};

struct Message {
    MessageKind kind;
    QString text;
};

// Collects the program's message boxes instead of showing them, while it lives.
class MessageLog {
public:
    MessageLog();
    ~MessageLog();
    MessageLog(const MessageLog&) = delete;
    MessageLog& operator=(const MessageLog&) = delete;

    const QList<Message>& messages() const { return m_messages; }
    // The texts, one a message, in order.
    QStringList texts() const;
    void clear() { m_messages.clear(); }

private:
    QList<Message> m_messages;
};

} // namespace fixture
