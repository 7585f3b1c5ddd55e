#include "elfservice.h"

#include "simulator.h"

#include <QDBusConnectionInterface>
#include <QDBusMessage>
#include <QTimer>

static const QString kUnknownItem = QStringLiteral("gem.base.Error.UnknownItem");
static const QString kUnknownModule = QStringLiteral("gem.base.Error.UnknownModule");
static const QString kUnknownAction = QStringLiteral("gem.base.Error.UnknownAction");
static const QString kInvalidValue = QStringLiteral("gem.base.Error.InvalidValue");

ElfService::ElfService(Simulator *simulator, const QString &app, QObject *parent)
    : QObject(parent)
    , m_simulator(simulator)
    , m_app(app)
    , m_connectionName(QStringLiteral("hbase-sim-") + app)
{
    // Qt 6 relays a signal to the bus only when its argument types are registered: without this, the
    // changes sent before any call brought a QDBusVariant in would be dropped.
    qRegisterMetaType<QDBusVariant>();
}

ElfService::~ElfService()
{
    QDBusConnection::disconnectFromBus(m_connectionName);
}

QString ElfService::serviceName() const
{
    return QLatin1String(ElfWire::servicePrefix) + m_app;
}

bool ElfService::publish(QString *error)
{
    QDBusConnection bus = QDBusConnection::connectToBus(QDBusConnection::SessionBus, m_connectionName);
    if (!bus.isConnected()) {
        *error = QStringLiteral("no session bus: %1").arg(bus.lastError().message());
        return false;
    }
    if (!bus.registerObject(QString::fromLatin1(ElfWire::objectPath), this,
                            QDBusConnection::ExportAllSlots | QDBusConnection::ExportAllSignals)) {
        *error = QStringLiteral("cannot export %1 for %2").arg(QLatin1String(ElfWire::objectPath), serviceName());
        return false;
    }
    const auto claimed = bus.interface()->registerService(serviceName(), QDBusConnectionInterface::DontQueueService,
                                                          QDBusConnectionInterface::DontAllowReplacement);
    if (claimed.value() != QDBusConnectionInterface::ServiceRegistered) {
        *error = QStringLiteral("cannot own %1 (is another simulator running?)").arg(serviceName());
        return false;
    }
    return true;
}

void ElfService::notifyChanged(const QString &address, const QVariant &value)
{
    emit ItemChanged(address, QDBusVariant(ElfWire::toWire(value)));
}

void ElfService::notifyModuleChanged(const QString &module)
{
    emit ModuleChanged(module);
}

void ElfService::notifyInfo(const QString &msg)
{
    emit SigInfo(msg);
}

QList<ElfWireItem> ElfService::ModuleItems(const QString &module)
{
    m_simulator->received(serviceName(), QStringLiteral("ModuleItems"), module);
    QList<ElfWireItem> items;
    const SimModel &model = m_simulator->model();
    if (!model.hasModule(m_app, module)) {
        sendErrorReply(kUnknownModule, QStringLiteral("no module %1 in %2").arg(module, m_app));
        return items;
    }
    const QStringList addresses = model.moduleAddresses(m_app, module);
    items.reserve(addresses.size());
    for (const QString &address : addresses) {
        const SimItem *item = model.item(address);
        items.append(ElfWireItem{address, item->value, item->attributes});
    }
    return items;
}

QDBusVariant ElfService::Item(const QString &address, QVariantMap &attributes)
{
    m_simulator->received(serviceName(), QStringLiteral("Item"), address);
    const SimItem *item = m_simulator->model().item(address);
    if (!item || item->app != m_app) {
        sendErrorReply(kUnknownItem, QStringLiteral("no item %1 in %2").arg(address, m_app));
        return QDBusVariant(QString());
    }
    attributes = ElfWire::toWire(item->attributes);
    return QDBusVariant(ElfWire::toWire(item->value));
}

void ElfService::SetItemValue(const QString &address, const QDBusVariant &value)
{
    const QVariant plain = ElfWire::fromWire(value.variant());
    m_simulator->received(serviceName(), QStringLiteral("SetItemValue"), address, Simulator::journalText(plain));
    const SimItem *item = m_simulator->model().item(address);
    if (!item || item->app != m_app) {
        sendErrorReply(kUnknownItem, QStringLiteral("no item %1 in %2").arg(address, m_app));
        return;
    }
    if (!m_simulator->writeItem(address, plain))
        sendErrorReply(kInvalidValue, QStringLiteral("value does not fit the type %1 of %2").arg(item->type, address));
}

QString ElfService::CallAction(const QString &address, const QString &argument)
{
    m_simulator->received(serviceName(), QStringLiteral("CallAction"), address, argument);
    if (!m_simulator->isAction(m_app, address)) {
        sendErrorReply(kUnknownAction, QStringLiteral("no action %1 in %2").arg(address, m_app));
        return QString();
    }
    const uint delay = m_simulator->actionDelay(address);
    if (delay == 0)
        return m_simulator->runAction(m_app, address, argument);
    // A slow application: the action runs and answers only after the delay, and the simulator
    // keeps serving everything else meanwhile.
    setDelayedReply(true);
    const QDBusMessage request = message();
    QDBusConnection bus = connection();
    QTimer::singleShot(int(delay), this, [this, request, bus, address, argument]() mutable {
        bus.send(request.createReply(m_simulator->runAction(m_app, address, argument)));
    });
    return QString();
}

QVariantMap ElfService::Snapshot()
{
    m_simulator->received(serviceName(), QStringLiteral("Snapshot"), QString());
    QVariantMap all;
    const SimModel &model = m_simulator->model();
    for (const QString &address : model.appAddresses(m_app)) {
        const SimItem *item = model.item(address);
        QVariantMap entry;
        entry.insert(QStringLiteral("value"), ElfWire::toWire(item->value));
        entry.insert(QStringLiteral("attributes"), ElfWire::toWire(item->attributes));
        all.insert(address, entry);
    }
    return all;
}
