#include <QAbstractItemModelTester>
#include <QtTest>

#include "elfclientinterface.h"
#include "frequencylossmodel.h"
#include "manifest.h"
#include "simfixture.h"

namespace {

const QString kTableAddress = QStringLiteral(":config:dxtest_app:cableLoss:cableLossTable:");
const QRegularExpression kLastItemEmpty(QStringLiteral("^isLastItemEmpty :: \\d+  Last item is empty!$"));

struct Change
{
    int row;
    QVector<int> roles;
    bool operator==(const Change &other) const { return row == other.row && roles == other.roles; }
};

// The dataChanged signals a view saw, in order; a signal spanning several rows reads as row -1.
QVector<Change> changes(QSignalSpy &spy)
{
    QVector<Change> result;
    for (const QList<QVariant> &args : qAsConst(spy)) {
        const int top = args.at(0).value<QModelIndex>().row();
        result.append({top == args.at(1).value<QModelIndex>().row() ? top : -1, args.at(2).value<QVector<int>>()});
    }
    spy.clear();
    return result;
}

QString rows(const FrequencyLossModel &model)
{
    QStringList result;
    for (int i = 0; i < model.rowCount(); ++i) {
        const QModelIndex index = model.index(i);
        result.append(QStringLiteral("%1/%2%3")
                          .arg(index.data(FrequencyLossModel::FrequencyRole).toDouble())
                          .arg(index.data(FrequencyLossModel::LossRole).toDouble())
                          .arg(index.data(FrequencyLossModel::IsValidRole).toBool() ? "" : "!"));
    }
    return result.join(' ');
}

} // namespace

