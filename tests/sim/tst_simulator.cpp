#include <QtTest>

#include "elfclientinterface.h"
#include "elfdata.h"
#include "simfixture.h"

#include <QDBusConnection>
#include <QDBusInterface>

static const QString kStarter = QStringLiteral("gem.base.starter_app");
static const QString kCopy = QStringLiteral(":action:starter_app:starter_reg_module:fileCopy:");
static const QString kMove = QStringLiteral(":action:starter_app:starter_reg_module:fileMove:");
static const QString kDelete = QStringLiteral(":action:starter_app:starter_reg_module:fileDelete:");
static const QString kSa = QStringLiteral("gem.base.spectrumanalyzer_app");
static const QString kSaReg = QStringLiteral(":config:spectrumanalyzer_app:spectrumanalyzer_reg_module:");
static const QString kSaAction = QStringLiteral(":action:spectrumanalyzer_app:spectrumanalyzer_reg_module:");

static QByteArray readAll(const QString &path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray("<missing>");
}

static void writeFile(const QString &path, const QByteArray &content)
{
    QFile file(path);
    QVERIFY(QDir().mkpath(QFileInfo(path).path()) && file.open(QIODevice::WriteOnly | QIODevice::Truncate));
    file.write(content);
}

class TestSimulator : public QObject
{
    Q_OBJECT

private:
    SimFixture m_sim;

    QString act(const QString &service, const QString &action, const QString &argument)
    {
        QString reply = QStringLiteral("<none>");
        ELFClientInterface::getSessionBusClient(service)->callAction(action, argument, &reply, 2000);
        return reply;
    }

private Q_SLOTS:
    void initTestCase()
    {
        QVERIFY(m_sim.start());
    }

    // Other parts of the interface are built and demonstrated against this model.
    void defaultModelServesTheInstrument()
    {
        ELFClientInterface *dx = ELFClientInterface::getSessionBusClient("gem.base.dxtest_app");
        QStringList plans;
        QVERIFY(dx->moduleItems("p25Trunking", plans));
        QCOMPARE(plans.size(), 64);
        for (const QString field : {"Type", "BaseFrequency", "TransmitOffset", "Space"})
            QVERIFY(plans.contains(":config:dxtest_app:p25Trunking:channelPlan" + field + "16:"));
        QCOMPARE(dx->item(":config:dxtest_app:p25Trunking:channelPlanType3:")->valueText(true), QStringLiteral("FDMA"));
        QCOMPARE(dx->item(":config:dxtest_app:cableLoss:cableLossTable:")->getValue().userType(), int(QMetaType::QString));

        // Every setting has a default, every application presets, the automated test has its runtime items.
        for (const QString app : {"starter_app", "spectrumanalyzer_app", "networkanalyzer_app", "dxtest_app", "autotest_app"}) {
            ELFItemSnapshotTable items;
            ELFItemSnapshotTable results;
            QVERIFY(ELFClientInterface::getSessionBusClient("gem.base." + app)->snapshot(items, results));
            for (auto it = items.cbegin(); it != items.cend(); ++it)
                QVERIFY2(!it.key().startsWith(":config:") || it->attributes.value("initValue").isValid(), qPrintable(it.key()));
            QCOMPARE(act("gem.base." + app, QStringLiteral(":action:%1:%2_reg_module:presetActn:").arg(app, app.chopped(4)), ""),
                     QStringLiteral("OK"));
            if (app == "autotest_app") {
                for (const char *name : {"testEnabled:stringARRAY", "testStatus:stringARRAY", "testDataList",
                                         "pButtonText5", "saveProfileSymbol2", "operationStatus", "currentManufacturerPath"})
                    QVERIFY2(items.contains(QStringLiteral(":config:autotest_app:autotest_reg_module:%1:").arg(name)), name);
            }
        }
    }

