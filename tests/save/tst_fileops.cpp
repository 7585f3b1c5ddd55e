#include <QtTest>

#include "hsave.h"
#include "savetestfiles.h"
#include "simfixture.h"

namespace {
const QString kDir = QStringLiteral("/user/TK520/internal/quillbox/results");
const QString kStarter = QStringLiteral("gem.base.starter_app");
const QString kCopy = QStringLiteral(":action:starter_app:starter_reg_module:fileCopy:");
const QString kMove = QStringLiteral(":action:starter_app:starter_reg_module:fileMove:");
const QString kDelete = QStringLiteral(":action:starter_app:starter_reg_module:fileDelete:");

QJsonObject starterModel()
{
    return SimFixture::model({SimFixture::app(
        "starter_app", {SimFixture::module("starter_reg_module", {SimFixture::item("appNameCnfg", "specan_app")})})});
}

} // namespace

class TestFileOps : public QObject
{
    Q_OBJECT

    SimFixture m_sim;

    QVector<SimFixture::Entry> actions()
    {
        QVector<SimFixture::Entry> sent = m_sim.journal();
        m_sim.clearJournal();
        return sent;
    }

private Q_SLOTS:
    void init()
    {
        if (!m_sim.isRunning())
            QVERIFY2(m_sim.startJson(starterModel()), qPrintable(m_sim.errorOutput()));
        QDir(kDir).removeRecursively();
        QVERIFY(QDir().mkpath(kDir + "/in"));
        m_sim.clearJournal();
    }

    // Plain forms: true from fileCopy means done; true from fileMove and fileDelete means failed.
    void starterActionsAndTheirResultSenses()
    {
        HSave save;
        const QString src = kDir + "/a b;'$(x).res";
        writeFile(src, "A");
        QTest::ignoreMessage(QtDebugMsg, qPrintable(QStringLiteral("fileCopy1: \"%1\" \"%2\"").arg(src, kDir + "/in")));
        QVERIFY(save.fileCopy(src, kDir + "/in"));
        QCOMPARE(readFile(kDir + "/in/a b;'$(x).res"), QByteArray("A"));
        QVERIFY(!save.fileCopy(kDir + "/none", kDir + "/in"));
        QCOMPARE(actions(), (QVector<SimFixture::Entry>{{kStarter, kCopy, src + "|" + kDir + "/in"},
                                                       {kStarter, kCopy, kDir + "/none|" + kDir + "/in"}}));

        QVERIFY(!save.fileMove(src, kDir + "/moved.res"));
        QCOMPARE(readFile(kDir + "/moved.res"), QByteArray("A"));
        QVERIFY(!QFileInfo::exists(src));
        QVERIFY(save.fileMove(src, kDir + "/moved.res"));
        QTest::ignoreMessage(QtDebugMsg, qPrintable(QStringLiteral("===================HSave::fileDelete=> \"%1\"").arg(kDir + "/in")));
        QVERIFY(!save.fileDelete(kDir + "/in"));
        QVERIFY(!QFileInfo::exists(kDir + "/in"));
        QVERIFY(save.fileDelete(kDir + "/in"));
        QCOMPARE(actions(), (QVector<SimFixture::Entry>{{kStarter, kMove, src + "|" + kDir + "/moved.res"},
                                                       {kStarter, kMove, src + "|" + kDir + "/moved.res"},
                                                       {kStarter, kDelete, kDir + "/in"},
                                                       {kStarter, kDelete, kDir + "/in"}}));
    }

