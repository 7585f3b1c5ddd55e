// The favourites store in one source, over the length the module keeps elsewhere: the working database,
// its export and import and the group folders share one connection and one set of confinement rules,
// and split apart each part would reach into the state of the others.
#include "hfavoritedb.h"

#include "hbaselogging.h"
#include "instrumentnames.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QLoggingCategory>
#include <QSet>
#include <QSqlQuery>
#include <QSqlRecord>
#if QT_VERSION < QT_VERSION_CHECK(6, 0, 0)
#include <QTextCodec>
#else
#include <QStringDecoder>
#endif

#include <dirent.h>
#include <sys/stat.h>

#include "filewriter.h"
#include "folderrights.h"
#include "pathguard.h"

namespace {

const char kFavoriteFolder[] = ".favorite/";
const char kWorkingDbFile[] = "favorite.db";
const char kDriver[] = "QSQLITE";
const char kConnection[] = "Favorite";
const char kFavoriteExtension[] = "stav";

const char kCreateTable[] = "CREATE TABLE FAVORITE_FILES(id int primary key,groupName TEXT NOT NULL,"
                            "fileName TEXT NOT NULL,fileData TEXT NOT NULL)";
const char kInsertFormat[] = "INSERT INTO FAVORITE_FILES VALUES(%d,'%s','%s', '%s')";
// The export's form of the same statement: prepared once, values bound, the same rows.
const char kInsertPrepared[] = "INSERT INTO FAVORITE_FILES VALUES(?,?,?,?)";
// Every row of an export, its texts as the bytes stored: units that wrote their names in Latin-1 left
// bytes that are no UTF-8, which the driver's own text decoding would garble.
const char kSelectAll[] = "select CAST(groupName AS BLOB) AS groupName, CAST(fileName AS BLOB) AS fileName, "
                          "CAST(fileData AS BLOB) AS fileData from FAVORITE_FILES";
const char kGroupNameColumn[] = "groupName";
const char kFileNameColumn[] = "fileName";
const char kFileDataColumn[] = "fileData";

const char kCloseDatabaseLog[] = "void HFavoriteDB::closeDatabase()";
const char kCreateTableLog[] = "bool HFavoriteDB::createFavoriteTable()";
const char kInsertLog[]
    = "bool HFavoriteDB::insertGroupTable(const int&, const QString&, const QString&, const QString&)";
const char kChmodLog[] = "void HFavoriteDB::chmod(const QString&)";
const char kFailLog[] = "::fail";
const char kChmodFailLog[] = "chmod fail";
const char kFileExtLog[] = "file ext=";
const char kMkFileSuccessLog[] = "Success:mkFile=";
const char kMkFileFailLog[] = "Fail:mkFile=";
const char kSkippedLog[] = "skipped:";

QString favoriteDir()
{
    return QString::fromLatin1(InstrumentNames::fiveGStorage) + QString::fromLatin1(kFavoriteFolder);
}

QString workingDbPath()
{
    return favoriteDir() + QLatin1String(kWorkingDbFile);
}

// The groups: visible sub-directories of the favourites directory, by name ignoring case.
QStringList groupDirectories()
{
    const QFileInfoList entries
        = QDir(favoriteDir()).entryInfoList(QDir::Dirs | QDir::NoDotAndDotDot, QDir::Name | QDir::IgnoreCase);
    QStringList paths;
    for (const QFileInfo &entry : entries)
        paths.append(entry.filePath());
    return paths;
}

// One text of an INSERT: UTF-8 bytes, cut at a zero byte as a C string would be, with each single
// quote doubled so that a quote in a name or in file content stays part of its literal. Texts without
// quotes go in unchanged.
QByteArray sqlLiteral(const QString &text)
{
    QByteArray bytes(text.toUtf8().constData());
    bytes.replace('\'', "''");
    return bytes;
}

// The text the statement above ends up holding for one value: cut at a zero character, as there.
// Never a null text: bound, that would be SQL NULL, which the NOT NULL columns refuse.
QString sqlText(const QString &text)
{
    const QString value = QString::fromUtf8(text.toUtf8().constData());
    return value.isNull() ? QString(0, QChar()) : value;
}

// A stored text: UTF-8 where its bytes are UTF-8, else Latin-1, the form older units exported.
QString storedText(const QVariant &value)
{
    const QByteArray bytes = value.toByteArray();
#if QT_VERSION < QT_VERSION_CHECK(6, 0, 0)
    QTextCodec::ConverterState state;
    const QString text = QTextCodec::codecForName("UTF-8")->toUnicode(bytes.constData(), bytes.size(), &state);
    const bool valid = state.invalidChars == 0 && state.remainingChars == 0;
#else
    QStringDecoder decoder(QStringDecoder::Utf8, QStringDecoder::Flag::Stateless);
    const QString text = decoder(bytes);
    const bool valid = !decoder.hasError();
#endif
    return valid ? text : QString::fromLatin1(bytes);
}

// Removes a directory tree. A symbolic link is removed as a link: following it would empty whatever
// directory it points to, which may lie outside the favourites.
bool removeTree(const QString &path)
{
    const QFileInfo info(path);
    if (info.isSymLink())
        return QFile::remove(path);
    return QDir(path).removeRecursively();
}

}

