#include <QtTest>
#include <QJSEngine>

#include <grp.h>
#include <sys/stat.h>
#include <unistd.h>
#include <zlib.h>

#include "appservice.h"
#include "elfclientinterface.h"
#include "hmapprofilelist.h"
#include "hsave.h"
#include "setupdocument.h"
#include "simfixture.h"
#include "testfiles.h"

// The save object: storage tree, file operations, tab and set-up files, headers of saved files, resets.

namespace {
using F = SimFixture;
using Journal = QVector<SimFixture::Entry>;

const QString kRoot = QStringLiteral("/user/TK520/internal");
const QString kSetupDir = kRoot + "/quillbox/setup/";
const QString kOps = QStringLiteral("/user/ops/");
const QString kCommandsLog = QStringLiteral("/tmp/hbase-sim/commands.log");
const QString kStarter = QStringLiteral("gem.base.starter_app");
const QString kCopy = QStringLiteral(":action:starter_app:starter_reg_module:fileCopy:");
const QString kMove = QStringLiteral(":action:starter_app:starter_reg_module:fileMove:");
const QString kDelete = QStringLiteral(":action:starter_app:starter_reg_module:fileDelete:");
const QString kSa = QStringLiteral("gem.base.spectrumanalyzer_app");
const QString kSaAction = QStringLiteral(":action:spectrumanalyzer_app:spectrumanalyzer_reg_module:");
const QString kSpecan = QStringLiteral(":config:spectrumanalyzer_app:spectrumanalyzer_reg_module:");
const QString kDxService = QStringLiteral("gem.base.dxtest_app");
const QString kDxAction = QStringLiteral(":action:dxtest_app:dxtest_reg_module:");
const QString kDx = QStringLiteral(":config:dxtest_app:dxtest_reg_module:");
const QString kTetra = QStringLiteral(":config:dxtest_app:tetraMod:isCurrentSource:");
const QString kTransfer = QStringLiteral("/tmp/LoadResult.oxs");
// One folder name (no "/"): a shell would make "pwned" and "pwned2" in the working folder.
const QString kHostile = QStringLiteral("a b; touch pwned $(touch pwned2) \"q\" 'q'");
const QByteArray kTab1 = R"({"A": 1, "B": "one"})";
const QByteArray kTab2 = R"({"A": 2, "C": [1, 2]})";

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

// Names made unique within the second of the call: either stamp of the two seconds around it.
bool isStamped(const QString &name, const QString &prefix, const QString &suffix, const QDateTime &before)
{
    const QString format = QStringLiteral("yyMMddhhmmss");
    return name == prefix + '_' + before.toString(format) + suffix
        || name == prefix + '_' + QDateTime::currentDateTime().toString(format) + suffix;
}

int modeOf(const QString &path)
{
    struct stat info {};
    return ::stat(QFile::encodeName(path).constData(), &info) == 0 ? int(info.st_mode & 07777) : -1;
}

// The tree belongs to root:users with mode 775; the group can only be given by root.
void verifyOwned(const QString &path)
{
    struct stat info {};
    QVERIFY2(::stat(QFile::encodeName(path).constData(), &info) == 0 && S_ISDIR(info.st_mode), qPrintable(path));
    QCOMPARE(int(info.st_mode & 07777), 0775);
    if (::geteuid() == 0)
        QCOMPARE(info.st_gid, ::getgrnam("users")->gr_gid);
}

QJsonObject withDefault(QJsonObject item, const QJsonValue &initValue)
{
    item.insert("initValue", initValue);
    return item;
}

QJsonObject model()
{
    return F::model({
        F::app("starter_app", {F::module("starter_reg_module", {F::item("appNameCnfg", "spectrumanalyzer_app")})}),
        F::app("spectrumanalyzer_app",
               {F::module("spectrumanalyzer_reg_module",
                          {withDefault(F::item("centreFreq", 1e9), 5e8), F::item("measurementModeCnfg", 2, "int"),
                           F::item("title", "site A"), F::item("autoSweep", true),
                           F::item("limits", QJsonArray{1.5, 2.123456789, -1e-7}, "doubleArray"),
                           F::item("noLimits", QJsonArray{}, "doubleArray"),
                           F::item("traces", QJsonArray{"Clear Write", "Max"}, "stringArray"),
                           F::item("toastMessageCnfg", QJsonArray{"hi"}, "stringArray"),
                           F::item("warningMessageCnfg", "w"), F::item("persistMessageCnfg", "p"),
                           F::item("opserverModeCnfg", 1, "int"), F::item("power", -40.0, "", "result"),
                           F::item("presetActn", QJsonValue(), "", "action")})}),
        F::app(
            "dxtest_app",
            {F::module("dxtest_reg_module",
                       {withDefault(F::item("measurementModeCnfg", 5, "int"), 0),
                        withDefault(F::item("rfLevel", -50.5), -50.0), withDefault(F::item("name", "mine"), "default"),
                        withDefault(F::item("noDefault", 3.0), QJsonValue()),
                        withDefault(F::item("dataSource", 1, "int"), 0)}),
             F::module("tetraMod", {withDefault(F::item("isCurrentSource", true), false)}),
             F::module("cableLoss", {withDefault(F::item("calStart", 1.0), 0.0)})}),
    });
}

// What the application holds now, as its own save-configuration writes it.
QJsonObject appSettings(const QString &app)
{
    QString reply = "OK";
    ELFClientInterface::getSessionBusClient("gem.base." + app)
        ->callAction(QStringLiteral(":action:%1:%2_reg_module:saveconfig:").arg(app, app.chopped(4)),
                     "/tmp/check.oxs,0,", &reply, 5000);
    return reply == "OK" ? readObject("/tmp/check.oxs") : QJsonObject();
}

QVariant itemValue(const QString &service, const QString &address)
{
    ELFClientItem *item = ELFClientInterface::getSessionBusClient(service)->item(address);
    return item ? item->getValue() : QVariant();
}

// A map file: "technology/firmware" at 30 and the measurement at 110, inside the block 16..255.
QByteArray mapFile(const QByteArray &technology, const QByteArray &measure)
{
    QByteArray data(400, '\x01');
    data.replace(30, technology.size() + 1, technology + '\0');
    return data.replace(110, measure.size(), measure);
}

// One PNG chunk: length, type, data and its checksum (`badCrc` spoils it).
QByteArray pngChunk(const QByteArray &type, const QByteArray &data, bool badCrc = false)
{
    QByteArray chunk(4, '\0'), tail(4, '\0');
    qToBigEndian(quint32(data.size()), chunk.data());
    chunk += type + data;
    const quint32 crc
        = quint32(crc32(0, reinterpret_cast<const Bytef *>(chunk.constData() + 4), uInt(chunk.size() - 4)));
    qToBigEndian(badCrc ? ~crc : crc, tail.data());
    return chunk + tail;
}

// A PNG that claims a 16000 x 16000 picture (nobody may decode it) with the chunks given before and after
// its data; nothing after its end counts.
QByteArray hugePng(const QByteArray &chunks, const QByteArray &after = {})
{
    return QByteArray("\x89PNG\r\n\x1a\n", 8) + pngChunk("IHDR", QByteArray::fromHex("00003e8000003e800806000000"))
        + chunks + pngChunk("IDAT", QByteArray(64, 'x')) + pngChunk("IDAT", QByteArray(64, 'y')) + after
        + pngChunk("IEND", {}) + pngChunk("tEXt", QByteArrayLiteral("Z\0past/end"));
}
} // namespace