    void fileCopyIntoFolderToPathAndOfFolders()
    {
        writeFile("/user/src/a file.txt", "alpha");
        writeFile("/user/src/sub/b.txt", "beta");
        QDir().mkpath("/user/dst");
        QCOMPARE(act(kStarter, kCopy, "/user/src/a file.txt|/user/dst"), QStringLiteral("OK"));
        QCOMPARE(readAll("/user/dst/a file.txt"), QByteArray("alpha"));
        QCOMPARE(act(kStarter, kCopy, "/user/src/a file.txt|/user/dst/renamed.txt"), QStringLiteral("OK"));
        QCOMPARE(readAll("/user/dst/renamed.txt"), QByteArray("alpha"));
        QCOMPARE(act(kStarter, kCopy, "/user/src|/user/dst"), QStringLiteral("OK"));
        QCOMPARE(readAll("/user/dst/src/sub/b.txt"), QByteArray("beta"));
        QCOMPARE(readAll("/user/src/sub/b.txt"), QByteArray("beta"));

        // Errors change nothing.
        QVERIFY(act(kStarter, kCopy, "/user/none.txt|/user/dst").startsWith("Error"));
        QVERIFY(act(kStarter, kCopy, "/user/src|/user/src/sub").startsWith("Error"));
        QVERIFY(!QFileInfo::exists("/user/src/sub/src"));
        QVERIFY(act(kStarter, kCopy, "no separator").startsWith("Error"));
        QCOMPARE(QDir("/user/dst").entryList(QDir::NoDotAndDotDot | QDir::AllEntries),
                 (QStringList{"a file.txt", "renamed.txt", "src"}));
    }

    void fileMoveAndDelete()
    {
        writeFile("/user/m/one.txt", "1");
        writeFile("/user/m/tree/deep/two.txt", "2");
        QDir().mkpath("/user/target");
        QCOMPARE(act(kStarter, kMove, "/user/m/one.txt|/user/target"), QStringLiteral("OK"));
        QVERIFY(!QFileInfo::exists("/user/m/one.txt"));
        QCOMPARE(readAll("/user/target/one.txt"), QByteArray("1"));
        QCOMPARE(act(kStarter, kMove, "/user/target/one.txt|/user/target/uno.txt"), QStringLiteral("OK"));
        QCOMPARE(readAll("/user/target/uno.txt"), QByteArray("1"));
        // Across file systems (/user and /tmp are separate mounts in the sandbox).
        QCOMPARE(act(kStarter, kMove, "/user/m/tree|/tmp"), QStringLiteral("OK"));
        QCOMPARE(readAll("/tmp/tree/deep/two.txt"), QByteArray("2"));
        QVERIFY(!QFileInfo::exists("/user/m/tree"));
        QVERIFY(act(kStarter, kMove, "/user/m/gone|/user/target").startsWith("Error"));

        QCOMPARE(act(kStarter, kDelete, "/user/target/uno.txt"), QStringLiteral("OK"));
        QVERIFY(!QFileInfo::exists("/user/target/uno.txt"));
        QCOMPARE(act(kStarter, kDelete, "/tmp/tree"), QStringLiteral("OK"));
        QVERIFY(!QFileInfo::exists("/tmp/tree"));
        QVERIFY(act(kStarter, kDelete, "/tmp/tree").startsWith("Error"));
        QVERIFY(QFileInfo::exists("/user/target"));
    }

