// hbase-sim, the instrument's services as the other tests and the demo run against them: what they do
// not show (its refusals of bad models and requests, the desktop's task record).
#include <QtTest>
#include <QDBusInterface>

#include "simfixture.h"
#include "testfiles.h"

namespace {
const QString kSa = QStringLiteral("gem.base.spectrumanalyzer_app");
const QString kSaReg = QStringLiteral(":config:spectrumanalyzer_app:spectrumanalyzer_reg_module:");
const QString kSaAction = QStringLiteral(":action:spectrumanalyzer_app:spectrumanalyzer_reg_module:");
}

class TestSimulator : public QObject
{
    Q_OBJECT

    SimFixture m_sim;

private Q_SLOTS:
    void initTestCase() { QVERIFY(m_sim.start()); }

    // Bad requests get errors and the simulator lives on.
    void badRequestsGetErrors()
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
    }

    void raiseTaskSignalsAndRecords()
    {
        const QString desktopName = "com.torvanelabs.platform.Desktop";
        QDBusInterface desktop(desktopName, "/com/torvanelabs/platform/Desktop", desktopName);
        QSignalSpy raised(&desktop, SIGNAL(TaskRaised(QString, QString)));
        QVERIFY(m_sim.raiseTask("Spectrum Analyzer", "task-7"));
        QTRY_COMPARE(raised, (QList<QVariantList>{{"Spectrum Analyzer", "task-7"}}));
        QCOMPARE(readFile("/tmp/hbase-sim/last_raised_task"), "Spectrum Analyzer\n");
    }

    void malformedModelsAreRefused_data()
    {
        // items: of module m of application a_app; or the whole file
        addColumns<QByteArray, QString>({"items", "message"});
        QTest::newRow("absent") << QByteArray() << "cannot read model";
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
        const QString path = items.isEmpty() ? "/tmp/absent.json" : "/tmp/broken model.json";
        if (items.startsWith("[{"))
            items = R"({"applications":[{"name":"a_app","modules":[{"name":"m","items":)" + items + "}]}]}";
        if (!items.isEmpty())
            writeFile(path, items);
        QProcess sim;
        SimFixture::startProgram(sim, qEnvironmentVariable("HBASE_SIM"), {"--model", path});
        QVERIFY(sim.waitForFinished(10000));
        QCOMPARE(sim.exitCode(), 2);
        const QString errors = sim.readAllStandardError();
        QVERIFY2(errors.startsWith("hbase-sim: ") && errors.contains(path) && errors.contains(message), qPrintable(errors));
    }
};

QTEST_GUILESS_MAIN(TestSimulator)
#include "tst_simulator.moc"
