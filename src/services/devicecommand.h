#ifndef DEVICECOMMAND_H
#define DEVICECOMMAND_H

#include <QString>
#include <QStringList>

class QProcess;

// Runs one device command on a caller's process object and waits for it, at most `timeoutMs`.
// No shell is involved. A tool that overruns is killed, so the process object is free for the next
// command and commands never overlap. The answer is what the tool printed, up to its first zero byte
// (the device tools are C programs: what follows a zero is not text).
class DeviceCommand
{
public:
    // `overran`, when given, is set when the tool had to be killed: its output is then incomplete.
    static QString run(QProcess &process, const QString &program, const QStringList &arguments, int timeoutMs,
                       bool *overran = nullptr);
    // The command line is split at spaces (QProcess's own rule) and the program found on PATH. An
    // argument starting with "-" goes as "./-..." so that a name is never read as an option.
    static QString runLine(QProcess &process, const QString &commandLine, int timeoutMs);
};

#endif // DEVICECOMMAND_H
