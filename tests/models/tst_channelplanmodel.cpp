#include <QAbstractItemModelTester>
#include <QtTest>

#include "channelplanmodel.h"
#include "elfdata.h"
#include "simfixture.h"
#include "zeelfitems.h"

namespace {

const QString kDxTestAddress =
    QStringLiteral("gem.base.dxtest_app,dxtest_app,dxtest_result_module,dxtest_reg_module");
const char *const kFields[] = {"channelPlanType", "channelPlanBaseFrequency", "channelPlanTransmitOffset",
                               "channelPlanSpace"};

// The address of a field (0 to 3, in the order of the roles) of a plan (1 to 16).
QString planItem(int field, int plan)
{
    return QStringLiteral(":config:dxtest_app:p25Trunking:%1%2:").arg(QLatin1String(kFields[field])).arg(plan);
}

QRegularExpression warning(const char *operation, const char *text)
{
    return QRegularExpression(QStringLiteral("^%1 :: \\d+ %2$")
                                  .arg(QLatin1String(operation), QRegularExpression::escape(QLatin1String(text))));
}

// Journal entries as "address=value", numbers in one form whatever form the simulator wrote.
QStringList writes(const SimFixture &sim)
{
    QStringList result;
    for (const SimFixture::Entry &entry : sim.journal()) {
        bool isNumber = false;
        const double number = entry.argument.toDouble(&isNumber);
        result.append(entry.address + '=' + (isNumber ? QString::number(number, 'g', 12) : entry.argument));
    }
    return result;
}

ElfData *handle(const ChannelPlanModel &model, int row, int role)
{
    return model.data(model.index(row), role).value<ElfData *>();
}

} // namespace

class TestChannelPlanModel : public QObject
{
    Q_OBJECT

private:
    SimFixture m_sim;

private Q_SLOTS:
    void initTestCase()
    {
        QVERIFY2(m_sim.start(qEnvironmentVariable("HBASE_SOURCE_DIR") + "/tests/models/trunking_model.json"),
                 qPrintable(m_sim.errorOutput()));
    }

    void withoutAddressedBridge()
    {
        ChannelPlanModel model;
        QAbstractItemModelTester tester(&model, QAbstractItemModelTester::FailureReportingMode::QtTest);
        QSignalSpy changed(&model, &ChannelPlanModel::zeElfItemsChanged);
        model.setZeElfItems(nullptr);
        QCOMPARE(changed.count(), 0);

        ZeElfItems bridge;
        QTest::ignoreMessage(QtWarningMsg, warning("initialize", " zeElfItems is not initialized!"));
        model.setProperty("zeElfItems", QVariant::fromValue(&bridge));
        QCOMPARE(changed.count(), 1);
        QCOMPARE(model.zeElfItems(), &bridge);
        QCOMPARE(model.getCount(), 0);

        // An empty model has nothing to back up or restore.
        QTest::ignoreMessage(QtWarningMsg, warning("saveBackupValues", " ENTER!!!!!!"));
        model.saveBackupValues();
        QTest::ignoreMessage(QtWarningMsg, warning("restoreBackupValues", " ENTER!!!!!!"));
        model.restoreBackupValues();
        QVERIFY(writes(m_sim).isEmpty());
    }

    void sixteenPlans()
    {
        ZeElfItems bridge;
        bridge.setDbusAddress(kDxTestAddress);
        ChannelPlanModel model;
        QAbstractItemModelTester tester(&model, QAbstractItemModelTester::FailureReportingMode::QtTest);
        QSignalSpy inserted(&model, &QAbstractItemModel::rowsInserted);
        QSignalSpy removed(&model, &QAbstractItemModel::rowsRemoved);
        QSignalSpy changed(&model, &ChannelPlanModel::zeElfItemsChanged);
        model.setZeElfItems(&bridge);
        QCOMPARE(model.getCount(), 16);
        QCOMPARE(inserted.count(), 1);
        QCOMPARE(inserted.at(0).at(2).toInt(), 15);
        QCOMPARE(changed.count(), 1);

        for (int row = 0; row < 16; ++row) {
            for (int field = 0; field < 4; ++field) {
                ElfData *item = handle(model, row, 257 + field);
                QVERIFY(item);
                QCOMPARE(item->address(), planItem(field, row + 1));
            }
        }
        QCOMPARE(model.data(model.index(0), 261), QVariant());
        QCOMPARE(model.data(model.index(16), 257), QVariant());

        // The same bridge again is no change; another bridge refills.
        model.setZeElfItems(&bridge);
        QCOMPARE(changed.count(), 1);
        QCOMPARE(inserted.count(), 1);
        ZeElfItems other;
        other.setDbusAddress(kDxTestAddress);
        model.setZeElfItems(&other);
        QCOMPARE(changed.count(), 2);
        QCOMPARE(removed.count(), 1);
        QCOMPARE(removed.at(0).at(2).toInt(), 15);
        QCOMPARE(inserted.count(), 2);
        QCOMPARE(model.getCount(), 16);
    }

