#include <QtTest>

#include <QGuiApplication>
#include <QImage>
#include <QProcess>
#include <QRandomGenerator>
#include <QStorageInfo>

#include <csignal>
#include <grp.h>
#include <sys/resource.h>
#include <sys/stat.h>
#include <unistd.h>

#include "filewriter.h"
#include "hfavoritedb.h"
#include "hsave.h"
#include "hscreenshot.h"
#include "htagfile.h"
#include "persistentlog.h"
#include "programrunner.h"
#include "simfixture.h"
#include "testfiles.h"

namespace {
// A 64 KiB file system (see CMakeLists.txt); the site tags live in it, the other writers write there too.
const QString kSmall = QStringLiteral("/base/qml_4410/hetnet_private");
const QString kTagFile = kSmall + "/tagNameList.json";
const QByteArray kOld = "old content, a line\n";
// More than the room left on the full disk, and than the capped file size.
const QString kBig = QString(16 * 1024, QLatin1Char('x'));
const qint64 kFreeBytes = 8 * 1024;
const rlim_t kFileSizeCap = 8 * 1024;
const QString kAuto = QStringLiteral(":config:autotest_app:autotest_reg_module:");
const QString kSa = QStringLiteral(":config:sa_app:sa_reg_module:");
const char kChildArgument[] = "--save-until-killed";
const QString kKillSetup = QStringLiteral("/user/TK520/internal/quillbox/setup/killed.stp");
const QString kRounds[] = {QString(3000, QLatin1Char('A')), QString(5000, QLatin1Char('B'))};

QStringList filesIn(const QString &dir)
{
    return QDir(dir).entryList(QDir::Files | QDir::Hidden, QDir::Name);
}

// Writes until the disk is full, then frees a few KiB again. Only ever on the small file system: a
// private root is as big as half the memory.
void fillDisk()
{
    const QStorageInfo disk(kSmall);
    QVERIFY2(disk.rootPath() == kSmall && disk.bytesTotal() <= 1024 * 1024, "run through ctest (--small-fs)");
    QFile filler(kSmall + "/filler");
    QVERIFY(filler.open(QIODevice::WriteOnly | QIODevice::Unbuffered));
    const QByteArray chunk(4096, 'f');
    while (filler.write(chunk) == chunk.size()) {
    }
    filler.close();
    QVERIFY(filler.resize(filler.size() - kFreeBytes));
}

// The child of the kill test: saves a set-up and a site tag, alternating two contents, until killed.
int saveUntilKilled(int argc, char **argv)
{
    QGuiApplication app(argc, argv);
    HSave save;
    save.setType(HSave::SAVE_RESULT);
    HTagFile tags;
    for (int round = 0;; ++round) {
        const QString &value = kRounds[round % 2];
        save.addCommonHeader("Value", value);
        save.save(kKillSetup);
        tags.setTagName("Custom", 0, value);
        // One line a round: the parent kills after a random number of them.
        fputs("round\n", stdout);
        fflush(stdout);
    }
}
} // namespace

class TestFileWriter : public QObject
{
    Q_OBJECT

    SimFixture m_sim;

private Q_SLOTS:
    void initTestCase()
    {
        signal(SIGXFSZ, SIG_IGN); // writes past the size cap fail instead of ending the test
        HSave save; // the storage tree
        using F = SimFixture;
        QVERIFY2(m_sim.startJson(
                     F::model({F::app("sa_app",
                                      {F::module("sa_reg_module",
                                                 {F::item("measurementModeCnfg", 2, "int"), F::item("note", kBig)})}),
                               F::app("autotest_app",
                                      {F::module("autotest_reg_module",
                                                 {F::item("measurementModeCnfg", 1, "int"), F::item("runTime", 7),
                                                  F::item("note", kBig)})})})),
                 qPrintable(m_sim.errorOutput()));
    }

    void init()
    {
        for (const QString &name : filesIn(kSmall))
            QFile::remove(kSmall + '/' + name);
    }