    void saveLoadAndPresetConfig()
    {
        ELFClientInterface *client = ELFClientInterface::getSessionBusClient(kSa);
        QStringList addresses;
        QVERIFY(client->moduleItems("spectrumanalyzer_reg_module", addresses));
        QCOMPARE(act(kSa, kSaAction + "saveconfig:", "/tmp/Tab1.oxs,0,"), QStringLiteral("OK"));
        const QJsonDocument saved = QJsonDocument::fromJson(readAll("/tmp/Tab1.oxs"));
        QVERIFY(readAll("/tmp/Tab1.oxs").startsWith("{\n    \""));
        int configCount = 0;
        for (const QString &address : qAsConst(addresses))
            configCount += address.startsWith(":config:");
        QCOMPARE(saved.object().size(), configCount);
        QCOMPARE(saved.object().value(kSaReg + "centreFreq:").toDouble(), 1e9);
        QCOMPARE(saved.object().value(kSaReg + "traceModes:stringARRAY:").toArray().size(), 4);

        ElfData *freq = client->item(kSaReg + "centreFreq:");
        ElfData *limit = client->item(kSaReg + "limitLine:doubleARRAY:");
        m_sim.clearJournal();
        freq->setValue(2e9);
        client->setItemValue(kSaReg + "limitLine:doubleARRAY:", QVariantList{1.0});
        QTRY_COMPARE(m_sim.journal().size(), 2);
        QSignalSpy changed(freq, &ElfData::valueChanged);
        QCOMPARE(act(kSa, kSaAction + "loadconfig:", "/tmp/Tab1.oxs"), QStringLiteral("OK"));
        QTRY_COMPARE(freq->getValue(), QVariant(1e9));
        QCOMPARE(changed.count(), 1);
        QTRY_COMPARE(limit->getValue().toList().size(), 4);

        // A tab file written by the interface: arrays of number texts are read back as numbers.
        writeFile("/tmp/Tab2.oxs", QString("{\"%1centreFreq:\": 3e9, \"%1limitLine:doubleARRAY:\": [\"-1.5\", \"2\"],"
                                           " \"%1nothing:\": 1}").arg(kSaReg).toUtf8());
        QCOMPARE(act(kSa, kSaAction + "loadconfig:", "/tmp/Tab2.oxs"), QStringLiteral("OK"));
        QTRY_COMPARE(freq->getValue(), QVariant(3e9));
        QTRY_COMPARE(qobject_cast<ELFVecDoubleClientItem *>(limit)->vector(), (QVector<double>{-1.5, 2}));
        QVERIFY(act(kSa, kSaAction + "loadconfig:", "/tmp/missing.oxs").startsWith("Error"));
        writeFile("/tmp/bad.oxs", "{ broken");
        QVERIFY(act(kSa, kSaAction + "loadconfig:", "/tmp/bad.oxs").startsWith("Error"));

        QCOMPARE(act(kSa, kSaAction + "presetActn:", ""), QStringLiteral("OK"));
        QTRY_COMPARE(freq->getValue(), QVariant(1e9));
        QTRY_COMPARE(limit->getValue(), limit->getManifestAttr("initValue"));
        QCOMPARE(act(kSa, kSaAction + "startRecall:", "Spectrum"), QStringLiteral("OK"));
        QCOMPARE(act(kSa, kSaAction + "finishRecall:", ""), QStringLiteral("OK"));
        writeFile("/tmp/LoadResult.oxs", "{}");
        QCOMPARE(act(kSa, kSaAction + "loadResultActn:", "/tmp/LoadResult.oxs:2"), QStringLiteral("OK"));
        QVERIFY(act(kSa, kSaAction + "loadResultActn:", "/tmp/none.oxs").startsWith("Error"));
    }

    void badRequestsGetErrorsAndTheDaemonSurvives()
    {
        QDBusInterface elf(kSa, "/gem/base/elf", "gem.base.Elf");
        const auto dbusText = [](const QVariant &value) { return QVariant::fromValue(QDBusVariant(value)); };
        const QVector<QPair<QDBusMessage, QString>> calls{
            {elf.call("Item", ":config:nowhere:"), "UnknownItem"},
            {elf.call("Item", ":config:starter_app:starter_reg_module:appNameCnfg:"), "UnknownItem"},
            {elf.call("ModuleItems", "nowhere"), "UnknownModule"},
            {elf.call("CallAction", kSaAction + "explode:", ""), "UnknownAction"},
            {elf.call("CallAction", kCopy, "a|b"), "UnknownAction"},
            {elf.call("SetItemValue", kSaReg + "attenuation:", dbusText("ten")), "InvalidValue"},
            {elf.call("SetItemValue", kSaReg + "centreFreq:", dbusText(QStringList{"x"})), "InvalidValue"}};
        for (const auto &call : calls)
            QCOMPARE(call.first.errorName(), "gem.base.Error." + call.second);
        QCOMPARE(elf.call("Nonsense").type(), QDBusMessage::ErrorMessage);
        QVERIFY(!m_sim.setItem("not an address", 1));
        QVERIFY(!m_sim.removeItem(kSaReg + "nothing:"));
        QCOMPARE(elf.call("Item", kSaReg + "attenuation:").arguments().size(), 2);
    }

