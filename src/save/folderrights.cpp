#include "folderrights.h"

#include "pathguard.h"

#include <QLoggingCategory>
#include <QProcess>
#include <QStringList>

namespace {
const char kChown[] = "chown";
const char kChownOwner[] = "root:users";
const char kChmod[] = "chmod";
const char kChmodMode[] = "775";
const char kRecursive[] = "-R";
const char kRefused[] = "ownership not changed outside the user storage:";
Q_LOGGING_CATEGORY(lcRights, "hbase.save")
}

void FolderRights::apply(const QString &path)
{
    if (!mayApply(path))
        return;
    const QString target = programArgument(path);
    QProcess::execute(QString::fromLatin1(kChown),
                      {QString::fromLatin1(kRecursive), QString::fromLatin1(kChownOwner), target});
    QProcess::execute(QString::fromLatin1(kChmod),
                      {QString::fromLatin1(kRecursive), QString::fromLatin1(kChmodMode), target});
}

QString FolderRights::programArgument(const QString &path)
{
    return path.startsWith(QLatin1Char('-')) ? QStringLiteral("./") + path : path;
}

// Paths reach here from QML and from imported files: re-owning anything outside the user storage
// (a system folder, a tool the device runs as root) is never what a caller may ask for.
bool FolderRights::mayApply(const QString &path)
{
    if (PathGuard::isInStorage(path))
        return true;
    qCWarning(lcRights) << kRefused << path;
    return false;
}
