#include "hsave.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

#include "filewriter.h"
#include "pathguard.h"
#include "starterfiles.h"

#include <sys/stat.h>

namespace {
// remove() deletes a whole tree only for this exact (case-sensitive) kind text.
const char kFolderKind[] = "Folder";
// What a copy carries over of its source's mode: read, write and execute of owner, group and others.
const unsigned kPermissionBits = 0777;
} // namespace

bool HSave::fileCopy(const QString &src, const QString &dst)
{
    qCDebug(lcSave) << "fileCopy1:" << src << dst;
    return StarterFiles::send(StarterFiles::s_copyAction, StarterFiles::pair(src, dst)) == QLatin1String(s_replyOk);
}

// The file manager reads true as "the move failed".
bool HSave::fileMove(const QString &src, const QString &dst)
{
    qCDebug(lcSave) << "fileMoveW:" << src << dst;
    return StarterFiles::send(StarterFiles::s_moveAction, StarterFiles::pair(src, dst)) != QLatin1String(s_replyOk);
}

// As fileMove: true means the delete failed.
bool HSave::fileDelete(const QString &src)
{
    qCDebug(lcSave) << "===================HSave::fileDelete=>" << src;
    return StarterFiles::send(StarterFiles::s_deleteAction, src) != QLatin1String(s_replyOk);
}

int HSave::fileCopy(const QString &srcFilePath, const QString &srcFileName, const QString &dst)
{
    qCDebug(lcSave) << "fileCopy2:" << srcFilePath << srcFileName << dst;
    return copyOrMoveInto(Copy, srcFilePath, dst);
}

int HSave::fileMove(const QString &srcFilePath, const QString &srcFileName, const QString &dst)
{
    qCDebug(lcSave) << "fileMove:" << srcFilePath << srcFileName << dst;
    return copyOrMoveInto(Move, srcFilePath, dst);
}

// Copy or move into the folder `dst`. A name already taken there is refused, except that a copy
// into the source's own folder makes a duplicate under a time-stamped name (a move there is a no-op).
int HSave::copyOrMoveInto(CopyOrMove kind, const QString &srcFilePath, const QString &dst)
{
    const QFileInfo source(srcFilePath);
    const QString target = dst + QLatin1Char('/') + source.fileName();
    if (!QFileInfo::exists(target)) {
        const char *action = kind == Copy ? StarterFiles::s_copyAction : StarterFiles::s_moveAction;
        const QString reply = StarterFiles::send(action, StarterFiles::pair(srcFilePath, dst));
        return reply == QLatin1String(s_replyOk) ? COPY_TRUE : COPY_FALSE;
    }
    if (source.absolutePath() != dst)
        return COPY_EXIST;
    if (kind == Copy) {
        // Base name up to the first "." and suffix after the last: "a.b.c" becomes "a_<stamp>.c".
        QString newName = dst + QLatin1Char('/') + getAppendix(source.baseName());
        if (source.isFile())
            newName += QLatin1Char('.') + source.suffix();
        fileCopy(srcFilePath, newName);
    }
    return COPY_TRUE;
}

// The copy takes the place of whatever held the name (a link is replaced, never written through) with
// the source's permissions, as a plain copy does; it replaces the old file only once it is whole, so a
// copy that fails keeps the old file.
bool HSave::qFileCopy(const QString &src, const QString &dst, bool overWrite)
{
    if (QFileInfo::exists(dst) && !overWrite)
        return false;
    struct stat source
    {
    };
    if (::stat(QFile::encodeName(src).constData(), &source) != 0 || !S_ISREG(source.st_mode))
        return false;
    FileWriter copy(dst);
    copy.setFreshFile(source.st_mode & kPermissionBits);
    return copy.open() && copy.copyFrom(src) && copy.commit();
}

bool HSave::qFileDelete(const QString &src)
{
    if (!QFileInfo::exists(src))
        return false;
    return QFile::remove(src);
}

// An empty path names nothing: QDir would take it for the working directory and empty that.
bool HSave::remove(const QString &pat, const QString &fileisDir)
{
    if (pat.isEmpty())
        return true;
    if (fileisDir == QLatin1String(kFolderKind))
        QDir(pat).removeRecursively();
    else
        QFile::remove(pat);
    return true;
}

bool HSave::renameFile(const QString &oldName, const QString &newName)
{
    qCDebug(lcSave) << "oldName=" << oldName << "   newName=" << newName;
    if (!QFileInfo::exists(oldName))
        return false;
    return QFile::rename(oldName, newName);
}

QString HSave::getAppendix(const QString &filePath)
{
    return filePath + QLatin1Char('_') + timeStamp();
}

QString HSave::getFileAppendix(const QString &filePath, const QString &fileSuffix)
{
    if (QFileInfo::exists(filePath + QLatin1Char('.') + fileSuffix))
        return getAppendix(filePath);
    return filePath;
}

QString HSave::getFileNameAppendix(const QString &filePath, const QString &filename, const QString &fileSuffix)
{
    const QString existing = filePath + QLatin1Char('/') + filename + QLatin1Char('.') + fileSuffix;
    const QString result = QFileInfo::exists(existing) ? getAppendix(filename) : filename;
    qCDebug(lcSave) << "getFileNameAppendix" << result;
    return result;
}

// An empty answer when `dirName` leaves the file's folder: the file would otherwise move elsewhere.
QString HSave::addFileDirectory(const QString &filePath, const QString &dirName)
{
    if (!PathGuard::staysInside(dirName))
        return QString();
    const QFileInfo file(filePath);
    const QString folder = file.path() + QLatin1Char('/') + dirName;
    if (!QFileInfo::exists(folder))
        QDir().mkpath(folder);
    return folder + QLatin1Char('/') + file.fileName();
}

QString HSave::fileSuffix(const QString &path)
{
    return QFileInfo(path).suffix();
}
