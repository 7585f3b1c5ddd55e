#ifndef ELFWIRE_H
#define ELFWIRE_H

#include <QDBusArgument>
#include <QDBusVariant>
#include <QList>
#include <QString>
#include <QVariant>
#include <QVariantMap>

// The bus side of the parameter service, shared by the client library and the simulator.
//
// Service "gem.base.<application>", object "/gem/base/elf", interface "gem.base.Elf":
//   ModuleItems(s module) -> a(sva{sv})   address, value and attributes of every item, in order
//   Item(s address) -> (v value, a{sv} attributes)
//   SetItemValue(s address, v value)
//   CallAction(s address, s argument) -> s reply
//   Snapshot() -> a{sv}                   address to a{sv} {"value": v, "attributes": a{sv}}
//   signals ItemChanged(s address, v value), SigInfo(s msg),
//           ModuleChanged(s module)          items added or removed, or their attributes changed
//
// Values travel as b, i, d, s, as (string arrays), ad (double arrays) and ai (int arrays).
struct ElfWireItem
{
    QString address;
    QVariant value;
    QVariantMap attributes;
};
Q_DECLARE_METATYPE(ElfWireItem)
Q_DECLARE_METATYPE(QList<ElfWireItem>)

QDBusArgument &operator<<(QDBusArgument &arg, const ElfWireItem &item);
const QDBusArgument &operator>>(const QDBusArgument &arg, ElfWireItem &item);

class ElfWire
{
public:
    static constexpr const char *servicePrefix = "gem.base.";
    static constexpr const char *objectPath = "/gem/base/elf";
    static constexpr const char *interfaceName = "gem.base.Elf";

    // Registers the bus types above; safe to call more than once.
    static void registerTypes();
    // A value as it arrived from the bus, with every nested QDBusArgument and QDBusVariant unpacked:
    // arrays of doubles become QVariantList of doubles, a{sv} becomes QVariantMap.
    static QVariant fromWire(const QVariant &value);
    // A value ready to be wrapped in a QDBusVariant: lists of numbers go out as "ad", lists of
    // texts as "as", so the receiving side sees typed arrays rather than arrays of variants.
    static QVariant toWire(const QVariant &value);
    // An attribute map with every value made ready for the bus (see toWire).
    static QVariantMap toWire(const QVariantMap &map);
};

#endif // ELFWIRE_H
