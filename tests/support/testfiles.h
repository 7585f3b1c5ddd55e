#ifndef TESTFILES_H
#define TESTFILES_H

// Reading and writing whole files in tests, so written bytes can be compared exactly; and the columns
// of a data-driven test in one line: addColumns<QString, int>({"name", "count"}).

#include <QtTest>

#include <sys/stat.h>

template <typename... Types>
inline void addColumns(std::initializer_list<const char *> names)
{
    auto name = names.begin();
    (QTest::addColumn<Types>(*name++), ...);
}

inline QByteArray readFile(const QString &path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray("<missing>");
}

// Writes `content` to `path`, making its folder when needed.
inline void writeFile(const QString &path, const QByteArray &content)
{
    QFile file(path);
    QVERIFY2(QDir().mkpath(QFileInfo(path).path()) && file.open(QIODevice::WriteOnly | QIODevice::Truncate),
             qPrintable(path));
    file.write(content);
}

// Every entry below the sandbox's writable roots with its kind, mode, owner, size and link target, by
// path, leaving out the entries below `except`: what a call changed outside the folder it was meant for.
inline QMap<QString, QString> sandboxState(const QString &except = QString())
{
    const QString skipped = except.isEmpty() ? QString() : QDir::cleanPath(except);
    QMap<QString, QString> state;
    for (const char *root : {"/user", "/base", "/velmora", "/cust", "/home", "/root", "/tmp"}) {
        QDirIterator it(QString::fromLatin1(root),
                        QDir::AllEntries | QDir::Hidden | QDir::System | QDir::NoDotAndDotDot,
                        QDirIterator::Subdirectories);
        while (it.hasNext()) {
            const QString path = it.next();
            if (!skipped.isEmpty() && (path == skipped || path.startsWith(skipped + QLatin1Char('/'))))
                continue;
            struct stat info {};
            ::lstat(QFile::encodeName(path).constData(), &info);
            state.insert(path,
                         QStringLiteral("%1 %2:%3 %4 %5")
                             .arg(info.st_mode, 0, 8)
                             .arg(info.st_uid)
                             .arg(info.st_gid)
                             .arg(S_ISDIR(info.st_mode) ? 0 : qint64(info.st_size))
                             .arg(it.fileInfo().symLinkTarget()));
        }
    }
    return state;
}

#endif // TESTFILES_H
