// hbase-sim, the instrument's services as the other tests and the demo run against them.
#include <QtTest>
#include <QDBusInterface>

#include "elfclientinterface.h"
#include "elfdata.h"
#include "simfixture.h"
#include "testfiles.h"

namespace {
const QString kStarter = QStringLiteral("gem.base.starter_app");
const QString kSa = QStringLiteral("gem.base.spectrumanalyzer_app");
const QString kSaReg = QStringLiteral(":config:spectrumanalyzer_app:spectrumanalyzer_reg_module:");
const QString kSaAction = QStringLiteral(":action:spectrumanalyzer_app:spectrumanalyzer_reg_module:");

ELFClientInterface *client(const QString &service)
{
    return ELFClientInterface::getSessionBusClient(service);
}

QString act(const QString &service, const QString &action, const QString &argument = QString())
{
    QString reply = QStringLiteral("<none>");
    client(service)->callAction(action, argument, &reply, 2000);
    return reply;
}
}

class TestSimulator : public QObject
{
    Q_OBJECT

    SimFixture m_sim;

private Q_SLOTS:
    void initTestCase() { QVERIFY(m_sim.start()); }

    // The built-in model: every setting has a default, every application presets, the trunking plans
    // and the automated test's runtime items are there.
    void defaultModelServesTheInstrument()
    {
        QStringList plans;
        QVERIFY(client("gem.base.dxtest_app")->moduleItems("p25Trunking", plans));
        QCOMPARE(plans.size(), 64);
        QCOMPARE(client("gem.base.dxtest_app")->item(":config:dxtest_app:p25Trunking:channelPlanType3:")->valueText(true), "FDMA");
        for (const QString name : {"testEnabled:stringARRAY", "testDataList", "pButtonText5", "currentManufacturerPath"})
            QVERIFY2(client("gem.base.autotest_app")->item(":config:autotest_app:autotest_reg_module:" + name + ":"), qPrintable(name));
        for (const QString app : {"starter", "spectrumanalyzer", "networkanalyzer", "dxtest", "autotest"}) {
            ELFItemSnapshotTable items, results;
            QVERIFY(client("gem.base." + app + "_app")->snapshot(items, results));
            for (auto it = items.cbegin(); it != items.cend(); ++it)
                QVERIFY2(!it.key().startsWith(":config:") || it->attributes.contains("initValue"), qPrintable(it.key()));
            QCOMPARE(act("gem.base." + app + "_app", QStringLiteral(":action:%1_app:%1_reg_module:presetActn:").arg(app)), "OK");
        }
    }

    // Copies and moves into a folder or to a path, of files and folders, across file systems (/user and
    // /tmp are separate mounts); errors change nothing.
    void fileActions_data()
    {
        writeFile("/user/s/a file", "A");
        writeFile("/user/s/d/b", "B");
        QDir().mkpath("/user/t");
        QTest::addColumn<QString>("action");
        QTest::addColumn<QString>("argument");
        QTest::addColumn<bool>("done");
        QTest::addColumn<QString>("path"); // holds `content` afterwards
        QTest::addColumn<QByteArray>("content");
        QTest::addColumn<QString>("gone"); // does not exist afterwards
        QTest::newRow("copy into") << "fileCopy" << "/user/s/a file|/user/t" << true << "/user/t/a file" << QByteArray("A") << "";
        QTest::newRow("copy to") << "fileCopy" << "/user/s/a file|/user/t/c" << true << "/user/t/c" << QByteArray("A") << "";
        QTest::newRow("copy folder") << "fileCopy" << "/user/s|/user/t" << true << "/user/t/s/d/b" << QByteArray("B") << "";
        QTest::newRow("copy missing") << "fileCopy" << "/user/x|/user/t" << false << "/user/t/c" << QByteArray("A") << "/user/t/x";
        QTest::newRow("copy into itself") << "fileCopy" << "/user/s|/user/s/d" << false << "/user/s/d/b" << QByteArray("B") << "/user/s/d/s";
        QTest::newRow("no separator") << "fileCopy" << "/user/s" << false << "/user/s/d/b" << QByteArray("B") << "";
        QTest::newRow("move into") << "fileMove" << "/user/t/c|/user/s" << true << "/user/s/c" << QByteArray("A") << "/user/t/c";
        QTest::newRow("move to") << "fileMove" << "/user/s/c|/user/s/e" << true << "/user/s/e" << QByteArray("A") << "/user/s/c";
        QTest::newRow("move across") << "fileMove" << "/user/t/s|/tmp" << true << "/tmp/s/d/b" << QByteArray("B") << "/user/t/s";
        QTest::newRow("move missing") << "fileMove" << "/user/x|/user/t" << false << "/user/s/e" << QByteArray("A") << "/user/t/x";
        QTest::newRow("delete file") << "fileDelete" << "/user/s/e" << true << "/user/s/a file" << QByteArray("A") << "/user/s/e";
        QTest::newRow("delete folder") << "fileDelete" << "/tmp/s" << true << "/user/s/d/b" << QByteArray("B") << "/tmp/s";
        QTest::newRow("delete missing") << "fileDelete" << "/tmp/s" << false << "/user/t/a file" << QByteArray("A") << "/tmp/s";
    }

