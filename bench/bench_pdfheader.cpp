// The header of a report (`readHeader` of a PDF with its trailer): against reading the file's last
// kilobytes, where the trailer is.
#include <QFile>
#include <QGuiApplication>
#include <QRandomGenerator>

#include "benchtable.h"
#include "hsave.h"

static const char kReport[] = "/tmp/report.pdf";
static const qint64 kTail = 4096;

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
        QFile in(kReport);
        in.open(QIODevice::ReadOnly);
        in.seek(qMax(qint64(0), in.size() - kTail));
        if (!in.read(kTail).contains("%%EOF\nLTE,Spectrum"))
            qFatal("the floor did not find the trailer");
    });
    BenchTable::printRow(QStringLiteral("`readHeader` of a 4 MB report"), project, floor, 0);
    return 0;
}