class TestSave : public QObject
{
    Q_OBJECT

    SimFixture m_sim;

    // What reached the simulator since the last call.
    Journal taken()
    {
        const Journal entries = m_sim.journal();
        m_sim.clearJournal();
        return entries;
    }

private Q_SLOTS:
    void initTestCase()
    {
        // Relative paths (the leading-dash case) land in a scratch folder of the user storage.
        QVERIFY(QDir().mkpath("/user/work") && QDir::setCurrent("/user/work") && !QFileInfo::exists("/user/TK520"));
    }

    // Every test starts from the model's values, no tab files and an empty folder for file operations.
    void init()
    {
        removeTabFiles();
        QDir(kOps).removeRecursively();
        QVERIFY(QDir().mkpath(kOps + "in"));
        m_sim.stop();
        QVERIFY2(m_sim.startJson(model()), qPrintable(m_sim.errorOutput()));
    }

    void storageTree()
    {
        HSave save;
        verifyOwned("/user/TK520");
        verifyOwned(kRoot);
        for (const char *dir : {"", "/results", "/setup", "/plotDeck", "/screenshots", "/freqLists", "/reports",
                                "/autotest", "/cables", "/channelPlan"})
            verifyOwned(kRoot + "/quillbox" + dir);
        QCOMPARE(QDir(kRoot + "/quillbox").entryList(QDir::Dirs | QDir::NoDotAndDotDot).size(), 9);
        QCOMPARE(save.getSaveLoadDir() + save.getDefaultDir(HSave::SAVE_SETUP), "/user/TK520/" + kSetupDir.chopped(1));
        QCOMPARE(save.getDefaultDir(HSave::SAVE_IQ_FILE), kRoot + "/quillbox/iqFiles");
        for (HSave::SaveType none : {HSave::SAVE_BACKUP, HSave::SAVE_MAX, HSave::SaveType(99)})
            QCOMPARE(save.getDefaultDir(none), kRoot);
        // The IQ folder is never made.
        QVERIFY(save.makeRootDir(kRoot + "/quillbox/iqFiles/x") && !QFileInfo::exists(kRoot + "/quillbox/iqFiles"));
        // The private folder is made as one level only and keeps the default mode.
        const QString hetnet = QStringLiteral("/base/qml_4410/hetnet_private");
        QVERIFY(save.makeRootDir(hetnet) && !QFileInfo::exists(hetnet) && QDir().mkdir("/base/qml_4410"));
        QVERIFY(save.makeRootDir(hetnet) && !save.makeRootDir(hetnet) && modeOf(hetnet) != 0775);
        // An existing folder reports false but is given ownership and mode all the same.
        const QString existing = kRoot + "/existing";
        QVERIFY(QDir().mkdir(existing) && ::chmod(QFile::encodeName(existing).constData(), 0700) == 0);
        QVERIFY(!save.makeRootDir(existing));
        verifyOwned(existing);
        // A stamped folder beside the named one; a taken name: false.
        const QDateTime before = QDateTime::currentDateTime();
        QVERIFY(save.makeDir(kSetupDir, "site A", true) && !save.makeDir(kSetupDir, "site A"));
        const QStringList made = QDir(kSetupDir).entryList(QDir::Dirs | QDir::NoDotAndDotDot, QDir::Name);
        QVERIFY2(made.size() == 2 && made.at(0) == "site A" && isStamped(made.at(1), "site A", "", before),
                 qPrintable(made.join(',')));
    }

    // Names from a keyboard: a call changes the folder it names only; a name may hold folders of its own but
    // never leave its folder. The interface's own folders are re-owned wherever they are.
    void hostileNamesStayInTheirFolder_data()
    {
        QTest::addColumn<QString>("call");
        QTest::addColumn<QString>("path");
        QTest::addColumn<QString>("name");
        QTest::addColumn<QString>("result");
        QTest::addColumn<QString>("changed"); // the only place that may change ("" for none)
        const QString up = QStringLiteral("../../../../../tmp/X"), file = kSetupDir + "f.stp";
        QTest::newRow("makeDir plain") << "makeDir" << kSetupDir << "site" << "true" << kSetupDir + "site";
        QTest::newRow("makeDir shell text") << "makeDir" << kSetupDir << kHostile << "true" << kSetupDir + kHostile;
        QTest::newRow("makeDir up") << "makeDir" << kSetupDir << up << "false" << "";
        QTest::newRow("makeDir nested") << "makeDir" << kSetupDir << "a/b" << "true" << kSetupDir + "a";
        QTest::newRow("makeDir absolute") << "makeDir" << kSetupDir << "/tmp/X" << "false" << "";
        QTest::newRow("makeDir up inside") << "makeDir" << kSetupDir << "a/../../X" << "false" << "";
        QTest::newRow("makeDir option") << "makeDir" << kSetupDir << "-R" << "false" << "";
        QTest::newRow("addFileDirectory")
            << "addFileDirectory" << file << "sub" << kSetupDir + "sub/f.stp" << kSetupDir + "sub";
        QTest::newRow("addFileDirectory nested")
            << "addFileDirectory" << file << "sub/deeper" << kSetupDir + "sub/deeper/f.stp" << kSetupDir + "sub";
        QTest::newRow("addFileDirectory up") << "addFileDirectory" << file << up << "" << "";
        QTest::newRow("makeRootDir shell text")
            << "makeRootDir" << kRoot + "/" + kHostile << "" << "true" << kRoot + "/" + kHostile;
        QTest::newRow("makeRootDir leading dash") << "makeRootDir" << "-R" << "" << "true" << "/user/work/-R";
        QTest::newRow("makeRootDir base folder")
            << "makeRootDir" << "/base/private" << "" << "false" << "/base/private";
        QTest::newRow("makeRootDir through a link")
            << "makeRootDir" << "/user/link/x" << "" << "true" << "/base/private/x";
        QTest::newRow("makeRootDir velmora folder")
            << "makeRootDir" << "/velmora/release/bin" << "" << "false" << "/velmora/release/bin";
        QTest::newRow("makeRootDir cust folder") << "makeRootDir" << "/cust/private/lastconfigs" << "" << "true"
                                                 << "/cust/private";
    }

