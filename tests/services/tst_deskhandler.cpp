#include <QtTest>
#include <QDBusConnection>
#include <QDBusConnectionInterface>
#include <QQmlComponent>
#include <QQmlEngine>
#include <private/qhooks_p.h>
#include <private/qmetaobject_p.h>
#include <private/qobject_p.h>

#include "comtorvanelabsplatformdesktopinterface.h"
#include "deskhandler.h"
#include "simfixture.h"

namespace {
const QString kService = QStringLiteral("com.torvanelabs.platform.Desktop");
const QString kPath = QStringLiteral("/com/torvanelabs/platform/Desktop");
const QString kToolPath = QStringLiteral("/velmora/release/bin/cmsend");
const QString kStateDir = QStringLiteral("/tmp/hbase-sim");
const char kConnected[] = "Connnected Desktop service : com.torvanelabs.platform.Desktop";

// Errors emitted by any DeskHandler, including from inside its constructor, where no QSignalSpy can
// be attached yet: Qt's signal-spy hook sees every emission.
QStringList g_emittedErrors;

void watchSignal(QObject *caller, int signalIndex, void **argv)
{
    if (qstrcmp(caller->metaObject()->className(), "DeskHandler") != 0)
        return;
    if (QMetaObjectPrivate::signal(caller->metaObject(), signalIndex).name() == "error")
        g_emittedErrors << *reinterpret_cast<const QString *>(argv[1]);
}

// Every QObject alive that was made after initTestCase, so a test can count the desktop interfaces
// still alive: the handler makes them without a parent and must free every one it made.
QMutex g_liveMutex;
QSet<QObject *> g_live;

int liveInterfaces()
{
    QMutexLocker lock(&g_liveMutex);
    return int(std::count_if(g_live.cbegin(), g_live.cend(), [](QObject *object) {
        return qobject_cast<ComTorvanelabsPlatformDesktopInterface *>(object) != nullptr;
    }));
}

void writeState(const QString &name, const QByteArray &bytes)
{
    QDir().mkpath(kStateDir);
    QFile file(kStateDir + QLatin1Char('/') + name);
    QVERIFY(file.open(QIODevice::WriteOnly | QIODevice::Truncate));
    file.write(bytes);
}
}

class TestDeskHandler : public QObject
{
    Q_OBJECT

private:
    // The desktop service is hbase-sim's; each test says whether it wants it on the bus.
    void startSimulator()
    {
        if (!m_sim.isRunning())
            QVERIFY2(m_sim.start(), qPrintable(m_sim.errorOutput()));
    }

    SimFixture m_sim;

private Q_SLOTS:
    void initTestCase()
    {
        static QSignalSpyCallbackSet callbacks = {&watchSignal, nullptr, nullptr, nullptr};
        qt_register_signal_spy_callbacks(&callbacks);
        qtHookData[QHooks::AddQObject] = reinterpret_cast<quintptr>(+[](QObject *object) {
            QMutexLocker lock(&g_liveMutex);
            g_live.insert(object);
        });
        qtHookData[QHooks::RemoveQObject] = reinterpret_cast<quintptr>(+[](QObject *object) {
            QMutexLocker lock(&g_liveMutex);
            g_live.remove(object);
        });
    }

    void cleanupTestCase()
    {
        qtHookData[QHooks::AddQObject] = 0;
        qtHookData[QHooks::RemoveQObject] = 0;
    }

    // No test leaves a desktop interface behind, whether cleanUp was called, pending or never called.
    void cleanup()
    {
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
        QCOMPARE(liveInterfaces(), 0);
    }

    void absentServiceThenRetry()
    {
        m_sim.stop();
        // What the bus says about the absent service, as the handler must pass it on.
        ComTorvanelabsPlatformDesktopInterface probe(kService, kPath, QDBusConnection::sessionBus());
        QVERIFY(!probe.isValid());
        const QString busError = QDBusConnection::sessionBus().interface()->serviceOwner(kService).error().message();
        QVERIFY2(busError.contains(kService), qPrintable(busError));
        const QString invalidLine = QStringLiteral("Client DBus Interface not valid, error: ") + busError;

        // The construction's error arrives once the event loop runs, when QML has connected to it.
        g_emittedErrors.clear();
        QTest::ignoreMessage(QtCriticalMsg, qPrintable(invalidLine));
        DeskHandler handler;
        QVERIFY(g_emittedErrors.isEmpty());
        QSignalSpy errors(&handler, &DeskHandler::error);
        QTRY_COMPARE(errors, (QList<QVariantList>{{busError}}));

        QSignalSpy raised(&handler, &DeskHandler::taskRaised);
        QTest::ignoreMessage(QtCriticalMsg, qPrintable(invalidLine));
        QCOMPARE(handler.setupDbusConnection(kService, kPath), false);
        QCOMPARE(errors.count(), 2);
        QCOMPARE(errors.last(), QVariantList{busError});

        // The service comes up later. The failed interface starts tracking the new owner by itself,
        // yet it was never connected: the retry must still give a connected one.
        // The probe, on the same connection, shows when the handler's interface has seen it too.
        startSimulator();
        QTRY_VERIFY(probe.isValid());
        QTest::ignoreMessage(QtCriticalMsg, kConnected);
        QCOMPARE(handler.setupDbusConnection(kService, kPath), true);
        QCOMPARE(liveInterfaces(), 2); // the probe and the handler's new one: the failed one is gone

        QTest::ignoreMessage(QtDebugMsg, "slotTaskRaised : \"Spectrum\" , \"17\"");
        QVERIFY(m_sim.raiseTask("Spectrum", "17"));
        QTRY_COMPARE(raised, (QList<QVariantList>{{"Spectrum", "17"}}));
        QCOMPARE(errors.count(), 2);
    }