    // On a full disk, or with every file capped at 8 KiB, every writer fails, keeps the previous file byte
    // for byte and leaves no temporary.
    void faultKeepsThePreviousFile_data()
    {
        QTest::addColumn<QString>("writer");
        QTest::addColumn<QString>("path");
        for (const char *writer : {"setup", "site tags", "favourites export", "screenshot", "report", "file writer"})
            QTest::newRow(writer) << writer << (qstrcmp(writer, "site tags") == 0 ? kTagFile : kSmall + "/target");
        QTest::newRow("setup recall") << "loadSetup" << "/tmp/Tab1.oxs";
        QTest::newRow("tab file") << "saveTabFile" << "/tmp/Tab1.oxs";
        QTest::newRow("automated-test tab file") << "saveTabFileNew" << "/tmp/Tab1.oxs";
        QTest::newRow("result recall") << "readResult" << "/tmp/LoadResult.oxs";
        QTest::newRow("tab-file reset") << "reset" << "/tmp/Tab1.oxs";
        QTest::newRow("logging set-up") << "loadUiSetup" << "/tmp/loggingLoadUiSetup.json";
    }

    void faultKeepsThePreviousFile()
    {
        QFETCH(QString, writer);
        QFETCH(QString, path);
        const QByteArray bigTab
            = QJsonDocument(QJsonObject{{kSa + "measurementModeCnfg:", 2}, {kSa + "note:", kBig}}).toJson();
        const QByteArray old = writer == "reset" ? bigTab : kOld;
        writeFile(path, old);
        writeFile("/tmp/in.stp", "{\"Header\": {\"TabCount\": 1}, \"Tab1\": " + bigTab + "}");
        writeFile("/tmp/in.grr",
                  QJsonDocument(QJsonObject{{"Technology", kBig}}).toJson(QJsonDocument::Compact) + "\nrecord\n");
        QImage noise(200, 200, QImage::Format_RGB32); // a capture that does not compress into the room left
        for (int y = 0; y < noise.height(); ++y)
            for (int x = 0; x < noise.width(); ++x)
                noise.setPixel(x, y, QRandomGenerator::global()->generate());
        QVERIFY(noise.save("/tmp/tempScreenShotHNA.png"));
        const QString favourite = "/user/tarnwick5G/internal/.favorite/group/a.stav";
        QVERIFY(QDir().mkpath(QFileInfo(favourite).path()));
        writeFile(favourite, kBig.toUtf8());
        const bool small = path.startsWith(kSmall);
        if (small)
            fillDisk();
        if (writer == "reset")
            QTest::ignoreMessage(QtWarningMsg, "temp file could not be renamed");
        HSave save;
        rlimit saved {};
        getrlimit(RLIMIT_FSIZE, &saved);
        rlimit capped = saved;
        capped.rlim_cur = small ? saved.rlim_cur : kFileSizeCap;
        setrlimit(RLIMIT_FSIZE, &capped);
        bool result = false;
        if (writer == "setup") {
            save.setType(HSave::SAVE_MPC);
            save.addCommonHeader("Name", kBig);
            result = save.save(path);
        } else if (writer == "site tags") {
            HTagFile().setTagName("Custom", 0, kBig);
        } else if (writer == "favourites export") {
            result = HFavoriteDB().exportDB(path);
        } else if (writer == "screenshot") {
            HScreenShot(nullptr).saveScreen(path, "Off", "LTE", "Spectrum");
        } else if (writer == "report") {
            save.savePDF(path, "Off", "On");
        } else if (writer == "file writer") {
            result = FileWriter::writeFile(path, kBig.toUtf8());
        } else if (writer == "loadSetup") {
            result = save.loadSetup("/tmp/in.stp");
        } else if (writer == "saveTabFile") {
            save.saveTabFile(0, "sa_app", "");
        } else if (writer == "saveTabFileNew") {
            save.saveTabFileNew(0, "autotest_app", "");
        } else if (writer == "readResult") {
            result = save.readResult("/tmp/in.stp");
        } else if (writer == "reset") {
            result = save.resetTabElfItemsToDefaultValues(1, "sa_app");
        } else {
            result = persistentLog().loadUiSetup("/tmp/in.grr");
        }
        setrlimit(RLIMIT_FSIZE, &saved);
        QVERIFY(!result);
        if (writer == "saveTabFileNew") {
            // The application wrote the file; the rewrite that would drop the running state failed whole.
            const QJsonObject written = QJsonDocument::fromJson(readFile(path)).object();
            QVERIFY(written.value(kAuto + "runTime:").toInt() == 7
                    && written.value(kAuto + "note:").toString() == kBig);
        } else {
            QCOMPARE(readFile(path), old);
        }
        const QString dir = QFileInfo(path).path();
        QCOMPARE(QDir(dir).entryList({"." + QFileInfo(path).fileName() + ".*"}, QDir::Files | QDir::Hidden),
                 QStringList());
        if (small)
            QCOMPARE(filesIn(kSmall), (QStringList{"filler", QFileInfo(path).fileName()}));
    }

