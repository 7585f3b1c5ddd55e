#include <QtTest>
#include <QPainter>
#include <QRasterWindow>
#include <QScreen>

#include "hscreenshot.h"

namespace {

const QString kCaptureFile = QStringLiteral("/tmp/tempScreenShotHNA.png");

// A frameless window over the whole screen, one known colour per quarter.
class QuarterWindow : public QRasterWindow
{
public:
    static QColor colour(int quarter)
    {
        static const QColor colours[] = {QColor(0xff, 0, 0), QColor(0, 0xff, 0), QColor(0x20, 0x40, 0x60),
                                         QColor(0xff, 0xff, 0)};
        return colours[quarter];
    }

protected:
    void paintEvent(QPaintEvent *) override
    {
        QPainter painter(this);
        const int w = width() / 2;
        const int h = height() / 2;
        for (int q = 0; q < 4; ++q)
            painter.fillRect((q % 2) * w, (q / 2) * h, w, h, colour(q));
    }
};

QColor inverted(const QColor &c)
{
    return QColor(255 - c.red(), 255 - c.green(), 255 - c.blue());
}

// The text alone, drawn as the band draws it on a white image of the same size, for pixel-exact
// comparison (glyph rendering depends on the position on the page).
QImage renderedCell(const QSize &imageSize, const QRect &cell, const QString &text, const QColor &colour)
{
    static QImage canvas;
    if (canvas.size() != imageSize)
        canvas = QImage(imageSize, QImage::Format_ARGB32_Premultiplied);
    canvas.fill(Qt::white);
    QPainter painter(&canvas);
    painter.setPen(colour);
    painter.drawText(QRectF(cell), text);
    return canvas;
}

bool isWhite(const QImage &image, const QRect &area, QPoint *where = nullptr)
{
    for (int y = area.top(); y <= area.bottom(); ++y) {
        for (int x = area.left(); x <= area.right(); ++x) {
            if (image.pixel(x, y) != qRgb(255, 255, 255)) {
                if (where)
                    *where = QPoint(x, y);
                return false;
            }
        }
    }
    return true;
}

} // namespace

class TestHScreenShot : public QObject
{
    Q_OBJECT

private:
    QuarterWindow m_window;
    QSize m_screen;
    int m_band = 0;

    QPoint quarterCentre(int q) const
    {
        return QPoint((q % 2) * m_screen.width() / 2 + m_screen.width() / 4,
                      (q / 2) * m_screen.height() / 2 + m_screen.height() / 4);
    }

    // True when every quarter of image shows the window's colour (or its inverse).
    bool showsQuarters(const QImage &image, bool invert) const
    {
        for (int q = 0; q < 4; ++q) {
            const QColor expected = invert ? inverted(QuarterWindow::colour(q)) : QuarterWindow::colour(q);
            if (QColor(image.pixel(quarterCentre(q))) != expected)
                return false;
        }
        return true;
    }

    // Cells must match the text rendered alone; everything outside them must be white.
    void verifyBand(const QImage &image, const QList<QPair<QRect, QPair<QString, QColor>>> &cells)
    {
        QImage rest = image.copy(0, m_screen.height(), m_screen.width(), m_band);
        QPainter blank(&rest);
        for (const auto &cell : cells) {
            // Cells at x = 2 overlap the next column by two pixels, where the next text begins.
            const QRect compared = cell.first.adjusted(0, 0, cell.first.x() == 2 ? -2 : 0, 0);
            const QImage expected = renderedCell(image.size(), cell.first, cell.second.first, cell.second.second)
                                        .copy(compared);
            QVERIFY2(image.copy(compared).convertToFormat(expected.format()) == expected,
                     qPrintable(QStringLiteral("cell %1 at %2,%3").arg(cell.second.first).arg(cell.first.x())
                                    .arg(cell.first.y())));
            blank.fillRect(cell.first.translated(0, -m_screen.height()), Qt::white);
        }
        blank.end();
        QPoint dirty;
        QVERIFY2(isWhite(rest, rest.rect(), &dirty),
                 qPrintable(QStringLiteral("band pixel at %1,%2").arg(dirty.x()).arg(dirty.y() + m_screen.height())));
    }

    QRect cell(int x, int rowOffset, int width) const
    {
        return QRect(x, m_screen.height() + rowOffset, width, 20);
    }

private Q_SLOTS:
    void initTestCase()
    {
        m_screen = QGuiApplication::primaryScreen()->size();
        m_band = m_screen == QSize(1920, 1080) ? 165 : 120;
        qInfo() << "screen" << m_screen;
        m_window.setFlags(Qt::FramelessWindowHint);
        m_window.setGeometry(QRect(QPoint(0, 0), m_screen));
        m_window.show();
        QVERIFY(QTest::qWaitForWindowExposed(&m_window));
        HScreenShot shot;
        QTRY_VERIFY((shot.capture(), showsQuarters(QImage(kCaptureFile), false)));
    }

