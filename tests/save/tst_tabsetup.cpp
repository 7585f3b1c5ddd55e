#include <QtTest>
#include <QJSEngine>

#include "elfclientinterface.h"
#include "hsave.h"
#include "savetestfiles.h"
#include "simfixture.h"

namespace {
QJsonObject readObject(const QString &path)
{
    return QJsonDocument::fromJson(readFile(path)).object();
}

QString tabFile(int number)
{
    return QStringLiteral("/tmp/Tab%1.oxs").arg(number);
}

void removeTabFiles()
{
    for (int number = 0; number <= 8; ++number)
        QFile::remove(tabFile(number));
}

const QByteArray kTab1 = R"({"A": 1, "B": "one"})";
const QByteArray kTab2 = R"({"A": 2, "C": [1, 2]})";

const QString kSpecan = QStringLiteral(":config:spectrumanalyzer_app:spectrumanalyzer_reg_module:");
const QString kDxtest = QStringLiteral(":config:dxtest_app:dxtest_reg_module:");
const QString kAutotest = QStringLiteral(":config:autotest_app:autotest_reg_module:");

const char *const kAutotestRuntime[] = {
    "testDataList", "totalTestTime", "ssBreakpointList", "ssContinueButton", "ssCurrentBpName", "ssCurrentLineStr",
    "ssCurrentTestFctn", "ssCurrentTestName", "ssLoopingButton", "ssStepButton", "ssTestFunctionList",
    "ssToggleBpButton", "selectPressed", "selectText", "saveProfile", "saveProfileCurrentFloatingEdit",
    "saveProfileCurrentFloatingEditIndex", "saveProfileDefaultButton", "saveProfileEditButton",
    "saveProfileExportButton", "saveProfileExportDefaultDir", "saveProfileExportPath", "saveProfileExportFileName",
    "saveProfileFloatList", "saveProfileFreqLL", "saveProfileFreqUL", "saveProfileFreqUnit",
    "saveProfileImportButton", "saveProfileImportDefaultDir", "saveProfileImportFileName", "saveProfileLL",
    "saveProfileMaxPage", "saveProfileName1", "saveProfilePageIndex", "saveProfilePageType", "saveProfileSymbol1",
    "saveProfileSymbol2", "saveProfileTarget", "saveProfileUL", "saveProfileUnit", "scaEnable", "runScaStatus",
    "runStatus", "pButtonEnable1", "pButtonEnable2", "pButtonEnable3", "pButtonEnable4", "pButtonEnable5",
    "pButtonPressed1", "pButtonPressed2", "pButtonPressed3", "pButtonPressed4", "pButtonPressed5", "pButtonText1",
    "pButtonText2", "pButtonText3", "pButtonText4", "pButtonText5", "pClose", "pHeight", "pImageEnable",
    "pInputDouble", "pInputDoubleEnable", "pInputText", "pInputTextEnable", "pText", "pTitle", "pWidth",
    "pauseStatus", "progressPercent", "progressRatio", "rCurrentSelection", "rCustomer", "rFileName", "rFileType",
    "rTechId", "rTestLocation", "remoteQuery", "reportDelete", "reportRun", "resetAutotest", "resultIndex",
    "resultSummary", "resultText", "runTime", "pActivate", "iWidth", "limit1", "limit2", "loopCount", "iPath",
    "iHeight", "helpButtonPressed", "fileContent", "currentManufacturerPath", "autotestErrorText",
    "operationStatus", "testList"};

QJsonObject roadModel()
{
    using F = SimFixture;
    QJsonArray autotest = {F::item("measurementModeCnfg", 1, "int"), F::item("keepMe", "yes"),
                           F::item("rFileList", QJsonArray{"a.seq", "b.seq"}, "stringArray"),
                           F::item("testEnabled", QJsonArray{"a"}, "stringArray"),
                           F::item("testStatus", QJsonArray{"b"}, "stringArray")};
    for (const char *name : kAutotestRuntime)
        autotest.append(F::item(name, 7));
    return F::model({
        F::app("spectrumanalyzer_app",
               {F::module("spectrumanalyzer_reg_module",
                          {F::item("centreFreq", 1e9), F::item("measurementModeCnfg", 2, "int"),
                           F::item("title", "site A"), F::item("autoSweep", true),
                           F::item("limits", QJsonArray{1.5, 2.123456789, -1e-7}, "doubleArray"),
                           F::item("noLimits", QJsonArray{}, "doubleArray"),
                           F::item("traces", QJsonArray{"Clear Write", "Max"}, "stringArray"),
                           F::item("toastMessageCnfg", QJsonArray{"hi"}, "stringArray"),
                           F::item("warningMessageCnfg", "w"), F::item("persistMessageCnfg", "p"),
                           F::item("opserverModeCnfg", 1, "int"), F::item("power", -40.0, "", "result"),
                           F::item("presetActn", QJsonValue(), "", "action")})}),
        F::app("dxtest_app",
               {F::module("dxtest_reg_module",
                          {F::item("measurementModeCnfg", 5, "int"), F::item("rfLevel", -50.5)})}),
        F::app("autotest_app", {F::module("autotest_reg_module", autotest)}),
    });
}

// What the application holds now, as its own save-configuration writes it.
QJsonObject appSettings(const QString &app)
{
    const QString module = app.left(app.size() - 4) + "_reg_module";
    ELFClientInterface *client = ELFClientInterface::getSessionBusClient("gem.base." + app);
    QString reply = "OK";
    client->callAction(QStringLiteral(":action:%1:%2:saveconfig:").arg(app, module), "/tmp/check.oxs,0,", &reply, 5000);
    return reply == "OK" ? readObject("/tmp/check.oxs") : QJsonObject();
}
} // namespace