    void backupAndRestore()
    {
        ZeElfItems bridge;
        bridge.setDbusAddress(kDxTestAddress);
        ChannelPlanModel model;
        model.setZeElfItems(&bridge);
        QCOMPARE(model.getCount(), 16);

        // Values set in the service, saved, overwritten by an edit and restored come back unchanged.
        const QVariant values[] = {1, 851.0125e6, -46e6, 6250.0};
        for (int field = 0; field < 4; ++field)
            QVERIFY(m_sim.setItem(planItem(field, 2), values[field]));
        ElfData *baseFreq = handle(model, 1, 258);
        QTRY_COMPARE(baseFreq->getValue().toDouble(), 851.0125e6);
        ElfData *type = handle(model, 1, 257);
        QTRY_COMPARE(type->getValue().toInt(), 1);
        const QString typeText = type->valueText(true);

        QTest::ignoreMessage(QtWarningMsg, warning("saveBackupValues", " ENTER!!!!!!"));
        model.saveBackupValues();
        type->setValue(0);
        baseFreq->setValue(1.0);
        handle(model, 1, 259)->setValue(2.0);
        handle(model, 1, 260)->setValue(3.0);
        QTRY_COMPARE(writes(m_sim).size(), 4);
        m_sim.clearJournal();
        QTest::ignoreMessage(QtWarningMsg, warning("restoreBackupValues", " ENTER!!!!!!"));
        model.restoreBackupValues();
        QTRY_COMPARE(writes(m_sim).size(), 64);
        const QStringList restored = writes(m_sim);
        QCOMPARE(restored.mid(4, 4), (QStringList{planItem(0, 2) + "=1", planItem(1, 2) + "=851012500",
                                                  planItem(2, 2) + "=-46000000", planItem(3, 2) + "=6250"}));
        QCOMPARE(restored.at(63), planItem(3, 16) + "=12500");
        QCOMPARE(type->valueText(true), typeText);
        QCOMPARE(baseFreq->getValue().toDouble(), 851.0125e6);
    }

    // Without a backup the restore writes the empty backup: "" and 0 to every plan.
    void restoreWithoutBackup()
    {
        ZeElfItems bridge;
        bridge.setDbusAddress(kDxTestAddress);
        ChannelPlanModel model;
        model.setZeElfItems(&bridge);
        m_sim.clearJournal();
        QTest::ignoreMessage(QtWarningMsg, warning("restoreBackupValues", " ENTER!!!!!!"));
        model.restoreBackupValues();
        QStringList expected;
        for (int plan = 1; plan <= 16; ++plan)
            expected << planItem(0, plan) + "=" << planItem(1, plan) + "=0" << planItem(2, plan) + "=0"
                     << planItem(3, plan) + "=0";
        QTRY_COMPARE(writes(m_sim), expected);
    }

    // A plan item missing from the service ends the fill: views see exactly the plans before it.
    void missingItem()
    {
        QVERIFY(m_sim.removeItem(planItem(2, 5)));
        ChannelPlanModel model;
        QAbstractItemModelTester tester(&model, QAbstractItemModelTester::FailureReportingMode::QtTest);
        QSignalSpy inserted(&model, &QAbstractItemModel::rowsInserted);
        QSignalSpy removed(&model, &QAbstractItemModel::rowsRemoved);
        {
            ZeElfItems bridge;
            bridge.setDbusAddress(kDxTestAddress);
            QTest::ignoreMessage(QtWarningMsg,
                                 QRegularExpression("^getConfigItem .*param= \"channelPlanTransmitOffset5\"$"));
            QTest::ignoreMessage(QtWarningMsg, warning("initialize", " eDataTransmitOffset wasn't initialized!"));
            model.setZeElfItems(&bridge);
            QCOMPARE(model.getCount(), 4);
            QCOMPARE(inserted.count(), 1);
            QCOMPARE(inserted.at(0).at(1).toInt(), 0);
            QCOMPARE(inserted.at(0).at(2).toInt(), 3);
            QCOMPARE(handle(model, 3, 260)->address(), planItem(3, 4));
        }

        // With the first item missing the old rows go and none come.
        QVERIFY(m_sim.removeItem(planItem(0, 1)));
        ZeElfItems second;
        second.setDbusAddress(kDxTestAddress);
        QTest::ignoreMessage(QtWarningMsg, QRegularExpression("^getConfigItem .*param= \"channelPlanType1\"$"));
        QTest::ignoreMessage(QtWarningMsg, warning("initialize", " eDataChannelType wasn't initialized!"));
        model.setZeElfItems(&second);
        QCOMPARE(model.getCount(), 0);
        QCOMPARE(removed.count(), 1);
        QCOMPARE(inserted.count(), 1);
    }
};

QTEST_GUILESS_MAIN(TestChannelPlanModel)
#include "tst_channelplanmodel.moc"