HFavoriteDB::HFavoriteDB(QObject *parent)
    : QObject(parent)
{
}

HFavoriteDB::~HFavoriteDB() = default;

bool HFavoriteDB::openDatabase(const QString &dbLocation)
{
    closeDatabase();
    m_dbName = dbLocation;
    const QString connection = QString::fromLatin1(kConnection);
    if (QSqlDatabase::contains(connection))
        m_db = QSqlDatabase::database(connection, false);
    else
        m_db = QSqlDatabase::addDatabase(QString::fromLatin1(kDriver), connection);
    m_db.setDatabaseName(m_dbName);
    if (m_db.open())
        return true;
    // The handle must go first, or removing the connection warns that it is still in use.
    m_db = QSqlDatabase();
    QSqlDatabase::removeDatabase(connection);
    return false;
}

void HFavoriteDB::closeDatabase()
{
    if (!m_db.isOpen())
        return;
    m_db.close();
    qCDebug(lcLists).noquote() << kCloseDatabaseLog;
}

bool HFavoriteDB::isOpenDatabase() const
{
    return m_db.isOpen();
}

QString HFavoriteDB::getDatabaseName() const
{
    return m_dbName;
}

bool HFavoriteDB::createFavoriteTable()
{
    // Checked here so that a closed database fails quietly instead of through Qt's own warning.
    if (m_db.isOpen() && QSqlQuery(m_db).exec(QString::fromLatin1(kCreateTable)))
        return true;
    qCDebug(lcLists).noquote() << kCreateTableLog << kFailLog;
    return false;
}

QString HFavoriteDB::insertStatement(int id, const QString &groupName, const QString &fileName, const QString &fileData)
{
    return QString::asprintf(kInsertFormat, id, sqlLiteral(groupName).constData(), sqlLiteral(fileName).constData(),
                             sqlLiteral(fileData).constData());
}

bool HFavoriteDB::insertGroupTable(const int &id, const QString &groupName, const QString &fileName,
                                   const QString &fileData)
{
    if (m_db.isOpen() && QSqlQuery(m_db).exec(insertStatement(id, groupName, fileName, fileData)))
        return true;
    qCDebug(lcLists).noquote() << kInsertLog << kFailLog;
    return false;
}

bool HFavoriteDB::exec(const QString &q)
{
    if (!m_db.isOpen())
        return false;
    QSqlQuery query(m_db);
    query.prepare(q);
    return query.exec();
}

bool HFavoriteDB::exportDB(const QString &fullpath)
{
    m_skipped.clear();
    const QString workingDb = workingDbPath();
    if (!openDatabase(workingDb))
        return false;
    // A working file left over from an interrupted export already holds the table: refuse it rather
    // than mix old rows into the new export. It stays open until the next openDatabase, but its name
    // is removed now, so that one export killed by a pulled battery does not fail every later one.
    if (!createFavoriteTable()) {
        qFileDelete(workingDb);
        return false;
    }

    // One transaction for all rows (SQLite would otherwise sync the file once per favourite), and one
    // statement compiled once for all of them.
    m_db.transaction();
    QSqlQuery insert(m_db);
    insert.prepare(QString::fromLatin1(kInsertPrepared));
    int id = 0;
    const QStringList groups = groupDirectories();
    reportUndecodable(favoriteDir(), true);
    for (const QString &group : groups) {
        reportUndecodable(group, false);
        exportGroup(insert, group, id);
    }
    insert.finish();
    m_db.commit();
    closeDatabase();

    // The previous export stays until the new one is complete: a full stick keeps the old file.
    FileWriter exported(fullpath);
    const bool copied = exported.open() && exported.copyFrom(workingDb) && exported.commit();
    if (copied)
        chmod(fullpath);
    qFileDelete(workingDb);
    return copied;
}

