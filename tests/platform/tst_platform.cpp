// The instrument's platform libraries: the parameter-service client, the JSON file reader, the
// channel-standard table and the logging files.
#include <QtTest>

#include "chbandstore.h"
#include "chstd.h"
#include "elfclientinterface.h"
#include "elfdata.h"
#include "manifest.h"
#include "persistentlog.h"
#include "quenjsondocument.h"
#include "simfixture.h"
#include "testfiles.h"

namespace {
const QString kApp = QStringLiteral("sa_app");
const QString kService = QStringLiteral("gem.base.sa_app");
const QString kReg = QStringLiteral(":config:sa_app:sa_reg_module:");
const QString kAction = QStringLiteral(":action:sa_app:sa_reg_module:myAction:");
const QString kPower = QStringLiteral(":result:sa_app:sa_result:power:");

const QByteArray kModel = R"({"applications": [{"name": "sa_app", "modules": [{"name": "sa_reg_module", "items": [
    {"name": "centreFreq", "value": 1e9}, {"name": "span", "value": 5e6, "initValue": 1e8},
    {"name": "attenuation", "type": "int", "value": 10}, {"name": "preamp", "value": true}, {"name": "title", "value": "Band 7"},
    {"name": "traceModes", "value": ["Clear Write", "Max Hold"]}, {"name": "limitLine", "value": [-30.5, -40, 12.25]},
    {"name": "detector", "type": "int", "value": 1, "enumStrings": ["Peak", "Sample", "RMS"]},
    {"name": "label", "value": "x", "initValue": null}, {"name": "myAction", "kind": "action"},
    {"name": "markers", "type": "intArray", "value": [3, 1]}]},
  {"name": "sa_result", "items": [{"name": "power", "kind": "result", "value": -40.0}]}]}]})";

ELFClientInterface *client(const QString &service = kService)
{
    return ELFClientInterface::getSessionBusClient(service);
}
ElfData *item(const QString &name) { return client()->item(kReg + name); }
}

class TestPlatform : public QObject
{
    Q_OBJECT

    SimFixture m_sim;
    QTemporaryDir m_dir{QDir::tempPath() + QStringLiteral("/quen json 'x';XXXXXX")};

private Q_SLOTS:
    void initTestCase() { QVERIFY(m_sim.startJson(QJsonDocument::fromJson(kModel).object())); }

    // One client per service, whatever parent a caller names; it follows its service leaving and
    // coming back (start() returns once the name is on the bus and its events are delivered).
    void clientsFollowTheBus()
    {
        ELFClientInterface *shared = client();
        QObject owner;
        QCOMPARE(ELFClientInterface::getSessionBusClient(kService, &owner), shared);
        QVERIFY(shared->isValid() && !client("gem.base.nothere_app")->isValid());
        QString reply = "OK";
        QVERIFY(!client("gem.base.nothere_app")->callAction(kAction, QString(), &reply) && reply == "OK");
        QVERIFY(!client()->callAction(":action:sa_app:sa_reg_module:noSuchAction:", QString(), &reply)
                && reply == "OK");
        m_sim.stop();
        QTRY_VERIFY(!shared->isValid());
        QVERIFY(m_sim.startJson(QJsonDocument::fromJson(kModel).object()));
        QVERIFY(shared->isValid());
    }

