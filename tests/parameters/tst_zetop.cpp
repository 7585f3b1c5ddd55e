#include <QtTest>

#include "simfixture.h"
#include "zeelfitems.h"
#include "zetop.h"

class TestZeTop : public QObject
{
    Q_OBJECT

private:
    SimFixture m_sim;

private Q_SLOTS:
    void initTestCase()
    {
        QVERIFY2(m_sim.start(qEnvironmentVariable("HBASE_SOURCE_DIR") + "/tests/parameters/bridge_model.json"),
                 qPrintable(m_sim.errorOutput()));
    }

    void channelStandardField_data()
    {
        QTest::addColumn<QString>("text");
        QTest::addColumn<QString>("field");
        QTest::newRow("three fields") << "NA - P25 Phase 1 - 12.5 kHz" << "P25 Phase 1";
        QTest::newRow("one separator") << "NA - P25" << "P25";
        QTest::newRow("hyphens without spaces") << "NA-P25-x" << "";
        QTest::newRow("empty") << "" << "";
        QTest::newRow("empty middle") << "a -  - b" << "";
        QTest::newRow("separator at the end") << "a - " << "";
        QTest::newRow("double hyphen") << "a - - b - c" << "- b";
    }

    void channelStandardField()
    {
        QFETCH(QString, text);
        QFETCH(QString, field);
        ZeTop top;
        QCOMPARE(top.channelStandardCnfg(text), field);
    }

    void nameValueLines()
    {
        ZeTop top;
        QCOMPARE(top.getData("Channel Standard", QStringLiteral("EU - DMR")), QStringLiteral("Channel Standard:DMR"));
        QCOMPARE(top.getData("Channel Standard", QStringLiteral("DMR")), QStringLiteral("Channel Standard:"));
        QCOMPARE(top.getData("channel standard", QStringLiteral("EU - DMR")),
                 QStringLiteral("channel standard:EU - DMR"));
        QCOMPARE(top.getData("Span", 5), QStringLiteral("Span:5"));
        QCOMPARE(top.getData("Span", 5, 3), QStringLiteral("Span:5"));
        QCOMPARE(top.getData("Level", 2.5, 0), QStringLiteral("Level:2.5"));
        QCOMPARE(top.getData("Mode", QVariant()), QStringLiteral("Mode:"));
    }

    void elfHandle()
    {
        ZeTop top;
        QSignalSpy changed(&top, &ZeTop::elfHandleChanged);
        QCOMPARE(top.getConfigItem("centerFreqCnfg"), QStringLiteral(""));

        auto *bridge = new ZeElfItems;
        top.setProperty("elfHandle", QVariant::fromValue(bridge));
        QCOMPARE(top.elfHandle(), bridge);
        QCOMPARE(changed.count(), 1);
        top.setElfHandle(bridge);
        QCOMPARE(changed.count(), 1);

        // An unaddressed bridge knows no item.
        QCOMPARE(top.getConfigItem("centerFreqCnfg"), QStringLiteral(""));
        delete bridge;
        QCOMPARE(top.elfHandle(), nullptr);
        QCOMPARE(top.getConfigItem("centerFreqCnfg"), QStringLiteral(""));
        // The guarded pointer already reads null, so clearing it is no change.
        top.setElfHandle(nullptr);
        QCOMPARE(changed.count(), 1);
    }

    void configItemText()
    {
        ZeElfItems bridge;
        bridge.setDbusAddress("gem.base.spectrumanalyzer_app,spectrumanalyzer_app,spectrumanalyzer_result_module,"
                              "spectrumanalyzer_reg_module");
        ZeTop top;
        top.setElfHandle(&bridge);
        const QString standard = top.getConfigItem("channelStandardCnfg");
        QCOMPARE(standard, QStringLiteral("North America - P25 Phase 1 - 12.5 kHz"));
        QCOMPARE(top.getData("Channel Standard", standard), QStringLiteral("Channel Standard:P25 Phase 1"));
        QCOMPARE(top.getConfigItem("absent"), QStringLiteral(""));
    }
};

QTEST_GUILESS_MAIN(TestZeTop)
#include "tst_zetop.moc"
