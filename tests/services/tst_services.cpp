// The device services: the desktop handler, the file query, the audio volume and the environment.
#include <QtTest>
#include <QtDBus>
#include <private/qhooks_p.h>

#include <unistd.h>

#include "comtorvanelabsplatformdesktopinterface.h"
#include "deskhandler.h"
#include "fileexists.h"
#include "hbasevolume.h"
#include "henvironment.h"
#include "simfixture.h"
#include "testfiles.h"

namespace {
const QString kDesktop = QStringLiteral("com.torvanelabs.platform.Desktop");
const QString kDesktopPath = QStringLiteral("/com/torvanelabs/platform/Desktop");
const char kConnected[] = "Connnected Desktop service : com.torvanelabs.platform.Desktop";
const QString kToolPath = QStringLiteral("/velmora/release/bin/cmsend");
// The command tool's state: the levels it keeps, canned answers, the command lines it received.
const QString kState = QStringLiteral("/tmp/hbase-sim/");

// Every QObject alive, to count the desktop interfaces the handler makes and must free.
QMutex g_liveMutex;
QSet<QObject *> g_live;

int liveInterfaces()
{
    QMutexLocker lock(&g_liveMutex);
    return int(std::count_if(g_live.cbegin(), g_live.cend(), [](QObject *object) {
        return qobject_cast<ComTorvanelabsPlatformDesktopInterface *>(object) != nullptr;
    }));
}

// The command lines the tool received since the last call.
QStringList takeCommands()
{
    const QByteArray log = readFile(kState + "commands.log");
    QFile::remove(kState + "commands.log");
    return log == "<missing>" ? QStringList() : QString(log).split('\n', Qt::SkipEmptyParts);
}

// The values a spy saw.
QString changes(const QSignalSpy &spy)
{
    QStringList values;
    for (const QVariantList &arguments : spy)
        values << arguments.value(0).toString();
    return values.join(',');
}
}

class TestServices : public QObject
{
    Q_OBJECT

    SimFixture m_sim;

    void startSimulator() { QVERIFY2(m_sim.isRunning() || m_sim.start(), qPrintable(m_sim.errorOutput())); }

private Q_SLOTS:
    void initTestCase()
    {
        qtHookData[QHooks::AddQObject] = reinterpret_cast<quintptr>(+[](QObject *o) {
            QMutexLocker l(&g_liveMutex);
            g_live.insert(o);
        });
        qtHookData[QHooks::RemoveQObject] = reinterpret_cast<quintptr>(+[](QObject *o) {
            QMutexLocker l(&g_liveMutex);
            g_live.remove(o);
        });
    }

    void cleanupTestCase() { qtHookData[QHooks::AddQObject] = qtHookData[QHooks::RemoveQObject] = 0; }

    // No test leaves a desktop interface behind, whether cleanUp was called, pending or never called.
    void cleanup()
    {
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
        QCOMPARE(liveInterfaces(), 0);
        QDir(kState).removeRecursively();
    }

