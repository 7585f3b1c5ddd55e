#ifndef PROGRAMRUNNER_H
#define PROGRAMRUNNER_H

#include <QByteArray>
#include <QString>
#include <QStringList>

// The one way the module starts a program of the device (chown, chmod, rm, du, reboot, the document
// viewer): with an argument list, never through a shell, so a path reaches the program as one argument
// whatever it holds. The program is found on PATH, gets this process's environment and no input; its
// output goes to a file or nowhere, or is kept in memory for the caller.
//
// posix_spawn starts it without copying the interface's memory (a fork would, and its cost would grow
// with the process). The caller waits at most the time-out chosen at its call site: the interface never
// hangs on a program. A program that outlives it is reported; it is either killed (its result would be
// worthless) or left to finish (its work still counts), and then reaped by a later call.
class ProgramRunner
{
public:
    enum Overrun { Kill, LeaveRunning };

    // The exit status; -1 when the program did not start, did not end normally or still runs. A
    // `timeoutMs` of 0 does not wait at all; an empty `outputFile` discards the output.
    // Its error output is this process's.
    static int run(const QString &program, const QStringList &arguments, int timeoutMs, Overrun overrun,
                   const QString &outputFile = QString());

    struct Output
    {
        QByteArray text; // what it printed, at most 4 MiB
        bool ended = false; // false when it did not start, or was killed at its time-out
        int status = -1; // its exit status, -1 when it did not end normally
    };
    // Keeps what the program prints and drops its error output: the device tools answer on their
    // output and chatter on the other. One that outlives its time-out is killed.
    static Output capture(const QString &program, const QStringList &arguments, int timeoutMs);
};

#endif // PROGRAMRUNNER_H
