#include <QtTest>
#include <QSqlDatabase>
#include <QSqlError>
#include <QSqlQuery>

#include "hfavoritedb.h"
#include "hhistoryfilename.h"
#include "hmapprofilelist.h"
#include "hpositionfileio.h"
#include "testfiles.h"

#include <unistd.h>

// The stores the user fills: favourites, file-name history, stored positions and map profiles. Runs in
// the sandbox: /user, /base and /tmp are private, chown and chmod act on its tmpfs.
namespace {
const QString kFav = QStringLiteral("/user/tarnwick5G/internal/.favorite/");
const QString kMaps = QStringLiteral("/user/tarnwick5G/internal/.mapProfile");
const QString kPwned = QStringLiteral("/tmp/pwned");
// No "/" in it (it names one directory); run by a shell it would make /tmp/pwned, HOME being /tmp.
const QString kHostile = QStringLiteral("a;b $(cd;touch pwned) `cd;touch pwned` 'q'");
const QString kStoreDir = QStringLiteral("/tmp/store 'a'; $(x)");
const QString kStore = kStoreDir + QStringLiteral("/recent ;'names'.txt");

using Row = QStringList;
using Tree = QMap<QString, QByteArray>;

void write(const QString &path, const QByteArray &bytes)
{
    QDir().mkpath(QFileInfo(path).path());
    writeFile(path, bytes);
}

// Every entry below `root`, hidden ones included: directories as "<dir>", files as their bytes.
Tree tree(const QString &root)
{
    Tree entries;
    QDirIterator it(root, QDir::AllEntries | QDir::Hidden | QDir::NoDotAndDotDot, QDirIterator::Subdirectories);
    while (it.hasNext()) {
        const QString path = it.next();
        entries.insert(path.mid(root.size()), it.fileInfo().isDir() ? QByteArray("<dir>") : readFile(path));
    }
    return entries;
}

// The rows of an exported file, read with its own connection, by id.
QList<Row> rowsOf(const QString &path)
{
    QList<Row> rows;
    {
        QSqlDatabase db = QSqlDatabase::addDatabase("QSQLITE", "reader");
        db.setDatabaseName(path);
        db.open();
        QSqlQuery query("select id, groupName, fileName, fileData from FAVORITE_FILES order by id", db);
        while (query.next())
            rows.append({query.value(0).toString(), query.value(1).toString(), query.value(2).toString(),
                         query.value(3).toString()});
    }
    QSqlDatabase::removeDatabase("reader");
    return rows;
}

// An export file holding the rows given (group, file, content), as sqlite3 on a USB stick could make it.
void craft(const QString &path, const QList<Row> &rows)
{
    QFile::remove(path);
    HFavoriteDB db;
    QVERIFY(db.openDatabase(path) && db.createFavoriteTable());
    for (int id = 0; id < rows.size(); ++id)
        QVERIFY(db.insertGroupTable(id, rows[id][0], rows[id][1], rows[id][2]));
    db.closeDatabase();
}

// The entries of a history or the rows of a table, "|" between fields, "/" between entries.
QString entries(const HHistoryFileName &history)
{
    QStringList result;
    for (int i = 0; i < history.count(); ++i)
        result.append(history.getName(i) + '|' + history.getDate(i));
    return result.join('/');
}

QString rows(const HPositionFileIO &positions, std::initializer_list<int> numbers)
{
    QStringList result;
    for (int r : numbers)
        result.append(positions.getData(0, r) + '|' + positions.getData(1, r) + '|' + positions.getData(2, r));
    return result.join('/');
}

void profile(const QString &name, const QByteArray &header)
{
    write(kMaps + "/" + name, "{\"Header\":" + header + ",\"Tab1\":{\"x\":1}}");
}

// Texts of `key` over the profile list, sorted where the scan order (which carries no meaning) decides.
QStringList column(const HMapProFileList &list, const QString &key, bool sort = true)
{
    QStringList texts;
    for (int i = 0; i < list.getListSize(); ++i)
        texts.append(list.getListInfo(i, key));
    if (sort)
        texts.sort();
    return texts;
}

// The pick-list of `field`, sorted (its own order carries no meaning).
QStringList values(const HMapProFileList &list, const QString &field)
{
    QStringList texts;
    for (int i = 0; i < list.getFilterSize(field); ++i)
        texts.append(list.getFilterName(i, field));
    texts.sort();
    return texts;
}
} // namespace