    void fileActions()
    {
        QFETCH(QString, action);
        QFETCH(QString, argument);
        QFETCH(bool, done);
        QFETCH(QString, path);
        QFETCH(QString, gone);
        const QString reply = act(kStarter, ":action:starter_app:starter_reg_module:" + action + ":", argument);
        QVERIFY2(done ? reply == "OK" : reply.startsWith("Error"), qPrintable(reply));
        QTEST(readFile(path), "content");
        QVERIFY2(gone.isEmpty() || !QFileInfo::exists(gone), qPrintable(gone));
    }

    // Settings saved as indented JSON and loaded back (also as the interface writes them: arrays of
    // number texts), preset, recall and result loading.
    void configActions()
    {
        ELFClientInterface *sa = client(kSa);
        QStringList addresses;
        QVERIFY(sa->moduleItems("spectrumanalyzer_reg_module", addresses));
        QCOMPARE(act(kSa, kSaAction + "saveconfig:", "/tmp/Tab1.oxs,0,"), "OK");
        const QByteArray saved = readFile("/tmp/Tab1.oxs");
        QVERIFY(saved.startsWith("{\n    \""));
        const QJsonObject settings = QJsonDocument::fromJson(saved).object();
        QCOMPARE(settings.size(), addresses.filter(QRegularExpression("^:config:")).size());
        QCOMPARE(settings.value(kSaReg + "centreFreq:").toDouble(), 1e9);
        QCOMPARE(settings.value(kSaReg + "traceModes:stringARRAY:").toArray().size(), 4);

        ElfData *freq = sa->item(kSaReg + "centreFreq:");
        ElfData *limit = sa->item(kSaReg + "limitLine:doubleARRAY:");
        freq->setValue(2e9);
        limit->setValue(QVariantList{1.0});
        QSignalSpy changed(freq, &ElfData::valueChanged);
        QCOMPARE(act(kSa, kSaAction + "loadconfig:", "/tmp/Tab1.oxs"), "OK");
        QTRY_COMPARE(freq->getValue(), QVariant(1e9));
        QTRY_COMPARE(limit->getValue().toList().size(), 4);
        QCOMPARE(changed.count(), 1);
        writeFile("/tmp/Tab2.oxs", QString("{\"%1centreFreq:\": 3e9, \"%1limitLine:doubleARRAY:\": [\"-1.5\", \"2\"],"
                                           " \"%1nothing:\": 1}").arg(kSaReg).toUtf8());
        QCOMPARE(act(kSa, kSaAction + "loadconfig:", "/tmp/Tab2.oxs"), "OK");
        QTRY_COMPARE(limit->getValue(), QVariant(QVariantList{-1.5, 2.0}));
        QCOMPARE(freq->getValue(), QVariant(3e9));
        writeFile("/tmp/bad.oxs", "{ broken");
        for (const char *file : {"/tmp/missing.oxs", "/tmp/bad.oxs"})
            QVERIFY(act(kSa, kSaAction + "loadconfig:", file).startsWith("Error"));

        QCOMPARE(act(kSa, kSaAction + "presetActn:"), "OK");
        QTRY_COMPARE(freq->getValue(), QVariant(1e9));
        QTRY_COMPARE(limit->getValue(), limit->getManifestAttr("initValue"));
        writeFile("/tmp/LoadResult.oxs", "{}");
        QCOMPARE(act(kSa, kSaAction + "startRecall:", "Spectrum") + act(kSa, kSaAction + "finishRecall:")
                     + act(kSa, kSaAction + "loadResultActn:", "/tmp/LoadResult.oxs:2"), "OKOKOK");
        QVERIFY(act(kSa, kSaAction + "loadResultActn:", "/tmp/none.oxs").startsWith("Error"));
    }