    // Killed at random moments while saving, the set-up and the tag file are always the old or the new one.
    void killedWhileSavingLeavesOldOrNew()
    {
        HTagFile().setTagName("Custom", 0, kRounds[0]);
        QByteArray setups[2];
        for (int round : {0, 1})
            setups[round] = QJsonDocument(QJsonObject{{"Header", QJsonObject{{"Value", kRounds[round]}}}}).toJson();
        QVERIFY(FileWriter::writeFile(kKillSetup, setups[0]));
        for (int kill = 0; kill < 200; ++kill) {
            QProcess child;
            child.setProcessChannelMode(QProcess::ForwardedErrorChannel);
            SimFixture::startProgram(child, QCoreApplication::applicationFilePath(),
                                     {QString::fromLatin1(kChildArgument)});
            QVERIFY(child.waitForStarted());
            const int rounds = QRandomGenerator::global()->bounded(1, 3);
            int done = 0;
            while (done < rounds && child.waitForReadyRead(10000))
                done += child.readAll().count('\n');
            QVERIFY(done >= rounds);
            // A random moment inside the next round, not a wait for anything.
            QThread::usleep(QRandomGenerator::global()->bounded(5000));
            ::kill(pid_t(child.processId()), SIGKILL);
            QVERIFY(child.waitForFinished());
            QCOMPARE(child.exitStatus(), QProcess::CrashExit);
            const QByteArray setup = readFile(kKillSetup);
            QVERIFY2(setup == setups[0] || setup == setups[1], setup.left(80).constData());
            const QJsonObject tagList
                = QJsonDocument::fromJson(readFile(kTagFile)).object().value("TagList").toObject();
            const QString custom = tagList.value("Custom1").toString();
            QVERIFY(tagList.size() == 90 && (custom == kRounds[0] || custom == kRounds[1]));
            // What a kill leaves behind is one hidden temporary file, which the next write removes.
            QVERIFY(QDir(kSmall).entryList({".*"}, QDir::Files | QDir::Hidden).size() <= 1);
        }
        HTagFile().setTagName("Custom", 0, kRounds[1]);
        QVERIFY(FileWriter::writeFile(kKillSetup, setups[1]));
        QCOMPARE(filesIn(kSmall), QStringList{"tagNameList.json"});
        QCOMPARE(filesIn(QFileInfo(kKillSetup).path()), QStringList{"killed.stp"});
    }

    // The next writer of a name removes what killed writers of it left, and nothing else.
    void leftoversOfKilledWriters()
    {
        const QString dir = QStringLiteral("/user/TK520/internal/left");
        QVERIFY(QDir().mkpath(dir));
        const QStringList kept{".a.b.stp.abcd1234", ".a.stp.abcd123", ".a.stp.ABCD1234", ".a.stp.abcd12345", "a.stp"};
        for (const QString &name : kept + QStringList{".a.stp.abcd1234", ".a.stp.0000zzzz"})
            writeFile(dir + '/' + name, kOld);
        FileWriter open(dir + "/a.stp");
        QVERIFY(open.open() && open.write("still being written"));
        QVERIFY(FileWriter::writeFile(dir + "/a.stp", "new"));
        QCOMPARE(filesIn(dir).size(), kept.size() + 1); // the open writer's own temporary file stays
        QVERIFY(open.commit());
        QCOMPARE(filesIn(dir), (QStringList{".a.b.stp.abcd1234", ".a.stp.ABCD1234", ".a.stp.abcd123", ".a.stp.abcd12345",
                                            "a.stp"}));
        QCOMPARE(readFile(dir + "/a.stp"), QByteArray("still being written"));
    }

