#ifndef FILEWRITER_H
#define FILEWRITER_H

#include <QByteArray>
#include <QString>

// The one way this module writes a file: whole or not at all.
//
// The content goes to a hidden temporary file in the target's own folder; every write is checked, the
// file is flushed to storage, given the owner, group and mode of the file it replaces (a new file gets
// what creating it normally gives: the umask's mode, the folder's group where the folder says so), and
// renamed over the target; then the folder itself is flushed. On any failure the temporary file is
// removed, the target is left exactly as it was, one warning names the file and the reason, and the
// caller gets false to report through its own result.
//
//   FileWriter writer(path);
//   if (!writer.open()) ...            // nothing can be written there: skip the work
//   writer.write(part1); writer.write(part2);
//   if (!writer.commit()) ...          // the old file is untouched
//
// A writer that is destroyed without commit() leaves no trace.
class FileWriter
{
public:
    explicit FileWriter(const QString &path);
    ~FileWriter();
    FileWriter(const FileWriter &) = delete;
    FileWriter &operator=(const FileWriter &) = delete;

    // Never replace a file that is already there: commit() then fails (the favourites import relies on
    // it). The check and the creation are one step, so a file that appears meanwhile is not overwritten.
    void setCreateOnly(bool createOnly);

    // Replace the name itself, as a new file of `mode` (permission bits), whatever regular file or
    // symbolic link holds it now: a copy carries its source's permissions, not those of the file it
    // replaces, and a link at the name is replaced rather than written through to where it points.
    void setFreshFile(unsigned mode);

    // The exclusive step of create-only commits, link(2) unless a test plays a file system without
    // hard links (FAT) by giving a call that fails.
    using LinkCall = int (*)(const char *existing, const char *name);
    static void setLinkCall(LinkCall call);

    bool open();
    // False once any write fell short; later writes and commit() then fail too.
    bool write(const QByteArray &data);
    // Appends the whole content of the file `source`.
    bool copyFrom(const QString &source);
    bool commit();

    // The target (once open, with symbolic links followed) and why the last step failed.
    QString path() const;
    QString errorString() const;

    // The whole file in one call.
    static bool writeFile(const QString &path, const QByteArray &content);

private:
    bool fail(const QString &reason, int error = 0);
    void discard();
    // Gives the temporary file the target's name only if that name is free; an errno, or 0.
    static int createExclusively(const QByteArray &temp, const QByteArray &target);

    QString m_path;
    QString m_tempPath;
    QString m_error;
    int m_fd = -1;
    bool m_createOnly = false;
    bool m_fresh = false;
    unsigned m_freshMode = 0;
    bool m_failed = false;
    bool m_replaces = false;
    unsigned m_uid = 0;
    unsigned m_gid = 0;
    unsigned m_mode = 0;
};

#endif // FILEWRITER_H