    void hostileNamesStayInTheirFolder()
    {
        QFETCH(QString, call);
        QFETCH(QString, path);
        QFETCH(QString, name);
        QFETCH(QString, result);
        QFETCH(QString, changed);
        HSave save;
        QVERIFY(QDir().mkpath("/base/private") && QDir().mkpath("/velmora/release/bin"));
        QVERIFY(::chmod("/base/private", 0700) == 0 && ::chmod("/velmora/release/bin", 0700) == 0);
        QFile::link("/base/private", "/user/link");
        const QMap<QString, QString> before = sandboxState(changed);
        if (call == "makeDir") {
            QCOMPARE(save.makeDir(path, name) ? "true" : "false", result);
        } else if (call == "addFileDirectory") {
            QCOMPARE(save.addFileDirectory(path, name), result);
        } else {
            QCOMPARE(save.makeRootDir(path) ? "true" : "false", result);
        }
        COMPARE_STATE(sandboxState(changed), before);
        QVERIFY(changed.isEmpty() || QFileInfo(changed).isDir());
        if (call == "makeRootDir")
            verifyOwned(QFileInfo(path).isAbsolute() ? path : "/user/work/" + path);
        else if (result == "true" && call == "makeDir")
            verifyOwned(path + name);
    }

    // The usage is du's for any folder name, and a relative name is no option; hidden entries count for nothing.
    void folderFigures()
    {
        HSave save;
        const QString dir = kRoot + "/quillbox/results/" + kHostile, q = kRoot + "/quillbox/cables/q";
        QVERIFY(QDir().mkpath(dir) && QDir().mkpath("/user/work/-R") && QDir().mkpath(q + "/.hiddenDir"));
        writeFile(dir + "/two", QByteArray(400 * 1024 + 1, 'b'));
        writeFile("/user/work/-R/x", QByteArray(64 * 1024, 'x'));
        QProcess du;
        du.start("du", {"-s", dir});
        QVERIFY(du.waitForFinished() && save.getDirUsageSize("-R") >= 64 && save.getDirUsageSize(kRoot + "/none") == 0);
        const QByteArray expected = du.readAllStandardOutput();
        QCOMPARE(save.getDirUsageSize(dir), expected.split('\t').at(0).toInt());
        QCOMPARE(readFile("/tmp/DIR_SIZE"), expected);
        QVERIFY(save.isEmptyFolder(q) && save.getFileCountinDir(q) == 0 && save.getDirFreeSize(kRoot) > 0);
    }

    // Plain forms: true from fileCopy means done; true from fileMove and fileDelete means failed. Into a
    // folder: a taken name is refused without asking the starter; into its own folder a copy gets a
    // stamped name (base name up to the first dot, last suffix) and a move does nothing.
    void starterFileOperations()
    {
        HSave save;
        const QString src = kOps + "a b;'$(x).res", in = kOps + "in", moved = src + "|" + kOps + "r.x.res";
        writeFile(src, "A");
        QVERIFY(save.fileCopy(src, in) && !save.fileCopy(kOps + "none", in));
        QVERIFY(!save.fileMove(src, kOps + "r.x.res") && save.fileMove(src, kOps + "r.x.res"));
        QVERIFY(!save.fileDelete(in) && !QFileInfo::exists(in) && save.fileDelete(in) && QDir().mkdir(in));
        QCOMPARE(readFile(kOps + "r.x.res"), QByteArray("A"));
        QCOMPARE(taken(), (Journal{{kStarter, kCopy, src + "|" + in}, {kStarter, kCopy, kOps + "none|" + in},
                                   {kStarter, kMove, moved}, {kStarter, kMove, moved}, {kStarter, kDelete, in},
                                   {kStarter, kDelete, in}}));
        const QString r = kOps + "r.x.res";
        QCOMPARE(save.fileCopy(r, "r.x.res", in), int(HSave::COPY_TRUE));
        QCOMPARE(taken(), (Journal{{kStarter, kCopy, r + "|" + in}}));
        QVERIFY(save.fileCopy(r, "r.x.res", in) == HSave::COPY_EXIST
                && save.fileMove(r, "r.x.res", in) == HSave::COPY_EXIST);
        QVERIFY(taken().isEmpty());
        const QDateTime before = QDateTime::currentDateTime();
        QVERIFY(QDir().mkpath(in + "/set.d"));
        QCOMPARE(save.fileCopy(in + "/r.x.res", "r.x.res", in), int(HSave::COPY_TRUE));
        const Journal sent = taken();
        QVERIFY(sent.size() == 1 && sent.at(0).argument.startsWith(in + "/r.x.res|"));
        const QString copy = sent.at(0).argument.section('|', 1);
        QVERIFY2(isStamped(copy, in + "/r", ".res", before) && readFile(copy) == "A", qPrintable(copy));
        QVERIFY(save.fileMove(in + "/r.x.res", "r.x.res", in) == HSave::COPY_TRUE && taken().isEmpty());
        QCOMPARE(save.fileMove(r, "r.x.res", in + "/set.d"), int(HSave::COPY_TRUE));
        QVERIFY(readFile(in + "/set.d/r.x.res") == "A" && !QFileInfo::exists(r));
        // The map profiles send the same actions: a copy's true means done, a delete's true failed.
        HMapProFileList profiles;
        writeFile(kOps + "p.mpcv", "P");
        QVERIFY(profiles.fileCopy(kOps + "p.mpcv", in) && !profiles.fileDelete(in + "/p.mpcv"));
        QVERIFY(!QFileInfo::exists(in + "/p.mpcv") && readFile(kOps + "p.mpcv") == "P");
        QVERIFY(m_sim.setActionReply(kDelete, "Error: busy") && m_sim.setActionReply(kCopy, "Error: busy"));
        QVERIFY(profiles.fileDelete(kOps + "p.mpcv") && !profiles.fileCopy(kOps + "p.mpcv", in));
        QCOMPARE(save.fileCopy(kOps + "p.mpcv", "p.mpcv", in), int(HSave::COPY_FALSE));
        QVERIFY(m_sim.setActionReply(kDelete, "") && m_sim.setActionReply(kCopy, "") && !taken().isEmpty());
        // Refused, late (the reply stays "OK", the call returns at 500 ms) or without the starter.
        QVERIFY(m_sim.setActionReply(kMove, "Error: busy") && m_sim.setActionDelay(kCopy, 1500));
        writeFile(kOps + "s.res", "S");
        QCOMPARE(save.fileMove(kOps + "s.res", "s.res", in), int(HSave::COPY_FALSE));
        QVERIFY(save.fileCopy(kOps + "s.res", in) && !QFileInfo::exists(in + "/s.res"));
        QTRY_VERIFY_WITH_TIMEOUT(QFileInfo::exists(in + "/s.res"), 10000);
        m_sim.stop();
        QVERIFY(save.fileCopy(r, in) && !save.fileMove(kOps + "s.res", in) && !save.fileDelete(kOps + "s.res"));
        QCOMPARE(readFile(kOps + "s.res"), QByteArray("S"));
    }

