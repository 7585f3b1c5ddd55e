#include <QtTest>
#include <QBuffer>
#include <QFontInfo>
#include <QPainter>
#include <QPdfWriter>

#include "hpdf.h"

namespace {

const QString kCaptureFile = QStringLiteral("/tmp/tempScreenShotHNA.png");
const QRgb kWhite = qRgb(255, 255, 255);

QByteArray run(const QString &program, const QStringList &arguments)
{
    QProcess process;
    process.start(program, arguments);
    if (!process.waitForFinished(30000) || process.exitCode() != 0)
        qWarning() << program << arguments << process.readAllStandardError();
    return process.readAllStandardOutput();
}

int pageCount(const QString &pdf)
{
    const QRegularExpression pages(QStringLiteral("Pages:\\s+(\\d+)"));
    return pages.match(QString::fromLatin1(run("pdfinfo", {pdf}))).captured(1).toInt();
}

QString pdfText(const QString &pdf)
{
    return QString::fromUtf8(run("pdftotext", {"-layout", pdf, "-"}));
}

// Page `page` rendered at the report's own resolution, so one pixel is one report unit.
QImage renderPage(const QString &pdf, int page)
{
    const QString prefix = QStringLiteral("/tmp/rendered");
    run("pdftoppm", {"-r", "70", "-f", QString::number(page), "-l", QString::number(page), "-png",
                     "-singlefile", pdf, prefix});
    return QImage(prefix + ".png").convertToFormat(QImage::Format_RGB32);
}

bool near(QRgb a, QRgb b)
{
    return qAbs(qRed(a) - qRed(b)) < 48 && qAbs(qGreen(a) - qGreen(b)) < 48 && qAbs(qBlue(a) - qBlue(b)) < 48;
}

// The smallest rectangle holding every pixel of about colour within area.
QRect boundingBox(const QImage &image, QRgb colour, const QRect &area)
{
    QRect box;
    for (int y = area.top(); y <= area.bottom(); ++y) {
        for (int x = area.left(); x <= area.right(); ++x) {
            if (near(image.pixel(x, y), colour))
                box |= QRect(x, y, 1, 1);
        }
    }
    return box;
}

bool isWhite(const QImage &image, const QRect &area)
{
    return boundingBox(image, kWhite, area) == area
        && [&] {
               for (int y = area.top(); y <= area.bottom(); ++y)
                   for (int x = area.left(); x <= area.right(); ++x)
                       if (image.pixel(x, y) != kWhite)
                           return false;
               return true;
           }();
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

private:
    QPoint m_origin; // top-left corner of the paintable area on the rendered page

    // A rectangle in report units, moved to rendered-page pixels.
    QRect onPage(int x, int y, int w, int h) const { return QRect(m_origin + QPoint(x, y), QSize(w, h)); }

    // Compares a drawn box with the expected one, allowing a pixel for the fractional margins.
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
        writer.setResolution(70);
        m_origin = writer.pageLayout().paintRectPixels(70).topLeft();
        qInfo() << "origin" << m_origin << writer.pageLayout().margins();
    }

