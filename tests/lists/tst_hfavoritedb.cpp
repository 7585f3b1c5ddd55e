#include <QtTest>
#include <QSqlDatabase>
#include <QSqlQuery>

#include "hfavoritedb.h"
#include "testfiles.h"

// Runs in the sandbox: the favourites directory is on a private /user, chown and chmod act on tmpfs.
static const QString kFav = QStringLiteral("/user/tarnwick5G/internal/.favorite/");
static const QString kPwned = QStringLiteral("/tmp/pwned");
// Exports go to the user storage (a USB stick is mounted there): ownership is only given there.
static const QString kOut = QStringLiteral("/user/usb/out.db");
// No "/" in it (it names one directory); the command would make /tmp/pwned, HOME being /tmp.
static const QString kHostile = QStringLiteral("a;b $(cd;touch pwned) `cd;touch pwned` 'q'");

using Row = QStringList;

static void write(const QString &path, const QByteArray &bytes)
{
    QDir().mkpath(QFileInfo(path).path());
    writeFile(path, bytes);
}

// Every entry below `root`, hidden ones included: directories as "<dir>", files as their bytes.
static QMap<QString, QByteArray> tree(const QString &root)
{
    QMap<QString, QByteArray> entries;
    QDirIterator it(root, QDir::AllEntries | QDir::Hidden | QDir::NoDotAndDotDot, QDirIterator::Subdirectories);
    while (it.hasNext()) {
        const QString path = it.next();
        QFile file(path);
        entries.insert(path.mid(root.size()),
                       it.fileInfo().isDir() ? QByteArray("<dir>") : (file.open(QIODevice::ReadOnly) ? file.readAll() : "?"));
    }
    return entries;
}

// The rows of an exported file, read with its own connection, by id.
static QList<Row> rowsOf(const QString &path)
{
    QList<Row> rows;
    {
        QSqlDatabase db = QSqlDatabase::addDatabase("QSQLITE", "reader");
        db.setDatabaseName(path);
        if (db.open()) {
            QSqlQuery query("select id, groupName, fileName, fileData from FAVORITE_FILES order by id", db);
            while (query.next())
                rows.append({query.value(0).toString(), query.value(1).toString(), query.value(2).toString(),
                             query.value(3).toString()});
        }
    }
    QSqlDatabase::removeDatabase("reader");
    return rows;
}

// An export file holding the one row given.
static bool crafted(const QString &path, const QString &group, const QString &file)
{
    QFile::remove(path);
    HFavoriteDB db;
    const bool made = db.openDatabase(path) && db.createFavoriteTable()
        && db.insertGroupTable(0, group, file, "#!/bin/sh\n");
    db.closeDatabase();
    return made;
}

