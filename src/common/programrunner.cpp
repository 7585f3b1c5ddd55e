#include "programrunner.h"

#include "hbaselogging.h"

#include <QFile>
#include <QStandardPaths>
#include <QVector>

#include <cerrno>
#include <csignal>
#include <ctime>
#include <fcntl.h>
#include <poll.h>
#include <spawn.h>
#include <sys/syscall.h>
#include <sys/wait.h>
#include <unistd.h>

extern char **environ;

namespace {
const char kNullDevice[] = "/dev/null";
const char kOverran[] = "program still running after its time-out:";
const char kKilled[] = "killed";
const char kLeftRunning[] = "left running";
// Between two looks at a program where the kernel offers no process descriptor to wait on.
const long kPollStepNs = 1000 * 1000;

// Programs left running after their time-out, reaped once they end.
QVector<pid_t> s_leftovers;

int waitRetrying(pid_t pid, int *status, int flags)
{
    int result;
    do {
        result = ::waitpid(pid, status, flags);
    } while (result < 0 && errno == EINTR);
    return result;
}

int exitStatus(int status)
{
    return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
}

// Waits for `pid` to end, at most `timeoutMs`; true (with its status) when it ended.
bool waitFor(pid_t pid, int timeoutMs, int *status)
{
    if (timeoutMs <= 0)
        return waitRetrying(pid, status, WNOHANG) == pid;
#ifdef SYS_pidfd_open
    const int descriptor = int(::syscall(SYS_pidfd_open, pid, 0));
    if (descriptor >= 0) {
        pollfd ready{descriptor, POLLIN, 0};
        int polled;
        do {
            polled = ::poll(&ready, 1, timeoutMs);
        } while (polled < 0 && errno == EINTR);
        ::close(descriptor);
        return polled > 0 && waitRetrying(pid, status, 0) == pid;
    }
#endif
    // Without a process descriptor (an old kernel, an emulator): look again every millisecond.
    timespec start{};
    ::clock_gettime(CLOCK_MONOTONIC, &start);
    const timespec step{0, kPollStepNs};
    while (true) {
        if (waitRetrying(pid, status, WNOHANG) == pid)
            return true;
        timespec now{};
        ::clock_gettime(CLOCK_MONOTONIC, &now);
        if ((now.tv_sec - start.tv_sec) * 1000 + (now.tv_nsec - start.tv_nsec) / 1000000 >= timeoutMs)
            return false;
        ::nanosleep(&step, nullptr);
    }
}

// The program's file: a name without "/" is looked up on PATH. Found here rather than by posix_spawnp,
// because where the spawn runs in an emulator a missing program only shows as a child ending with 127.
QByteArray executable(const QString &programName)
{
    const QByteArray path = QFile::encodeName(
        programName.contains(QLatin1Char('/')) ? programName : QStandardPaths::findExecutable(programName));
    return !path.isEmpty() && ::access(path.constData(), X_OK) == 0 ? path : QByteArray();
}
} // namespace

int ProgramRunner::run(const QString &programName, const QStringList &argumentList, int timeoutMs, Overrun overrun,
                       const QString &outputFile)
{
    reapLeftovers();
    const QByteArray path = executable(programName);
    if (path.isEmpty())
        return -1;
    const QByteArray program = QFile::encodeName(programName);
    QList<QByteArray> arguments{program};
    for (const QString &argument : argumentList)
        arguments.append(argument.toUtf8());
    QVector<char *> argv;
    for (QByteArray &argument : arguments)
        argv.append(argument.data());
    argv.append(nullptr);

    const QByteArray output = outputFile.isEmpty() ? QByteArray(kNullDevice) : QFile::encodeName(outputFile);
    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_addopen(&actions, STDIN_FILENO, kNullDevice, O_RDONLY, 0);
    posix_spawn_file_actions_addopen(&actions, STDOUT_FILENO, output.constData(), O_WRONLY | O_CREAT | O_TRUNC, 0666);
    pid_t pid = 0;
    const int spawned = ::posix_spawn(&pid, path.constData(), &actions, nullptr, argv.data(), environ);
    posix_spawn_file_actions_destroy(&actions);
    if (spawned != 0)
        return -1;

    int status = 0;
    if (waitFor(pid, timeoutMs, &status))
        return exitStatus(status);
    if (timeoutMs > 0)
        qCWarning(lcPrograms) << kOverran << programName << (overrun == Kill ? kKilled : kLeftRunning);
    if (overrun == Kill) {
        ::kill(pid, SIGKILL);
        waitRetrying(pid, &status, 0);
    } else {
        s_leftovers.append(pid);
    }
    return -1;
}

void ProgramRunner::reapLeftovers()
{
    for (int i = s_leftovers.size() - 1; i >= 0; --i) {
        int status = 0;
        if (waitRetrying(s_leftovers.at(i), &status, WNOHANG) != 0)
            s_leftovers.remove(i);
    }
}
