// The PDF report (`savePDF` after a capture): against writing one Letter page at the same resolution
// with the screenshot read back from its file, the same number of texts in the report's font, and the
// trailer appended.
#include <QFile>
#include <QFont>
#include <QGuiApplication>
#include <QImage>
#include <QPainter>
#include <QPdfWriter>
#include <QPixmap>
#include <QScreen>

#include "benchtable.h"
#include "hsave.h"
#include "hscreenshot.h"

static const char kReport[] = "/tmp/report.pdf";
static const char kFloor[] = "/tmp/floor.pdf";
static const char *const kFields[] = {"reportCompanyCnfg", "reportEngineerCnfg", "Technology", "Measure"};

int main(int argc, char **argv)
{
    QGuiApplication app(argc, argv);
    HScreenShot shot;
    shot.capture();
    HSave save;
    for (const char *field : kFields)
        save.addCommonUI(field, QStringLiteral("%1 value").arg(field));

    const double project = BenchTable::medianMs([&] { save.savePDF(kReport, "Off", "On"); });
    const double floor = BenchTable::medianMs([&] {
        {
            const QImage screen(HScreenShot::captureFilePath());
            QPdfWriter writer(kFloor);
            writer.setPageSize(QPageSize(QPageSize::Letter));
            writer.setResolution(70);
            QPainter painter(&writer);
            painter.setFont(QFont("Noto Sans UI", 12, QFont::Bold));
            int y = 40;
            for (int text = 0; text < 10; ++text)
                painter.drawText(40, y += 20, QStringLiteral("Field %1").arg(text));
            painter.setFont(QFont("Noto Sans UI", 10));
            for (int text = 0; text < 10; ++text)
                painter.drawText(200, y -= 20, QStringLiteral("Value %1").arg(text));
            painter.drawImage(QRect(40, 260, 520, 338), screen);
        }
        QFile file(kFloor);
        file.open(QIODevice::Append);
        file.write("LTE,Spectrum\n");
    });
    BenchTable::printRow(QStringLiteral("PDF report with the screenshot"), project, floor, 0);
    return 0;
}
