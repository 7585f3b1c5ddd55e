// hbase-sim: the instrument's services on the D-Bus session bus, for running the interface and its
// tests on a PC. See README.md ("The simulator") and simmodel.cpp for the model file format.
#include "desktopservice.h"
#include "elfwire.h"
#include "simcontrol.h"
#include "simulator.h"

#include <QCommandLineParser>
#include <QCoreApplication>
#include <QDBusConnection>
#include <QDBusConnectionInterface>
#include <QFile>
#include <cstdio>

static const char *kDefaultModel = ":/models/default.json";

static int fail(const QString &message, int code)
{
    fputs(qPrintable(QStringLiteral("hbase-sim: %1\n").arg(message)), stderr);
    return code;
}

static bool claim(QDBusConnection &bus, const QString &name)
{
    const auto reply = bus.interface()->registerService(name, QDBusConnectionInterface::DontQueueService,
                                                        QDBusConnectionInterface::DontAllowReplacement);
    return reply.isValid() && reply.value() == QDBusConnectionInterface::ServiceRegistered;
}

int main(int argc, char *argv[])
{
    QCoreApplication app(argc, argv);
    QCoreApplication::setApplicationName(QStringLiteral("hbase-sim"));

    QCommandLineParser parser;
    parser.setApplicationDescription(QStringLiteral("Simulator of the instrument's parameter and desktop services."));
    parser.addHelpOption();
    const QCommandLineOption modelOption(QStringLiteral("model"),
                                         QStringLiteral("JSON model of the applications (default: the built-in one)."),
                                         QStringLiteral("file"));
    const QCommandLineOption verboseOption(QStringLiteral("verbose"),
                                           QStringLiteral("Log every request on one line to standard error."));
    parser.addOption(modelOption);
    parser.addOption(verboseOption);
    parser.process(app);

    const QString modelPath
        = parser.isSet(modelOption) ? parser.value(modelOption) : QString::fromLatin1(kDefaultModel);
    QFile modelFile(modelPath);
    if (!modelFile.open(QIODevice::ReadOnly))
        return fail(QStringLiteral("cannot read model %1").arg(modelPath), 2);

    ElfWire::registerTypes();
    SimControl::registerTypes();
    Simulator simulator;
    simulator.setVerbose(parser.isSet(verboseOption));
    QString error;
    if (!simulator.loadModel(modelFile.readAll(), &error))
        return fail(QStringLiteral("model %1: %2").arg(modelPath, error), 2);

    QDBusConnection bus = QDBusConnection::sessionBus();
    if (!bus.isConnected())
        return fail(QStringLiteral("no session bus: %1").arg(bus.lastError().message()), 3);
    if (!simulator.publish(&error))
        return fail(error, 3);

    DesktopService desktop;
    SimControl control(&simulator, &desktop);
    const auto exported = QDBusConnection::ExportAllSlots | QDBusConnection::ExportAllSignals;
    if (!bus.registerObject(QString::fromLatin1(DesktopService::objectPath), &desktop, exported)
        || !bus.registerObject(QString::fromLatin1(SimControl::objectPath), &control, exported))
        return fail(QStringLiteral("cannot export the desktop and control objects"), 3);
    // The control name comes last: whoever sees it knows every other service is ready.
    if (!claim(bus, QString::fromLatin1(DesktopService::serviceName))
        || !claim(bus, QString::fromLatin1(SimControl::serviceName)))
        return fail(QStringLiteral("cannot own the desktop or control name (is another simulator running?)"), 3);

    return app.exec();
}
