#include "commatextfile.h"

#include <QFile>
#include <QFileInfo>

#include "filewriter.h"

namespace {
const char kSourceEmpty[] = "source is empty";
const char kUnableToOpen[] = "Unable to open the file";
const char kSeparator = ',';

// A line break inside a field would end its record there and start a forged one.
QString oneLine(QString line)
{
    return line.replace(QLatin1Char('\r'), QLatin1Char(' ')).replace(QLatin1Char('\n'), QLatin1Char(' '));
}
}

// Opening a FIFO blocks until its other end appears, and a device may never end: the source is a path
// QML chose, and the interface must not freeze on it. Only regular files (or a name still free) pass.
bool CommaTextFile::mayOpen(const QString &path)
{
    const QFileInfo info(path);
    return !info.exists() || info.isFile();
}

QString CommaTextFile::read(const QString &path, QList<QStringList> *records)
{
    if (path.isEmpty())
        return QLatin1String(kSourceEmpty);
    QFile file(path);
    if (!mayOpen(path) || !file.open(QIODevice::ReadOnly))
        return QLatin1String(kUnableToOpen);
    // Read as Latin-1, the encoding the file is written in, so names like "caf\xe9" come back unchanged.
    // The whole line is simplified before it is split, so "a   ,   b" reads as "a " and " b".
    while (!file.atEnd())
        records->append(QString::fromLatin1(file.readLine()).simplified().split(kSeparator));
    return QString();
}

void CommaTextFile::write(const QString &path, const QList<QStringList> &records)
{
    // Without a name there is nothing to write to (and Qt would warn about the missing name).
    if (path.isEmpty() || !mayOpen(path))
        return;
    QByteArray text;
    for (const QStringList &fields : records)
        text += oneLine(fields.join(QLatin1Char(kSeparator))).toLatin1() + '\n';
    FileWriter::writeFile(path, text);
}
