#include "qmlsimulator.h"

#include <QJSValue>

QmlSimulator::QmlSimulator(QObject *parent)
    : QObject(parent)
{
}

bool QmlSimulator::setItem(const QString &address, const QVariant &value)
{
    const QVariant plain = value.userType() == qMetaTypeId<QJSValue>() ? value.value<QJSValue>().toVariant() : value;
    return m_control.setItem(address, plain);
}

bool QmlSimulator::removeItem(const QString &address)
{
    return m_control.removeItem(address);
}

bool QmlSimulator::raiseTask(const QString &name, const QString &id)
{
    return m_control.raiseTask(name, id);
}
