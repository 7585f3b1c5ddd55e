#include "hsave.h"

#include "localfiles.h"
#include "starterfileactions.h"

#include <QFileInfo>

namespace {
HSave::CopyReply copyReply(StarterFileActions::Placement placement)
{
    switch (placement) {
    case StarterFileActions::Placed:
        return HSave::COPY_TRUE;
    case StarterFileActions::NameTaken:
        return HSave::COPY_EXIST;
    case StarterFileActions::Failed:
        break;
    }
    return HSave::COPY_FALSE;
}
} // namespace

bool HSave::fileCopy(const QString &src, const QString &dst)
{
    qCDebug(lcSave) << "fileCopy1:" << src << dst;
    return StarterFileActions::copy(src, dst);
}

// The file manager reads true as "the move failed".
bool HSave::fileMove(const QString &src, const QString &dst)
{
    qCDebug(lcSave) << "fileMoveW:" << src << dst;
    return !StarterFileActions::move(src, dst);
}

// As fileMove: true means the delete failed.
bool HSave::fileDelete(const QString &src)
{
    qCDebug(lcSave) << "===================HSave::fileDelete=>" << src;
    return !StarterFileActions::remove(src);
}

int HSave::fileCopy(const QString &srcFilePath, const QString &srcFileName, const QString &dst)
{
    qCDebug(lcSave) << "fileCopy2:" << srcFilePath << srcFileName << dst;
    return copyReply(StarterFileActions::placeInto(StarterFileActions::Copy, srcFilePath, dst));
}

int HSave::fileMove(const QString &srcFilePath, const QString &srcFileName, const QString &dst)
{
    qCDebug(lcSave) << "fileMove:" << srcFilePath << srcFileName << dst;
    return copyReply(StarterFileActions::placeInto(StarterFileActions::Move, srcFilePath, dst));
}

bool HSave::qFileCopy(const QString &src, const QString &dst, bool overWrite)
{
    return LocalFiles::copy(src, dst, overWrite);
}

bool HSave::qFileDelete(const QString &src)
{
    return LocalFiles::deleteFile(src);
}

bool HSave::remove(const QString &pat, const QString &fileisDir)
{
    LocalFiles::remove(pat, fileisDir);
    return true;
}

bool HSave::renameFile(const QString &oldName, const QString &newName)
{
    return LocalFiles::rename(oldName, newName);
}

QString HSave::getAppendix(const QString &filePath)
{
    return LocalFiles::stamped(filePath);
}

QString HSave::getFileAppendix(const QString &filePath, const QString &fileSuffix)
{
    return LocalFiles::freeName(filePath, fileSuffix);
}

QString HSave::getFileNameAppendix(const QString &filePath, const QString &filename, const QString &fileSuffix)
{
    return LocalFiles::freeNameIn(filePath, filename, fileSuffix);
}

QString HSave::addFileDirectory(const QString &filePath, const QString &dirName)
{
    return LocalFiles::inSubfolder(filePath, dirName);
}

QString HSave::fileSuffix(const QString &path)
{
    return QFileInfo(path).suffix();
}
