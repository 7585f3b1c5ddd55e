#include <QtTest>

#include "elfclientinterface.h"
#include "hpdf.h"
#include "hsave.h"
#include "hscreenshot.h"
#include "pngtext.h"
#include "savetestfiles.h"
#include "simfixture.h"

#include <zlib.h>

namespace {
const QString kDir = QStringLiteral("/tmp/headers");

// Writes a file of the test folder and returns its path.
QString put(const QString &name, const QByteArray &content)
{
    const QString path = kDir + QLatin1Char('/') + name;
    writeFile(path, content);
    return path;
}

void putAt(QByteArray &data, int offset, const QByteArray &bytes)
{
    if (data.size() < offset + bytes.size())
        data.append(QByteArray(offset + bytes.size() - data.size(), '\0'));
    data.replace(offset, bytes.size(), bytes);
}

template <typename T>
QByteArray littleEndian(T value)
{
    QByteArray bytes(4, '\0');
    qToLittleEndian(value, bytes.data());
    return bytes;
}

QByteArray utf16(const QString &text)
{
    QByteArray bytes;
    for (QChar c : text) {
        bytes.append(char(c.unicode() & 0xff));
        bytes.append(char(c.unicode() >> 8));
    }
    return bytes;
}

// A coverage map: version at 240, map kind at 332, the UTF-16 address at 368.
QByteArray coverageMap(float version, quint32 kind, const QString &address, int size = 1400)
{
    QByteArray data(size, '\x7f');
    putAt(data, 240, littleEndian(version));
    putAt(data, 332, littleEndian(kind));
    putAt(data, 368, QByteArray(600, '\0'));
    putAt(data, 368, utf16(address));
    data.truncate(size);
    return data;
}

// A map file: "technology/firmware" at 30 and the measurement at 110, inside the block 16..255.
QByteArray mapFile(const QByteArray &technology, const QByteArray &measure, int size = 400)
{
    QByteArray data(size, '\x01');
    putAt(data, 30, technology + '\0');
    putAt(data, 110, measure + '\0');
    data.truncate(size);
    return data;
}

// One PNG chunk: length, type, data and its checksum (`badCrc` spoils it).
QByteArray pngChunk(const QByteArray &type, const QByteArray &data, bool badCrc = false)
{
    QByteArray chunk(4, '\0');
    qToBigEndian(quint32(data.size()), chunk.data());
    chunk += type + data;
    const quint32 crc = quint32(crc32(0, reinterpret_cast<const Bytef *>(chunk.constData() + 4), uInt(chunk.size() - 4)));
    QByteArray tail(4, '\0');
    qToBigEndian(badCrc ? ~crc : crc, tail.data());
    return chunk + tail;
}

// A PNG that claims a 16000 x 16000 picture (nobody may decode it) with the chunks given before its data.
QByteArray hugePng(const QByteArray &chunks)
{
    QByteArray header(13, '\0');
    qToBigEndian(quint32(16000), header.data());
    qToBigEndian(quint32(16000), header.data() + 4);
    header[8] = 8;
    header[9] = 6;
    return QByteArray("\x89PNG\r\n\x1a\n", 8) + pngChunk("IHDR", header) + chunks
        + pngChunk("IDAT", QByteArray(64, 'x')) + pngChunk("tEXt", QByteArrayLiteral("Z\0after/data")) + pngChunk("IEND", {});
}

QByteArray deflated(const QByteArray &text)
{
    return qCompress(text).mid(4);   // zlib stream without Qt's length prefix
}

QMap<QString, QString> headerOf(HSave &save, const QStringList &keys)
{
    QMap<QString, QString> values;
    for (const QString &key : keys)
        values.insert(key, save.getHeader(key));
    return values;
}
} // namespace