    void emptyReportIsOnePage()
    {
        HPdf pdf;
        const QString path = QStringLiteral("/tmp/empty report.pdf");
        writePicture(kCaptureFile, QSize(1920, 1080), Qt::green);
        // The screen picture needs includeScreen "On"; inv alone does nothing.
        pdf.savePdf(path, "On", "on");
        QCOMPARE(pageCount(path), 1);
        QVERIFY(fileBytes(path).endsWith("\n%%EOF\n,"));

        const QStringList lines = pdfText(path).split('\n', Qt::SkipEmptyParts);
        const QStringList expected = {"Measurement Report", "File Name empty report.pdf", "Date/Time", "Company",
                                      "Engineer", "Site Info.", "Address", "01 Test Purpose", "02 Result",
                                      "03 Measurement Data"};
        QStringList simplified;
        for (const QString &line : lines) {
            if (!line.trimmed().isEmpty())
                simplified.append(line.simplified());
        }
        simplified.removeAll(QStringLiteral("?")); // pdftotext's form feed
        QCOMPARE(simplified.size(), expected.size());
        for (int i = 0; i < expected.size(); ++i)
            QVERIFY2(simplified.at(i).startsWith(expected.at(i)), qPrintable(simplified.at(i)));
        QVERIFY(QRegularExpression("^Date/Time \\d\\d/\\d\\d/\\d{4} \\d\\d:\\d\\d:\\d\\d$").match(simplified.at(2)).hasMatch());

        const QImage page = renderPage(path, 1);
        QVERIFY(!page.isNull());
        for (int row = 2; row < 6; ++row) // the empty value cells
            QVERIFY2(isWhite(page, onPage(112, 67 + 21 * row, 270, 21)), qPrintable(QString::number(row)));
        QVERIFY(isWhite(page, onPage(400, 67, 152, 128))); // no logo
        QVERIFY(isWhite(page, onPage(30, 348, 522, 315))); // no screen picture
        QVERIFY(isWhite(page, onPage(30, 236, 552, 24)));  // no purpose text
        QVERIFY(isWhite(page, onPage(30, 292, 552, 24)));  // no result text
        // The rule, in the title colour, across the page.
        QVERIFY(sameBox(boundingBox(page, qRgb(0x50, 0x07, 0x78), onPage(0, 195, 582, 10)), onPage(30, 200, 523, 1)));
    }

    void fieldsFontsAndTrailer()
    {
        HPdf pdf;
        QCOMPARE(pdf.reportFont().family(), QStringLiteral("Noto Sans UI"));
        QCOMPARE(pdf.reportFont().pixelSize(), 24);
        QCOMPARE(pdf.reportFont().weight(), 75);
        QCOMPARE(QFontInfo(pdf.reportFont()).family(), QStringLiteral("Noto Sans"));
        const QStringList initialKeys = {"reportLogoCnfg", "reportCompanyCnfg", "reportEngineerCnfg",
            "reportAddressCnfg", "reportSiteInfoCnfg", "reportTestPurposeCnfg", "reportResultCnfg",
            "reportAttachCnfg01", "reportAttachCnfg02", "reportAttachCnfg03", "reportAttachCnfg04",
            "reportAttachCnfg05", "reportAttachCnfg06"};
        QCOMPARE(QSet<QString>(pdf.commonUI().keyBegin(), pdf.commonUI().keyEnd()),
                 QSet<QString>(initialKeys.begin(), initialKeys.end()));
        for (const QVariant &value : pdf.commonUI())
            QCOMPARE(value, QVariant(QString()));

        // A table replaced from a setup file: only what it holds is there.
        pdf.setCommonUI({{"reportCompanyCnfg", "Acme Radio"}, {"reportEngineerCnfg", "J. Smith"},
                         {"reportSiteInfoCnfg", 4711}, {"reportAddressCnfg", "1 Mast Road"},
                         {"reportTestPurposeCnfg", "Acceptance"}, {"reportResultCnfg", "Passed"},
                         {"Technology", "LTE/LTE-A"}, {"Measure", "ACLR"}});
        QCOMPARE(pdf.uiValue("reportAttachCnfg01"), QString());
        QCOMPARE(pdf.uiValue("reportSiteInfoCnfg"), QStringLiteral("4711"));
        QVERIFY(QDir::setCurrent("/tmp"));
        pdf.savePdf("report.pdf", "Off", "Off"); // no "/": the whole path is the file name
        QCOMPARE(pageCount("/tmp/report.pdf"), 1);
        QVERIFY(fileBytes("/tmp/report.pdf").endsWith("\n%%EOF\nLTE/LTE-A,ACLR"));
        const QString text = pdfText("/tmp/report.pdf").simplified();
        for (const char *expected : {"File Name report.pdf", "Company Acme Radio", "Engineer J. Smith",
                                     "Site Info. 4711", "Address 1 Mast Road", "01 Test Purpose Acceptance",
                                     "02 Result Passed"})
            QVERIFY2(text.contains(QLatin1String(expected)), expected);
        // Values sit in the vertical centre of their rows.
        const QImage page = renderPage("/tmp/report.pdf", 1);
        for (int row = 0; row < 6; ++row) {
            const QRect cell = onPage(112, 67 + 21 * row, 270, 21);
            const QRect ink = boundingBox(page, qRgb(0, 0, 0), cell);
            QVERIFY2(qAbs(ink.center().y() - cell.center().y()) <= 2, qPrintable(QString::number(row)));
        }
        const QByteArray fonts = run("pdffonts", {"/tmp/report.pdf"});
        QVERIFY2(fonts.contains("NotoSans-Bold") && fonts.contains("NotoSans-Regular"), fonts.constData());
        // The last size and weight of the report stay in the object.
        QCOMPARE(pdf.reportFont().pointSize(), 14);
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
        QTest::newRow("normal") << "Off" << "On" << QColor(0, 0xff, 0);
        QTest::newRow("inverted") << "On" << "On" << QColor(0xff, 0, 0xff);
        QTest::newRow("inv on") << "on" << "On" << QColor(0, 0xff, 0);
        QTest::newRow("include on") << "On" << "on" << QColor(Qt::white);
    }

