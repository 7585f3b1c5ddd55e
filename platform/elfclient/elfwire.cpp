#include "elfwire.h"

#include <QDBusMetaType>
#include <QStringList>

QDBusArgument &operator<<(QDBusArgument &arg, const ElfWireItem &item)
{
    arg.beginStructure();
    arg << item.address << QDBusVariant(ElfWire::toWire(item.value)) << ElfWire::toWire(item.attributes);
    arg.endStructure();
    return arg;
}

// Decodes in place: each attribute is unpacked once as it is read, into a map of its own for every item
// (the previous item's map may be shared by a handle already).
const QDBusArgument &operator>>(const QDBusArgument &arg, ElfWireItem &item)
{
    QDBusVariant value;
    QString key;
    QVariantMap attributes;
    arg.beginStructure();
    arg >> item.address >> value;
    item.value = ElfWire::fromWire(value.variant());
    arg.beginMap();
    while (!arg.atEnd()) {
        arg.beginMapEntry();
        arg >> key >> value;
        attributes.insert(key, ElfWire::fromWire(value.variant()));
        arg.endMapEntry();
    }
    arg.endMap();
    arg.endStructure();
    item.attributes = std::move(attributes);
    return arg;
}

void ElfWire::registerTypes()
{
    static const bool registered = [] {
        qDBusRegisterMetaType<ElfWireItem>();
        qDBusRegisterMetaType<QList<ElfWireItem>>();
        return true;
    }();
    Q_UNUSED(registered)
}

static QVariant fromArgument(const QDBusArgument &arg);

static QVariant fromArgumentArray(const QDBusArgument &arg)
{
    QVariantList list;
    arg.beginArray();
    while (!arg.atEnd()) {
        if (arg.currentType() == QDBusArgument::BasicType || arg.currentType() == QDBusArgument::VariantType) {
            QVariant element = arg.asVariant();
            list.append(ElfWire::fromWire(element));
        } else {
            list.append(fromArgument(arg));
        }
    }
    arg.endArray();
    return list;
}

static QVariant fromArgumentMap(const QDBusArgument &arg)
{
    QVariantMap map;
    arg.beginMap();
    while (!arg.atEnd()) {
        arg.beginMapEntry();
        const QString key = arg.asVariant().toString();
        const QVariant value
            = arg.currentType() == QDBusArgument::BasicType || arg.currentType() == QDBusArgument::VariantType
            ? arg.asVariant()
            : fromArgument(arg);
        map.insert(key, ElfWire::fromWire(value));
        arg.endMapEntry();
    }
    arg.endMap();
    return map;
}

static QVariant fromArgument(const QDBusArgument &arg)
{
    switch (arg.currentType()) {
    case QDBusArgument::ArrayType:
        return fromArgumentArray(arg);
    case QDBusArgument::MapType:
        return fromArgumentMap(arg);
    case QDBusArgument::StructureType: {
        // Structures do not occur in item values; read them as a list of their fields.
        QVariantList fields;
        arg.beginStructure();
        while (!arg.atEnd())
            fields.append(ElfWire::fromWire(arg.asVariant()));
        arg.endStructure();
        return fields;
    }
    default:
        return ElfWire::fromWire(arg.asVariant());
    }
}

QVariant ElfWire::fromWire(const QVariant &value)
{
    if (value.userType() == qMetaTypeId<QDBusVariant>())
        return fromWire(value.value<QDBusVariant>().variant());
    if (value.userType() == qMetaTypeId<QDBusArgument>())
        return fromArgument(value.value<QDBusArgument>());
    if (value.userType() == QMetaType::QVariantMap) {
        QVariantMap map = value.toMap();
        for (auto it = map.begin(); it != map.end(); ++it)
            it.value() = fromWire(it.value());
        return map;
    }
    if (value.userType() == QMetaType::QVariantList) {
        QVariantList list = value.toList();
        for (QVariant &element : list)
            element = fromWire(element);
        return list;
    }
    return value;
}

static bool isNumber(const QVariant &v)
{
    switch (v.userType()) {
    case QMetaType::Double:
    case QMetaType::Float:
    case QMetaType::Int:
    case QMetaType::UInt:
    case QMetaType::LongLong:
    case QMetaType::ULongLong:
        return true;
    default:
        return false;
    }
}

static bool isInteger(const QVariant &v)
{
    return v.userType() == QMetaType::Int || v.userType() == QMetaType::UInt || v.userType() == QMetaType::LongLong
        || v.userType() == QMetaType::ULongLong;
}

QVariant ElfWire::toWire(const QVariant &value)
{
    if (value.userType() == QMetaType::QVariantMap)
        return toWire(value.toMap());
    if (value.userType() == qMetaTypeId<QVector<double>>()) {
        QDBusArgument arg;
        arg << value.value<QVector<double>>().toList();
        return QVariant::fromValue(arg);
    }
    if (value.userType() != QMetaType::QVariantList)
        return value;
    const QVariantList list = value.toList();
    bool allNumbers = true;
    bool allIntegers = true;
    bool allTexts = true;
    for (const QVariant &element : list) {
        allNumbers = allNumbers && isNumber(element);
        allIntegers = allIntegers && isInteger(element);
        allTexts = allTexts && element.userType() == QMetaType::QString;
    }
    if (list.isEmpty() || allTexts)
        return QVariant(value.toStringList());
    QDBusArgument arg;
    if (allIntegers) {
        QList<int> ints;
        for (const QVariant &element : list)
            ints.append(element.toInt());
        arg << ints;
    } else if (allNumbers) {
        QList<double> doubles;
        for (const QVariant &element : list)
            doubles.append(element.toDouble());
        arg << doubles;
    } else {
        arg.beginArray(qMetaTypeId<QDBusVariant>());
        for (const QVariant &element : list)
            arg << QDBusVariant(toWire(element));
        arg.endArray();
    }
    return QVariant::fromValue(arg);
}

QVariantMap ElfWire::toWire(const QVariantMap &map)
{
    QVariantMap out;
    for (auto it = map.cbegin(); it != map.cend(); ++it)
        out.insert(it.key(), toWire(it.value()));
    return out;
}
