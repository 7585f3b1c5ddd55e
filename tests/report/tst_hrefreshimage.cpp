#include <QtTest>
#include <QPainter>

#include "hrefreshimage.h"

namespace {

const QRgb kCanvas = qRgb(0x11, 0x22, 0x33);
QStringList s_messages;

void writePicture(const QString &path, const QColor &left, const QColor &right, const QSize &size = QSize(4, 4))
{
    QImage picture(size, QImage::Format_RGB32);
    picture.fill(left);
    QPainter(&picture).fillRect(size.width() / 2, 0, size.width() / 2, size.height(), right);
    picture.save(path, "PNG");
}

// What the item paints onto a canvas; covered is the part of the canvas it painted over.
QImage painted(HRefreshImage &item, QRect *covered)
{
    QImage canvas(420, 420, QImage::Format_RGB32);
    canvas.fill(kCanvas);
    QPainter painter(&canvas);
    item.paint(&painter);
    *covered = QRect();
    for (int y = 0; y < canvas.height(); ++y)
        for (int x = 0; x < canvas.width(); ++x)
            if (canvas.pixel(x, y) != kCanvas)
                *covered |= QRect(x, y, 1, 1);
    return canvas;
}

} // namespace

class TestHRefreshImage : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void stretchesOverWholePixels()
    {
        HRefreshImage item;
        QRect covered;
        // A PNG under another suffix: the content decides the format.
        writePicture("/tmp/red picture.jpg", Qt::red, Qt::red, QSize(37, 91));
        item.setSize(QSizeF(100.7, 50.2));
        item.setSource("/tmp/red picture.jpg");
        QCOMPARE(painted(item, &covered).pixel(0, 0), qRgb(0xff, 0, 0));
        QCOMPARE(covered, QRect(0, 0, 100, 50));

        // 1280 x 800 squeezed to 400 x 400: the halves stay halves.
        writePicture("/tmp/wide.png", Qt::blue, Qt::green, QSize(1280, 800));
        item.setSize(QSizeF(400, 400));
        item.setSource("/tmp/wide.png");
        const QImage canvas = painted(item, &covered);
        QCOMPARE(covered, QRect(0, 0, 400, 400));
        QCOMPARE(canvas.pixel(199, 399), qRgb(0, 0, 0xff));
        QCOMPARE(canvas.pixel(200, 0), qRgb(0, 0xff, 0));
    }

    void reloadsOnEverySetSourceAndRefresh()
    {
        s_messages.clear();
        const QtMessageHandler previous = qInstallMessageHandler(
            [](QtMsgType, const QMessageLogContext &, const QString &message) { s_messages.append(message); });
        HRefreshImage item;
        item.setSize(QSizeF(20, 10));
        QSignalSpy changed(&item, &HRefreshImage::sourceChanged);
        QRect covered;
        const QString path = QStringLiteral("/tmp/live.png");

        item.setSource(path); // not there yet
        QCOMPARE(changed.count(), 1);
        QCOMPARE(item.property("source").toString(), path);
        painted(item, &covered);
        QCOMPARE(covered, QRect());

        writePicture(path, Qt::red, Qt::red);
        item.refresh();
        QCOMPARE(changed.count(), 1);
        QCOMPARE(painted(item, &covered).pixel(0, 0), qRgb(0xff, 0, 0));

        writePicture(path, Qt::blue, Qt::blue);
        item.setSource(path); // the same source is loaded and announced again
        QCOMPARE(changed.count(), 2);
        QCOMPARE(painted(item, &covered).pixel(0, 0), qRgb(0, 0, 0xff));

        // A file: URL names the same picture; an empty source paints nothing and says nothing.
        writePicture(path, Qt::green, Qt::green);
        item.setSource("file://" + path);
        QCOMPARE(painted(item, &covered).pixel(0, 0), qRgb(0, 0xff, 0));
        item.setSource(QString());
        item.refresh();
        painted(item, &covered);
        QCOMPARE(covered, QRect());
        qInstallMessageHandler(previous);
        QCOMPARE(s_messages, QStringList());
    }
};

QTEST_MAIN(TestHRefreshImage)
#include "tst_hrefreshimage.moc"