class TestTabSetup : public QObject
{
    Q_OBJECT

    SimFixture m_sim;

    QVector<SimFixture::Entry> actionsSent()
    {
        QVector<SimFixture::Entry> actions;
        for (const SimFixture::Entry &entry : m_sim.journal()) {
            if (entry.address.startsWith(":action:") && !entry.argument.startsWith("/tmp/check.oxs"))
                actions.append(entry);
        }
        m_sim.clearJournal();
        return actions;
    }

private Q_SLOTS:
    // Every test starts from the model's values.
    void init()
    {
        removeTabFiles();
        m_sim.stop();
        QVERIFY2(m_sim.startJson(roadModel()), qPrintable(m_sim.errorOutput()));
    }

    // The interface's whole road: tab files from the applications, the setup file, the recall.
    void saveAndRecallASetup()
    {
        HSave save;
        QVERIFY(m_sim.setItem(kSpecan + "centreFreq:", 2.4e9));
        QVERIFY(m_sim.setItem(kDxtest + "rfLevel:", -20.25));
        const QJsonObject specan = appSettings("spectrumanalyzer_app");
        const QJsonObject dxtest = appSettings("dxtest_app");

        save.saveTabFileNew(0, "spectrumanalyzer_app", "unused");
        save.saveTabFileNew(1, "dxtest_app", "unused");
        QCOMPARE(actionsSent(), (QVector<SimFixture::Entry>{
            {"gem.base.spectrumanalyzer_app", ":action:spectrumanalyzer_app:spectrumanalyzer_reg_module:saveconfig:", "/tmp/Tab1.oxs,0,"},
            {"gem.base.dxtest_app", ":action:dxtest_app:dxtest_reg_module:saveconfig:", "/tmp/Tab2.oxs,0,"}}));

        save.addCommonHeader("TabCount", 2);
        save.addCommonHeader("Technology", "LTE");
        // QML hands arrays and objects over as they come from JavaScript.
        QJSEngine js;
        save.addCommonHeader("Bands", QVariant::fromValue(js.evaluate("[3, 'n78', {a: 1}]")));
        save.setType(HSave::SAVE_SETUP);
        const QString path = save.getDefaultDir(HSave::SAVE_SETUP) + "/road trip.stp";
        QVERIFY(save.save(path));
        const QJsonObject setup = readObject(path);
        const QJsonArray bands{3, "n78", QJsonObject{{"a", 1}}};
        QCOMPARE(setup, QJsonObject({{"Header", QJsonObject({{"TabCount", 2}, {"Technology", "LTE"}, {"Bands", bands}})},
                                     {"Tab1", specan}, {"Tab2", dxtest}}));

        // The user changes everything, then recalls the setup.
        for (const auto &change : {qMakePair(kSpecan + "centreFreq:", QVariant(9e8)),
                                   qMakePair(kSpecan + "title:", QVariant("other")), qMakePair(kDxtest + "rfLevel:", QVariant(0.0))})
            QVERIFY(m_sim.setItem(change.first, change.second));
        removeTabFiles();
        HSave recall;
        QVERIFY(recall.loadSetup(path));
        QCOMPARE(recall.getHeader("Technology"), QStringLiteral("LTE"));
        QVERIFY(recall.loadTabFile(0, "spectrumanalyzer_app"));
        QVERIFY(recall.loadTabFile(1, "dxtest_app"));
        QCOMPARE(actionsSent(), (QVector<SimFixture::Entry>{
            {"gem.base.spectrumanalyzer_app", ":action:spectrumanalyzer_app:spectrumanalyzer_reg_module:startRecall:", "2"},
            {"gem.base.spectrumanalyzer_app", ":action:spectrumanalyzer_app:spectrumanalyzer_reg_module:loadconfig:", "/tmp/Tab1.oxs"},
            {"gem.base.spectrumanalyzer_app", ":action:spectrumanalyzer_app:spectrumanalyzer_reg_module:finishRecall:", ""},
            {"gem.base.dxtest_app", ":action:dxtest_app:dxtest_reg_module:startRecall:", "5"},
            {"gem.base.dxtest_app", ":action:dxtest_app:dxtest_reg_module:loadconfig:", "/tmp/Tab2.oxs"},
            {"gem.base.dxtest_app", ":action:dxtest_app:dxtest_reg_module:finishRecall:", ""}}));
        QCOMPARE(appSettings("spectrumanalyzer_app"), specan);
        QCOMPARE(appSettings("dxtest_app"), dxtest);
    }

