// Addressing a parameter bridge (`setDbusAddress`): the calls it blocks on, for the first bridge of a
// service and for each further one (screens open bridges of the same application all the time).
#include <QCoreApplication>
#include <QDBusConnection>
#include <QDBusMessage>
#include <QProcess>
#include <memory>

#include "benchmodel.h"
#include "benchtable.h"
#include "simfixture.h"
#include "zeelfitems.h"

// Watches the bus with dbus-monitor and counts this process's calls of one method of the bus daemon.
class DaemonCalls
{
public:
    explicit DaemonCalls(const QString &member)
        : m_member("member=" + member.toLatin1())
    {
        m_monitor.start("dbus-monitor", {"--session", "type='method_call'"});
        // The monitor reports its own NameLost once it is watching.
        waitFor("NameLost");
    }
    ~DaemonCalls()
    {
        m_monitor.kill();
        m_monitor.waitForFinished();
    }

    // The calls since the last count; a marker call shows when the monitor has seen everything before it.
    uint take()
    {
        QDBusConnection::sessionBus().call(QDBusMessage::createMethodCall(
            "org.freedesktop.DBus", "/org/freedesktop/DBus", "org.freedesktop.DBus", "GetId"));
        const QByteArray self = "sender=" + QDBusConnection::sessionBus().baseService().toLatin1() + " ";
        uint calls = 0;
        for (const QByteArray &line : waitFor("member=GetId").split('\n'))
            calls += line.contains(self) && line.contains(m_member) ? 1 : 0;
        return calls;
    }

private:
    // What the monitor printed up to the line holding `text`; the rest stays for the next count.
    QByteArray waitFor(const QByteArray &text)
    {
        while (!m_seen.contains(text) && m_monitor.waitForReadyRead(10000))
            m_seen += m_monitor.readAllStandardOutput();
        int end = m_seen.indexOf(text);
        end = end < 0 ? m_seen.size() : m_seen.indexOf('\n', end) + 1;
        const QByteArray before = m_seen.left(end);
        m_seen = m_seen.mid(end);
        return before;
    }

    QProcess m_monitor;
    QByteArray m_member;
    QByteArray m_seen;
};

struct Calls
{
    uint service = 0;
    uint nameOwner = 0;
    QString text() const { return QStringLiteral("%1 to the service, %2 GetNameOwner").arg(service).arg(nameOwner); }
};

template<typename Work>
static Calls count(const SimFixture &sim, DaemonCalls &daemon, Work work)
{
    daemon.take();
    const auto before = sim.stats();
    work();
    const auto after = sim.stats();
    return Calls{BenchTable::calls(before, after), daemon.take()};
}

int main(int argc, char **argv)
{
    QCoreApplication app(argc, argv);
    const int size = BenchTable::size();
    SimFixture sim;
    if (!sim.startJson(BenchModel::modelWithResult(size, "power")))
        return 1;
    const QString address = QStringLiteral("gem.base.bench0_app,bench0_app,bench0_result,bench0_reg_module");

    DaemonCalls daemon("GetNameOwner");
    ZeElfItems screen;
    double firstMs = 0;
    const Calls firstCalls
        = count(sim, daemon, [&] { firstMs = BenchTable::medianMs([&] { screen.setDbusAddress(address); }, {}, 1); });
    BenchTable::printRow(QStringLiteral("Bridge addressing, first bridge of a service (%1 settings)").arg(size),
                         firstMs, -1, firstCalls.text());

    std::unique_ptr<ZeElfItems> bridge;
    const Calls furtherCalls = count(sim, daemon, [&] {
        bridge.reset(new ZeElfItems);
        bridge->setDbusAddress(address);
    });
    const double furtherMs
        = BenchTable::medianMs([&] { bridge->setDbusAddress(address); }, [&] { bridge.reset(new ZeElfItems); });
    BenchTable::printRow(QStringLiteral("Bridge addressing, each further bridge of the service"), furtherMs, -1,
                         furtherCalls.text());
    return 0;
}
