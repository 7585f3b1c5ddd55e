// Favourites export: `exportDB` against the same rows read and written bare, in one transaction with
// one prepared insert.
#include <QCoreApplication>
#include <QDir>
#include <QDirIterator>
#include <QFile>
#include <QSqlDatabase>
#include <QSqlQuery>

#include "benchtable.h"
#include "favoritefiles.h"
#include "hfavoritedb.h"

static const char kExport[] = "/tmp/fav.db";
static const char kBare[] = "/tmp/bare.db";

static void bareExport()
{
    QFile::remove(kBare);
    {
        QSqlDatabase db = QSqlDatabase::addDatabase("QSQLITE", "bare");
        db.setDatabaseName(kBare);
        db.open();
        QSqlQuery(db).exec("CREATE TABLE FAVORITE_FILES(id int primary key,groupName TEXT NOT NULL,"
                           "fileName TEXT NOT NULL,fileData TEXT NOT NULL)");
        db.transaction();
        QSqlQuery insert(db);
        insert.prepare("INSERT INTO FAVORITE_FILES VALUES(?,?,?,?)");
        int id = 0;
        const QFileInfoList groups
            = QDir(FavoriteFiles::directory())
                  .entryInfoList(QDir::Dirs | QDir::NoDotAndDotDot, QDir::Name | QDir::IgnoreCase);
        for (const QFileInfo &group : groups) {
            const QFileInfoList files
                = QDir(group.filePath()).entryInfoList(QDir::Files, QDir::Name | QDir::IgnoreCase);
            for (const QFileInfo &info : files) {
                QFile file(info.filePath());
                file.open(QIODevice::ReadOnly);
                insert.addBindValue(id++);
                insert.addBindValue(group.filePath());
                insert.addBindValue(info.filePath());
                insert.addBindValue(QString::fromUtf8(file.readAll()));
                insert.exec();
            }
        }
        insert.finish();
        db.commit();
        db.close();
    }
    QSqlDatabase::removeDatabase("bare");
}

int main(int argc, char **argv)
{
    QCoreApplication app(argc, argv);
    const int files = BenchTable::size();
    FavoriteFiles::write(files);
    HFavoriteDB favorites;

    const double project = BenchTable::medianMs([&] {
        if (!favorites.exportDB(kExport))
            qFatal("export failed");
    });
    const double floor = BenchTable::medianMs(bareExport);
    BenchTable::printRow(QStringLiteral("Favourites export, %1 files (%2 rows/s; floor %3 rows/s)")
                             .arg(files)
                             .arg(qRound(files / project * 1000))
                             .arg(qRound(files / floor * 1000)),
                         project, floor, 0);
    return 0;
}
