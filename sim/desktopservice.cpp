#include "desktopservice.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

void DesktopService::raise(const QString &name, const QString &id)
{
    const QString path = QString::fromLatin1(lastTaskFile);
    QDir().mkpath(QFileInfo(path).path());
    QFile file(path);
    if (file.open(QIODevice::WriteOnly | QIODevice::Truncate))
        file.write(name.toUtf8() + '\n');
    emit TaskRaised(name, id);
}