    // Read item by item: settings only, without the session's messages, arrays as texts.
    void tabTableFromTheItems()
    {
        HSave save;
        QVERIFY(m_sim.setItem(kSpecan + "title:", "site // A"));
        save.saveTabFile(0, "spectrumanalyzer_app", "");
        QCOMPARE(QString::fromUtf8(readFile(tabFile(1))), QStringLiteral(
            "{\n"
            "    \"%1autoSweep:\": true,\n"
            "    \"%1centreFreq:\": 1000000000,\n"
            "    \"%1limits:doubleARRAY:\": [\n        \"1.5\",\n        \"2.12346\",\n        \"-1e-07\"\n    ],\n"
            "    \"%1measurementModeCnfg:\": 2,\n"
            "    \"%1title:\": \"site // A\",\n"
            "    \"%1traces:stringARRAY:\": [\n        \"Clear Write\",\n        \"Max\"\n    ]\n"
            "}\n").arg(kSpecan));

        QVERIFY(save.loadTabFile(3, "gone_app"));
        writeFile(tabFile(4), QStringLiteral("{\"%1\": 1}").arg(":config:gone_app:gone_reg_module:measurementModeCnfg:").toUtf8());
        for (const char *step : {"startRecall", "loadconfig", "finishRecall"})
            QTest::ignoreMessage(QtDebugMsg, qPrintable(QStringLiteral("Failed %1 \":action:gone_app:gone_reg_module:%1:\"").arg(step)));
        QVERIFY(!save.loadTabFile(3, "gone_app"));
        // Without its mode the application cannot be told what to recall.
        writeFile(tabFile(1), kTab1);
        QTest::ignoreMessage(QtWarningMsg,
                             "Error: could not find  \":config:spectrumanalyzer_app:spectrumanalyzer_reg_module:"
                             "measurementModeCnfg:\"  inside  \"/tmp/Tab1.oxs\" . Not loading the file!");
        QVERIFY(!save.loadTabFile(0, "spectrumanalyzer_app"));
        QVERIFY(actionsSent().isEmpty());

        QVERIFY(m_sim.setActionReply(":action:dxtest_app:dxtest_reg_module:saveconfig:", "Error: no space"));
        QTest::ignoreMessage(QtDebugMsg, "saveTabFile:XXXXXXXXXXXXXXXXXXXXXXXXXXXXXXXXX");
        save.saveTabFileNew(2, "dxtest_app", "");
        QVERIFY(!QFileInfo::exists(tabFile(3)));
        QVERIFY(m_sim.setActionReply(":action:dxtest_app:dxtest_reg_module:saveconfig:", QString()));
    }

