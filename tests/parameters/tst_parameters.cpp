#include <QtTest>

#include "elfclientinterface.h"
#include "manifest.h"
#include "simfixture.h"
#include "zeelfitems.h"
#include "zetop.h"

namespace {

const QString kAddress = QStringLiteral(
    "gem.base.spectrumanalyzer_app,spectrumanalyzer_app,spectrumanalyzer_result_module,spectrumanalyzer_reg_module");

// Every message written while it lives, as "type text" lines.
QStringList s_lines;
struct MessageLog
{
    QtMessageHandler previous
        = qInstallMessageHandler([](QtMsgType type, const QMessageLogContext &, const QString &s) {
              static const char *const kTypes[] = {"debug", "warning", "critical", "fatal", "info"};
              s_lines.append(QLatin1String(kTypes[type]) + QLatin1Char(' ') + s);
          });
    ~MessageLog() { qInstallMessageHandler(previous); }
    QStringList take() { return std::exchange(s_lines, {}); }
};

QString addressOf(ElfData *item)
{
    return item ? item->address() : QStringLiteral("null");
}

// Calls a lookup by name, as QML does, with one or two texts.
QString lookUp(ZeElfItems &bridge, const char *method, const QStringList &args)
{
    ElfData *item = nullptr;
    const bool called = args.size() == 1
        ? QMetaObject::invokeMethod(&bridge, method, Q_RETURN_ARG(ElfData *, item), Q_ARG(QString, args.at(0)))
        : QMetaObject::invokeMethod(&bridge, method, Q_RETURN_ARG(ElfData *, item), Q_ARG(QString, args.at(0)),
                                    Q_ARG(QString, args.at(1)));
    if (!called)
        qFatal("no invokable %s with %d arguments", method, int(args.size()));
    return addressOf(item);
}

Manifest *manifestOf(const ZeElfItems &bridge, const QString &module)
{
    for (Manifest *manifest : bridge.findChildren<Manifest *>())
        if (manifest->module() == module)
            return manifest;
    return nullptr;
}

// The bridge's address fields, "dbusAddress app regModule initialed".
QString fields(const ZeElfItems &bridge)
{
    return QStringList{bridge.dbusAddress(), bridge.app(), bridge.regModule(), bridge.initialed() ? "yes" : "no"}.join(
        ' ');
}

} // namespace

class TestParameters : public QObject
{
    Q_OBJECT

private:
    SimFixture m_sim;

private Q_SLOTS:
    void initTestCase()
    {
        QVERIFY2(m_sim.start(qEnvironmentVariable("HBASE_SOURCE_DIR") + "/tests/parameters/bridge_model.json"),
                 qPrintable(m_sim.errorOutput()));
    }

    // Addresses with fewer than four fields change nothing; a fifth field is ignored.
    void addressing()
    {
        ZeElfItems bridge;
        QSignalSpy changed(&bridge, &ZeElfItems::dbusAddressChanged);
        for (const QString &address :
             {QString(), kAddress.section(',', 0, 0), kAddress.section(',', 0, 1), kAddress.section(',', 0, 2)})
            bridge.setDbusAddress(address);
        QCOMPARE(fields(bridge), QStringLiteral("   no"));
        QCOMPARE(changed.count(), 0);
        QCOMPARE(bridge.getConfigItem("centerFreqCnfg"), nullptr);
        bridge.setProperty("dbusAddress", kAddress + QStringLiteral(",ignored_field"));
        QCOMPARE(changed.count(), 1);
        QCOMPARE(fields(bridge),
                 QStringLiteral("gem.base.spectrumanalyzer_app spectrumanalyzer_app spectrumanalyzer_reg_module yes"));

        // The same settings module keeps the main manifest, a new one replaces it; results are made anew.
        QPointer<Manifest> main = manifestOf(bridge, "spectrumanalyzer_reg_module");
        QPointer<Manifest> result = manifestOf(bridge, "spectrumanalyzer_result_module");
        bridge.setDbusAddress(kAddress);
        QCOMPARE(manifestOf(bridge, "spectrumanalyzer_reg_module"), main.data());
        QVERIFY(main && !result && manifestOf(bridge, "spectrumanalyzer_result_module"));
        bridge.setDbusAddress(kAddress.section(',', 0, 2) + ",other_reg_module");
        QVERIFY(!main);
        QCOMPARE(addressOf(bridge.getConfigItem("attenCnfg")),
                 QStringLiteral(":config:spectrumanalyzer_app:other_reg_module:attenCnfg:"));
    }