    // Programs writing under their own accounts in the file's group keep their access.
    void resavingKeepsOwnerGroupAndMode()
    {
        if (geteuid() != 0)
            QSKIP("only root gives files to other owners");
        const gid_t users = getgrnam("users")->gr_gid;
        const QString path = QStringLiteral("/user/TK520/internal/quillbox/setup/owned.stp");
        const QByteArray native = QFile::encodeName(path);
        writeFile(path, kOld);
        QVERIFY(chown(native.constData(), 1000, users) == 0 && chmod(native.constData(), 0640) == 0);
        HSave save;
        save.setType(HSave::SAVE_RESULT);
        QVERIFY(save.save(path));
        struct stat after {};
        QVERIFY(stat(native.constData(), &after) == 0);
        QCOMPARE(QVector<uint>({after.st_uid, after.st_gid, after.st_mode & 07777}),
                 QVector<uint>({1000, users, 0640}));
        QCOMPARE(readFile(path), QJsonDocument(QJsonObject{{"Header", QJsonObject()}}).toJson());
    }

    // What the writer refuses, where a link leads, and that an abandoned write leaves nothing behind.
    void writerRefusesAndFollowsLinks()
    {
        const QString dir = QStringLiteral("/user/TK520/internal/w");
        QVERIFY(QDir().mkpath(dir + "/sub"));
        QVERIFY(!FileWriter::writeFile(dir + "/sub", "x") && !FileWriter::writeFile(dir + "/missing/f", "x"));
        writeFile(dir + "/real", kOld);
        QVERIFY(QFile::link(dir + "/real", dir + "/link") && FileWriter::writeFile(dir + "/link", "new"));
        QVERIFY(QFileInfo(dir + "/link").isSymLink() && readFile(dir + "/real") == "new");
        FileWriter createOnly(dir + "/real"), fresh(dir + "/fresh");
        createOnly.setCreateOnly(true);
        QVERIFY(!createOnly.open() && readFile(dir + "/real") == "new");
        fresh.setCreateOnly(true);
        QVERIFY(fresh.open() && fresh.write("a") && fresh.write("b"));
        writeFile(dir + "/fresh", "appeared meanwhile");
        QVERIFY(!fresh.commit() && readFile(dir + "/fresh") == "appeared meanwhile");
        {
            FileWriter abandoned(dir + "/abandoned");
            QVERIFY(abandoned.open() && abandoned.write("half"));
        }
        QCOMPARE(filesIn(dir), (QStringList{"fresh", "link", "real"}));
    }

    // A program's status and output; one that outlives its time is reported and killed, or left to finish.
    void programsWithinTheirTime()
    {
        QCOMPARE(ProgramRunner::run("sh", {"-c", "echo \"$1\"; exit 3", "sh", "a b;'$(x)"}, 5000, ProgramRunner::Kill,
                                    "/tmp/out"),
                 3);
        QCOMPARE(readFile("/tmp/out"), QByteArray("a b;'$(x)\n"));
        QCOMPARE(ProgramRunner::run("no-such-program", {}, 5000, ProgramRunner::Kill), -1);
        QElapsedTimer timer;
        timer.start();
        QTest::ignoreMessage(QtWarningMsg, "program still running after its time-out: \"sh\" killed");
        QCOMPARE(ProgramRunner::run("sh", {"-c", "exec sleep 60"}, 100, ProgramRunner::Kill), -1);
        QVERIFY2(timer.elapsed() < 30000, qPrintable(QString::number(timer.elapsed())));
        QTest::ignoreMessage(QtWarningMsg, "program still running after its time-out: \"sh\" left running");
        QCOMPARE(ProgramRunner::run("sh", {"-c", "sleep 0.5; echo done > /tmp/finished"}, 100,
                                    ProgramRunner::LeaveRunning),
                 -1);
        QTRY_COMPARE_WITH_TIMEOUT(readFile("/tmp/finished"), QByteArray("done\n"), 30000);
        // Not waited for at all: started, and reaped by a later call.
        QCOMPARE(ProgramRunner::run("sh", {"-c", "echo now > /tmp/now"}, 0, ProgramRunner::LeaveRunning), -1);
        QTRY_COMPARE(readFile("/tmp/now"), QByteArray("now\n"));
    }

