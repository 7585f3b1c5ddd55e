#include "filewriter.h"

#include "hbaselogging.h"

#include <QFile>
#include <QFileInfo>
#include <QMutex>
#include <QRandomGenerator>
#include <QSet>

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <dirent.h>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace {
// Temporary files are hidden, so folder listings, file counts and exports never show one.
const char kTempPrefix[] = ".";
const char kTempSuffixChars[] = "abcdefghijklmnopqrstuvwxyz0123456789";
const int kTempSuffixLength = 8;
// Leaves room for the prefix and the suffix within the 255 bytes a file name may have.
const int kMaxTempBaseName = 200;
const int kTempAttempts = 100;
// A new file is created as any program creates one: the umask decides.
const mode_t kNewFileMode = 0666;
const qint64 kCopyChunk = 256 * 1024;

QByteArray nativePath(const QString &path)
{
    return QFile::encodeName(path);
}

int openRetrying(const QByteArray &path, int flags, mode_t mode = 0)
{
    int fd;
    do {
        fd = ::open(path.constData(), flags | O_CLOEXEC, mode);
    } while (fd < 0 && errno == EINTR);
    return fd;
}

// Writing a file of a symbolic link writes the file it points to, as opening it would.
QString resolvedTarget(const QString &path)
{
    const QFileInfo info(path);
    if (!info.isSymLink())
        return path;
    const QString target = info.symLinkTarget();
    return target.isEmpty() ? path : target;
}

FileWriter::LinkCall s_linkCall = ::link;

// The temporary files of the writers of this process that are still open: a leftover of a killed
// writer is removed, one still being written never.
QSet<QString> s_openTemps;
QMutex s_openTempsLock;

void noteOpen(const QString &temp, bool open)
{
    const QMutexLocker locker(&s_openTempsLock);
    if (open)
        s_openTemps.insert(temp);
    else
        s_openTemps.remove(temp);
}

bool isOpenHere(const QString &temp)
{
    const QMutexLocker locker(&s_openTempsLock);
    return s_openTemps.contains(temp);
}

QString tempBase(const QFileInfo &target)
{
    return QString(kTempPrefix) + target.fileName().left(kMaxTempBaseName) + QLatin1Char('.');
}

bool isTempOf(const QString &name, const QString &base)
{
    if (name.size() != base.size() + kTempSuffixLength || !name.startsWith(base))
        return false;
    for (int i = base.size(); i < name.size(); ++i) {
        const char c = name.at(i).toLatin1();
        if (c == 0 || !std::strchr(kTempSuffixChars, c))
            return false;
    }
    return true;
}

// A writer killed between creating its temporary file and renaming it (a pulled battery) leaves that
// file behind. The next writer of the same name removes such files, so they never pile up in a folder
// the user browses or fill a small disk. One look at the folder per save; the folder's flush that
// follows makes the removals lasting too.
void removeLeftoverTemps(const QString &path)
{
    const QFileInfo target(path);
    const QString folder = target.absolutePath();
    const QString base = tempBase(target);
    DIR *dir = ::opendir(nativePath(folder).constData());
    if (!dir)
        return;
    while (const dirent *entry = ::readdir(dir)) {
        const QString name = QFile::decodeName(entry->d_name);
        const QString temp = folder + QLatin1Char('/') + name;
        if (isTempOf(name, base) && !isOpenHere(temp))
            ::unlinkat(::dirfd(dir), entry->d_name, 0);
    }
    ::closedir(dir);
}

QString randomSuffix()
{
    QString suffix;
    const int choices = int(sizeof(kTempSuffixChars)) - 1;
    for (int i = 0; i < kTempSuffixLength; ++i)
        suffix += QLatin1Char(kTempSuffixChars[QRandomGenerator::global()->bounded(choices)]);
    return suffix;
}
} // namespace

FileWriter::FileWriter(const QString &path)
    : m_path(path)
{
}

