#include <QtTest>

#include "elfclientinterface.h"
#include "elfdata.h"
#include "manifest.h"
#include "simfixture.h"
#include "zeelfitems.h"

namespace {

const QString kAddress = QStringLiteral(
    "gem.base.spectrumanalyzer_app,spectrumanalyzer_app,spectrumanalyzer_result_module,spectrumanalyzer_reg_module");

// Every message written while it lives, as "type text" lines.
QStringList s_lines;
struct MessageLog
{
    QtMessageHandler previous = qInstallMessageHandler([](QtMsgType type, const QMessageLogContext &, const QString &s) {
        static const char *const kTypes[] = {"debug", "warning", "critical", "fatal", "info"};
        s_lines.append(QLatin1String(kTypes[type]) + QLatin1Char(' ') + s);
    });
    MessageLog() { s_lines.clear(); }
    ~MessageLog() { qInstallMessageHandler(previous); }
    QStringList take() { return std::exchange(s_lines, {}); }
};

// The debug line a bus error is reported with.
QStringList busError()
{
    return {QStringLiteral("debug \"%1\"").arg(QDBusConnection::sessionBus().lastError().message())};
}

QString addressOf(ElfData *item)
{
    return item ? item->address() : QStringLiteral("null");
}

ElfData *lookUp(ZeElfItems &bridge, const char *method, const QStringList &args)
{
    ElfData *item = nullptr;
    const bool called = args.size() == 1
        ? QMetaObject::invokeMethod(&bridge, method, Q_RETURN_ARG(ElfData *, item), Q_ARG(QString, args.at(0)))
        : QMetaObject::invokeMethod(&bridge, method, Q_RETURN_ARG(ElfData *, item), Q_ARG(QString, args.at(0)),
                                    Q_ARG(QString, args.at(1)));
    if (!called)
        qFatal("no invokable %s with %d arguments", method, int(args.size()));
    return item;
}

Manifest *manifestOf(const ZeElfItems &bridge, const QString &module)
{
    for (Manifest *manifest : bridge.findChildren<Manifest *>())
        if (manifest->module() == module)
            return manifest;
    return nullptr;
}

} // namespace

