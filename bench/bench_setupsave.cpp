// Saving a six-tab setup (`save` with type 1): against reading and parsing the six tab files and
// writing one indented document, with the same flush of the file systems the save makes.
#include <QFile>
#include <QGuiApplication>
#include <QJsonDocument>
#include <QJsonObject>

#include <unistd.h>

#include "benchmodel.h"
#include "benchtable.h"
#include "hsave.h"

static const char kSetup[] = "/tmp/setup.json";

int main(int argc, char **argv)
{
    QGuiApplication app(argc, argv);
    const int size = BenchTable::size();
    BenchModel::writeTabFiles(size);
    HSave save;
    save.addCommonHeader("TabCount", 6);
    save.setProperty("type", 1);

    const double project = BenchTable::medianMs([&] {
        if (!save.save(kSetup))
            qFatal("save failed");
    });
    const qint64 bytes = QFile(kSetup).size();
    const double floor = BenchTable::medianMs([&] {
        QJsonObject setup{{"Header", QJsonObject{{"TabCount", 6}}}};
        for (int tab = 1; tab <= 6; ++tab) {
            QFile file(QStringLiteral("/tmp/Tab%1.oxs").arg(tab));
            file.open(QIODevice::ReadOnly);
            setup.insert(QStringLiteral("Tab%1").arg(tab), QJsonDocument::fromJson(file.readAll()).object());
        }
        QFile out(kSetup);
        out.open(QIODevice::WriteOnly | QIODevice::Truncate);
        out.write(QJsonDocument(setup).toJson(QJsonDocument::Indented));
        out.close();
        ::sync();
    });
    BenchTable::printRow(QStringLiteral("Setup `save` 6 tabs (%1 KB)").arg(bytes / 1024), project, floor, 0);
    return 0;
}
