#include "starterfileactions.h"

#include "localfiles.h"
#include "starterfiles.h"

#include <QFileInfo>

namespace {
bool isOk(const QString &reply)
{
    return reply == QLatin1String(StarterFiles::s_replyOk);
}
} // namespace

bool StarterFileActions::copy(const QString &src, const QString &dst)
{
    return isOk(StarterFiles::send(StarterFiles::s_copyAction, StarterFiles::pair(src, dst)));
}

bool StarterFileActions::move(const QString &src, const QString &dst)
{
    return isOk(StarterFiles::send(StarterFiles::s_moveAction, StarterFiles::pair(src, dst)));
}

bool StarterFileActions::remove(const QString &src)
{
    return isOk(StarterFiles::send(StarterFiles::s_deleteAction, src));
}

StarterFileActions::Placement StarterFileActions::placeInto(Kind kind, const QString &srcFilePath, const QString &dst)
{
    const QFileInfo source(srcFilePath);
    const QString target = dst + QLatin1Char('/') + source.fileName();
    if (!QFileInfo::exists(target))
        return (kind == Copy ? copy(srcFilePath, dst) : move(srcFilePath, dst)) ? Placed : Failed;
    if (source.absolutePath() != dst)
        return NameTaken;
    if (kind == Copy) {
        // Base name up to the first "." and suffix after the last: "a.b.c" becomes "a_<stamp>.c".
        QString newName = dst + QLatin1Char('/') + LocalFiles::stamped(source.baseName());
        if (source.isFile())
            newName += QLatin1Char('.') + source.suffix();
        copy(srcFilePath, newName);
    }
    return Placed;
}