    // The automated test's running state never goes into its tab file; the table keeps it.
    void autotestTabFilesLoseTheRuntimeState()
    {
        HSave save;
        save.saveTabFileNew(0, "autotest_app", "");
        const QStringList kept{kAutotest + "keepMe:", kAutotest + "measurementModeCnfg:"};
        QCOMPARE(readObject(tabFile(1)).keys(), kept + QStringList{kAutotest + "rFileList:stringARRAY:"});

        QFile::remove(tabFile(1));
        save.addCommonHeader("TabCount", 1);
        save.setType(HSave::SAVE_LAST);
        QVERIFY(save.save("/tmp/last.stp"));
        const QJsonObject table = readObject("/tmp/last.stp").value("Tab1").toObject();
        QCOMPARE(table.size(), 103);
        QVERIFY(table.contains(kAutotest + "testStatus:stringARRAY:"));
        QVERIFY(table.contains(kAutotest + "operationStatus:"));

        // The same tab of another application keeps every key.
        save.saveTabFileNew(0, "dxtest_app", "");
        QCOMPARE(readObject(tabFile(1)).size(), 2);

        // The file list is written over many lines: it leaves the table read back, and the tab recalls.
        save.saveTabFileNew(1, "autotest_app", "");
        save.addCommonHeader("TabCount", 2);
        save.setType(HSave::SAVE_SETUP);
        QVERIFY(save.save("/tmp/auto.stp"));
        QCOMPARE(readObject("/tmp/auto.stp").value("Tab2").toObject().keys(), kept);
        QVERIFY(save.loadSetup("/tmp/auto.stp"));
        QVERIFY(save.loadTabFile(1, "autotest_app"));
    }

    // Six tabs of 2,000 settings: one ModuleItems call per tab, no call per item.
    void costOfABigSetup()
    {
        m_sim.stop();
        QJsonArray apps;
        for (int app = 0; app < 6; ++app) {
            QJsonArray items = {SimFixture::item("measurementModeCnfg", app, "int")};
            for (int i = 1; i < 2000; ++i)
                items.append(SimFixture::item(QStringLiteral("setting%1").arg(i), i * 0.5));
            apps.append(SimFixture::app(QStringLiteral("big%1_app").arg(app),
                                        {SimFixture::module(QStringLiteral("big%1_reg_module").arg(app), items)}));
        }
        QVERIFY2(m_sim.startJson(SimFixture::model(apps)), qPrintable(m_sim.errorOutput()));
        const QMap<QString, uint> before = m_sim.stats();

        HSave save;
        QElapsedTimer timer;
        timer.start();
        for (int tab = 0; tab < 6; ++tab)
            save.saveTabFileNew(tab, QStringLiteral("big%1_app").arg(tab), QString());
        save.addCommonHeader("TabCount", 6);
        QVERIFY(save.save("/tmp/big.stp"));
        qInfo("six tabs of 2000 settings saved in %lld ms", timer.elapsed());

        const QMap<QString, uint> after = m_sim.stats();
        QCOMPARE(after.value("ModuleItems") - before.value("ModuleItems"), 6u);
        QCOMPARE(after.value("Item") - before.value("Item"), 0u);
        QCOMPARE(after.value("CallAction") - before.value("CallAction"), 6u);
        QCOMPARE(readObject("/tmp/big.stp").value("Tab6").toObject().size(), 2000);
        m_sim.stop();
    }

