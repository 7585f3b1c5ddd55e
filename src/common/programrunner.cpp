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
const int kPollStepMs = 1;
// The most of a program's output that is kept: the device tools answer in a line, and a listing of a
// whole folder tree must not fill the interface's memory.
const int kOutputLimit = 4 * 1024 * 1024;

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

qint64 elapsedMs(const timespec &start)
{
    timespec now{};
    ::clock_gettime(CLOCK_MONOTONIC, &now);
    return qint64(now.tv_sec - start.tv_sec) * 1000 + (now.tv_nsec - start.tv_nsec) / 1000000;
}

// The output a program writes into a pipe, kept up to its bound; the rest is read and dropped so
// that the program never blocks on a full pipe.
class PipeReader
{
public:
    PipeReader(int descriptor, QByteArray *output)
        : m_descriptor(descriptor)
        , m_output(output)
    {
    }
    bool open() const { return m_descriptor >= 0; }
    int descriptor() const { return m_descriptor; }
    // Reads what is there without waiting; closes the pipe at its end.
    void readAvailable()
    {
        char chunk[kChunkBytes];
        while (open()) {
            const ssize_t got = ::read(m_descriptor, chunk, sizeof chunk);
            if (got < 0 && errno == EINTR)
                continue;
            if (got <= 0) {
                if (got == 0 || errno != EAGAIN)
                    close();
                return;
            }
            const int room = kOutputLimit - m_output->size();
            m_output->append(chunk, int(qMin<ssize_t>(got, qMax(room, 0))));
        }
    }
    void close()
    {
        if (open())
            ::close(m_descriptor);
        m_descriptor = -1;
    }

private:
    static constexpr int kChunkBytes = 16 * 1024;
    int m_descriptor;
    QByteArray *m_output;
};

// Waits for `pid` to end, at most `timeoutMs`, reading its output meanwhile when a reader is given;
// true (with its status) when it ended. The end of the program, not of its output, ends the wait: a
// child it left behind may hold the pipe open for long.
bool waitFor(pid_t pid, int timeoutMs, int *status, PipeReader *reader = nullptr)
{
    // Not waited for at all, not even looked at: whether a quick program has ended already would
    // depend on how busy the machine is. It is reaped by a later call.
    if (timeoutMs <= 0)
        return false;
    timespec start{};
    ::clock_gettime(CLOCK_MONOTONIC, &start);
#ifdef SYS_pidfd_open
    const int processDescriptor = int(::syscall(SYS_pidfd_open, pid, 0));
#else
    const int processDescriptor = -1;
#endif
    bool ended = false;
    while (!ended) {
        const qint64 left = timeoutMs - elapsedMs(start);
        if (left <= 0)
            break;
        // Without a process descriptor (an old kernel, an emulator): look again every millisecond.
        const int wait = processDescriptor >= 0 ? int(left) : int(qMin<qint64>(left, kPollStepMs));
        pollfd ready[2] = {{processDescriptor, POLLIN, 0}, {-1, POLLIN, 0}};
        if (reader && reader->open())
            ready[1].fd = reader->descriptor();
        if (::poll(ready, 2, wait) < 0 && errno != EINTR)
            break;
        if (ready[1].revents)
            reader->readAvailable();
        if (processDescriptor < 0 || ready[0].revents)
            ended = waitRetrying(pid, status, WNOHANG) == pid;
    }
    if (processDescriptor >= 0)
        ::close(processDescriptor);
    if (ended && reader)
        reader->readAvailable();
    return ended;
}

// The program's file: a name without "/" is looked up on PATH. Found here rather than by posix_spawnp,
// because where the spawn runs in an emulator a missing program only shows as a child ending with 127.
QByteArray executable(const QString &programName)
{
    const QByteArray path = QFile::encodeName(
        programName.contains(QLatin1Char('/')) ? programName : QStandardPaths::findExecutable(programName));
    return !path.isEmpty() && ::access(path.constData(), X_OK) == 0 ? path : QByteArray();
}

// Programs left running after their time-out end some time; each start reaps those that have.
void reapLeftovers()
{
    for (int i = s_leftovers.size() - 1; i >= 0; --i) {
        int status = 0;
        if (waitRetrying(s_leftovers.at(i), &status, WNOHANG) != 0)
            s_leftovers.remove(i);
    }
}

pid_t spawn(const QString &programName, const QStringList &argumentList, const posix_spawn_file_actions_t *actions)
{
    reapLeftovers();
    const QByteArray path = executable(programName);
    if (path.isEmpty())
        return -1;
    QList<QByteArray> arguments{QFile::encodeName(programName)};
    for (const QString &argument : argumentList)
        arguments.append(argument.toUtf8());
    QVector<char *> argv;
    for (QByteArray &argument : arguments)
        argv.append(argument.data());
    argv.append(nullptr);
    pid_t pid = 0;
    return ::posix_spawn(&pid, path.constData(), actions, nullptr, argv.data(), environ) == 0 ? pid : -1;
}

// True when the program ended within its time, with its exit status (-1 when it did not end normally).
bool finish(pid_t pid, const QString &programName, int timeoutMs, ProgramRunner::Overrun overrun, int *exit,
            PipeReader *reader = nullptr)
{
    int status = 0;
    *exit = -1;
    if (waitFor(pid, timeoutMs, &status, reader)) {
        *exit = exitStatus(status);
        return true;
    }
    if (timeoutMs > 0)
        qCWarning(lcPrograms) << kOverran << programName << (overrun == ProgramRunner::Kill ? kKilled : kLeftRunning);
    if (overrun == ProgramRunner::Kill) {
        ::kill(pid, SIGKILL);
        waitRetrying(pid, &status, 0);
    } else {
        s_leftovers.append(pid);
    }
    return false;
}
} // namespace

int ProgramRunner::run(const QString &programName, const QStringList &arguments, int timeoutMs, Overrun overrun,
                       const QString &outputFile)
{
    const QByteArray output = outputFile.isEmpty() ? QByteArray(kNullDevice) : QFile::encodeName(outputFile);
    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_addopen(&actions, STDIN_FILENO, kNullDevice, O_RDONLY, 0);
    posix_spawn_file_actions_addopen(&actions, STDOUT_FILENO, output.constData(), O_WRONLY | O_CREAT | O_TRUNC, 0666);
    const pid_t pid = spawn(programName, arguments, &actions);
    posix_spawn_file_actions_destroy(&actions);
    int status = -1;
    if (pid >= 0)
        finish(pid, programName, timeoutMs, overrun, &status);
    return status;
}

ProgramRunner::Output ProgramRunner::capture(const QString &programName, const QStringList &arguments, int timeoutMs)
{
    Output result;
    int ends[2];
    if (::pipe2(ends, O_CLOEXEC | O_NONBLOCK) != 0)
        return result;
    // Only this end reads without waiting; the program writes as to any pipe. Its duplicate as the
    // program's output is not closed at the start, as the original is.
    ::fcntl(ends[1], F_SETFL, 0);
    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_addopen(&actions, STDIN_FILENO, kNullDevice, O_RDONLY, 0);
    posix_spawn_file_actions_adddup2(&actions, ends[1], STDOUT_FILENO);
    posix_spawn_file_actions_addopen(&actions, STDERR_FILENO, kNullDevice, O_WRONLY, 0);
    const pid_t pid = spawn(programName, arguments, &actions);
    posix_spawn_file_actions_destroy(&actions);
    ::close(ends[1]);
    PipeReader reader(ends[0], &result.text);
    if (pid >= 0)
        result.ended = finish(pid, programName, timeoutMs, Kill, &result.status, &reader);
    reader.close();
    return result;
}
