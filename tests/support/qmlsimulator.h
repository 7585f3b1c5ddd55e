#ifndef QMLSIMULATOR_H
#define QMLSIMULATOR_H

#include <QJSValue>

#include "simfixture.h"

// The simulator's control interface as QML tests see it (the context property `simulator`), to change
// the instrument behind the interface's back; the test's registration (SIM) starts the simulator.
class QmlSimulator : public QObject
{
    Q_OBJECT

public:
    explicit QmlSimulator(QObject *parent = nullptr) : QObject(parent) {}

    // Values from JavaScript (numbers, texts, arrays) are unwrapped before they go on the bus.
    Q_INVOKABLE bool setItem(const QString &address, const QVariant &value)
    {
        const bool fromScript = value.userType() == qMetaTypeId<QJSValue>();
        return m_control.setItem(address, fromScript ? value.value<QJSValue>().toVariant() : value);
    }
    Q_INVOKABLE bool removeItem(const QString &address) { return m_control.removeItem(address); }
    Q_INVOKABLE bool raiseTask(const QString &name, const QString &id) { return m_control.raiseTask(name, id); }

private:
    SimFixture m_control;
};

#endif // QMLSIMULATOR_H
