#include <QtTest>
#include <QBuffer>
#include <QFontInfo>
#include <QPdfWriter>

#include "hpdf.h"

namespace {

QByteArray run(const QString &program, const QStringList &arguments)
{
    QProcess process;
    process.start(program, arguments);
    process.waitForFinished(30000);
    return process.readAllStandardOutput();
}

int pageCount(const QString &pdf)
{
    return QRegularExpression("Pages:\\s+(\\d+)").match(run("pdfinfo", {pdf})).captured(1).toInt();
}

// Rendered at the report's own resolution: one pixel is one report unit.
QImage renderPage(const QString &pdf, int page)
{
    run("pdftoppm", {"-r", "70", "-f", QString::number(page), "-l", QString::number(page), "-png", "-singlefile",
                     pdf, "/tmp/rendered"});
    return QImage("/tmp/rendered.png").convertToFormat(QImage::Format_RGB32);
}

// The box of the pixels close to colour (pictures may be stored as JPEG, edges are blended).
QRect boxOf(const QImage &image, const QColor &colour, QRect area = QRect())
{
    area = area.isNull() ? image.rect() : area;
    QRect box;
    for (int y = area.top(); y <= area.bottom(); ++y)
        for (int x = area.left(); x <= area.right(); ++x) {
            const QColor c = image.pixelColor(x, y);
            if (qAbs(c.red() - colour.red()) + qAbs(c.green() - colour.green()) + qAbs(c.blue() - colour.blue()) < 96)
                box |= QRect(x, y, 1, 1);
        }
    return box;
}

bool isWhite(const QImage &image, const QRect &area)
{
    QImage white(area.size(), image.format());
    white.fill(Qt::white);
    return image.copy(area) == white;
}

QString writePicture(const QString &path, const QSize &size, const QColor &colour)
{
    QImage picture(size, QImage::Format_RGB32);
    picture.fill(colour);
    picture.save(path, "PNG");
    return path;
}

QByteArray fileBytes(const QString &path)
{
    QFile file(path);
    file.open(QIODevice::ReadOnly);
    return file.readAll();
}

} // namespace

class TestHPdf : public QObject
{
    Q_OBJECT

    QPoint m_origin; // the paintable area's corner on the rendered page (the writer's default margins)

    // A rectangle in report units, on the rendered page.
    QRect onPage(int x, int y, int w, int h) const { return QRect(m_origin + QPoint(x, y), QSize(w, h)); }

    // The margins are fractional in pixels: allow one pixel on every edge.
    static bool sameBox(const QRect &drawn, const QRect &expected)
    {
        return qAbs(drawn.left() - expected.left()) <= 1 && qAbs(drawn.top() - expected.top()) <= 1
            && qAbs(drawn.right() - expected.right()) <= 1 && qAbs(drawn.bottom() - expected.bottom()) <= 1;
    }

private Q_SLOTS:
    void initTestCase()
    {
        QBuffer buffer;
        buffer.open(QIODevice::WriteOnly);
        QPdfWriter writer(&buffer);
        writer.setPageSize(QPageSize(QPageSize::Letter));
        m_origin = writer.pageLayout().paintRectPixels(70).topLeft();
    }

    void emptyReport()
    {
        HPdf pdf;
        QCOMPARE(pdf.commonUI().size(), 13);
        const QFont font = pdf.reportFont();
        QCOMPARE(font.family() + QString::number(font.pixelSize()) + QString::number(font.weight()),
                 QStringLiteral("Noto Sans UI2475"));

        writePicture("/tmp/tempScreenShotHNA.png", QSize(1920, 1080), Qt::green);
        const QString path = QStringLiteral("/tmp/empty report.pdf");
        pdf.savePdf(path, "On", "on"); // the screen needs includeScreen exactly "On"
        QCOMPARE(pageCount(path), 1);
        QVERIFY(fileBytes(path).endsWith("\n%%EOF\n,"));
        const QString text = QString::fromUtf8(run("pdftotext", {"-layout", path, "-"})).simplified();
        QVERIFY2(QRegularExpression("^Measurement Report File Name empty report.pdf Date/Time "
                                    "\\d\\d/\\d\\d/\\d{4} \\d\\d:\\d\\d:\\d\\d Company Engineer Site Info. Address "
                                    "01 Test Purpose 02 Result 03 Measurement Data$")
                     .match(text).hasMatch(), qPrintable(text));

        const QImage page = renderPage(path, 1);
        for (const QRect &blank : {onPage(112, 109, 270, 84), onPage(400, 67, 152, 128), onPage(30, 236, 552, 24),
                                   onPage(30, 292, 552, 24), onPage(30, 348, 522, 315)})
            QVERIFY2(isWhite(page, blank), qPrintable(QStringLiteral("%1,%2").arg(blank.x()).arg(blank.y())));
        QVERIFY(sameBox(boxOf(page, "#500778", onPage(0, 195, 582, 10)), onPage(30, 200, 523, 1)));
    }