FileWriter::~FileWriter()
{
    discard();
}

void FileWriter::setCreateOnly(bool createOnly)
{
    m_createOnly = createOnly;
}

void FileWriter::setFreshFile(unsigned mode)
{
    m_fresh = true;
    m_freshMode = mode & 07777;
}

void FileWriter::setLinkCall(LinkCall call)
{
    s_linkCall = call ? call : ::link;
}

QString FileWriter::path() const
{
    return m_path;
}

QString FileWriter::errorString() const
{
    return m_error;
}

bool FileWriter::fail(const QString &reason, int error)
{
    m_error = error ? reason + QLatin1String(": ") + QString::fromLocal8Bit(std::strerror(error)) : reason;
    if (!m_failed)
        qCWarning(lcFiles) << "could not write" << m_path << m_error;
    m_failed = true;
    discard();
    return false;
}

void FileWriter::discard()
{
    if (m_fd >= 0)
        ::close(m_fd);
    m_fd = -1;
    if (!m_tempPath.isEmpty()) {
        ::unlink(nativePath(m_tempPath).constData());
        noteOpen(m_tempPath, false);
    }
    m_tempPath.clear();
}

bool FileWriter::open()
{
    if (m_path.isEmpty())
        return fail(QStringLiteral("no file name"));
    // A new file is never made through a link: the link itself would be the existing name.
    if (!m_createOnly && !m_fresh)
        m_path = resolvedTarget(m_path);
    const QFileInfo target(m_path);
    struct stat old;
    if (::lstat(nativePath(m_path).constData(), &old) == 0) {
        // Replacing a folder, a device or a FIFO by a file is never what a save means.
        if (!S_ISREG(old.st_mode) && !(m_fresh && S_ISLNK(old.st_mode)))
            return fail(QStringLiteral("not a regular file"));
        if (m_createOnly)
            return fail(QStringLiteral("already exists"), EEXIST);
        m_replaces = !m_fresh;
        m_uid = old.st_uid;
        m_gid = old.st_gid;
        m_mode = old.st_mode & 07777;
    } else if (errno != ENOENT) {
        return fail(QStringLiteral("cannot look at it"), errno);
    }

    const QString base = tempBase(target);
    for (int attempt = 0; attempt < kTempAttempts && m_fd < 0; ++attempt) {
        const QString candidate = target.absolutePath() + QLatin1Char('/') + base + randomSuffix();
        m_fd = openRetrying(nativePath(candidate), O_WRONLY | O_CREAT | O_EXCL, kNewFileMode);
        if (m_fd >= 0) {
            m_tempPath = candidate;
            noteOpen(m_tempPath, true);
        } else if (errno != EEXIST)
            return fail(QStringLiteral("cannot create a file beside it"), errno);
    }
    if (m_fd < 0)
        return fail(QStringLiteral("cannot create a file beside it"), EEXIST);
    return true;
}

bool FileWriter::write(const QByteArray &data)
{
    if (m_failed)
        return false;
    if (m_fd < 0)
        return fail(QStringLiteral("not open"));
    const char *next = data.constData();
    qint64 left = data.size();
    while (left > 0) {
        const ssize_t written = ::write(m_fd, next, size_t(left));
        if (written < 0 && errno == EINTR)
            continue;
        // A full disk or a file-size limit shows as an error here, or as a short write followed by one.
        if (written <= 0)
            return fail(QStringLiteral("write failed"), written < 0 ? errno : ENOSPC);
        next += written;
        left -= written;
    }
    return true;
}

bool FileWriter::copyFrom(const QString &source)
{
    if (m_failed)
        return false;
    QFile input(source);
    if (!input.open(QIODevice::ReadOnly))
        return fail(QStringLiteral("cannot read ") + source);
    while (!input.atEnd()) {
        const QByteArray chunk = input.read(kCopyChunk);
        if (chunk.isEmpty() && input.error() != QFileDevice::NoError)
            return fail(QStringLiteral("cannot read ") + source);
        if (!write(chunk))
            return false;
    }
    return true;
}