    void deskHandlerConnections()
    {
        m_sim.stop();
        // What the bus says about the absent service, as the handler must pass it on.
        ComTorvanelabsPlatformDesktopInterface probe(kDesktop, kDesktopPath, QDBusConnection::sessionBus());
        const QString busError = QDBusConnection::sessionBus().interface()->serviceOwner(kDesktop).error().message();
        QVERIFY2(!probe.isValid() && busError.contains(kDesktop), qPrintable(busError));
        const QByteArray invalidLine = ("Client DBus Interface not valid, error: " + busError).toUtf8();

        // The construction's error arrives once the event loop runs, when QML has connected to it (a
        // spy attached after construction sees it); a later failure is signalled at once.
        QTest::ignoreMessage(QtCriticalMsg, invalidLine);
        DeskHandler handler;
        QSignalSpy errors(&handler, &DeskHandler::error);
        QTRY_COMPARE(errors, (QList<QVariantList>{{busError}}));
        QTest::ignoreMessage(QtCriticalMsg, invalidLine);
        QCOMPARE(handler.setupDbusConnection(kDesktop, kDesktopPath), false);
        QCOMPARE(errors, (QList<QVariantList>{{busError}, {busError}}));

        // The service comes up later. The failed interface starts tracking the new owner by itself,
        // yet it was never connected: the retry must give a connected one. The probe, on the same
        // connection, shows when the handler's interface has seen the service (and its signals) too.
        startSimulator();
        QTRY_VERIFY(probe.isValid());
        QTest::ignoreMessage(QtCriticalMsg, kConnected);
        QCOMPARE(handler.setupDbusConnection(kDesktop, kDesktopPath), true);
        // Connected: no new interface (one for this absent service would fail) and no second connection.
        QCOMPARE(handler.setupDbusConnection("some.other.Service", "/x"), true);
        QCOMPARE(liveInterfaces(), 2); // the probe and the handler's new one: the failed one is gone
        QSignalSpy raised(&handler, &DeskHandler::taskRaised);
        QSignalSpy heard(&probe, SIGNAL(TaskRaised(QString, QString)));
        QTest::ignoreMessage(QtDebugMsg, "slotTaskRaised : \"Spectrum\" , \"17\"");
        QVERIFY(m_sim.raiseTask("Spectrum", "17"));
        QTRY_COMPARE(heard.count(), 1);
        QCOMPARE(raised, (QList<QVariantList>{{"Spectrum", "17"}}));

        // After cleanUp nothing arrives any more.
        handler.cleanUp();
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
        QVERIFY(m_sim.raiseTask("Late", "5"));
        QTRY_COMPARE(heard.count(), 2);
        QCOMPARE(raised.count(), 1);
        QCOMPARE(errors.count(), 2);
        // Nothing left to clean up; a new connection is made again.
        handler.cleanUp();
        QTest::ignoreMessage(QtCriticalMsg, kConnected);
        QCOMPARE(handler.setupDbusConnection(kDesktop, kDesktopPath), true);
    }

    // The task manager's answer `task "NAME"`, read by the tool; null, not merely empty, otherwise.
    void lastRaisedTask_data()
    {
        addColumns<bool, QString, QByteArray, QString>({"tool", "file", "bytes", "task"}); // file: of the tool's state
        QTest::newRow("no tool") << false << "last_raised_task" << QByteArray("Spectrum\n") << QString();
        QTest::newRow("nothing raised yet") << true << "" << QByteArray() << QString();
        QTest::newRow("raised") << true << "last_raised_task" << QByteArray("Spectrum\n") << "Spectrum";
        QTest::newRow("name with a space")
            << true << "last_raised_task" << QByteArray("Spectrum Analyzer\n") << QString();
        QTest::newRow("white space") << true << "cmsend.output" << QByteArray("task \"Map\t\tView\"\t\n") << "Map View";
        QTest::newRow("zero byte")
            << true << "cmsend.output" << QByteArrayLiteral("task \"Cable\"\0 and more") << "Cable";
        QTest::newRow("one field") << true << "cmsend.output" << QByteArray("task\n") << QString();
        QTest::newRow("three fields") << true << "cmsend.output" << QByteArray("task  \"Cable\"\n") << QString();
        QTest::newRow("empty answer") << true << "cmsend.output" << QByteArray("") << QString();
        QTest::newRow("answers too late") << true << "cmsend.delay" << QByteArray("3") << QString();
        QTest::newRow("overruns after answering") << true << "cmsend.linger" << QByteArray("3") << QString();
    }

    void lastRaisedTask()
    {
        QFETCH(bool, tool);
        QFETCH(QString, file);
        QFETCH(QByteArray, bytes);
        QFETCH(QString, task);
        startSimulator();
        QTest::ignoreMessage(QtCriticalMsg, kConnected);
        DeskHandler handler;
        QFile::remove(kToolPath);
        QVERIFY(!tool || (QDir().mkpath(QFileInfo(kToolPath).path())
                          && QFile::copy(qEnvironmentVariable("HBASE_SOURCE_DIR") + "/sim/bin/cmsend", kToolPath)));
        if (file.startsWith("cmsend.")) // what the misbehaving tool would have answered
            writeFile(kState + "last_raised_task", "Spectrum\n");
        if (!file.isEmpty())
            writeFile(kState + file, bytes);
        const QString answer = handler.lastRaisedTask();
        QCOMPARE(answer, task);
        QCOMPARE(answer.isNull(), task.isNull());
        QCOMPARE(takeCommands(),
                 tool ? QStringList{"cmsend [guitaskmgr] [cmd] [get_last_raised_task]"} : QStringList());
        handler.cleanUp(); // still pending when the handler goes: released once, not twice
    }