    void fieldsFontsAndTrailer()
    {
        HPdf pdf;
        // A table replaced from a setup file holds only its own keys.
        pdf.setCommonUI({{"reportCompanyCnfg", "Acme Radio"}, {"reportEngineerCnfg", "J. Smith"},
                         {"reportSiteInfoCnfg", 4711}, {"reportAddressCnfg", "1 Mast Road"},
                         {"reportTestPurposeCnfg", "Acceptance"}, {"reportResultCnfg", "Passed"},
                         {"Technology", "LTE/LTE-A"}, {"Measure", "ACLR"}});
        QCOMPARE(pdf.uiValue("reportAttachCnfg01"), QString());
        QVERIFY(QDir::setCurrent("/tmp"));
        pdf.savePdf("report.pdf", "Off", "Off"); // no "/": the whole path is the file name
        QVERIFY(fileBytes("/tmp/report.pdf").endsWith("\n%%EOF\nLTE/LTE-A,ACLR"));
        const QString text = QString::fromUtf8(run("pdftotext", {"-layout", "/tmp/report.pdf", "-"})).simplified();
        for (const char *expected : {"File Name report.pdf", "Company Acme Radio", "Engineer J. Smith",
                                     "Site Info. 4711", "Address 1 Mast Road", "Purpose Acceptance", "Result Passed"})
            QVERIFY2(text.contains(QLatin1String(expected)), expected);
        const QImage page = renderPage("/tmp/report.pdf", 1);
        for (int row = 0; row < 6; ++row) { // values sit in the vertical centre of their rows
            const QRect cell = onPage(112, 67 + 21 * row, 270, 21);
            QRect ink;
            for (int y = cell.top(); y <= cell.bottom(); ++y)
                for (int x = cell.left(); x <= cell.right(); ++x)
                    ink |= qGray(page.pixel(x, y)) < 160 ? QRect(x, y, 1, 1) : QRect();
            QVERIFY2(qAbs(ink.center().y() - cell.center().y()) <= 2, qPrintable(QString::number(row)));
        }
        QCOMPARE(QFontInfo(pdf.reportFont()).family(), QStringLiteral("Noto Sans"));
        QCOMPARE(pdf.reportFont().pointSize(), 14); // the last size and weight of the report stay
        QCOMPARE(pdf.reportFont().weight(), 75);

        // One byte per character; characters beyond Latin-1 cannot be kept.
        pdf.commonUI().insert("Technology", QString::fromUtf8("NR \xce\xbc"));
        pdf.commonUI().insert("Measure", QString::fromUtf8("\xc2\xb5W"));
        pdf.savePdf("/tmp/report.pdf", "Off", "Off");
        QVERIFY(fileBytes("/tmp/report.pdf").endsWith("\n%%EOF\nNR ?,\xb5W"));
    }

    void screenPicture_data()
    {
        QTest::addColumn<QString>("inv");
        QTest::addColumn<QString>("includeScreen");
        QTest::addColumn<QColor>("shown");
        QTest::newRow("normal") << "Off" << "On" << QColor(Qt::green);
        QTest::newRow("inverted") << "On" << "On" << QColor(Qt::magenta);
        QTest::newRow("inv on") << "on" << "On" << QColor(Qt::green);
        QTest::newRow("include on") << "On" << "on" << QColor(Qt::white);
    }

