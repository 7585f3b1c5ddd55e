#include <QAbstractItemModelTester>
#include <QStandardItemModel>
#include <QtTest>

#include "cablelistfiltermodel.h"
#include "channelplanmodel.h"
#include "elfclientinterface.h"
#include "frequencylossmodel.h"
#include "gaugedraw.h"
#include "h5gband.h"
#include "henumlist.h"
#include "manifest.h"
#include "simfixture.h"

namespace {

const auto kQtTest = QAbstractItemModelTester::FailureReportingMode::QtTest;

// The rows of a list model as "value/value/..." for the given roles, space separated.
QString rows(const QAbstractItemModel &model, const QVector<int> &roles)
{
    QStringList result;
    for (int row = 0; row < model.rowCount(); ++row) {
        QStringList values;
        for (int role : roles)
            values.append(model.index(row, 0).data(role).toString());
        result.append(values.join('/'));
    }
    return result.join(' ');
}

// The dataChanged signals a view saw, as "row:roles", then forgotten.
QStringList changes(QSignalSpy &spy)
{
    QStringList result;
    const QList<QList<QVariant>> seen = spy;
    spy.clear();
    for (const QList<QVariant> &args : seen) {
        result.append(QString::number(args.at(0).value<QModelIndex>().row()) + ':');
        for (int role : args.at(2).value<QVector<int>>())
            result.last() += QString::number(role) + ' ';
    }
    return result;
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

// The cable list's source numbers its roles its own way and names no velocity role.
QStandardItemModel *makeCables(QObject *parent)
{
    auto *source = new QStandardItemModel(parent);
    source->setItemRoleNames({{Qt::DisplayRole, "display"}, {300, "cableName"}, {301, "manufacturer"}, {303, "loss"}});
    const QVariantList cables[] = {{"ABC-1", "Acme", 0.66, 0.2},
                                   {"X-AB", "Beta", 0.7, 0.3},
                                   {"abd-2", "Acme", 0.8, 0.4},
                                   {"RG58", "Gamma", 0.66, 0.5}};
    for (const QVariantList &cable : cables) {
        auto *item = new QStandardItem(cable.at(0).toString());
        for (int i = 0; i < 4; ++i)
            item->setData(cable.at(i), 300 + i);
        source->appendRow(item);
    }
    return source;
}

const QString kDxTestAddress = QStringLiteral("gem.base.dxtest_app,dxtest_app,dxtest_result_module,dxtest_reg_module");

// The address of a field (0 to 3, in the order of the roles) of a channel plan (1 to 16).
QString planItem(int field, int plan)
{
    static const char *const fields[] = {"Type", "BaseFrequency", "TransmitOffset", "Space"};
    return QStringLiteral(":config:dxtest_app:p25Trunking:channelPlan%1%2:")
        .arg(QLatin1String(fields[field]))
        .arg(plan);
}

ElfData *planHandle(const ChannelPlanModel &model, int row, int field)
{
    return model.data(model.index(row), ChannelPlanModel::eDataChannelType + field).value<ElfData *>();
}

void expectWarning(const char *pattern)
{
    QTest::ignoreMessage(QtWarningMsg, QRegularExpression(QLatin1String(pattern)));
}

const QString kTableAddress = QStringLiteral(":config:dxtest_app:cableLoss:cableLossTable:");
const char kLastItemEmpty[] = "^isLastItemEmpty :: \\d+  Last item is empty!$";

// The gauge scale's ends and span.
const double kStart = 4.319689898685965, kEnd = 5.105088062083414, kWhole = 0.7853981633974492;

QVector<double> gaugeState(const GaugeDraw &g)
{
    return {g.getCurrentValueRatio(), g.getRefValueRatio(),    g.getZeroValueRatio(),
            g.getValueAngleRad(),     g.getRefValueAngleRad(), g.getZeroValueAngleRad()};
}

// Enumerations with a repeated id, a missing label and keys that the address cutting can reach.
const char kEnums[] = R"({
  "spectrum:mode": [
    {"id": "b", "label": "Swept", "enum": 0, "dispSeq": 2},
    {"id": "a", "label": "Zero Span", "enum": 1, "dispSeq": 1, "disable": 1},
    {"id": "b", "label": "Swept B", "enum": 2, "dispSeq": 0},
    {"id": "c", "enum": 3}
  ],
  "c:d": [{"id": "x", "label": "X"}], "cd": [{"id": "y", "label": "Y"}], "b": [{"id": "z", "label": "Z"}]
})";
const QString kModeAddress = QStringLiteral(":config:spectrumanalyzer_app:spectrum:mode:");

} // namespace