    void copyAndMoveIntoAFolder()
    {
        HSave save;
        writeFile(kDir + "/r.x.res", "R");
        QCOMPARE(save.fileCopy(kDir + "/r.x.res", "r.x.res", kDir + "/in"), int(HSave::COPY_TRUE));
        QCOMPARE(readFile(kDir + "/in/r.x.res"), QByteArray("R"));
        QCOMPARE(actions(), (QVector<SimFixture::Entry>{{kStarter, kCopy, kDir + "/r.x.res|" + kDir + "/in"}}));

        // Taken by another file: refused without asking the starter.
        QCOMPARE(save.fileCopy(kDir + "/r.x.res", "r.x.res", kDir + "/in"), int(HSave::COPY_EXIST));
        QCOMPARE(save.fileMove(kDir + "/r.x.res", "r.x.res", kDir + "/in"), int(HSave::COPY_EXIST));
        QVERIFY(actions().isEmpty());

        // Into its own folder: a copy gets a stamped name (base name up to the first dot, last suffix).
        const QDateTime before = QDateTime::currentDateTime();
        QTest::ignoreMessage(QtDebugMsg, qPrintable(QStringLiteral("fileCopy2: \"%1/in/r.x.res\" \"r.x.res\" \"%1/in\"").arg(kDir)));
        QCOMPARE(save.fileCopy(kDir + "/in/r.x.res", "r.x.res", kDir + "/in"), int(HSave::COPY_TRUE));
        const QVector<SimFixture::Entry> sent = actions();
        const QString copy = sent.value(0).argument.section('|', 1);
        QCOMPARE(sent.size(), 1);
        QCOMPARE(sent.at(0).argument.section('|', 0, 0), kDir + "/in/r.x.res");
        QVERIFY2(isStamped(copy, kDir + "/in/r", ".res", before), qPrintable(copy));
        QCOMPARE(readFile(copy), QByteArray("R"));

        // A folder copied into its own parent gets no suffix.
        QVERIFY(QDir().mkpath(kDir + "/in/set.d"));
        writeFile(kDir + "/in/set.d/f", "F");
        QCOMPARE(save.fileCopy(kDir + "/in/set.d", "set.d", kDir + "/in"), int(HSave::COPY_TRUE));
        const QString folderCopy = actions().value(0).argument.section('|', 1);
        QVERIFY2(isStamped(folderCopy, kDir + "/in/set", QString(), before), qPrintable(folderCopy));
        QCOMPARE(readFile(folderCopy + "/f"), QByteArray("F"));

        // A move into its own folder does nothing.
        QCOMPARE(save.fileMove(kDir + "/in/r.x.res", "r.x.res", kDir + "/in"), int(HSave::COPY_TRUE));
        QVERIFY(actions().isEmpty());
        QCOMPARE(save.fileMove(kDir + "/r.x.res", "r.x.res", kDir + "/in/set.d"), int(HSave::COPY_TRUE));
        QCOMPARE(readFile(kDir + "/in/set.d/r.x.res"), QByteArray("R"));
        QVERIFY(!QFileInfo::exists(kDir + "/r.x.res"));

        QVERIFY(m_sim.setActionReply(kCopy, "Error: disk full") && m_sim.setActionReply(kMove, "Error: busy"));
        writeFile(kDir + "/s.res", "S");
        QCOMPARE(save.fileCopy(kDir + "/s.res", "s.res", kDir + "/in"), int(HSave::COPY_FALSE));
        QCOMPARE(save.fileMove(kDir + "/s.res", "s.res", kDir + "/in"), int(HSave::COPY_FALSE));
        QVERIFY(!QFileInfo::exists(kDir + "/in/s.res"));
        QVERIFY(m_sim.setActionReply(kCopy, QString()) && m_sim.setActionReply(kMove, QString()));
    }

    // A late answer counts as not answered: the reply stays "OK", and the call returns at 500 ms.
    void slowStarter()
    {
        HSave save;
        writeFile(kDir + "/slow.res", "S");
        QVERIFY(m_sim.setActionDelay(kCopy, 3000));
        QElapsedTimer timer;
        timer.start();
        QVERIFY(save.fileCopy(kDir + "/slow.res", kDir + "/in"));
        qInfo("slow starter answered after %lld ms", timer.elapsed());
        QVERIFY(!QFileInfo::exists(kDir + "/in/slow.res"));
        QTRY_VERIFY_WITH_TIMEOUT(QFileInfo::exists(kDir + "/in/slow.res"), 10000);
        QVERIFY(m_sim.setActionDelay(kCopy, 0));
    }

    void starterAbsent()
    {
        HSave save;
        writeFile(kDir + "/a.res", "A");
        m_sim.stop();
        QVERIFY(save.fileCopy(kDir + "/a.res", kDir + "/in"));
        QVERIFY(!save.fileMove(kDir + "/a.res", kDir + "/in"));
        QVERIFY(!save.fileDelete(kDir + "/a.res"));
        QCOMPARE(save.fileCopy(kDir + "/a.res", "a.res", kDir + "/in"), int(HSave::COPY_TRUE));
        QCOMPARE(save.fileMove(kDir + "/a.res", "a.res", kDir + "/in"), int(HSave::COPY_TRUE));
        QCOMPARE(readFile(kDir + "/a.res"), QByteArray("A"));
        QVERIFY(!QFileInfo::exists(kDir + "/in/a.res"));
    }

