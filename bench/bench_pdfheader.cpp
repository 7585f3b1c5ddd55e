// The header of a report (`readHeader` of a PDF with its trailer): the reader takes the line after the
// first "%%EOF" line, wherever it is, so its floor reads the same bytes and finds that line with memchr.
#include <QFile>
#include <QGuiApplication>
#include <QRandomGenerator>

#include <cstring>

#include "benchtable.h"
#include "hsave.h"

static const char kReport[] = "/tmp/report.pdf";
static const qint64 kBlock = 256 * 1024;

// The position just after the first "\n%%EOF\n" of the file, or -1: a buffered scan, memchr for each
// line break, the bytes carried over between blocks.
static qint64 scanForEnd(const char *path)
{
    static const char kLine[] = "\n%%EOF\n";
    const int lineSize = int(sizeof(kLine)) - 1;
    QFile in(path);
    if (!in.open(QIODevice::ReadOnly))
        return -1;
    QByteArray buffer;
    qint64 offset = 0;
    for (;;) {
        const QByteArray block = in.read(kBlock);
        if (block.isEmpty())
            return -1;
        buffer.append(block);
        const char *data = buffer.constData();
        for (const char *at = data;
             (at = static_cast<const char *>(memchr(at, '\n', size_t(buffer.size() - (at - data))))); ++at) {
            if (buffer.size() - (at - data) < lineSize)
                break;
            if (memcmp(at, kLine, size_t(lineSize)) == 0)
                return offset + (at - data) + lineSize;
        }
        const int keep = qMin(buffer.size(), lineSize - 1);
        offset += buffer.size() - keep;
        buffer = buffer.right(keep);
    }
}

int main(int argc, char **argv)
{
    QGuiApplication app(argc, argv);
    // A report with a screenshot is a few megabytes, mostly compressed streams.
    QFile file(kReport);
    if (!file.open(QIODevice::WriteOnly))
        return 1;
    file.write("%PDF-1.4\n");
    QRandomGenerator random(21);
    QByteArray stream(4 * 1024 * 1024, Qt::Uninitialized);
    for (char &byte : stream)
        byte = char(random.bounded(256));
    file.write(stream);
    file.write("\n%%EOF\nLTE,Spectrum\n");
    file.close();
    HSave save;

    const double project = BenchTable::medianMs([&] {
        if (!save.readHeader(kReport, "pdf") || save.getHeader("Measure") != "Spectrum")
            qFatal("readHeader did not read the trailer");
    });
    const double floor = BenchTable::medianMs([&] {
        const qint64 end = scanForEnd(kReport);
        QFile in(kReport);
        if (end < 0 || !in.open(QIODevice::ReadOnly) || !in.seek(end) || in.readLine(4096) != "LTE,Spectrum\n")
            qFatal("the floor did not find the trailer");
    });
    BenchTable::printRow(QStringLiteral("`readHeader` of a 4 MB report"), project, floor, 0);
    return 0;
}
