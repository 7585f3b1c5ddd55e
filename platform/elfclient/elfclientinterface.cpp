#include "elfclientinterface.h"

#include "elfregistry.h"
#include "elfwire.h"

#include <QCoreApplication>
#include <QDBusConnection>
#include <QDBusMessage>
#include <QDBusPendingCall>
#include <QDBusReply>
#include <QDeadlineTimer>
#include <QElapsedTimer>
#include <QThread>

// Reads (ModuleItems, Item, Snapshot) wait at most this long, so a hung service cannot freeze
// the interface for D-Bus's default 25 s; actions use the caller's own time-out.
static const int kReadTimeoutMs = 5000;

// What D-Bus waits when a caller names no time-out.
static const int kBusDefaultTimeoutMs = 25000;

// libdbus times a call with Qt's coarse timers, which end a wait up to 5 % early (a 500 ms action gave
// up after 476 ms). The bus gets a later limit, and an action ends on a precise deadline of its own.
static int busLimitMs(int timeoutMs)
{
    return timeoutMs + timeoutMs / 4 + 100;
}

// Replies are taken in on the bus's own thread, so this wait runs no event of the interface (as a
// blocking call does). The check interval grows with the time already waited (1 % of it, within
// 50 µs and 2 ms), so a quick reply costs almost nothing and a long wait few wake-ups.
static bool waitPrecisely(const QDBusPendingCall &call, int timeoutMs)
{
    const QDeadlineTimer deadline(timeoutMs, Qt::PreciseTimer);
    QElapsedTimer waited;
    waited.start();
    while (!call.isFinished()) {
        const qint64 remainingUs = deadline.remainingTimeNSecs() / 1000;
        if (remainingUs <= 0)
            return call.isFinished();
        const qint64 stepUs = qBound(qint64(50), waited.nsecsElapsed() / 100000, qint64(2000));
        QThread::usleep(ulong(qMin(stepUs, remainingUs)));
    }
    return true;
}

ELFClientInterface::ELFClientInterface(const QString &service, QObject *parent)
    : QDBusAbstractInterface(service, QString::fromLatin1(ElfWire::objectPath), ElfWire::interfaceName,
                             QDBusConnection::sessionBus(), parent)
{
    ElfWire::registerTypes();
    setTimeout(kReadTimeoutMs);
}

ELFClientInterface::~ELFClientInterface() = default;

// Every caller gets the one client of the service, whatever parent it names: each further client would
// cost the bus calls of its own set-up, and bridges come and go with the screens. The client belongs to
// the library and lives as long as the process.
ELFClientInterface *ELFClientInterface::getSessionBusClient(const QString &service, QObject *parent)
{
    Q_UNUSED(parent)
    ElfRegistry &registry = ElfRegistry::instance();
    if (ELFClientInterface *client = registry.client(service))
        return client;
    // Listening first makes the bus library look up the service's owner once: the client's own set-up
    // then finds it known.
    registry.listenTo(service);
    auto *client = new ELFClientInterface(service, nullptr);
    registry.keepClient(service, client);
    return client;
}

bool ELFClientInterface::moduleItems(const QString &module, QStringList &addresses)
{
    ElfRegistry &registry = ElfRegistry::instance();
    // Changes that already arrived are taken first, so the list and its handles are as current as a
    // call would make them (an action that changed values has answered after its ItemChanged signals).
    QCoreApplication::sendPostedEvents(&registry, QEvent::MetaCall);
    if (const QStringList *living = registry.livingModule(service(), module)) {
        addresses = *living;
        return true;
    }
    const QDBusMessage reply = call(QStringLiteral("ModuleItems"), module);
    addresses.clear();
    const QList<QVariant> args = reply.arguments();
    if (reply.type() != QDBusMessage::ReplyMessage || args.size() != 1
        || args.constFirst().userType() != qMetaTypeId<QDBusArgument>())
        return false;
    // Each item goes from the reply straight into its handle: no list of the whole module in between.
    const QDBusArgument items = args.constFirst().value<QDBusArgument>();
    if (items.currentSignature() != QLatin1String("a(sva{sv})"))
        return false;
    ElfWireItem item;
    items.beginArray();
    while (!items.atEnd()) {
        items >> item;
        registry.store(service(), item.address, item.value, item.attributes);
        addresses.append(item.address);
    }
    items.endArray();
    registry.moduleLoaded(service(), module, addresses);
    return true;
}

ELFClientItem *ELFClientInterface::item(const QString &address)
{
    if (ElfData *known = ElfRegistry::instance().find(address))
        return known;
    const QDBusMessage reply = call(QStringLiteral("Item"), address);
    const QList<QVariant> args = reply.arguments();
    if (reply.type() != QDBusMessage::ReplyMessage || args.size() != 2)
        return nullptr;
    return ElfRegistry::instance().store(service(), address, ElfWire::fromWire(args.at(0)),
                                         ElfWire::fromWire(args.at(1)).toMap());
}

bool ELFClientInterface::setItemValue(const QString &address, const QVariant &value)
{
    if (ElfData *handle = ElfRegistry::instance().find(address)) {
        handle->setValue(value);
        return true;
    }
    // Not loaded: send it as it is, still without waiting.
    QDBusMessage message
        = QDBusMessage::createMethodCall(service(), path(), interface(), QStringLiteral("SetItemValue"));
    message << address << QVariant::fromValue(QDBusVariant(ElfWire::toWire(value)));
    return connection().send(message);
}

bool ELFClientInterface::callAction(const QString &address, const QString &argument, QString *reply, int timeoutMs)
{
    QDBusMessage message = QDBusMessage::createMethodCall(service(), path(), interface(), QStringLiteral("CallAction"));
    message << address << argument;
    if (timeoutMs < 0)
        timeoutMs = kBusDefaultTimeoutMs;
    const QDBusPendingCall call = connection().asyncCall(message, busLimitMs(timeoutMs));
    if (!waitPrecisely(call, timeoutMs))
        return false;
    const QDBusMessage answer = call.reply();
    const QList<QVariant> args = answer.arguments();
    if (answer.type() != QDBusMessage::ReplyMessage || args.isEmpty())
        return false;
    // The service answered: its text is the verdict, and only "OK" counts as success.
    const QString text = args.constFirst().toString();
    if (reply)
        *reply = text;
    return text == QLatin1String("OK");
}

bool ELFClientInterface::snapshot(ELFItemSnapshotTable &items, ELFItemSnapshotTable &results)
{
    const QDBusMessage reply = call(QStringLiteral("Snapshot"));
    items.clear();
    results.clear();
    if (reply.type() != QDBusMessage::ReplyMessage || reply.arguments().size() != 1)
        return false;
    const QVariantMap all = ElfWire::fromWire(reply.arguments().constFirst()).toMap();
    ElfRegistry &registry = ElfRegistry::instance();
    for (auto it = all.cbegin(); it != all.cend(); ++it) {
        const QVariantMap entry = it.value().toMap();
        ELFItemSnapshot snap{entry.value(QStringLiteral("value")), entry.value(QStringLiteral("attributes")).toMap()};
        // The snapshot also loads the handles, so the item-by-item pass that usually follows is free.
        registry.store(service(), it.key(), snap.value, snap.attributes);
        items.insert(it.key(), snap);
        if (it.key().startsWith(QLatin1String(":result:")))
            results.insert(it.key(), snap);
    }
    return true;
}