// Rows of one group: one row per favourite file, or a single group row when the group holds no files.
void HFavoriteDB::exportGroup(QSqlQuery &insert, const QString &groupPath, int &id)
{
    const QFileInfoList files
        = QDir(groupPath).entryInfoList(QDir::Files | QDir::NoDotAndDotDot, QDir::Name | QDir::IgnoreCase);
    if (files.isEmpty()) {
        insertRow(insert, id++, groupPath, QString(), QString());
        return;
    }
    for (const QFileInfo &info : files) {
        const QString path = info.filePath();
        const QString extension = path.mid(path.lastIndexOf(QLatin1Char('.')) + 1);
        qCDebug(lcLists) << kFileExtLog << extension;
        if (extension != QLatin1String(kFavoriteExtension) || !info.isFile())
            continue;
        QFile file(path);
        if (!file.open(QIODevice::ReadOnly))
            continue;
        // The content column is text: a zero byte ends it.
        const QString content = QString::fromUtf8(file.readAll().constData());
        insertRow(insert, id++, groupPath, path, content);
    }
}

// As insertGroupTable, through the prepared statement: the values bound are the texts the formatted
// statement would hold, so the rows are the same, quotes included.
void HFavoriteDB::insertRow(QSqlQuery &insert, int id, const QString &groupName, const QString &fileName,
                            const QString &fileData)
{
    insert.addBindValue(id);
    insert.addBindValue(sqlText(groupName));
    insert.addBindValue(sqlText(fileName));
    insert.addBindValue(sqlText(fileData));
    if (!insert.exec())
        qCDebug(lcLists).noquote() << kInsertLog << kFailLog;
}

bool HFavoriteDB::importDB(const QString &fullpath)
{
    m_skipped.clear();
    // Opening a missing file would create an empty database in its place; refuse it instead.
    if (!QFileInfo(fullpath).isFile() || !openDatabase(fullpath))
        return false;
    // The rows are read and checked before anything is removed: a file that is not a favourites export
    // (no readable table, or nothing in it that belongs in the favourites) must not cost the user the
    // favourites they have.
    QList<QVariantMap> rows;
    const bool readable = readRows(rows);
    closeDatabase();
    if (!readable)
        return false;
    const QList<QVariantMap> accepted = confinedRows(rows);
    if (accepted.isEmpty() && !rows.isEmpty())
        return false;
    const QStringList groups = groupDirectories();
    for (const QString &group : groups)
        removeTree(group);
    restoreRows(accepted);
    return true;
}

// An export file comes from another instrument, a USB stick or a hand with sqlite3. A row is restored
// only where an export could have put it: its group one visible folder directly in the favourites
// directory, its file one entry directly in that group. Everything else is skipped and reported.
QList<QVariantMap> HFavoriteDB::confinedRows(const QList<QVariantMap> &rows)
{
    QList<QVariantMap> accepted;
    for (const QVariantMap &row : rows) {
        const QString group = row.value(QLatin1String(kGroupNameColumn)).toString();
        const QString fileName = row.value(QLatin1String(kFileNameColumn)).toString();
        const bool groupFits = PathGuard::isDirectChild(group, favoriteDir())
            && !QFileInfo(QDir::cleanPath(group)).fileName().startsWith(QLatin1Char('.'));
        if (groupFits && (fileName.isEmpty() || PathGuard::isDirectChild(fileName, group))) {
            QVariantMap cleaned = row;
            cleaned.insert(QLatin1String(kGroupNameColumn), QDir::cleanPath(group));
            if (!fileName.isEmpty())
                cleaned.insert(QLatin1String(kFileNameColumn), QDir::cleanPath(fileName));
            accepted.append(cleaned);
        } else {
            skip(fileName.isEmpty() ? group : fileName);
        }
    }
    return accepted;
}

void HFavoriteDB::skip(const QString &name)
{
    qCWarning(lcLists) << kSkippedLog << name;
    m_skipped.append(name);
}

