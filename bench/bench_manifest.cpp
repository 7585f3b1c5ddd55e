// Loading one module's items: a Manifest against one raw ModuleItems call decoded into a QHash.
#include <QCoreApplication>
#include <QDBusArgument>
#include <QDBusConnection>
#include <QDBusMessage>
#include <QDBusVariant>
#include <QHash>

#include "benchmodel.h"
#include "benchtable.h"
#include "elfclientinterface.h"
#include "manifest.h"
#include "simfixture.h"

struct RawItem
{
    QVariant value;
    QVariantMap attributes;
};

static QHash<QString, RawItem> rawModuleItems(const QString &service, const QString &module)
{
    QDBusMessage call = QDBusMessage::createMethodCall(service, "/gem/base/elf", "gem.base.Elf", "ModuleItems");
    call << module;
    const QDBusMessage reply = QDBusConnection::sessionBus().call(call);
    QHash<QString, RawItem> items;
    const QDBusArgument arg = reply.arguments().constFirst().value<QDBusArgument>();
    arg.beginArray();
    while (!arg.atEnd()) {
        QString address;
        QDBusVariant value;
        RawItem item;
        arg.beginStructure();
        arg >> address >> value >> item.attributes;
        arg.endStructure();
        item.value = value.variant();
        items.insert(address, item);
    }
    arg.endArray();
    return items;
}

int main(int argc, char **argv)
{
    QCoreApplication app(argc, argv);
    const int size = BenchTable::size();
    SimFixture sim;
    if (!sim.startJson(BenchModel::model(1, size)))
        return 1;
    const QString appName = BenchModel::app(0);
    const QString module = BenchModel::settingsModule(0);
    const QString service = "gem.base." + appName;
    ELFClientInterface *client = ELFClientInterface::getSessionBusClient(service);

    {
        Manifest first(client, appName, module);
    } // the handles exist from here on, as in a running interface
    const auto before = sim.stats();
    const double project = BenchTable::medianMs([&] { Manifest manifest(client, appName, module); });
    const double trips = BenchTable::calls(before, sim.stats()) / 5.0;
    const double floor = BenchTable::medianMs([&] {
        if (rawModuleItems(service, module).size() != size)
            qFatal("the floor decoded the wrong number of items");
    });
    BenchTable::printRow(QStringLiteral("Load one module's items (Manifest), %1 items").arg(size), project, floor,
                         trips);
    return 0;
}
