#include "favoritefiles.h"

#include <QDir>
#include <QFile>

namespace {
const int kFilesPerGroup = 20;
}

QString FavoriteFiles::directory()
{
    return QStringLiteral("/user/tarnwick5G/internal/.favorite/");
}

QByteArray FavoriteFiles::content(int index)
{
    QByteArray text;
    for (int line = 0; text.size() < 1000; ++line)
        text += QStringLiteral("{\"setting%1\": %2}\n").arg(line).arg(index * 0.5 + line).toUtf8();
    return text;
}

void FavoriteFiles::write(int files)
{
    QDir(directory()).removeRecursively();
    for (int index = 0; index < files; ++index) {
        const QString group
            = directory() + QStringLiteral("site%1").arg(index / kFilesPerGroup, 4, 10, QLatin1Char('0'));
        QDir().mkpath(group);
        QFile file(group + QStringLiteral("/fav%1.stav").arg(index, 6, 10, QLatin1Char('0')));
        if (!file.open(QIODevice::WriteOnly) || file.write(content(index)) < 0)
            qFatal("cannot write %s", qPrintable(file.fileName()));
    }
}