    void savedPictureSizeAndDescription()
    {
        HScreenShot shot;
        shot.capture();
        QDir("/tmp").mkdir("shots");
        shot.saveScreen("/tmp/shots/a b", "shot1", "Off", "LTE", "Spectrum");
        const QImage saved("/tmp/shots/a b/shot1.png");
        QCOMPARE(saved.size(), m_screen == QSize(1920, 1080) ? QSize(1920, 1245) : QSize(1280, 920));
        QVERIFY(showsQuarters(saved, false));
        verifyBand(saved, {});
        QCOMPARE(saved.text("Description"), QStringLiteral("LTE/Spectrum"));

        shot.saveScreen("/tmp/shots/it's; $(touch x) \"q\".png", "Off", "LTE/LTE-A", "ACLR");
        QCOMPARE(QImage("/tmp/shots/it's; $(touch x) \"q\".png").text(),
                 QStringLiteral("Description: LTE/LTE-A/ACLR"));
    }

    void invertRules_data()
    {
        QTest::addColumn<bool>("captureInverted");
        QTest::addColumn<QString>("inv");
        QTest::addColumn<bool>("savedInverted");
        QTest::newRow("On") << false << "On" << true;
        QTest::newRow("on") << false << "on" << false;
        QTest::newRow("ON") << false << "ON" << false;
        QTest::newRow("empty") << false << "" << false;
        QTest::newRow("captureInv, Off") << true << "Off" << true;
        QTest::newRow("captureInv, On") << true << "On" << false;
    }

    void invertRules()
    {
        QFETCH(bool, captureInverted);
        QFETCH(QString, inv);
        QFETCH(bool, savedInverted);
        HScreenShot shot;
        captureInverted ? shot.captureInv() : shot.capture();
        QVERIFY(showsQuarters(QImage(kCaptureFile), captureInverted));
        shot.saveScreen("/tmp/inv.png", inv, "NR", "EVM");
        const QImage saved("/tmp/inv.png");
        QVERIFY(showsQuarters(saved, savedInverted));
        verifyBand(saved, {});
    }

    void entryCellsAndTraceRow()
    {
        HScreenShot shot;
        QImage picture(m_screen, QImage::Format_RGB32);
        picture.fill(QColor(0x80, 0x80, 0x80));
        QList<QPair<QRect, QPair<QString, QColor>>> cells;
        const int columns[] = {2, 320, 640, 960};
        for (int i = 0; i < 17; ++i) {
            // Entries 0 and 1 share a label: both are drawn.
            const QString label = i < 2 ? QStringLiteral("Span") : QStringLiteral("L%1").arg(i);
            shot.configMap(label, QString::number(i));
            cells.append({cell(columns[i % 4], 20 * (i / 4), 320), {label + ": " + QString::number(i), Qt::black}});
        }
        QCOMPARE(cells.last().first.topLeft(), QPoint(2, m_screen.height() + 80));

        shot.configMap("T1", "ClearWrite");
        shot.configMap("T2", "clearwrite"); // case matters: no mark
        shot.configMap("T3", "Max");
        shot.configMap("T3", "Min");        // replaces, does not add
        shot.configMap("T4", "Average");    // not a trace mode: no mark
        shot.configMap("T6", "Calculate");  // T5 has no entry: label only
        QCOMPARE(shot.getConfigMap("T3"), QStringLiteral("Min"));
        QCOMPARE(shot.getConfigMap("T5"), QString());

        const int row = 100; // pushed down by the 17th entry
        cells.append({cell(2, row, 60), {"Trace:", Qt::black}});
        const char *labelColours[] = {"#00299B", "#39b549", "#f50057", "#ff9700", "#7b4dff", "#0097a7"};
        const QString marks[] = {"W", "", "m", "", "", "-"};
        for (int k = 0; k < 6; ++k) {
            cells.append({cell(60 * (k + 1), row, 30), {QStringLiteral("T%1:").arg(k + 1), QColor(labelColours[k])}});
            if (!marks[k].isEmpty())
                cells.append({cell(60 * (k + 1) + 30, row, 30), {marks[k], Qt::black}});
        }

        QTest::ignoreMessage(QtDebugMsg, "------------------------->> 17");
        const QImage image = shot.appendText(picture);
        QCOMPARE(image.size(), QSize(m_screen.width(), m_screen.height() + m_band));
        QCOMPARE(image.format(), QImage::Format_ARGB32_Premultiplied);
        QCOMPARE(QColor(image.pixel(m_screen.width() - 1, m_screen.height() - 1)), QColor(0x80, 0x80, 0x80));
        verifyBand(image, cells);

        // Four full rows keep the trace row at 80; the labels make the trace-row cells unambiguous.
        shot.clearMap();
        QCOMPARE(shot.getConfigMap("T1"), QString());
        cells.clear();
        for (int i = 0; i < 16; ++i) {
            shot.configMap(QStringLiteral("E%1").arg(i), "x");
            cells.append({cell(columns[i % 4], 20 * (i / 4), 320), {QStringLiteral("E%1: x").arg(i), Qt::black}});
        }
        shot.configMap("T1", "Load");
        shot.configMap("T2", "Capture");
        cells.append({cell(2, 80, 60), {"Trace:", Qt::black}});
        for (int k = 0; k < 6; ++k)
            cells.append({cell(60 * (k + 1), 80, 30), {QStringLiteral("T%1:").arg(k + 1), QColor(labelColours[k])}});
        cells.append({cell(90, 80, 30), {"L", Qt::black}});
        cells.append({cell(150, 80, 30), {"C", Qt::black}});
        QTest::ignoreMessage(QtDebugMsg, "------------------------->> 16");
        verifyBand(shot.appendText(picture), cells);
    }

