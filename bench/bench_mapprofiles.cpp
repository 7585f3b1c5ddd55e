// The map-profile scan (`readAll` over BENCH_SIZE/10 profiles): against iterating the same folder,
// parsing each file's header and collecting each field's distinct values.
#include <QCoreApplication>
#include <QDir>
#include <QDirIterator>
#include <QFile>
#include <QJsonDocument>
#include <QJsonObject>
#include <QSet>

#include "benchtable.h"
#include "hmapprofilelist.h"

static const char kProfiles[] = "/user/tarnwick5G/internal/.mapProfile";

int main(int argc, char **argv)
{
    QCoreApplication app(argc, argv);
    const int profiles = BenchTable::size() / 10;
    QDir().mkpath(kProfiles);
    for (int i = 0; i < profiles; ++i) {
        QFile file(QStringLiteral("%1/site%2.mpcv").arg(kProfiles).arg(i));
        if (!file.open(QIODevice::WriteOnly))
            return 1;
        const QJsonObject header{{"Name", QStringLiteral("Site %1").arg(i)},
                                 {"RRUType", QStringLiteral("RRU%1").arg(i % 7)},
                                 {"Frequency", QString::number(1800 + i % 40)}};
        file.write(QJsonDocument(QJsonObject{{"Header", header}, {"Points", QJsonObject{{"count", i}}}}).toJson());
    }
    HMapProFileList list;

    const double project = BenchTable::medianMs([&] {
        list.readAll();
        if (list.getListSize() != profiles)
            qFatal("readAll found %d profiles", list.getListSize());
    });
    const double floor = BenchTable::medianMs([&] {
        QVariantList headers;
        QDirIterator it(kProfiles, {"*.mpcv"}, QDir::Files, QDirIterator::Subdirectories);
        while (it.hasNext()) {
            QFile file(it.next());
            file.open(QIODevice::ReadOnly);
            headers.append(QJsonDocument::fromJson(file.readAll()).object().value("Header").toObject().toVariantMap());
        }
        if (headers.size() != profiles)
            qFatal("the floor found %d profiles", int(headers.size()));
        // The screen's filter lists: each field's distinct values.
        QSet<QString> values[3];
        for (const QVariant &header : qAsConst(headers)) {
            const QVariantMap map = header.toMap();
            values[0].insert(map.value("Name").toString());
            values[1].insert(map.value("RRUType").toString());
            values[2].insert(map.value("Frequency").toString());
        }
    });
    BenchTable::printRow(QStringLiteral("Map-profile scan, %1 profiles").arg(profiles), project, floor, 0);
    return 0;
}
