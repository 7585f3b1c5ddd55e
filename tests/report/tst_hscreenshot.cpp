#include <QtTest>
#include <QPainter>
#include <QRasterWindow>
#include <QScreen>

#include "hscreenshot.h"
#include "testfiles.h"

namespace {

const QString kCaptureFile = QStringLiteral("/tmp/tempScreenShotHNA.png");
const QColor kQuarters[] = {QColor(0xff, 0, 0), QColor(0, 0xff, 0), QColor(0x20, 0x40, 0x60), QColor(0xff, 0xff, 0)};
const char *const kTraceColours[] = {"#00299B", "#39b549", "#f50057", "#ff9700", "#7b4dff", "#0097a7"};
const int kColumns[] = {2, 320, 640, 960};

// A frameless window over the whole screen, one known colour per quarter.
class QuarterWindow : public QRasterWindow
{
protected:
    void paintEvent(QPaintEvent *) override
    {
        QPainter painter(this);
        for (int q = 0; q < 4; ++q)
            painter.fillRect((q % 2) * width() / 2, (q / 2) * height() / 2, width() / 2, height() / 2, kQuarters[q]);
    }
};

struct Cell
{
    QRect rect;
    QString text;
    QColor colour;
};

} // namespace

class TestHScreenShot : public QObject
{
    Q_OBJECT

    QuarterWindow m_window;
    QSize m_screen;
    int m_band = 0;

    bool showsQuarters(const QImage &image, bool inverted) const
    {
        for (int q = 0; q < 4; ++q) {
            const QPoint centre((q % 2) * m_screen.width() / 2 + m_screen.width() / 4,
                                (q / 2) * m_screen.height() / 2 + m_screen.height() / 4);
            const QRgb expected = kQuarters[q].rgb() ^ (inverted ? 0x00ffffff : 0);
            if (image.pixel(centre) != expected)
                return false;
        }
        return true;
    }

    Cell cell(int x, int row, int width, const QString &text, const QColor &colour = Qt::black) const
    {
        return {QRect(x, m_screen.height() + row, width, 20), text, colour};
    }

    // The trace row at band row y: "Trace:", then each trace's label in its colour followed by its mark.
    QList<Cell> traceRow(int y, const QStringList &marks) const
    {
        QList<Cell> cells{cell(2, y, 60, "Trace:")};
        for (int k = 0; k < 6; ++k) {
            cells.append(cell(60 * (k + 1), y, 30, QStringLiteral("T%1:").arg(k + 1), kTraceColours[k]));
            cells.append(cell(60 * (k + 1) + 30, y, 30, marks.value(k)));
        }
        return cells;
    }

    // Each cell must hold exactly its text as drawn alone on white at the same place (glyph rendering
    // depends on the position); every other pixel of the band must be white.
    void verifyBand(const QImage &image, const QList<Cell> &cells)
    {
        QImage reference(image.size(), QImage::Format_ARGB32_Premultiplied);
        QImage band = image.convertToFormat(QImage::Format_ARGB32_Premultiplied);
        for (const Cell &cell : cells) {
            reference.fill(Qt::white);
            QPainter painter(&reference);
            painter.setPen(cell.colour);
            painter.drawText(QRectF(cell.rect), cell.text);
            // Cells at x = 2 overlap the next column by two pixels, where the next text begins.
            const QRect compared = cell.rect.adjusted(0, 0, cell.rect.x() == 2 ? -2 : 0, 0);
            QVERIFY2(band.copy(compared) == reference.copy(compared),
                     qPrintable(QStringLiteral("\"%1\" at %2,%3").arg(cell.text).arg(cell.rect.x()).arg(cell.rect.y())));
        }
        QPainter blank(&band);
        for (const Cell &cell : cells)
            blank.fillRect(cell.rect, Qt::white);
        blank.end();
        QImage white(m_screen.width(), m_band, band.format());
        white.fill(Qt::white);
        QVERIFY(band.copy(0, m_screen.height(), m_screen.width(), m_band) == white);
    }

private Q_SLOTS:
    void initTestCase()
    {
        m_screen = QGuiApplication::primaryScreen()->size();
        m_band = m_screen == QSize(1920, 1080) ? 165 : 120;
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
        QVERIFY(QDir("/tmp").mkdir("shots"));
        shot.saveScreen("/tmp/shots/a b", "shot1", "Off", "LTE", "Spectrum");
        const QImage saved("/tmp/shots/a b/shot1.png");
        QCOMPARE(saved.size(), m_screen == QSize(1920, 1080) ? QSize(1920, 1245) : QSize(1280, 920));
        QCOMPARE(saved.text("Description"), QStringLiteral("LTE/Spectrum"));

        shot.saveScreen("/tmp/shots/it's; $(touch x) \"q\".png", "Off", "LTE/LTE-A", "ACLR");
        QCOMPARE(QImage("/tmp/shots/it's; $(touch x) \"q\".png").text(), QStringLiteral("Description: LTE/LTE-A/ACLR"));
    }

