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
        QVERIFY(QDir().mkpath(QStringLiteral("/tmp/q/full")));
        QVERIFY(QDir().mkpath(QStringLiteral("/tmp/q/empty")));
        touch(QStringLiteral("/tmp/q/full/a.txt"));
        touch(QString::fromUtf8("/tmp/q/r\xc3\xa9sum\xc3\xa9.png"));
        touch(QStringLiteral("/tmp/q/with space"));
        touch(QStringLiteral("/tmp/q/x;touch"));

        FileExists query;
        bool found = false;
        QCOMPARE(queryCapturingStandardError(query, QStringLiteral("/tmp/q/full/a.txt"), &found),
                 QStringLiteral("queryForFile /tmp/q/full/a.txt\n"
                                "queryForFile test for [/tmp/q/full/a.txt], output [/tmp/q/full/a.txt], return 1\n"));
        QCOMPARE(found, true);
        QCOMPARE(query.exists(), true);

        QCOMPARE(queryCapturingStandardError(query, QStringLiteral("/tmp/q/full"), &found),
                 QStringLiteral("queryForFile /tmp/q/full\n"
                                "queryForFile test for [/tmp/q/full], output [a.txt], return 0\n"));
        QCOMPARE(found, false);
        QCOMPARE(query.exists(), false);

        QCOMPARE(query.queryForFile(QString::fromUtf8("/tmp/q/r\xc3\xa9sum\xc3\xa9.png")), true);
        const struct { QString path; bool exists; } cases[] = {
            {QStringLiteral("/tmp/q/empty"), false},
            {QStringLiteral("/tmp/q/missing.txt"), false},
            {QStringLiteral("/tmp/q/with space"), false},
            {QStringLiteral("/tmp/q/x;touch /tmp/q/pwned"), false},
            {QStringLiteral("/tmp/q/$(touch /tmp/q/pwned)"), false},
        };
        for (const auto &case_ : cases)
            QVERIFY2(query.queryForFile(case_.path) == case_.exists, qPrintable(case_.path));
        QVERIFY(!QFile::exists(QStringLiteral("/tmp/q/pwned")));
    }

    void queryDoesNotNotify()
    {
        touch(QStringLiteral("/tmp/here"));
        FileExists query;
        QSignalSpy changed(&query, &FileExists::existsChanged);
        QCOMPARE(query.queryForFile(QStringLiteral("/tmp/here")), true);
        QCOMPARE(query.property("exists"), QVariant(true));
        QCOMPARE(changed.count(), 0);

        query.setExists(true);
        QCOMPARE(changed.count(), 0);
        query.setExists(false);
        QCOMPARE(changed, (QList<QVariantList>{{false}}));
    }
};

QTEST_GUILESS_MAIN(TestFileExists)
#include "tst_fileexists.moc"
