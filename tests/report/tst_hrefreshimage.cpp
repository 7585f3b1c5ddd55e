#include <QtTest>
#include <QPainter>

#include "hrefreshimage.h"

namespace {

const QRgb kFill = qRgb(0x11, 0x22, 0x33);

void writePicture(const QString &path, const QSize &size, const QColor &colour)
{
    QImage picture(size, QImage::Format_RGB32);
    picture.fill(colour);
    QVERIFY(picture.save(path, "PNG"));
}

// What the item paints onto a canvas of a known colour.
QImage painted(HRefreshImage &item, const QSize &canvasSize = QSize(120, 60))
{
    QImage canvas(canvasSize, QImage::Format_RGB32);
    canvas.fill(kFill);
    QPainter painter(&canvas);
    item.paint(&painter);
    return canvas;
}

// The rectangle covered by pixels other than the canvas colour.
QRect paintedArea(const QImage &canvas)
{
    QRect area;
    for (int y = 0; y < canvas.height(); ++y)
        for (int x = 0; x < canvas.width(); ++x)
            if (canvas.pixel(x, y) != kFill)
                area |= QRect(x, y, 1, 1);
    return area;
}

QStringList s_messages;

void recordMessage(QtMsgType, const QMessageLogContext &, const QString &message)
{
    s_messages.append(message);
}

} // namespace

class TestHRefreshImage : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void paintsIntoWholePixels()
    {
        writePicture("/tmp/red picture.png", QSize(37, 91), Qt::red);
        HRefreshImage item;
        item.setSize(QSizeF(100.7, 50.2));
        item.setSource("/tmp/red picture.png");
        const QImage canvas = painted(item);
        QCOMPARE(paintedArea(canvas), QRect(0, 0, 100, 50));
        QCOMPARE(canvas.pixel(99, 49), qRgb(0xff, 0, 0));
    }

    void squeezesWithoutKeepingAspect()
    {
        // Left half blue, right half green: both halves must stay halves of the item.
        QImage picture(1280, 800, QImage::Format_RGB32);
        picture.fill(Qt::blue);
        QPainter(&picture).fillRect(640, 0, 640, 800, Qt::green);
        QVERIFY(picture.save("/tmp/wide.png"));
        HRefreshImage item;
        item.setSize(QSizeF(400, 400));
        item.setSource("/tmp/wide.png");
        const QImage canvas = painted(item, QSize(420, 420));
        QCOMPARE(paintedArea(canvas), QRect(0, 0, 400, 400));
        QCOMPARE(canvas.pixel(5, 395), qRgb(0, 0, 0xff));
        QCOMPARE(canvas.pixel(195, 5), qRgb(0, 0, 0xff));
        QCOMPARE(canvas.pixel(205, 5), qRgb(0, 0xff, 0));
        QCOMPARE(canvas.pixel(395, 395), qRgb(0, 0xff, 0));
    }

    void reloadsOnEverySetSourceAndRefresh()
    {
        HRefreshImage item;
        item.setSize(QSizeF(20, 10));
        QSignalSpy changed(&item, &HRefreshImage::sourceChanged);
        const QString path = QStringLiteral("/tmp/live.png");

        item.setSource(path); // not there yet
        QCOMPARE(changed.count(), 1);
        QCOMPARE(item.source(), path);
        QCOMPARE(paintedArea(painted(item)), QRect());

        writePicture(path, QSize(4, 4), Qt::red);
        item.refresh();
        QCOMPARE(changed.count(), 1);
        QCOMPARE(painted(item).pixel(0, 0), qRgb(0xff, 0, 0));

        writePicture(path, QSize(4, 4), Qt::blue);
        item.setSource(path); // same source: still reloaded and announced
        QCOMPARE(changed.count(), 2);
        QCOMPARE(painted(item).pixel(0, 0), qRgb(0, 0, 0xff));

        QVERIFY(QFile::remove(path));
        item.refresh();
        QCOMPARE(paintedArea(painted(item)), QRect());
        QCOMPARE(item.property("source").toString(), path);
    }

    // Sources that name no picture paint nothing and say nothing.
    void plainPathsOnly()
    {
        writePicture("/tmp/url.png", QSize(4, 4), Qt::red);
        s_messages.clear();
        const QtMessageHandler previous = qInstallMessageHandler(recordMessage);
        HRefreshImage item;
        item.setSize(QSizeF(20, 10));
        item.setSource("file:///tmp/url.png");
        QCOMPARE(paintedArea(painted(item)), QRect());
        item.setSource(QString());
        item.refresh();
        QCOMPARE(paintedArea(painted(item)), QRect());
        item.setSource("/tmp/none/missing.png");
        QCOMPARE(paintedArea(painted(item)), QRect());
        qInstallMessageHandler(previous);
        QCOMPARE(s_messages, QStringList());
    }
};

QTEST_MAIN(TestHRefreshImage)
#include "tst_hrefreshimage.moc"