    // Only a file lists back as itself. Names are split at spaces but never reach a shell, and never
    // become options of ls ("-R" would list the whole tree); a long listing reaches the log cut short.
    void fileExists_data()
    {
        for (const char *path : {"/tmp/q/full/a.txt", "/tmp/q/with space", "/tmp/q/x;touch", "/tmp/o/-R"})
            writeFile(QString::fromUtf8(path), {});
        QVERIFY(QDir().mkpath("/tmp/o/sub/deeper"));
        QString tree = "deeper\n";
        for (int i = 0; i < 100; ++i) {
            tree += QStringLiteral("file%1\n").arg(i, 3, 10, QLatin1Char('0'));
            writeFile("/tmp/o/sub/" + tree.section('\n', -2, -2), {});
        }
        addColumns<QString, QString, bool>({"name", "listing", "exists"}); // listing: as logged
        QTest::newRow("file") << "/tmp/q/full/a.txt" << "/tmp/q/full/a.txt" << true;
        QTest::newRow("folder") << "/tmp/q/full" << "a.txt" << false;
        QTest::newRow("missing") << "/tmp/q/missing.txt" << "" << false;
        QTest::newRow("space") << "/tmp/q/with space" << "" << false;
        QTest::newRow("semicolon") << "/tmp/q/x;touch /tmp/q/pwned" << "" << false;
        QTest::newRow("substitution") << "/tmp/q/$(touch /tmp/q/pwned)" << "" << false;
        QTest::newRow("option") << "-R /tmp/o" << "/tmp/o:\n-R\nsub" << false;
        QTest::newRow("long listing") << "/tmp/o/sub" << tree.left(200) + "..." << false;
    }

    void fileExists()
    {
        QFETCH(QString, name);
        QFETCH(QString, listing);
        QFETCH(bool, exists);
        FileExists query;
        QSignalSpy changed(&query, &FileExists::existsChanged);
        // The trace lines go to standard error: this process's is sent to a file meanwhile.
        QTemporaryFile capture("/tmp/stderr-XXXXXX");
        QVERIFY(capture.open());
        fflush(stderr);
        const int saved = dup(STDERR_FILENO);
        dup2(capture.handle(), STDERR_FILENO);
        const bool result = query.queryForFile(name);
        fflush(stderr);
        dup2(saved, STDERR_FILENO);
        close(saved);
        QCOMPARE(result, exists);
        QCOMPARE(changes(changed), exists ? "true" : "");
        QVERIFY(!QFile::exists("/tmp/q/pwned"));
        if (!listing.isEmpty())
            QCOMPARE(readFile(capture.fileName()),
                     QStringLiteral("queryForFile %1\nqueryForFile test for [%1], output [%2], return %3\n")
                         .arg(name, listing)
                         .arg(int(exists))
                         .toUtf8());
    }