    void connectedHandlerKeepsItsInterface()
    {
        startSimulator();
        QTest::ignoreMessage(QtCriticalMsg, kConnected);
        DeskHandler handler;
        QSignalSpy raised(&handler, &DeskHandler::taskRaised);
        // Connected: no new interface (one for this absent service would fail) and no second connection.
        QCOMPARE(handler.setupDbusConnection("some.other.Service", "/x"), true);

        // One connection only: a single raise reaches QML once.
        QVERIFY(m_sim.raiseTask("Cable and Antenna", "3") && m_sim.raiseTask("5G NR", "4"));
        QTRY_COMPARE(raised.count(), 2);
        QCOMPARE(raised, (QList<QVariantList>{{"Cable and Antenna", "3"}, {"5G NR", "4"}}));

        // After cleanUp nothing arrives any more; a second handler, connected afterwards, is the
        // barrier that shows the raise went round the bus.
        handler.cleanUp();
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
        QTest::ignoreMessage(QtCriticalMsg, kConnected);
        DeskHandler barrier;
        QSignalSpy barrierRaised(&barrier, &DeskHandler::taskRaised);
        QVERIFY(m_sim.raiseTask("Late", "5"));
        QTRY_COMPARE(barrierRaised.count(), 1);
        QCOMPARE(raised.count(), 2);

        // cleanUp still pending when the handler goes: it is released once, not twice.
        barrier.cleanUp();
    }

    // What the interface does: a DesktopHandler in QML hears the raise.
    void qmlHearsRaisedTasks()
    {
        startSimulator();
        QQmlEngine engine;
        QQmlComponent component(&engine);
        component.setData("import QtQml 2.15\nimport HBase 1.0\n"
                          "DesktopHandler { property var heard: []\n"
                          "    onTaskRaised: heard = heard.concat([task_name + '|' + task_id]) }\n", QUrl());
        QTest::ignoreMessage(QtCriticalMsg, kConnected);
        QScopedPointer<QObject> handler(component.create());
        QVERIFY2(handler, qPrintable(component.errorString()));
        QVERIFY(m_sim.raiseTask("Coverage Mapping", "21"));
        QTRY_COMPARE(handler->property("heard").toStringList(), QStringList{"Coverage Mapping|21"});
    }

    void lastRaisedTask()
    {
        startSimulator();
        QTest::ignoreMessage(QtCriticalMsg, kConnected);
        DeskHandler handler;
        QVERIFY(handler.lastRaisedTask().isNull()); // no tool installed

        QVERIFY(QDir().mkpath(QFileInfo(kToolPath).path()));
        QVERIFY(QFile::copy(qEnvironmentVariable("HBASE_SOURCE_DIR") + "/sim/bin/cmsend", kToolPath));

        // The task manager knows what the desktop service raised last.
        QVERIFY(m_sim.raiseTask("Spectrum", "9"));
        QCOMPARE(handler.lastRaisedTask(), QStringLiteral("Spectrum"));
        QFile log(kStateDir + "/commands.log");
        QVERIFY(log.open(QIODevice::ReadOnly));
        QCOMPARE(log.readAll(), QByteArray("cmsend [guitaskmgr] [cmd] [get_last_raised_task]\n"));

        // A name with a space is three fields.
        QVERIFY(m_sim.raiseTask("Spectrum Analyzer", "10"));
        QVERIFY(handler.lastRaisedTask().isNull());

        // Null, not merely empty, where the answer is not two fields ("" is nothing raised yet).
        const std::pair<QByteArray, QString> outputs[] = {{"task \"Map\t\tView\"\t\n", "Map View"},
            {QByteArrayLiteral("task \"Cable\"\0 and more"), "Cable"}, {"task\n", {}}, {"task  \"Cable\"\n", {}}, {"", {}}};
        for (const auto &[output, expected] : outputs) {
            writeState("cmsend.output", output);
            const QString task = handler.lastRaisedTask();
            QCOMPARE(task, expected);
            QCOMPARE(task.isNull(), expected.isNull());
        }

        // A tool that answers after the second is over gives nothing.
        writeState("cmsend.output", "task \"Spectrum\"\n");
        writeState("cmsend.delay", "3");
        QElapsedTimer timer;
        timer.start();
        QVERIFY(handler.lastRaisedTask().isNull());
        qInfo("slow tool answered null after %lld ms", timer.elapsed());
    }
};

QTEST_GUILESS_MAIN(TestDeskHandler)
#include "tst_deskhandler.moc"
