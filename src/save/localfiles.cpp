#include "localfiles.h"

#include "filewriter.h"
#include "hbaselogging.h"
#include "pathguard.h"

#include <QDateTime>
#include <QDir>
#include <QFile>
#include <QFileInfo>

#include <sys/stat.h>

namespace {
// remove() deletes a whole tree only for this exact (case-sensitive) kind text.
const char kFolderKind[] = "Folder";
// What a copy carries over of its source's mode: read, write and execute of owner, group and others.
const unsigned kPermissionBits = 0777;
const char kTimeStampFormat[] = "yyMMddhhmmss";
} // namespace

bool LocalFiles::copy(const QString &src, const QString &dst, bool overWrite)
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

bool LocalFiles::deleteFile(const QString &src)
{
    if (!QFileInfo::exists(src))
        return false;
    return QFile::remove(src);
}

// An empty path names nothing: QDir would take it for the working directory and empty that.
void LocalFiles::remove(const QString &path, const QString &kind)
{
    if (path.isEmpty())
        return;
    if (kind == QLatin1String(kFolderKind))
        QDir(path).removeRecursively();
    else
        QFile::remove(path);
}

bool LocalFiles::rename(const QString &oldName, const QString &newName)
{
    qCDebug(lcSave) << "oldName=" << oldName << "   newName=" << newName;
    if (!QFileInfo::exists(oldName))
        return false;
    return QFile::rename(oldName, newName);
}

QString LocalFiles::stamped(const QString &name)
{
    return name + QLatin1Char('_') + QDateTime::currentDateTime().toString(QString::fromLatin1(kTimeStampFormat));
}

QString LocalFiles::freeName(const QString &filePath, const QString &fileSuffix)
{
    if (QFileInfo::exists(filePath + QLatin1Char('.') + fileSuffix))
        return stamped(filePath);
    return filePath;
}

QString LocalFiles::freeNameIn(const QString &filePath, const QString &filename, const QString &fileSuffix)
{
    const QString existing = filePath + QLatin1Char('/') + filename + QLatin1Char('.') + fileSuffix;
    const QString result = QFileInfo::exists(existing) ? stamped(filename) : filename;
    qCDebug(lcSave) << "getFileNameAppendix" << result;
    return result;
}

QString LocalFiles::inSubfolder(const QString &filePath, const QString &dirName)
{
    if (!PathGuard::staysInside(dirName))
        return QString();
    const QFileInfo file(filePath);
    const QString folder = file.path() + QLatin1Char('/') + dirName;
    if (!QFileInfo::exists(folder))
        QDir().mkpath(folder);
    return folder + QLatin1Char('/') + file.fileName();
}
