// Checks the files the demo's tour wrote: they must be what they say they are, and the pictures must
// show the spectrum a person saw.
// Usage: demo_tour_check WxH SETUP SCREENSHOT INVERTED_SCREENSHOT REPORT FAVOURITES_DB SPECTRUM_PICTURE
#include <QColor>
#include <QFile>
#include <QGuiApplication>
#include <QImage>
#include <QJsonDocument>
#include <QJsonObject>
#include <QSqlDatabase>
#include <QSqlQuery>
#include <cstdio>

static int failures = 0;
// T1's colour on the display: a picture of the Spectrum screen shows its trace.
static const QColor kTraceOne(0xff, 0xd5, 0x4f);

static void check(bool condition, const QString &what)
{
    std::printf("%s %s\n", condition ? "ok  " : "FAIL", qPrintable(what));
    if (!condition)
        ++failures;
}

static void checkSetup(const QString &path)
{
    QFile file(path);
    file.open(QIODevice::ReadOnly);
    const QJsonObject setup = QJsonDocument::fromJson(file.readAll()).object();
    const QJsonObject header = setup.value("Header").toObject();
    check(header.value("TabCount").toInt() == 2, "set-up header has TabCount 2");
    const QJsonObject tab1 = setup.value("Tab1").toObject();
    const QJsonObject tab2 = setup.value("Tab2").toObject();
    check(tab1.value(":config:spectrumanalyzer_app:spectrumanalyzer_reg_module:centreFreq:").toDouble() == 1842.5e6,
          "Tab1 holds the spectrum analyser's centre frequency 1842.5 MHz");
    check(tab2.contains(":config:networkanalyzer_app:networkanalyzer_reg_module:measurementModeCnfg:"),
          "Tab2 holds the network analyser's settings");
}

// Pixels of the picture area (above `height`) in `colour`, or in its inverse.
static int pixelsOf(const QImage &image, int height, QColor colour, bool inverted)
{
    if (inverted)
        colour = QColor(255 - colour.red(), 255 - colour.green(), 255 - colour.blue());
    int count = 0;
    for (int y = 0; y < qMin(height, image.height()); ++y) {
        for (int x = 0; x < image.width(); ++x)
            count += image.pixelColor(x, y) == colour;
    }
    return count;
}

static void checkScreenshot(const QString &path, const QSize &screen, bool inverted)
{
    const QImage image(path);
    // The settings band below the picture: 165 rows on a 1920 x 1080 screen, 120 on any other.
    const int band = screen == QSize(1920, 1080) ? 165 : 120;
    check(image.size() == QSize(screen.width(), screen.height() + band),
          QStringLiteral("%1 is the screen and its band").arg(path));
    check(image.text("Description") == "LTE/Spectrum", "screenshot description is LTE/Spectrum");
    check(pixelsOf(image, screen.height(), kTraceOne, inverted) > 200, "the capture shows the spectrum's trace T1");
    // The interface is dark; an inverted capture is mostly light.
    const QColor corner = image.pixelColor(2, 2);
    check(inverted ? corner.lightness() > 128 : corner.lightness() < 128,
          QStringLiteral("picture area is %1").arg(inverted ? "inverted" : "as shown"));
    check(image.pixelColor(image.width() - 1, image.height() - 1) == QColor(Qt::white), "annotation band is white");
}

static void checkReport(const QString &path)
{
    QFile file(path);
    file.open(QIODevice::ReadOnly);
    const QByteArray bytes = file.readAll();
    check(bytes.endsWith("%%EOF\nLTE,Spectrum"), "report ends with the trailer LTE,Spectrum");
}

static void checkFavourites(const QString &path)
{
    QSqlDatabase db = QSqlDatabase::addDatabase("QSQLITE", "check");
    db.setDatabaseName(path);
    check(db.open(), "favourites database opens");
    QSqlQuery query("SELECT groupName, fileName FROM FAVORITE_FILES ORDER BY id", db);
    int rows = 0;
    while (query.next())
        ++rows;
    check(rows == 3, QStringLiteral("favourites database holds the 3 sample favourites (%1)").arg(rows));
}

static void checkPicture(const QString &path, const QSize &screen)
{
    const QImage image(path);
    check(image.size() == screen, QStringLiteral("%1 is the whole window").arg(path));
    check(pixelsOf(image, screen.height(), kTraceOne, false) > 200, "the spectrum picture shows trace T1");
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
    checkSetup(argv[2]);
    checkScreenshot(argv[3], screen, false);
    checkScreenshot(argv[4], screen, true);
    checkReport(argv[5]);
    checkFavourites(argv[6]);
    checkPicture(argv[7], screen);
    return failures == 0 ? 0 : 1;
}