    void moduleItemsLoadsEveryKindInOrder()
    {
        QStringList addresses{"stale"};
        QVERIFY(client()->moduleItems("sa_reg_module", addresses));
        QCOMPARE(addresses,
                 (QStringList{kReg + "centreFreq:", kReg + "span:", kReg + "attenuation:", kReg + "preamp:",
                              kReg + "title:", kReg + "traceModes:stringARRAY:", kReg + "limitLine:doubleARRAY:",
                              kReg + "detector:", kReg + "label:", kAction, kReg + "markers:int32ARRAY:"}));
        const uint itemCalls = m_sim.stat("Item");
        QCOMPARE(item("span:")->getManifestAttr("initValue"), QVariant(1e8));
        QVERIFY(!item("label:")->getManifestAttr("initValue").isValid());
        QCOMPARE(qobject_cast<ELFVecDoubleClientItem *>(item("limitLine:doubleARRAY:"))->vector(),
                 (QVector<double>{-30.5, -40, 12.25}));
        QVERIFY(qobject_cast<ELFVecStringClientItem *>(item("traceModes:stringARRAY:"))
                && !qobject_cast<ELFVecDoubleClientItem *>(item("span:")));
        QCOMPARE(item("detector:")->valueText(false), "1");
        QCOMPARE(m_sim.stat("Item"), itemCalls);
        // An item not loaded yet costs one call; an unknown one is null.
        QCOMPARE(client()->item(kPower)->getValue(), QVariant(-40.0));
        QVERIFY(!item("nothing:"));
        QCOMPARE(m_sim.stat("Item"), itemCalls + 2);
        QVERIFY(!client()->moduleItems("no_module", addresses) && addresses.isEmpty());
        // Texts under an address without the marker are a list of texts all the same.
        QVERIFY(m_sim.setItem(kReg + "names:", QStringList{"a", "b"}));
        const auto *names = qobject_cast<ELFVecStringClientItem *>(client()->item(kReg + "names:"));
        QVERIFY(names && names->list() == (QStringList{"a", "b"}) && m_sim.removeItem(kReg + "names:"));
    }

    void values_data()
    {
        addColumns<QString, QVariant, QString>({"name", "value", "text"}); // text: valueText(true)
        QTest::newRow("double") << "centreFreq:" << QVariant(1e9) << "1000000000";
        QTest::newRow("int") << "attenuation:" << QVariant(10) << "10";
        QTest::newRow("bool") << "preamp:" << QVariant(true) << "true";
        QTest::newRow("text") << "title:" << QVariant("Band 7") << "Band 7";
        QTest::newRow("enumeration") << "detector:" << QVariant(1) << "Sample";
        QTest::newRow("texts")
            << "traceModes:stringARRAY:" << QVariant(QStringList{"Clear Write", "Max Hold"}) << "Clear Write,Max Hold";
        QTest::newRow("doubles")
            << "limitLine:doubleARRAY:" << QVariant(QVariantList{-30.5, -40.0, 12.25}) << "-30.5,-40,12.25";
        QTest::newRow("ints") << "markers:int32ARRAY:" << QVariant(QVariantList{3, 1}) << "3,1";
    }

    void values()
    {
        QFETCH(QString, name);
        QTEST(item(name)->getValue(), "value");
        QTEST(item(name)->valueText(true), "text");
    }

    void manifestsCoverAddresses()
    {
        QVERIFY(!Manifest::getElfData(kPower)); // loaded, but no manifest covers it yet
        auto *first = new Manifest(client(), kApp, "sa_result");
        ElfData *handle = Manifest::getElfData(kPower);
        QVERIFY(handle && first->addresses() == QStringList{kPower});
        // A manifest made with another application's client still asks its own application, and
        // covers the address when the first goes.
        const Manifest second(client("gem.base.nothere_app"), kApp, "sa_result");
        QCOMPARE(second.addresses(), QStringList{kPower});
        delete first;
        QCOMPARE(Manifest::getElfData(kPower), handle);
        QVERIFY(Manifest(client(), kApp, "no_module").addresses().isEmpty());
    }

