// Checks the files the demo's tour wrote: they must be what they say they are.
// Usage: demo_tour_check SETUP SCREENSHOT INVERTED_SCREENSHOT REPORT FAVOURITES_DB
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

static void checkScreenshot(const QString &path, bool inverted)
{
    const QImage image(path);
    check(image.size() == QSize(1280, 920), QStringLiteral("%1 is 1280 x 920 (screen and band)").arg(path));
    check(image.text("Description") == "LTE/Spectrum", "screenshot description is LTE/Spectrum");
    // The interface is dark; an inverted capture is mostly light.
    const QColor corner = image.pixelColor(2, 2);
    check(inverted ? corner.lightness() > 128 : corner.lightness() < 128,
          QStringLiteral("picture area is %1").arg(inverted ? "inverted" : "as shown"));
    check(image.pixelColor(1279, 919) == QColor(Qt::white), "annotation band is white");
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

int main(int argc, char **argv)
{
    QGuiApplication app(argc, argv);
    if (argc != 6) {
        std::fprintf(stderr, "usage: demo_tour_check SETUP SCREENSHOT INVERTED REPORT FAVOURITES\n");
        return 2;
    }
    checkSetup(argv[1]);
    checkScreenshot(argv[2], false);
    checkScreenshot(argv[3], true);
    checkReport(argv[4]);
    checkFavourites(argv[5]);
    return failures == 0 ? 0 : 1;
}