class TestFrequencyLossModel : public QObject
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

    void tableText()
    {
        QVector<FrequencyLossItem> items{{100, 0.5, true}, {200, 1.25, true}};
        QCOMPARE(FrequencyLossModel::tableText(items), QStringLiteral("{100=0.5}, {200=1.25}"));
        items = {{1e10, 0.5, true}, {0.1 + 0.2, -3, false}, {123456789012.0, 1.0 / 3, true}};
        QCOMPARE(FrequencyLossModel::tableText(items),
                 QStringLiteral("{1e+10=0.5}, {0.3=-3}, {1.23456789e+11=0.3333333333}"));
        QCOMPARE(FrequencyLossModel::tableText({}), QStringLiteral(""));
    }

    void parseTable_data()
    {
        QTest::addColumn<QString>("text");
        QTest::addColumn<QString>("points");
        QTest::newRow("written form") << "{100=0.5}, {200=1.25}" << "100/0.5 200/1.25";
        QTest::newRow("empty") << "" << "";
        QTest::newRow("spaces and braces anywhere") << " { 1 0 = 2 }{,}{3=4} " << "10/2 3/4";
        QTest::newRow("malformed pieces skipped") << "{1=2}, , {3=4=5}, {6}, {7=8}" << "1/2 7/8";
        QTest::newRow("no number gives 0") << "{x=7}, {9=}, {1,5=2}" << "0/7 9/0 5/2";
        QTest::newRow("dot only, exponent") << "{1.5e3=0.25}, {2,5=1}" << "1500/0.25 5/1";
        QTest::newRow("decreasing") << "{300=3}, {100=1}" << "300/3 100/1";
    }

    void parseTable()
    {
        QFETCH(QString, text);
        QFETCH(QString, points);
        QStringList parsed;
        for (const FrequencyLossItem &item : FrequencyLossModel::parseTable(text)) {
            QVERIFY(item.isValid);
            parsed.append(QStringLiteral("%1/%2").arg(item.frequency).arg(item.loss));
        }
        QCOMPARE(parsed.join(' '), points);
    }

    // Editing without an item: rows change, validity follows, and each view learns exactly what changed.
    void editsKeepValidity()
    {
        FrequencyLossModel model;
        QAbstractItemModelTester tester(&model, QAbstractItemModelTester::FailureReportingMode::QtTest);
        QSignalSpy size(&model, &FrequencyLossModel::sizeChanged);
        QSignalSpy changed(&model, &QAbstractItemModel::dataChanged);

        model.addItem(300, 3);   // first row: valid whatever it holds
        model.addItem(100, 1);   // below the last row
        model.addItem(200, 4);   // frequency above 100 and loss above 1
        model.addItem(200, 5);   // equal frequency
        model.addItem(400, 6);
        QCOMPARE(rows(model), QStringLiteral("300/3 100/1! 200/4 200/5! 400/6"));
        QCOMPARE(size.count(), 5);
        QCOMPARE(model.property("size").toInt(), 5);
        QVERIFY(changes(changed).isEmpty());
        QCOMPARE(model.index(0).data(260), QVariant());
        QCOMPARE(model.data(model.index(5), 257), QVariant());

        // Row 3 now continues row 2 and turns valid; row 4 keeps its flag and is not reported.
        model.updateFrequency(3, 250);
        QCOMPARE(rows(model), QStringLiteral("300/3 100/1! 200/4 250/5 400/6"));
        QCOMPARE(changes(changed), (QVector<Change>{{3, {257}}, {3, {259}}}));

        // Row 3 turns invalid; row 4 is judged against the new row 3 and passed over when unchanged.
        model.updateItem(3, 200, 5);
        QCOMPARE(rows(model), QStringLiteral("300/3 100/1! 200/4 200/5! 400/6"));
        QCOMPARE(changes(changed), (QVector<Change>{{3, {257, 258}}, {3, {259}}}));
        model.updateLoss(3, 7);
        QCOMPARE(rows(model), QStringLiteral("300/3 100/1! 200/4 200/7! 400/6!"));
        QCOMPARE(changes(changed), (QVector<Change>{{3, {258}}, {4, {259}}}));

        // Removing row 0 makes the new row 0 valid; the walk runs to the last row.
        model.removeItem(0);
        QCOMPARE(rows(model), QStringLiteral("100/1 200/4 200/7! 400/6!"));
        QCOMPARE(changes(changed), (QVector<Change>{{0, {259}}}));
        model.removeItem(2);
        QCOMPARE(rows(model), QStringLiteral("100/1 200/4 400/6"));
        QCOMPARE(changes(changed), (QVector<Change>{{2, {259}}}));
        QCOMPARE(size.count(), 7);

        // Indexes outside the list change nothing and say nothing.
        for (int index : {-1, 3, 1000}) {
            model.removeItem(index);
            model.updateItem(index, 1, 1);
            model.updateFrequency(index, 1);
            model.updateLoss(index, 1);
        }
        QCOMPARE(rows(model), QStringLiteral("100/1 200/4 400/6"));
        QCOMPARE(size.count(), 7);
        QVERIFY(changes(changed).isEmpty());

        model.removeAll();
        QCOMPARE(model.rowCount(), 0);
        QCOMPARE(size.count(), 8);
        model.removeAll();
        QCOMPARE(size.count(), 8);
    }

    void emptyRows()
    {
        FrequencyLossModel model;
        QAbstractItemModelTester tester(&model, QAbstractItemModelTester::FailureReportingMode::QtTest);
        QVERIFY(model.addEmptyItem());
        QCOMPARE(rows(model), QStringLiteral("0/0!"));

        QTest::ignoreMessage(QtWarningMsg, kLastItemEmpty);
        QVERIFY(!model.addEmptyItem());
        QCOMPARE(model.rowCount(), 1);

        model.updateItem(0, 100, 1);
        QCOMPARE(rows(model), QStringLiteral("100/1"));
        QVERIFY(model.addEmptyItem());
        model.updateFrequency(1, 150);
        QTest::ignoreMessage(QtWarningMsg, kLastItemEmpty);
        QVERIFY(!model.addEmptyItem());
        model.updateLoss(1, 1);
        QCOMPARE(rows(model), QStringLiteral("100/1 150/1!"));
        QVERIFY(model.addEmptyItem());
    }

    // With no item the rows stay, the save is refused and nothing is written anywhere.
    void withoutItem()
    {
        FrequencyLossModel model;
        QSignalSpy size(&model, &FrequencyLossModel::sizeChanged);
        QTest::ignoreMessage(QtWarningMsg,
                             QRegularExpression(QStringLiteral("^initializeModel :: \\d+  m_cableLoss is nullptr$")));
        model.cancelEdit();
        QCOMPARE(size.count(), 0);

        QVERIFY(!model.saveToElfItem());
        model.addItem(100, 1);
        model.addItem(200, 2);
        QTest::ignoreMessage(QtWarningMsg,
                             QRegularExpression(QStringLiteral("^saveToElfItem :: \\d+  m_cableLoss is nullptr$")));
        QVERIFY(!model.saveToElfItem());
        model.updateModelFromElfItem();
        QCOMPARE(rows(model), QStringLiteral("100/1 200/2"));
    }

    // The table item: loaded on assignment, written only on save, reloaded only when it changed.
    void withItem()
    {
        Manifest manifest(ELFClientInterface::getSessionBusClient("gem.base.dxtest_app"), "dxtest_app", "cableLoss");
        ElfData *item = Manifest::getElfData(kTableAddress);
        QVERIFY(item);
        FrequencyLossModel model;
        QAbstractItemModelTester tester(&model, QAbstractItemModelTester::FailureReportingMode::QtTest);
        QSignalSpy size(&model, &FrequencyLossModel::sizeChanged);
        QSignalSpy itemChanged(&model, &FrequencyLossModel::cableLossChanged);
        QSignalSpy removed(&model, &QAbstractItemModel::rowsRemoved);
        model.addItem(1, 1);
        size.clear();

        model.setProperty("cableLoss", QVariant::fromValue(item));
        QCOMPARE(rows(model), QStringLiteral("100/0.5 200/1.25"));
        QCOMPARE(size.count(), 1);
        QCOMPARE(itemChanged.count(), 1);
        QCOMPARE(removed.count(), 1);
        model.setCableLoss(item);
        QCOMPARE(itemChanged.count(), 1);
        QCOMPARE(size.count(), 1);

        // A table changed in the service reloads by itself; decreasing points load as valid and edits
        // judge them. Asking again for the same text reloads nothing.
        removed.clear();
        QVERIFY(m_sim.setItem(kTableAddress, QStringLiteral("{300=3},{100=1}")));
        QTRY_COMPARE(rows(model), QStringLiteral("300/3 100/1"));
        model.updateModelFromElfItem();
        QCOMPARE(removed.count(), 1);
        model.updateItem(1, 100, 1);
        QCOMPARE(rows(model), QStringLiteral("300/3 100/1!"));

        size.clear();
        QVERIFY(m_sim.setItem(kTableAddress, QStringLiteral("")));
        QTRY_COMPARE(model.rowCount(), 0);
        QCOMPARE(size.count(), 1);
        QVERIFY(!model.saveToElfItem());

        // Refused saves write nothing; cancelling brings back the item's table.
        QVERIFY(m_sim.setItem(kTableAddress, QStringLiteral("{100=0.5}, {200=1.25}")));
        QTRY_COMPARE(item->getValue().toString(), QStringLiteral("{100=0.5}, {200=1.25}"));
        model.cancelEdit();
        m_sim.clearJournal();
        model.updateLoss(1, 0.25);
        QVERIFY(!model.saveToElfItem());
        model.cancelEdit();
        QCOMPARE(rows(model), QStringLiteral("100/0.5 200/1.25"));

        model.addItem(1e10, 3);
        QVERIFY(model.saveToElfItem());
        const QString saved = QStringLiteral("{100=0.5}, {200=1.25}, {1e+10=3}");
        QCOMPARE(item->getValue().toString(), saved);
        QTRY_COMPARE(m_sim.journal().size(), 1);
        QCOMPARE(m_sim.journal().at(0).address, kTableAddress);
        QCOMPARE(m_sim.journal().at(0).argument, saved);

        // The model's own save comes back unchanged and does not reload.
        removed.clear();
        model.updateModelFromElfItem();
        QCOMPARE(removed.count(), 0);
        QCOMPARE(model.rowCount(), 3);
    }
};

QTEST_GUILESS_MAIN(TestFrequencyLossModel)
#include "tst_frequencylossmodel.moc"
