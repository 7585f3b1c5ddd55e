#include <QtTest>

#include "persistentlog.h"

namespace {
QByteArray readFile(const QString &path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray("<missing>");
}

QString writeLog(const QByteArray &content)
{
    const QString path = QStringLiteral("/tmp/test.grr");
    QFile file(path);
    if (file.open(QIODevice::WriteOnly | QIODevice::Truncate))
        file.write(content);
    return path;
}
} // namespace

class TestPersistentLog : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void setupLineBecomesTheJsonFile()
    {
        persistentLog log;
        QCOMPARE(persistentLog::uiSetupFile(), QStringLiteral("/tmp/loggingLoadUiSetup.json"));
        QVERIFY(log.loadUiSetup(writeLog("  {\"Technology\":\"LTE\",\"Measure\":\"RSRP\"}\r\n"
                                         "{\"t\": 1}\nnot json at all\n")));
        QCOMPARE(readFile(persistentLog::uiSetupFile()),
                 QByteArray("{\n    \"Measure\": \"RSRP\",\n    \"Technology\": \"LTE\"\n}\n"));

        // Only the first line counts, and a refused file leaves the last conversion in place.
        for (const QByteArray &bad : {QByteArray("\n{\"Technology\": \"NR\"}\n"), QByteArray("[1, 2]\n"),
                                      QByteArray("{\"Technology\": \"NR\""), QByteArray(2 * 1024 * 1024, '{'),
                                      QByteArray()})
            QVERIFY(!log.loadUiSetup(writeLog(bad)));
        QVERIFY(!log.loadUiSetup(QStringLiteral("/tmp/missing.grr")));
        QCOMPARE(readFile(persistentLog::uiSetupFile()),
                 QByteArray("{\n    \"Measure\": \"RSRP\",\n    \"Technology\": \"LTE\"\n}\n"));
    }
};

QTEST_GUILESS_MAIN(TestPersistentLog)
#include "tst_persistentlog.moc"
