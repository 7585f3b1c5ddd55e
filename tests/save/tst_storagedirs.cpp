#include <QtTest>

#include <grp.h>
#include <sys/stat.h>
#include <unistd.h>

#include "hsave.h"
#include "savetestfiles.h"

namespace {
const QString kRoot = QStringLiteral("/user/TK520/internal");
const QString kIqDir = kRoot + QStringLiteral("/quillbox/iqFiles");
// One folder name (no "/"): a shell would make "pwned" and "pwned2" in the working folder.
const QString kHostile = QStringLiteral("a b; touch pwned $(touch pwned2) \"q\" 'q'");

int modeOf(const QString &path)
{
    struct stat info {};
    return ::stat(QFile::encodeName(path).constData(), &info) == 0 ? int(info.st_mode & 07777) : -1;
}

// The tree belongs to root:users with mode 775; the group can only be given by root.
void verifyOwned(const QString &path)
{
    struct stat info {};
    QVERIFY2(QFileInfo(path).isDir() && ::stat(QFile::encodeName(path).constData(), &info) == 0, qPrintable(path));
    QCOMPARE(int(info.st_mode & 07777), 0775);
    const struct group *users = ::getgrnam("users");
    if (::geteuid() == 0)
        QCOMPARE(info.st_gid, users ? users->gr_gid : gid_t(-1));
}
} // namespace

