#ifndef TESTFILES_H
#define TESTFILES_H

// Reading and writing whole files in tests, so written bytes can be compared exactly; and the columns
// of a data-driven test in one line: addColumns<QString, int>({"name", "count"}).

#include <QtTest>

#include <algorithm>

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

// Folders of the host bound into the sandbox (the checkout, and HBASE_SANDBOX_BINDS such as a build tree
// elsewhere): tests running beside this one keep changing them, so they are never part of a snapshot.
inline QStringList hostFolders()
{
    QStringList folders;
    const QString checkout = qEnvironmentVariable("HBASE_CHECKOUT");
    if (!checkout.isEmpty())
        folders.append(QDir::cleanPath(checkout));
    for (const QString &bound : qEnvironmentVariable("HBASE_SANDBOX_BINDS").split(QLatin1Char(':'), Qt::SkipEmptyParts))
        folders.append(QDir::cleanPath(bound));
    return folders;
}

inline bool isBelow(const QString &path, const QString &folder)
{
    return path == folder || path.startsWith(folder + QLatin1Char('/'));
}

// Every entry below the instrument's roots and the sandbox's own /tmp with its kind, mode, owner, size
// and link target, by path, leaving out the entries below `except` and the host's folders bound in:
// what a call changed outside the folder it was meant for.
inline QMap<QString, QString> sandboxState(const QString &except = QString())
{
    QStringList skipped = hostFolders();
    if (!except.isEmpty())
        skipped.append(QDir::cleanPath(except));
    QMap<QString, QString> state;
    for (const char *root : {"/user", "/base", "/velmora", "/cust", "/home", "/root", "/tmp"}) {
        QDirIterator it(QString::fromLatin1(root),
                        QDir::AllEntries | QDir::Hidden | QDir::System | QDir::NoDotAndDotDot,
                        QDirIterator::Subdirectories);
        while (it.hasNext()) {
            const QString path = it.next();
            if (std::any_of(skipped.cbegin(), skipped.cend(), [&](const QString &folder) { return isBelow(path, folder); }))
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

// The paths added, removed or changed between two snapshots, one per line with what changed.
inline QString stateChanges(const QMap<QString, QString> &before, const QMap<QString, QString> &after)
{
    QStringList changes;
    QSet<QString> paths;
    for (const QString &path : before.keys() + after.keys())
        paths.insert(path);
    QStringList sorted = paths.values();
    sorted.sort();
    for (const QString &path : qAsConst(sorted)) {
        if (!before.contains(path))
            changes.append(QStringLiteral("added ") + path);
        else if (!after.contains(path))
            changes.append(QStringLiteral("removed ") + path);
        else if (before.value(path) != after.value(path))
            changes.append(QStringLiteral("changed ") + path + QLatin1String(": ") + before.value(path)
                           + QLatin1String(" -> ") + after.value(path));
    }
    return changes.join(QLatin1Char('\n'));
}

// Fails naming every path that differs from the snapshot `before`.
#define COMPARE_STATE(after, before)                                                                              \
    do {                                                                                                           \
        const QString changes = stateChanges((before), (after));                                                   \
        QVERIFY2(changes.isEmpty(), qPrintable(QStringLiteral("outside the intended folder:\n") + changes));     \
    } while (false)

#endif // TESTFILES_H
