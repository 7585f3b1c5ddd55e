#include "folderrights.h"

#include "programrunner.h"

namespace {
const char kChown[] = "chown";
const char kChownOwner[] = "root:users";
const char kChmod[] = "chmod";
const char kChmodMode[] = "775";
const char kRecursive[] = "-R";
// A large tree takes its time; past this the interface goes on and the program finishes its work alone.
const int kRightsTimeoutMs = 30000;

void runRights(const char *program, const QStringList &arguments)
{
    ProgramRunner::run(QLatin1String(program), arguments, kRightsTimeoutMs, ProgramRunner::LeaveRunning);
}
} // namespace

// Any folder the interface names is re-owned, also outside the user storage ("/base", "/cust"): the
// interface makes those on purpose. Paths from outside (an imported file) are confined by their reader
// before they reach here. Each program is waited for; their exit statuses do not matter.
void FolderRights::apply(const QString &path)
{
    const QString target = programArgument(path);
    runRights(kChown, {QLatin1String(kRecursive), QLatin1String(kChownOwner), target});
    runRights(kChmod, {QLatin1String(kRecursive), QLatin1String(kChmodMode), target});
}

QString FolderRights::programArgument(const QString &path)
{
    return path.startsWith(QLatin1Char('-')) ? QStringLiteral("./") + path : path;
}
