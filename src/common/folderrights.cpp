#include "folderrights.h"

#include <QByteArray>
#include <QVector>

#include <cerrno>
#include <spawn.h>
#include <sys/wait.h>

extern char **environ;

namespace {
const char kChown[] = "chown";
const char kChownOwner[] = "root:users";
const char kChmod[] = "chmod";
const char kChmodMode[] = "775";
const char kRecursive[] = "-R";
}

// Any folder the interface names is re-owned, also outside the user storage ("/base", "/cust"): the
// interface makes those on purpose. Paths from outside (an imported file) are confined by their reader
// before they reach here.
void FolderRights::apply(const QString &path)
{
    const QByteArray target = programArgument(path).toUtf8();
    run({kChown, kRecursive, kChownOwner, target.constData()});
    run({kChmod, kRecursive, kChmodMode, target.constData()});
}

// posix_spawnp starts the program without copying the interface's memory (a fork would, and its cost
// would grow with the process), found on PATH like any command, with this process's environment and
// output. The caller waits for it; its exit status does not matter.
void FolderRights::run(std::initializer_list<const char *> arguments)
{
    QVector<char *> argv;
    for (const char *argument : arguments)
        argv.append(const_cast<char *>(argument));
    argv.append(nullptr);
    pid_t child = 0;
    if (posix_spawnp(&child, argv.constFirst(), nullptr, nullptr, argv.data(), environ) != 0)
        return;
    int status = 0;
    while (waitpid(child, &status, 0) < 0 && errno == EINTR) {
    }
}

QString FolderRights::programArgument(const QString &path)
{
    return path.startsWith(QLatin1Char('-')) ? QStringLiteral("./") + path : path;
}