    void malformedModelsAreRefused_data()
    {
        QTest::addColumn<QByteArray>("model");
        QTest::addColumn<QString>("message");
        QTest::newRow("not json") << QByteArray("{ \"applications\": [") << "not valid JSON";
        QTest::newRow("no applications") << QByteArray("[]") << "\"applications\" array";
        QTest::newRow("nameless item") << QByteArray(R"({"applications":[{"name":"a_app","modules":[{"name":"m","items":[{"value":1}]}]}]})")
                                       << "an item of a_app/m has no valid \"name\"";
        QTest::newRow("wrong type") << QByteArray(R"({"applications":[{"name":"a_app","modules":[{"name":"m","items":[{"name":"x","type":"int","value":"y"}]}]}]})")
                                    << "\"value\" of \":config:a_app:m:x:\" is not of type int";
        QTest::newRow("twice") << QByteArray(R"({"applications":[{"name":"a_app","modules":[{"name":"m","items":[{"name":"x"},{"name":"x"}]}]}]})")
                               << "item \":config:a_app:m:x:\" appears twice";
        QTest::newRow("carrier without frequency")
            << QByteArray(R"({"applications":[{"name":"a_app","modules":[{"name":"m","items":[{"name":"t","type":"doubleArray","simulate":{"periodMs":20,"carriers":[{"level":-30}]}}]}]}]})")
            << "a carrier needs a \"frequency\" > 0";
    }

    void malformedModelsAreRefused()
    {
        QFETCH(QByteArray, model);
        QFETCH(QString, message);
        writeFile("/tmp/broken model.json", model);
        QCOMPARE(m_sim.runToExit({"--model", "/tmp/broken model.json"}), 2);
        QVERIFY2(m_sim.errorOutput().startsWith("hbase-sim: model /tmp/broken model.json: "), qPrintable(m_sim.errorOutput()));
        QVERIFY2(m_sim.errorOutput().contains(message), qPrintable(m_sim.errorOutput()));
        QCOMPARE(m_sim.runToExit({"--model", "/tmp/absent.json"}), 2);
        QVERIFY(m_sim.start()); // runToExit stopped the running one
    }

    void controlItemsAndStats()
    {
        const QString address = ":result:newcomer_app:live:level:";
        QVERIFY(m_sim.setItem(address, 4.5));
        ELFClientInterface *client = ELFClientInterface::getSessionBusClient("gem.base.newcomer_app");
        QTRY_VERIFY(client->isValid());
        QCOMPARE(client->item(address)->getValue(), QVariant(4.5));
        QVERIFY(!client->item(address)->getManifestAttr("initValue").isValid());
        QVERIFY(m_sim.removeItem(address));
        QStringList addresses;
        QVERIFY(client->moduleItems("live", addresses));
        QVERIFY(addresses.isEmpty());
        const QMap<QString, uint> stats = m_sim.stats();
        QCOMPARE(stats.value("ModuleItems"), 1u);
        QVERIFY(stats.value("Item") >= 1u);
    }

