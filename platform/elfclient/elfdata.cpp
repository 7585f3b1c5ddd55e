#include "elfdata.h"

#include "elfregistry.h"
#include "elfwire.h"

#include <QDBusConnection>
#include <QDBusMessage>
#include <QDBusPendingCallWatcher>
#include <QJSValue>

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
    if (m_type == QMetaType::UnknownType || !value.isValid() || value.userType() == m_type)
        return value;
    QVariant converted = value;
    if (value.userType() == QMetaType::QString) {
        // An enumerated item takes back the entry text that valueText(true) gave out.
        const int entry = m_attributes.value(kEnumStrings).toStringList().indexOf(value.toString());
        if (entry >= 0)
            converted = entry;
    }
    if (converted.convert(m_type))
        return converted;
    return QVariant();
}

void ElfData::assignFromService(const QVariant &value)
{
    if (value.isValid() && !qobject_cast<const ELFVecDoubleClientItem *>(this)
        && !qobject_cast<const ELFVecStringClientItem *>(this))
        m_type = value.userType();
    m_serviceValue = normalized(value);
    assign(m_serviceValue);
}

void ElfData::assign(const QVariant &value)
{
    if (value == m_value && value.userType() == m_value.userType())
        return;
    m_value = value;
    emit valueChanged();
}

void ElfData::writeRefused(bool otherWritesPending)
{
    if (!otherWritesPending)
        assign(m_serviceValue);
}

void ElfData::setValue(const QVariant &value)
{
    // QML hands arrays and objects over wrapped in a QJSValue.
    const QVariant plain = value.userType() == qMetaTypeId<QJSValue>() ? value.value<QJSValue>().toVariant() : value;
    // A value that does not fit the item's type is not shown; the service still gets it and answers.
    const QVariant next = normalized(plain);
    if (next.isValid())
        assign(next);
    const QVariant sent = next.isValid() ? next : plain;
    if (m_service.isEmpty())
        return;
    QDBusMessage call
        = QDBusMessage::createMethodCall(m_service, QString::fromLatin1(ElfWire::objectPath),
                                         QString::fromLatin1(ElfWire::interfaceName), QStringLiteral("SetItemValue"));
    call << m_address << QVariant::fromValue(QDBusVariant(ElfWire::toWire(sent)));
    // Never waits: the reply only tells the registry that the service's echo can be trusted again,
    // or that the service refused the value.
    ElfRegistry &registry = ElfRegistry::instance();
    registry.writeSent(this, sent);
    auto *watcher = new QDBusPendingCallWatcher(QDBusConnection::sessionBus().asyncCall(call), this);
    connect(watcher, &QDBusPendingCallWatcher::finished, this, [this, watcher, next] {
        const bool pending = ElfRegistry::instance().writeAcknowledged(this);
        if (watcher->isError())
            writeRefused(pending);
        else if (next.isValid())
            m_serviceValue = next;
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
