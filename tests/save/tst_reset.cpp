#include <QtTest>

#include "elfclientinterface.h"
#include "hsave.h"
#include "savetestfiles.h"
#include "simfixture.h"

namespace {
const QString kCommandsLog = QStringLiteral("/tmp/hbase-sim/commands.log");
const QString kStarter = QStringLiteral("gem.base.starter_app");
const QString kDelete = QStringLiteral(":action:starter_app:starter_reg_module:fileDelete:");
const QString kAppName = QStringLiteral(":config:starter_app:starter_reg_module:appNameCnfg:");
const QString kDx = QStringLiteral("gem.base.dxtest_app");
const QString kDxReg = QStringLiteral(":config:dxtest_app:dxtest_reg_module:");

QJsonObject withDefault(QJsonObject item, const QJsonValue &initValue)
{
    item.insert("initValue", initValue);
    return item;
}

QJsonObject resetModel()
{
    using F = SimFixture;
    return F::model({
        F::app("starter_app", {F::module("starter_reg_module", {F::item("appNameCnfg", "spectrumanalyzer_app")})}),
        F::app("spectrumanalyzer_app",
               {F::module("spectrumanalyzer_reg_module", {withDefault(F::item("centreFreq", 2e9), 1e9)}),
                F::module("specan", {withDefault(F::item("enableNormalizeActions", true), false)})}),
        F::app("dxtest_app",
               {F::module("dxtest_reg_module",
                          {withDefault(F::item("rfLevel", -20.0), -50.0),
                           withDefault(F::item("name", "mine"), "default"),
                           withDefault(F::item("noDefault", 3.0), QJsonValue()),
                           withDefault(F::item("measurementModeCnfg", 4, "int"), 0),
                           withDefault(F::item("dataSource", 1, "int"), 0)}),
                F::module("tetraMod", {withDefault(F::item("isCurrentSource", true), false)}),
                F::module("cableLoss", {withDefault(F::item("calStart", 1.0), 0.0)})}),
    });
}
} // namespace

class TestReset : public QObject
{
    Q_OBJECT

    SimFixture m_sim;

    QVector<SimFixture::Entry> received()
    {
        const QVector<SimFixture::Entry> entries = m_sim.journal();
        m_sim.clearJournal();
        return entries;
    }

private Q_SLOTS:
    void init()
    {
        QFile::remove(kCommandsLog);
        m_sim.stop();
        QVERIFY2(m_sim.startJson(resetModel()), qPrintable(m_sim.errorOutput()));
    }

    // Runs only in the sandbox: "reboot" is the recording stub there.
    void factoryResetDeletesThenRestarts()
    {
        HSave save;
        QVERIFY(QDir().mkpath("/cust/private/lastconfigs") && QDir().mkpath("/base/qml_4410/hetnet_private"));
        m_sim.clearJournal();
        save.factoryReset();
        const QVector<SimFixture::Entry> deletions = {{kStarter, kDelete, "/user/TK520/internal/"},
                                                      {kStarter, kDelete, "/cust/private/lastconfigs/"},
                                                      {kStarter, kDelete, "/base/qml_4410/hetnet_private/"},
                                                      {kStarter, kDelete, "/var/lib/redis/appendonly.aof"}};
        QCOMPARE(received(), deletions);
        for (const char *gone : {"/user/TK520/internal", "/cust/private/lastconfigs", "/base/qml_4410/hetnet_private"})
            QVERIFY2(!QFileInfo::exists(gone), gone);
        QCOMPARE(readFile(kCommandsLog), QByteArray("reboot\n"));

        // Refused deletions and an absent starter still end in the restart.
        QVERIFY(m_sim.setActionReply(kDelete, "Error: busy"));
        save.factoryReset();
        QCOMPARE(received(), deletions);
        m_sim.stop();
        save.factoryReset();
        QCOMPARE(readFile(kCommandsLog), QByteArray("reboot\nreboot\nreboot\n"));
    }