    void commentsAndTheAutotestFileList_data()
    {
        QTest::addColumn<QString>("text");
        QTest::addColumn<QVariantMap>("table");
        const QString list = QStringLiteral(":config:autotest_app:autotest_reg_module:rFileList:");
        const QVariantMap ab{{":config:x:m:a:", 1.0}, {":config:x:m:b:", "text"}};
        QTest::newRow("comments, one-line list")
            << QStringLiteral("{\n  // a whole-line comment\n\t   // an indented one, with \"quotes\" and {braces\n"
                              "  \":config:x:m:a:\": 1, // the frequency\n  \"%1\": [\"a\", \"b\"],\n"
                              "  \":config:x:m:b:\": \"text\"\n}\n").arg(list)
            << ab;
        QTest::newRow("list over many lines, last")
            << QStringLiteral("{\n  \":config:x:m:a:\": 1,\n  \":config:x:m:b:\": \"text\",\n"
                              "  \"%1stringARRAY:\": [\n    \"a\",\n    \"b\"\n  ]\n}\n").arg(list)
            << ab;
        QTest::newRow("URL and escaped quote in values")
            << QStringLiteral("{\"a\": \"http://x/y\", \"b\": \"q\\\" // no comment\" // a comment \"\n}")
            << QVariantMap{{"a", "http://x/y"}, {"b", "q\" // no comment"}};
        QTest::newRow("comment after a value") << QStringLiteral("{\"a\": \"x\" // \"y\"\n}") << QVariantMap{{"a", "x"}};
        QTest::newRow("not an object") << QStringLiteral("[1, 2]") << QVariantMap();
        QTest::newRow("cut short") << QStringLiteral("{\"a\": 1, // x\n \"b\": [") << QVariantMap();
    }

    void commentsAndTheAutotestFileList()
    {
        QFETCH(QString, text);
        QFETCH(QVariantMap, table);
        HSave save;
        QCOMPARE(save.fromJsonString(text), table);
    }

    // A tab file read from disk gives what its text gives, whether or not anything needed stripping: line
    // feeds are dropped even inside a value, lines that only parse joined still do, and bytes that are no
    // UTF-8 are read as the text would read them.
    void tabFilesReadAsTheirText()
    {
        HSave save;
        save.setType(2);
        const QByteArray files[] = {"{\"a\": 1, // x\n\"b\": \"y\"}", "{\"a\": \"x\ny\"}", "{\"a\": 1\n2}",
                                    "{\"a\": \"\xff\"}"};
        for (const QByteArray &bytes : files) {
            writeFile(tabFile(1), bytes);
            QVERIFY(save.save("/tmp/backup.stp"));
            QCOMPARE(readObject("/tmp/backup.stp").value("Tab1").toObject(),
                     QJsonObject::fromVariantMap(save.fromJsonString(QString::fromUtf8(bytes))));
        }
        QCOMPARE(readObject("/tmp/backup.stp").value("Tab1").toObject().value("a").toString(), QStringLiteral("\uFFFD"));
    }

    void saveWritesTheMembersOfEachType_data()
    {
        QTest::addColumn<int>("type");
        QTest::addColumn<QStringList>("members");
        QTest::newRow("result") << 0 << QStringList{"Header"};
        QTest::newRow("setup") << 1 << QStringList{"Header", "Tab1", "Tab2"};
        QTest::newRow("backup") << 2 << QStringList{"Header", "Tab1"};
        QTest::newRow("logging") << 3 << QStringList{"Product", "TabCount"};
        QTest::newRow("pdf") << 4 << QStringList{};
        QTest::newRow("last") << 5 << QStringList{"Header", "Tab1", "Tab2", "UI"};
        QTest::newRow("map profile") << 6 << QStringList{"Header"};
        QTest::newRow("negative") << -1 << QStringList{};
    }