    // A copy that cannot be made keeps the file it would have replaced; one that can replaces the name
    // itself (a link too, never what it points to) with the source's mode. An empty path names no folder,
    // least of all the working one.
    void localFileOperations()
    {
        HSave save;
        writeFile(kOps + "a.res", "A");
        writeFile(kOps + "b.res", "B");
        writeFile("/base/qml_4410/keep.res", "base");
        QVERIFY(::chmod(QFile::encodeName(kOps + "a.res"), 0640) == 0 && ::chmod(QFile::encodeName(kOps + "b.res"), 0604) == 0);
        QVERIFY(!save.qFileCopy(kOps + "a.res", kOps + "b.res", false) && readFile(kOps + "b.res") == "B");
        QVERIFY(!save.qFileCopy(kOps + "missing.res", kOps + "b.res", true) && readFile(kOps + "b.res") == "B");
        QVERIFY(save.qFileCopy(kOps + "a.res", kOps + "b.res", true) && readFile(kOps + "b.res") == "A");
        QVERIFY(save.qFileCopy(kOps + "a.res", kOps + "new.res", false) && modeOf(kOps + "new.res") == 0640);
        QCOMPARE(modeOf(kOps + "b.res"), 0640);
        QVERIFY(QFile::link("/base/qml_4410/keep.res", kOps + "lnk.res"));
        QVERIFY(save.qFileCopy(kOps + "a.res", kOps + "lnk.res", true) && !QFileInfo(kOps + "lnk.res").isSymLink());
        QVERIFY(readFile(kOps + "lnk.res") == "A" && readFile("/base/qml_4410/keep.res") == "base");
        QCOMPARE(QDir(kOps).entryList(QDir::Files | QDir::Hidden).join(' '), QStringLiteral("a.res b.res lnk.res new.res"));
        QVERIFY(QDir::setCurrent(kOps) && save.remove(QString(), "Folder") && QDir::setCurrent("/user/work"));
        QVERIFY(QFileInfo::exists(kOps + "a.res") && save.remove(kOps, "Folder") && !QFileInfo::exists(kOps));
    }

