#ifndef STARTERFILEACTIONS_H
#define STARTERFILEACTIONS_H

#include <QString>

// Copies, moves and deletes of the user's files, done by the starter application with its rights; each
// says whether the starter answered "OK" (it also does when the starter is not on the bus).
class StarterFileActions
{
public:
    enum Kind { Copy, Move };
    enum Placement { Failed, Placed, NameTaken };

    static bool copy(const QString &src, const QString &dst);
    static bool move(const QString &src, const QString &dst);
    static bool remove(const QString &src);
    // Copies or moves `srcFilePath` into the folder `dst`. A name already taken there is refused, except
    // that a copy into the source's own folder makes a duplicate under a stamped name (a move there does
    // nothing); both count as placed.
    static Placement placeInto(Kind kind, const QString &srcFilePath, const QString &dst);
};

#endif // STARTERFILEACTIONS_H