    void lookups_data()
    {
        QTest::addColumn<QByteArray>("method");
        QTest::addColumn<QStringList>("args");
        QTest::addColumn<QString>("address");
        auto row = [](const char *method, const QStringList &args, const QString &address) {
            QTest::addRow("%s(%s)", method, qPrintable(args.join(','))) << QByteArray(method) << args << address;
        };
        const QString reg = QStringLiteral(":spectrumanalyzer_app:spectrumanalyzer_reg_module:");
        const QString res = QStringLiteral(":spectrumanalyzer_app:spectrumanalyzer_result_module:");
        row("getItem", {":config" + reg + "centerFreqCnfg:"}, ":config" + reg + "centerFreqCnfg:");
        row("getConfigItem", {"centerFreqCnfg"}, ":config" + reg + "centerFreqCnfg:");
        row("getConfigItem", {"markerFreq", "marker_module"}, ":config:spectrumanalyzer_app:marker_module:markerFreq:");
        row("getConfigItemDxTest", {"demodType", "demod"}, ":config:dxtest_app:demod:demodType:");
        row("getActionItem", {"presetActn"}, ":action" + reg + "presetActn:");
        row("getActionItem", {"markerPeak", "marker_module"}, ":action:spectrumanalyzer_app:marker_module:markerPeak:");
        row("getResultItem", {"peakFreq"}, ":result" + res + "peakFreq:");
        row("getResultItem", {"markerLevel", "marker_module"},
            ":result:spectrumanalyzer_app:marker_module:markerLevel:");
        row("getResultItemDxTest", {"ber", "p25Meas"}, ":result:dxtest_app:p25Meas:ber:");
        row("getResultItemStrArr", {"markerNames"}, ":result" + res + "markerNames:stringARRAY:");
        row("getResultItemDoubleArr", {"trace"}, ":result" + res + "trace:doubleARRAY:");
        row("getResultItemIntArr", {"bins"}, ":result" + res + "bins:int32ARRAY:");
        row("getResultItemAddr", {"spectrumanalyzer_result_module:peakFreq:"}, ":result" + res + "peakFreq:");
        row("getConfigItemDoubleArr", {"traceCnfg"}, ":config" + reg + "traceCnfg:doubleARRAY:");
        row("getResultItemStarterApp", {"appNameCnfg"}, ":result:starter_app:starter_reg_module:appNameCnfg:");
        // Items that exist only under another form of the address are not found.
        row("getConfigItem", {"peakFreq"}, "null");
        row("getResultItemStrArr", {"peakFreq"}, "null");
        row("getResultItemAddr", {"spectrumanalyzer_result_module:peakFreq"}, "null");
    }

    void lookups()
    {
        QFETCH(QByteArray, method);
        QFETCH(QStringList, args);
        QFETCH(QString, address);
        ZeElfItems bridge;
        bridge.setDbusAddress(kAddress);
        Manifest starter(nullptr, "starter_app", "starter_reg_module"); // the starter's results, from any bridge
        if (method.contains("DxTest"))
            QTest::ignoreMessage(QtWarningMsg, QRegularExpression("^" + method + " : m_curApp wasn't updated yet"));
        QCOMPARE(lookUp(bridge, method.constData(), args), address);
    }

    // A module that belongs to another application moves the bridge there until it is addressed again;
    // only the first module named gets a manifest of its own.
    void moduleMovesTheApplication()
    {
        ZeElfItems bridge;
        QSignalSpy appChanges(&bridge, &ZeElfItems::appChanged), moduleChanges(&bridge, &ZeElfItems::regModuleChanged);
        bridge.setDbusAddress(kAddress);
        QCOMPARE(addressOf(bridge.getConfigItem("vswrLimit", "vswr")),
                 QStringLiteral(":config:networkanalyzer_app:vswr:vswrLimit:"));
        // Later requests of every form use the new application; this manifest makes such an address exist.
        Manifest results(nullptr, "networkanalyzer_app", "spectrumanalyzer_result_module");
        QCOMPARE(addressOf(bridge.getResultItem("peakFreq")),
                 QStringLiteral(":result:networkanalyzer_app:spectrumanalyzer_result_module:peakFreq:"));
        QTest::ignoreMessage(QtWarningMsg, QRegularExpression("^getConfigItem !!!!"));
        QCOMPARE(bridge.getConfigItem("demodType", "demod"), nullptr);
        QCOMPARE(bridge.app(), QStringLiteral("dxtest_app"));
        QVERIFY(!manifestOf(bridge, "demod"));
        bridge.setDbusAddress(kAddress);
        QCOMPARE(bridge.app(), QStringLiteral("spectrumanalyzer_app"));
        QCOMPARE(appChanges.count(), 4);
        QCOMPARE(moduleChanges.count(), 1);
    }

    // A direct address names the application; its settings module is the name followed by "_reg_module".
    // The manifest it replaces stays with the bridge. Messages of the service reach QML once, however
    // often the bridge was addressed.
    void directAddress()
    {
        ZeElfItems bridge;
        QSignalSpy changed(&bridge, &ZeElfItems::dbusAddressChanged), info(&bridge, &ZeElfItems::sigInfo);
        bridge.setDirectAddress("spectrumanalyzer_app");
        bridge.setDirectAddress("spectrumanalyzer_app");
        QCOMPARE(fields(bridge), QStringLiteral(" spectrumanalyzer_app spectrumanalyzer_app_reg_module yes"));
        QCOMPARE(addressOf(bridge.getConfigItem("spanCnfg")),
                 QStringLiteral(":config:spectrumanalyzer_app:spectrumanalyzer_app_reg_module:spanCnfg:"));
        QCOMPARE(bridge.getResultItem("peakFreq"), nullptr);
        QCOMPARE(bridge.findChildren<Manifest *>().size(), 2);
        QCOMPARE(changed.count(), 0);
        bridge.setDbusAddress(kAddress);
        bridge.setDbusAddress(kAddress);
        emit ELFClientInterface::getSessionBusClient("gem.base.spectrumanalyzer_app", &bridge)
            ->SigInfo("calibration due");
        QCOMPARE(QList<QVariantList>(info), (QList<QVariantList>{{"calibration due"}}));
    }

