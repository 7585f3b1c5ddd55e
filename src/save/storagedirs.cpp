#include "hsave.h"

#include "folderrights.h"
#include "pathguard.h"
#include "programrunner.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QRegularExpression>

#include <sys/statfs.h>

namespace {
const char kProductDir[] = "TK520";
const char kUserRoot[] = "/user/";
const char kInternal[] = "/internal";
const char kSyncDir[] = "/quillbox";

// Paths makeRootDir treats on their own: the media entry of the RF-test tree must not exist (the
// media service makes it a link), and the private folder of the hetnet interface is made, not owned.
const char kRfTestMedia[] = "/velmora/user/rftest/internal/media";
const char kBaseRoot[] = "/base/";
const char kQmlDir[] = "qml_4410";
const char kHetnetPrivate[] = "/hetnet_private";

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

// What std::map::at reports for a missing key: the text the warning has always carried.
const char kLookupFailure[] = "map::at";

QString saveLoadDir()
{
    return QString::fromLatin1(kUserRoot) + QString::fromLatin1(kProductDir) + QLatin1Char('/');
}

QString storageRoot()
{
    return QString::fromLatin1(kUserRoot) + QString::fromLatin1(kProductDir) + QString::fromLatin1(kInternal);
}

QString hetnetPrivateDir()
{
    return QString::fromLatin1(kBaseRoot) + QString::fromLatin1(kQmlDir) + QString::fromLatin1(kHetnetPrivate);
}
} // namespace

// Built once when the library is loaded and never changed.
const QString HSave::s_storageRoot = storageRoot();
const std::map<HSave::SaveType, QString> HSave::s_defaultDirs = {
    {SAVE_RESULT, s_storageRoot + QStringLiteral("/quillbox/results")},
    {SAVE_SETUP, s_storageRoot + QStringLiteral("/quillbox/setup")},
    {SAVE_LOGGING, s_storageRoot + QStringLiteral("/quillbox/plotDeck")},
    {SAVE_SCREENSHOT, s_storageRoot + QStringLiteral("/quillbox/screenshots")},
    {SAVE_IQ_FILE, s_storageRoot + QStringLiteral("/quillbox/iqFiles")},
    {SAVE_FREQ_LIST, s_storageRoot + QStringLiteral("/quillbox/freqLists")},
    {SAVE_REPORT, s_storageRoot + QStringLiteral("/quillbox/reports")},
    {SAVE_AUTOTEST_REPORT, s_storageRoot + QStringLiteral("/quillbox/autotest")},
    {SAVE_CABLE, s_storageRoot + QStringLiteral("/quillbox/cables")},
    {SAVE_CHANNEL_PLAN, s_storageRoot + QStringLiteral("/quillbox/channelPlan")},
};

QString HSave::getSaveLoadDir()
{
    return saveLoadDir();
}

QString HSave::getDefaultDir(HSave::SaveType type)
{
    const auto entry = s_defaultDirs.find(type);
    if (entry == s_defaultDirs.end()) {
        qCWarning(lcSave) << "Unhandled type:" << int(type) << "\n" << kLookupFailure;
        return s_storageRoot;
    }
    return entry->second;
}

void HSave::createDefaultDirs()
{
    for (const QString &dir : {saveLoadDir(), s_storageRoot, s_storageRoot + QString::fromLatin1(kSyncDir)}) {
        if (!QFileInfo::exists(dir))
            makeRootDir(dir);
    }
    for (const auto &entry : s_defaultDirs) {
        if (!QFileInfo::exists(entry.second))
            makeRootDir(entry.second);
    }
}

// The result says only whether the folder was missing before; creation failures are not reported.
bool HSave::makeRootDir(const QString &name)
{
    // IQ files go to removable storage only; the internal folder must never appear.
    if (name.contains(s_defaultDirs.at(SAVE_IQ_FILE)))
        return true;

    if (name == QLatin1String(kRfTestMedia)) {
        if (QFileInfo::exists(name))
            ProgramRunner::run(QString::fromLatin1(kRm), {QString::fromLatin1(kRmForce), name}, kRmTimeoutMs,
                               ProgramRunner::LeaveRunning);
        return true;
    }

    if (name == hetnetPrivateDir()) {
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

bool HSave::makeDir(const QString &path, const QString &name, bool isPostfix)
{
    qCDebug(lcSave) << "makeDir1:" << path;
    qCDebug(lcSave) << "makeDir2:" << name;

    // The name stays inside `path`: "../x" would make (and re-own) folders elsewhere.
    if (!PathGuard::staysInside(name))
        return false;

    const QString dirName = isPostfix ? name + QLatin1Char('_') + timeStamp() : name;
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

int HSave::getDirUsageSize(const QString &path)
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
namespace {
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

int HSave::getDirFreeSize(const QString &path)
{
    struct statfs info;
    if (!queryFileSystem(path, info))
        return 0;
    return kiloBytes(info.f_bavail, info.f_bsize);
}

int HSave::getDirTotalSize(const QString &path)
{
    struct statfs info;
    if (!queryFileSystem(path, info))
        return 0;
    return kiloBytes(info.f_blocks, info.f_bsize);
}

bool HSave::isEmptyFolder(const QString &path)
{
    // Hidden and system entries do not count: a folder holding only ".directory" shows as empty.
    // An empty path names no folder (QDir would take it for the working directory).
    const bool empty = path.isEmpty()
        || QDir(path).entryList(QDir::AllDirs | QDir::Files | QDir::Drives | QDir::NoDotAndDotDot).isEmpty();
    qCDebug(lcSave) << "isEmptyFolder:" << path << empty;
    return empty;
}

bool HSave::isDir(const QString &path)
{
    return QFileInfo(path).isDir();
}

bool HSave::extFolderExist(const QString &path)
{
    return QFileInfo::exists(path);
}

int HSave::getFileCountinDir(const QString &folderPath)
{
    if (folderPath.isEmpty())
        return 0;
    return QDir(folderPath).entryList(QDir::Files).count();
}
