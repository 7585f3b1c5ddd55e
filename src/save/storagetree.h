#ifndef STORAGETREE_H
#define STORAGETREE_H

#include <QString>
#include <QStringList>

// The user's storage tree ("/user/TK520/internal" and the folders of each kind of saved file): made on
// start with the owner and mode the device expects, and measured for the save screens.
class StorageTree
{
public:
    // The default folder of each kind of saved file.
    enum Folder { Results, Setups, Logging, Screenshots, IqFiles, FreqLists, Reports, Autotest, Cables, ChannelPlans };

    static QString saveLoadDir();
    static QString root();
    static QString defaultDir(Folder folder);

    static void createDefaultDirs();
    // True when the folder was missing before; creation failures are not reported.
    static bool makeRootDir(const QString &name);
    // Makes `name` (stamped with the time when `isPostfix`) in `path`; false when it leaves `path` or
    // already exists.
    static bool makeDir(const QString &path, const QString &name, bool isPostfix);

    // Sizes in KiB; 0 when they cannot be known.
    static int usageSize(const QString &path);
    static int freeSize(const QString &path);
    static int totalSize(const QString &path);
    static bool isEmptyFolder(const QString &path);
    static int fileCount(const QString &folderPath);
};

#endif // STORAGETREE_H
