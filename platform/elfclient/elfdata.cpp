#include "elfdata.h"

#include "elfregistry.h"
#include "elfwire.h"

#include <QDBusConnection>
#include <QDBusMessage>
#include <QDBusPendingCallWatcher>

static const QString kEnumStrings = QStringLiteral("enumStrings");

ElfData::ElfData(const QString &address, QObject *parent)
    : QObject(parent)
    , m_address(address)
{
}

QString ElfData::address() const
{
    return m_address;
}

QVariant ElfData::getValue() const
{
    return m_value;
}

QVariant ElfData::getManifestAttr(const QString &name) const
{
    return m_attributes.value(name);
}

static QString numberText(const QVariant &value)
{
    if (value.userType() == QMetaType::Double || value.userType() == QMetaType::Float)
        return QString::number(value.toDouble(), 'g', 10);
    return value.toString();
}

QString ElfData::valueText(bool readable) const
{
    if (m_value.userType() == QMetaType::QStringList)
        return m_value.toStringList().join(QLatin1Char(','));
    if (m_value.userType() == QMetaType::QVariantList) {
        QStringList parts;
        for (const QVariant &element : m_value.toList())
            parts.append(numberText(element));
        return parts.join(QLatin1Char(','));
    }
    const QStringList entries = m_attributes.value(kEnumStrings).toStringList();
    if (readable && !entries.isEmpty()) {
        bool isIndex = false;
        const int index = m_value.toInt(&isIndex);
        if (isIndex && index >= 0 && index < entries.size())
            return entries.at(index);
    }
    return numberText(m_value);
}

QVariant ElfData::normalized(const QVariant &value) const
{
    // Array handles keep one list form whatever came in (an empty array may arrive as either kind).
    if (qobject_cast<const ELFVecDoubleClientItem *>(this)) {
        QVariantList out;
        const QVariantList in = value.toList();
        for (const QVariant &element : in)
            out.append(element.toDouble());
        return out;
    }
    if (qobject_cast<const ELFVecStringClientItem *>(this))
        return value.toStringList();
    if (!m_value.isValid() || !value.isValid() || value.userType() == m_value.userType())
        return value;
    const int kind = m_value.userType();
    QVariant converted = value;
    if (value.userType() == QMetaType::QString) {
        // An enumerated item takes back the entry text that valueText(true) gave out.
        const int entry = m_attributes.value(kEnumStrings).toStringList().indexOf(value.toString());
        if (entry >= 0)
            converted = entry;
    }
    if (converted.convert(kind))
        return converted;
    return value;
}

void ElfData::assign(const QVariant &value)
{
    const QVariant next = normalized(value);
    if (next == m_value && next.userType() == m_value.userType())
        return;
    m_value = next;
    emit valueChanged();
}

void ElfData::setValue(const QVariant &value)
{
    assign(value);
    if (m_service.isEmpty())
        return;
    QDBusMessage call = QDBusMessage::createMethodCall(m_service, QString::fromLatin1(ElfWire::objectPath),
                                                       QString::fromLatin1(ElfWire::interfaceName),
                                                       QStringLiteral("SetItemValue"));
    call << m_address << QVariant::fromValue(QDBusVariant(ElfWire::toWire(m_value)));
    // Never waits: the reply only tells the registry that the service's echo can be trusted again.
    ElfRegistry &registry = ElfRegistry::instance();
    registry.writeSent(this, m_value);
    auto *watcher = new QDBusPendingCallWatcher(QDBusConnection::sessionBus().asyncCall(call), this);
    connect(watcher, &QDBusPendingCallWatcher::finished, this, [this, watcher] {
        ElfRegistry::instance().writeAcknowledged(this);
        watcher->deleteLater();
    });
}

int ElfData::count() const
{
    if (m_value.userType() == QMetaType::QStringList || m_value.userType() == QMetaType::QVariantList)
        return m_value.toList().size();
    return m_value.isValid() ? 1 : 0;
}

QVector<double> ELFVecDoubleClientItem::vector() const
{
    QVector<double> out;
    const QVariantList list = m_value.toList();
    out.reserve(list.size());
    for (const QVariant &element : list)
        out.append(element.toDouble());
    return out;
}

QStringList ELFVecStringClientItem::list() const
{
    return m_value.toStringList();
}