    void screenPicture()
    {
        QFETCH(QString, inv);
        QFETCH(QString, includeScreen);
        QFETCH(QColor, shown);
        writePicture(kCaptureFile, QSize(1280, 800), Qt::green);
        HPdf pdf;
        pdf.savePdf("/tmp/screen.pdf", inv, includeScreen);
        const QImage page = renderPage("/tmp/screen.pdf", 1);
        const QRect screen = onPage(30, 348, 522, 315);
        if (shown == Qt::white) {
            QVERIFY(isWhite(page, screen));
        } else {
            QVERIFY(sameBox(boundingBox(page, shown.rgb(), page.rect()), screen));
            QVERIFY(near(page.pixel(screen.center()), shown.rgb())); // pictures may be stored as JPEG
        }
    }

    void logoSizes_data()
    {
        QTest::addColumn<QSize>("picture");
        QTest::addColumn<QSize>("drawn");
        QTest::newRow("box") << QSize(145, 96) << QSize(145, 96);
        QTest::newRow("wide fit") << QSize(145, 50) << QSize(145, 50);
        QTest::newRow("high fit") << QSize(100, 96) << QSize(100, 96);
        QTest::newRow("small") << QSize(40, 20) << QSize(40, 20);
        QTest::newRow("too wide") << QSize(300, 50) << QSize(145, 50);
        QTest::newRow("too high") << QSize(100, 200) << QSize(100, 96);
        QTest::newRow("too big") << QSize(400, 300) << QSize(145, 96);
    }

    void logoSizes()
    {
        QFETCH(QSize, picture);
        QFETCH(QSize, drawn);
        HPdf pdf;
        pdf.commonUI().insert("reportLogoCnfg", writePicture("/tmp/logo 'a'.png", picture, Qt::blue));
        pdf.savePdf("/tmp/logo.pdf", "Off", "Off");
        const QImage page = renderPage("/tmp/logo.pdf", 1);
        const QRect box = boundingBox(page, qRgb(0, 0, 0xff), page.rect());
        QVERIFY2(sameBox(box, QRect(onPage(407, 78, 0, 0).topLeft(), drawn)),
                 qPrintable(QStringLiteral("%1,%2 %3x%4").arg(box.x()).arg(box.y()).arg(box.width()).arg(box.height())));
    }

