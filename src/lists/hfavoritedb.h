#ifndef HFAVORITEDB_H
#define HFAVORITEDB_H

#include <QByteArray>
#include <QList>
#include <QObject>
#include <QSqlDatabase>
#include <QSqlQuery>
#include <QString>
#include <QStringList>
#include <QVariantMap>

// The user's favourites: every group is a directory under the favourites directory and its favourite
// files are the "stav" files in it. Export packs all groups into one SQLite file so they can be carried
// to another instrument; import rebuilds the groups from such a file. QML also gets a thin SQL access
// to the "Favorite" connection and a few file-system helpers.
class HFavoriteDB : public QObject
{
    Q_OBJECT

public:
    explicit HFavoriteDB(QObject *parent = nullptr);
    // Releases the handle only: the connection stays registered (and open) for the next user.
    ~HFavoriteDB() override;

    Q_INVOKABLE bool openDatabase(const QString &dbLocation);
    Q_INVOKABLE void closeDatabase();
    Q_INVOKABLE bool isOpenDatabase() const;
    Q_INVOKABLE QString getDatabaseName() const;
    Q_INVOKABLE bool createFavoriteTable();
    Q_INVOKABLE bool insertGroupTable(const int &id, const QString &groupName, const QString &fileName,
                                      const QString &fileData);
    Q_INVOKABLE bool exec(const QString &q);
    Q_INVOKABLE bool exportDB(const QString &fullpath);
    Q_INVOKABLE bool importDB(const QString &fullpath);
    Q_INVOKABLE void chmod(const QString &filePullPath);
    Q_INVOKABLE bool mkDir(const QString &pathname);
    Q_INVOKABLE bool deleteDir(const QString &pathname);
    Q_INVOKABLE bool mkFile(const QString &filePullPath, const QByteArray &byteArray);
    // The names the last export or import left out (not UTF-8, or outside the favourites directory).
    Q_INVOKABLE QStringList getSkippedNames() const;

    bool qFileDelete(const QString &path);

    // The text an INSERT of these values executes (exactly the fixed format for texts without quotes).
    static QString insertStatement(int id, const QString &groupName, const QString &fileName, const QString &fileData);

private:
    void exportGroup(QSqlQuery &insert, const QString &groupPath, int &id);
    static void insertRow(QSqlQuery &insert, int id, const QString &groupName, const QString &fileName,
                          const QString &fileData);
    bool readRows(QList<QVariantMap> &rows);
    void restoreRows(const QList<QVariantMap> &rows);
    QList<QVariantMap> confinedRows(const QList<QVariantMap> &rows);
    void reportUndecodable(const QString &folder, bool groups);
    void skip(const QString &name);

    QSqlDatabase m_db;
    QString m_dbName;
    QStringList m_skipped;
};

#endif // HFAVORITEDB_H
