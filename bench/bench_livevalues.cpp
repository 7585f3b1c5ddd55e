// Live values, where the interface spends its life: a result the service changes 100, 1,000 and 10,000
// times a second, followed by a bare QDBusConnection that decodes each value (the floor), by an item
// handle with a C++ handler, and by a QML binding on the handle. Each row gives this process's CPU time
// per update, in microseconds (in the table's millisecond columns), against the floor's, the updates
// delivered per second and the delay from the service sending a value to this process taking it. Then
// the cost of one update with 1, 10 and 100 bridges and 10,000 live handles on the same service: it
// must not grow with them.
#include <QCoreApplication>
#include <QQmlComponent>
#include <QQmlContext>
#include <QQmlEngine>
#include <algorithm>
#include <memory>
#include <vector>

#include "bareitems.h"
#include "benchmodel.h"
#include "benchtable.h"
#include "elfclientinterface.h"
#include "elfdata.h"
#include "liveprobe.h"
#include "simfixture.h"
#include "zeelfitems.h"

namespace {
const QString kService = QStringLiteral("gem.base.bench0_app");
const QString kLevel = QStringLiteral(":result:bench0_app:bench0_result:level:");
const QString kBridgeAddress = QStringLiteral("gem.base.bench0_app,bench0_app,bench0_result,bench0_reg_module");
const int kSeconds = 2;
const int kRuns = 3;
const int kLiveHandles = 10000;
const uint kGrowthRate = 1000;

const QByteArray kBinding = R"(
import QtQml 2.15
QtObject {
    property QtObject handle
    property real shown: handle ? handle.value : 0
    onShownChanged: probe.record(shown)
}
)";

class Run
{
public:
    explicit Run(SimFixture &sim)
        : m_sim(sim)
    {
    }

    // Of three streams at `perSecond`, the one whose CPU time per update is the median.
    LiveProbe::Result follow(uint perSecond)
    {
        QVector<LiveProbe::Result> results;
        for (int run = 0; run < kRuns; ++run)
            results.append(followOnce(perSecond));
        std::sort(results.begin(), results.end(), [](const LiveProbe::Result &a, const LiveProbe::Result &b) {
            return a.cpuMsPerUpdate < b.cpuMsPerUpdate;
        });
        return results.at(kRuns / 2);
    }

    LiveProbe probe;

private:
    // The probe's result for `kSeconds` of changes at `perSecond`, once everything before has settled.
    LiveProbe::Result followOnce(uint perSecond)
    {
        const uint count = perSecond * kSeconds;
        settle();
        probe.start();
        if (!m_sim.streamChanges(kLevel, perSecond, count))
            qFatal("the simulator does not stream");
        probe.waitFor(int(count), kSeconds * 1000 + 10000);
        const LiveProbe::Result result = probe.finish();
        settle();
        return result;
    }

    // Late values of the last stream are taken before the next one starts.
    static void settle()
    {
        LiveProbe idle;
        idle.waitFor(1, 300);
    }

    SimFixture &m_sim;
};

QString delays(const LiveProbe::Result &r)
{
    return QStringLiteral("%1/s delivered, delay median %2 ms, p99 %3 ms")
        .arg(qRound(r.perSecond))
        .arg(r.medianMs, 0, 'f', 2)
        .arg(r.p99Ms, 0, 'f', 2);
}

QJsonObject details(const LiveProbe::Result &r, const LiveProbe::Result &floor)
{
    return {{"delivered_per_s", r.perSecond},
            {"delay_median_ms", r.medianMs},
            {"delay_p99_ms", r.p99Ms},
            {"cpu_share", r.cpuShare},
            {"floor_delivered_per_s", floor.perSecond},
            {"floor_delay_median_ms", floor.medianMs},
            {"floor_delay_p99_ms", floor.p99Ms}};
}

void printLive(const QString &how, uint rate, const LiveProbe::Result &r, const LiveProbe::Result &floor)
{
    BenchTable::printRow(QStringLiteral("Live value, %1 changes/s, %2: %3 (floor %4); CPU µs per update")
                             .arg(rate)
                             .arg(how, delays(r), delays(floor)),
                         r.cpuMsPerUpdate * 1e3, floor.cpuMsPerUpdate * 1e3, QStringLiteral("0"), details(r, floor));
}

} // namespace

int main(int argc, char **argv)
{
    QCoreApplication app(argc, argv);
    SimFixture sim;
    if (!sim.startJson(BenchModel::modelWithResult(kLiveHandles, "level")))
        return 1;
    Run run(sim);
    const QList<uint> rates = {100, 1000, 10000};

    QMap<uint, LiveProbe::Result> floors;
    {
        BareItems bare(kService, &run.probe);
        run.follow(kGrowthRate); // first streams warm the process up; they are not counted
        for (const uint rate : rates)
            floors.insert(rate, run.follow(rate));
    }

    ELFClientInterface *client = ELFClientInterface::getSessionBusClient(kService);
    ElfData *handle = client->item(kLevel);
    if (!handle)
        return 1;
    LiveProbe &probe = run.probe;
    QMetaObject::Connection handler
        = QObject::connect(handle, &ElfData::valueChanged, [&] { probe.record(handle->getValue().toDouble()); });
    for (const uint rate : rates)
        printLive(QStringLiteral("item handle"), rate, run.follow(rate), floors.value(rate));
    QObject::disconnect(handler);

    {
        QQmlEngine engine;
        engine.rootContext()->setContextProperty(QStringLiteral("probe"), &probe);
        QQmlComponent component(&engine);
        component.setData(kBinding, QUrl());
        std::unique_ptr<QObject> binding(
            component.createWithInitialProperties({{"handle", QVariant::fromValue<QObject *>(handle)}}));
        if (!binding)
            qFatal("%s", qPrintable(component.errorString()));
        for (const uint rate : rates)
            printLive(QStringLiteral("bound in QML"), rate, run.follow(rate), floors.value(rate));
    }

    // Growth: the handler above on the one handle, with more and more bridges and handles besides.
    handler = QObject::connect(handle, &ElfData::valueChanged, [&] { probe.record(handle->getValue().toDouble()); });
    std::vector<std::unique_ptr<ZeElfItems>> bridges;
    const auto addBridges = [&](size_t total) {
        while (bridges.size() < total) {
            bridges.emplace_back(new ZeElfItems);
            bridges.back()->setDbusAddress(kBridgeAddress);
        }
    };
    addBridges(1);
    const LiveProbe::Result one = run.follow(kGrowthRate);
    const auto printGrowth = [&](const QString &what, const LiveProbe::Result &r) {
        BenchTable::printRow(QStringLiteral("Live value, %1 changes/s, %2 (floor: 1 bridge); CPU µs per update")
                                 .arg(kGrowthRate)
                                 .arg(what),
                             r.cpuMsPerUpdate * 1e3, one.cpuMsPerUpdate * 1e3, QStringLiteral("0"), details(r, one));
    };
    printGrowth(QStringLiteral("1 bridge"), one);
    for (const size_t count : {size_t(10), size_t(100)}) {
        addBridges(count);
        printGrowth(QStringLiteral("%1 bridges").arg(count), run.follow(kGrowthRate));
    }
    QStringList addresses;
    if (!client->moduleItems(BenchModel::settingsModule(0), addresses))
        return 1;
    for (const QString &address : addresses)
        client->item(address);
    printGrowth(QStringLiteral("100 bridges and %1 more live handles").arg(addresses.size()), run.follow(kGrowthRate));
    return 0;
}