class TestStorageDirs : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void initTestCase()
    {
        // Relative paths (the leading-dash case) land in a scratch folder of the user storage, never in
        // the checkout.
        QVERIFY(QDir().mkpath(QStringLiteral("/user/work")));
        QVERIFY(QDir::setCurrent(QStringLiteral("/user/work")));
        QVERIFY(!QFileInfo::exists(QStringLiteral("/user/TK520")));
    }

    void constructionCreatesTheDefaultTree()
    {
        HSave save;
        for (const QString dir : {"/user/TK520", "", "/quillbox", "/quillbox/results", "/quillbox/setup",
                                  "/quillbox/plotDeck", "/quillbox/screenshots", "/quillbox/freqLists",
                                  "/quillbox/reports", "/quillbox/autotest", "/quillbox/cables", "/quillbox/channelPlan"})
            verifyOwned(dir.startsWith("/user") ? dir : kRoot + dir);
        QVERIFY(!QFileInfo::exists(kIqDir));
        QCOMPARE(QDir(kRoot + "/quillbox").entryList(QDir::Dirs | QDir::NoDotAndDotDot).count(), 9);

        QCOMPARE(save.getSaveLoadDir(), QStringLiteral("/user/TK520/"));
        QCOMPARE(save.getDefaultDir(HSave::SAVE_SETUP), kRoot + "/quillbox/setup");
        QCOMPARE(save.getDefaultDir(HSave::SAVE_IQ_FILE), kIqDir);
        QCOMPARE(save.getDefaultDir(HSave::SAVE_CHANNEL_PLAN), kRoot + "/quillbox/channelPlan");
        for (HSave::SaveType none : {HSave::SAVE_BACKUP, HSave::SAVE_PDF, HSave::SAVE_LAST, HSave::SAVE_MPC,
                                     HSave::SAVE_MAX, HSave::SaveType(99)}) {
            QTest::ignoreMessage(QtWarningMsg,
                                 qPrintable(QStringLiteral("Unhandled type: %1 \n map::at").arg(int(none))));
            QCOMPARE(save.getDefaultDir(none), kRoot);
        }
    }

    void makeRootDirSpecialPaths()
    {
        HSave save;
        QVERIFY(save.makeRootDir(kIqDir + "/deeper"));
        QVERIFY(save.makeRootDir(kIqDir));
        QVERIFY(!QFileInfo::exists(kIqDir));

        const QString media = QStringLiteral("/velmora/user/rftest/internal/media");
        QVERIFY(save.makeRootDir(media));
        QVERIFY(!QFileInfo::exists(media));
        QVERIFY(QDir().mkpath(QStringLiteral("/velmora/user/rftest/internal")));
        writeFile(media, "link");
        QVERIFY(save.makeRootDir(media));
        QVERIFY(!QFileInfo::exists(media));

        // The private folder is made as one level only and keeps the default mode.
        const QString hetnet = QStringLiteral("/base/qml_4410/hetnet_private");
        QVERIFY(save.makeRootDir(hetnet));
        QVERIFY(!QFileInfo::exists(hetnet));
        QVERIFY(QDir().mkdir(QStringLiteral("/base/qml_4410")));
        QVERIFY(save.makeRootDir(hetnet));
        QVERIFY(QFileInfo(hetnet).isDir());
        QVERIFY(modeOf(hetnet) != 0775);
        QVERIFY(!save.makeRootDir(hetnet));

        // An existing folder reports false but is given ownership and mode all the same.
        const QString existing = kRoot + "/existing";
        QVERIFY(QDir().mkdir(existing));
        QVERIFY(::chmod(QFile::encodeName(existing).constData(), 0700) == 0);
        QVERIFY(!save.makeRootDir(existing));
        verifyOwned(existing);
        QVERIFY(save.makeRootDir(QStringLiteral("/user/new/a/b")));
        verifyOwned(QStringLiteral("/user/new/a/b"));
    }

    void makeDirWithAndWithoutStamp()
    {
        HSave save;
        const QString parent = kRoot + "/quillbox/setup/";
        QTest::ignoreMessage(QtDebugMsg, qPrintable(QStringLiteral("makeDir1: \"%1\"").arg(parent)));
        QTest::ignoreMessage(QtDebugMsg, "makeDir2: \"site A\"");
        QTest::ignoreMessage(QtDebugMsg, "makeDir3");
        QTest::ignoreMessage(QtDebugMsg, "makeDir4");
        const QDateTime before = QDateTime::currentDateTime();
        QVERIFY(save.makeDir(parent, QStringLiteral("site A"), true));

        const QStringList made = QDir(parent).entryList(QDir::Dirs | QDir::NoDotAndDotDot, QDir::Name);
        QCOMPARE(made.count(), 2);
        QCOMPARE(made.at(0), QStringLiteral("site A"));
        QVERIFY2(isStamped(made.at(1), QStringLiteral("site A"), QString(), before), qPrintable(made.at(1)));
        verifyOwned(parent + "site A");

        QVERIFY(save.makeDir(parent, QStringLiteral("plain")));
        verifyOwned(parent + "plain");

        // A taken name: false, and nothing is run on it.
        QVERIFY(::chmod(QFile::encodeName(parent + "plain").constData(), 0700) == 0);
        writeFile(parent + "file", {});
        QVERIFY(!save.makeDir(parent, QStringLiteral("plain")));
        QVERIFY(!save.makeDir(parent, QStringLiteral("file")));
        QCOMPARE(modeOf(parent + "plain"), 0700);
    }

    void hostilePathsStayPaths()
    {
        HSave save;
        const QString root = kRoot + QLatin1Char('/') + kHostile;
        QVERIFY(save.makeRootDir(root));
        verifyOwned(root);
        QVERIFY(save.makeDir(root + QLatin1Char('/'), kHostile));
        verifyOwned(root + QLatin1Char('/') + kHostile);
        writeFile(root + QLatin1Char('/') + kHostile + QStringLiteral("/data"), QByteArray(64 * 1024, 'x'));
        QVERIFY(save.getDirUsageSize(root) >= 64);

        // A leading dash is a name, not an option.
        QVERIFY(save.makeRootDir(QStringLiteral("-R")));
        verifyOwned(QStringLiteral("/user/work/-R"));
        QVERIFY(save.getDirUsageSize(QStringLiteral("-R")) >= 0);

        QVERIFY(!QFileInfo::exists(QStringLiteral("/user/work/pwned")));
        QVERIFY(!QFileInfo::exists(QStringLiteral("/user/work/pwned2")));
    }

    // Names from a keyboard and paths from elsewhere: what a call may change is the folder it names,
    // nothing outside it, and nothing outside the user storage is ever re-owned.
    void hostileNamesStayInTheirFolder_data()
    {
        QTest::addColumn<QString>("call");
        QTest::addColumn<QString>("path");
        QTest::addColumn<QString>("name");
        QTest::addColumn<QString>("result");
        QTest::addColumn<QString>("changed");   // the only place that may change ("" for none)
        const QString setup = kRoot + "/quillbox/setup/";
        QTest::newRow("makeDir plain") << "makeDir" << setup << "site" << "true" << setup + "site";
        QTest::newRow("makeDir up") << "makeDir" << setup << "../../../../../tmp/X" << "false" << "";
        QTest::newRow("makeDir two levels") << "makeDir" << setup << "a/b" << "false" << "";
        QTest::newRow("makeDir dot dot") << "makeDir" << setup << ".." << "false" << "";
        QTest::newRow("addFileDirectory plain") << "addFileDirectory" << setup + "f.stp" << "sub"
                                                << setup + "sub/f.stp" << setup + "sub";
        QTest::newRow("addFileDirectory up") << "addFileDirectory" << setup + "f.stp" << "../../../../../tmp/X" << ""
                                             << "";
        QTest::newRow("addFileDirectory root") << "addFileDirectory" << setup + "f.stp" << "/" << "" << "";
        QTest::newRow("makeRootDir system folder") << "makeRootDir" << "/base/private" << "" << "false" << "";
        QTest::newRow("makeRootDir up") << "makeRootDir" << kRoot + "/../../../base/private" << "" << "false" << "";
        QTest::newRow("makeRootDir through a link") << "makeRootDir" << "/user/link/x" << "" << "true"
                                                    << "/base/private/x";
        QTest::newRow("makeRootDir tool") << "makeRootDir" << "/velmora/release/bin" << "" << "false" << "";
    }

    void hostileNamesStayInTheirFolder()
    {
        QFETCH(QString, call);
        QFETCH(QString, path);
        QFETCH(QString, name);
        QFETCH(QString, result);
        QFETCH(QString, changed);
        HSave save;
        QVERIFY(QDir().mkpath("/base/private") && QDir().mkpath("/velmora/release/bin"));
        QVERIFY(::chmod("/base/private", 0700) == 0 && ::chmod("/velmora/release/bin", 0700) == 0);
        QFile::link("/base/private", "/user/link");
        const QMap<QString, QString> before = sandboxState(changed);
        if (call == "makeDir") {
            QCOMPARE(save.makeDir(path, name) ? "true" : "false", result);
        } else if (call == "addFileDirectory") {
            QCOMPARE(save.addFileDirectory(path, name), result);
        } else {
            if (!changed.startsWith("/user"))
                QTest::ignoreMessage(QtWarningMsg, QRegularExpression("^ownership not changed outside the user storage:"));
            QCOMPARE(save.makeRootDir(path) ? "true" : "false", result);
        }
        QCOMPARE(sandboxState(changed), before);
        QCOMPARE(modeOf("/base/private"), 0700);
        QVERIFY(changed.isEmpty() || QFileInfo(changed).isDir());
    }

    void usageSizeAgreesWithDu()
    {
        HSave save;
        const QString dir = kRoot + "/quillbox/results/sized";
        QVERIFY(QDir().mkpath(dir + "/sub"));
        writeFile(dir + "/one", QByteArray(100 * 1024, 'a'));
        writeFile(dir + "/sub/two", QByteArray(300 * 1024 + 1, 'b'));

        QProcess du;
        du.start(QStringLiteral("du"), {QStringLiteral("-s"), dir});
        QVERIFY(du.waitForFinished());
        const int expected = QString::fromLocal8Bit(du.readAllStandardOutput()).section(QLatin1Char('\t'), 0, 0).toInt();
        QVERIFY(expected >= 400);
        QCOMPARE(save.getDirUsageSize(dir), expected);

        QCOMPARE(readFile("/tmp/DIR_SIZE"), QStringLiteral("%1\t%2\n").arg(expected).arg(dir).toLocal8Bit());

        QCOMPARE(save.getDirUsageSize(kRoot + "/missing"), 0);
    }

    // Hidden entries count for nothing; a missing folder is empty and holds no files.
    void folderQueries()
    {
        HSave save;
        const QString dir = kRoot + "/quillbox/cables/q";
        QVERIFY(QDir().mkpath(dir + "/.hiddenDir"));
        writeFile(dir + "/.hidden", {});
        QTest::ignoreMessage(QtDebugMsg, qPrintable(QStringLiteral("isEmptyFolder: \"%1\" true").arg(dir)));
        QVERIFY(save.isEmptyFolder(dir));
        QCOMPARE(save.getFileCountinDir(dir), 0);

        QVERIFY(QDir().mkdir(dir + "/sub"));
        writeFile(dir + "/a.csv", {});
        writeFile(dir + "/b", {});
        QTest::ignoreMessage(QtDebugMsg, qPrintable(QStringLiteral("isEmptyFolder: \"%1\" false").arg(dir)));
        QVERIFY(!save.isEmptyFolder(dir));
        QCOMPARE(save.getFileCountinDir(dir), 2);
        QVERIFY(save.isEmptyFolder(QString()));
        QCOMPARE(save.getFileCountinDir(dir + "/none"), 0);

        QVERIFY(save.getDirFreeSize(kRoot) > 0 && save.getDirFreeSize(kRoot) <= save.getDirTotalSize(kRoot));
        QVERIFY(save.getDirTotalSize(kRoot + "/none") == 0 && save.getDirFreeSize(kRoot + "/none") == 0);
        for (const char *name : {"/Z\xc3\xbcrich", "/\xe6\x97\xa5\xe6\x9c\xac"}) {
            const QString named = kRoot + QString::fromUtf8(name);
            QVERIFY(QDir().mkpath(named));
            QCOMPARE(save.getDirTotalSize(named), save.getDirTotalSize(kRoot));
            QVERIFY(save.getDirFreeSize(named) > 0);
        }
    }
};

QTEST_GUILESS_MAIN(TestStorageDirs)
#include "tst_storagedirs.moc"