    // A living manifest answers for its module without the bus and follows the module's changes;
    // without one every request asks the service.
    void livingManifestsAnswerModuleItems()
    {
        const QString added = kReg + "newcomer:";
        QStringList addresses;
        {
            const Manifest manifest(client(), kApp, "sa_reg_module");
            const uint calls = m_sim.stat("ModuleItems");
            QVERIFY(client()->moduleItems("sa_reg_module", addresses) && addresses == manifest.addresses());
            QCOMPARE(m_sim.stat("ModuleItems"), calls);
            QVERIFY(m_sim.setItem(added, 7.0));
            QTRY_VERIFY(client()->moduleItems("sa_reg_module", addresses) && addresses.contains(added));
            QVERIFY(m_sim.removeItem(added));
            QTRY_VERIFY(client()->moduleItems("sa_reg_module", addresses) && !addresses.contains(added));
            const uint refreshed = m_sim.stat("ModuleItems");
            QVERIFY(client()->moduleItems("sa_reg_module", addresses));
            QCOMPARE(m_sim.stat("ModuleItems"), refreshed);
            // A service that restarts may hold other items: its list is asked for again.
            m_sim.stop();
            QByteArray other = kModel;
            other.replace(R"({"name": "centreFreq", "value": 1e9})",
                          R"({"name": "centreFreq", "value": 1e9}, {"name": "restarted", "value": 1})");
            QVERIFY(m_sim.startJson(QJsonDocument::fromJson(other).object()));
            QTRY_VERIFY(client()->moduleItems("sa_reg_module", addresses) && addresses.contains(kReg + "restarted:"));
            m_sim.stop();
            QVERIFY(m_sim.startJson(QJsonDocument::fromJson(kModel).object()));
            QTRY_VERIFY(client()->moduleItems("sa_reg_module", addresses) && !addresses.contains(kReg + "restarted:"));
        }
        const uint calls = m_sim.stat("ModuleItems");
        QVERIFY(client()->moduleItems("sa_reg_module", addresses));
        QCOMPARE(m_sim.stat("ModuleItems"), calls + 1);
    }

    // A write shows at once and reaches the service; the service's echo does not move the handle
    // again, and its own changes (only real ones) reach the handle.
    void valuesBothWays()
    {
        ElfData *freq = item("centreFreq:");
        QSignalSpy changed(freq, &ElfData::valueChanged);
        m_sim.clearJournal();
        freq->setValue(2.5e9);
        QCOMPARE(freq->getValue(), QVariant(2.5e9));
        freq->setProperty("value", QVariant("7.5e8")); // text from QML becomes a double
        QCOMPARE(freq->getValue(), QVariant(7.5e8));
        item("detector:")->setValue("RMS");
        QCOMPARE(item("detector:")->getValue(), QVariant(2));
        QVERIFY(client()->setItemValue(kReg + "limitLine:doubleARRAY:", QVariantList{1.5, 2}));
        QTRY_COMPARE(m_sim.journal(),
                     (QVector<SimFixture::Entry>{{kService, kReg + "centreFreq:", "2.5e+09"},
                                                 {kService, kReg + "centreFreq:", "7.5e+08"},
                                                 {kService, kReg + "detector:", "2"},
                                                 {kService, kReg + "limitLine:doubleARRAY:", "[1.5,2]"}}));
        for (const double value : {2e6, 2e6, 7.5e8})
            QVERIFY(m_sim.setItem(kReg + "centreFreq:", value, 1e9));
        QVERIFY(m_sim.setItem(kReg + "title:", "sync", "x"));
        QTRY_COMPARE(item("title:")->getValue(), QVariant("sync"));
        QCOMPARE(changed.count(), 4);
        QCOMPARE(freq->getValue(), QVariant(7.5e8));
    }

