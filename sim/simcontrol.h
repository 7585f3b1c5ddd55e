#ifndef SIMCONTROL_H
#define SIMCONTROL_H

#include "simulator.h"

#include <QDBusArgument>
#include <QDBusContext>
#include <QDBusVariant>
#include <QObject>

class DesktopService;
class SimStream;

Q_DECLARE_METATYPE(JournalEntry)
Q_DECLARE_METATYPE(QVector<JournalEntry>)
using SimStats = QMap<QString, uint>;
Q_DECLARE_METATYPE(SimStats)

QDBusArgument &operator<<(QDBusArgument &arg, const JournalEntry &entry);
const QDBusArgument &operator>>(const QDBusArgument &arg, JournalEntry &entry);

// The control interface by which tests and the demo steer the simulator: service
// "gem.base.simulator", object "/gem/base/simulator", interface "gem.base.Simulator".
class SimControl : public QObject, protected QDBusContext
{
    Q_OBJECT
    Q_CLASSINFO("D-Bus Interface", "gem.base.Simulator")

public:
    static constexpr const char *serviceName = "gem.base.simulator";
    static constexpr const char *objectPath = "/gem/base/simulator";

    SimControl(Simulator *simulator, DesktopService *desktop, QObject *parent = nullptr);
    static void registerTypes();

public Q_SLOTS:
    // Service, address and argument of every action and write received, in order.
    QVector<JournalEntry> Journal();
    void ClearJournal();
    // From now on the action answers `reply` without being carried out; an empty reply undoes it.
    void SetActionReply(const QString &address, const QString &reply);
    // From now on the action writes `text` to the file its argument names and answers "OK"; empty undoes it.
    void SetActionOutput(const QString &address, const QString &text);
    // From now on the action answers only after `ms` milliseconds; 0 undoes it.
    void SetActionDelay(const QString &address, uint ms);
    // Adds or changes an item and tells the clients. An empty a{sv} as `initValue` means none.
    void SetItem(const QString &address, const QDBusVariant &value, const QDBusVariant &initValue);
    void RemoveItem(const QString &address);
    // Emits the desktop service's TaskRaised and remembers the task for the cmsend stub.
    void RaiseTask(const QString &name, const QString &id);
    // Emits SigInfo on an application's service.
    void SendInfo(const QString &app, const QString &msg);
    // Changes the double item `count` times at `perSecond`, each value the send time (see SimStream).
    void StreamChanges(const QString &address, uint perSecond, uint count);
    // How many calls of each gem.base.Elf method the applications have received.
    SimStats Stats();
    void Quit();

private:
    Simulator *m_simulator;
    DesktopService *m_desktop;
    SimStream *m_stream;
};

#endif // SIMCONTROL_H
