#include "manifest.h"

#include "elfclientinterface.h"
#include "elfregistry.h"
#include "elfwire.h"

Manifest::Manifest(ELFClientInterface *client, const QString &app, const QString &module, QObject *parent)
    : QObject(parent)
    , m_app(app)
    , m_module(module)
{
    // The module belongs to the application's own service. A caller may hand the client of another
    // application (a bridge that moved on to another application keeps its first client), so the
    // manifest asks the application's service whenever the client is not that one.
    m_service = QLatin1String(ElfWire::servicePrefix) + app;
    if (!client || client->service() != m_service)
        client = ELFClientInterface::getSessionBusClient(m_service);
    // No isValid() test first: an absent service answers at once with an error, so it would only
    // add a round trip.
    m_holdsModule = client->moduleItems(module, m_addresses);
    ElfRegistry &registry = ElfRegistry::instance();
    registry.cover(m_addresses);
    // Only a list the service gave can stand in for the service later.
    if (m_holdsModule)
        registry.holdModule(m_service, m_module, m_addresses);
}

Manifest::~Manifest()
{
    ElfRegistry &registry = ElfRegistry::instance();
    registry.uncover(m_addresses);
    if (m_holdsModule)
        registry.releaseModule(m_service, m_module);
}

QString Manifest::app() const
{
    return m_app;
}

QString Manifest::module() const
{
    return m_module;
}

QStringList Manifest::addresses() const
{
    return m_addresses;
}

ElfData *Manifest::getElfData(const QString &address)
{
    ElfRegistry &registry = ElfRegistry::instance();
    return registry.isCovered(address) ? registry.find(address) : nullptr;
}
