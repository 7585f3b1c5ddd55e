#include "simfixture.h"

#include "elfwire.h"

#include <QCoreApplication>
#include <QDeadlineTimer>
#include <QtDBus>
#include <QFile>
#include <QJsonDocument>
#include <QTest>

namespace {
const QString kControlService = QStringLiteral("gem.base.simulator");
const int kStartTimeoutMs = 30000;
int s_modelCount = 0;

QString simulatorPath()
{
    const QString path = qEnvironmentVariable("HBASE_SIM");
    return path.isEmpty() ? qEnvironmentVariable("HBASE_BINARY_DIR") + QStringLiteral("/sim/hbase-sim") : path;
}

QDBusMessage control(const QString &method, const QVariantList &args = {})
{
    QDBusMessage call = QDBusMessage::createMethodCall(kControlService, QStringLiteral("/gem/base/simulator"),
                                                       QStringLiteral("gem.base.Simulator"), method);
    call.setArguments(args);
    const QDBusMessage reply = QDBusConnection::sessionBus().call(call, QDBus::Block, 5000);
    if (reply.type() != QDBusMessage::ReplyMessage)
        qWarning("SimFixture: %s", qPrintable(reply.errorMessage()));
    return reply;
}

bool ok(const QString &method, const QVariantList &args)
{
    return control(method, args).type() == QDBusMessage::ReplyMessage;
}

// The first argument of a control call's reply, as the bus handed it over.
QDBusArgument answer(const QString &method)
{
    const QDBusMessage reply = control(method);
    return reply.arguments().isEmpty() ? QDBusArgument() : reply.arguments().constFirst().value<QDBusArgument>();
}

QVariant wire(const QVariant &value) { return QVariant::fromValue(QDBusVariant(value)); }
}

static const QDBusArgument &operator>>(const QDBusArgument &arg, SimFixture::Entry &entry)
{
    arg.beginStructure();
    arg >> entry.service >> entry.address >> entry.argument;
    arg.endStructure();
    return arg;
}

SimFixture::SimFixture(QObject *parent) : QObject(parent) { ElfWire::registerTypes(); }

SimFixture::~SimFixture() { stop(); }

// In a cross build the programs of the build are the target's, run here through its emulator.
void SimFixture::startProgram(QProcess &process, const QString &program, const QStringList &arguments)
{
    const QStringList emulator = QProcess::splitCommand(qEnvironmentVariable("HBASE_EMULATOR"));
    if (emulator.isEmpty())
        process.start(program, arguments);
    else
        process.start(emulator.first(), emulator.mid(1) + QStringList{program} + arguments);
}

bool SimFixture::start(const QString &modelFile)
{
    stop();
    m_errors.clear();
    m_process = new QProcess(this);
    m_process->setProcessChannelMode(QProcess::ForwardedOutputChannel);
    startProgram(*m_process, simulatorPath(),
                 modelFile.isEmpty() ? QStringList() : QStringList{QStringLiteral("--model"), modelFile});
    if (!m_process->waitForStarted(kStartTimeoutMs) || !waitForBus(true)) {
        qWarning("SimFixture: hbase-sim did not come up: %s %s", qPrintable(m_process->errorString()),
                 qPrintable(errorOutput()));
        stop();
        return false;
    }
    return true;
}

bool SimFixture::startJson(const QJsonObject &model)
{
    const QString path = QStringLiteral("/tmp/hbase-sim-model-%1.json").arg(++s_modelCount);
    QFile file(path);
    return file.open(QIODevice::WriteOnly) && file.write(QJsonDocument(model).toJson()) > 0 && file.flush()
        && start(path);
}

void SimFixture::stop()
{
    if (!m_process)
        return;
    if (m_process->state() != QProcess::NotRunning) {
        control(QStringLiteral("Quit"));
        m_process->waitForFinished(5000); // one that hangs is killed as it is deleted
    }
    errorOutput();
    delete m_process;
    m_process = nullptr;
    waitForBus(false);
}

bool SimFixture::isRunning() const { return m_process && m_process->state() == QProcess::Running; }

QString SimFixture::errorOutput()
{
    if (m_process)
        m_errors += QString::fromLocal8Bit(m_process->readAllStandardError());
    return m_errors;
}

bool SimFixture::waitForBus(bool present)
{
    QDBusConnectionInterface *bus = QDBusConnection::sessionBus().interface();
    const QDeadlineTimer deadline(kStartTimeoutMs);
    while (!deadline.hasExpired()) {
        if (bus->isServiceRegistered(kControlService).value() == present) {
            // Let the connection deliver the NameOwnerChanged signals that arrived meanwhile, so
            // clients' isValid() already reflects the change when this returns.
            QCoreApplication::processEvents();
            return true;
        }
        if (present && !isRunning())
            return false;
        QTest::qWait(10);
    }
    return false;
}

QVector<SimFixture::Entry> SimFixture::journal() const { return qdbus_cast<QVector<Entry>>(answer("Journal")); }
void SimFixture::clearJournal() const { control("ClearJournal"); }
QMap<QString, uint> SimFixture::stats() const { return qdbus_cast<QMap<QString, uint>>(answer("Stats")); }
uint SimFixture::stat(const QString &method) const { return stats().value(method); }
bool SimFixture::setActionReply(const QString &address, const QString &reply) const
{
    return ok("SetActionReply", {address, reply});
}
bool SimFixture::setActionDelay(const QString &address, uint ms) const { return ok("SetActionDelay", {address, ms}); }
bool SimFixture::setActionOutput(const QString &address, const QString &text) const
{
    return ok("SetActionOutput", {address, text});
}
bool SimFixture::removeItem(const QString &address) const { return ok("RemoveItem", {address}); }
bool SimFixture::raiseTask(const QString &name, const QString &id) const { return ok("RaiseTask", {name, id}); }

bool SimFixture::setItem(const QString &address, const QVariant &value, const QVariant &initValue) const
{
    const QVariant init = initValue.isValid() ? ElfWire::toWire(initValue) : QVariant(QVariantMap());
    return ok("SetItem", {address, wire(ElfWire::toWire(value)), wire(init)});
}

bool SimFixture::streamChanges(const QString &address, uint perSecond, uint count) const
{
    return ok("StreamChanges", {address, perSecond, count});
}

QJsonObject SimFixture::model(const QJsonArray &apps) { return {{"applications", apps}}; }
QJsonObject SimFixture::app(const QString &name, const QJsonArray &modules)
{
    return {{"name", name}, {"modules", modules}};
}
QJsonObject SimFixture::module(const QString &name, const QJsonArray &items)
{
    return {{"name", name}, {"items", items}};
}

QJsonObject SimFixture::item(const QString &name, const QJsonValue &value, const QString &type, const QString &kind)
{
    QJsonObject json{{"name", name}, {"value", value}};
    if (!type.isEmpty())
        json.insert("type", type);
    if (!kind.isEmpty())
        json.insert("kind", kind);
    return json;
}