class TestModels : public QObject
{
    Q_OBJECT

private:
    SimFixture m_sim;
    // Spaces, quotes and ';' in the folder: the path is used as given, never interpreted.
    QTemporaryDir m_dir{QDir::tempPath() + QStringLiteral("/enum lists 'x';XXXXXX")};

    bool load(HEnumList &list, const QString &name, const QByteArray &bytes)
    {
        QFile file(m_dir.filePath(name));
        if (!file.open(QIODevice::WriteOnly) || file.write(bytes) != bytes.size())
            qFatal("cannot write %s", qPrintable(file.fileName()));
        file.close();
        list.setFile(QStringLiteral("file://") + file.fileName());
        return list.loadFile(false);
    }

private Q_SLOTS:
    void initTestCase()
    {
        QVERIFY2(m_sim.start(qEnvironmentVariable("HBASE_SOURCE_DIR") + "/tests/models/trunking_model.json"),
                 qPrintable(m_sim.errorOutput()));
    }

    void cableList()
    {
        CableListFilterModel model;
        QAbstractItemModelTester tester(&model, kQtTest);
        QCOMPARE(model.get(0), QVariant());
        QCOMPARE(model.getIndexOfCableName("ABC-1"), -1);
        model.setSourceModel(makeCables(&model));
        // Roles are found by name, a name the source lacks reads the display role (the cable name); other
        // roles and rows outside the list read nothing.
        QCOMPARE(rows(model, {256, 257, 258, 259, 260, 261, 0}).section(' ', 0, 0),
                 QStringLiteral("/ABC-1/Acme/ABC-1/0.2//"));
        QCOMPARE(model.get(-1), QVariant());
        // A prefix ignoring case; the index search sees hidden cables as absent and compares with case.
        model.setFilterText("aB");
        QCOMPARE(rows(model, {257, 258}), QStringLiteral("ABC-1/Acme abd-2/Acme"));
        for (const char *name : {"RG58", "abc-1", "ABC"})
            QCOMPARE(model.getIndexOfCableName(name), -1);
        model.setFilterText("");
        QCOMPARE(model.getIndexOfCableName("RG58"), 3);
        QCOMPARE(model.get(1).toMap(),
                 (QVariantMap{{"cableName", "X-AB"}, {"manufacturer", "Beta"}, {"velocity", "X-AB"}, {"loss", 0.3}}));
    }

    void channelPlans()
    {
        ChannelPlanModel model;
        QAbstractItemModelTester tester(&model, kQtTest);
        QSignalSpy inserted(&model, &QAbstractItemModel::rowsInserted);
        // A bridge without an address gives no plans; addressed later, it fills the model once.
        auto bridge = std::make_unique<ZeElfItems>();
        expectWarning("^initialize :: \\d+  zeElfItems is not initialized!$");
        model.setProperty("zeElfItems", QVariant::fromValue(bridge.get()));
        QCOMPARE(model.getCount(), 0);
        bridge->setDbusAddress(kDxTestAddress);
        model.setZeElfItems(bridge.get());
        QCOMPARE(inserted.count(), 1);
        QCOMPARE(model.getCount(), 16);
        for (int i = 0; i < 64; ++i)
            QCOMPARE(planHandle(model, i / 4, i % 4)->address(), planItem(i % 4, i / 4 + 1));
        QCOMPARE(planHandle(model, 0, 4), nullptr);

        // Values set in the service are saved and written back, the type by its text, every plan in order.
        const QVariant values[] = {1, 851.0125e6, -46e6, 6250.0};
        for (int field = 0; field < 4; ++field)
            QVERIFY(m_sim.setItem(planItem(field, 2), values[field]));
        QTRY_COMPARE(planHandle(model, 1, 1)->getValue().toDouble(), 851.0125e6);
        QTRY_COMPARE(planHandle(model, 1, 0)->getValue().toInt(), 1);
        expectWarning("^saveBackupValues :: \\d+  ENTER!!!!!!$");
        model.saveBackupValues();
        m_sim.clearJournal();
        expectWarning("^restoreBackupValues :: \\d+  ENTER!!!!!!$");
        model.restoreBackupValues();
        QTRY_COMPARE(writes(m_sim).size(), 64);
        QCOMPARE(writes(m_sim).mid(4, 4),
                 (QStringList{planItem(0, 2) + "=1", planItem(1, 2) + "=851012500", planItem(2, 2) + "=-46000000",
                              planItem(3, 2) + "=6250"}));
        QCOMPARE(writes(m_sim).at(63), planItem(3, 16) + "=12500");
        // A plan item missing from the service ends the fill: views see exactly the plans before it.
        bridge.reset();
        QVERIFY(m_sim.removeItem(planItem(2, 5)));
        ZeElfItems other;
        other.setDbusAddress(kDxTestAddress);
        expectWarning("^getConfigItem .*param= \"channelPlanTransmitOffset5\"$");
        expectWarning("eDataTransmitOffset wasn't initialized!$");
        model.setZeElfItems(&other);
        QCOMPARE(model.getCount(), 4);
    }

