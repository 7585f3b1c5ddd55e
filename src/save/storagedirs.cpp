#include "hsave.h"

#include "storagetree.h"

#include <QFileInfo>

#include <map>

namespace {
// What std::map::at reports for a missing key: the text the warning has always carried.
const char kLookupFailure[] = "map::at";

const std::map<HSave::SaveType, StorageTree::Folder> kDefaultFolders = {
    {HSave::SAVE_RESULT, StorageTree::Results},  {HSave::SAVE_SETUP, StorageTree::Setups},
    {HSave::SAVE_LOGGING, StorageTree::Logging}, {HSave::SAVE_SCREENSHOT, StorageTree::Screenshots},
    {HSave::SAVE_IQ_FILE, StorageTree::IqFiles}, {HSave::SAVE_FREQ_LIST, StorageTree::FreqLists},
    {HSave::SAVE_REPORT, StorageTree::Reports},  {HSave::SAVE_AUTOTEST_REPORT, StorageTree::Autotest},
    {HSave::SAVE_CABLE, StorageTree::Cables},    {HSave::SAVE_CHANNEL_PLAN, StorageTree::ChannelPlans},
};
} // namespace

QString HSave::getSaveLoadDir()
{
    return StorageTree::saveLoadDir();
}

QString HSave::getDefaultDir(HSave::SaveType type)
{
    const auto entry = kDefaultFolders.find(type);
    if (entry == kDefaultFolders.end()) {
        qCWarning(lcSave) << "Unhandled type:" << int(type) << "\n" << kLookupFailure;
        return StorageTree::root();
    }
    return StorageTree::defaultDir(entry->second);
}

void HSave::createDefaultDirs()
{
    StorageTree::createDefaultDirs();
}

bool HSave::makeRootDir(const QString &name)
{
    return StorageTree::makeRootDir(name);
}

bool HSave::makeDir(const QString &path, const QString &name, bool isPostfix)
{
    return StorageTree::makeDir(path, name, isPostfix);
}

int HSave::getDirUsageSize(const QString &path)
{
    return StorageTree::usageSize(path);
}

int HSave::getDirFreeSize(const QString &path)
{
    return StorageTree::freeSize(path);
}

int HSave::getDirTotalSize(const QString &path)
{
    return StorageTree::totalSize(path);
}

bool HSave::isEmptyFolder(const QString &path)
{
    return StorageTree::isEmptyFolder(path);
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
    return StorageTree::fileCount(folderPath);
}