    void presetOrFallBackToTheBuiltInAnalyser()
    {
        HSave save;
        const QString preset = ":action:spectrumanalyzer_app:spectrumanalyzer_reg_module:presetActn:";
        QVERIFY(save.presetAction("spectrumanalyzer_app"));
        QCOMPARE(received(), (QVector<SimFixture::Entry>{{"gem.base.spectrumanalyzer_app", preset, ""}}));
        ELFClientInterface *specan = ELFClientInterface::getSessionBusClient("gem.base.spectrumanalyzer_app");
        const QString freq = ":config:spectrumanalyzer_app:spectrumanalyzer_reg_module:centreFreq:";
        QVERIFY(specan->item(freq));
        QTRY_COMPARE(specan->item(freq)->getValue().toDouble(), 1e9);

        QVERIFY(m_sim.setActionReply(preset, "Error: measuring"));
        QVERIFY(save.presetAction("spectrumanalyzer_app"));
        // The switch is a write that does not wait for the starter.
        QTRY_COMPARE(m_sim.journal().size(), 2);
        const QVector<SimFixture::Entry> sent = received();
        QCOMPARE(sent.at(0), (SimFixture::Entry{"gem.base.spectrumanalyzer_app", preset, ""}));
        QCOMPARE(sent.at(1).service, kStarter);
        QCOMPARE(sent.at(1).address, kAppName);
        QVERIFY2(sent.at(1).argument.contains("spectrumAnalyzerBuildIn_app"), qPrintable(sent.at(1).argument));

        // No such application: nothing is sent and nothing is switched.
        QVERIFY(save.presetAction("gone_app"));
        QVERIFY(received().isEmpty());
    }

    void applicationBackToDefaults()
    {
        HSave save;
        QVERIFY(save.resetAppElfItemsToDefaultValues("dxtest_app"));
        QTRY_COMPARE(m_sim.journal().size(), 3);
        QStringList written;
        for (const SimFixture::Entry &entry : received())
            written.append(entry.address);
        written.sort();
        QCOMPARE(written, (QStringList{kDxReg + "name:", kDxReg + "rfLevel:", ":config:dxtest_app:tetraMod:isCurrentSource:"}));
        ELFClientInterface *dx = ELFClientInterface::getSessionBusClient(kDx);
        QVERIFY(dx->item(kDxReg + "rfLevel:"));
        QTRY_COMPARE(dx->item(kDxReg + "rfLevel:")->getValue().toDouble(), -50.0);
        QTRY_COMPARE(dx->item(kDxReg + "name:")->getValue().toString(), QStringLiteral("default"));

        QTest::ignoreMessage(QtWarningMsg, "Client not valid");
        QVERIFY(!save.resetAppElfItemsToDefaultValues("gone_app"));
    }