bool FileWriter::commit()
{
    if (m_failed)
        return false;
    if (m_fd < 0)
        return fail(QStringLiteral("not open"));
    if (m_replaces) {
        // Programs writing under their own accounts in the file's group keep their access. A process
        // that may not give a file away, or a file system without owners (a FAT stick), could not have
        // kept them either: the file still saves. The owner goes first: changing it clears the set-id
        // bits the mode then restores.
        if (::fchown(m_fd, m_uid, m_gid) != 0 && errno != EPERM)
            return fail(QStringLiteral("cannot keep the owner"), errno);
        if (::fchmod(m_fd, mode_t(m_mode)) != 0 && errno != EPERM)
            return fail(QStringLiteral("cannot keep the mode"), errno);
    } else if (m_fresh && ::fchmod(m_fd, mode_t(m_freshMode)) != 0 && errno != EPERM) {
        return fail(QStringLiteral("cannot set the mode"), errno);
    }
    // Data, owner and mode must be on storage before the name points at them, or a power cut leaves
    // an empty file.
    if (::fsync(m_fd) != 0)
        return fail(QStringLiteral("flush failed"), errno);
    const int fd = m_fd;
    m_fd = -1;
    if (::close(fd) != 0)
        return fail(QStringLiteral("close failed"), errno);

    const QByteArray temp = nativePath(m_tempPath);
    const QByteArray target = nativePath(m_path);
    if (m_createOnly) {
        if (const int error = createExclusively(temp, target))
            return fail(QStringLiteral("cannot create it"), error);
    } else if (::rename(temp.constData(), target.constData()) != 0) {
        return fail(QStringLiteral("cannot replace it"), errno);
    }
    noteOpen(m_tempPath, false);
    m_tempPath.clear();
    removeLeftoverTemps(m_path);

    // The new name itself must reach storage too. Failing here, the new file is already in place; the
    // caller still hears of it, since it may not survive a power cut.
    const int folder = openRetrying(nativePath(QFileInfo(m_path).absolutePath()), O_RDONLY | O_DIRECTORY);
    if (folder < 0)
        return fail(QStringLiteral("cannot flush its folder"), errno);
    const bool flushed = ::fsync(folder) == 0 || errno == EINVAL;
    const int error = errno;
    ::close(folder);
    if (!flushed)
        return fail(QStringLiteral("cannot flush its folder"), error);
    return true;
}

// link() refuses an existing name, where rename() would replace it. FAT file systems (USB sticks) have
// no hard links: there renameat2() with RENAME_NOREPLACE is the same single step, and where even that is
// missing the name is claimed with O_EXCL and the temporary file renamed over the claim.
int FileWriter::createExclusively(const QByteArray &temp, const QByteArray &target)
{
    if (s_linkCall(temp.constData(), target.constData()) == 0) {
        ::unlink(temp.constData());
        return 0;
    }
    if (errno != EPERM && errno != EOPNOTSUPP && errno != ENOSYS)
        return errno;
    if (::renameat2(AT_FDCWD, temp.constData(), AT_FDCWD, target.constData(), RENAME_NOREPLACE) == 0)
        return 0;
    if (errno != EINVAL && errno != ENOSYS)
        return errno;
    const int claim = openRetrying(target, O_WRONLY | O_CREAT | O_EXCL, kNewFileMode);
    if (claim < 0)
        return errno;
    ::close(claim);
    if (::rename(temp.constData(), target.constData()) == 0)
        return 0;
    const int error = errno;
    ::unlink(target.constData());
    return error;
}

bool FileWriter::writeFile(const QString &path, const QByteArray &content)
{
    FileWriter writer(path);
    return writer.open() && writer.write(content) && writer.commit();
}