    void saveWritesTheMembersOfEachType()
    {
        QFETCH(int, type);
        QFETCH(QStringList, members);
        writeFile(tabFile(1), kTab1);
        writeFile(tabFile(2), kTab2);
        HSave save;
        save.clearAll();
        save.setType(type);
        save.addCommonHeader("TabCount", 2);
        save.addCommonHeader("Product", "TK520");
        save.addCommonUI("reportCompanyCnfg", "ACME");
        const QString path = QStringLiteral("/user/TK520/internal/quillbox/setup/a b.stp");

        const QJsonObject all{{"Header", QJsonObject({{"TabCount", 2}, {"Product", "TK520"}})},
                              {"Tab1", QJsonDocument::fromJson(kTab1).object()},
                              {"Tab2", QJsonDocument::fromJson(kTab2).object()},
                              {"UI", QJsonObject({{"reportCompanyCnfg", "ACME"}})},
                              {"Product", "TK520"}, {"TabCount", 2}};
        QJsonObject expected;
        for (const QString &member : members)
            expected.insert(member, all.value(member));

        QVERIFY(save.save(path));
        const QJsonObject saved = readObject(path);
        QCOMPARE(saved, expected);
        if (type != HSave::SAVE_LOGGING) {
            QCOMPARE(readFile(path), QJsonDocument(saved).toJson(QJsonDocument::Indented));
            return;
        }
        // A logging file carries its set-up on its first line, where the logging reader finds it.
        QCOMPARE(readFile(path), QJsonDocument(saved).toJson(QJsonDocument::Compact) + '\n');
        save.clearAll();
        QVERIFY(save.readHeader(path, "grr"));
        QCOMPARE(save.getHeader("Product"), QStringLiteral("TK520"));
    }

    void setupSaveNeedsEveryTabFile()
    {
        HSave save;
        save.clearAll();
        const QString path = QStringLiteral("/tmp/s.stp");
        save.addCommonHeader("TabCount", "2");
        writeFile(tabFile(1), kTab1);
        QTest::ignoreMessage(QtDebugMsg, "==================================save: \"/tmp/s.stp\" 1");
        QTest::ignoreMessage(QtDebugMsg, "=================================save ends with= false");
        QVERIFY(!save.save(path));
        // The set-up then holds its header only, and never a tab table that did not read back.
        QCOMPARE(readObject(path).keys(), QStringList{"Header"});
        writeFile(tabFile(2), "{\"A\": [1,");
        QVERIFY(!save.save(path));
        QCOMPARE(readObject(path).keys(), QStringList{"Header"});

        // Without "TabCount" no tab is saved; a huge one stops at the six tabs there are.
        save.clearAll();
        QVERIFY(save.save(path));
        QCOMPARE(readObject(path).keys(), QStringList{"Header"});
        for (int number = 1; number <= 7; ++number)
            writeFile(tabFile(number), QStringLiteral("{\"n\": %1}").arg(number).toUtf8());
        save.addCommonHeader("TabCount", 1e12);
        QVERIFY(save.save(path));
        const QJsonObject six = readObject(path);
        QCOMPARE(six.keys(), (QStringList{"Header", "Tab1", "Tab2", "Tab3", "Tab4", "Tab5", "Tab6"}));
        QCOMPARE(six.value("Tab6").toObject().value("n").toInt(), 6);
        QVERIFY(!save.save(QStringLiteral("/tmp/no such dir/s.stp")));
        QVERIFY(!QFileInfo::exists(QStringLiteral("/tmp/no such dir")));
    }

    void loadingRewritesTheTabFiles()
    {
        HSave save;
        const QString path = QStringLiteral("/tmp/load.stp");
        writeFile(path, R"({"Header": {"TabCount": 2, "Technology": "LTE"},
                            "UI": {"reportCompanyCnfg": "ACME"},
                            "Tab1": {"B": "one", "A": 1}, "Tab2": {"C": [1.5, "x"]}, "Tab3": {"D": 4}})");
        writeFile(tabFile(3), "untouched");
        QVERIFY(save.loadSetup(path));
        QCOMPARE(readFile(tabFile(1)), QByteArray("{\n    \"A\": 1,\n    \"B\": \"one\"\n}\n"));
        QCOMPARE(readFile(tabFile(2)), QByteArray("{\n    \"C\": [\n        1.5,\n        \"x\"\n    ]\n}\n"));
        QCOMPARE(readFile(tabFile(3)), QByteArray("untouched"));
        QCOMPARE(save.getHeader("Technology"), QStringLiteral("LTE"));
        QCOMPARE(save.getUI("reportCompanyCnfg"), QStringLiteral("ACME"));
        QCOMPARE(save.getUI("reportLogoCnfg"), QString());