class TestUserStores : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void init()
    {
        // rm, not QDir: Qt cannot see, so cannot remove, the names that are not UTF-8.
        QCOMPARE(QProcess::execute("rm", {"-rf", kFav, kMaps, "/user/usb", kStoreDir, kPwned, "/tmp/outside"}), 0);
        QVERIFY(QDir().mkpath(kFav) && QDir().mkpath("/user/usb") && QDir().mkpath(kStoreDir));
    }

    // Export: favourite files of visible groups, cut at a zero byte; an empty group is one row; names not UTF-8
    // are reported. Import restores the rest byte for byte; loose files and hidden groups stay.
    void favouritesExportAndImport()
    {
        const QString utf = QString::fromUtf8("Gr\xc3\xbc\xc3\x9f" "e \xe6\x97\xa5");
        const Tree notExported = {{"A/notes.txt", "x"}, {"A/UPPER.STAV", "x"}, {"A/.hidden.stav", "x"},
                                  {"other/only.txt", "x"}, {".hidden/h.stav", "stays"}, {"loose.stav", "stays"}};
        const Tree exported = {{"A/one.stav", "alpha"}, {"A/zero.stav", QByteArray("ab\0cd", 5)},
                               {"Jo's/it's.stav", "say 'hi'; $(touch /tmp/pwned)"}, {"Jo's/empty.stav", ""},
                               {kHostile + "/" + kHostile + ".stav", "'; DROP TABLE FAVORITE_FILES; --"},
                               {utf + "/" + utf + ".stav", QString::fromUtf8("\xce\xa9 \xc3\xa9!").toUtf8()}};
        for (const Tree &files : {notExported, exported})
            for (auto it = files.cbegin(); it != files.cend(); ++it)
                write(kFav + it.key(), it.value());
        QDir().mkpath(kFav + "b");
        const QByteArray badGroup = QFile::encodeName(kFav) + "bad\xff";
        QVERIFY(::mkdir(badGroup.constData(), 0755) == 0);
        for (const char *bad : {"A/bad\xfe.txt", "A/bad\xfe.stav"})   // only the favourite is reported
            std::fclose(std::fopen((QFile::encodeName(kFav) + bad).constData(), "w"));
        const QString out = QString::fromUtf8("/user/usb/\xc3\x9c" "bersicht 'a'.db"); // ownership given there
        HFavoriteDB db;
        QTest::ignoreMessage(QtWarningMsg, QRegularExpression("^skipped: .*bad"));
        QTest::ignoreMessage(QtWarningMsg, QRegularExpression("^skipped: .*bad.\\.stav"));
        QVERIFY(db.exportDB(out));
        QCOMPARE(db.getSkippedNames().size(), 2);
        const QList<Row> rows = rowsOf(out);
        QCOMPARE(rows.size(), 7);
        QCOMPARE(rows.mid(0, 4), (QList<Row>{{"0", kFav + "A", kFav + "A/one.stav", "alpha"},
                                              {"1", kFav + "A", kFav + "A/zero.stav", "ab"},
                                              {"2", kFav + kHostile, kFav + kHostile + "/" + kHostile + ".stav",
                                               "'; DROP TABLE FAVORITE_FILES; --"},
                                              {"3", kFav + "b", "", ""}}));
        QVERIFY(!QFile::exists(kFav + "favorite.db") && !db.isOpenDatabase());
        QCOMPARE(QDir("/user/usb").entryList(QDir::Files), QStringList(QFileInfo(out).fileName()));
        QCOMPARE(QFileInfo(out).group() + QString::number(QFileInfo(out).permissions() & 0x0FFF, 16), "users775");
        // Qt cannot see, so import cannot remove, names that are not UTF-8.
        QVERIFY(::rmdir(badGroup.constData()) == 0);
        QCOMPARE(QProcess::execute("rm", {"-r", kFav + "A", kFav + "b"}), 0);
        write(kFav + "Jo's/it's.stav.new", "extra");
        write(kFav + "New/n.stav", "new");
        QVERIFY(db.importDB(out));
        Tree expected = exported;
        expected["A/zero.stav"] = "ab";
        expected[".hidden/h.stav"] = expected["loose.stav"] = "stays";
        for (const QString &dir : QStringList{"A", "b", "Jo's", ".hidden", kHostile, utf})
            expected[dir] = "<dir>";
        QCOMPARE(tree(kFav), expected);
        QVERIFY(!QFile::exists(kPwned) && !db.isOpenDatabase());
        QCOMPARE(QFileInfo(kFav + "A/one.stav").permissions() & 0x0FFF, QFileDevice::Permissions(0x775));
        // A working file left over from an interrupted export is refused, and gone for the next export.
        QVERIFY(db.openDatabase(kFav + "favorite.db") && db.createFavoriteTable());
        QTest::ignoreMessage(QtDebugMsg, "bool HFavoriteDB::createFavoriteTable() ::fail");
        QVERIFY(!db.exportDB("/tmp/other.db"));
        QVERIFY(!QFile::exists("/tmp/other.db") && db.isOpenDatabase() && !QFile::exists(kFav + "favorite.db"));
        QVERIFY(db.exportDB("/tmp/other.db") && !QFile::exists(kFav + "favorite.db"));
    }

    // An export of a unit that wrote Latin-1 names holds bytes that are no UTF-8: they read as Latin-1.
    void latin1ExportImports()
    {
        const QString path = "/tmp/latin1.db", group = kFav + QString::fromUtf8("Caf\xc3\xa9");
        HFavoriteDB db;
        QVERIFY(db.openDatabase(path) && db.createFavoriteTable());
        QSqlQuery insert(QSqlDatabase::database("Favorite"));
        QVERIFY(insert.prepare("INSERT INTO FAVORITE_FILES VALUES(?, CAST(? AS TEXT), CAST(? AS TEXT), CAST(? AS TEXT))"));
        const QList<QByteArrayList> stored = {{group.toLatin1(), (group + "/r\u00e9sum\u00e9.stav").toLatin1(), "d\xe9j\xe0"},
                                              {group.toUtf8(), (group + "/u.stav").toUtf8(), "\xc3\xbc"}};
        for (int id = 0; id < stored.size(); ++id) {
            insert.addBindValue(id);
            for (const QByteArray &text : stored.at(id))
                insert.addBindValue(text);
            QVERIFY2(insert.exec(), qPrintable(insert.lastError().text()));
        }
        db.closeDatabase();
        QVERIFY(db.importDB(path));
        QCOMPARE(tree(kFav), (Tree{{QString::fromUtf8("Caf\xc3\xa9"), "<dir>"},
                                   {QString::fromUtf8("Caf\xc3\xa9/r\xc3\xa9sum\xc3\xa9.stav"), "d\xc3\xa9j\xc3\xa0"},
                                   {QString::fromUtf8("Caf\xc3\xa9/u.stav"), "\xc3\xbc"}}));
    }

    // A file that is no export (missing, not SQLite, without an export's columns) costs no group.
    void badImportKeepsEveryGroup()
    {
        write(kFav + "Keep/k.stav", "keep me");
        const Tree before = tree(kFav);
        HFavoriteDB db;
        QVERIFY(!db.importDB("/tmp/missing.db") && !QFile::exists("/tmp/missing.db"));
        write("/tmp/text.db", "just some text, not SQLite\n");
        QVERIFY(!db.importDB("/tmp/text.db"));
        for (const QString table : {"OTHER", "FAVORITE_FILES"}) {
            QFile::remove("/tmp/other.db");
            QVERIFY(db.openDatabase("/tmp/other.db") && db.exec("CREATE TABLE " + table + "(id int,name TEXT)"));
            // Opening again closes the open database first.
            QTest::ignoreMessage(QtDebugMsg, "void HFavoriteDB::closeDatabase()");
            QVERIFY(db.openDatabase("/tmp/other.db") && db.isOpenDatabase());
            QVERIFY(db.exec("INSERT INTO " + table + " VALUES(0,'x')"));
            QVERIFY(!db.importDB("/tmp/other.db"));
        }
        QCOMPARE(tree(kFav), before);
    }

    // A crafted export restores only rows an export could have written: a group directly in the
    // favourites directory, a file directly in its group. Nothing else changes; the rest is reported.
    void importConfinesRows_data()
    {
        QTest::addColumn<QString>("group");
        QTest::addColumn<QString>("file");
        const QString g = kFav + "G";
        QTest::newRow("group up the tree") << kFav + "../../../escaped" << kFav + "../../../escaped/x.stav";
        QTest::newRow("group elsewhere") << "/base/private" << "/base/private/key";
        QTest::newRow("group is the favourites") << kFav << kFav + "x.stav";
        QTest::newRow("group two deep") << kFav + "G/H" << "";
        QTest::newRow("hidden group") << kFav + ".h" << kFav + ".h/x.stav";
        QTest::newRow("file up") << g << g + "/../../../../../../home/.evilrc";
        QTest::newRow("file of a tool") << g << "/velmora/release/bin/cmsend";
        QTest::newRow("file two deep") << g << g + "/sub/x.stav";
        QTest::newRow("file through a link") << kFav + "L" << kFav + "L/x.stav";
        QTest::newRow("group named through a link") << "/user/via/G"
                                                    << "/user/via/G/x.stav";
    }

    void importConfinesRows()
    {
        QFETCH(QString, group);
        QFETCH(QString, file);
        const QString skipped = file.isEmpty() ? group : file;
        write("/base/private/key", "secret");
        QVERIFY(QFile::link("/base/private", kFav + "L"));
        QVERIFY(QFile::link(kFav, "/user/via") || QFileInfo("/user/via").isSymLink());
        const QString path = "/user/usb/crafted.db";
        craft(path, {{kFav + "Good", kFav + "Good/a.stav", "kept"}, {group, file, "#!/bin/sh\necho pwned\n"}});
        const QMap<QString, QString> outside = sandboxState(kFav);
        HFavoriteDB db;
        QTest::ignoreMessage(QtWarningMsg, qPrintable("skipped: \"" + skipped + "\""));
        QVERIFY(db.importDB(path));
        QCOMPARE(db.getSkippedNames(), QStringList(skipped));
        COMPARE_STATE(sandboxState(kFav), outside);
        QCOMPARE(tree(kFav), (Tree{{"Good", "<dir>"}, {"Good/a.stav", "kept"}}));
        // With nothing acceptable in it, the file removes nothing either.
        QFile::link("/base/private", kFav + "L");
        craft(path, {{group, file, "#!/bin/sh\n"}});
        const QMap<QString, QString> everything = sandboxState();
        QTest::ignoreMessage(QtWarningMsg, qPrintable("skipped: \"" + skipped + "\""));
        QVERIFY(!db.importDB(path));
        COMPARE_STATE(sandboxState(), everything);
    }

    // The formatted statement keeps quotes inside their literals; a second row of a file restores the first.
    void sqlStatementsAndDuplicateRows()
    {
        HFavoriteDB db;
        QCOMPARE(HFavoriteDB::insertStatement(3, "/a", "/a/it's.stav", "'); --"),
                 QStringLiteral("INSERT INTO FAVORITE_FILES VALUES(3,'/a','/a/it''s.stav', '''); --')"));
        QVERIFY(db.openDatabase("/tmp/dup.db") && db.createFavoriteTable());
        QVERIFY(db.insertGroupTable(0, kFav + "G", kFav + "G/it's.stav", "'first'"));
        QVERIFY(db.insertGroupTable(1, kFav + "G", kFav + "G/it's.stav", "second"));
        QVERIFY(!db.insertGroupTable(1, "dup", "id", ""));
        db.closeDatabase();
        QTest::ignoreMessage(QtDebugMsg, qPrintable("Fail:mkFile= \"" + kFav + "G/it's.stav\""));
        QVERIFY(db.importDB("/tmp/dup.db"));
        QCOMPARE(tree(kFav + "G/"), (Tree{{"it's.stav", "'first'"}}));
    }

    // A link is removed as a link, what it points to stays; a file is no directory; no name is no path.
    void fileHelpers()
    {
        HFavoriteDB db;
        const QString dir = "/user/" + kHostile;
        QVERIFY(db.mkDir(dir + "/deep") && db.mkFile(dir + "/deep/f", "bytes") && !db.mkFile(dir + "/deep/f", "x"));
        // A link goes as a link; a plain file is no folder and stays; a missing folder removes fine.
        QVERIFY(QFile::link(dir, "/tmp/link") && db.deleteDir("/tmp/link") && db.deleteDir(dir + "/deep/f"));
        QCOMPARE(tree(dir + "/"), (Tree{{"deep", "<dir>"}, {"deep/f", "bytes"}}));
        QVERIFY(db.deleteDir(dir) && !QFileInfo::exists(dir) && !QFile::exists(kPwned) && db.deleteDir(dir));
        QVERIFY(!db.deleteDir("") && !db.mkDir("") && !db.mkFile("", "") && !db.qFileDelete("/tmp/none"));
    }

    // chown and chmod get the path as one argument, wherever it is; a swapped group gets no file.
    void rightsCommandsAndASwappedGroup()
    {
        // Stand-ins that log their arguments; chown swaps the group "Swap" for a link to a folder outside.
        write("/tmp/bin/chown", "#!/bin/sh\nprintf '%s\\n' chown \"$@\" >> /tmp/bin/log\n[ \"$3\" != \""
                                    + kFav.toUtf8() + "Swap\" ] || { rm -r \"$3\"; ln -s /base/private \"$3\"; }\n");
        write("/tmp/bin/chmod", "#!/bin/sh\nprintf '%s\\n' chmod \"$@\" >> /tmp/bin/log\n");
        for (const char *tool : {"/tmp/bin/chown", "/tmp/bin/chmod"})
            QFile::setPermissions(tool, QFileDevice::ReadOwner | QFileDevice::ExeOwner);
        const QByteArray path = qgetenv("PATH");
        const auto restore = qScopeGuard([path] { qputenv("PATH", path); });
        qputenv("PATH", "/tmp/bin:" + path);
        write("/user/-rf", "");
        QVERIFY(QDir::setCurrent("/user"));
        HFavoriteDB db;
        db.chmod(kFav);
        db.chmod("-rf");
        db.chmod("/base");
        QCOMPARE(QString::fromUtf8(readFile("/tmp/bin/log")).split('\n'),
                 QStringList({"chown", "-R", "root:users", kFav, "chmod", "-R", "775", kFav,
                              "chown", "-R", "root:users", "./-rf", "chmod", "-R", "775", "./-rf",
                              "chown", "-R", "root:users", "/base", "chmod", "-R", "775", "/base", ""}));
        QVERIFY(QDir().mkpath("/base/private"));
        craft("/tmp/swap.db", {{kFav + "Swap", kFav + "Swap/x.stav", "#!/bin/sh\n"}});
        QTest::ignoreMessage(QtWarningMsg, qPrintable("skipped: \"" + kFav + "Swap/x.stav\""));
        QVERIFY(db.importDB("/tmp/swap.db"));
        QCOMPARE(db.getSkippedNames(), QStringList(kFav + "Swap/x.stav"));
        QVERIFY(!QFile::exists("/base/private/x.stav"));
        // Rows naming one group in two spellings make it, and re-own it, once; then each file.
        QVERIFY(QFile::remove("/tmp/bin/log"));
        craft("/tmp/two.db", {{kFav + "D/", kFav + "D/a.stav", "a"}, {kFav + "D", kFav + "D/b.stav", "b"}});
        QVERIFY(db.importDB("/tmp/two.db"));
        QCOMPARE(QString::fromUtf8(readFile("/tmp/bin/log")).split('\n').filter(QRegularExpression("^/")),
                 (QStringList{kFav + "D", kFav + "D", kFav + "D/a.stav", kFav + "D/a.stav", kFav + "D/b.stav",
                              kFav + "D/b.stav"}));
    }

    // Both stores report the same failures, announce a new source and never open a FIFO (open() blocks).
    void storeSources()
    {
        QCOMPARE(::mkfifo(QFile::encodeName(kStoreDir + "/fifo").constData(), 0600), 0);
        for (const QString &source : {QString(), kStoreDir, kStoreDir + "/fifo", kStore}) {
            HHistoryFileName history;
            HPositionFileIO positions;
            for (QObject *store : {static_cast<QObject *>(&history), static_cast<QObject *>(&positions)}) {
                QSignalSpy errors(store, SIGNAL(error(QString)));
                QSignalSpy changes(store, SIGNAL(sourceChanged(QString)));
                store->setProperty("source", source);
                QCOMPARE(errors.takeFirst().value(0), source.isEmpty() ? "source is empty" : "Unable to open the file");
                QCOMPARE(changes, source.isEmpty() ? QList<QVariantList>() : QList<QVariantList>{{source}});
            }
            history.setDataAppend("five", "5");
            positions.setData(0, "a", "b", "c");
            QCOMPARE(readFile(kStore), source == kStore ? QByteArray("a,b,c\n") : QByteArray("<missing>"));
        }
    }

    // Names are Latin-1 ("?" where they cannot be); a line break becomes a space, so it cannot forge a
    // record. A name already listed is neither added nor written, by any of the three adders.
    void historyAddsEachNameOnce()
    {
        HHistoryFileName history;
        history.setSource(kStore);
        history.setDataAppend("a.sta", "7");
        history.setDataAppend("", "8");   // kept in the list, left out of the file
        history.setDataAppend("b.sta", "");
        history.setDataAppend("report\nforged,999\r", "1\r\n");
        history.setData(QString::fromUtf8("caf\xc3\xa9 \xce\xa9.sta"));
        const QString stamp = history.getDate(4);
        QVERIFY(QDateTime::fromString(stamp, "dd/MM/yyyy hh:mm:ss").secsTo(QDateTime::currentDateTime()) < 2);
        QCOMPARE(readFile(kStore), "a.sta,7\nreport forged,999 ,1  \ncaf\xe9 ?.sta," + stamp.toLatin1() + '\n');
        writeFile(kStore, "untouched");
        history.setDataAppend("a.sta", "9");
        history.setDataOrder("a.sta", "1");
        history.setData("a.sta");
        QCOMPARE(readFile(kStore), QByteArray("untouched"));
        QCOMPARE(history.getDate(0) + history.getName(5) + history.getDate(-1), QStringLiteral("7"));
    }

    void historyLengthAndOrder()
    {
        HHistoryFileName history;
        for (int i = 1; i <= 21; ++i)
            history.setDataAppend(QString::number(i), "d");
        history.setDataOrder("22", "d");
        QCOMPARE(QString::number(history.count()) + ',' + history.getName(0), QStringLiteral("21,2"));
        history.setMaxCntVisible(true);
        history.setDataAppend("23", "d");
        QCOMPARE(history.count(), 22);
        // "g" equals the last: appended after it; "h" goes after its equal in the middle; "x" counts as 0.
        HHistoryFileName ordered;
        ordered.setSource(kStoreDir + "/ordered");
        for (auto [name, date] : {std::pair{"c", "5"}, {"a", "1"}, {"b", "3"}, {"d", "4"}, {"e", "6"}, {"f", "0"},
                                  {"g", "6"}, {"h", "3.0"}, {"i", "x"}})
            ordered.setDataOrder(name, date);
        QCOMPARE(readFile(kStoreDir + "/ordered"), QByteArray("f,0\ni,x\na,1\nb,3\nh,3.0\nd,4\nc,5\ne,6\ng,6\n"));
    }

    // Lines simplified, those without a comma skipped; a second source adds, and so does the same one again;
    // a delete always writes.
    void historyReadsAndDeletes()
    {
        writeFile(kStore, "  one   ,   1  \r\nno comma\n\n   \ntwo,2,extra\ncaf\xe9,\t3");
        const QString second = kStoreDir + "/second";
        writeFile(second, "a,3\nb,4\na,5\n");
        HHistoryFileName history;
        history.setSource(kStore);
        history.setSource(second);
        history.setSource(second);
        QCOMPARE(entries(history), QString::fromUtf8("one | 1/two|2/caf\xc3\xa9| 3/a|3/b|4/a|5/a|3/b|4/a|5"));
        writeFile(second, "stale");
        history.delData("a");
        history.delData("A");
        QCOMPARE(readFile(second), QByteArray("one , 1\ntwo,2\ncaf\xe9, 3\na,3\nb,4\na,5\na,3\nb,4\n"));
    }

    // Filled rows written packed, read from row 0 (later rows keep theirs, lines past the tenth ignored).
    void positionTable()
    {
        HPositionFileIO positions;
        for (auto [column, row] : {std::pair{-1, 0}, {3, 0}, {0, -1}, {0, 10}})
            QCOMPARE(positions.getData(column, row), QString());
        positions.setSource(kStore);
        positions.setData(10, "a", "b", "c");
        positions.delData(-1);
        QVERIFY(!QFile::exists(kStore));
        positions.setData(5, "P1", "51.5", "-0.12");
        positions.setData(2, QString::fromUtf8("S\xc3\xbc" "d"), "a,b", "\r\nforged");
        positions.setData(7, "--", "hidden", "hidden");
        positions.setData(8, "", "hidden", "hidden");
        QCOMPARE(readFile(kStore), QByteArray("S\xfc" "d,a,b,  forged\nP1,51.5,-0.12\n"));
        HPositionFileIO restarted;
        restarted.setSource(kStore);
        QCOMPARE(rows(restarted, {0, 1, 5}), QString::fromUtf8("S\xc3\xbc" "d|a|b/P1|51.5|-0.12/--|--|--"));
        writeFile(kStore, "  a   ,  b ,c,extra\r\nshort\n\n");
        positions.setSource(kStore);
        QCOMPARE(rows(positions, {0, 1, 2, 7}), QStringLiteral("a | b |c/short||/||/--|hidden|hidden"));
        writeFile(kStore, QByteArray("r,1,2\n").repeated(11) + "last,1,2\n");
        positions.setSource(kStore);
        positions.delData(0);
        QCOMPARE(readFile(kStore), QByteArray("r,1,2\n").repeated(9));
    }

    void profileScanValuesAndFilters()
    {
        HMapProFileList list;
        profile("a.mpcv", R"({"Name":"Alpha","RRUType":"R1","Frequency":1800,"Link":true,"LinkRate":2.5})");
        profile("b.mpcv", R"({"Name":"ALPHA","RRUType":"R2","Frequency":"900"})");
        profile("c.mpcv", R"({"RRUType":"R1","Frequency":1800})");
        write(kMaps + "/bad.mpcv", "{\"Header\": {\"Name\": \"cut");
        write(kMaps + "/noheader.mpcv", R"({"Tab1":{"Name":"x"}})");
        // Hidden ones are skipped; in sub-folders the bare name is read from the top (a.mpcv, or nothing).
        for (const char *other : {"notes.txt", ".hidden.mpcv", ".hiddenDir/h.mpcv", "sub/a.mpcv", "sub/deep/only.mpcv"})
            profile(other, R"({"Name":"Other"})");
        write("/tmp/outside/o.mpcv", R"({"Header":{"Name":"Outside"}})");
        QVERIFY(QFile::link("/tmp/outside", kMaps + "/linked"));
        list.readAll();
        QCOMPARE(column(list, "Name"), QStringList({"", "", "", "", "ALPHA", "Alpha", "Alpha"}));
        QCOMPARE(column(list, "Link").last() + column(list, "LinkRate").last(), QStringLiteral("true2.5"));
        QCOMPARE(values(list, "Name"), QStringList({"", "ALPHA", "Alpha"}));
        QCOMPARE(values(list, "RRU Type"), QStringList({"", "R1", "R2"}));
        // Filters leave the pick-lists alone; without a field or a keyword readFilter is a readAll.
        profile("d.mpcv", R"({"Name":"Bravo","RRUType":"R3"})");
        list.readFilter("Name", "alph");
        QCOMPARE(column(list, "Name"), QStringList({"ALPHA", "Alpha", "Alpha"}));
        list.readMultiFilter("Name,,,,", "");
        QCOMPARE(list.getListSize(), 8);
        QCOMPARE(values(list, "Name"), QStringList({"", "ALPHA", "Alpha"}));
        list.readFilter("Name", "");
        QCOMPARE(values(list, "Name"), QStringList({"", "ALPHA", "Alpha", "Bravo"}));
        list.readMultiFilter(",,,,", "zzz,zzz,,,");
        QCOMPARE(list.getListSize(), 8);
        list.readMultiFilter(",,,,,Name", ",,,,,zzz");   // five positions; a sixth is not read
        QCOMPARE(list.getListSize(), 8);
        // A profile without the filtered key passes; an empty keyword matches any value.
        list.readMultiFilter("Name,RRUType,,,", "alpha,,,,");
        QCOMPARE(column(list, "Name"), QStringList({"", "", "", "", "ALPHA", "Alpha", "Alpha"}));
        list.readMultiFilter("RRUType,,,,Frequency", "r,,,,9");
        QCOMPARE(column(list, "RRUType"), QStringList({"", "", "", "R2", "R3"}));
        // Sorted by the upper-cased text, numbers too; an unknown column keeps the key; missing is least.
        list.readAll();
        list.sortField("Freq (MHz)", false);
        QCOMPARE(column(list, "Frequency", false), QStringList({"", "", "", "", "1800", "1800", "1800", "900"}));
        list.sortField("Bogus", true);
        QCOMPARE(column(list, "Frequency", false).mid(0, 3), QStringList({"900", "1800", "1800"}));
    }

};

QTEST_GUILESS_MAIN(TestUserStores)
#include "tst_userstores.moc"
