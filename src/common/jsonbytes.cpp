#include "jsonbytes.h"

#include <QFile>

namespace {
// These files are a few megabytes at most.
const qint64 kMaxJsonBytes = 64 * 1024 * 1024;
const qint64 kReadChunkBytes = 64 * 1024;
}

// Sized by the file, not by the bound: a bound-sized buffer would be reserved for every small file. A
// file that reports no size (or grows meanwhile) is read on to its end, still within the bound.
QByteArray JsonBytes::read(QFile &file)
{
    QByteArray bytes = file.read(qBound(qint64(0), file.size() - file.pos(), kMaxJsonBytes));
    while (bytes.size() < kMaxJsonBytes) {
        const QByteArray more = file.read(qMin(kReadChunkBytes, kMaxJsonBytes - bytes.size()));
        if (more.isEmpty())
            break;
        bytes += more;
    }
    return bytes;
}
