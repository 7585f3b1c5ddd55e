#include "elfregistry.h"

#include "elfclientinterface.h"
#include "elfdata.h"
#include "elfwire.h"

#include <QDBusConnection>
#include <QDBusPendingCallWatcher>
#include <QDBusServiceWatcher>

static const QString kDoubleArraySuffix = QStringLiteral(":doubleARRAY:");
static const QString kStringArraySuffix = QStringLiteral(":stringARRAY:");
static const QString kIntArraySuffix = QStringLiteral(":int32ARRAY:");

ElfRegistry &ElfRegistry::instance()
{
    // Deliberately never destroyed: handles must outlive every QML engine of the process.
    static ElfRegistry *registry = new ElfRegistry;
    return *registry;
}

ElfData *ElfRegistry::find(const QString &address) const
{
    return m_handles.value(address, nullptr);
}

// Handles are children of the registry: QML's garbage collector never deletes an object that has a
// parent, so a handle QML dropped is still there for the next lookup and the next change.
ElfData *ElfRegistry::makeHandle(const QString &address, const QVariant &value)
{
    // Integer arrays have no handle kind of their own: a plain handle keeps their elements integers.
    if (address.endsWith(kIntArraySuffix))
        return new ElfData(address, this);
    if (address.endsWith(kDoubleArraySuffix))
        return new ELFVecDoubleClientItem(address, this);
    if (address.endsWith(kStringArraySuffix) || value.userType() == QMetaType::QStringList)
        return new ELFVecStringClientItem(address, this);
    if (value.userType() == QMetaType::QVariantList)
        return new ELFVecDoubleClientItem(address, this);
    return new ElfData(address, this);
}

ElfData *ElfRegistry::store(const QString &service, const QString &address, const QVariant &value,
                            const QVariantMap &attributes)
{
    ElfData *handle = find(address);
    if (!handle) {
        handle = makeHandle(address, value);
        handle->m_service = service;
        handle->m_attributes = attributes;
        handle->assignFromService(value);
        m_handles.insert(address, handle);
        return handle;
    }
    handle->m_service = service;
    handle->m_attributes = attributes;
    if (!consumeEcho(handle, value))
        handle->assignFromService(value);
    return handle;
}

void ElfRegistry::cover(const QStringList &addresses)
{
    for (const QString &address : addresses)
        ++m_coverage[address];
}

void ElfRegistry::uncover(const QStringList &addresses)
{
    for (const QString &address : addresses) {
        auto it = m_coverage.find(address);
        if (it == m_coverage.end())
            continue;
        if (--it.value() <= 0)
            m_coverage.erase(it);
    }
}

bool ElfRegistry::isCovered(const QString &address) const
{
    return m_coverage.value(address) > 0;
}

ELFClientInterface *ElfRegistry::client(const QString &service) const
{
    return m_clients.value(service, nullptr);
}

void ElfRegistry::keepClient(const QString &service, ELFClientInterface *client)
{
    m_clients.insert(service, client);
}

void ElfRegistry::listenTo(const QString &service)
{
    if (m_listened.contains(service))
        return;
    QDBusConnection bus = QDBusConnection::sessionBus();
    // Qt 6 knows QDBusVariant as an argument type only once it is registered: until then it would
    // refuse the slot below.
    qRegisterMetaType<QDBusVariant>();
    const QString path = QString::fromLatin1(ElfWire::objectPath);
    const QString interface = QString::fromLatin1(ElfWire::interfaceName);
    const bool connected = bus.connect(service, path, interface, QStringLiteral("ItemChanged"), this,
                                       SLOT(onItemChanged(QString, QDBusVariant)));
    if (!connected)
        return;
    m_listened.insert(service);
    bus.connect(service, path, interface, QStringLiteral("ModuleChanged"), this, SLOT(onModuleChanged(QString)));
    if (!m_owners) {
        m_owners = new QDBusServiceWatcher(this);
        m_owners->setConnection(bus);
        m_owners->setWatchMode(QDBusServiceWatcher::WatchForOwnerChange);
        connect(m_owners, &QDBusServiceWatcher::serviceOwnerChanged, this, &ElfRegistry::onOwnerChanged);
    }
    m_owners->addWatchedService(service);
}

void ElfRegistry::holdModule(const QString &service, const QString &module, const QStringList &addresses)
{
    ModuleEntry &entry = m_modules[qMakePair(service, module)];
    ++entry.manifests;
    if (!entry.current) {
        entry.addresses = addresses;
        entry.current = true;
    }
}

void ElfRegistry::releaseModule(const QString &service, const QString &module)
{
    const auto it = m_modules.find(qMakePair(service, module));
    if (it != m_modules.end() && --it->manifests <= 0)
        m_modules.erase(it);
}

const QStringList *ElfRegistry::livingModule(const QString &service, const QString &module) const
{
    const auto it = m_modules.constFind(qMakePair(service, module));
    return it != m_modules.cend() && it->current ? &it->addresses : nullptr;
}

void ElfRegistry::moduleLoaded(const QString &service, const QString &module, const QStringList &addresses)
{
    const auto it = m_modules.find(qMakePair(service, module));
    if (it == m_modules.end())
        return;
    it->addresses = addresses;
    it->current = true;
}

// The module name alone is enough: a list forgotten by mistake only costs one more ModuleItems call.
void ElfRegistry::onModuleChanged(const QString &module)
{
    for (auto it = m_modules.begin(); it != m_modules.end(); ++it) {
        if (it.key().second == module)
            it->current = false;
    }
}

// A service that left or came back may serve other items now.
void ElfRegistry::onOwnerChanged(const QString &service)
{
    for (auto it = m_modules.begin(); it != m_modules.end(); ++it) {
        if (it.key().first == service)
            it->current = false;
    }
}

void ElfRegistry::writeSent(ElfData *handle, const QVariant &value)
{
    PendingWrites &pending = m_pendingWrites[handle];
    ++pending.count;
    pending.values.append(value);
}

// Each write is echoed once: an echo is taken off the pending values, so the same value reported again
// later (the service changed it away and back) is a real change and reaches the handle.
bool ElfRegistry::consumeEcho(ElfData *handle, const QVariant &value)
{
    const auto it = m_pendingWrites.find(handle);
    const QVariant echo = handle->normalized(value);
    if (it == m_pendingWrites.end() || !it->values.removeOne(echo))
        return false;
    handle->m_serviceValue = echo;
    return true;
}

void ElfRegistry::onItemChanged(const QString &address, const QDBusVariant &value)
{
    ElfData *handle = find(address);
    const QVariant plain = ElfWire::fromWire(value.variant());
    if (handle && !consumeEcho(handle, plain))
        handle->assignFromService(plain);
}

bool ElfRegistry::writeAcknowledged(ElfData *handle)
{
    auto it = m_pendingWrites.find(handle);
    if (it == m_pendingWrites.end())
        return false;
    if (--it->count > 0)
        return true;
    m_pendingWrites.erase(it);
    return false;
}
