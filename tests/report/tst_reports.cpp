#include <QtTest>
#include <QBuffer>
#include <QJsonDocument>
#include <QJsonObject>
#include <QPainter>
#include <QPdfWriter>
#include <QScreen>

#include "hpdf.h"
#include "hscreenshot.h"
#include "htagfile.h"
#include "testfiles.h"

// The PDF report, screenshots with their settings band and the site tag file. Runs in the sandbox (private
// /tmp and /base, an Xvfb screen): the capture and the tag file live at fixed paths of the instrument.
namespace {
const QString kCapture = QStringLiteral("/tmp/tempScreenShotHNA.png");
const QString kTagDir = QStringLiteral("/base/qml_4410/hetnet_private");
const QString kTagFile = kTagDir + QStringLiteral("/tagNameList.json");
// What a first start offers, by category; each list is read back as 15 entries, the rest empty.
const QMap<QString, QStringList> kDefaults = {
    {"Site ID", {"SiteA", "SiteB", "SiteC"}}, {"Sector", {"Alpha", "Beta", "Gamma"}}, {"Custom", {}},
    {"Technology", {"GSM900", "WCDMA850", "LTE180"}}, {"Test Type", {"RL", "VSWR", "DTF-RL", "DTF-VSWR", "CL"}},
    {"Termination", {"Open", "Load", "Antenna"}}};
const char *const kTraceColours[] = {"#00299B", "#39b549", "#f50057", "#ff9700", "#7b4dff", "#0097a7"};

QString picture(const QString &path, const QSize &size, const QColor &colour)
{
    QImage image(size, QImage::Format_RGB32);
    image.fill(colour);
    image.save(path);
    return path;
}

QString pdfTool(const QString &program, const QStringList &arguments)
{
    QProcess process;
    process.start(program, arguments);
    process.waitForFinished(30000);
    return QString::fromUtf8(process.readAllStandardOutput());
}

// The height of the first word `word` on the report's first page, as pdftotext boxes it: the font's size.
double wordHeight(const QString &pdf, const QString &word)
{
    const QRegularExpression box("yMin=\"([0-9.]+)\" xMax=\"[0-9.]+\" yMax=\"([0-9.]+)\">"
                                 + QRegularExpression::escape(word) + "</word>");
    const QRegularExpressionMatch match = box.match(pdfTool("pdftotext", {"-bbox", "-f", "1", "-l", "1", pdf, "-"}));
    return match.hasMatch() ? match.captured(2).toDouble() - match.captured(1).toDouble() : -1;
}

// Rendered at the report's own resolution: one pixel is one report unit.
QImage renderPage(const QString &pdf, int page)
{
    QProcess::execute("pdftoppm", {"-r", "70", "-f", QString::number(page), "-l", QString::number(page), "-png",
                                   "-singlefile", pdf, "/tmp/rendered"});
    return QImage("/tmp/rendered.png").convertToFormat(QImage::Format_RGB32);
}

// The box of the pixels close to colour (pictures may be stored as JPEG, edges are blended).
QRect boxOf(const QImage &image, const QColor &colour, QRect area = QRect(), int tolerance = 96)
{
    area = area.isNull() ? image.rect() : area & image.rect();
    QRect box;
    for (int y = area.top(); y <= area.bottom(); ++y)
        for (int x = area.left(); x <= area.right(); ++x) {
            const QColor c = image.pixelColor(x, y);
            if (qAbs(c.red() - colour.red()) + qAbs(c.green() - colour.green()) + qAbs(c.blue() - colour.blue())
                < tolerance)
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

// The tags as a list of `entries` per category, and the file a save writes for them.
QVariantMap defaultTags(int entries = 15)
{
    QVariantMap tags;
    for (auto it = kDefaults.cbegin(); it != kDefaults.cend(); ++it)
        for (int n = 0; n < qMax(entries, it->size()); ++n)
            tags.insert(it.key() + QString::number(n + 1), it->value(n));
    return tags;
}

QByteArray tagFile(const QVariantMap &tags)
{
    return QJsonDocument(QJsonObject{{"TagList", QJsonObject::fromVariantMap(tags)}}).toJson(QJsonDocument::Indented);
}

struct Cell
{
    QRect rect;
    QString text;
    QColor colour;
};
} // namespace

class TestReports : public QObject
{
    Q_OBJECT

    QSize m_screen;
    int m_band = 0;
    QPoint m_origin; // the paintable area's corner on a rendered report page (the writer's default margins)

    // A rectangle in report units, on the rendered page.
    QRect onPage(int x, int y, int w, int h) const { return QRect(m_origin + QPoint(x, y), QSize(w, h)); }

    // The margins are fractional in pixels: allow one pixel on every edge.
    static bool sameBox(const QRect &drawn, const QRect &expected)
    {
        const QPoint a = drawn.topLeft() - expected.topLeft(), b = drawn.bottomRight() - expected.bottomRight();
        return qMax(qMax(qAbs(a.x()), qAbs(a.y())), qMax(qAbs(b.x()), qAbs(b.y()))) <= 1;
    }

    // The screen (Xvfb's black root window) in the picture, or its inverse.
    bool showsScreen(const QImage &image, bool inverted) const
    {
        return image.pixel(m_screen.width() / 2, m_screen.height() / 2) == (inverted ? 0xffffffff : 0xff000000);
    }

    // Settings entries, four a row; then (unless at 0) the trace row: "Trace:", each label in its colour, its mark.
    QList<Cell> band(const QStringList &entries, int traceRow, const QStringList &marks) const
    {
        QList<Cell> cells;
        const auto cell = [this](int x, int row, int width, const QString &text, const QColor &colour = Qt::black) {
            return Cell{QRect(x, m_screen.height() + row, width, 20), text, colour};
        };
        for (int i = 0; i < entries.size(); ++i)
            cells.append(cell(i % 4 ? 320 * (i % 4) : 2, 20 * (i / 4), 320, entries.at(i)));
        for (int k = 0; k < 6 && traceRow; ++k) {
            if (k == 0)
                cells.append(cell(2, traceRow, 60, "Trace:"));
            cells.append(cell(60 * (k + 1), traceRow, 30, QStringLiteral("T%1:").arg(k + 1), kTraceColours[k]));
            cells.append(cell(60 * (k + 1) + 30, traceRow, 30, marks.value(k)));
        }
        return cells;
    }

    // The band below the picture holds exactly the cells' texts, drawn on white in the same order.
    void verifyBand(const QImage &image, const QList<Cell> &cells)
    {
        QImage reference(image.size(), QImage::Format_ARGB32_Premultiplied);
        reference.fill(Qt::white);
        QPainter painter(&reference);
        for (const Cell &cell : cells) {
            painter.setPen(cell.colour);
            painter.drawText(QRectF(cell.rect), cell.text);
        }
        painter.end();
        const QRect band(0, m_screen.height(), m_screen.width(), m_band);
        QCOMPARE(image.size(), QSize(m_screen.width(), m_screen.height() + m_band));
        QVERIFY(image.convertToFormat(reference.format()).copy(band) == reference.copy(band));
    }

private Q_SLOTS:
    void initTestCase()
    {
        // The tag file lives at a fixed path of the instrument: only ever run inside the test sandbox.
        QVERIFY2(qEnvironmentVariableIsSet("HBASE_CHECKOUT"), "run through ctest (tests/sandbox)");
        QBuffer buffer;
        buffer.open(QIODevice::WriteOnly);
        QPdfWriter writer(&buffer);
        writer.setPageSize(QPageSize(QPageSize::Letter));
        m_origin = writer.pageLayout().paintRectPixels(70).topLeft();
        m_screen = QGuiApplication::primaryScreen()->size();
        m_band = m_screen == QSize(1920, 1080) ? 165 : 120;
    }

    void init()
    {
        QDir("/base/qml_4410").removeRecursively();
        QVERIFY(QDir().mkpath(kTagDir));
    }

    // Page 1: the first font, the fields, the rule alone in the title colour below the title, no screen unless
    // includeScreen is "On"; then the trailer, one byte a character. No report where it cannot be created.
    void pdfFirstPage()
    {
        HPdf pdf;
        const QFont font = pdf.reportFont();
        QCOMPARE(font.family() + QString::number(font.pixelSize()), QStringLiteral("Noto Sans UI24"));
        QCOMPARE(font.weight(), QFont::Bold);
        // A table replaced from a setup file holds only its own keys.
        pdf.setCommonUI({{"reportCompanyCnfg", "Acme Radio"}, {"reportEngineerCnfg", "J. Smith"},
                         {"reportSiteInfoCnfg", 4711}, {"reportAddressCnfg", "1 Mast Road"},
                         {"reportTestPurposeCnfg", "Acceptance"}, {"reportResultCnfg", "Passed"},
                         {"Technology", QString::fromUtf8("NR \xce\xbc")}, {"Measure", "\u00b5W"}});
        picture(kCapture, QSize(1920, 1080), Qt::green);
        QVERIFY(QDir::setCurrent("/tmp"));
        pdf.savePdf("site report.pdf", "On", "on"); // no "/": the whole path is the file name
        const QString path = QStringLiteral("/tmp/site report.pdf");
        QVERIFY(pdfTool("pdfinfo", {path}).contains(QRegularExpression("Pages:\\s+1\n")));
        QVERIFY(readFile(path).endsWith("\n%%EOF\nNR ?,\xb5W"));
        const QString text = pdfTool("pdftotext", {"-layout", path, "-"}).simplified();
        QVERIFY2(QRegularExpression("^Measurement Report File Name site report.pdf Date/Time \\d\\d/\\d\\d/\\d{4} "
                                    "\\d\\d:\\d\\d:\\d\\d Company Acme Radio Engineer J. Smith Site Info. 4711 Address "
                                    "1 Mast Road 01 Test Purpose Acceptance 02 Result Passed 03 Measurement Data$")
                     .match(text).hasMatch(), qPrintable(text));
        // Title 24, labels 12 and values 10 units high (the boxes of bold and plain words differ a little).
        const double label = wordHeight(path, "Company");
        QVERIFY2(qAbs(label / wordHeight(path, "Measurement") - 0.5) < 0.03
                     && qAbs(wordHeight(path, "Acme") / label - 10.0 / 12) < 0.01,
                 qPrintable(QString::number(label)));
        const QImage page = renderPage(path, 1);
        QVERIFY(isWhite(page, onPage(400, 67, 152, 128)) && isWhite(page, onPage(30, 348, 522, 315)));
        QVERIFY(sameBox(boxOf(page, "#500778", onPage(0, 60, 582, 700)), onPage(30, 200, 523, 1)));
        QTest::ignoreMessage(QtWarningMsg, "savePdf cannot create \"/tmp/none/report.pdf\"");
        pdf.savePdf("/tmp/none/report.pdf", "Off", "Off");
        QVERIFY(!QFileInfo::exists("/tmp/none"));
    }

    // The screen only for includeScreen "On", inverted for inv "On"; a logo cut to its box, not letterboxed.
    void pdfPictures()
    {
        struct Case { const char *inv, *includeScreen; QColor screen; QSize logo, drawn; };
        for (const Case &c : {Case{"Off", "On", Qt::green, {145, 96}, {145, 96}},
                              Case{"On", "On", Qt::magenta, {300, 50}, {145, 50}},
                              Case{"on", "On", Qt::green, {100, 200}, {100, 96}},
                              Case{"On", "on", Qt::white, {400, 300}, {145, 96}}}) {
            picture(kCapture, QSize(1280, 800), Qt::green);
            HPdf pdf;
            const QUrl logo = QUrl::fromLocalFile(picture("/tmp/logo 'a'.png", c.logo, Qt::blue));
            pdf.commonUI().insert("reportLogoCnfg", logo.toString());
            pdf.savePdf("/tmp/pictures.pdf", c.inv, c.includeScreen);
            const QImage page = renderPage("/tmp/pictures.pdf", 1);
            const QRect shown = onPage(30, 348, 522, 315);
            QVERIFY2(sameBox(boxOf(page, Qt::blue), QRect(onPage(407, 78, 0, 0).topLeft(), c.drawn)), c.inv);
            QVERIFY2(c.screen == Qt::white ? isWhite(page, shown) : sameBox(boxOf(page, c.screen), shown), c.inv);
        }
    }

    // Attachments in key order, one page each, always 522 wide; an unreadable one leaves its page blank.
    void pdfAttachments()
    {
        HPdf pdf;
        const QString a1 = picture("/tmp/a 1.png", QSize(640, 480), Qt::blue);
        pdf.commonUI().insert("reportAttachCnfg03", picture("/tmp/a3.png", QSize(1280, 800), Qt::red));
        pdf.commonUI().insert("reportAttachCnfg01", QUrl::fromLocalFile(a1).toString());
        pdf.commonUI().insert("reportAttachCnfg02", "/tmp/missing.png");
        pdf.commonUI().insert("reportAttachCnfg06", picture("/tmp/a6.png", QSize(1280, 1000), Qt::darkGreen));
        pdf.savePdf("/tmp/attach.pdf", "Off", "Off");
        QVERIFY(pdfTool("pdfinfo", {"/tmp/attach.pdf"}).contains(QRegularExpression("Pages:\\s+5\n")));
        QVERIFY(sameBox(boxOf(renderPage("/tmp/attach.pdf", 2), Qt::blue), onPage(30, 30, 522, 195)));
        const QImage blank = renderPage("/tmp/attach.pdf", 3);
        QVERIFY(isWhite(blank, blank.rect()));
        QVERIFY(sameBox(boxOf(renderPage("/tmp/attach.pdf", 4), Qt::red), onPage(30, 30, 522, 326)));
        QVERIFY(sameBox(boxOf(renderPage("/tmp/attach.pdf", 5), Qt::darkGreen), onPage(30, 30, 522, 407)));
    }

    // The band is never inverted; the description names mode and measure; odd file names are plain names.
    void screenInvertRules()
    {
        const QString file = "/tmp/it's; $(touch x) \"q\".png";
        for (auto [captureInverted, inv, savedInverted] : {std::tuple{false, "On", true}, {false, "on", false},
                                                           {true, "Off", true}, {true, "On", false}}) {
            HScreenShot shot;
            captureInverted ? shot.captureInv() : shot.capture();
            QVERIFY(showsScreen(QImage(kCapture), captureInverted));
            shot.saveScreen(file, inv, "LTE/LTE-A", "ACLR");
            shot.saveScreen("/tmp/shots a", "shot1", inv, "NR", "EVM");
            for (const QString &path : {file, QStringLiteral("/tmp/shots a/shot1.png")}) {
                QVERIFY2(showsScreen(QImage(path), savedInverted), inv);
                verifyBand(QImage(path), {});
            }
        }
        QCOMPARE(QImage(file).text(), QStringLiteral("Description: LTE/LTE-A/ACLR"));
        QCOMPARE(QImage("/tmp/shots a/shot1.png").text("Description"), QStringLiteral("NR/EVM"));
    }

    // Entries fill rows of four; more than sixteen push the trace row down, without "T1" there is none.
    // Marks only for T1 to T6 in a trace mode, case and all. Without a picture the canvas stays white.
    void screenBand()
    {
        HScreenShot shot;
        QImage picture(m_screen, QImage::Format_RGB32);
        picture.fill(Qt::gray);
        QStringList entries;
        for (int i = 0; i < 17; ++i) {
            const QString label = i < 2 ? QStringLiteral("Span") : QStringLiteral("L%1").arg(i); // both drawn
            shot.configMap(label, QString::number(i));
            entries.append(label + ": " + QString::number(i));
        }
        for (auto [trace, mode] : {std::pair{"T1", "ClearWrite"}, {"T2", "clearwrite"}, {"T3", "Max"}, {"T3", "Min"},
                                   {"T4", "Average"}, {"T6", "Calculate"}}) // T3 replaced; T5 only a label
            shot.configMap(trace, mode);
        QTest::ignoreMessage(QtDebugMsg, "------------------------->> 17");
        const QImage image = shot.appendText(picture);
        QCOMPARE(image.pixelColor(m_screen.width() - 1, m_screen.height() - 1), QColor(Qt::gray));
        verifyBand(image, band(entries, 100, {"W", "", "m", "", "", "-"}));
        shot.clearMap();
        shot.configMap("T1", "Load");
        shot.configMap("T2", "Capture");
        for (int i = 0; i < 16; ++i)
            shot.configMap(entries.at(i).section(": ", 0, 0), entries.at(i).section(": ", 1));
        QTest::ignoreMessage(QtDebugMsg, "------------------------->> 16");
        verifyBand(shot.appendText(picture), band(entries.mid(0, 16), 80, {"L", "C"}));
        shot.clearMap();
        shot.configMap("t1", "Max"); // not a trace name: an ordinary entry
        for (const char *trace : {"T2", "T3", "T4", "T5", "T6"})
            shot.configMap(trace, "Max");
        QTest::ignoreMessage(QtDebugMsg, "------------------------->> 1");
        const QImage blank = shot.appendText(QImage()).convertToFormat(QImage::Format_RGB32);
        QVERIFY(isWhite(blank, QRect(0, 1, m_screen.width(), m_screen.height() - 1))); // row 0: the canvas outline
        verifyBand(blank, band({"t1: Max"}, 0, {}));
    }

    // One directory level is created, never its parents; the file never lands anywhere else.
    void screenDirectories()
    {
        HScreenShot shot;
        QVERIFY(QDir("/tmp").mkpath("one") && QDir::setCurrent("/tmp/one"));
        shot.saveScreen("/tmp/one/two", "shot1", "Off", "LTE", "Spectrum");
        shot.saveScreen("/tmp/three/shot.png", "Off", "LTE", "Spectrum");
        QVERIFY(QFileInfo("/tmp/one/two/shot1.png").isFile() && QFileInfo("/tmp/three/shot.png").isFile());
        for (const QString path : {"/tmp/none/two/shot1.png", "/tmp/none/four/shot.png"}) {
            const QString dir = QFileInfo(path).path();
            QTest::ignoreMessage(QtWarningMsg, qPrintable("saveScreen cannot create directory \"" + dir + '"'));
            path.endsWith("1.png") ? shot.saveScreen("/tmp/none/two", "shot1", "Off", "LTE", "Spectrum")
                                   : shot.saveScreen(path, "Off", "LTE", "Spectrum");
        }
        QVERIFY(!QFileInfo::exists("/tmp/none"));
        // No directory part: nothing lands in the working directory. A name stays inside its folder.
        QTest::ignoreMessage(QtWarningMsg, "saveScreen no directory in \"bare.png\"");
        shot.saveScreen("bare.png", "Off", "LTE", "Spectrum");
        QCOMPARE(QDir("/tmp/one").entryList(QDir::Files), QStringList());
        QVERIFY(QDir().mkdir("/tmp/one/two/a"));
        const QMap<QString, QString> before = sandboxState();
        for (const QString name : {"../escaped", "../../../user/x", "/tmp/abs", "-x", "a/b", ""}) {
            if (!name.startsWith('a') && !name.isEmpty())
                QTest::ignoreMessage(QtWarningMsg, qPrintable("saveScreen name is not a file name: \"" + name + "\""));
            shot.saveScreen("/tmp/one/two", name, "Off", "LTE", "Spectrum");
        }
        QMap<QString, QString> after = sandboxState("/tmp/one/two/.png");
        after.remove("/tmp/one/two/a/b.png");
        COMPARE_STATE(after, before);
        QVERIFY(QFileInfo("/tmp/one/two/.png").isFile() && QFileInfo("/tmp/one/two/a/b.png").isFile());
    }

    // A first start writes the defaults; a save after the read writes 15 entries for every category.
    void tagDefaults()
    {
        HTagFile tags;
        QCOMPARE(readFile(kTagFile), tagFile(defaultTags(0)));
        QCOMPARE(tags.getTag("Test Type4") + tags.getTag("Custom1"), QStringLiteral("DTF-VSWR"));
        tags.save();
        QCOMPARE(readFile(kTagFile), tagFile(defaultTags()));
        // Without the folder (made by the storage set-up) the defaults stay in memory until a save can write.
        QDir("/base/qml_4410").removeRecursively();
        HTagFile unsaved;
        unsaved.setTagName("Sector", 0, "North");
        QCOMPARE(unsaved.getTag("Site ID1") + unsaved.getTag("Sector1"), QString());
        QCOMPARE(QDir("/base").entryList(QDir::NoDotAndDotDot | QDir::AllEntries), QStringList());
        QVERIFY(QDir().mkpath(kTagDir));
        unsaved.save();
        QVariantMap kept = defaultTags(0);
        kept["Sector1"] = "North";
        QCOMPARE(readFile(kTagFile), tagFile(kept));
    }

    // setTagName edits a list by position (past the end or negative appends, an empty text removes);
    // setTag sets the entry its key names. The file is rewritten on every call, changed or not.
    void tagEdits()
    {
        HTagFile tags;
        tags.setTagName("Sector", 0, "North");
        tags.setTagName("Sector", 20, "Delta");
        tags.setTagName("Sector", -1, "Omega");
        tags.setTagName("Site ID", 1, "");
        tags.setTagName("Custom", 0, "");
        tags.setTag("Custom15", "Rooftop"); // the list had 14 entries: padded, not written outside it
        tags.setTag("Technology1", 42);
        QVariantMap expected = defaultTags();
        expected.remove("Site ID15");
        for (auto [key, value] : {std::pair{"Sector1", "North"}, {"Sector16", "Delta"}, {"Sector17", "Omega"},
                                  {"Site ID2", "SiteC"}, {"Site ID3", ""}, {"Custom15", "Rooftop"},
                                  {"Technology1", "42"}})
            expected[key] = value;
        QCOMPARE(readFile(kTagFile), tagFile(expected));
        QCOMPARE(HTagFile().getTag("Sector16") + HTagFile().getTag("Technology1"), QStringLiteral("Delta42"));

        // Nothing changes (a key that names no entry is not kept), but the file is written.
        for (auto [tag, num] : {std::pair{"Site ID", -1}, {"Site ID", 14}, {"site id", 0}, {"Sector01", 0}}) {
            writeFile(kTagFile, "stale");
            tags.setTagName(tag, num, num == 0 ? "x" : "");
            QCOMPARE(readFile(kTagFile), tagFile(expected));
        }
        QTest::ignoreMessage(QtWarningMsg, "setTag key \"Custom16\" names no tag entry");
        tags.setTag("Custom16", "lost?");
        QCOMPARE(readFile(kTagFile) + tags.getTag("Custom16").toUtf8(), tagFile(expected));
    }

    // No tag list reads as empty lists, values as text where they are one; a folder in the file's place stays.
    void tagFileDamaged()
    {
        const QByteArray otherValues = "{\"TagList\": {\"Site ID1\": 5, \"Site ID2\": true, \"Site ID3\": null, "
                                       "\"Site ID4\": [1], \"Site ID20\": \"far\", \"odd key\": \"x\"}}";
        for (const QByteArray &content : {tagFile(defaultTags()).left(200), QByteArray("{\"TagList\": 1}"),
                                          QByteArray(), otherValues}) {
            init();
            if (content.isNull())
                QVERIFY(QDir().mkpath(kTagFile));
            else
                writeFile(kTagFile, content);
            HTagFile tags;
            QStringList read;
            for (const char *key : {"Site ID1", "Site ID2", "Site ID3", "Site ID4", "Site ID20", "odd key"})
                read.append(tags.getTag(key));
            QCOMPARE(read.join('|'), QLatin1String(content == otherValues ? "5|true|||far|x" : "|||||"));
            tags.save();
            QVariantMap expected = defaultTags();
            for (QVariant &value : expected)
                value = "";
            expected["Site ID1"] = read.at(0);
            expected["Site ID2"] = read.at(1);
            QCOMPARE(readFile(kTagFile), content.isNull() ? QByteArray("<missing>") : tagFile(expected));
            QCOMPARE(QDir(kTagDir).entryList(QDir::NoDotAndDotDot | QDir::AllEntries), QStringList("tagNameList.json"));
        }
    }
};

QTEST_MAIN(TestReports)
#include "tst_reports.moc"