    // Tab files from the applications (one ModuleItems call per tab, none per item), the setup, the recall.
    void saveAndRecallASetup()
    {
        HSave save;
        QVERIFY(m_sim.setItem(kSpecan + "centreFreq:", 2.4e9) && m_sim.setItem(kDx + "rfLevel:", -20.25));
        const QJsonObject specan = appSettings("spectrumanalyzer_app"), dxtest = appSettings("dxtest_app");
        const QMap<QString, uint> before = m_sim.stats();
        m_sim.clearJournal();
        save.saveTabFileNew(0, "spectrumanalyzer_app", "unused");
        save.saveTabFileNew(1, "dxtest_app", "unused");
        QCOMPARE(m_sim.stat("ModuleItems") - before.value("ModuleItems"), 2u);
        QCOMPARE(m_sim.stat("Item") - before.value("Item"), 0u);
        QCOMPARE(taken(), (Journal{{kSa, kSaAction + "saveconfig:", "/tmp/Tab1.oxs,0,"},
                                   {kDxService, kDxAction + "saveconfig:", "/tmp/Tab2.oxs,0,"}}));
        save.addCommonHeader("TabCount", 2);
        // QML hands arrays and objects over as they come from JavaScript.
        QJSEngine js;
        save.addCommonHeader("Bands", QVariant::fromValue(js.evaluate("[3, 'n78', {a: 1}]")));
        const QString path = kSetupDir + "road trip.stp";
        QVERIFY(save.save(path));
        const QJsonObject header{{"TabCount", 2}, {"Bands", QJsonArray{3, "n78", QJsonObject{{"a", 1}}}}};
        QCOMPARE(readObject(path), QJsonObject({{"Header", header}, {"Tab1", specan}, {"Tab2", dxtest}}));
        // The user changes everything, then recalls the setup.
        QVERIFY(m_sim.setItem(kSpecan + "centreFreq:", 9e8) && m_sim.setItem(kDx + "rfLevel:", 0.0));
        removeTabFiles();
        HSave recall;
        QVERIFY(recall.loadSetup(path) && recall.getHeader("TabCount") == "2");
        QVERIFY(recall.loadTabFile(0, "spectrumanalyzer_app") && recall.loadTabFile(1, "dxtest_app"));
        QCOMPARE(taken(),
                 (Journal{{kSa, kSaAction + "startRecall:", "2"},
                          {kSa, kSaAction + "loadconfig:", "/tmp/Tab1.oxs"},
                          {kSa, kSaAction + "finishRecall:", ""},
                          {kDxService, kDxAction + "startRecall:", "5"},
                          {kDxService, kDxAction + "loadconfig:", "/tmp/Tab2.oxs"},
                          {kDxService, kDxAction + "finishRecall:", ""}}));
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
            "{\n    \"%1autoSweep:\": true,\n    \"%1centreFreq:\": 1000000000,\n"
            "    \"%1limits:doubleARRAY:\": [\n        \"1.5\",\n        \"2.12346\",\n        \"-1e-07\"\n    ],\n"
            "    \"%1measurementModeCnfg:\": 2,\n    \"%1title:\": \"site // A\",\n"
            "    \"%1traces:stringARRAY:\": [\n        \"Clear Write\",\n        \"Max\"\n    ]\n}\n").arg(kSpecan));
        // No file: nothing to recall. An application that is gone, or a file without the mode the
        // application must be told: false, and nothing reaches the applications that are there.
        QVERIFY(save.loadTabFile(3, "gone_app"));
        writeFile(tabFile(4), "{\":config:gone_app:gone_reg_module:measurementModeCnfg:\": 1}");
        writeFile(tabFile(1), kTab1);
        QVERIFY(!save.loadTabFile(3, "gone_app") && !save.loadTabFile(0, "spectrumanalyzer_app") && taken().isEmpty());
    }

    // The automated test's running state never goes into its tab file.
    void autotestTabFilesLoseTheRuntimeState()
    {
        m_sim.stop();
        QVERIFY2(m_sim.start(), qPrintable(m_sim.errorOutput())); // the built-in model plays the automated test
        HSave save;
        const QJsonObject written = appSettings("autotest_app");
        save.saveTabFileNew(0, "autotest_app", "");
        const QJsonObject tab = readObject(tabFile(1));
        QCOMPARE(tab.size(), written.size() - 100); // the automated test's 100 addresses of running state
        for (const QString &key : tab.keys())
            QCOMPARE(tab.value(key), written.value(key));
        // A file the application left cut short keeps nothing: it becomes an empty object.
        const QString saveConfig = ":action:autotest_app:autotest_reg_module:saveconfig:";
        QVERIFY(m_sim.setActionOutput(saveConfig, "{\":config:autotest_app:autotest_reg_module:x:\": [1,"));
        save.saveTabFileNew(0, "autotest_app", "");
        QCOMPARE(readFile(tabFile(1)), QByteArray("{\n}\n"));
    }

    // Tab files as people edit them; read from a file, lines that only parse joined still do, and bytes
    // that are no UTF-8 are read as the text would read them.
    void tabFileText_data()
    {
        QTest::addColumn<QByteArray>("text");
        QTest::addColumn<QVariantMap>("table");
        const QVariantMap ab{{":config:x:m:a:", 1.0}, {":config:x:m:b:", "text"}};
        QTest::newRow("comments, one-line list")
            << QByteArray("{\n  // a whole-line comment\n\t   // an indented one, with \"quotes\" and {braces\n"
                          "  \":config:x:m:a:\": 1, // the frequency\n"
                          "  \":config:autotest_app:autotest_reg_module:rFileList:\": [\"a\", \"b\"],\n"
                          "  \":config:x:m:b:\": \"text\"\n}\n")
            << ab;
        QTest::newRow("list over many lines, last")
            << QByteArray("{\n  \":config:x:m:a:\": 1,\n  \":config:x:m:b:\": \"text\",\n"
                          "  \":config:autotest_app:autotest_reg_module:rFileList:stringARRAY:\": [\n    \"a\",\n"
                          "    \"b\"\n  ]\n}\n")
            << ab;
        QTest::newRow("URL and escaped quote in values")
            << QByteArray("{\"a\": \"http://x/y\", \"b\": \"q\\\" // no comment\" // a comment \"\n}")
            << QVariantMap{{"a", "http://x/y"}, {"b", "q\" // no comment"}};
        QTest::newRow("cut short") << QByteArray("{\"a\": 1, // x\n \"b\": [") << QVariantMap();
        QTest::newRow("joined lines") << QByteArray("{\"a\": 1\n2}") << QVariantMap{{"a", 12.0}};
        QTest::newRow("no UTF-8") << QByteArray("{\"a\": \"\xff\"}") << QVariantMap{{"a", QString(QChar(0xFFFD))}};
    }

    void tabFileText()
    {
        QFETCH(QByteArray, text);
        QFETCH(QVariantMap, table);
        HSave save;
        QCOMPARE(save.fromJsonString(QString::fromUtf8(text)), table);
        writeFile(tabFile(1), text);
        save.setType(HSave::SAVE_BACKUP);
        QVERIFY(save.save("/tmp/backup.stp"));
        QCOMPARE(readObject("/tmp/backup.stp").value("Tab1").toObject(), QJsonObject::fromVariantMap(table));
    }

    // The tab count a set-up's header gives its readers, within the six tabs there are.
    void tabCountOfTheHeader_data()
    {
        QTest::addColumn<QVariant>("count");
        QTest::addColumn<int>("tabs");
        QTest::newRow("number") << QVariant(3) << 3;
        QTest::newRow("text") << QVariant("2") << 2;
        QTest::newRow("fraction, rounded") << QVariant(2.7) << 3;
        QTest::newRow("above six") << QVariant(7) << 6;
        QTest::newRow("huge") << QVariant(1e300) << 6;
        QTest::newRow("negative") << QVariant(-1) << 0;
        QTest::newRow("no number") << QVariant("two") << 0;
        QTest::newRow("missing") << QVariant() << 0;
    }
    void tabCountOfTheHeader()
    {
        QFETCH(QVariant, count);
        QFETCH(int, tabs);
        QMap<QString, QVariant> ui;
        SetupDocument setup(ui);
        if (count.isValid())
            setup.header().insert("TabCount", count);
        QCOMPARE(setup.tabCount(), tabs);
    }

    // The tab handshakes cut the last four characters of the name; a preset replaces every "_app".
    void settingsModulesOfAnApplication()
    {
        QCOMPARE(AppService::settingsModule("dxtest_app"), QString("dxtest_reg_module"));
        QCOMPARE(AppService::settingsModule("a_app_app"), QString("a_app_reg_module"));
        QCOMPARE(AppService::settingsModule("abc"), QString("_reg_module"));
        QCOMPARE(AppService::presetModule("a_app_app"), QString("a_reg_module_reg_module"));
        QCOMPARE(AppService::presetModule("plain"), QString("plain"));
    }

    // Settings written through a text stream are UTF-8, whatever the stream was set up for.
    void settingsThroughAStreamAreUtf8()
    {
        QFile file("/tmp/settings.json");
        QVERIFY(file.open(QIODevice::WriteOnly));
        QTextStream stream(&file);
#if QT_VERSION < QT_VERSION_CHECK(6, 0, 0)
        stream.setCodec("ISO 8859-1");
#else
        stream.setEncoding(QStringConverter::Latin1);
#endif
        HSave().saveVmToJson({{"site", QString::fromUtf8("Z\xc3\xbcrich \xe6\x97\xa5")}}, stream, file);
        QCOMPARE(readFile(file.fileName()), QByteArray("{\n    \"site\": \"Z\xc3\xbcrich \xe6\x97\xa5\"\n}\n"));
    }

    // Each kind of save writes its own members, indented; a logging set-up is read back by the logging reader.
    void saveWritesTheMembersOfEachType()
    {
        writeFile(tabFile(1), kTab1);
        writeFile(tabFile(2), kTab2);
        HSave save;
        save.clearAll();
        save.addCommonHeader("TabCount", 2);
        save.addCommonUI("reportCompanyCnfg", "ACME");
        QStringList members;
        for (int type : {0, 1, 2, 4, 5, 6, -1, 3}) {
            save.setType(type);
            QVERIFY(save.save("/tmp/a b.stp"));
            members << readObject("/tmp/a b.stp").keys().join('+');
        }
        QCOMPARE(members.join(' '),
                 QStringLiteral("Header Header+Tab1+Tab2 Header+Tab1  Header+Tab1+Tab2+UI Header  TabCount"));
        save.clearAll();
        QCOMPARE(readFile("/tmp/a b.stp"), QByteArray("{\n    \"TabCount\": 2\n}\n"));
        writeFile("/tmp/a b.grr", readFile("/tmp/a b.stp") + "{\"record\": 1}\n");
        QVERIFY(save.readHeader("/tmp/a b.grr", "grr"));
        QCOMPARE(save.getHeader("TabCount"), QStringLiteral("2"));
    }

    // A set-up holds every tab of its "TabCount" (none without it, six at most), or its header only and
    // false when a tab file is missing; a tab file that does not parse is an empty tab. Loading writes the
    // tab files back; a restore the first.
    void setupAndTabFiles()
    {
        HSave save;
        const QString path = QStringLiteral("/tmp/s.stp");
        save.addCommonHeader("TabCount", "2");
        writeFile(tabFile(1), kTab1);
        QVERIFY(!save.save(path) && readObject(path).keys() == QStringList{"Header"});
        writeFile(tabFile(2), "{\"A\": [1,");
        QTest::ignoreMessage(QtWarningMsg, "tab file does not parse, its table is empty: \"/tmp/Tab2.oxs\"");
        QVERIFY(save.save(path));
        QCOMPARE(readObject(path), (QJsonObject{{"Header", QJsonObject{{"TabCount", "2"}}},
                                                {"Tab1", QJsonDocument::fromJson(kTab1).object()}, {"Tab2", QJsonObject()}}));
        save.clearAll();
        QVERIFY(save.save(path) && readObject(path).keys() == QStringList{"Header"});
        save.addCommonHeader("TabCount", 0);
        QVERIFY(save.save(path) && readObject(path).keys() == QStringList{"Header"});
        for (int number = 1; number <= 7; ++number)
            writeFile(tabFile(number), QStringLiteral("{\"n\": %1}").arg(number).toUtf8());
        save.addCommonHeader("TabCount", 1e12);
        QVERIFY(save.save(path));
        QCOMPARE(readObject(path).keys(), (QStringList{"Header", "Tab1", "Tab2", "Tab3", "Tab4", "Tab5", "Tab6"}));
        QCOMPARE(readObject(path).value("Tab6").toObject().value("n").toInt(), 6);
        QVERIFY(!save.save("/tmp/no such dir/s.stp") && !QFileInfo::exists("/tmp/no such dir"));
        removeTabFiles();
        writeFile(path, R"({"Header": {"TabCount": 2, "Technology": "LTE"}, "UI": {"reportCompanyCnfg": "ACME"},
                            "Tab1": {"B": "one", "A": 1}, "Tab2": {"C": [1.5, "x"]}, "Tab3": {"D": 4}})");
        writeFile(tabFile(3), "untouched");
        QVERIFY(save.loadSetup(path));
        QCOMPARE(readFile(tabFile(1)) + readFile(tabFile(2)) + readFile(tabFile(3)),
                 QByteArray(
                     "{\n    \"A\": 1,\n    \"B\": \"one\"\n}\n{\n    \"C\": [\n        1.5,\n        \"x\"\n    ]\n}\n"
                     "untouched"));
        QCOMPARE(save.getHeader("Technology") + save.getUI("reportCompanyCnfg"), QStringLiteral("LTEACME"));
        // A second set-up with fewer tabs leaves no table of the first behind.
        writeFile("/tmp/one.stp", R"({"Header": {"TabCount": 1}, "Tab1": {"E": 5}})");
        QVERIFY(save.loadSetup("/tmp/one.stp"));
        removeTabFiles();
        save.addCommonHeader("TabCount", 2);
        save.setType(HSave::SAVE_LAST);
        QVERIFY(save.save("/tmp/last.stp") && readObject("/tmp/last.stp").value("Tab2") == QJsonObject());
        save.setType(HSave::SAVE_SETUP);
        QVERIFY(save.loadSetup(path));
        // A file that does not open changes nothing.
        QVERIFY(!save.loadSetup("/tmp/missing.stp") && save.getHeader("Technology") == "LTE");
        save.addCommonUI("reportSiteInfoCnfg", "roof");
        writeFile(path, R"({"Header": {"Technology": "GSM"}, "Tab1": {"A": true}, "Tab2": {"B": 1}})");
        removeTabFiles();
        QVERIFY(save.restoreSetup(path) && !save.restoreSetup("/tmp/missing.stp"));
        QCOMPARE(save.getHeader("Technology") + save.getUI("reportSiteInfoCnfg"), QStringLiteral("GSMroof"));
        QCOMPARE(readFile(tabFile(1)) + readFile(tabFile(2)), QByteArray("{\n    \"A\": true\n}\n<missing>"));
    }

    // Closing a tab moves the files after it down; numbers outside the six tabs touch no file.
    void tabFileHousekeeping()
    {
        HSave save;
        writeFile(tabFile(2), kTab2);
        writeFile(tabFile(3), kTab1);
        save.renameTabFile(2);
        QCOMPARE(readFile(tabFile(2)), kTab2);
        save.deleteTabFile(1);
        save.renameTabFile(2);
        QCOMPARE(readFile(tabFile(2)) + readFile(tabFile(3)), kTab1 + "<missing>");
        writeFile(tabFile(1), kTab1);
        writeFile(tabFile(7), kTab2);
        for (int bad : {-1, 6, 1000}) {
            save.deleteTabFile(bad);
            save.renameTabFile(bad);
            save.saveToTabJsonFile(bad);
            save.saveTabFile(bad, "x_app", "x");
            QVERIFY(!save.readTabFile(bad) && !save.loadTabFile(bad, "x_app"));
        }
        save.renameTabFile(0);
        QCOMPARE(readFile(tabFile(0)) + readFile(tabFile(1)) + readFile(tabFile(7)), "<missing>" + kTab1 + kTab2);
    }

    // Headers of saved files, read without trusting them. `header` lists "key=value" pairs split by "|";
    // before each read the table holds "kept" for Technology, Firmware and Address.
    void fileHeaders_data()
    {
        QTest::addColumn<QString>("kind");
        QTest::addColumn<QByteArray>("file"); // "<missing>": no file
        QTest::addColumn<bool>("ok");
        QTest::addColumn<QString>("header");
        const QString cleared = QStringLiteral("Technology=|Measure=|Firmware=");
        const QByteArray missing = "<missing>";
        // The text chunks are read without decoding the picture: a file may claim any size, any text
        // length, or a compressed text that would fill the memory.
        const QByteArray description = QByteArrayLiteral("Description\0LTE/Spectrum");
        // Compressed texts are zlib streams: qCompress without its length prefix.
        const QByteArray bomb = qCompress(QByteArray(20 << 20, ' ') + "GSM/Power").mid(4);
        QTest::newRow("png text")
            << "png" << hugePng(pngChunk("tEXt", description)) << true << "Technology=LTE|Measure=Spectrum|Firmware=";
        QTest::newRow("png international text")
            << "png" << hugePng(pngChunk("iTXt", QByteArrayLiteral("Description\0\0\0de\0\0") + "NR/\xc3\x9c")) << true
            << QString::fromUtf8("Technology=NR|Measure=\xc3\x9c");
        QTest::newRow("png compressed international text")
            << "png"
            << hugePng(pngChunk("iTXt", QByteArrayLiteral("Description\0\1\0\0\0") + qCompress("LTE/LTE-A/EVM").mid(4)))
            << true << "Technology=LTE/LTE-A|Measure=EVM";
        // All text entries make one text, by key; the description is what follows its last ": ".
        QTest::newRow("png text after the picture data")
            << "png" << hugePng(pngChunk("tEXt", description), pngChunk("tEXt", QByteArrayLiteral("Z\0after/data")))
            << true << "Technology=after|Measure=data|Firmware=";
        QTest::newRow("png bad checksum") << "png" << hugePng(pngChunk("tEXt", description, true)) << true << cleared;
        QTest::newRow("png length past the end") << "png" << QByteArray("\x89PNG\r\n\x1a\n\x7f\xff\xff\xff"
                                                               "tEXtDescription")
                                                 << true << cleared;
        QTest::newRow("png bomb")
            << "png" << hugePng(pngChunk("zTXt", QByteArrayLiteral("Description\0\0") + bomb)) << true << cleared;
        QTest::newRow("not a png") << "png" << QByteArray("GIF89a") << true << cleared;
        // The report writer appends "technology,measurement" after the closing "%%EOF" line. A line too
        // long to hold is passed over, and no piece of it counts as "%%EOF".
        QTest::newRow("pdf") << "pdf" << QByteArray("%PDF-1.4\r\nx\r\n%%EOF\r\nGSM,Power\r\n") << true
                             << "Technology=GSM|Measure=Power|Firmware=";
        QTest::newRow("pdf three parts") << "pdf" << QByteArray("%%EOF\nNR,ACLR,extra") << true << cleared;
        QTest::newRow("pdf missing") << "pdf" << missing << true << cleared;
        QTest::newRow("pdf long line") << "pdf" << QByteArray(4095, 'x') + "%%EOF\nNR,ACLR" << true << cleared;
        // Lines of up to 4095 bytes with their break are whole, wherever the file's blocks end.
        QTest::newRow("pdf after a line of 300 kB")
            << "pdf" << QByteArray(300000, 'x') + "\n%%EOF" + QByteArray(4089, '\r') + "\nNR,ACLR\r" << true
            << "Technology=NR|Measure=ACLR|Firmware=";
        QTest::newRow("pdf end line over the limit")
            << "pdf" << "%%EOF" + QByteArray(4090, '\r') + "\nNR,ACLR" << true << cleared;
        QTest::newRow("pdf trailer over the limit") << "pdf" << "%%EOF\nNR," + QByteArray(4093, 'A') << true << cleared;
        // Kinds are compared exactly: "GOM" is read as JSON.
        QTest::newRow("gom") << "gom" << mapFile("LTE/V2.1.3/x", QByteArray("RSRP Map", 9)) << true
                             << "Technology=LTE|Firmware=V2.1.3|Measure=RSRP Map";
        QTest::newRow("gom missing") << "gom" << missing << true << "Technology=kept|Firmware=kept";
        QTest::newRow("mcf missing") << "mcf" << missing << true << "Technology=kept|Firmware=kept";
        QTest::newRow("GOM")
            << "GOM" << mapFile("LTE/V2.1.3/x", "RSRP Map") << true << "Technology=|Firmware=|Measure=";
        QTest::newRow("setup") << "setup"
                               << QByteArray(R"({"Header": {"Technology": "NR", "Measure": "Beam", "TabCount": 2}})")
                               << true << "Technology=NR|Measure=Beam|TabCount=2|Firmware=";
        QTest::newRow("json missing") << "json" << missing << false << "";
        QTest::newRow("plain") << "dat" << missing << true << cleared;
        QTest::newRow("logging") << "grr" << QByteArray("{\"Technology\": \"P25\", \"Interval\": 5}\n1,2,3\n4,5,6\n")
                                 << true << "Technology=P25|Interval=5|Firmware=";
        QTest::newRow("logging without set-up") << "grrv" << QByteArray("1,2,3\n") << false << "Technology=kept";
    }

    void fileHeaders()
    {
        QFETCH(QString, kind);
        QFETCH(QByteArray, file);
        QFETCH(bool, ok);
        QFETCH(QString, header);
        const QString path = "/tmp/header." + kind;
        QFile::remove(path);
        if (file != "<missing>")
            writeFile(path, file);
        HSave save;
        for (const char *key : {"Technology", "Firmware", "Address"})
            save.addCommonHeader(key, "kept");
        QCOMPARE(save.readHeader(path, kind), ok);
        for (const QString &pair : header.split('|', Qt::SkipEmptyParts))
            QCOMPARE(save.getHeader(pair.section('=', 0, 0)), pair.section('=', 1));
    }

    // A result goes into the transfer file, recalled plainly (loadconfig) or onto a trace (loadResultActn).
    void resultRecall()
    {
        HSave save;
        const QString result = QStringLiteral("/tmp/r.res"), overlay = kSaAction + "loadResultActn:";
        QFile::remove(kTransfer);
        save.addCommonHeader("Stale", 1);
        save.setResultFile("Trace1", "spectrumanalyzer_app", 0, false);
        QVERIFY(!save.readResult(result) && taken().isEmpty());
        writeFile(result, QStringLiteral("{\"Header\": {\"Technology\": \"GSM\"}, \"Tab1\": {\"%1centreFreq:\": 7.5e8, "
                                         "\":config:x:y:z:\": \"a b\"}}").arg(kSpecan).toUtf8());
        QVERIFY(save.readResult(result));
        QCOMPARE(save.getHeader("Technology") + save.getHeader("Stale"), QStringLiteral("GSM"));
        QCOMPARE(readFile(kTransfer), QStringLiteral("{\n    \"%1centreFreq:\": 750000000,\n"
                                                     "    \":config:x:y:z:\": \"a b\"\n}\n").arg(kSpecan).toUtf8());
        save.setResultFile("Trace3", "spectrumanalyzer_app", 1001, true);
        save.setOverlay(HSave::LOAD_OVERLAY);
        save.setResultFile("Trace3", "spectrumanalyzer_app", 0, false);
        save.setResultFile(QString(), "spectrumanalyzer_app", 0, false);
        save.setOverlay(2);
        save.setResultFile("Trace4", "spectrumanalyzer_app", 0, true);
        QCOMPARE(taken(), (Journal{{kSa, kSaAction + "loadconfig:", kTransfer}, {kSa, overlay, kTransfer + ":3"},
                                   {kSa, overlay, kTransfer + ":0"}, {kSa, overlay, kTransfer}}));
        QTRY_COMPARE(itemValue(kSa, kSpecan + "centreFreq:").toDouble(), 7.5e8);
    }

    // Runs only in the sandbox: "reboot" is the recording stub there.
    void factoryResetDeletesThenRestarts()
    {
        HSave save;
        QFile::remove(kCommandsLog);
        QVERIFY(QDir().mkpath("/cust/private/lastconfigs") && QDir().mkpath("/base/qml_4410/hetnet_private"));
        save.factoryReset();
        const Journal deletions = {{kStarter, kDelete, "/user/TK520/internal/"},
                                   {kStarter, kDelete, "/cust/private/lastconfigs/"},
                                   {kStarter, kDelete, "/base/qml_4410/hetnet_private/"},
                                   {kStarter, kDelete, "/var/lib/redis/appendonly.aof"}};
        QCOMPARE(taken(), deletions);
        QCOMPARE(readFile(kCommandsLog), QByteArray("reboot\n"));
        // Refused deletions and an absent starter still end in the restart.
        QVERIFY(m_sim.setActionReply(kDelete, "Error: busy"));
        save.factoryReset();
        QCOMPARE(taken(), deletions);
        m_sim.stop();
        save.factoryReset();
        QCOMPARE(readFile(kCommandsLog), QByteArray("reboot\nreboot\nreboot\n"));
    }

    void presetOrFallBackToTheBuiltInAnalyser()
    {
        HSave save;
        const QString preset = kSaAction + "presetActn:";
        QVERIFY(save.presetAction("spectrumanalyzer_app"));
        QCOMPARE(taken(), (Journal{{kSa, preset, ""}}));
        QTRY_COMPARE(itemValue(kSa, kSpecan + "centreFreq:").toDouble(), 5e8);
        // A refused preset switches to the built-in analyser, by a write that does not wait for the starter.
        QVERIFY(m_sim.setActionReply(preset, "Error: measuring") && save.presetAction("spectrumanalyzer_app"));
        QTRY_COMPARE(m_sim.journal().size(), 2);
        QVERIFY(taken().at(1).argument.contains("spectrumAnalyzerBuildIn_app"));
        // No such application: nothing is sent and nothing is switched.
        QVERIFY(save.presetAction("gone_app") && taken().isEmpty());
    }

    // The application's items and a tab file back to their defaults (tab index 1 is "/tmp/Tab2.oxs").
    void backToDefaults()
    {
        HSave save;
        QVERIFY(save.resetAppElfItemsToDefaultValues("dxtest_app")
                && !save.resetAppElfItemsToDefaultValues("gone_app"));
        QTRY_COMPARE(m_sim.journal().size(), 3);
        QStringList written;
        for (const SimFixture::Entry &entry : taken())
            written.append(entry.address);
        written.sort();
        QCOMPARE(written, (QStringList{kDx + "name:", kDx + "rfLevel:", kTetra}));
        QTRY_COMPARE(itemValue(kDxService, kDx + "rfLevel:").toDouble(), -50.0);
        writeFile(tabFile(2),
                  QStringLiteral("{\n  // kept from the bench\n"
                                 "  \"%1rfLevel:\": -10,\n  \"%1name:\": \"bench\",\n  \"%1noDefault:\": 8,\n"
                                 "  \"%1measurementModeCnfg:\": 4,\n  \"%2\": true,\n"
                                 "  \"%1removedLastYear:\": \"old\"\n}\n")
                      .arg(kDx, kTetra)
                      .toUtf8());
        const QMap<QString, uint> before = m_sim.stats();
        QVERIFY(save.resetTabElfItemsToDefaultValues(2, "dxtest_app"));
        // The defaults come in one snapshot, not one call per entry.
        QCOMPARE(m_sim.stat("Snapshot") - before.value("Snapshot"), 1u);
        QCOMPARE(m_sim.stat("Item") - before.value("Item"), 0u);
        QCOMPARE(readObject(tabFile(2)), QJsonObject({{kDx + "rfLevel:", -50}, {kDx + "name:", "default"},
                                                      {kDx + "noDefault:", 8}, {kDx + "measurementModeCnfg:", 4},
                                                      {kTetra, true}, {kDx + "removedLastYear:", "old"}}));
        QVERIFY(taken().isEmpty());
        QVERIFY(!save.resetTabElfItemsToDefaultValues(5, "dxtest_app")
                && !save.resetTabElfItemsToDefaultValues(2, "gone_app"));
    }

    // The viewer gets the path as one argument and never as an option; an update package is never run.
    void documentPathIsOneArgument()
    {
        HSave save;
        const QString hostile
            = QString::fromUtf8("/user/TK520/my report's \"final\" $(touch /tmp/pwned); `id` \xc3\xa9.pdf");
        for (const QString &path :
             {hostile, QStringLiteral("-x"), QStringLiteral("--help"), QStringLiteral("a/-b.pdf")}) {
            QVERIFY(QDir().mkpath("/tmp/hbase-sim") && (QFile::remove(kCommandsLog) || true));
            const QMap<QString, QString> before = sandboxState("/tmp/hbase-sim");
            save.loadUpdatePackage(path + "; reboot");
            save.showDocumnet(path);
            const QString argument = path.startsWith('-') ? "./" + path : path;
            QTRY_COMPARE(QString::fromUtf8(readFile(kCommandsLog)), "documentviewer_open [" + argument + "]\n");
            COMPARE_STATE(sandboxState("/tmp/hbase-sim"), before);
        }
    }

    // The report takes technology and measurement from the interface table.
    void reportFromTheInterfaceTable()
    {
        HSave save;
        save.clearAll();
        save.addCommonUI("Technology", "DMR");
        save.addCommonUI("Measure", "Modulation");
        const QString path = QStringLiteral("/user/TK520/internal/quillbox/reports/r 1.pdf");
        save.savePDF(path, "On", "Off");
        QVERIFY(readFile(path).startsWith("%PDF-") && readFile(path).endsWith("%%EOF\nDMR,Modulation"));
    }
};

QTEST_MAIN(TestSave)
#include "tst_save.moc"
