#ifndef SAVETESTFILES_H
#define SAVETESTFILES_H

// File helpers shared by the save tests.

#include <QDateTime>

#include "testfiles.h"

// Names made unique within the second of the call: either stamp of the two seconds around it.
inline bool isStamped(const QString &name, const QString &prefix, const QString &suffix, const QDateTime &before)
{
    const QString format = QStringLiteral("yyMMddhhmmss");
    const QDateTime after = QDateTime::currentDateTime();
    return name == prefix + '_' + before.toString(format) + suffix
        || name == prefix + '_' + after.toString(format) + suffix;
}

#endif // SAVETESTFILES_H
