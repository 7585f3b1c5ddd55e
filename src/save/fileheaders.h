#ifndef FILEHEADERS_H
#define FILEHEADERS_H

#include <QMap>
#include <QString>
#include <QVariant>

class persistentLog;

// The header a file list shows for a saved file, read from the file by its kind: set-ups, results and
// profiles (their "Header" member), logging files, maps, coverage maps, screenshots and reports.
class FileHeaders
{
public:
    // Fills `header` for the file `path` of kind `fileExt`; false when a set-up or logging file could
    // not be read (a map or coverage map that does not open leaves `header` as it was).
    static bool read(const QString &path, const QString &fileExt, persistentLog &log, QMap<QString, QVariant> &header);

    static bool json(const QString &path, QMap<QString, QVariant> &header);
    static bool logging(const QString &path, persistentLog &log, QMap<QString, QVariant> &header);
    static void gom(const QString &path, QMap<QString, QVariant> &header);
    static void mcf(const QString &path, QMap<QString, QVariant> &header);
    static QMap<QString, QVariant> png(const QString &path);
    static QMap<QString, QVariant> pdf(const QString &path);
    // An empty technology and measurement: the header of a file that carries none.
    static QMap<QString, QVariant> described();
};

#endif // FILEHEADERS_H
