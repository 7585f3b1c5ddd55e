// Favourites import: `importDB` against the same rows written bare (groups made, files written) with
// the two program starts the device needs for each group and file made ("chown -R root:users" and
// "chmod -R 775", so the interface's other users may change them), once as the process starts and once
// after it has grown by 512 MiB, as the interface does over a session: the cost must grow with the
// files, not with the process.
#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QSet>
#include <QSqlDatabase>
#include <QSqlQuery>
#include <vector>

#include <spawn.h>
#include <sys/wait.h>

extern char **environ;

#include "benchtable.h"
#include "favoritefiles.h"
#include "hfavoritedb.h"

static const char kExport[] = "/tmp/fav.db";
static const size_t kGrowthBytes = size_t(512) * 1024 * 1024;

// A program start at its cheapest: posix_spawn (no copy of the process's pages), then its exit status.
static void run(std::vector<const char *> argv)
{
    argv.push_back(nullptr);
    pid_t pid = 0;
    if (posix_spawnp(&pid, argv[0], nullptr, nullptr, const_cast<char **>(argv.data()), environ) == 0)
        waitpid(pid, nullptr, 0);
}

static void rights(const QString &path)
{
    const QByteArray target = path.toLocal8Bit();
    run({"chown", "-R", "root:users", target.constData()});
    run({"chmod", "-R", "775", target.constData()});
}

static void bareImport()
{
    QDir(FavoriteFiles::directory()).removeRecursively();
    {
        QSqlDatabase db = QSqlDatabase::addDatabase("QSQLITE", "bare");
        db.setDatabaseName(kExport);
        db.open();
        QSqlQuery rows(db);
        rows.exec("select * from FAVORITE_FILES");
        QSet<QString> groups;
        while (rows.next()) {
            const QString group = rows.value(1).toString(), name = rows.value(2).toString();
            if (!groups.contains(group)) {
                groups.insert(group);
                QDir().mkpath(group);
                rights(group);
            }
            QFile file(name);
            file.open(QIODevice::WriteOnly | QIODevice::NewOnly);
            file.write(rows.value(3).toString().toUtf8());
            file.close();
            rights(name);
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