    // Bad requests get errors and the simulator lives on; items come and go through the control interface.
    void badRequestsAndControl()
    {
        QDBusInterface elf(kSa, "/gem/base/elf", "gem.base.Elf");
        const auto dbusValue = [](const QVariant &value) { return QVariant::fromValue(QDBusVariant(value)); };
        const QVector<QPair<QDBusMessage, QString>> calls{
            {elf.call("Item", ":config:nowhere:"), "UnknownItem"},
            {elf.call("Item", ":config:starter_app:starter_reg_module:appNameCnfg:"), "UnknownItem"},
            {elf.call("ModuleItems", "nowhere"), "UnknownModule"},
            {elf.call("CallAction", kSaAction + "explode:", ""), "UnknownAction"},
            {elf.call("CallAction", ":action:starter_app:starter_reg_module:fileCopy:", "a|b"), "UnknownAction"},
            {elf.call("SetItemValue", kSaReg + "attenuation:", dbusValue("ten")), "InvalidValue"},
            {elf.call("SetItemValue", kSaReg + "centreFreq:", dbusValue(QStringList{"x"})), "InvalidValue"},
            {elf.call("Nonsense"), "org.freedesktop.DBus.Error.UnknownMethod"}};
        for (const auto &call : calls)
            QCOMPARE(call.first.errorName().remove("gem.base.Error."), call.second);
        QVERIFY(!m_sim.setItem("not an address", 1) && !m_sim.removeItem(kSaReg + "nothing:"));
        QCOMPARE(elf.call("Item", kSaReg + "attenuation:").arguments().size(), 2);

        const QString address = ":result:newcomer_app:live:level:";
        const uint moduleCalls = m_sim.stat("ModuleItems");
        QVERIFY(m_sim.setItem(address, 4.5));
        QTRY_VERIFY(client("gem.base.newcomer_app")->isValid());
        QCOMPARE(client("gem.base.newcomer_app")->item(address)->getValue(), QVariant(4.5));
        QVERIFY(!client("gem.base.newcomer_app")->item(address)->getManifestAttr("initValue").isValid());
        QVERIFY(m_sim.removeItem(address));
        QStringList addresses{"stale"};
        QVERIFY(client("gem.base.newcomer_app")->moduleItems("live", addresses) && addresses.isEmpty());
        QCOMPARE(m_sim.stat("ModuleItems"), moduleCalls + 1);
    }

    void raiseTaskSignalsAndRecords()
    {
        QDBusInterface desktop("com.torvanelabs.platform.Desktop", "/com/torvanelabs/platform/Desktop",
                               "com.torvanelabs.platform.Desktop");
        QSignalSpy raised(&desktop, SIGNAL(TaskRaised(QString, QString)));
        QVERIFY(m_sim.raiseTask("Spectrum Analyzer", "task-7"));
        QTRY_COMPARE(raised, (QList<QVariantList>{{"Spectrum Analyzer", "task-7"}}));
        QCOMPARE(readFile("/tmp/hbase-sim/last_raised_task"), "Spectrum Analyzer\n");
    }

    void malformedModelsAreRefused_data()
    {
        QTest::addColumn<QByteArray>("items"); // of module m of application a_app; or the whole file
        QTest::addColumn<QString>("message");
        QTest::newRow("not json") << QByteArray("{ \"applications\": [") << "not valid JSON";
        QTest::newRow("no applications") << QByteArray("[]") << "\"applications\" array";
        QTest::newRow("nameless item") << QByteArray(R"([{"value":1}])") << "an item of a_app/m has no valid \"name\"";
        QTest::newRow("wrong type") << QByteArray(R"([{"name":"x","type":"int","value":"y"}])")
                                    << "\"value\" of \":config:a_app:m:x:\" is not of type int";
        QTest::newRow("twice") << QByteArray(R"([{"name":"x"},{"name":"x"}])") << "item \":config:a_app:m:x:\" appears twice";
        QTest::newRow("carrier without frequency")
            << QByteArray(R"([{"name":"t","type":"doubleArray","simulate":{"periodMs":20,"carriers":[{"level":-30}]}}])")
            << "a carrier needs a \"frequency\" > 0";
    }