    // Setters clamp, write and report a change (150 differs from the stored 50: written as 100 and
    // reported); polling reports only what changed, as the tool says it (unclamped).
    void volume_data()
    {
        // A step ("PROPERTY VALUE" or "poll") after a state file of the tool is written (for a
        // poll, none: no tool at all); the levels, changes (volume|mic|mute) and command written after.
        addColumns<QString, QString, QByteArray, QString, QString, QString>(
            {"step", "file", "bytes", "levels", "changes", "written"});
        QTest::newRow("volume over")
            << "volume 150" << "" << QByteArray() << "100 30 0" << "100||" << "[SOUND_VOLUME] [100]";
        QTest::newRow("volume under") << "volume -5" << "" << QByteArray() << "0 30 0" << "0||" << "[SOUND_VOLUME] [0]";
        QTest::newRow("volume same") << "volume 50" << "" << QByteArray() << "50 30 0" << "||" << "";
        QTest::newRow("mic over")
            << "micVolume 250" << "" << QByteArray() << "50 100 0" << "|100|" << "[SOUND_IN_VOL] [100]";
        QTest::newRow("mute") << "mute 1" << "" << QByteArray() << "50 30 1" << "||true" << "[SOUND_MUTE] [YES]";
        QTest::newRow("mute same") << "mute 0" << "" << QByteArray() << "50 30 0" << "||" << "";
        QTest::newRow("poll volume") << "poll" << "SOUND_VOLUME" << QByteArray("250\n") << "250 30 0" << "250||" << "";
        QTest::newRow("poll, case-sensitive")
            << "poll" << "SOUND_MUTE" << QByteArray("yes\n") << "50 30 0" << "||" << "";
        QTest::newRow("poll, zero byte")
            << "poll" << "cmsend.output" << QByteArray("SOUND_VOLUME 42\0 99 YES\n", 24) << "42 42 0" << "42|42|" << "";
        QTest::newRow("poll, junk")
            << "poll" << "cmsend.output" << QByteArray("SOUND_VOLUME  high\nYES ") << "0 0 1" << "0|0|true" << "";
        QTest::newRow("poll, no tool") << "poll" << "" << QByteArray() << "0 0 0" << "0|0|" << "";
    }

    void volume()
    {
        QFETCH(QString, step);
        QFETCH(QString, file);
        QFETCH(QByteArray, bytes);
        QFETCH(QString, written);
        HBaseVolume volume;
        const QString get = "cmsend [ctrlpanelsvc] [cmd] [get] ";
        QCOMPARE(takeCommands(), (QStringList{get + "[SOUND_VOLUME]", get + "[SOUND_IN_VOL]", get + "[SOUND_MUTE]"}));
        QSignalSpy volumeSpy(&volume, &HBaseVolume::volumeChanged);
        QSignalSpy micSpy(&volume, &HBaseVolume::micVolumeChanged);
        QSignalSpy muteSpy(&volume, &HBaseVolume::muteChanged);
        const QByteArray path = qgetenv("PATH");
        if (!file.isEmpty())
            writeFile(kState + file, bytes);
        else if (step == "poll")
            qputenv("PATH", "/nonexistent");
        if (step == "poll")
            volume.pollServiceForValues();
        else
            volume.setProperty(qPrintable(step.section(' ', 0, 0)), step.section(' ', 1).toInt());
        qputenv("PATH", path);
        QTEST(QStringLiteral("%1 %2 %3").arg(volume.volume()).arg(volume.micVolume()).arg(volume.mute()), "levels");
        QTEST(changes(volumeSpy) + '|' + changes(micSpy) + '|' + changes(muteSpy), "changes");
        if (step != "poll")
            QCOMPARE(takeCommands(),
                     written.isEmpty() ? QStringList() : QStringList{"cmsend [ctrlpanelsvc] [cmd] [set] " + written});
    }

    // The failed service is read on every call: unset, empty, non-ASCII, unset again.
    // Each read takes the variable as it is now; a value that differs from the last one read is announced
    // once, after the read.
    void failedService()
    {
        qunsetenv("FAILED_SERVICE");
        HEnvironment env;
        QSignalSpy changed(&env, &HEnvironment::failedServiceChanged);
        const char *const values[] = {nullptr, "", "gem.base.d\xc3\xa9mod_app", nullptr};
        for (int step = 0; step < 4; ++step) {
            const char *value = values[step];
            value ? qputenv("FAILED_SERVICE", value) : qunsetenv("FAILED_SERVICE");
            for (int read = 0; read < 2; ++read)
                QCOMPARE(env.property("failedService").toString(), value ? QString::fromUtf8(value) : "Unknown service");
            QCoreApplication::processEvents();
            QCOMPARE(changed.count(), step); // the first value is the one read at construction
        }
    }
};

QTEST_GUILESS_MAIN(TestServices)
#include "tst_services.moc"
