// Checks the files the demo's tour wrote: they must be what they say they are, and the pictures must
// show the spectrum a person saw.
// Usage: demo_tour_check WxH SETUP SCREENSHOT INVERTED_SCREENSHOT REPORT FAVOURITES_DB SPECTRUM_PICTURE
#include <QFile>
#include <QGuiApplication>
#include <QImage>
#include <QJsonDocument>
#include <QJsonObject>
#include <QSqlDatabase>
#include <QSqlQuery>
#include <cstdio>

static int failures = 0;

static void check(bool condition, const QString &what)
{
    std::printf("%s %s\n", condition ? "ok  " : "FAIL", qPrintable(what));
    failures += condition ? 0 : 1;
}

static QByteArray contents(const char *path)
{
    QFile file(QString::fromLocal8Bit(path));
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

// Whether the picture area (above `height`) shows trace T1 in its colour on the display, or inverted.
static bool showsTrace(const QImage &image, int height, bool inverted)
{
    const QColor colour = inverted ? QColor(0x00, 0x2a, 0xb0) : QColor(0xff, 0xd5, 0x4f);
    int count = 0;
    for (int y = 0; y < qMin(height, image.height()); ++y) {
        for (int x = 0; x < image.width(); ++x)
            count += image.pixelColor(x, y) == colour;
    }
    return count > 200;
}

int main(int argc, char **argv)
{
    QGuiApplication app(argc, argv);
    if (argc != 8) {
        std::fprintf(stderr, "usage: demo_tour_check WxH SETUP SCREENSHOT INVERTED REPORT FAVOURITES SPECTRUM_PICTURE\n");
        return 2;
    }
    const QStringList size = QString::fromLocal8Bit(argv[1]).split('x');
    const QSize screen(size.value(0).toInt(), size.value(1).toInt());

    const QJsonObject setup = QJsonDocument::fromJson(contents(argv[2])).object();
    check(setup.value("Header").toObject().value("TabCount").toInt() == 2, "set-up header has TabCount 2");
    check(setup.value("Tab1").toObject().value(":config:spectrumanalyzer_app:spectrumanalyzer_reg_module:centreFreq:")
              .toDouble() == 1842.5e6, "Tab1 holds the spectrum analyser's centre frequency 1842.5 MHz");
    check(setup.value("Tab2").toObject().contains(":config:networkanalyzer_app:networkanalyzer_reg_module:measurementModeCnfg:"),
          "Tab2 holds the network analyser's settings");

    // The screenshots add a settings band below the picture: 165 rows on a 1920 x 1080 screen, 120 on
    // any other. The interface is dark; an inverted capture is mostly light.
    const int band = screen == QSize(1920, 1080) ? 165 : 120;
    for (const int file : {3, 4, 7}) {
        const QImage image(QString::fromLocal8Bit(argv[file]));
        const bool inverted = file == 4;
        check(image.size() == screen + QSize(0, file == 7 ? 0 : band), QStringLiteral("%1 has its size").arg(argv[file]));
        check(showsTrace(image, screen.height(), inverted), QStringLiteral("%1 shows the spectrum's trace T1").arg(argv[file]));
        check((image.pixelColor(2, 2).lightness() > 128) == inverted, inverted ? "picture is inverted" : "picture is as shown");
        if (file != 7) {
            check(image.text("Description") == "LTE/Spectrum", "screenshot description is LTE/Spectrum");
            check(image.pixelColor(image.width() - 1, image.height() - 1) == Qt::white, "annotation band is white");
        }
    }
    check(contents(argv[5]).endsWith("%%EOF\nLTE,Spectrum"), "report ends with the trailer LTE,Spectrum");
    QSqlDatabase db = QSqlDatabase::addDatabase("QSQLITE", "check");
    db.setDatabaseName(QString::fromLocal8Bit(argv[6]));
    const bool open = db.open();
    QSqlQuery query("SELECT COUNT(*) FROM FAVORITE_FILES", db);
    check(open && query.next() && query.value(0).toInt() == 3, "favourites database holds 3 favourites");
    return failures == 0 ? 0 : 1;
}