    // Output kept in memory: the error output is dropped, the end of the program ends the wait even while
    // a child it left holds the output open, and one that overruns is killed with what it printed so far.
    void programOutputInMemory()
    {
        ProgramRunner::Output output
            = ProgramRunner::capture("sh", {"-c", "printf 'a\\0b'; echo noise >&2; exit 4"}, 5000);
        QCOMPARE(output.text, QByteArray("a\0b", 3));
        QVERIFY(output.ended);
        QCOMPARE(output.status, 4);
        QElapsedTimer timer;
        timer.start();
        output = ProgramRunner::capture("sh", {"-c", "sleep 60 & echo left"}, 20000);
        QVERIFY2(timer.elapsed() < 20000, qPrintable(QString::number(timer.elapsed())));
        QCOMPARE(output.text, QByteArray("left\n"));
        QVERIFY(output.ended);
        QCOMPARE(output.status, 0);
        QTest::ignoreMessage(QtWarningMsg, "program still running after its time-out: \"sh\" killed");
        output = ProgramRunner::capture("sh", {"-c", "echo first; exec sleep 60"}, 300);
        QCOMPARE(output.text, QByteArray("first\n"));
        QVERIFY(!output.ended);
        QCOMPARE(output.status, -1);
        output = ProgramRunner::capture("no-such-program", {}, 5000);
        QVERIFY(!output.ended && output.text.isEmpty());
        // More than a pipe holds, and more than is kept: the program is never left blocked on its output.
        output = ProgramRunner::capture("sh", {"-c", "head -c 5000000 /dev/zero"}, 20000);
        QVERIFY(output.ended);
        QCOMPARE(output.text, QByteArray(4 * 1024 * 1024, '\0'));
    }

    // A file system without hard links (FAT) refuses link(): a create-only write is still one exclusive step.
    void createOnlyWithoutHardLinks()
    {
        const QString dir = QStringLiteral("/user/TK520/internal/fat");
        QVERIFY(QDir().mkpath(dir));
        for (int refusal : {EPERM, EOPNOTSUPP}) {
            static int s_refusal;
            s_refusal = refusal;
            FileWriter::setLinkCall([](const char *, const char *) { errno = s_refusal; return -1; });
            const auto restore = qScopeGuard([] { FileWriter::setLinkCall(nullptr); });
            FileWriter fresh(dir + "/fresh"), taken(dir + "/fresh");
            fresh.setCreateOnly(true);
            taken.setCreateOnly(true);
            QVERIFY(fresh.open() && taken.open() && fresh.write("new") && taken.write("other"));
            QVERIFY(fresh.commit() && !taken.commit());
            QCOMPARE(taken.errorString(), QStringLiteral("cannot create it: File exists"));
            QVERIFY(readFile(dir + "/fresh") == "new" && filesIn(dir) == QStringList{"fresh"});
            QVERIFY(QFile::remove(dir + "/fresh"));
        }
    }
};

int main(int argc, char **argv)
{
    if (argc > 1 && qstrcmp(argv[1], kChildArgument) == 0)
        return saveUntilKilled(argc, argv);
    QGuiApplication app(argc, argv);
    TestFileWriter test;
    QTEST_SET_MAIN_SOURCE_PATH
    return QTest::qExec(&test, argc, argv);
}

#include "tst_filewriter.moc"
