#ifndef DEVICECOMMAND_H
#define DEVICECOMMAND_H

#include <QString>
#include <QStringList>

// Runs one device command and waits for it, at most `timeoutMs`. No shell is involved. A tool that
// overruns is killed, so commands never overlap. The answer is what the tool printed, up to its first
// zero byte (the device tools are C programs: what follows a zero is not text).
class DeviceCommand
{
public:
    // `overran`, when given, is set when the tool did not start or had to be killed: its output is
    // then no answer.
    static QString run(const QString &program, const QStringList &arguments, int timeoutMs, bool *overran = nullptr);
    // The command line is split at spaces (QProcess's own rule, quotes included) and the program found
    // on PATH. An argument starting with "-" goes as "./-..." so that a name is never read as an option.
    static QString runLine(const QString &commandLine, int timeoutMs);
};

#endif // DEVICECOMMAND_H
