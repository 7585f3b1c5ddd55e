// Checks the files the demo's tour wrote: they must be what they say they are, and the pictures must
// show the spectrum a person saw.
// Usage: demo_tour_check WxH SETUP SCREENSHOT INVERTED_SCREENSHOT REPORT FAVOURITES_DB SPECTRUM_PICTURE
#include <QFile>
#include <QGuiApplication>
#include <QImage>
#include <QJsonDocument>
#include <QJsonObject>
#include <cstdio>

static int failures = 0;

static void check(bool condition, const QString &what)
{
    std::printf("%s %s\n", condition ? "ok  " : "FAIL", qPrintable(what));
    failures += condition ? 0 : 1;
}

// Pixels of the picture area (above `height`) in trace T1's colour on the display, or in its inverse.
static int traceOnePixels(const QImage &image, int height, bool inverted)
{
    const QColor colour = inverted ? QColor(0x00, 0x2a, 0xb0) : QColor(0xff, 0xd5, 0x4f);
    int count = 0;
    for (int y = 0; y < qMin(height, image.height()); ++y) {
        for (int x = 0; x < image.width(); ++x)
            count += image.pixelColor(x, y) == colour;
    }
    return count;
}

int main(int argc, char **argv)
{
    QGuiApplication app(argc, argv);
    const QStringList args = app.arguments();
    if (args.size() != 8)
        return 2;
    const QSize screen(args[1].section('x', 0, 0).toInt(), args[1].section('x', 1).toInt());
    QFile setupFile(args[2]), report(args[5]);
    const QJsonObject setup
        = setupFile.open(QIODevice::ReadOnly) ? QJsonDocument::fromJson(setupFile.readAll()).object() : QJsonObject();
    check(setup.value("Header").toObject().value("TabCount").toInt() == 2, "set-up header has TabCount 2");
    check(setup.value("Tab1")
                  .toObject()
                  .value(":config:spectrumanalyzer_app:spectrumanalyzer_reg_module:centreFreq:")
                  .toDouble()
              == 1842.5e6,
          "Tab1 holds the spectrum analyser's centre frequency 1842.5 MHz");
    check(setup.value("Tab2").toObject().contains(
              ":config:networkanalyzer_app:networkanalyzer_reg_module:measurementModeCnfg:"),
          "Tab2 holds the network analyser's settings");
    check(report.open(QIODevice::ReadOnly) && report.readAll().endsWith("%%EOF\nLTE,Spectrum"),
          "report ends with LTE,Spectrum");

    // Screenshots add a settings band below the picture: 165 rows on a 1920 x 1080 screen, 120 on any
    // other. The interface is dark; an inverted capture is mostly light.
    for (const int file : {3, 4, 7}) {
        const QImage image(args[file]);
        const bool inverted = file == 4;
        const int band = file == 7 ? 0 : screen == QSize(1920, 1080) ? 165 : 120;
        check(image.size() == screen + QSize(0, band), args[file] + " is the screen and its band");
        check(traceOnePixels(image, screen.height(), inverted) > 200, args[file] + " shows the spectrum's trace T1");
        check((image.pixelColor(2, 2).lightness() > 128) == inverted,
              args[file] + (inverted ? " is inverted" : " is as shown"));
        check(file == 7 || image.text("Description") == "LTE/Spectrum", "screenshot description is LTE/Spectrum");
        check(file == 7 || image.pixelColor(image.width() - 1, image.height() - 1) == Qt::white,
              "annotation band is white");
    }
    return failures == 0 ? 0 : 1;
}
