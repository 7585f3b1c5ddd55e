#include "simfixture.h"

#include "elfwire.h"

#include <QCoreApplication>
#include <QDBusArgument>
#include <QDBusConnection>
#include <QDBusConnectionInterface>
#include <QDBusMessage>
#include <QDBusMetaType>
#include <QDBusVariant>
#include <QDeadlineTimer>
#include <QFile>
#include <QJsonDocument>
#include <QTest>

Q_DECLARE_METATYPE(SimFixture::Entry)
Q_DECLARE_METATYPE(QVector<SimFixture::Entry>)
using FixtureStats = QMap<QString, uint>;
Q_DECLARE_METATYPE(FixtureStats)

static const QString kControlService = QStringLiteral("gem.base.simulator");
static const QString kControlPath = QStringLiteral("/gem/base/simulator");
static const QString kControlInterface = QStringLiteral("gem.base.Simulator");
static const int kStartTimeoutMs = 10000;
static int s_modelCount = 0;

static QDBusArgument &operator<<(QDBusArgument &arg, const SimFixture::Entry &entry)
{
    arg.beginStructure();
    arg << entry.service << entry.address << entry.argument;
    arg.endStructure();
    return arg;
}

static const QDBusArgument &operator>>(const QDBusArgument &arg, SimFixture::Entry &entry)
{
    arg.beginStructure();
    arg >> entry.service >> entry.address >> entry.argument;
    arg.endStructure();
    return arg;
}

static QDBusMessage control(const QString &method, const QVariantList &args = {})
{
    QDBusMessage call = QDBusMessage::createMethodCall(kControlService, kControlPath, kControlInterface, method);
    call.setArguments(args);
    return QDBusConnection::sessionBus().call(call, QDBus::Block, 5000);
}

static bool ok(const QDBusMessage &reply)
{
    if (reply.type() != QDBusMessage::ReplyMessage)
        qWarning("SimFixture: %s", qPrintable(reply.errorMessage()));
    return reply.type() == QDBusMessage::ReplyMessage;
}

SimFixture::SimFixture(QObject *parent)
    : QObject(parent)
{
    qDBusRegisterMetaType<Entry>();
    qDBusRegisterMetaType<QVector<Entry>>();
    qDBusRegisterMetaType<FixtureStats>();
    ElfWire::registerTypes();
}

SimFixture::~SimFixture()
{
    stop();
}

// In a cross build the programs of the build are the target's, run here through its emulator.
void SimFixture::startProgram(QProcess &process, const QString &program, const QStringList &arguments)
{
    const QStringList emulator = QProcess::splitCommand(qEnvironmentVariable("HBASE_EMULATOR"));
    if (emulator.isEmpty())
        process.start(program, arguments);
    else
        process.start(emulator.first(), emulator.mid(1) + QStringList{program} + arguments);
}

QString SimFixture::simulatorPath()
{
    const QString path = qEnvironmentVariable("HBASE_SIM");
    if (!path.isEmpty())
        return path;
    return qEnvironmentVariable("HBASE_BINARY_DIR") + QStringLiteral("/sim/hbase-sim");
}

bool SimFixture::start(const QString &modelFile)
{
    stop();
    m_errors.clear();
    m_process = new QProcess(this);
    m_process->setProcessChannelMode(QProcess::ForwardedOutputChannel);
    QStringList arguments;
    if (!modelFile.isEmpty())
        arguments << QStringLiteral("--model") << modelFile;
    startProgram(*m_process, simulatorPath(), arguments);
    if (!m_process->waitForStarted(kStartTimeoutMs)) {
        m_errors = m_process->errorString();
        qWarning("SimFixture: cannot start %s: %s", qPrintable(simulatorPath()), qPrintable(m_errors));
        return false;
    }
    if (!waitForBus(true, kStartTimeoutMs)) {
        qWarning("SimFixture: hbase-sim did not come up: %s", qPrintable(errorOutput()));
        stop();
        return false;
    }
    return true;
}

bool SimFixture::startJson(const QJsonObject &model)
{
    const QString path = QStringLiteral("/tmp/hbase-sim-model-%1.json").arg(++s_modelCount);
    return writeModel(model, path) && start(path);
}

bool SimFixture::startJson(const QByteArray &model)
{
    const QString path = QStringLiteral("/tmp/hbase-sim-model-%1.json").arg(++s_modelCount);
    QFile file(path);
    if (!file.open(QIODevice::WriteOnly | QIODevice::Truncate) || file.write(model) != model.size())
        return false;
    file.close();
    return start(path);
}

int SimFixture::runToExit(const QStringList &arguments)
{
    stop();
    QProcess process;
    startProgram(process, simulatorPath(), arguments);
    if (!process.waitForFinished(kStartTimeoutMs)) {
        process.kill();
        process.waitForFinished();
        return -1;
    }
    m_errors = QString::fromLocal8Bit(process.readAllStandardError());
    return process.exitStatus() == QProcess::NormalExit ? process.exitCode() : -1;
}