    // Points read from the text are all valid; written back, each number has ten digits at most.
    void lossTableText_data()
    {
        QTest::addColumn<QString>("text");
        QTest::addColumn<QString>("written");
        QTest::newRow("written form") << "{100=0.5}, {200=1.25}" << "{100=0.5}, {200=1.25}";
        QTest::newRow("spaces and braces anywhere") << " { 1 0 = 2 }{,}{3=4} " << "{10=2}, {3=4}";
        QTest::newRow("malformed pieces skipped") << "{1=2}, , {3=4=5}, {6}, {7=8}" << "{1=2}, {7=8}";
        QTest::newRow("no number gives 0") << "{x=7}, {9=}, {1,5=2}" << "{0=7}, {9=0}, {5=2}";
        QTest::newRow("exponents, decreasing") << "{1.5e3=0.25}, {100=1}" << "{1500=0.25}, {100=1}";
        QTest::newRow("long numbers") << "{1e10=0.5},{123456789012=0.33333333333333}, {0.30000000000000004=-3}"
                                      << "{1e+10=0.5}, {1.23456789e+11=0.3333333333}, {0.3=-3}";
    }

    void lossTableText()
    {
        QFETCH(QString, text);
        QFETCH(QString, written);
        const QVector<FrequencyLossItem> items = FrequencyLossModel::parseTable(text);
        QVERIFY(std::all_of(items.begin(), items.end(), [](const FrequencyLossItem &item) { return item.isValid; }));
        QCOMPARE(FrequencyLossModel::tableText(items), written);
    }

