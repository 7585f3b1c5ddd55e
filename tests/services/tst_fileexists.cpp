#include <QtTest>

#include <unistd.h>

#include "fileexists.h"

namespace {
// Runs a query with this process's standard error sent to a file, and returns what was written there.
QString queryCapturingStandardError(FileExists &query, const QString &fileName, bool *result)
{
    QTemporaryFile capture(QStringLiteral("/tmp/stderr-XXXXXX"));
    if (!capture.open())
        return QString();
    fflush(stderr);
    const int saved = dup(STDERR_FILENO);
    dup2(capture.handle(), STDERR_FILENO);
    *result = query.queryForFile(fileName);
    fflush(stderr);
    dup2(saved, STDERR_FILENO);
    close(saved);
    capture.seek(0);
    return QString::fromUtf8(capture.readAll());
}

void touch(const QString &path)
{
    QFile file(path);
    QVERIFY(file.open(QIODevice::WriteOnly));
}
}

class TestFileExists : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void answersForFilesOnly()
    {
        QVERIFY(QDir().mkpath("/tmp/q/full") && QDir().mkpath("/tmp/q/empty"));
        for (const char *path : {"/tmp/q/full/a.txt", "/tmp/q/r\xc3\xa9sum\xc3\xa9.png", "/tmp/q/with space", "/tmp/q/x;touch"})
            touch(QString::fromUtf8(path));

        FileExists query;
        bool found = false;
        QCOMPARE(queryCapturingStandardError(query, QStringLiteral("/tmp/q/full/a.txt"), &found),
                 QStringLiteral("queryForFile /tmp/q/full/a.txt\n"
                                "queryForFile test for [/tmp/q/full/a.txt], output [/tmp/q/full/a.txt], return 1\n"));
        QVERIFY(found && query.exists());

        QCOMPARE(queryCapturingStandardError(query, QStringLiteral("/tmp/q/full"), &found),
                 QStringLiteral("queryForFile /tmp/q/full\n"
                                "queryForFile test for [/tmp/q/full], output [a.txt], return 0\n"));
        QVERIFY(!found && !query.exists());

        QCOMPARE(query.queryForFile(QString::fromUtf8("/tmp/q/r\xc3\xa9sum\xc3\xa9.png")), true);
        // None of these lists back as itself (an empty folder, a missing file, names split at spaces); none runs anything.
        for (const char *path : {"/tmp/q/empty", "/tmp/q/missing.txt", "/tmp/q/with space", "/tmp/q/x;touch /tmp/q/pwned",
                                 "/tmp/q/$(touch /tmp/q/pwned)"})
            QVERIFY2(!query.queryForFile(path), path);
        QVERIFY(!QFile::exists(QStringLiteral("/tmp/q/pwned")));
    }

    void changesNotify()
    {
        touch(QStringLiteral("/tmp/here"));
        FileExists query;
        QSignalSpy changed(&query, &FileExists::existsChanged);
        QCOMPARE(query.queryForFile(QStringLiteral("/tmp/here")), true);
        QCOMPARE(query.queryForFile(QStringLiteral("/tmp/here")), true);
        query.setExists(true);
        query.setExists(false);
        QCOMPARE(changed, (QList<QVariantList>{{true}, {false}}));
    }
};

QTEST_GUILESS_MAIN(TestFileExists)
#include "tst_fileexists.moc"