        // A file that does not parse leaves everything empty; one that does not open changes nothing.
        writeFile(path, QByteArray("\x89PNG\r\n\x1a\n", 8) + QByteArray(100, '\0'));
        QVERIFY(save.loadSetup(path));
        QCOMPARE(save.getHeader("Technology"), QString());
        QCOMPARE(save.getUI("reportCompanyCnfg"), QString());
        save.addCommonHeader("Technology", "kept");
        QVERIFY(!save.loadSetup(QStringLiteral("/tmp/missing.stp")));
        QCOMPARE(save.getHeader("Technology"), QStringLiteral("kept"));

        removeTabFiles();
        writeFile(path, R"({"Header": {"TabCount": 99}, "Tab7": {"x": 1}})");
        QVERIFY(save.loadSetup(path));
        for (int number = 1; number <= 6; ++number)
            QCOMPARE(readFile(tabFile(number)), QByteArray("{\n}\n"));
        QVERIFY(!QFileInfo::exists(tabFile(7)));
    }

    void restoreTouchesHeaderAndFirstTabOnly()
    {
        HSave save;
        save.addCommonUI("reportSiteInfoCnfg", "roof");
        writeFile(QStringLiteral("/tmp/backup.stp"), R"({"Header": {"Technology": "GSM"}, "Tab1": {"A": true}, "Tab2": {"B": 1}})");
        QVERIFY(save.restoreSetup(QStringLiteral("/tmp/backup.stp")));
        QCOMPARE(save.getHeader("Technology"), QStringLiteral("GSM"));
        QCOMPARE(save.getUI("reportSiteInfoCnfg"), QStringLiteral("roof"));
        QCOMPARE(readFile(tabFile(1)), QByteArray("{\n    \"A\": true\n}\n"));
        QVERIFY(!QFileInfo::exists(tabFile(2)));
        QVERIFY(!save.restoreSetup(QStringLiteral("/tmp/missing.stp")));

        save.clearAll();
        QCOMPARE(save.getHeader("Technology"), QString());
        QCOMPARE(save.getUI("reportSiteInfoCnfg"), QString());
    }

    void tabFileHousekeeping()
    {
        HSave save;
        writeFile(tabFile(2), kTab2);
        writeFile(tabFile(3), kTab1);
        save.renameTabFile(2);
        QCOMPARE(readFile(tabFile(2)), kTab2);
        save.deleteTabFile(1);
        save.renameTabFile(2);
        QCOMPARE(readFile(tabFile(2)), kTab1);
        QVERIFY(!QFileInfo::exists(tabFile(3)));

        // Numbers outside the six tabs name no table and touch no file.
        writeFile(tabFile(1), kTab1);
        writeFile(tabFile(7), kTab2);
        for (int bad : {-1, 6, 1000}) {
            save.deleteTabFile(bad);
            save.renameTabFile(bad);
            save.saveToTabJsonFile(bad);
            save.saveTabFile(bad, "x_app", "x");
            QVERIFY(!save.readTabFile(bad));
            QVERIFY(!save.loadTabFile(bad, "x_app"));
        }
        save.renameTabFile(0);
        QVERIFY(!QFileInfo::exists(tabFile(0)));
        QCOMPARE(readFile(tabFile(1)), kTab1);
        QCOMPARE(readFile(tabFile(7)), kTab2);
    }
};

QTEST_GUILESS_MAIN(TestTabSetup)
#include "tst_tabsetup.moc"
