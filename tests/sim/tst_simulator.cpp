// hbase-sim, the instrument's services as the other tests and the demo run against them: what those
// do not show, its refusal of bad models (with what is wrong where, and exit code 2).
#include <QtTest>

#include "simfixture.h"
#include "testfiles.h"

class TestSimulator : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void malformedModelsAreRefused_data()
    {
        addColumns<QByteArray, QString>({"items", "message"}); // items of module m of a_app, or the whole file
        QTest::newRow("absent") << QByteArray() << "cannot read model";
        QTest::newRow("no applications") << QByteArray("[]") << "\"applications\" array";
        QTest::newRow("nameless item") << QByteArray(R"([{"value":1}])") << "an item of a_app/m has no valid \"name\"";
        QTest::newRow("wrong type") << QByteArray(R"([{"name":"x","type":"int","value":"y"}])")
                                    << "\"value\" of \":config:a_app:m:x:\" is not of type int";
        QTest::newRow("twice")
            << QByteArray(R"([{"name":"x"},{"name":"x"}])") << "item \":config:a_app:m:x:\" appears twice";
        QTest::newRow("carrier without frequency") << QByteArray(
            R"([{"name":"t","type":"doubleArray","simulate":{"periodMs":20,"carriers":[{"level":-30}]}}])")
                                                   << "a carrier needs a \"frequency\" > 0";
    }

    void malformedModelsAreRefused()
    {
        QFETCH(QByteArray, items);
        QFETCH(QString, message);
        const QString path = items.isEmpty() ? "/tmp/absent.json" : "/tmp/broken model.json";
        if (items.startsWith("[{"))
            items = R"({"applications":[{"name":"a_app","modules":[{"name":"m","items":)" + items + "}]}]}";
        if (!items.isEmpty())
            writeFile(path, items);
        QProcess sim;
        SimFixture::startProgram(sim, qEnvironmentVariable("HBASE_SIM"), {"--model", path});
        QVERIFY(sim.waitForFinished(10000));
        QCOMPARE(sim.exitCode(), 2);
        const QString errors = sim.readAllStandardError();
        QVERIFY2(errors.startsWith("hbase-sim: ") && errors.contains(path) && errors.contains(message),
                 qPrintable(errors));
    }
};

QTEST_GUILESS_MAIN(TestSimulator)
#include "tst_simulator.moc"