    void noTraceRowWithoutT1()
    {
        HScreenShot shot;
        for (const char *trace : {"T2", "T3", "T4", "T5", "T6"})
            shot.configMap(trace, "Max");
        shot.configMap("t1", "Max"); // not a trace name: an ordinary entry
        QTest::ignoreMessage(QtDebugMsg, "------------------------->> 1");
        verifyBand(shot.appendText(QImage()), {{cell(2, 0, 320), {"t1: Max", Qt::black}}});
    }

    void entriesPastTheBandAreCutOff()
    {
        HScreenShot shot;
        for (int i = 0; i < 60; ++i)
            shot.configMap(QStringLiteral("E%1").arg(i), "x");
        QTest::ignoreMessage(QtDebugMsg, "------------------------->> 60");
        const QImage image = shot.appendText(QImage());
        QCOMPARE(image.size(), QSize(m_screen.width(), m_screen.height() + m_band));
        QVERIFY(!isWhite(image, QRect(0, image.height() - 20, 320, 20)));
    }

    void missingCaptureGivesTheBandAlone()
    {
        HScreenShot shot;
        shot.configMap("Center", "1 GHz");
        QFile::remove(kCaptureFile);
        QTest::ignoreMessage(QtDebugMsg, "------------------------->> 1");
        shot.saveScreen("/tmp/nocapture.png", "On", "LTE", "Spectrum");
        const QImage saved("/tmp/nocapture.png");
        QCOMPARE(saved.size(), QSize(m_screen.width(), m_screen.height() + m_band));
        QVERIFY(isWhite(saved, QRect(0, 1, m_screen.width(), m_screen.height() - 1)));
        verifyBand(saved, {{cell(2, 0, 320), {"Center: 1 GHz", Qt::black}}});
    }

    void directories()
    {
        HScreenShot shot;
        shot.capture();
        // One level is created, never its parents.
        QVERIFY(QDir("/tmp").mkpath("one"));
        shot.saveScreen("/tmp/one/two", "shot1", "Off", "LTE", "Spectrum");
        QVERIFY(QFileInfo("/tmp/one/two/shot1.png").isFile());
        QTest::ignoreMessage(QtWarningMsg, "saveScreen cannot create directory \"/tmp/none/two\"");
        shot.saveScreen("/tmp/none/two", "shot1", "Off", "LTE", "Spectrum");
        QVERIFY(!QFileInfo::exists("/tmp/none"));

        shot.saveScreen("/tmp/three/shot.png", "Off", "LTE", "Spectrum");
        QVERIFY(QFileInfo("/tmp/three/shot.png").isFile());
        QTest::ignoreMessage(QtWarningMsg, "saveScreen cannot create directory \"/tmp/none/four\"");
        shot.saveScreen("/tmp/none/four/shot.png", "Off", "LTE", "Spectrum");
        QVERIFY(!QFileInfo::exists("/tmp/none"));

        // No directory part: nothing lands in the working directory.
        QVERIFY(QDir::setCurrent("/tmp/one"));
        QTest::ignoreMessage(QtWarningMsg, "saveScreen no directory in \"bare.png\"");
        shot.saveScreen("bare.png", "Off", "LTE", "Spectrum");
        QCOMPARE(QDir("/tmp/one").entryList(QDir::Files), QStringList());

        // A plain file where the directory should be: nothing is written, nothing breaks.
        QFile plain("/tmp/plain");
        QVERIFY(plain.open(QIODevice::WriteOnly));
        plain.close();
        shot.saveScreen("/tmp/plain", "shot1", "Off", "LTE", "Spectrum");
        shot.saveScreen("/tmp/plain/shot2.png", "Off", "LTE", "Spectrum");
        QCOMPARE(QFileInfo("/tmp/plain").size(), 0);
    }
};

QTEST_MAIN(TestHScreenShot)
#include "tst_hscreenshot.moc"