// Names in bytes that are not UTF-8 cannot be written into the database so that they mean the same
// file again; Qt's directory listing leaves them out without a word. Those an export would otherwise
// take (visible groups in the favourites folder, visible favourite files in a group) are reported.
void HFavoriteDB::reportUndecodable(const QString &folder, bool groups)
{
    const QByteArray folderBytes = QFile::encodeName(folder);
    DIR *dir = ::opendir(folderBytes.constData());
    if (!dir)
        return;
    while (const struct dirent *entry = ::readdir(dir)) {
        const QByteArray name(entry->d_name);
        if (name.startsWith('.') || QFile::encodeName(QFile::decodeName(name)) == name)
            continue;
        struct stat info
        {
        };
        const bool isDir = ::stat((folderBytes + '/' + name).constData(), &info) == 0 && S_ISDIR(info.st_mode);
        if (groups ? isDir : (!isDir && name.endsWith(QByteArray(".") + kFavoriteExtension)))
            skip(QDir(folder).filePath(QFile::decodeName(name)));
    }
    ::closedir(dir);
}

QStringList HFavoriteDB::getSkippedNames() const
{
    return m_skipped;
}

// A table of that name without the columns of an export is no export either: the query fails, nothing
// could be restored from it, and accepting it would only remove the existing groups.
bool HFavoriteDB::readRows(QList<QVariantMap> &rows)
{
    QSqlQuery query(m_db);
    if (!query.exec(QString::fromLatin1(kSelectAll)))
        return false;
    while (query.next()) {
        const QSqlRecord record = query.record();
        QVariantMap row;
        for (int i = 0; i < record.count(); ++i)
            row.insert(record.fieldName(i), storedText(record.value(i)));
        rows.append(row);
    }
    return true;
}

void HFavoriteDB::restoreRows(const QList<QVariantMap> &rows)
{
    // Every file row repeats its group; making the same directory again would only run chown and chmod
    // on it once more, so each group is made once.
    QSet<QString> madeGroups;
    for (const QVariantMap &row : rows) {
        const QString group = row.value(QLatin1String(kGroupNameColumn)).toString();
        if (madeGroups.contains(group))
            continue;
        madeGroups.insert(group);
        mkDir(group);
    }
    for (const QVariantMap &row : rows) {
        const QString fileName = row.value(QLatin1String(kFileNameColumn)).toString();
        if (fileName.isEmpty())
            continue;
        // Checked again now that the group exists: it must be the folder just made, not a link.
        if (!PathGuard::isDirectChild(row.value(QLatin1String(kGroupNameColumn)).toString(), favoriteDir())
            || !PathGuard::isDirectChild(fileName, row.value(QLatin1String(kGroupNameColumn)).toString())) {
            skip(fileName);
            continue;
        }
        const QByteArray data = row.value(QLatin1String(kFileDataColumn)).toString().toUtf8();
        if (mkFile(fileName, data))
            qCDebug(lcLists) << kMkFileSuccessLog << fileName;
        else
            qCDebug(lcLists) << kMkFileFailLog << fileName;
    }
}

// chown and chmod run as programs with an argument list, not through a shell: the path reaches them
// as one argument whatever it holds (spaces, quotes, ";", "$(...)"), and a plain path gives exactly
// "chown -R root:users <path>" and "chmod -R 775 <path>". Their exit statuses do not matter here.
void HFavoriteDB::chmod(const QString &filePullPath)
{
    const QFileInfo info(filePullPath);
    if (filePullPath.isEmpty() || (!info.exists() && !info.isSymLink())) {
        qCDebug(lcLists).noquote() << kChmodLog << kChmodFailLog;
        return;
    }
    FolderRights::apply(filePullPath);
}

bool HFavoriteDB::mkDir(const QString &pathname)
{
    // An empty name would mean the current directory to QDir.
    if (pathname.isEmpty())
        return false;
    if (!QFileInfo(pathname).isDir() && !QDir().mkpath(pathname))
        return false;
    chmod(pathname);
    return true;
}

// The result of the removal: a folder that is not there (or a plain file, which is no folder and stays)
// removes fine. An empty name would mean the current directory to QDir: never remove that by accident.
bool HFavoriteDB::deleteDir(const QString &pathname)
{
    if (pathname.isEmpty())
        return false;
    return removeTree(pathname);
}

bool HFavoriteDB::mkFile(const QString &filePullPath, const QByteArray &byteArray)
{
    const QFileInfo info(filePullPath);
    if (filePullPath.isEmpty() || info.exists() || info.isSymLink())
        return false;
    // Create-only: never write over a file or link that appeared after the check.
    FileWriter file(filePullPath);
    file.setCreateOnly(true);
    if (!file.open() || !file.write(byteArray) || !file.commit())
        return false;
    chmod(filePullPath);
    return true;
}

bool HFavoriteDB::qFileDelete(const QString &path)
{
    if (!QFile::exists(path))
        return false;
    return QFile::remove(path);
}