class TestZeElfItems : public QObject
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

    void unusableAddressesChangeNothing()
    {
        ZeElfItems bridge;
        QSignalSpy changed(&bridge, &ZeElfItems::dbusAddressChanged);
        for (const QString &addr : {QString(), QStringLiteral("gem.base.spectrumanalyzer_app"),
                                    QStringLiteral("gem.base.spectrumanalyzer_app,spectrumanalyzer_app"),
                                    QStringLiteral("gem.base.spectrumanalyzer_app,spectrumanalyzer_app,result")}) {
            bridge.setDbusAddress(addr);
            QCOMPARE(bridge.dbusAddress(), QString());
            QCOMPARE(bridge.app(), QString());
            QCOMPARE(bridge.regModule(), QString());
            QCOMPARE(bridge.property("initialed").toBool(), false);
        }
        QCOMPARE(changed.count(), 0);
        QVERIFY(bridge.findChildren<Manifest *>().isEmpty());
        // Unaddressed lookups ask with empty fields and find nothing.
        QCOMPARE(bridge.getConfigItem("centerFreqCnfg"), nullptr);
    }

    void addressing()
    {
        ZeElfItems bridge;
        QSignalSpy changed(&bridge, &ZeElfItems::dbusAddressChanged);
        bridge.setProperty("dbusAddress", kAddress + QStringLiteral(",ignored_field"));
        QCOMPARE(changed.count(), 1);
        QCOMPARE(bridge.property("dbusAddress").toString(), QStringLiteral("gem.base.spectrumanalyzer_app"));
        QCOMPARE(bridge.property("app").toString(), QStringLiteral("spectrumanalyzer_app"));
        QCOMPARE(bridge.property("regModule").toString(), QStringLiteral("spectrumanalyzer_reg_module"));

        // The bridge only hands out handles: values go between the handle and the service.
        ElfData *center = bridge.getConfigItem("centerFreqCnfg");
        QCOMPARE(center->getValue().toDouble(), 1e9);
        QVERIFY(m_sim.setItem(center->address(), 3e9));
        QTRY_COMPARE(center->getValue().toDouble(), 3e9);
        m_sim.clearJournal();
        center->setValue(2.5e9);
        QTRY_COMPARE(m_sim.journal().size(), 1);
        QCOMPARE(m_sim.journal().at(0).address,
                 QStringLiteral(":config:spectrumanalyzer_app:spectrumanalyzer_reg_module:centerFreqCnfg:"));
        QCOMPARE(m_sim.journal().at(0).argument.toDouble(), 2.5e9);
    }

    void lookupAddresses_data()
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
        row("getResultItem", {"markerLevel", "marker_module"}, ":result:spectrumanalyzer_app:marker_module:markerLevel:");
        row("getResultItemDxTest", {"ber", "p25Meas"}, ":result:dxtest_app:p25Meas:ber:");
        row("getResultItemStrArr", {"markerNames"}, ":result" + res + "markerNames:stringARRAY:");
        row("getResultItemDoubleArr", {"trace"}, ":result" + res + "trace:doubleARRAY:");
        row("getResultItemIntArr", {"bins"}, ":result" + res + "bins:int32ARRAY:");
        row("getResultItemAddr", {"spectrumanalyzer_result_module:peakFreq:"}, ":result" + res + "peakFreq:");
        row("getConfigItemDoubleArr", {"traceCnfg"}, ":config" + reg + "traceCnfg:doubleARRAY:");
        // Items that exist only under another form of the address are not found.
        row("getConfigItem", {"peakFreq"}, "null");
        row("getResultItemStrArr", {"peakFreq"}, "null");
        row("getResultItemAddr", {"spectrumanalyzer_result_module:peakFreq"}, "null");
    }

    void lookupAddresses()
    {
        QFETCH(QByteArray, method);
        QFETCH(QStringList, args);
        QFETCH(QString, address);
        ZeElfItems bridge;
        bridge.setDbusAddress(kAddress);
        if (method.contains("DxTest")) {
            QTest::ignoreMessage(QtWarningMsg, QRegularExpression(QStringLiteral("^") + QString::fromLatin1(method)
                                                                  + QStringLiteral(" : m_curApp wasn't updated yet")));
        }
        QCOMPARE(addressOf(lookUp(bridge, method.constData(), args)), address);
    }

    void starterResults()
    {
        // The starter's results are reached from any bridge, as long as a manifest covers them.
        ZeElfItems bridge;
        bridge.setDbusAddress(kAddress);
        QCOMPARE(bridge.getResultItemStarterApp("appNameCnfg"), nullptr);
        Manifest starter(ELFClientInterface::getSessionBusClient("gem.base.starter_app"), "starter_app",
                         "starter_reg_module");
        QCOMPARE(addressOf(bridge.getResultItemStarterApp("appNameCnfg")),
                 QStringLiteral(":result:starter_app:starter_reg_module:appNameCnfg:"));
    }

    // A module that belongs to another application moves the bridge there for good.
    void moduleMovesTheApplication()
    {
        ZeElfItems bridge;
        QSignalSpy appChanges(&bridge, &ZeElfItems::appChanged);
        QSignalSpy moduleChanges(&bridge, &ZeElfItems::regModuleChanged);
        QSignalSpy initialedChanges(&bridge, &ZeElfItems::initialedChanged);
        bridge.setDbusAddress(kAddress);
        QCOMPARE(addressOf(bridge.getConfigItem("vswrLimit", "vswr")),
                 QStringLiteral(":config:networkanalyzer_app:vswr:vswrLimit:"));
        QCOMPARE(bridge.app(), QStringLiteral("networkanalyzer_app"));
        QCOMPARE(manifestOf(bridge, "vswr")->app(), QStringLiteral("networkanalyzer_app"));

        // Later requests of every form use the new application; these manifests make those addresses exist.
        auto *client = ELFClientInterface::getSessionBusClient("gem.base.networkanalyzer_app", this);
        QVERIFY(client->isValid());
        Manifest settings(client, "networkanalyzer_app", "spectrumanalyzer_reg_module");
        Manifest results(client, "networkanalyzer_app", "spectrumanalyzer_result_module");
        QCOMPARE(addressOf(bridge.getConfigItem("centerFreqCnfg")),
                 QStringLiteral(":config:networkanalyzer_app:spectrumanalyzer_reg_module:centerFreqCnfg:"));
        QCOMPARE(addressOf(bridge.getResultItem("peakFreq")),
                 QStringLiteral(":result:networkanalyzer_app:spectrumanalyzer_result_module:peakFreq:"));
        QCOMPARE(addressOf(bridge.getActionItem("presetActn")),
                 QStringLiteral(":action:networkanalyzer_app:spectrumanalyzer_reg_module:presetActn:"));

        // Only the first explicit module gets a manifest; the dxtest modules move the bridge on.
        QTest::ignoreMessage(QtWarningMsg, QRegularExpression("^getConfigItem !!!!"));
        QCOMPARE(bridge.getConfigItem("demodType", "demod"), nullptr);
        QCOMPARE(bridge.app(), QStringLiteral("dxtest_app"));
        QCOMPARE(manifestOf(bridge, "demod"), nullptr);

        // A new address starts from its own application again.
        bridge.setDbusAddress(kAddress);
        QCOMPARE(bridge.app(), QStringLiteral("spectrumanalyzer_app"));
        // Each move was announced once; the settings module and the manifest stayed.
        QCOMPARE(appChanges.count(), 4);
        QCOMPARE(moduleChanges.count(), 1);
        QCOMPARE(initialedChanges.count(), 1);
    }

    void manifests()
    {
        ZeElfItems bridge;
        QSignalSpy changed(&bridge, &ZeElfItems::dbusAddressChanged);
        bridge.setDbusAddress(kAddress);
        QPointer<Manifest> main = manifestOf(bridge, "spectrumanalyzer_reg_module");
        QPointer<Manifest> result = manifestOf(bridge, "spectrumanalyzer_result_module");
        QVERIFY(main && result);
        QCOMPARE(main->app(), QStringLiteral("spectrumanalyzer_app"));

        // The same settings module keeps the main manifest; the result manifest is always made anew.
        bridge.setDbusAddress(kAddress);
        QCOMPARE(manifestOf(bridge, "spectrumanalyzer_reg_module"), main.data());
        QVERIFY(!result);
        QVERIFY(manifestOf(bridge, "spectrumanalyzer_result_module"));
        QCOMPARE(changed.count(), 2);

        // A new settings module replaces it.
        bridge.setDbusAddress(
            "gem.base.spectrumanalyzer_app,spectrumanalyzer_app,spectrumanalyzer_result_module,other_reg_module");
        QVERIFY(!main);
        QCOMPARE(addressOf(bridge.getConfigItem("attenCnfg")),
                 QStringLiteral(":config:spectrumanalyzer_app:other_reg_module:attenCnfg:"));
        QCOMPARE(changed.count(), 3);
        QCOMPARE(bridge.findChildren<Manifest *>().size(), 2);
    }

    // An address whose service is not on the bus takes the fields but keeps the old client.
    void missingService()
    {
        ZeElfItems bridge;
        QSignalSpy changed(&bridge, &ZeElfItems::dbusAddressChanged);
        bridge.setDbusAddress(kAddress);
        MessageLog log;
        bridge.setDbusAddress("gem.base.absent_app,spectrumanalyzer_app,absent_result_module,absent_reg_module");
        QCOMPARE(log.take(), busError());
        QCOMPARE(changed.count(), 1);
        QCOMPARE(bridge.dbusAddress(), QStringLiteral("gem.base.absent_app"));
        QCOMPARE(bridge.regModule(), QStringLiteral("absent_reg_module"));
        QVERIFY(bridge.initialed());
        // The bridge keeps working with the client of the valid address.
        QCOMPARE(addressOf(bridge.getConfigItem("markerFreq", "marker_module")),
                 QStringLiteral(":config:spectrumanalyzer_app:marker_module:markerFreq:"));
    }

    void directAddress()
    {
        ZeElfItems bridge;
        QSignalSpy changed(&bridge, &ZeElfItems::dbusAddressChanged);
        bridge.setDirectAddress("spectrumanalyzer_app");
        QCOMPARE(changed.count(), 0);
        QCOMPARE(bridge.dbusAddress(), QString());
        QCOMPARE(bridge.app(), QStringLiteral("spectrumanalyzer_app"));
        // The settings module is the name given followed by "_reg_module", "_app" included.
        QCOMPARE(bridge.regModule(), QStringLiteral("spectrumanalyzer_app_reg_module"));
        QVERIFY(bridge.initialed());
        QCOMPARE(addressOf(bridge.getConfigItem("spanCnfg")),
                 QStringLiteral(":config:spectrumanalyzer_app:spectrumanalyzer_app_reg_module:spanCnfg:"));
        QCOMPARE(addressOf(bridge.getResultItem("peakFreq")), QStringLiteral("null"));

        // The replaced manifest stays with the bridge.
        bridge.setDirectAddress("spectrumanalyzer_app");
        QCOMPARE(bridge.findChildren<Manifest *>().size(), 2);

        MessageLog log;
        bridge.setDirectAddress("absent_app");
        QCOMPARE(log.take(), busError());
        QCOMPARE(bridge.app(), QStringLiteral("spectrumanalyzer_app"));
        QCOMPARE(changed.count(), 0);
    }

    // Messages of the service reach QML once, however often the bridge was addressed.
    void sigInfo()
    {
        ZeElfItems bridge;
        QSignalSpy info(&bridge, &ZeElfItems::sigInfo);
        bridge.setDbusAddress(kAddress);
        bridge.setDbusAddress(kAddress);
        bridge.setDirectAddress("spectrumanalyzer_app");
        auto *client = ELFClientInterface::getSessionBusClient("gem.base.spectrumanalyzer_app", &bridge);
        emit client->SigInfo("calibration due");
        QCOMPARE(info.count(), 1);
        QCOMPARE(info.at(0).at(0).toString(), QStringLiteral("calibration due"));
    }

    void diagnostics()
    {
        ZeElfItems bridge;
        bridge.setDbusAddress(kAddress);
        MessageLog log;
        QCOMPARE(addressOf(bridge.getConfigItemDxTest("demodType", "demod")),
                 QStringLiteral(":config:dxtest_app:demod:demodType:"));
        QCOMPARE(bridge.getResultItemDxTest("absent", "p25Meas"), nullptr);
        QCOMPARE(bridge.getConfigItem("absent", "marker_module"), nullptr);
        QCOMPARE(log.take(),
                 QStringList({
                     "warning getConfigItemDxTest : m_curApp wasn't updated yet!!!!!!!! m_curApp =  "
                     "\"spectrumanalyzer_app\" ; elfModuleName =  \"demod\" ; param =  \"demodType\"",
                     "warning getResultItemDxTest : m_curApp wasn't updated yet!!!!!!!! m_curApp =  "
                     "\"spectrumanalyzer_app\" ; elfModuleName =  \"p25Meas\" ; param =  \"absent\"",
                     "warning getConfigItem !!!!------------------:getElfData() returns null!!!!!!!! m_curApp =  "
                     "\"spectrumanalyzer_app\" ; curr elfModuleName =  \"marker_module\" , param= \"absent\"",
                 }));

        // No other lookup reports a null result.
        QCOMPARE(bridge.getItem(":config:nothing:"), nullptr);
        QCOMPARE(bridge.getActionItem("absent", "marker_module"), nullptr);
        QCOMPARE(bridge.getResultItem("absent", "marker_module"), nullptr);
        for (const char *method : {"getConfigItem", "getActionItem", "getResultItem", "getResultItemStarterApp",
                                   "getResultItemStrArr", "getResultItemDoubleArr", "getResultItemIntArr",
                                   "getResultItemAddr", "getConfigItemDoubleArr"})
            QCOMPARE(lookUp(bridge, method, {"absent"}), nullptr);
        QCOMPARE(log.take(), QStringList());

        // On the dxtest application the dxtest forms are silent.
        ZeElfItems dxtest;
        dxtest.setDirectAddress("dxtest_app");
        QCOMPARE(dxtest.getResultItemDxTest("ber", "p25Meas")->address(), QStringLiteral(":result:dxtest_app:p25Meas:ber:"));
        QCOMPARE(log.take(), QStringList());
    }
};

QTEST_GUILESS_MAIN(TestZeElfItems)
#include "tst_zeelfitems.moc"
