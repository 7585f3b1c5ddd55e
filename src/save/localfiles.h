#ifndef LOCALFILES_H
#define LOCALFILES_H

#include <QString>

// The file actions the interface does itself, with its own rights: copies that replace a file whole,
// deletes, renames, and the names that keep a new file from overwriting an old one.
class LocalFiles
{
public:
    // Copies `src` over `dst` (refused when `dst` exists and `overWrite` is false): the name is replaced,
    // a link never written through, with the source's permissions, whole or not at all.
    static bool copy(const QString &src, const QString &dst, bool overWrite);
    static bool deleteFile(const QString &src);
    // Removes a file, or with the kind "Folder" a whole tree; an empty path names nothing.
    static void remove(const QString &path, const QString &kind);
    static bool rename(const QString &oldName, const QString &newName);

    // `name` + "_" + the local date and time to the second (twelve digits): a name not yet taken.
    static QString stamped(const QString &name);
    // `filePath` stamped when "filePath.fileSuffix" exists, as it is otherwise.
    static QString freeName(const QString &filePath, const QString &fileSuffix);
    // `filename` stamped when it exists with `fileSuffix` in `filePath`.
    static QString freeNameIn(const QString &filePath, const QString &filename, const QString &fileSuffix);
    // The file's path moved into its folder's subfolder `dirName` (made when missing); empty when
    // `dirName` leaves the folder.
    static QString inSubfolder(const QString &filePath, const QString &dirName);
};

#endif // LOCALFILES_H
