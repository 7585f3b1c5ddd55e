// qmltestrunner for QML tests that also steer the simulator: the same options (-input, -import), and
// the simulator's control interface as the context property `simulator`.
#include <QQmlContext>
#include <QQmlEngine>
#include <QtQuickTest>

#include "qmlsimulator.h"

class SimulatorSetup : public QObject
{
    Q_OBJECT

public Q_SLOTS:
    void qmlEngineAvailable(QQmlEngine *engine)
    {
        engine->rootContext()->setContextProperty(QStringLiteral("simulator"), &m_simulator);
    }

private:
    QmlSimulator m_simulator;
};

QUICK_TEST_MAIN_WITH_SETUP(qmlsimrunner, SimulatorSetup)

#include "qmlsimrunner.moc"