    void attachmentPages()
    {
        HPdf pdf;
        pdf.commonUI().insert("reportAttachCnfg03", writePicture("/tmp/a3.png", QSize(1280, 800), Qt::red));
        pdf.savePdf("/tmp/attach.pdf", "Off", "Off");
        QCOMPARE(pageCount("/tmp/attach.pdf"), 2);
        QVERIFY(sameBox(boundingBox(renderPage("/tmp/attach.pdf", 2), qRgb(0xff, 0, 0), QRect(0, 0, 595, 770)),
                        onPage(30, 30, 522, 326)));

        // In key order, one page each; an unreadable picture leaves its page blank; any width becomes 522.
        pdf.commonUI().insert("reportAttachCnfg01", writePicture("/tmp/a1.png", QSize(640, 480), Qt::blue));
        pdf.commonUI().insert("reportAttachCnfg02", "/tmp/missing.png");
        pdf.commonUI().insert("reportAttachCnfg06", writePicture("/tmp/a6.png", QSize(1280, 1000), Qt::darkGreen));
        pdf.commonUI().insert("reportLogoCnfg", "/tmp/missing.png");
        pdf.savePdf("/tmp/attach.pdf", "Off", "Off");
        QCOMPARE(pageCount("/tmp/attach.pdf"), 5);
        QVERIFY(sameBox(boundingBox(renderPage("/tmp/attach.pdf", 2), qRgb(0, 0, 0xff), QRect(0, 0, 595, 770)),
                        onPage(30, 30, 522, 195)));
        const QImage blank = renderPage("/tmp/attach.pdf", 3);
        QVERIFY(isWhite(blank, blank.rect()));
        QVERIFY(sameBox(boundingBox(renderPage("/tmp/attach.pdf", 4), qRgb(0xff, 0, 0), QRect(0, 0, 595, 770)),
                        onPage(30, 30, 522, 326)));
        QVERIFY(sameBox(boundingBox(renderPage("/tmp/attach.pdf", 5), QColor(Qt::darkGreen).rgb(),
                                    QRect(0, 0, 595, 770)),
                        onPage(30, 30, 522, 407)));
        QVERIFY(isWhite(renderPage("/tmp/attach.pdf", 1), onPage(400, 67, 152, 128))); // unreadable logo
    }

    void unwritableReport()
    {
        HPdf pdf;
        QTest::ignoreMessage(QtWarningMsg, "savePdf cannot create \"/tmp/none/report.pdf\"");
        pdf.savePdf("/tmp/none/report.pdf", "Off", "Off");
        QVERIFY(!QFileInfo::exists("/tmp/none"));
    }

    void helpers()
    {
        HPdf pdf;
        QCOMPARE(pdf.getFileName("/user/TK520/internal/report 1.pdf"), QStringLiteral("report 1.pdf"));
        QCOMPARE(pdf.getFileName("report.pdf"), QStringLiteral("report.pdf"));
        QCOMPARE(pdf.getFileName("/tmp/dir/"), QString());

        const QDateTime before = QDateTime::currentDateTime().addSecs(-1);
        const QDateTime stamp = QDateTime::fromString(pdf.currDateTime(), "dd/MM/yyyy hh:mm:ss");
        QVERIFY(stamp.isValid());
        QVERIFY(stamp >= before && stamp <= QDateTime::currentDateTime());

        QFile file("/tmp/attach.txt");
        QVERIFY(file.open(QIODevice::WriteOnly));
        file.write("%%EOF\n");
        file.close();
        pdf.attachPdf("/tmp/attach.txt", "GSM,Power");
        QCOMPARE(fileBytes("/tmp/attach.txt"), QByteArray("%%EOF\nGSM,Power"));
        pdf.attachPdf("/tmp/none/attach.txt", "GSM,Power");
        QVERIFY(!QFileInfo::exists("/tmp/none"));

        QVERIFY(HPdf::param());
        QCOMPARE(HPdf::param(), HPdf::param());
        QCOMPARE(HPdf::param()->parent(), nullptr);
    }
};

QTEST_MAIN(TestHPdf)
#include "tst_hpdf.moc"
