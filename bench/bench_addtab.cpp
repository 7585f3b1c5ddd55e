// Reading six applications' settings into the six tab tables with their manifests alive (a recall of a
// six-tab setup), against walking six QMaps of the same settings with the same filters.
#include <QGuiApplication>
#include <QJsonArray>
#include <QJsonObject>
#include <QMap>
#include <memory>
#include <vector>

#include "benchmodel.h"
#include "benchtable.h"
#include "elfclientinterface.h"
#include "elfdata.h"
#include "hsave.h"
#include "manifest.h"
#include "simfixture.h"

static const int kTabs = 6;

// The same filters as addTab: settings only, without the session's messages, arrays as texts.
static QJsonObject walk(const QMap<QString, QVariant> &settings)
{
    static const QStringList skipped{
        ":toastMessageCnfg:stringARRAY:", ":warningMessageCnfg:", ":persistMessageCnfg:", ":opserverModeCnfg:"};
    QJsonObject table;
    for (auto it = settings.cbegin(); it != settings.cend(); ++it) {
        const QString &address = it.key();
        if (!address.startsWith(QLatin1String(":config:")))
            continue;
        bool skip = false;
        for (const QString &suffix : skipped)
            skip = skip || address.endsWith(suffix);
        if (skip)
            continue;
        if (address.endsWith(QLatin1String(":doubleARRAY:"))) {
            QStringList texts;
            for (const QVariant &element : it.value().toList())
                texts.append(QString::number(element.toDouble(), 'g', 6));
            table.insert(address, QJsonArray::fromStringList(texts));
        } else {
            table.insert(address, QJsonValue::fromVariant(it.value()));
        }
    }
    return table;
}

int main(int argc, char **argv)
{
    QGuiApplication app(argc, argv);
    const int size = BenchTable::size();
    SimFixture sim;
    if (!sim.startJson(BenchModel::model(kTabs, size)))
        return 1;
    std::vector<std::unique_ptr<Manifest>> manifests;
    QMap<QString, QVariant> settings[kTabs];
    for (int tab = 0; tab < kTabs; ++tab) {
        const QString appName = BenchModel::app(tab);
        auto *client = ELFClientInterface::getSessionBusClient("gem.base." + appName);
        manifests.emplace_back(new Manifest(client, appName, BenchModel::settingsModule(tab)));
        for (const QString &address : manifests.back()->addresses())
            settings[tab].insert(address, client->item(address)->getValue());
    }
    HSave save;

    const auto before = sim.stats();
    const double project = BenchTable::medianMs([&] {
        for (int tab = 0; tab < kTabs; ++tab)
            save.addTab(tab, BenchModel::app(tab), QString());
    });
    const double trips = BenchTable::calls(before, sim.stats()) / 5.0;
    const double floor = BenchTable::medianMs([&] {
        int total = 0;
        for (const auto &tab : settings)
            total += walk(tab).size();
        if (total != kTabs * size)
            qFatal("the floor kept %d settings", total);
    });
    BenchTable::printRow(QStringLiteral("`addTab` x6 (%1 settings), manifests alive").arg(kTabs * size), project, floor,
                         trips);
    return 0;
}