void SimFixture::stop()
{
    if (!m_process)
        return;
    if (m_process->state() != QProcess::NotRunning) {
        control(QStringLiteral("Quit"));
        if (!m_process->waitForFinished(5000)) {
            m_process->kill();
            m_process->waitForFinished();
        }
    }
    errorOutput();
    delete m_process;
    m_process = nullptr;
    waitForBus(false, kStartTimeoutMs);
}

bool SimFixture::isRunning() const
{
    return m_process && m_process->state() == QProcess::Running;
}

QString SimFixture::errorOutput()
{
    if (m_process)
        m_errors += QString::fromLocal8Bit(m_process->readAllStandardError());
    return m_errors;
}

bool SimFixture::waitForBus(bool present, int timeoutMs)
{
    QDBusConnectionInterface *bus = QDBusConnection::sessionBus().interface();
    const QDeadlineTimer deadline(timeoutMs);
    while (!deadline.hasExpired()) {
        if (bus->isServiceRegistered(kControlService).value() == present) {
            // Let the connection deliver the NameOwnerChanged signals that arrived meanwhile, so
            // clients' isValid() already reflects the change when this returns.
            QCoreApplication::processEvents();
            return true;
        }
        if (present && (!m_process || m_process->state() == QProcess::NotRunning))
            return false;
        QTest::qWait(10);
    }
    return false;
}

QVector<SimFixture::Entry> SimFixture::journal() const
{
    const QDBusMessage reply = control(QStringLiteral("Journal"));
    if (!ok(reply) || reply.arguments().isEmpty())
        return {};
    return qdbus_cast<QVector<Entry>>(reply.arguments().constFirst());
}

void SimFixture::clearJournal() const
{
    ok(control(QStringLiteral("ClearJournal")));
}

QMap<QString, uint> SimFixture::stats() const
{
    const QDBusMessage reply = control(QStringLiteral("Stats"));
    if (!ok(reply) || reply.arguments().isEmpty())
        return {};
    return qdbus_cast<FixtureStats>(reply.arguments().constFirst());
}

uint SimFixture::stat(const QString &method) const
{
    return stats().value(method);
}

bool SimFixture::setActionReply(const QString &address, const QString &reply) const
{
    return ok(control(QStringLiteral("SetActionReply"), {address, reply}));
}

bool SimFixture::setActionDelay(const QString &address, uint ms) const
{
    return ok(control(QStringLiteral("SetActionDelay"), {address, ms}));
}

bool SimFixture::setItem(const QString &address, const QVariant &value, const QVariant &initValue) const
{
    const QVariant init = initValue.isValid() ? ElfWire::toWire(initValue) : QVariant(QVariantMap());
    return ok(control(QStringLiteral("SetItem"), {address, QVariant::fromValue(QDBusVariant(ElfWire::toWire(value))),
                                                 QVariant::fromValue(QDBusVariant(init))}));
}

bool SimFixture::removeItem(const QString &address) const
{
    return ok(control(QStringLiteral("RemoveItem"), {address}));
}

bool SimFixture::raiseTask(const QString &name, const QString &id) const
{
    return ok(control(QStringLiteral("RaiseTask"), {name, id}));
}

bool SimFixture::sendInfo(const QString &app, const QString &msg) const
{
    return ok(control(QStringLiteral("SendInfo"), {app, msg}));
}

QJsonObject SimFixture::model(const QJsonArray &apps)
{
    return QJsonObject{{QStringLiteral("applications"), apps}};
}

QJsonObject SimFixture::app(const QString &name, const QJsonArray &modules)
{
    return QJsonObject{{QStringLiteral("name"), name}, {QStringLiteral("modules"), modules}};
}

QJsonObject SimFixture::module(const QString &name, const QJsonArray &items)
{
    return QJsonObject{{QStringLiteral("name"), name}, {QStringLiteral("items"), items}};
}

QJsonObject SimFixture::item(const QString &name, const QJsonValue &value, const QString &type, const QString &kind)
{
    QJsonObject json{{QStringLiteral("name"), name}, {QStringLiteral("value"), value}};
    if (!type.isEmpty())
        json.insert(QStringLiteral("type"), type);
    if (!kind.isEmpty())
        json.insert(QStringLiteral("kind"), kind);
    return json;
}

bool SimFixture::writeModel(const QJsonObject &model, const QString &path)
{
    QFile file(path);
    if (!file.open(QIODevice::WriteOnly | QIODevice::Truncate))
        return false;
    return file.write(QJsonDocument(model).toJson(QJsonDocument::Indented)) > 0;
}