    void simulatedResultsWander()
    {
        QVERIFY(m_sim.startJson(QByteArray(R"({"applications": [{"name": "g_app", "modules": [{"name": "res", "items": [
            {"name": "level", "kind": "result", "value": -50.0, "simulate": {"min": -80, "max": -20, "periodMs": 20}}]}]}]})")));
        ElfData *level = ELFClientInterface::getSessionBusClient("gem.base.g_app")->item(":result:g_app:res:level:");
        QSignalSpy changed(level, &ElfData::valueChanged);
        QTRY_VERIFY(changed.count() >= 3);
        QVERIFY(level->getValue().toDouble() >= -80 && level->getValue().toDouble() <= -20);
        QVERIFY(level->getValue().toDouble() != -50.0);
    }

    // A sweep follows the analyser's settings: the tone moves with the centre, the noise floor rises
    // with the reference level (auto attenuation) and the sweep has the set number of points.
    void simulatedTraceFollowsTheSettings()
    {
        QVERIFY(m_sim.startJson(QByteArray(R"({"applications": [{"name": "s_app", "modules": [
            {"name": "s_reg_module", "items": [{"name": "centreFreq", "value": 1.0e9}, {"name": "span", "value": 10.0e6},
              {"name": "rbw", "value": 100.0e3}, {"name": "refLevel", "value": -20.0}, {"name": "sweepPoints", "type": "int", "value": 101},
              {"name": "detector", "type": "int", "value": 3}]},
            {"name": "res", "items": [{"name": "trace", "kind": "result", "type": "doubleArray", "value": [],
              "simulate": {"periodMs": 20, "carriers": [{"frequency": 1.002e9, "bandwidth": 0, "level": -30}]}}]}]}]})")));
        ElfData *trace = ELFClientInterface::getSessionBusClient("gem.base.s_app")->item(":result:s_app:res:trace:doubleARRAY:");
        QVERIFY(trace);
        // True when the current sweep has `points` levels, its peak (about -30 dBm) at `peakIndex` and
        // its median, the noise floor, within 3 dB of `floor`.
        const auto sweepIs = [trace](int points, int peakIndex, double floor) {
            QVector<double> levels;
            for (const QVariant &level : trace->getValue().toList())
                levels.append(level.toDouble());
            if (levels.size() != points)
                return false;
            const auto peak = std::max_element(levels.cbegin(), levels.cend());
            QVector<double> sorted = levels;
            std::sort(sorted.begin(), sorted.end());
            return peak - levels.cbegin() == peakIndex && qAbs(*peak + 30) < 1.5 && qAbs(sorted[points / 2] - floor) < 3;
        };
        const QString reg = ":config:s_app:s_reg_module:";
        QTRY_VERIFY(sweepIs(101, 70, -102));      // RMS: -174 dBm/Hz + 50 dB (100 kHz) + 22 dB noise figure
        QVERIFY(m_sim.setItem(reg + "centreFreq:", 1.004e9));
        QTRY_VERIFY(sweepIs(101, 30, -102));
        QVERIFY(m_sim.setItem(reg + "refLevel:", 10.0));
        QTRY_VERIFY(sweepIs(101, 30, -82));       // 20 dB of attenuation
        QVERIFY(m_sim.setItem(reg + "sweepPoints:", 201));
        QTRY_VERIFY(sweepIs(201, 60, -82));
        QVERIFY(m_sim.setItem(reg + "detector:", 1));  // negative peak: the noise shows 6 dB lower
        QTRY_VERIFY(sweepIs(201, 60, -88));
    }

    void raiseTaskSignalsAndRecords()
    {
        QVERIFY(m_sim.start());
        QDBusInterface desktop("com.torvanelabs.platform.Desktop", "/com/torvanelabs/platform/Desktop",
                               "com.torvanelabs.platform.Desktop");
        QVERIFY(desktop.isValid());
        QSignalSpy raised(&desktop, SIGNAL(TaskRaised(QString, QString)));
        QVERIFY(m_sim.raiseTask("Spectrum Analyzer", "task-7"));
        QTRY_COMPARE(raised.count(), 1);
        QCOMPARE(raised.first(), (QVariantList{"Spectrum Analyzer", "task-7"}));
        QCOMPARE(readAll("/tmp/hbase-sim/last_raised_task"), QByteArray("Spectrum Analyzer\n"));
    }
};

QTEST_GUILESS_MAIN(TestSimulator)
#include "tst_simulator.moc"
