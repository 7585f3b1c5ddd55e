// The header of a screenshot (`readHeader` of a 1920x1245 PNG): against reading its text chunk alone.
#include <QGuiApplication>
#include <QImage>
#include <QImageReader>
#include <QPainter>
#include <QRandomGenerator>

#include "benchtable.h"
#include "hsave.h"

static const char kShot[] = "/tmp/shot.png";

int main(int argc, char **argv)
{
    QGuiApplication app(argc, argv);
    // A picture that compresses like a screen does, not like a blank page.
    QImage image(1920, 1245, QImage::Format_RGB32);
    image.fill(Qt::black);
    QPainter painter(&image);
    QRandomGenerator random(21);
    for (int i = 0; i < 4000; ++i) {
        painter.setPen(QColor::fromRgb(random.generate()));
        painter.drawLine(random.bounded(1920), random.bounded(1245), random.bounded(1920), random.bounded(1245));
    }
    painter.end();
    image.setText("Description", "LTE/Spectrum");
    if (!image.save(kShot, "PNG"))
        return 1;
    HSave save;

    const double project = BenchTable::medianMs([&] {
        if (!save.readHeader(kShot, "png") || save.getHeader("Technology") != "LTE")
            qFatal("readHeader did not read the description");
    });
    const double floor = BenchTable::medianMs([&] {
        if (QImageReader(kShot).text("Description") != "LTE/Spectrum")
            qFatal("the floor did not read the description");
    });
    BenchTable::printRow(QStringLiteral("`readHeader` of a 1920x1245 screenshot"), project, floor, 0);
    return 0;
}