    // Editing without an item: rows change, validity follows, and each view learns exactly what changed.
    void lossEdits()
    {
        FrequencyLossModel model;
        QAbstractItemModelTester tester(&model, kQtTest);
        QSignalSpy size(&model, &FrequencyLossModel::sizeChanged);
        QSignalSpy changed(&model, &QAbstractItemModel::dataChanged);
        for (const auto &point : {QPointF(300, 3), QPointF(100, 1), QPointF(200, 4), QPointF(200, 5), QPointF(400, 6)})
            model.addItem(point.x(), point.y());
        const QModelIndex stale = model.index(4);
        QCOMPARE(rows(model, {257, 258, 259}),
                 QStringLiteral("300/3/true 100/1/false 200/4/true 200/5/false 400/6/true"));
        model.updateFrequency(3, 250);
        model.updateItem(3, 200, 5);
        model.updateLoss(3, 7);
        QCOMPARE(rows(model, {257, 258, 259}),
                 QStringLiteral("300/3/true 100/1/false 200/4/true 200/7/false 400/6/false"));
        QCOMPARE(changes(changed), (QStringList{"3:257 ", "3:259 ", "3:257 258 ", "3:259 ", "3:258 ", "4:259 "}));
        model.removeItem(0);
        model.removeItem(2);
        QCOMPARE(rows(model, {257, 258, 259}), QStringLiteral("100/1/true 200/4/true 400/6/true"));
        QCOMPARE(changes(changed), (QStringList{"0:259 ", "2:259 "}));
        // Indexes outside the list change nothing and say nothing; without an item the save is refused
        // and the rows stay.
        for (int index : {-1, 3, 1000}) {
            model.removeItem(index);
            model.updateItem(index, 1, 1);
            model.updateFrequency(index, 1);
            model.updateLoss(index, 1);
        }
        expectWarning("^saveToElfItem :: \\d+  m_cableLoss is nullptr$");
        QVERIFY(!model.saveToElfItem());
        expectWarning("^initializeModel :: \\d+  m_cableLoss is nullptr$");
        model.cancelEdit();
        model.updateModelFromElfItem();
        QCOMPARE(rows(model, {257, 258, 259}), QStringLiteral("100/1/true 200/4/true 400/6/true"));
        QCOMPARE(size.count(), 7);
        QVERIFY(changes(changed).isEmpty());
        // An empty row is added once, until both its values are filled in.
        QVERIFY(model.addEmptyItem());
        for (int filled = 0; filled < 2; ++filled) {
            expectWarning(kLastItemEmpty);
            QVERIFY(!model.addEmptyItem());
            model.updateFrequency(3, 500);
        }
        model.updateLoss(3, 1);
        QVERIFY(model.addEmptyItem());
        QCOMPARE(rows(model, {257, 258, 259}),
                 QStringLiteral("100/1/true 200/4/true 400/6/true 500/1/false 0/0/false"));
        // A view's index from before reads nothing once its row is gone.
        model.removeAll();
        model.removeAll();
        QCOMPARE(size.count(), 10);
        QCOMPARE(model.data(stale, FrequencyLossModel::FrequencyRole), QVariant());
    }

    // The table item: loaded on assignment, written only on save, reloaded only when it changed.
    void lossTableItem()
    {
        Manifest manifest(ELFClientInterface::getSessionBusClient("gem.base.dxtest_app"), "dxtest_app", "cableLoss");
        ElfData *item = Manifest::getElfData(kTableAddress);
        QVERIFY(item);
        FrequencyLossModel model;
        QAbstractItemModelTester tester(&model, kQtTest);
        QSignalSpy removed(&model, &QAbstractItemModel::rowsRemoved);
        model.addItem(1, 1);
        model.setProperty("cableLoss", QVariant::fromValue(item));
        QCOMPARE(rows(model, {257, 258, 259}), QStringLiteral("100/0.5/true 200/1.25/true"));
        // A table changed in the service reloads by itself while nothing is edited, its points valid in any
        // order; asking again for the same text reloads nothing.
        QVERIFY(m_sim.setItem(kTableAddress, QStringLiteral("{300=3},{100=1}")));
        QTRY_COMPARE(rows(model, {257, 258, 259}), QStringLiteral("300/3/true 100/1/true"));
        model.updateModelFromElfItem();
        QCOMPARE(removed.count(), 2);
        QVERIFY(m_sim.setItem(kTableAddress, QStringLiteral("")));
        QTRY_COMPARE(model.rowCount(), 0);
        QVERIFY(!model.saveToElfItem());
        // Only the save writes: the whole table, once.
        QVERIFY(m_sim.setItem(kTableAddress, QStringLiteral("{100=0.5}, {200=1.25}")));
        QTRY_COMPARE(model.rowCount(), 2);
        m_sim.clearJournal();
        model.addItem(1e10, 3);
        // A change from the service while the user edits keeps the edits; the save writes them.
        QVERIFY(m_sim.setItem(kTableAddress, QStringLiteral("{5=5}")));
        QTRY_COMPARE(item->getValue().toString(), QStringLiteral("{5=5}"));
        QCOMPARE(rows(model, {257, 258}), QStringLiteral("100/0.5 200/1.25 1e+10/3"));
        QVERIFY(model.saveToElfItem());
        QTRY_COMPARE(writes(m_sim), QStringList{kTableAddress + "={100=0.5}, {200=1.25}, {1e+10=3}"});
        // The model's own save comes back unchanged and does not reload.
        model.updateModelFromElfItem();
        QCOMPARE(removed.count(), 3);
        QCOMPARE(model.rowCount(), 3);
    }