    void malformedModelsAreRefused()
    {
        QFETCH(QByteArray, items);
        QFETCH(QString, message);
        if (items.startsWith("[{"))
            items = R"({"applications":[{"name":"a_app","modules":[{"name":"m","items":)" + items + "}]}]}";
        writeFile("/tmp/broken model.json", items);
        QCOMPARE(m_sim.runToExit({"--model", "/tmp/broken model.json"}), 2);
        const QString errors = m_sim.errorOutput();
        QVERIFY2(errors.startsWith("hbase-sim: model /tmp/broken model.json: ") && errors.contains(message), qPrintable(errors));
        QCOMPARE(m_sim.runToExit({"--model", "/tmp/absent.json"}), 2);
    }

    // A result wanders within its bounds. A sweep follows the analyser's settings: the tone (about
    // -30 dBm) moves with the centre, the noise floor (the median) rises with the reference level
    // (auto attenuation) and falls with the negative-peak detector, and the sweep has the set points.
    void simulatedResults()
    {
        QVERIFY(m_sim.startJson(QByteArray(R"({"applications": [{"name": "s_app", "modules": [
            {"name": "s_reg_module", "items": [{"name": "centreFreq", "value": 1.0e9}, {"name": "span", "value": 10.0e6},
              {"name": "rbw", "value": 100.0e3}, {"name": "refLevel", "value": -20.0}, {"name": "sweepPoints", "type": "int", "value": 101},
              {"name": "detector", "type": "int", "value": 3}]},
            {"name": "res", "items": [{"name": "trace", "kind": "result", "type": "doubleArray", "value": [],
              "simulate": {"periodMs": 20, "carriers": [{"frequency": 1.002e9, "bandwidth": 0, "level": -30}]}},
              {"name": "level", "kind": "result", "value": -50.0, "simulate": {"min": -80, "max": -20, "periodMs": 20}}]}]}]})")));
        ElfData *level = client("gem.base.s_app")->item(":result:s_app:res:level:");
        QSignalSpy wandered(level, &ElfData::valueChanged);
        QTRY_VERIFY(wandered.count() >= 3);
        QVERIFY(level->getValue().toDouble() >= -80 && level->getValue().toDouble() <= -20 && level->getValue() != -50.0);

        ElfData *trace = client("gem.base.s_app")->item(":result:s_app:res:trace:doubleARRAY:");
        const auto sweepIs = [trace](int points, int peakIndex, double floor) {
            QVector<double> levels;
            for (const QVariant &value : trace->getValue().toList())
                levels.append(value.toDouble());
            if (levels.size() != points)
                return false;
            const auto peak = std::max_element(levels.cbegin(), levels.cend());
            const bool peakFits = peak - levels.cbegin() == peakIndex && qAbs(*peak + 30) < 1.5;
            std::nth_element(levels.begin(), levels.begin() + points / 2, levels.end());
            return peakFits && qAbs(levels[points / 2] - floor) < 3;
        };
        const QString reg = ":config:s_app:s_reg_module:";
        QTRY_VERIFY(sweepIs(101, 70, -102)); // RMS: -174 dBm/Hz + 50 dB (100 kHz) + 22 dB noise figure
        const QVector<std::tuple<const char *, QVariant, int, int, double>> steps{
            {"centreFreq:", 1.004e9, 101, 30, -102}, {"refLevel:", 10.0, 101, 30, -82}, // 20 dB of attenuation
            {"sweepPoints:", 201, 201, 60, -82}, {"detector:", 1, 201, 60, -88}};
        for (const auto &[name, value, points, peakIndex, floor] : steps) {
            QVERIFY(m_sim.setItem(reg + name, value));
            QTRY_VERIFY2(sweepIs(points, peakIndex, floor), name);
        }
    }
};

QTEST_GUILESS_MAIN(TestSimulator)
#include "tst_simulator.moc"