    void screenPicture()
    {
        QFETCH(QString, inv);
        QFETCH(QString, includeScreen);
        QFETCH(QColor, shown);
        writePicture("/tmp/tempScreenShotHNA.png", QSize(1280, 800), Qt::green);
        HPdf().savePdf("/tmp/screen.pdf", inv, includeScreen);
        const QImage page = renderPage("/tmp/screen.pdf", 1);
        const QRect screen = onPage(30, 348, 522, 315);
        if (shown == Qt::white)
            QVERIFY(isWhite(page, screen));
        else
            QVERIFY(sameBox(boxOf(page, shown), screen));
    }

    void logoSizes_data()
    {
        QTest::addColumn<QSize>("picture");
        QTest::addColumn<QSize>("drawn");
        QTest::newRow("box") << QSize(145, 96) << QSize(145, 96);
        QTest::newRow("too wide") << QSize(300, 50) << QSize(145, 50);
        QTest::newRow("too high") << QSize(100, 200) << QSize(100, 96);
        QTest::newRow("too big") << QSize(400, 300) << QSize(145, 96);
    }

    void logoSizes()
    {
        QFETCH(QSize, picture);
        QFETCH(QSize, drawn);
        HPdf pdf;
        // The interface may hand the logo over as a file: URL.
        const QString logo = writePicture("/tmp/logo 'a'.png", picture, Qt::blue);
        pdf.commonUI().insert("reportLogoCnfg", QUrl::fromLocalFile(logo).toString());
        pdf.savePdf("/tmp/logo.pdf", "Off", "Off");
        QVERIFY(sameBox(boxOf(renderPage("/tmp/logo.pdf", 1), Qt::blue), QRect(onPage(407, 78, 0, 0).topLeft(), drawn)));
    }

    void attachmentPages()
    {
        HPdf pdf;
        pdf.commonUI().insert("reportAttachCnfg03", writePicture("/tmp/a3.png", QSize(1280, 800), Qt::red));
        // In key order, one page each, always 522 wide; an unreadable picture leaves its page blank. Paths
        // and file: URLs alike.
        const QString a1 = writePicture("/tmp/a 1.png", QSize(640, 480), Qt::blue);
        pdf.commonUI().insert("reportAttachCnfg01", QUrl::fromLocalFile(a1).toString());
        pdf.commonUI().insert("reportAttachCnfg02", "/tmp/missing.png");
        pdf.commonUI().insert("reportAttachCnfg06", writePicture("/tmp/a6.png", QSize(1280, 1000), Qt::darkGreen));
        pdf.commonUI().insert("reportLogoCnfg", "/tmp/missing.png");
        pdf.savePdf("/tmp/attach.pdf", "Off", "Off");
        QCOMPARE(pageCount("/tmp/attach.pdf"), 5);
        QVERIFY(isWhite(renderPage("/tmp/attach.pdf", 1), onPage(400, 67, 152, 128)));
        QVERIFY(sameBox(boxOf(renderPage("/tmp/attach.pdf", 2), Qt::blue), onPage(30, 30, 522, 195)));
        const QImage blank = renderPage("/tmp/attach.pdf", 3);
        QVERIFY(isWhite(blank, blank.rect()));
        QVERIFY(sameBox(boxOf(renderPage("/tmp/attach.pdf", 4), Qt::red), onPage(30, 30, 522, 326)));
        QVERIFY(sameBox(boxOf(renderPage("/tmp/attach.pdf", 5), Qt::darkGreen), onPage(30, 30, 522, 407)));
    }

    void helpersAndFailures()
    {
        HPdf pdf;
        QTest::ignoreMessage(QtWarningMsg, "savePdf cannot create \"/tmp/none/report.pdf\"");
        pdf.savePdf("/tmp/none/report.pdf", "Off", "Off");
        QVERIFY(!QFileInfo::exists("/tmp/none"));

        QVERIFY(HPdf::param() == HPdf::param() && !HPdf::param()->parent());
    }
};

QTEST_MAIN(TestHPdf)
#include "tst_hpdf.moc"