    // The tab file of tab index 1 is "/tmp/Tab2.oxs"; the next recall brings its defaults in.
    void tabFileBackToDefaults()
    {
        HSave save;
        writeFile("/tmp/Tab2.oxs", QStringLiteral("{\n  // kept from the bench\n"
                                 "  \"%1rfLevel:\": -10,\n  \"%1name:\": \"bench\",\n  \"%1noDefault:\": 8,\n"
                                 "  \"%1measurementModeCnfg:\": 4,\n"
                                 "  \":config:dxtest_app:tetraMod:isCurrentSource:\": true,\n"
                                 "  \"%1removedLastYear:\": \"old\"\n}\n").arg(kDxReg).toUtf8());

        const QMap<QString, uint> before = m_sim.stats();
        QVERIFY(save.resetTabElfItemsToDefaultValues(2, "dxtest_app"));
        // The defaults come in one snapshot, not one call per entry.
        QCOMPARE(m_sim.stat("Snapshot") - before.value("Snapshot"), 1u);
        QCOMPARE(m_sim.stat("Item") - before.value("Item"), 0u);
        QCOMPARE(QDir("/tmp").entryList({".Tab2.oxs.*"}, QDir::Hidden | QDir::Files), QStringList());
        const QJsonObject reset = QJsonDocument::fromJson(readFile("/tmp/Tab2.oxs")).object();
        QCOMPARE(reset, QJsonObject({{kDxReg + "rfLevel:", -50}, {kDxReg + "name:", "default"},
                                     {kDxReg + "noDefault:", 8}, {kDxReg + "measurementModeCnfg:", 4},
                                     {":config:dxtest_app:tetraMod:isCurrentSource:", true},
                                     {kDxReg + "removedLastYear:", "old"}}));
        QVERIFY(received().isEmpty());

        QVERIFY(m_sim.setItem(kDxReg + "rfLevel:", -1.0));
        QVERIFY(save.loadTabFile(1, "dxtest_app"));
        ELFClientInterface *dx = ELFClientInterface::getSessionBusClient(kDx);
        QVERIFY(dx->item(kDxReg + "rfLevel:"));
        QTRY_COMPARE(dx->item(kDxReg + "rfLevel:")->getValue().toDouble(), -50.0);

        QTest::ignoreMessage(QtWarningMsg, "Json file doesn't exist");
        QVERIFY(!save.resetTabElfItemsToDefaultValues(5, "dxtest_app"));
        QTest::ignoreMessage(QtWarningMsg, "Client not valid");
        QVERIFY(!save.resetTabElfItemsToDefaultValues(2, "gone_app"));
    }

    // The viewer gets the path as one argument, whatever it holds, and never as an option.
    void documentPathIsOneArgument_data()
    {
        QTest::addColumn<QString>("path");
        QTest::addColumn<QString>("argument");
        const QString plain = QStringLiteral("/user/TK520/internal/quillbox/reports/r 1.pdf");
        QTest::newRow("plain") << plain << plain;
        const QString hostile = QString::fromUtf8("/user/TK520/my report's \"final\" $(touch /tmp/pwned); `id` \xc3\xa9.pdf");
        QTest::newRow("shell text") << hostile << hostile;
        QTest::newRow("option") << "-x" << "./-x";
        QTest::newRow("long option") << "--help" << "./--help";
        QTest::newRow("relative") << "a/-b.pdf" << "a/-b.pdf";
    }

    void documentPathIsOneArgument()
    {
        QFETCH(QString, path);
        QFETCH(QString, argument);
        QFile::remove(kCommandsLog);
        QVERIFY(QDir().mkpath(QFileInfo(kCommandsLog).path()));
        HSave save;
        const QMap<QString, QString> before = sandboxState(QFileInfo(kCommandsLog).path());
        save.showDocumnet(path);
        QCOMPARE(QString::fromUtf8(readFile(kCommandsLog)), QStringLiteral("documentviewer_open [%1]\n").arg(argument));
        QCOMPARE(sandboxState(QFileInfo(kCommandsLog).path()), before);
    }

    void updatePackageRunsNothing()
    {
        HSave save;
        QTest::ignoreMessage(QtDebugMsg, "updatePackage  ${/tmp/up; reboot}");
        save.loadUpdatePackage(QStringLiteral("/tmp/up; reboot"));
        QVERIFY(!QFileInfo::exists(kCommandsLog));
    }

    void reportFromTheInterfaceTable()
    {
        HSave save;
        save.clearAll();
        save.addCommonUI(QStringLiteral("Technology"), QStringLiteral("DMR"));
        save.addCommonUI(QStringLiteral("Measure"), QStringLiteral("Modulation"));
        const QString path = QStringLiteral("/user/TK520/internal/quillbox/reports/r 1.pdf");
        save.savePDF(path, QStringLiteral("On"), QStringLiteral("Off"));
        const QByteArray pdf = readFile(path);
        QVERIFY(pdf.startsWith("%PDF-") && pdf.endsWith("%%EOF\nDMR,Modulation"));
    }
};

QTEST_MAIN(TestReset)
#include "tst_reset.moc"
