#pragma once

#include "app/messages.h"
#include "programfolder.h"

#include <QList>
#include <QString>

namespace fixture {

// The program's single instances made as at start-up over a fixture
// program folder, which is the working directory meanwhile. The start-up
// timers are stopped and the splash put away: a test drives every step
// itself, and no timer may fire in the middle of it.
class RunningProgram {
public:
    RunningProgram();
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