    // A stream of the service's changes reaches the handle whole and in order: every value a later send
    // time of the machine's monotonic clock. Only double items stream.
    void streamedChangesArriveInOrder()
    {
        ElfData *span = item("span:");
        QVector<double> values;
        connect(span, &ElfData::valueChanged, this, [&] { values.append(span->getValue().toDouble()); });
        timespec now {};
        clock_gettime(CLOCK_MONOTONIC, &now);
        const double startUs = now.tv_sec * 1e6 + now.tv_nsec / 1e3;
        QVERIFY(m_sim.streamChanges(kReg + "span:", 2000, 300));
        QTRY_COMPARE_WITH_TIMEOUT(values.size(), 300, 20000);
        clock_gettime(CLOCK_MONOTONIC, &now);
        QVERIFY(values.first() >= startUs && values.last() <= now.tv_sec * 1e6 + now.tv_nsec / 1e3);
        QVERIFY(std::is_sorted(values.begin(), values.end()) && std::adjacent_find(values.begin(), values.end()) == values.end());
        QVERIFY(!m_sim.streamChanges(kReg + "attenuation:", 10, 1));
        disconnect(span, &ElfData::valueChanged, this, nullptr);
    }

    // The service's text is the verdict. A late answer ends the call at its time-out (never early, and
    // without waiting for the answer) and leaves the caller's reply; an answer within it is waited for.
    void callAction_data()
    {
        // The service answers `answer` ("OK" when empty) after `delayMs`.
        addColumns<QString, uint, int, QString>({"answer", "delayMs", "timeoutMs", "reply"});
        QTest::newRow("OK") << "" << 0u << 500 << "OK";
        QTest::newRow("refused") << "Busy" << 0u << 500 << "Busy";
        QTest::newRow("answered at 300 ms of 5000") << "" << 300u << 5000 << "OK";
        QTest::newRow("late, 100 ms") << "" << 3000u << 100 << "preset";
        QTest::newRow("late, 1000 ms") << "" << 3000u << 1000 << "preset";
        QTest::newRow("no time at all") << "" << 300u << 0 << "preset";
    }

    void callAction()
    {
        QFETCH(QString, answer);
        QFETCH(uint, delayMs);
        QFETCH(int, timeoutMs);
        QFETCH(QString, reply);
        QVERIFY(m_sim.setActionReply(kAction, answer) && m_sim.setActionDelay(kAction, delayMs));
        QString text = "preset";
        QElapsedTimer timer;
        timer.start();
        const bool done = client()->callAction(kAction, "arg", &text, timeoutMs);
        const qint64 elapsed = timer.elapsed();
        QCOMPARE(text, reply);
        QCOMPARE(done, reply == "OK");
        // Bounds that hold on a loaded machine too: a late call returns before the answer would come.
        const bool late = int(delayMs) > timeoutMs;
        QVERIFY2(late ? elapsed >= timeoutMs && elapsed < int(delayMs) : elapsed >= int(delayMs),
                 qPrintable(QString::number(elapsed)));
    }

    // A refused write leaves the service's value and type: later values stay numbers.
    void refusedWritesKeepTheServiceValue()
    {
        ElfData *atten = item("attenuation:");
        atten->setValue(QString()); // no number: not shown, and the service refuses it
        QCOMPARE(atten->getValue(), QVariant(10));
        QVERIFY(m_sim.removeItem(kReg + "attenuation:"));
        QSignalSpy changed(atten, &ElfData::valueChanged);
        atten->setValue(20);
        QCOMPARE(atten->getValue(), QVariant(20));
        QTRY_COMPARE(changed.count(), 2);
        QCOMPARE(atten->getValue(), QVariant(10));
        QVERIFY(m_sim.setItem(kReg + "attenuation:", 30, 10));
        QTRY_COMPARE(atten->getValue(), QVariant(30));
        atten->setValue("40");
        QCOMPARE(atten->getValue(), QVariant(40));
    }