    void localCopyDeleteRename()
    {
        HSave save;
        writeFile(kDir + "/a.res", "A");
        writeFile(kDir + "/b.res", "B");
        QVERIFY(!save.qFileCopy(kDir + "/a.res", kDir + "/b.res", false));
        QCOMPARE(readFile(kDir + "/b.res"), QByteArray("B"));
        QVERIFY(save.qFileCopy(kDir + "/a.res", kDir + "/b.res", true));
        QCOMPARE(readFile(kDir + "/b.res"), QByteArray("A"));
        // A copy that cannot be made keeps the file it would have replaced.
        QVERIFY(!save.qFileCopy(kDir + "/missing.res", kDir + "/b.res", true));
        QCOMPARE(readFile(kDir + "/b.res"), QByteArray("A"));
        QVERIFY(save.qFileDelete(kDir + "/b.res"));
        QVERIFY(save.qFileCopy(kDir + "/a.res", kDir + "/b.res", false));

        QTest::ignoreMessage(QtDebugMsg, qPrintable(QStringLiteral("oldName= \"%1/b.res\"    newName= \"%1/f.res\"").arg(kDir)));
        QVERIFY(save.renameFile(kDir + "/b.res", kDir + "/f.res"));
        QCOMPARE(readFile(kDir + "/f.res"), QByteArray("A"));
        QVERIFY(!save.renameFile(kDir + "/a.res", kDir + "/f.res"));
        QCOMPARE(readFile(kDir + "/f.res"), QByteArray("A"));
    }

    void removeFilesAndFolders()
    {
        HSave save;
        QVERIFY(QDir().mkpath(kDir + "/tree/sub"));
        writeFile(kDir + "/tree/sub/x", "x");
        for (const QString &kind : {QStringLiteral("folder"), QStringLiteral("File"), QString()})
            QVERIFY(save.remove(kDir + "/tree", kind));
        QVERIFY(QFileInfo::exists(kDir + "/tree/sub/x"));
        QVERIFY(save.remove(kDir + "/tree", QStringLiteral("Folder")));
        QVERIFY(!QFileInfo::exists(kDir + "/tree"));

        writeFile(kDir + "/plain", "p");
        QVERIFY(save.remove(kDir + "/plain", QStringLiteral("FOLDER")));
        QVERIFY(!QFileInfo::exists(kDir + "/plain"));
        QVERIFY(save.remove(kDir + "/plain", QStringLiteral("File")));

        // An empty path names no folder, least of all the working directory.
        QVERIFY(QDir().mkpath(kDir + "/cwd"));
        writeFile(kDir + "/cwd/keep", "k");
        QVERIFY(QDir::setCurrent(kDir + "/cwd"));
        QVERIFY(save.remove(QString(), QStringLiteral("Folder")));
        QVERIFY(QDir::setCurrent(QStringLiteral("/")));
        QCOMPARE(readFile(kDir + "/cwd/keep"), QByteArray("k"));
    }

    void nameBuilders()
    {
        HSave save;
        writeFile(kDir + "/taken.stp", "");
        const QDateTime now = QDateTime::currentDateTime();
        QVERIFY(isStamped(save.getAppendix("/x/name"), "/x/name", QString(), now));
        QVERIFY(isStamped(save.getFileAppendix(kDir + "/taken", "stp"), kDir + "/taken", QString(), now));
        QCOMPARE(save.getFileAppendix(kDir + "/taken", "pdf"), kDir + "/taken");
        QTest::ignoreMessage(QtDebugMsg, "getFileNameAppendix \"free\"");
        QCOMPARE(save.getFileNameAppendix(kDir, "free", "stp"), QStringLiteral("free"));
        QVERIFY(isStamped(save.getFileNameAppendix(kDir, "taken", "stp"), "taken", QString(), now));

        QCOMPARE(save.addFileDirectory(kDir + "/a.res", "old runs"), kDir + "/old runs/a.res");
        QVERIFY(QFileInfo(kDir + "/old runs").isDir());
        QCOMPARE(save.fileSuffix("/a/b.tar.gz"), QStringLiteral("gz"));
        QCOMPARE(save.fileSuffix("/a.b/c"), QString());
    }
};

QTEST_GUILESS_MAIN(TestFileOps)
#include "tst_fileops.moc"
