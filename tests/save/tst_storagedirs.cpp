#include <QtTest>

#include <grp.h>
#include <sys/stat.h>
#include <unistd.h>

#include "hsave.h"
#include "savetestfiles.h"

namespace {
const QString kRoot = QStringLiteral("/user/TK520/internal");
const QString kIqDir = kRoot + QStringLiteral("/quillbox/iqFiles");
const QString kHostile = QStringLiteral("a b; touch /tmp/pwned $(touch /tmp/pwned2) \"q\" 'q'");

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
        // Relative paths (the leading-dash case) land in a scratch folder, never in the checkout.
        QVERIFY(QDir().mkpath(QStringLiteral("/tmp/work")));
        QVERIFY(QDir::setCurrent(QStringLiteral("/tmp/work")));
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
        verifyOwned(QStringLiteral("/tmp/work/-R"));
        QVERIFY(save.getDirUsageSize(QStringLiteral("-R")) >= 0);

        QVERIFY(!QFileInfo::exists(QStringLiteral("/tmp/pwned")));
        QVERIFY(!QFileInfo::exists(QStringLiteral("/tmp/pwned2")));
        QVERIFY(!QFileInfo::exists(QStringLiteral("/tmp/work/pwned")));
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
    }
};

QTEST_GUILESS_MAIN(TestStorageDirs)
#include "tst_storagedirs.moc"
