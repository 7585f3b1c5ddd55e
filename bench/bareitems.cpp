#include "bareitems.h"

#include <QDBusArgument>
#include <QDBusConnection>

#include "elfwire.h"
#include "liveprobe.h"

namespace {
const char kItemChanged[] = "ItemChanged";
const char *const kSlot = SLOT(onItemChanged(QString, QDBusVariant));
} // namespace

BareItems::BareItems(const QString &service, LiveProbe *probe)
    : m_service(service)
    , m_probe(probe)
{
    qRegisterMetaType<QDBusVariant>();
    QDBusConnection::sessionBus().connect(m_service, ElfWire::objectPath, ElfWire::interfaceName, kItemChanged, this,
                                          kSlot);
}

BareItems::~BareItems()
{
    QDBusConnection::sessionBus().disconnect(m_service, ElfWire::objectPath, ElfWire::interfaceName, kItemChanged, this,
                                             kSlot);
}

void BareItems::onItemChanged(const QString &, const QDBusVariant &value)
{
    QVariant decoded = value.variant();
    if (decoded.userType() == qMetaTypeId<QDBusArgument>()) {
        QList<double> numbers;
        decoded.value<QDBusArgument>() >> numbers;
        QVariantList list;
        list.reserve(numbers.size());
        for (const double number : numbers)
            list.append(number);
        decoded = list;
    }
    m_probe->record(decoded.userType() == QMetaType::Double ? decoded.toDouble() : -1);
}
