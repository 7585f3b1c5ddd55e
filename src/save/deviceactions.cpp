#include "deviceactions.h"

#include "folderrights.h"
#include "hbaselogging.h"
#include "instrumentnames.h"
#include "programrunner.h"
#include "starterfileactions.h"
#include "storagetree.h"

#include <QStringList>

namespace {
const char kReboot[] = "reboot";
const char kDocumentViewer[] = "documentviewer_open";
// The device goes down while reboot runs; should it not, the interface goes on after this.
const int kRebootTimeoutMs = 10000;
// The viewer hands the document to its window and returns; one that keeps running (a viewer that is
// the window itself) is not waited for beyond this: the interface goes on and the viewer stays open.
const int kViewerWaitMs = 2000;
const char kUpdatePackage[] = "updatePackage  ${%1}";

// What a factory reset removes: the user's files, the last configurations of the applications, the
// private data of the hetnet interface and the stored state of the key-value store.
QStringList factoryResetPaths()
{
    return {StorageTree::saveLoadDir() + QStringLiteral("internal/"), QStringLiteral("/cust/private/lastconfigs/"),
            QString::fromLatin1(InstrumentNames::hetnetPrivateDir) + QLatin1Char('/'),
            QStringLiteral("/var/lib/redis/appendonly.aof")};
}
} // namespace

// The deletions go through the starter application (it owns these folders); the restart happens
// whatever they report, so a half-failed reset still ends in a fresh start.
void DeviceActions::factoryReset()
{
    const QStringList paths = factoryResetPaths();
    for (const QString &path : paths)
        StarterFileActions::remove(path);
    ProgramRunner::run(QString::fromLatin1(kReboot), {}, kRebootTimeoutMs, ProgramRunner::LeaveRunning);
}

// The path reaches the viewer as one argument, whatever quotes or spaces it holds, and never as an
// option: a name starting with "-" goes as "./-name".
void DeviceActions::showDocument(const QString &path)
{
    ProgramRunner::run(QString::fromLatin1(kDocumentViewer), {FolderRights::programArgument(path)}, kViewerWaitMs,
                       ProgramRunner::LeaveRunning);
}

// Updates are not started from here: handing the path to a shell would let it run whatever the
// path holds, and the platform has no update entry point yet. The request is only logged.
void DeviceActions::loadUpdatePackage(const QString &path)
{
    qCDebug(lcSave).noquote() << QString::fromLatin1(kUpdatePackage).arg(path);
}
