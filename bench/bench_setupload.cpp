// Loading a six-tab setup (`loadSetup`): against parsing the file and writing the six tab files.
#include <QFile>
#include <QGuiApplication>
#include <QJsonDocument>
#include <QJsonObject>

#include "benchmodel.h"
#include "benchtable.h"
#include "hsave.h"

static const char kSetup[] = "/tmp/setup.json";

int main(int argc, char **argv)
{
    QGuiApplication app(argc, argv);
    const int size = BenchTable::size();
    QJsonObject setup{{"Header", QJsonObject{{"TabCount", 6}}}};
    for (int tab = 0; tab < 6; ++tab)
        setup.insert(QStringLiteral("Tab%1").arg(tab + 1), BenchModel::tabTable(tab, size));
    QFile file(kSetup);
    if (!file.open(QIODevice::WriteOnly | QIODevice::Truncate))
        return 1;
    file.write(QJsonDocument(setup).toJson(QJsonDocument::Indented));
    file.close();
    HSave save;

    const double project = BenchTable::medianMs([&] {
        if (!save.loadSetup(kSetup))
            qFatal("loadSetup failed");
    });
    const double floor = BenchTable::medianMs([&] {
        QFile in(kSetup);
        in.open(QIODevice::ReadOnly);
        const QJsonObject object = QJsonDocument::fromJson(in.readAll()).object();
        for (int tab = 1; tab <= 6; ++tab) {
            QFile out(QStringLiteral("/tmp/Tab%1.oxs").arg(tab));
            out.open(QIODevice::WriteOnly | QIODevice::Truncate);
            out.write(QJsonDocument(object.value(QStringLiteral("Tab%1").arg(tab)).toObject())
                          .toJson(QJsonDocument::Indented));
        }
    });
    BenchTable::printRow(QStringLiteral("`loadSetup` 6 tabs (%1 KB)").arg(QFile(kSetup).size() / 1024), project, floor,
                         0);
    return 0;
}
