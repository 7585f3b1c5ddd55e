#ifndef PATHGUARD_H
#define PATHGUARD_H

#include <QString>

// Names and paths that come from a keyboard, a file or a USB stick are checked here before anything is
// created, re-owned or re-moded with them: a name stays in the folder it is meant for, and ownership
// changes stay on the instrument's user storage.
class PathGuard
{
public:
    // True when `path`, cleaned, is one entry directly below `folder` (cleaned) and, where they exist,
    // neither of them leads elsewhere through a symbolic link.
    static bool isDirectChild(const QString &path, const QString &folder);

    // A relative name that stays inside the folder it is given for: it may name folders of its own
    // ("a/b"), but never climbs out ("..", "a/../.."), is never absolute, never starts with "-" (a
    // program would read it as an option) and holds no zero character. An empty name stays inside.
    static bool staysInside(const QString &name);

private:
    static QString resolved(const QString &path);
};

#endif // PATHGUARD_H