    void gauge_data()
    {
        QTest::addColumn<QVector<double>>("args"); // reference, current, maximum, minimum, bar from zero
        QTest::addColumn<QVector<double>>("ratios"); // current, reference, zero
        QTest::addColumn<bool>("draws");
        QTest::newRow("within") << QVector<double>{5, 7.5, 10, 0, 0} << QVector<double>{0.75, 0.5, 0} << true;
        QTest::newRow("above the scale") << QVector<double>{10, 11, 10, 0, 0} << QVector<double>{1, 1, 0} << true;
        QTest::newRow("below the scale") << QVector<double>{-1, -2, 10, 0, 1} << QVector<double>{0, 0, 0} << false;
        QTest::newRow("from zero") << QVector<double>{0, -5, 10, -10, 1} << QVector<double>{0.25, 0.5, 0.5} << true;
        QTest::newRow("not from zero") << QVector<double>{0, -5, 10, -10, 0} << QVector<double>{0.25, 0.5, 0} << true;
        QTest::newRow("zero below") << QVector<double>{0, 7, 10, 5, 1} << QVector<double>{0.4, 0, 0} << true;
        QTest::newRow("zero above") << QVector<double>{0, -7, -5, -10, 1} << QVector<double>{0.6, 1, 1} << true;
        // 0.05 of 10 is 0.0039 rad from the zero point: too short to draw; 0.06 is not.
        QTest::newRow("short bar") << QVector<double>{0, 0.05, 10, 0, 1} << QVector<double>{0.05 / 10, 0, 0} << false;
        QTest::newRow("long bar") << QVector<double>{0, 0.06, 10, 0, 1} << QVector<double>{0.06 / 10, 0, 0} << true;
    }

    // Angles are the scale's start plus the ratio of its span, bit for bit.
    void gauge()
    {
        QFETCH(QVector<double>, args);
        QFETCH(QVector<double>, ratios);
        QFETCH(bool, draws);
        const double min = args[3], max = args[2], span = max - min;
        GaugeDraw gauge;
        gauge.recalculateRange(args[0], args[1], max, min, args[4] != 0);
        QVERIFY(gauge.getRange() == span);
        const QVector<double> angles{kStart + ratios[0] * kWhole, kStart + ratios[1] * kWhole,
                                     kStart + ratios[2] * kWhole};
        QCOMPARE(gaugeState(gauge), ratios + angles);
        QCOMPARE(gauge.shouldDrawValueAngleRad(), draws);
        // The bar runs between the value and the zero point; the reference line is 0.003 rad to each
        // side, cut at the scale's ends; limit zones divide by the span of recalculateRange, whatever
        // span they are given.
        QCOMPARE((QVector<double>{gauge.getStartAngleValue(), gauge.getEndAngleValue(),
                                  gauge.calculateStartAngleByRefVal(), gauge.calculateEndAngleByRefVal()}),
                 (QVector<double>{std::min(angles[0], angles[2]), std::max(angles[0], angles[2]),
                                  std::max(angles[1] - 0.003, kStart), std::min(angles[1] + 0.003, kEnd)}));
        QCOMPARE((QVector<double>{gauge.calculateStartAngleUpperLimit(min + span / 2, min, min + 10 * span),
                                  gauge.calculateStartAngleUpperLimit(min, min, max),
                                  gauge.calculateStartAngleUpperLimit(min - 1, min, max),
                                  gauge.calculateStartAngleUpperLimit(max, min, max),
                                  gauge.calculateEndAngleLowerLimit(min + span / 4, min, max),
                                  gauge.calculateEndAngleLowerLimit(min, min, max),
                                  gauge.calculateEndAngleLowerLimit(max + 1, min, max)}),
                 (QVector<double>{kStart + 0.5 * kWhole, kStart, kStart, kEnd, kStart + 0.25 * kWhole, kStart, kEnd}));
    }

