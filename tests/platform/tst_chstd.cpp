#include <QtTest>

#include "chbandstore.h"
#include "chstd.h"

class TestChStd : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    // The interface shows the middle field of each text; the order is the enumeration's.
    void enumerationTexts()
    {
        const ChBandStore *store = ChStd::GetChStdPointer();
        QCOMPARE(store->count(), 73);
        QCOMPARE(store->GetEnumulator(0), QStringLiteral("GSM - GSM 450 - UL 450.4-457.6 MHz / DL 460.4-467.6 MHz"));
        QCOMPARE(store->GetEnumulator(15), QStringLiteral("LTE - Band 1 - UL 1920-1980 MHz / DL 2110-2170 MHz"));
        QCOMPARE(store->GetEnumulator(34), QStringLiteral("LTE - Band 29 - SDL 717-728 MHz"));
        QCOMPARE(store->GetEnumulator(67), QStringLiteral("NR - n78 - TDD 3300-3800 MHz"));
        QSet<QString> bands;
        for (int i = 0; i < store->count(); ++i) {
            const QStringList fields = store->GetEnumulator(i).split(QStringLiteral(" - "));
            QCOMPARE(fields.size(), 3);
            QVERIFY(!fields.at(1).isEmpty());
            bands.insert(fields.at(0) + fields.at(1));
        }
        QCOMPARE(bands.size(), store->count());
        for (int index : {-1, store->count(), std::numeric_limits<int>::max(), std::numeric_limits<int>::min()})
            QCOMPARE(store->GetEnumulator(index), QString());
    }
};

QTEST_GUILESS_MAIN(TestChStd)
#include "tst_chstd.moc"