    // Each failure names the file (a parse failure also says where and why) and leaves no content
    // of the earlier successful read. A FIFO would block in open(): it is refused before.
    void jsonFiles_data()
    {
        // A file in a folder with a space, a quote and a ';' ("<none>": not written); the compact JSON or
        // the error read (%1: the path).
        addColumns<QString, QByteArray, QString>({"name", "bytes", "json"});
        QTest::newRow("object") << "object.json" << QByteArray(R"({"a": [1, "x"]})") << R"({"a":[1,"x"]})";
        QTest::newRow("missing")
            << "missing.json" << QByteArray("<none>") << "Cannot read %1: No such file or directory";
        QTest::newRow("broken")
            << "broken.json" << QByteArray(R"({"a": 1,,})") << "Cannot parse %1 at offset 9: unterminated object";
        QTest::newRow("empty") << "empty.json" << QByteArray("") << "Cannot parse %1 at offset 0: illegal value";
        QTest::newRow("no name") << "" << QByteArray("<none>") << "Cannot read: no file name given";
        QTest::newRow("folder") << "." << QByteArray("<none>") << "Cannot read %1: not a regular file";
        QTest::newRow("fifo") << "fifo" << QByteArray("<fifo>") << "Cannot read %1: not a regular file";
    }

    void jsonFiles()
    {
        QFETCH(QString, name);
        QFETCH(QByteArray, bytes);
        QFETCH(QString, json);
        const QString path = name.isEmpty() ? QString() : QDir::cleanPath(m_dir.filePath(name));
        if (bytes == "<fifo>")
            QCOMPARE(::mkfifo(QFile::encodeName(path).constData(), 0600), 0);
        else if (bytes != "<none>")
            writeFile(path, bytes);
        writeFile(m_dir.filePath("good.json"), R"({"b": 2})");
        QuenJsonDocument document;
        QVERIFY(document.readFile(m_dir.filePath("good.json")) && !document.hasError());
        const bool read = document.readFile(path);
        QCOMPARE(document.hasError(), !read);
        QCOMPARE(read ? QString(document.toJson(QJsonDocument::Compact)) : document.errorString(),
                 json.replace("%1", path));
        QVERIFY(read || document.object().isEmpty());
    }

    // Each text is "technology - band - frequencies", band unique within its technology; the
    // interface shows the middle field, in the enumeration's order.
    void channelStandards()
    {
        const ChBandStore *store = ChStd::GetChStdPointer();
        QCOMPARE(store->count(), 73);
        QCOMPARE(store->GetEnumulator(34), "LTE - Band 29 - SDL 717-728 MHz");
        QSet<QString> bands;
        for (int i = 0; i < store->count(); ++i) {
            const QStringList fields = store->GetEnumulator(i).split(" - ");
            QVERIFY(fields.size() == 3 && !fields.at(1).isEmpty());
            bands.insert(fields.at(0) + fields.at(1));
        }
        QCOMPARE(bands.size(), store->count());
        for (int index : {-1, store->count(), std::numeric_limits<int>::max(), std::numeric_limits<int>::min()})
            QCOMPARE(store->GetEnumulator(index), QString());
    }

    // Only the set-up at the start of a logging file counts, on one line or indented over many, and a
    // refused file leaves the last conversion.
    void loggingFileSetup()
    {
        const QByteArray converted = "{\n    \"Measure\": \"R{S}\\\"P\",\n    \"Technology\": \"LTE\"\n}\n";
        persistentLog log;
        for (const QByteArray &bytes :
             {QByteArray("  {\"Technology\":\"LTE\",\"Measure\":\"R{S}\\\"P\"}\r\n{\"t\": 1}\nnot json\n"),
              converted + "{\"t\": 1}\n", QByteArray("[1, 2]\n"), QByteArray("{\"Technology\": \"NR\""),
              QByteArray("x{\"Technology\": \"NR\"}\n"), QByteArray(2 * 1024 * 1024, '{'), QByteArray()}) {
            writeFile("/tmp/test.grr", bytes);
            QCOMPARE(log.loadUiSetup("/tmp/test.grr"), bytes.contains("R{S}"));
            QCOMPARE(readFile("/tmp/loggingLoadUiSetup.json"), converted);
        }
        QVERIFY(!log.loadUiSetup("/tmp/missing.grr"));
    }
};

QTEST_GUILESS_MAIN(TestPlatform)
#include "tst_platform.moc"