    // A span within the machine epsilon refuses to divide: the first step that divides writes its line
    // once and nothing after it runs, so ratios and angles keep their values.
    void gaugeZeroSpan()
    {
        GaugeDraw gauge;
        gauge.recalculateRange(5, 7.5, 10, 0, true);
        const QVector<double> before = gaugeState(gauge);
        const double eps = std::numeric_limits<double>::epsilon();
        const char *const refusals[] = {"updateCurrentValueRatio", "updateCurrentValueRatio",
                                        "updateCurrentValueRatio", "updateCurrentValueRatio", "updateRefValueRatio",
                                        "calculateStartAngleUpperLimit", "calculateEndAngleLowerLimit"};
        for (const char *step : refusals)
            QTest::ignoreMessage(QtWarningMsg,
                                 qPrintable(QString("GaugeDraw::%1: Division by zero! m_range == 0").arg(step)));
        gauge.recalculateRange(1, 1, 1, 1, true);
        gauge.recalculateRange(3, 3, 1 + eps, 1, true);
        gauge.recalculateRange(3, 3, 1, 1 + eps, false);
        QVERIFY(gauge.getRange() == -eps);
        gauge.recalculateCurrentValueRatio(2, 0);
        gauge.recalculateRefValueRatio(2, 0);
        QCOMPARE(gaugeState(gauge), before);
        QVERIFY(gauge.calculateStartAngleUpperLimit(0.5, 0, 1) == kEnd);
        QVERIFY(gauge.calculateEndAngleLowerLimit(0.5, 0, 1) == kStart);
        // Twice the epsilon divides again.
        gauge.recalculateRange(0, 2 * eps, 2 * eps, 0, false);
        QCOMPARE(gauge.getCurrentValueRatio(), 1.0);
    }

    void fiveGSpacings_data()
    {
        QTest::addColumn<QString>("range");
        QTest::addColumn<QString>("bandwidths");
        QTest::addColumn<QStringList>("expected");
        const QStringList fr1{"15 (Case A)", "30 (Case B)", "30 (Case C)", "60"},
            fr2{"60", "120 (Case D)", "240 (Case E)"};
        QTest::newRow("FR1 narrow") << "FR1" << "5" << QStringList(fr1.mid(0, 3));
        QTest::newRow("FR1 middle") << "FR1" << "10,15,20,25,30,40,50" << fr1;
        QTest::newRow("FR1 wide") << "FR1" << "60,70,80,90,100" << QStringList(fr1.mid(1));
        QTest::newRow("FR2 narrow") << "OTA 2-O" << "50" << QStringList(fr2.mid(0, 2));
        QTest::newRow("FR2 middle") << "FR2" << "100,200" << fr2;
        QTest::newRow("FR2 wide") << "FR2" << "400" << QStringList(fr2.mid(1));
        // Unknown ranges are the first; bandwidths are compared as given, so a unit excludes nothing.
        QTest::newRow("unknown ranges") << "1-C 1-H" << "5" << QStringList(fr1.mid(0, 3));
        QTest::newRow("units") << "fr1" << "100 MHz, 5" << fr1;
    }

    // Each call replaces the whole answer; indexes outside it read "", as every bandwidth does.
    void fiveGSpacings()
    {
        QFETCH(QString, range);
        QFETCH(QString, bandwidths);
        QFETCH(QStringList, expected);
        for (const QString &bandwidth : bandwidths.split(',')) {
            h5GBand band;
            band.setBandStByMeas("Sweep Tuned Spectrum", "FR2", "400");
            band.setBandStByMeas("Channel Power", range, bandwidth);
            QStringList allowed;
            for (int i = -1; i <= band.getBandCount(); ++i)
                allowed.append(band.getSCS(i) + band.getBandwidth(i));
            QCOMPARE(allowed, QStringList{""} + expected + QStringList{""});
        }
    }