class TestHFavoriteDB : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void init()
    {
        // rm, not QDir: Qt cannot see, so cannot remove, the names that are not UTF-8.
        QCOMPARE(QProcess::execute("rm", {"-rf", kFav}), 0);
        QDir().mkpath(kFav);
        QDir("/user/usb").removeRecursively();
        QDir().mkpath("/user/usb");
        QFile::remove(kPwned);
    }

    void exportsGroupsAndFavouriteFilesOnly()
    {
        write(kFav + "A/one.stav", "alpha");
        write(kFav + "A/notes.txt", "not a favourite");
        write(kFav + "A/UPPER.STAV", "wrong case");
        write(kFav + "A/zero.stav", QByteArray("ab\0cd", 5));
        write(kFav + "A/.hidden.stav", "hidden");
        write(kFav + "other/only.txt", "no favourites");
        write(kFav + ".hiddenGroup/h.stav", "hidden group");
        write(kFav + "loose.stav", "not in a group");
        QDir().mkpath(kFav + "b");

        HFavoriteDB db;
        QTest::ignoreMessage(QtDebugMsg, "file ext= \"STAV\"");
        QVERIFY(db.exportDB(kOut));
        const QList<Row> expected = {{"0", kFav + "A", kFav + "A/one.stav", "alpha"},
                                     {"1", kFav + "A", kFav + "A/zero.stav", "ab"},
                                     {"2", kFav + "b", "", ""}};
        QCOMPARE(rowsOf(kOut), expected);
        QVERIFY(!QFile::exists(kFav + "favorite.db"));
        QVERIFY(!db.isOpenDatabase());
        const QFileInfo out(kOut);
        QCOMPARE(out.permissions() & 0x0FFF, QFileDevice::Permissions(0x775));
        QCOMPARE(out.group(), QStringLiteral("users"));

        // The working file is gone, so a second export works and replaces the first.
        QDir(kFav + "b").removeRecursively();
        QVERIFY(db.exportDB(kOut));
        QCOMPARE(rowsOf(kOut), expected.mid(0, 2));

        // A working file left over with its table is refused.
        QVERIFY(db.openDatabase(kFav + "favorite.db"));
        QVERIFY(db.createFavoriteTable());
        QTest::ignoreMessage(QtDebugMsg, "bool HFavoriteDB::createFavoriteTable() ::fail");
        QVERIFY(!db.exportDB("/tmp/other.db"));
        QVERIFY(!QFile::exists("/tmp/other.db"));
    }

    void roundTripRestoresTheTree()
    {
        write(kFav + "Work/report.stav", "{\"Header\":{\"Name\":\"x\"}}\n");
        write(kFav + "Work/sub.stav", "second");
        write(kFav + "Jo's group/it's.stav", "say 'hi'; $(touch /tmp/pwned)");
        write(kFav + kHostile + "/" + kHostile + ".stav", "'; DROP TABLE FAVORITE_FILES; --");
        write(kFav + "Jo's group/empty.stav", "");
        QDir().mkpath(kFav + "Empty group");
        const QMap<QString, QByteArray> original = tree(kFav);

        HFavoriteDB db;
        QVERIFY(db.exportDB("/tmp/fav export.db"));
        QCOMPARE(rowsOf("/tmp/fav export.db").size(), 6);
        QCOMPARE(rowsOf("/tmp/fav export.db").at(0), Row({"0", kFav + kHostile, kFav + kHostile + "/" + kHostile + ".stav",
                      "'; DROP TABLE FAVORITE_FILES; --"}));

        // Change everything, keep a loose file and a hidden group: import must leave those alone.
        QDir(kFav + "Work").removeRecursively();
        write(kFav + "Jo's group/it's.stav.new", "extra");
        write(kFav + "New/n.stav", "new");
        write(kFav + "loose.txt", "stays");
        write(kFav + ".hidden/h.stav", "stays");
        QVERIFY(db.importDB("/tmp/fav export.db"));
        QMap<QString, QByteArray> expected = original;
        expected.insert("loose.txt", "stays");
        expected.insert(".hidden", "<dir>");
        expected.insert(".hidden/h.stav", "stays");
        QCOMPARE(tree(kFav), expected);
        QVERIFY(!QFile::exists(kPwned));
        QCOMPARE(QFileInfo(kFav + "Work/sub.stav").permissions() & 0x0FFF, QFileDevice::Permissions(0x775));
        QVERIFY(!db.isOpenDatabase());
    }

    // Names and contents go to SQLite as UTF-8 and come back unchanged; a name the file system holds in
    // bytes that are not UTF-8 cannot be, and is reported instead of being exported under another name.
    void nonAsciiNamesRoundTrip()
    {
        const QString group = kFav + QString::fromUtf8("Gr\xc3\xbc\xc3\x9f" "e \xe6\x97\xa5");
        write(group + QString::fromUtf8("/\xc3\x9c.stav"), QString::fromUtf8("\xce\xa9 \xc3\xa9!").toUtf8());
        const QByteArray badName = QFile::encodeName(kFav) + "bad\xff";
        QVERIFY(::mkdir(badName.constData(), 0755) == 0);
        for (const char *bad : {"/bad\xfe.txt", "/bad\xfe.stav"})   // only the favourite is reported
            std::fclose(std::fopen((QFile::encodeName(group) + bad).constData(), "w"));
        const QString export_ = QString::fromUtf8("/user/usb/\xc3\x9c" "bersicht.db");
        HFavoriteDB db;
        QTest::ignoreMessage(QtWarningMsg, QRegularExpression("^skipped: .*bad"));
        QTest::ignoreMessage(QtWarningMsg, QRegularExpression("^skipped: .*bad.\\.stav"));
        QVERIFY(db.exportDB(export_));
        QCOMPARE(db.getSkippedNames().size(), 2);
        const QList<Row> expected = {{"0", group, group + QString::fromUtf8("/\xc3\x9c.stav"), QString::fromUtf8("\xce\xa9 \xc3\xa9!")}};
        QCOMPARE(rowsOf(export_), expected);

        QVERIFY(db.openDatabase(export_));
        QCOMPARE(db.getDatabaseName(), export_);
        QVERIFY(QFileInfo(export_).isFile());
        QDir(group).removeRecursively();
        QVERIFY(db.importDB(export_));
        QCOMPARE(readFile(group + QString::fromUtf8("/\xc3\x9c.stav")), QString::fromUtf8("\xce\xa9 \xc3\xa9!").toUtf8());
        QCOMPARE(QDir("/user/usb").entryList(QDir::Files), QStringList(QString::fromUtf8("\xc3\x9c" "bersicht.db")));
    }

    void badImportKeepsEveryGroup_data()
    {
        QTest::addColumn<QByteArray>("content");
        QTest::newRow("missing file") << QByteArray();
        QTest::newRow("not a database") << QByteArray("just some text, not SQLite\n");
        QTest::newRow("other table") << QByteArray("CREATE TABLE OTHER(id int)");
        // The right name but not the columns of an export: nothing could be restored from it.
        QTest::newRow("other columns") << QByteArray("CREATE TABLE FAVORITE_FILES(id int,name TEXT)");
    }

    void badImportKeepsEveryGroup()
    {
        QFETCH(QByteArray, content);
        write(kFav + "Keep/k.stav", "keep me");
        QDir().mkpath(kFav + "Empty");
        const QMap<QString, QByteArray> before = tree(kFav);
        const QString path = "/tmp/import.db";
        QFile::remove(path);
        if (content.startsWith("CREATE")) {
            HFavoriteDB other;
            QVERIFY(other.openDatabase(path));
            QVERIFY(other.exec(content));
            QVERIFY(other.exec(content.contains("FAVORITE") ? "INSERT INTO FAVORITE_FILES VALUES(0,'x')"
                                                            : "INSERT INTO OTHER VALUES(0)"));
            other.closeDatabase();
        } else if (!content.isNull()) {
            write(path, content);
        }
        HFavoriteDB db;
        QVERIFY(!db.importDB(path));
        QCOMPARE(tree(kFav), before);
        QCOMPARE(QFile::exists(path), !content.isNull());
        QVERIFY(!db.isOpenDatabase());
    }

    // A crafted export (sqlite3 on a USB stick) restores only rows an export could have written: a
    // group directly in the favourites directory and a file directly in its group. Nothing else on the
    // instrument changes, and the other rows are reported.
    void importConfinesRows_data()
    {
        QTest::addColumn<QString>("group");
        QTest::addColumn<QString>("file");
        const QString g = kFav + "G";
        QTest::newRow("group up the tree") << kFav + "../../../escaped" << kFav + "../../../escaped/x.stav";
        QTest::newRow("group elsewhere") << "/base/private" << "/base/private/key";
        QTest::newRow("group is the root") << "/" << "";
        QTest::newRow("group is the favourites") << kFav << kFav + "x.stav";
        QTest::newRow("group two deep") << kFav + "G/H" << "";
        QTest::newRow("hidden group") << kFav + ".h" << kFav + ".h/x.stav";
        QTest::newRow("relative group") << "G" << "G/x.stav";
        QTest::newRow("file up") << g << g + "/../../../../../../home/.evilrc";
        QTest::newRow("file of a tool") << g << "/velmora/release/bin/cmsend";
        QTest::newRow("file two deep") << g << g + "/sub/x.stav";
        QTest::newRow("file through a link") << kFav + "L" << kFav + "L/x.stav";
    }

    void importConfinesRows()
    {
        QFETCH(QString, group);
        QFETCH(QString, file);
        QDir().mkpath("/base/private");
        write("/base/private/key", "secret");
        QVERIFY(::chmod("/base/private", 0700) == 0);
        QVERIFY(QFile::link("/base/private", kFav + "L") || QFileInfo(kFav + "L").isSymLink());
        const QString path = "/user/usb/crafted.db";
        QFile::remove(path);
        {
            HFavoriteDB crafted;
            QVERIFY(crafted.openDatabase(path) && crafted.createFavoriteTable());
            QVERIFY(crafted.insertGroupTable(0, kFav + "Good", kFav + "Good/a.stav", "kept"));
            QVERIFY(crafted.insertGroupTable(1, group, file, "#!/bin/sh\necho pwned\n"));
            crafted.closeDatabase();
        }
        const QMap<QString, QString> outside = sandboxState(kFav);
        HFavoriteDB db;
        QTest::ignoreMessage(QtWarningMsg, qPrintable("skipped: \"" + (file.isEmpty() ? group : file) + "\""));
        QVERIFY(db.importDB(path));
        QCOMPARE(db.getSkippedNames(), QStringList(file.isEmpty() ? group : file));
        QCOMPARE(sandboxState(kFav), outside);
        QCOMPARE(tree(kFav), (QMap<QString, QByteArray>{{"Good", "<dir>"}, {"Good/a.stav", "kept"}}));

        // With nothing acceptable in it, the file removes nothing either.
        QFile::link("/base/private", kFav + "L");
        QVERIFY(crafted(path, group, file));
        const QMap<QString, QString> everything = sandboxState();
        QTest::ignoreMessage(QtWarningMsg, qPrintable("skipped: \"" + (file.isEmpty() ? group : file) + "\""));
        QVERIFY(!db.importDB(path));
        QCOMPARE(sandboxState(), everything);
    }

    void sqlAccessAndDuplicateRows()
    {
        HFavoriteDB db;
        QVERIFY(!db.exec("select 1"));
        QCOMPARE(HFavoriteDB::insertStatement(3, "/a", "/a/b.stav", "x"),
                 QStringLiteral("INSERT INTO FAVORITE_FILES VALUES(3,'/a','/a/b.stav', 'x')"));
        QVERIFY(db.openDatabase("/tmp/dup.db"));
        QVERIFY(db.createFavoriteTable());
        QVERIFY(db.insertGroupTable(0, kFav + "G", kFav + "G/f.stav", "first"));
        QVERIFY(db.insertGroupTable(1, kFav + "G", kFav + "G/f.stav", "second"));
        QTest::ignoreMessage(QtDebugMsg, QRegularExpression("^bool HFavoriteDB::insertGroupTable\\(.*\\) ::fail$"));
        QVERIFY(!db.insertGroupTable(1, "dup", "id", ""));
        QVERIFY(!db.exec("not sql"));
        QTest::ignoreMessage(QtDebugMsg, "void HFavoriteDB::closeDatabase()");
        db.closeDatabase();
        QVERIFY(!db.isOpenDatabase());

        QTest::ignoreMessage(QtDebugMsg, qPrintable("Success:mkFile= \"" + kFav + "G/f.stav\""));
        QTest::ignoreMessage(QtDebugMsg, qPrintable("Fail:mkFile= \"" + kFav + "G/f.stav\""));
        QVERIFY(db.importDB("/tmp/dup.db"));
        QCOMPARE(tree(kFav + "G/"), (QMap<QString, QByteArray>{{"f.stav", "first"}}));
    }

    void fileHelpers()
    {
        HFavoriteDB db;
        const QString dir = "/user/" + kHostile;
        QVERIFY(db.mkDir(dir + "/deep"));
        QVERIFY(db.mkFile(dir + "/deep/f", "bytes"));
        QVERIFY(!db.mkFile(dir + "/deep/f", "other"));
        QCOMPARE(tree(dir + "/"), (QMap<QString, QByteArray>{{"deep", "<dir>"}, {"deep/f", "bytes"}}));
        QCOMPARE(QFileInfo(dir + "/deep").group(), QStringLiteral("users"));
        QCOMPARE(QFileInfo(dir).group(), QStringLiteral("root"));
        QVERIFY(!QFile::exists(kPwned));

        // A link is removed as a link; what it points to stays.
        QVERIFY(QFile::link(dir, "/tmp/link"));
        QVERIFY(db.deleteDir("/tmp/link"));
        QVERIFY(!db.deleteDir(dir + "/deep/f"));
        QCOMPARE(readFile(dir + "/deep/f"), QByteArray("bytes"));
        QVERIFY(QFile::exists(dir + "/deep/f"));
        QVERIFY(db.deleteDir(dir));
        QVERIFY(!QFileInfo::exists(dir));
        QVERIFY(!db.deleteDir("") && !db.mkDir("") && !db.qFileDelete("/tmp/none"));
        QTest::ignoreMessage(QtDebugMsg, "void HFavoriteDB::chmod(const QString&) chmod fail");
        db.chmod("/tmp/none");
    }

    void plainPathGivesTheTwoCommands()
    {
        // Stand-ins for chown and chmod that record their arguments, one per line.
        for (const QByteArray tool : {"chown", "chmod"}) {
            write("/tmp/bin/" + tool, "#!/bin/sh\nprintf '%s\\n' " + tool + " \"$@\" >> /tmp/bin/log\n");
            QFile::setPermissions("/tmp/bin/" + tool, QFileDevice::ReadOwner | QFileDevice::ExeOwner);
        }
        const QByteArray path = qgetenv("PATH");
        qputenv("PATH", "/tmp/bin:" + path);
        HFavoriteDB db;
        db.chmod(kFav);
        const QString cwd = QDir::currentPath();
        QDir::setCurrent("/user");
        write("/user/-rf", "");
        db.chmod("-rf");
        QDir::setCurrent(cwd);
        QTest::ignoreMessage(QtWarningMsg, "ownership not changed outside the user storage: \"/base\"");
        db.chmod("/base");
        qputenv("PATH", path);
        QFile log("/tmp/bin/log");
        QVERIFY(log.open(QIODevice::ReadOnly));
        QCOMPARE(QString::fromUtf8(log.readAll()).split('\n'),
                 QStringList({"chown", "-R", "root:users", kFav, "chmod", "-R", "775", kFav,
                              "chown", "-R", "root:users", "./-rf", "chmod", "-R", "775", "./-rf", ""}));
    }

    void exportOfManyFavourites()
    {
        for (int g = 0; g < 20; ++g)
            for (int f = 0; f < 100; ++f)
                write(kFav + QString("group%1/file%2.stav").arg(g).arg(f), QByteArray(200, 'x'));
        QtMessageHandler previous = qInstallMessageHandler([](QtMsgType, const QMessageLogContext &, const QString &) {});
        QElapsedTimer timer;
        timer.start();
        const bool exported = HFavoriteDB().exportDB("/tmp/many.db");
        const qint64 elapsed = timer.elapsed();
        qInstallMessageHandler(previous);
        QVERIFY(exported);
        qInfo("export of 2000 favourite files: %lld ms", elapsed);
        QCOMPARE(rowsOf("/tmp/many.db").size(), 2000);
    }
};

QTEST_GUILESS_MAIN(TestHFavoriteDB)
#include "tst_hfavoritedb.moc"
