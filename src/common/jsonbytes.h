#ifndef JSONBYTES_H
#define JSONBYTES_H

#include <QByteArray>

class QFile;

// The content of a JSON file of the module (set-ups, tab and result files, site tags, map profiles),
// read with a bound no real file reaches: a huge file picked by mistake, or brought on a USB stick,
// does not exhaust the memory; what was read then simply does not parse.
class JsonBytes
{
public:
    static QByteArray read(QFile &file);
};

#endif // JSONBYTES_H