    void enumerations()
    {
        HEnumList list;
        QVERIFY(load(list, "enums.json", kEnums));
        const QVariantList mode = list.getList("spectrum:mode");
        QCOMPARE(mode.at(1).toMap(),
                 (QVariantMap{{"id", "a"}, {"label", "Zero Span"}, {"enum", 1.0}, {"dispSeq", 1.0}, {"disable", 1.0}}));
        QCOMPARE(list.getListByFullId(kModeAddress), mode);
        // The key is cut out of the address blindly; these find the lists "c:d", "cd" and "b".
        QStringList ids;
        for (const char *address : {":a:b:c:d:", "xa:b:c:d", "abc"})
            ids.append(list.getListByFullId(address).value(0).toMap().value("id").toString());
        QCOMPARE(ids, (QStringList{"x", "y", "z"}));
        QCOMPARE(list.getListByFullId(":"), QVariantList());
        // Ordered by sub-id, the later "b" wins, a missing label stays an invalid value.
        const QVariantMap labels = list.getLabelMap(kModeAddress);
        QCOMPARE(labels, (QVariantMap{{"a", "Zero Span"}, {"b", "Swept B"}, {"c", QVariant()}}));
        QCOMPARE(list.getLabelMapByShortId("spectrum:mode"), labels);
        QCOMPARE(list.getLabelMapByShortId(kModeAddress), QVariantMap());
        QCOMPARE(list.getLabelList(kModeAddress), (QStringList{"Swept", "Zero Span", "Swept B", ""}));
        QCOMPARE(list.getLabelList("spectrum:mode"), QStringList());
        // Changes stay in memory until the next load.
        list.replaceLabelForId("spectrum:mode", "", "Gated");
        list.replaceLabelForId("spectrum:mode", "Swept", "Sweep");
        list.replaceLabelForId("spectrum:mode", "swept b", "never");
        list.disableSubIdforItemId("spectrum:mode", "b");
        list.enableSubIdforItemId("spectrum:mode", "a");
        QVERIFY(list.addNewSubItemforItemId("spectrum:mode", "b", "Third B", 7, 9));
        QCOMPARE(list.getLabelList(kModeAddress), (QStringList{"Sweep", "Zero Span", "Swept B", "Gated", "Third B"}));
        const QVariantList changed = list.getList("spectrum:mode");
        QCOMPARE(changed.at(0).toMap().value("disable"), QVariant(1)); // an int, where the file gave numbers
        QCOMPARE(changed.at(1).toMap().value("disable"), QVariant(0));
        QCOMPARE(changed.at(4).toMap(), (QVariantMap{{"id", "b"}, {"label", "Third B"}, {"enum", 7}, {"dispSeq", 9}}));
        // Unknown keys: nothing changes and no list appears.
        list.replaceLabelForId("nope", "", "x");
        list.disableSubIdforItemId("nope", "b");
        QVERIFY(!list.addNewSubItemforItemId("nope", "b", "x", 1, 1));
        QCOMPARE(list.getLabelMapByShortId("nope"), QVariantMap());
        // A reload reads the file, which the changes never touched.
        QVERIFY(list.loadFile(true));
        QCOMPARE(list.getList("spectrum:mode"), mode);
        QFile file(m_dir.filePath("enums.json"));
        QVERIFY(file.open(QIODevice::ReadOnly));
        QCOMPARE(file.readAll(), QByteArray(kEnums));
    }

    void enumBadFiles()
    {
        HEnumList list;
        const QString missing = m_dir.filePath("missing.json");
        list.setFile(missing);
        QTest::ignoreMessage(QtDebugMsg, qPrintable("\"Cannot read " + missing + ": No such file or directory\""));
        QVERIFY(!list.loadFile(true));
        QVERIFY(!list.getIsLoad());
        // A broken file keeps the previous table.
        QVERIFY(load(list, "enums.json", kEnums));
        QTest::ignoreMessage(QtDebugMsg, QRegularExpression("^\"Cannot parse .*broken.json at offset \\d+: .+\"$"));
        QVERIFY(!load(list, "broken.json", QByteArray(kEnums).left(60)));
        QCOMPARE(list.getList("spectrum:mode").size(), 4);
        // Members of the wrong type convert as variants do; a key holding no array is an empty list, and
        // writing to it makes it one.
        QVERIFY(load(list, "odd.json", R"({"scalar": 5, "items": [7, {"id": {"x": 1}, "label": 3}, {"id": 4}]})"));
        QCOMPARE(list.getLabelMapByShortId("items"), (QVariantMap{{"", 3}, {"4", QVariant()}}));
        QCOMPARE(list.getList("scalar"), QVariantList());
        QVERIFY(list.addNewSubItemforItemId("scalar", "s", "S", 1, 2));
        QCOMPARE(list.getList("scalar").size(), 1);
    }
};

QTEST_GUILESS_MAIN(TestModels)
#include "tst_models.moc"
