#include <QtTest>

#include "zeelfitems.h"
#include "zetop.h"

class TestZeTop : public QObject
{
    Q_OBJECT

private Q_SLOTS:
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
        QCOMPARE(top.getData("Channel Standard", text), "Channel Standard:" + field);
    }

    void nameValueLines()
    {
        ZeTop top;
        QCOMPARE(top.getData("channel standard", QStringLiteral("EU - DMR")),
                 QStringLiteral("channel standard:EU - DMR"));
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
};

QTEST_GUILESS_MAIN(TestZeTop)
#include "tst_zetop.moc"
