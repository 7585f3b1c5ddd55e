#include "folderrights.h"

#include <QProcess>
#include <QStringList>

namespace {
const char kChown[] = "chown";
const char kChownOwner[] = "root:users";
const char kChmod[] = "chmod";
const char kChmodMode[] = "775";
const char kRecursive[] = "-R";
}

void FolderRights::apply(const QString &path)
{
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
