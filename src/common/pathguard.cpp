#include "pathguard.h"

#include <QDir>
#include <QFileInfo>

// The path with every symbolic link of its existing part resolved; the missing rest is appended as
// written (it is cleaned, so it holds no "..").
QString PathGuard::resolved(const QString &path)
{
    QString existing = QDir::cleanPath(QDir::isAbsolutePath(path) ? path : QDir::current().absoluteFilePath(path));
    QString rest;
    while (!QFileInfo::exists(existing) && existing != QLatin1String("/")) {
        const QFileInfo info(existing);
        if (info.isSymLink()) // a dangling link: it could point anywhere once its target appears
            return QString();
        rest = QLatin1Char('/') + info.fileName() + rest;
        existing = info.path();
    }
    const QString canonical = QFileInfo(existing).canonicalFilePath();
    if (canonical.isEmpty())
        return QString();
    return canonical == QLatin1String("/") && !rest.isEmpty() ? rest : canonical + rest;
}

bool PathGuard::isDirectChild(const QString &path, const QString &folder)
{
    const QString cleanFolder = QDir::cleanPath(folder);
    const QFileInfo child(QDir::cleanPath(path));
    // A cleaned path holds no "." or ".." and ends in a name, unless it is the root (no name at all).
    if (child.fileName().isEmpty() || path.contains(QChar(0)) || child.path() != cleanFolder)
        return false;
    const QString realFolder = resolved(cleanFolder);
    return !realFolder.isEmpty() && resolved(child.filePath()) == realFolder + QLatin1Char('/') + child.fileName();
}

bool PathGuard::staysInside(const QString &name)
{
    if (name.contains(QChar(0)) || name.startsWith(QLatin1Char('-')) || QDir::isAbsolutePath(name))
        return false;
    const QString clean = QDir::cleanPath(name);
    return clean != QLatin1String("..") && !clean.startsWith(QLatin1String("../"));
}