    void invertRules_data()
    {
        QTest::addColumn<bool>("captureInverted");
        QTest::addColumn<QString>("inv");
        QTest::addColumn<bool>("savedInverted");
        QTest::newRow("On") << false << "On" << true;
        QTest::newRow("on") << false << "on" << false;
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
        verifyBand(saved, {}); // the band is never inverted
    }

    void entryCellsAndTraceRow()
    {
        HScreenShot shot;
        QImage picture(m_screen, QImage::Format_RGB32);
        picture.fill(Qt::gray);
        QList<Cell> cells;
        for (int i = 0; i < 17; ++i) {
            const QString label = i < 2 ? QStringLiteral("Span") : QStringLiteral("L%1").arg(i); // both drawn
            shot.configMap(label, QString::number(i));
            cells.append(cell(kColumns[i % 4], 20 * (i / 4), 320, label + ": " + QString::number(i)));
        }
        QCOMPARE(cells.last().rect.topLeft(), QPoint(2, m_screen.height() + 80));
        shot.configMap("T1", "ClearWrite");
        shot.configMap("T2", "clearwrite"); // case matters: no mark
        shot.configMap("T3", "Max");
        shot.configMap("T3", "Min");        // replaces, does not add
        shot.configMap("T4", "Average");    // not a trace mode: no mark
        shot.configMap("T6", "Calculate");  // T5 has no entry: label only
        QCOMPARE(shot.getConfigMap("T5"), QString());
        cells += traceRow(100, {"W", "", "m", "", "", "-"}); // pushed down by the 17th entry
        QTest::ignoreMessage(QtDebugMsg, "------------------------->> 17");
        const QImage image = shot.appendText(picture);
        QCOMPARE(image.format(), QImage::Format_ARGB32_Premultiplied);
        QCOMPARE(image.pixelColor(m_screen.width() - 1, m_screen.height() - 1), QColor(Qt::gray));
        verifyBand(image, cells);

        // Four full rows keep the trace row at 80.
        shot.clearMap();
        cells.clear();
        for (int i = 0; i < 16; ++i) {
            shot.configMap(QStringLiteral("E%1").arg(i), "x");
            cells.append(cell(kColumns[i % 4], 20 * (i / 4), 320, QStringLiteral("E%1: x").arg(i)));
        }
        shot.configMap("T1", "Load");
        shot.configMap("T2", "Capture");
        cells += traceRow(80, {"L", "C"});
        QTest::ignoreMessage(QtDebugMsg, "------------------------->> 16");
        verifyBand(shot.appendText(picture), cells);
    }

    void missingCaptureAndNoTraceRow()
    {
        HScreenShot shot;
        shot.configMap("t1", "Max"); // not a trace name: an ordinary entry
        for (const char *trace : {"T2", "T3", "T4", "T5", "T6"})
            shot.configMap(trace, "Max"); // without "T1" there is no trace row
        QFile::remove(kCaptureFile);
        QTest::ignoreMessage(QtDebugMsg, "------------------------->> 1");
        shot.saveScreen("/tmp/nocapture.png", "On", "LTE", "Spectrum");
        const QImage saved = QImage("/tmp/nocapture.png").convertToFormat(QImage::Format_RGB32);
        QCOMPARE(saved.size(), QSize(m_screen.width(), m_screen.height() + m_band));
        QImage white(m_screen.width(), m_screen.height() - 1, QImage::Format_RGB32);
        white.fill(Qt::white);
        QVERIFY(saved.copy(0, 1, m_screen.width(), m_screen.height() - 1) == white); // row 0: the canvas outline
        verifyBand(saved, {cell(2, 0, 320, "t1: Max")});
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

        // A name is one file in the folder given, never a way out of it.
        const QMap<QString, QString> before = sandboxState();
        for (const QString name : {"../escaped", "../../../user/x", "a/b", ""}) {
            if (!name.isEmpty())
                QTest::ignoreMessage(QtWarningMsg, qPrintable("saveScreen name is not a file name: \"" + name + "\""));
            shot.saveScreen("/tmp/one/two", name, "Off", "LTE", "Spectrum");
        }
        QCOMPARE(sandboxState("/tmp/one/two/.png"), before);
        QVERIFY(QFileInfo("/tmp/one/two/.png").isFile());
    }
};

QTEST_MAIN(TestHScreenShot)
#include "tst_hscreenshot.moc"
