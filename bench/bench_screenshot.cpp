// A screenshot with its annotation (`capture`, then `saveScreen` with a band of settings): against
// grabbing the screen, keeping it as PNG, and writing it again under a painted band with its text chunk.
#include <QGuiApplication>
#include <QImage>
#include <QPainter>
#include <QPixmap>
#include <QScreen>

#include "benchtable.h"
#include "hscreenshot.h"

static const char kCapture[] = "/tmp/capture.png";
static const char kShot[] = "/tmp/shots/shot.png";

static void configure(HScreenShot &shot)
{
    shot.clearMap();
    for (int i = 0; i < 8; ++i)
        shot.configMap(QStringLiteral("Setting %1").arg(i), QStringLiteral("%1 MHz").arg(1800 + i));
    shot.configMap("T1", "ClearWrite");
}

int main(int argc, char **argv)
{
    QGuiApplication app(argc, argv);
    HScreenShot shot;
    configure(shot);

    const double project = BenchTable::medianMs([&] {
        shot.capture();
        shot.saveScreen(kShot, "Off", "LTE", "Spectrum");
    });
    const double floor = BenchTable::medianMs([&] {
        QGuiApplication::primaryScreen()->grabWindow(0).toImage().save(kCapture, "PNG");
        const QImage screen(kCapture);
        QImage canvas(screen.width(), screen.height() + 165, QImage::Format_RGB32);
        canvas.fill(Qt::white);
        QPainter painter(&canvas);
        painter.drawImage(0, 0, screen);
        for (int i = 0; i < 8; ++i)
            painter.drawText(2 + 320 * (i % 4), screen.height() + 20 * (1 + i / 4),
                             QStringLiteral("Setting %1: %2 MHz").arg(i).arg(1800 + i));
        painter.end();
        canvas.setText("Description", "LTE/Spectrum");
        canvas.save("/tmp/shots/floor.png", "PNG");
    });
    BenchTable::printRow(QStringLiteral("Screenshot with annotation (1920x1080 screen)"), project, floor, 0);
    return 0;
}