    // An address whose service is not on the bus takes the fields but keeps the old client; a direct
    // address whose service is absent changes nothing.
    void missingService()
    {
        ZeElfItems bridge;
        QSignalSpy changed(&bridge, &ZeElfItems::dbusAddressChanged);
        bridge.setDbusAddress(kAddress);
        MessageLog log;
        bridge.setDbusAddress("gem.base.absent_app,spectrumanalyzer_app,absent_result_module,absent_reg_module");
        const QStringList busError{"debug \"" + QDBusConnection::sessionBus().lastError().message() + '"'};
        QCOMPARE(log.take(), busError);
        QCOMPARE(fields(bridge), QStringLiteral("gem.base.absent_app spectrumanalyzer_app absent_reg_module yes"));
        QCOMPARE(changed.count(), 1);
        QCOMPARE(addressOf(bridge.getConfigItem("markerFreq", "marker_module")),
                 QStringLiteral(":config:spectrumanalyzer_app:marker_module:markerFreq:"));
        bridge.setDirectAddress("absent_app");
        QCOMPARE(log.take(), busError);
        QCOMPARE(bridge.app(), QStringLiteral("spectrumanalyzer_app"));
    }

    // Only the dxtest forms away from the dxtest application and a null module setting say anything.
    void diagnostics()
    {
        ZeElfItems bridge;
        bridge.setDbusAddress(kAddress);
        MessageLog log;
        bridge.getConfigItemDxTest("demodType", "demod");
        bridge.getResultItemDxTest("absent", "p25Meas");
        bridge.getConfigItem("absent", "marker_module");
        const QString app = QStringLiteral(" m_curApp =  \"spectrumanalyzer_app\" ; ");
        QCOMPARE(log.take(),
                 (QStringList{"warning getConfigItemDxTest : m_curApp wasn't updated yet!!!!!!!!" + app
                                  + "elfModuleName =  \"demod\" ; param =  \"demodType\"",
                              "warning getResultItemDxTest : m_curApp wasn't updated yet!!!!!!!!" + app
                                  + "elfModuleName =  \"p25Meas\" ; param =  \"absent\"",
                              "warning getConfigItem !!!!------------------:getElfData() returns null!!!!!!!!" + app
                                  + "curr elfModuleName =  \"marker_module\" , param= \"absent\""}));
        ZeElfItems dxtest;
        dxtest.setDirectAddress("dxtest_app");
        QCOMPARE(addressOf(dxtest.getResultItemDxTest("ber", "p25Meas")),
                 QStringLiteral(":result:dxtest_app:p25Meas:ber:"));
        QCOMPARE(log.take(), QStringList());
    }

    void channelStandard_data()
    {
        QTest::addColumn<QString>("text");
        QTest::addColumn<QString>("field");
        QTest::newRow("three fields") << "NA - P25 Phase 1 - 12.5 kHz" << "P25 Phase 1";
        QTest::newRow("one separator") << "NA - P25" << "P25";
        QTest::newRow("hyphens without spaces") << "NA-P25-x" << "";
        QTest::newRow("empty middle") << "a -  - b" << "";
        QTest::newRow("double hyphen") << "a - - b - c" << "- b";
    }

    // Summary lines are "name:value"; only the name "Channel Standard", exactly, shows the standard alone.
    void channelStandard()
    {
        QFETCH(QString, text);
        QFETCH(QString, field);
        ZeTop top;
        QCOMPARE(top.channelStandardCnfg(text), field);
        QCOMPARE(top.getData("Channel Standard", text), "Channel Standard:" + field);
        QCOMPARE(top.getData("channel standard", text), "channel standard:" + text);
    }

    // A bridge that goes is no bridge: the answer is "" and clearing it is no change.
    void topBridge()
    {
        ZeTop top;
        QSignalSpy changed(&top, &ZeTop::elfHandleChanged);
        QCOMPARE(top.getData("Mode", QVariant()), QStringLiteral("Mode:"));
        auto *bridge = new ZeElfItems;
        top.setElfHandle(bridge);
        top.setElfHandle(bridge);
        QCOMPARE(changed.count(), 1);
        delete bridge;
        QCOMPARE(top.elfHandle(), nullptr);
        QCOMPARE(top.getConfigItem("centerFreqCnfg"), QStringLiteral(""));
        top.setElfHandle(nullptr);
        QCOMPARE(changed.count(), 1);
    }
};

QTEST_GUILESS_MAIN(TestParameters)
#include "tst_parameters.moc"