class TestResultHeaders : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void initTestCase()
    {
        QVERIFY(QDir().mkpath(kDir));
    }

    // What the screenshot and report writers embed is what the file browser shows.
    void writersAndReadersAgree()
    {
        HScreenShot shot;
        shot.saveScreen(kDir + "/lte.png", QStringLiteral("Off"), QStringLiteral("LTE/LTE-A"), QStringLiteral("ACLR"));
        shot.saveScreen(kDir + "/nr.png", QStringLiteral("Off"), QStringLiteral("NR5G"), QStringLiteral("Beam Analysis"));
        HPdf pdf;
        pdf.commonUI().insert("Technology", "LTE/LTE-A");
        pdf.commonUI().insert("Measure", "ACLR");
        pdf.savePdf(kDir + "/report.pdf", "Off", "Off");
        const QMap<QString, QString> lte{{"Technology", "LTE/LTE-A"}, {"Measure", "ACLR"}};
        const QMap<QString, QString> nr{{"Technology", "NR5G"}, {"Measure", "Beam Analysis"}};
        HSave save;
        for (const auto &file : {qMakePair(QStringLiteral("lte.png"), lte), qMakePair(QStringLiteral("nr.png"), nr),
                                 qMakePair(QStringLiteral("report.pdf"), lte)}) {
            QVERIFY(save.readHeader(kDir + "/" + file.first, file.first.section('.', -1)));
            QCOMPARE(headerOf(save, {"Technology", "Measure"}), file.second);
        }
    }

    // The text chunks are read without decoding the picture: a file may claim any size, any text
    // length, or a compressed text that would fill the memory.
    void pngTextChunks_data()
    {
        QTest::addColumn<QByteArray>("file");
        QTest::addColumn<QString>("technology");
        QTest::addColumn<QString>("measure");
        const QByteArray description = QByteArrayLiteral("Description\0LTE/Spectrum");
        QTest::newRow("text") << hugePng(pngChunk("tEXt", description)) << "LTE" << "Spectrum";
        QTest::newRow("compressed text") << hugePng(pngChunk("zTXt", QByteArrayLiteral("Description\0\0") + deflated("NR/ACLR"))) << "NR" << "ACLR";
        QTest::newRow("international text")
            << hugePng(pngChunk("iTXt", QByteArrayLiteral("Description\0\0\0de\0\0") + QString::fromUtf8("NR/\xc3\x9c").toUtf8()))
            << "NR" << QString::fromUtf8("\xc3\x9c");
        QTest::newRow("compressed international text")
            << hugePng(pngChunk("iTXt", QByteArrayLiteral("Description\0\1\0\0\0") + deflated("LTE/LTE-A/EVM"))) << "LTE/LTE-A" << "EVM";
        QTest::newRow("two texts") << hugePng(pngChunk("tEXt", description) + pngChunk("tEXt", QByteArrayLiteral("A\0GSM/Power")))
                                        << "LTE" << "Spectrum";
        QTest::newRow("bad checksum") << hugePng(pngChunk("tEXt", description, true)) << "" << "";
        QTest::newRow("length past the end") << QByteArray("\x89PNG\r\n\x1a\n\x7f\xff\xff\xff" "tEXtDescription") << "" << "";
        QTest::newRow("bomb") << hugePng(pngChunk("zTXt", QByteArrayLiteral("Description\0\0") + deflated(QByteArray(20 << 20, ' ') + "GSM/Power")))
                              << "" << "";
        QTest::newRow("not a png") << QByteArray("GIF89a") << "" << "";
    }

    void pngTextChunks()
    {
        QFETCH(QByteArray, file);
        QFETCH(QString, technology);
        QFETCH(QString, measure);
        HSave save;
        save.addCommonHeader("Firmware", "old");
        QVERIFY(save.readHeader(put("chunks.png", file), "png"));
        QCOMPARE(headerOf(save, {"Technology", "Measure", "Firmware"}),
                 (QMap<QString, QString>{{"Technology", technology}, {"Measure", measure}, {"Firmware", ""}}));
    }

    // The chunk walk sees the texts as the picture loader does, for every text the writer makes.
    void pngTextsAsTheLoaderSeesThem()
    {
        QImage image(4, 4, QImage::Format_ARGB32);
        image.fill(Qt::red);
        image.setText("Description", "LTE/LTE-A/" + QString(60, QLatin1Char('x')));
        image.setText("Author", QString::fromUtf8("J\xc3\xbcrgen \xe6\x97\xa5  two   spaces"));
        image.setText("Comment", "short");
        QVERIFY(image.save(kDir + "/texts.png", "PNG"));
        QCOMPARE(PngText::combined(PngText::read(kDir + "/texts.png")), QImage(kDir + "/texts.png").text());
    }

    void pdfTrailers()
    {
        HSave save;
        save.readHeader(put("crlf.pdf", "%PDF-1.4\r\nx\r\n%%EOF\r\nGSM,Power\r\n"), "pdf");
        QCOMPARE(headerOf(save, {"Technology", "Measure"}),
                 (QMap<QString, QString>{{"Technology", "GSM"}, {"Measure", "Power"}}));

        // Three parts, no "%%EOF", no file: the table is emptied all the same.
        // A line too long to hold is passed over, and no piece of it counts as "%%EOF".
        for (const QString &path : {put("t.pdf", "%%EOF\nNR,ACLR,extra"), put("u.pdf", "no end\nNR,ACLR"),
                                    kDir + "/missing.pdf", put("long.pdf", QByteArray(4095, 'x') + "%%EOF\nNR,ACLR"),
                                    put("long trailer.pdf", "%%EOF\n" + QByteArray(5000, 'x') + ",ACLR")}) {
            save.addCommonHeader("Firmware", "old");
            QVERIFY(save.readHeader(path, "pdf"));
            QCOMPARE(headerOf(save, {"Technology", "Measure", "Firmware"}),
                     (QMap<QString, QString>{{"Technology", ""}, {"Measure", ""}, {"Firmware", ""}}));
        }
    }

    void mapFiles()
    {
        HSave save;
        const QStringList keys = {"Technology", "Firmware", "Measure"};
        QVERIFY(save.readHeader(put("a.gom", mapFile("LTE/V2.1.3/x", "RSRP Map")), "gom"));
        QCOMPARE(headerOf(save, keys),
                 (QMap<QString, QString>{{"Technology", "LTE"}, {"Firmware", "V2.1.3"}, {"Measure", "RSRP Map"}}));

        QVERIFY(save.readHeader(put("b.gomv", mapFile("NR", "SS-RSRP")), "gomv"));
        QCOMPARE(headerOf(save, keys),
                 (QMap<QString, QString>{{"Technology", "NR"}, {"Firmware", ""}, {"Measure", "SS-RSRP"}}));

        // A measurement text without its zero byte ends with the block (offset 256), not with the file.
        QByteArray unterminated = mapFile("GSM/1", "");
        putAt(unterminated, 110, QByteArray(200, 'M'));
        save.readHeader(put("c.gom", unterminated), "gom");
        QCOMPARE(save.getHeader("Measure"), QString(146, QLatin1Char('M')));

        // Truncated files: the texts end with the file.
        save.readHeader(put("d.gom", mapFile("WCDMA/7", "RSCP").left(34)), "gom");
        QCOMPARE(headerOf(save, keys), (QMap<QString, QString>{{"Technology", "WCDM"}, {"Firmware", ""}, {"Measure", ""}}));
        save.readHeader(put("e.gom", QByteArray(10, 'x')), "gom");
        QCOMPARE(headerOf(save, keys), (QMap<QString, QString>{{"Technology", ""}, {"Firmware", ""}, {"Measure", ""}}));

        // A file that does not open keeps the table.
        save.addCommonHeader("Technology", "kept");
        QVERIFY(save.readHeader(kDir + "/missing.gom", "gom"));
        QCOMPARE(save.getHeader("Technology"), QStringLiteral("kept"));

        // Kinds are compared exactly: "GOM" is read as JSON.
        QTest::ignoreMessage(QtWarningMsg, QRegularExpression("^readHeader json-error:  \"(?!no error)"));
        QVERIFY(save.readHeader(kDir + "/a.gom", "GOM"));
        QCOMPARE(headerOf(save, keys), (QMap<QString, QString>{{"Technology", ""}, {"Firmware", ""}, {"Measure", ""}}));
    }

    void coverageMaps()
    {
        HSave save;
        const QStringList keys = {"MapType", "Address"};
        QVERIFY(save.readHeader(put("a.mcf", coverageMap(2.5f, 7, "Kai 12, Ålborg \u4e2d")), "mcf"));
        QCOMPARE(headerOf(save, keys), (QMap<QString, QString>{{"MapType", "Sizable Map"}, {"Address", "Kai 12, Ålborg \u4e2d"}}));

        // The end is probed every four code units: a length between probes keeps the zero padding.
        save.readHeader(put("b.mcfv", coverageMap(3.0f, 0, "Ring 5")), "mcfv");
        QCOMPARE(headerOf(save, keys), (QMap<QString, QString>{{"MapType", "Single Map"}, {"Address", "Ring 5" + QString(2, QChar(0))}}));

        save.addCommonHeader("Address", "old");
        save.readHeader(put("c.mcf", coverageMap(2.0f, 1, "Ring 5")), "mcf");
        QCOMPARE(headerOf(save, keys), (QMap<QString, QString>{{"MapType", "Sizable Map"}, {"Address", ""}}));

        // No probe finds the end: no address.
        QByteArray full = coverageMap(2.5f, 1, QString(300, QLatin1Char('A')));
        putAt(full, 968, QByteArray(1400 - 968, 'z'));
        save.readHeader(put("d.mcf", full), "mcf");
        QCOMPARE(save.getHeader("Address"), QString());

        // Truncated: missing bytes read as zero (map kind 0, address ends at once).
        save.readHeader(put("e.mcf", coverageMap(4.0f, 1, "x", 300)), "mcf");
        QCOMPARE(headerOf(save, keys), (QMap<QString, QString>{{"MapType", "Single Map"}, {"Address", ""}}));
        save.readHeader(put("f.mcf", QByteArray(100, '\xff')), "mcf");
        QCOMPARE(save.getHeader("MapType"), QStringLiteral("Single Map"));

        save.addCommonHeader("MapType", "kept");
        save.readHeader(kDir + "/missing.mcf", "mcf");
        QCOMPARE(save.getHeader("MapType"), QStringLiteral("kept"));
    }

    void jsonAndPlainFiles()
    {
        HSave save;
        const QString setup = put("s.setup", R"({"Header": {"Technology": "NR", "Measure": "Beam", "TabCount": 2}})");
        QTest::ignoreMessage(QtWarningMsg, "readHeader json-error:  \"no error occurred\"");
        QVERIFY(save.readHeader(setup, "setup"));
        QCOMPARE(headerOf(save, {"Measure", "TabCount"}), (QMap<QString, QString>{{"Measure", "Beam"}, {"TabCount", "2"}}));

        // A document without "Header" replaces the table with nothing.
        QTest::ignoreMessage(QtWarningMsg, "readHeader json-error:  \"no error occurred\"");
        QVERIFY(save.readHeader(put("n.json", "[1, 2]"), "json"));
        QCOMPARE(save.getHeader("Technology"), QString());

        save.addCommonHeader("Firmware", "old");
        QTest::ignoreMessage(QtWarningMsg, "readHeader json-error:  \"illegal value\"");
        QVERIFY(save.readHeader(put("bad.json", "{\"Header\": nope"), "json"));
        QCOMPARE(save.getHeader("Firmware"), QString());

        QTest::ignoreMessage(QtWarningMsg, qPrintable(QStringLiteral("readHeader  failed to open filepath= \"%1\"")
                                                          .arg(kDir + "/missing.json")));
        QVERIFY(!save.readHeader(kDir + "/missing.json", "json"));
        QCOMPARE(save.getHeader("Technology"), QString());

        for (const char *kind : {"dat", "txt"}) {
            save.addCommonHeader("Firmware", "old");
            QVERIFY(save.readHeader(kDir + "/missing", kind));
            QCOMPARE(headerOf(save, {"Technology", "Measure", "Firmware"}),
                     (QMap<QString, QString>{{"Technology", ""}, {"Measure", ""}, {"Firmware", ""}}));
        }
    }

    void loggingFiles()
    {
        HSave save;
        const QString log = put("l.grr", "{\"Technology\": \"P25\", \"Measure\": \"Coverage\", \"Interval\": 5}\n"
                                               "1,2,3\n4,5,6\n");
        QVERIFY(save.readHeader(log, "grr"));
        QCOMPARE(headerOf(save, {"Technology", "Interval"}), (QMap<QString, QString>{{"Technology", "P25"}, {"Interval", "5"}}));

        QTest::ignoreMessage(QtDebugMsg, "Failed load file");
        QVERIFY(!save.readHeader(put("bad.grrv", "1,2,3\n"), "grrv"));
        QCOMPARE(save.getHeader("Technology"), QStringLiteral("P25"));
        QTest::ignoreMessage(QtDebugMsg, "Failed load file");
        QVERIFY(!save.readHeader(kDir + "/missing.grr", "grr"));
    }

    void resultFiles()
    {
        HSave save;
        save.addCommonHeader("Stale", 1);
        const QString result = put("r.res", R"({"Header": {"Technology": "GSM"},
            "Tab1": {":config:spectrumanalyzer_app:specan:centerFreq:": 1.5e9, ":config:x:y:z:": "a b"}})");
        QVERIFY(save.readResult(result));
        QCOMPARE(headerOf(save, {"Technology", "Stale"}), (QMap<QString, QString>{{"Technology", "GSM"}, {"Stale", ""}}));
        QCOMPARE(readFile("/tmp/LoadResult.oxs"),
                 QByteArray("{\n    \":config:spectrumanalyzer_app:specan:centerFreq:\": 1500000000,\n"
                            "    \":config:x:y:z:\": \"a b\"\n}\n"));

        for (const QByteArray &noTab : {QByteArray(R"({"Header": {}})"), QByteArray(3000, '\0')}) {
            QVERIFY(save.readResult(put("no-tab.res", noTab)));
            QCOMPARE(readFile("/tmp/LoadResult.oxs"), QByteArray("{\n}\n"));
        }
        QVERIFY(!save.readResult(kDir + "/missing.res"));
    }

    // A result is recalled plainly (loadconfig, 5 s) or onto a trace (loadResultActn, 500 ms).
    void resultRecallIntoTheApplication()
    {
        SimFixture sim;
        const QString freq = QStringLiteral(":config:spectrumanalyzer_app:spectrumanalyzer_reg_module:centreFreq:");
        QVERIFY2(sim.startJson(SimFixture::model({SimFixture::app(
                     "spectrumanalyzer_app", {SimFixture::module("spectrumanalyzer_reg_module",
                                                                 {SimFixture::item("centreFreq", 1e9)})})})),
                 qPrintable(sim.errorOutput()));
        HSave save;
        QFile::remove(QStringLiteral("/tmp/LoadResult.oxs"));
        save.setResultFile("Trace1", "spectrumanalyzer_app", 0, false);
        QVERIFY(sim.journal().isEmpty());

        QVERIFY(save.readResult(put("recall.res", QStringLiteral("{\"Tab1\": {\"%1\": 7.5e8}}").arg(freq).toUtf8())));
        const QString load = QStringLiteral(":action:spectrumanalyzer_app:spectrumanalyzer_reg_module:loadconfig:");
        const QString overlay = QStringLiteral(":action:spectrumanalyzer_app:spectrumanalyzer_reg_module:loadResultActn:");
        const QString service = QStringLiteral("gem.base.spectrumanalyzer_app");
        save.setResultFile("Trace3", "spectrumanalyzer_app", 1001, true);
        save.setOverlay(HSave::LOAD_OVERLAY);
        save.setResultFile("Trace3", "spectrumanalyzer_app", 0, false);
        save.setResultFile(QString(), "spectrumanalyzer_app", 0, false);
        save.setOverlay(2);
        save.setResultFile("Trace4", "spectrumanalyzer_app", 0, true);
        QCOMPARE(sim.journal(), (QVector<SimFixture::Entry>{{service, load, "/tmp/LoadResult.oxs"},
                                                            {service, overlay, "/tmp/LoadResult.oxs:3"},
                                                            {service, overlay, "/tmp/LoadResult.oxs:0"},
                                                            {service, overlay, "/tmp/LoadResult.oxs"}}));
        ELFClientInterface *client = ELFClientInterface::getSessionBusClient(service);
        QVERIFY(client->item(freq));
        QTRY_COMPARE(client->item(freq)->getValue().toDouble(), 7.5e8);

        QTest::ignoreMessage(QtDebugMsg, "Failed loadconfig \":action:gone_app:gone_reg_module:loadResultActn:\"");
        save.setResultFile("Trace1", "gone_app", 0, false);
        save.setOverlay(HSave::LOAD_NONOVERLAY);
        QTest::ignoreMessage(QtDebugMsg, "Failed loadconfig \":action:x:_reg_module:loadconfig:\"");
        save.setResultFile("Trace1", "x", 0, false);
    }
};

QTEST_MAIN(TestResultHeaders)
#include "tst_resultheaders.moc"
