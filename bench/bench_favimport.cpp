// Favourites import: `importDB` against the same rows written bare (groups made, files written), once
// as the process starts and once after it has grown by 512 MiB, as the interface does over a session:
// the cost must grow with the files, not with the process.
#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QSqlDatabase>
#include <QSqlQuery>
#include <vector>

#include "benchtable.h"
#include "favoritefiles.h"
#include "hfavoritedb.h"

static const char kExport[] = "/tmp/fav.db";
static const size_t kGrowthBytes = size_t(512) * 1024 * 1024;

static void bareImport()
{
    QDir(FavoriteFiles::directory()).removeRecursively();
    {
        QSqlDatabase db = QSqlDatabase::addDatabase("QSQLITE", "bare");
        db.setDatabaseName(kExport);
        db.open();
        QSqlQuery rows(db);
        rows.exec("select * from FAVORITE_FILES");
        while (rows.next()) {
            QDir().mkpath(rows.value(1).toString());
            QFile file(rows.value(2).toString());
            file.open(QIODevice::WriteOnly | QIODevice::NewOnly);
            file.write(rows.value(3).toString().toUtf8());
        }
        rows.finish();
        db.close();
    }
    QSqlDatabase::removeDatabase("bare");
}

static void measure(HFavoriteDB &favorites, int files, const QString &when)
{
    const double project = BenchTable::medianMs([&] {
        if (!favorites.importDB(kExport))
            qFatal("import failed");
    });
    const double floor = BenchTable::medianMs(bareImport);
    BenchTable::printRow(QStringLiteral("Favourites import, %1 files%2").arg(files).arg(when), project, floor, 0);
}

int main(int argc, char **argv)
{
    QCoreApplication app(argc, argv);
    const int files = BenchTable::size() / 10;
    FavoriteFiles::write(files);
    HFavoriteDB favorites;
    if (!favorites.exportDB(kExport))
        return 1;

    measure(favorites, files, QString());
    // Touched, so the pages really belong to the process.
    std::vector<char> grown(kGrowthBytes, 1);
    measure(favorites, files, QStringLiteral(", process grown by 512 MiB"));
    return grown.back() == 1 ? 0 : 1;
}
