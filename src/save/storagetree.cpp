#include "storagetree.h"

#include "folderrights.h"
#include "hbaselogging.h"
#include "instrumentnames.h"
#include "localfiles.h"
#include "pathguard.h"
#include "programrunner.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QRegularExpression>

#include <iterator>

#include <sys/statfs.h>

namespace {
const char kInternal[] = "/internal";
const char kSyncDir[] = "/quillbox";

// Paths makeRootDir treats on their own: the media entry of the RF-test tree must not exist (the
// media service makes it a link), and the private folder of the hetnet interface is made, not owned.
const char kRfTestMedia[] = "/velmora/user/rftest/internal/media";

const char kRm[] = "rm";
const char kRmForce[] = "-f";
const char kDu[] = "du";
const char kDuSummary[] = "-s";
const char kDirSizeFile[] = "/tmp/DIR_SIZE";
// The removal is waited for (the folder must be gone before anything is made there), within a bound; a
// removal that takes longer finishes on its own.
const int kRmTimeoutMs = 10000;
// A tree too large to measure in this time reads as size 0 rather than freezing the interface; the
// measuring program is stopped then, its partial figure would mislead.
const int kDuTimeoutMs = 30000;

// The folders of each kind of saved file, under the storage root, in the order of StorageTree::Folder.
const char *const kDefaultDirs[] = {
    "/quillbox/results",   "/quillbox/setup",   "/quillbox/plotDeck", "/quillbox/screenshots", "/quillbox/iqFiles",
    "/quillbox/freqLists", "/quillbox/reports", "/quillbox/autotest", "/quillbox/cables",      "/quillbox/channelPlan"};

// Built once when the library is loaded and never changed.
const QString s_saveLoadDir = QString::fromLatin1(InstrumentNames::userRoot)
    + QString::fromLatin1(InstrumentNames::productName) + QLatin1Char('/');
const QString s_root = QString::fromLatin1(InstrumentNames::userRoot)
    + QString::fromLatin1(InstrumentNames::productName) + QString::fromLatin1(kInternal);

bool queryFileSystem(const QString &path, struct statfs &info)
{
    // The file system's own encoding of the name, as every other file access of Qt uses it.
    return ::statfs(QFile::encodeName(path).constData(), &info) == 0;
}

// 32-bit products, as the screens have always received them; larger values wrap.
int kiloBytes(quint64 blocks, long blockSize)
{
    const quint32 factor = quint32(blockSize / 1024);
    return int(quint32(blocks) * factor);
}
} // namespace

QString StorageTree::saveLoadDir()
{
    return s_saveLoadDir;
}

QString StorageTree::root()
{
    return s_root;
}

QString StorageTree::defaultDir(Folder folder)
{
    return s_root + QString::fromLatin1(kDefaultDirs[folder]);
}

void StorageTree::createDefaultDirs()
{
    for (const QString &dir : {s_saveLoadDir, s_root, s_root + QString::fromLatin1(kSyncDir)}) {
        if (!QFileInfo::exists(dir))
            makeRootDir(dir);
    }
    for (int folder = Results; folder < int(std::size(kDefaultDirs)); ++folder) {
        const QString dir = defaultDir(Folder(folder));
        if (!QFileInfo::exists(dir))
            makeRootDir(dir);
    }
}

bool StorageTree::makeRootDir(const QString &name)
{
    // IQ files go to removable storage only; the internal folder must never appear.
    if (name.contains(defaultDir(IqFiles)))
        return true;

    if (name == QLatin1String(kRfTestMedia)) {
        if (QFileInfo::exists(name))
            ProgramRunner::run(QString::fromLatin1(kRm), {QString::fromLatin1(kRmForce), name}, kRmTimeoutMs,
                               ProgramRunner::LeaveRunning);
        return true;
    }

    if (name == QLatin1String(InstrumentNames::hetnetPrivateDir)) {
        if (QFileInfo::exists(name))
            return false;
        QDir().mkdir(name);
        return true;
    }

    const bool missing = !QFileInfo::exists(name);
    if (missing)
        QDir().mkpath(name);
    FolderRights::apply(name);
    return missing;
}

bool StorageTree::makeDir(const QString &path, const QString &name, bool isPostfix)
{
    qCDebug(lcSave) << "makeDir1:" << path;
    qCDebug(lcSave) << "makeDir2:" << name;

    // The name stays inside `path`: "../x" would make (and re-own) folders elsewhere.
    if (!PathGuard::staysInside(name))
        return false;

    const QString dirName = isPostfix ? LocalFiles::stamped(name) : name;
    QDir parent(path);
    if (QFileInfo::exists(parent.filePath(dirName)))
        return false;

    qCDebug(lcSave) << "makeDir3";
    parent.mkdir(dirName);
    qCDebug(lcSave) << "makeDir4";

    // Callers pass a path ending in "/"; the plain name (without the stamp) is the folder they then
    // save into, so it must exist and be owned right whatever the stamped folder did.
    const QString plain = path + name;
    if (!QFileInfo::exists(plain))
        QDir().mkpath(plain);
    FolderRights::apply(plain);
    return true;
}

int StorageTree::usageSize(const QString &path)
{
    ProgramRunner::run(QString::fromLatin1(kDu), {QString::fromLatin1(kDuSummary), FolderRights::programArgument(path)},
                       kDuTimeoutMs, ProgramRunner::Kill, QString::fromLatin1(kDirSizeFile));

    QFile sizeFile(QString::fromLatin1(kDirSizeFile));
    if (!sizeFile.open(QIODevice::ReadOnly | QIODevice::Text))
        return 0;
    const QString firstLine = QString::fromLocal8Bit(sizeFile.readLine());
    static const QRegularExpression whiteSpace(QStringLiteral("\\s+"));
    return firstLine.split(whiteSpace).value(0).toInt();
}

// A file system that cannot be queried reports 0 (no space, no size): a save screen that checks the
// free space before writing then refuses instead of writing into an unknown place.
int StorageTree::freeSize(const QString &path)
{
    struct statfs info;
    if (!queryFileSystem(path, info))
        return 0;
    return kiloBytes(info.f_bavail, info.f_bsize);
}

int StorageTree::totalSize(const QString &path)
{
    struct statfs info;
    if (!queryFileSystem(path, info))
        return 0;
    return kiloBytes(info.f_blocks, info.f_bsize);
}

bool StorageTree::isEmptyFolder(const QString &path)
{
    // Hidden and system entries do not count: a folder holding only ".directory" shows as empty.
    // An empty path names no folder (QDir would take it for the working directory).
    const bool empty = path.isEmpty()
        || QDir(path).entryList(QDir::AllDirs | QDir::Files | QDir::Drives | QDir::NoDotAndDotDot).isEmpty();
    qCDebug(lcSave) << "isEmptyFolder:" << path << empty;
    return empty;
}

int StorageTree::fileCount(const QString &folderPath)
{
    if (folderPath.isEmpty())
        return 0;
    return QDir(folderPath).entryList(QDir::Files).count();
}
