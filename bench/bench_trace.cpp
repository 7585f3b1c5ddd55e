// The trace: 1,001 levels a sweep at 10 and at 50 sweeps a second, as the analyser sends them, followed
// by a bare QDBusConnection that decodes each sweep into a QVariantList (the floor) and by an item
// handle whose handler reads the sweep as the plot does. The rows give the share of one core this
// process spends (in percent, in the table's millisecond columns) against the floor's.
#include <QCoreApplication>

#include "bareitems.h"
#include "benchtable.h"
#include "elfclientinterface.h"
#include "elfdata.h"
#include "liveprobe.h"
#include "simfixture.h"

namespace {
const int kSeconds = 5;
const int kPoints = 1001;

// One application a rate.
QString app(int perSecond)
{
    return QStringLiteral("trace%1_app").arg(perSecond);
}
QString service(int perSecond)
{
    return "gem.base." + app(perSecond);
}
QString trace(int perSecond)
{
    return QStringLiteral(":result:%1:trace_result:trace:doubleARRAY:").arg(app(perSecond));
}

// One analyser at a time: the handle of the last one would still take its sweeps.
QJsonObject model(int rate)
{
    QJsonArray apps;
    {
        QJsonObject item = SimFixture::item("trace", QJsonArray(), "doubleArray", "result");
        item.insert(
            "simulate",
            QJsonObject{
                {"periodMs", 1000 / rate},
                {"carriers", QJsonArray{QJsonObject{{"frequency", 1.8425e9}, {"bandwidth", 5e6}, {"level", -30}}}}});
        apps.append(SimFixture::app(app(rate), {SimFixture::module("trace_result", {item})}));
    }
    return SimFixture::model(apps);
}

// The share of one core in percent while `kSeconds` of sweeps arrive.
double follow(LiveProbe &probe, int perSecond)
{
    probe.waitFor(1, 2000); // the first sweep: the stream runs
    probe.start();
    probe.waitFor(perSecond * kSeconds, kSeconds * 1000 + 5000);
    return probe.finish().cpuShare * 100;
}
} // namespace

int main(int argc, char **argv)
{
    QCoreApplication app(argc, argv);
    SimFixture sim;
    for (const int rate : {10, 50}) {
        sim.stop();
        if (!sim.startJson(model(rate)))
            return 1;
        LiveProbe probe;
        double floor = 0;
        {
            BareItems bare(service(rate), &probe);
            floor = follow(probe, rate);
        }
        ElfData *handle = ELFClientInterface::getSessionBusClient(service(rate))->item(trace(rate));
        if (!handle)
            return 1;
        // The plot reads every level of the sweep.
        QObject::connect(handle, &ElfData::valueChanged, [&] {
            double sum = 0;
            const QVariantList levels = handle->getValue().toList();
            for (const QVariant &level : levels)
                sum += level.toDouble();
            probe.record(levels.size() == kPoints && sum < 0 ? -1 : -2);
        });
        const double module = follow(probe, rate);
        BenchTable::printRow(
            QStringLiteral("Trace of %1 points, %2 sweeps/s, item handle; percent of a core").arg(kPoints).arg(rate),
            module, floor, QStringLiteral("0"));
    }
    return 0;
}
