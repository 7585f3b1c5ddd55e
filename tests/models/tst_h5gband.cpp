#include <QtTest>

#include "h5gband.h"

namespace {
QStringList allowed(const h5GBand &band)
{
    QStringList list;
    for (int i = 0; i < band.getBandCount(); ++i)
        list.append(band.getSCS(i));
    return list;
}

const QStringList kRange0 = {"15 (Case A)", "30 (Case B)", "30 (Case C)", "60"};
const QStringList kRange1 = {"60", "120 (Case D)", "240 (Case E)"};
}

class TestH5GBand : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void allowedSpacings_data()
    {
        QTest::addColumn<QString>("range");
        QTest::addColumn<QString>("bandwidth");
        QTest::addColumn<QStringList>("expected");

        const QStringList noCaseA = {"30 (Case B)", "30 (Case C)", "60"};
        for (const QString range : {"FR1", "1-C 1-H", "", "fr1"}) {
            QTest::addRow("%s 5", qPrintable(range)) << range << "5" << QStringList{"15 (Case A)", "30 (Case B)", "30 (Case C)"};
            for (const char *bw : {"10", "15", "20", "25", "30", "40", "50"})
                QTest::addRow("%s %s", qPrintable(range), bw) << range << bw << kRange0;
            for (const char *bw : {"60", "70", "80", "90", "100"})
                QTest::addRow("%s %s", qPrintable(range), bw) << range << bw << noCaseA;
        }
        for (const QString range : {"FR2", "OTA 2-O"}) {
            QTest::addRow("%s 50", qPrintable(range)) << range << "50" << QStringList{"60", "120 (Case D)"};
            QTest::addRow("%s 100", qPrintable(range)) << range << "100" << kRange1;
            QTest::addRow("%s 200", qPrintable(range)) << range << "200" << kRange1;
            QTest::addRow("%s 400", qPrintable(range)) << range << "400" << QStringList{"120 (Case D)", "240 (Case E)"};
        }
        // Bandwidths are compared as given: with a unit or spaces nothing is excluded.
        QTest::newRow("FR1 100 MHz") << "FR1" << "100 MHz" << kRange0;
        QTest::newRow("FR1 ' 5'") << "FR1" << " 5" << kRange0;
        QTest::newRow("FR2 400 MHz") << "FR2" << "400 MHz" << kRange1;
    }

    void allowedSpacings()
    {
        QFETCH(QString, range);
        QFETCH(QString, bandwidth);
        QFETCH(QStringList, expected);
        h5GBand band;
        band.setBandStByMeas("Channel Power", range, bandwidth);
        QCOMPARE(band.getBandCount(), expected.size());
        QCOMPARE(allowed(band), expected);
    }

    // Each call replaces the whole answer; indexes outside the lists read nothing and answer "".
    void eachCallReplacesTheAnswer()
    {
        h5GBand band;
        QCOMPARE(band.getBandCount(), 0);
        band.setBandStByMeas("Sweep Tuned Spectrum", "FR1", "20");
        band.setBandStByMeas("Sweep Tuned Spectrum", "FR2", "400");
        QCOMPARE(allowed(band), (QStringList{"120 (Case D)", "240 (Case E)"}));
        for (int index : {-1, 2, std::numeric_limits<int>::min(), std::numeric_limits<int>::max()}) {
            QCOMPARE(band.getSCS(index), QString());
            QCOMPARE(band.getBandwidth(index), QString());
        }
    }
};

QTEST_GUILESS_MAIN(TestH5GBand)
#include "tst_h5gband.moc"
