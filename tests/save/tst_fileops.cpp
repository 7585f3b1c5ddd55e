#include <QtTest>

#include "hsave.h"

namespace {
const QString kDir = QStringLiteral("/user/TK520/internal/quillbox/results");

QByteArray readFile(const QString &path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray("<missing>");
}

void writeFile(const QString &path, const QByteArray &content)
{
    QFile file(path);
    QVERIFY2(file.open(QIODevice::WriteOnly | QIODevice::Truncate), qPrintable(path));
    file.write(content);
}

// Names made unique within the second of the call: either stamp of the two seconds around it.
bool isStamped(const QString &name, const QString &prefix, const QString &suffix, const QDateTime &before)
{
    const QString format = QStringLiteral("yyMMddhhmmss");
    const QDateTime after = QDateTime::currentDateTime();
    return name == prefix + '_' + before.toString(format) + suffix
        || name == prefix + '_' + after.toString(format) + suffix;
}
} // namespace

class TestFileOps : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void localCopyDeleteRename()
    {
        HSave save;
        writeFile(kDir + "/a.res", "A");
        writeFile(kDir + "/b.res", "B");
        QVERIFY(!save.qFileCopy(kDir + "/a.res", kDir + "/b.res", false));
        QCOMPARE(readFile(kDir + "/b.res"), QByteArray("B"));
        QVERIFY(save.qFileCopy(kDir + "/a.res", kDir + "/b.res", true));
        QCOMPARE(readFile(kDir + "/b.res"), QByteArray("A"));
        QVERIFY(save.qFileCopy(kDir + "/a.res", kDir + "/c d.res", false));
        QCOMPARE(readFile(kDir + "/c d.res"), QByteArray("A"));
        QVERIFY(!save.qFileCopy(kDir + "/none.res", kDir + "/e.res", true));

        QVERIFY(save.qFileDelete(kDir + "/c d.res"));
        QVERIFY(!QFileInfo::exists(kDir + "/c d.res"));
        QVERIFY(!save.qFileDelete(kDir + "/c d.res"));

        QTest::ignoreMessage(QtDebugMsg, qPrintable(QStringLiteral("oldName= \"%1/b.res\"    newName= \"%1/f.res\"").arg(kDir)));
        QVERIFY(save.renameFile(kDir + "/b.res", kDir + "/f.res"));
        QCOMPARE(readFile(kDir + "/f.res"), QByteArray("A"));
        QVERIFY(!save.renameFile(kDir + "/b.res", kDir + "/g.res"));
        QVERIFY(!save.renameFile(kDir + "/a.res", kDir + "/f.res"));
        QCOMPARE(readFile(kDir + "/f.res"), QByteArray("A"));
    }

    void removeFilesAndFolders()
    {
        HSave save;
        QVERIFY(QDir().mkpath(kDir + "/tree/sub"));
        writeFile(kDir + "/tree/sub/x", "x");
        for (const QString &kind : {QStringLiteral("folder"), QStringLiteral("File"), QString()})
            QVERIFY(save.remove(kDir + "/tree", kind));
        QVERIFY(QFileInfo::exists(kDir + "/tree/sub/x"));
        QVERIFY(save.remove(kDir + "/tree", QStringLiteral("Folder")));
        QVERIFY(!QFileInfo::exists(kDir + "/tree"));

        writeFile(kDir + "/plain", "p");
        QVERIFY(save.remove(kDir + "/plain", QStringLiteral("FOLDER")));
        QVERIFY(!QFileInfo::exists(kDir + "/plain"));
        QVERIFY(save.remove(kDir + "/plain", QStringLiteral("File")));
    }

    void nameBuilders()
    {
        HSave save;
        writeFile(kDir + "/taken.stp", "");
        const QDateTime now = QDateTime::currentDateTime();
        QVERIFY(isStamped(save.getAppendix("/x/name"), "/x/name", QString(), now));
        QVERIFY(isStamped(save.getFileAppendix(kDir + "/taken", "stp"), kDir + "/taken", QString(), now));
        QCOMPARE(save.getFileAppendix(kDir + "/taken", "pdf"), kDir + "/taken");
        QTest::ignoreMessage(QtDebugMsg, "getFileNameAppendix \"free\"");
        QCOMPARE(save.getFileNameAppendix(kDir, "free", "stp"), QStringLiteral("free"));
        QVERIFY(isStamped(save.getFileNameAppendix(kDir, "taken", "stp"), "taken", QString(), now));

        // One-second resolution: two requests in the same second give the same name.
        QStringList names;
        QDateTime second;
        do {
            second = QDateTime::currentDateTime();
            names = QStringList{save.getAppendix("n"), save.getAppendix("n")};
        } while (second.toString("yyMMddhhmmss") != QDateTime::currentDateTime().toString("yyMMddhhmmss"));
        QCOMPARE(names.at(0), names.at(1));

        QCOMPARE(save.addFileDirectory(kDir + "/a.res", "old runs"), kDir + "/old runs/a.res");
        QVERIFY(QFileInfo(kDir + "/old runs").isDir());
        QCOMPARE(save.fileSuffix("/a/b.tar.gz"), QStringLiteral("gz"));
        QCOMPARE(save.fileSuffix("/a.b/c"), QString());
        QCOMPARE(save.fileSuffix(QString()), QString());
    }
};

QTEST_GUILESS_MAIN(TestFileOps)
#include "tst_fileops.moc"
