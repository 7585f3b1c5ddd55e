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
    const QString service = QLatin1String(ElfWire::servicePrefix) + app;
    if (!client || client->service() != service)
        client = ELFClientInterface::getSessionBusClient(service);
    // No isValid() test first: an absent service answers at once with an error, so it would only
    // add a round trip.
    client->moduleItems(module, m_addresses);
    ElfRegistry::instance().cover(m_addresses);
}

Manifest::~Manifest()
{
    ElfRegistry::instance().uncover(m_addresses);
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
