#include <QtTest>

#include "gaugedraw.h"

// QCOMPARE on doubles is fuzzy; the gauge's values are compared bit for bit (17 digits tell every double apart).
#define COMPARE_EXACT(actual, expected) \
    QCOMPARE(QString::number(double(actual), 'g', 17), QString::number(double(expected), 'g', 17))

namespace {
const double kStart = 4.319689898685965;
const double kEnd = 5.105088062083414;
const double kWhole = 0.7853981633974492;
const double kUp = 4.71238898038469;

// Records every warning while it lives, so a test sees exactly which lines were written.
QStringList s_warnings;
struct WarningRecorder
{
    QtMessageHandler previous = qInstallMessageHandler([](QtMsgType type, const QMessageLogContext &, const QString &s) {
        if (type == QtWarningMsg)
            s_warnings.append(s);
    });
    WarningRecorder() { s_warnings.clear(); }
    ~WarningRecorder() { qInstallMessageHandler(previous); }
    QStringList lines() const { return s_warnings; }
};

// The fields a recalculation may change, besides the range.
QVector<double> snapshot(const GaugeDraw &g)
{
    return {g.getCurrentValueRatio(), g.getRefValueRatio(), g.getValueAngleRad(), g.getRefValueAngleRad(),
            g.getZeroValueRatio(), g.getZeroValueAngleRad()};
}
}

class TestGaugeDraw : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void initialValuesAndGeometry()
    {
        GaugeDraw gauge;
        COMPARE_EXACT(gauge.property("range").toDouble(), 1.0);
        COMPARE_EXACT(gauge.property("startAngle").toDouble(), kStart);
        COMPARE_EXACT(gauge.property("endAngle").toDouble(), kEnd);
        COMPARE_EXACT(gauge.property("wholeAngle").toDouble(), kWhole);
        COMPARE_EXACT(gauge.property("refLineThickness").toDouble(), 0.003);

        gauge.updatateCenterAndRadius(480);
        COMPARE_EXACT(gauge.getCenterx(), 240.0);
        COMPARE_EXACT(gauge.getCentery(), 627.1502231406607); // the radius is checked from QML
    }

    void ratiosAndAngles()
    {
        GaugeDraw gauge;
        gauge.recalculateRange(5, 7.5, 10, 0, false);
        COMPARE_EXACT(gauge.getRange(), 10.0);
        COMPARE_EXACT(gauge.getCurrentValueRatio(), 0.75);
        COMPARE_EXACT(gauge.getRefValueRatio(), 0.5);
        COMPARE_EXACT(gauge.getZeroValueRatio(), 0.0);
        COMPARE_EXACT(gauge.getValueAngleRad(), 4.908738521234052);
        COMPARE_EXACT(gauge.getRefValueAngleRad(), kUp);
        COMPARE_EXACT(gauge.getZeroValueAngleRad(), kStart);
        COMPARE_EXACT(gauge.getStartAngleValue(), kStart);
        COMPARE_EXACT(gauge.getEndAngleValue(), 4.908738521234052);
        COMPARE_EXACT(gauge.calculateStartAngleByRefVal(), kUp - 0.003);
        COMPARE_EXACT(gauge.calculateEndAngleByRefVal(), kUp + 0.003);

        // Readings outside the scale stop at its ends, exactly.
        gauge.recalculateRange(10, 11, 10, 0, false);
        COMPARE_EXACT(gauge.getCurrentValueRatio(), 1.0);
        COMPARE_EXACT(gauge.getValueAngleRad(), kEnd);
        COMPARE_EXACT(gauge.calculateEndAngleByRefVal(), kEnd);
        gauge.recalculateCurrentValueRatio(-1, 0);
        COMPARE_EXACT(gauge.getCurrentValueRatio(), 0.0);
        COMPARE_EXACT(gauge.getValueAngleRad(), kStart);
        gauge.recalculateRefValueRatio(0, 0);
        COMPARE_EXACT(gauge.getRefValueAngleRad(), kStart);
        COMPARE_EXACT(gauge.calculateStartAngleByRefVal(), kStart);
        gauge.recalculateRefValueRatio(2.5, 0);
        COMPARE_EXACT(gauge.getRefValueRatio(), 0.25);
    }

    void barFromZero()
    {
        GaugeDraw gauge;
        gauge.recalculateRange(0, -5, 10, -10, true);
        COMPARE_EXACT(gauge.getZeroValueRatio(), 0.5);
        COMPARE_EXACT(gauge.getZeroValueAngleRad(), kUp);
        COMPARE_EXACT(gauge.getStartAngleValue(), gauge.getValueAngleRad());
        COMPARE_EXACT(gauge.getEndAngleValue(), kUp);
        QVERIFY(gauge.shouldDrawValueAngleRad());

        gauge.recalculateRange(0, -5, 10, -10, false);
        COMPARE_EXACT(gauge.getZeroValueAngleRad(), kStart);
        COMPARE_EXACT(gauge.getStartAngleValue(), kStart);

        // Zero below or above the scale clamps to its ends.
        gauge.recalculateRange(0, 7, 10, 5, true);
        COMPARE_EXACT(gauge.getZeroValueRatio(), 0.0);
        gauge.recalculateRange(0, -7, -5, -10, true);
        COMPARE_EXACT(gauge.getZeroValueRatio(), 1.0);
        COMPARE_EXACT(gauge.getZeroValueAngleRad(), kEnd);

        // 0.05 of 10 is 0.0039 rad from the zero point: too short to draw; 0.06 is not.
        gauge.recalculateRange(0, 0, 10, 0, true);
        QVERIFY(!gauge.shouldDrawValueAngleRad());
        gauge.recalculateCurrentValueRatio(0.05, 0);
        QVERIFY(!gauge.shouldDrawValueAngleRad());
        gauge.recalculateCurrentValueRatio(0.06, 0);
        QVERIFY(gauge.shouldDrawValueAngleRad());
    }

    void limitZones()
    {
        GaugeDraw gauge;
        gauge.recalculateRange(0, 0, 10, 0, false);
        COMPARE_EXACT(gauge.calculateStartAngleUpperLimit(-1, 0, 10), kStart);
        COMPARE_EXACT(gauge.calculateStartAngleUpperLimit(0, 0, 10), kStart);
        COMPARE_EXACT(gauge.calculateStartAngleUpperLimit(5, 0, 10), kStart + 0.5 * kWhole);
        COMPARE_EXACT(gauge.calculateEndAngleLowerLimit(11, 0, 10), kEnd);
        COMPARE_EXACT(gauge.calculateEndAngleLowerLimit(0, 0, 10), kStart);
        COMPARE_EXACT(gauge.calculateEndAngleLowerLimit(2.5, 0, 10), kStart + 0.25 * kWhole);
        // The stored span divides, not maxValue - minValue.
        COMPARE_EXACT(gauge.calculateStartAngleUpperLimit(5, 0, 100), kStart + 0.5 * kWhole);
        COMPARE_EXACT(gauge.getRange(), 10.0);
    }

    // A span within the machine epsilon refuses to divide: the first step that divides writes its line
    // once and nothing after it runs, so ratios and angles keep their values.
    void zeroSpan()
    {
        GaugeDraw gauge;
        gauge.recalculateRange(5, 7.5, 10, 0, true);
        const QVector<double> before = snapshot(gauge);
        const double eps = std::numeric_limits<double>::epsilon();
        WarningRecorder warnings;

        gauge.recalculateRange(1, 1, 1, 1, true);
        COMPARE_EXACT(gauge.getRange(), 0.0);
        gauge.recalculateRange(3, 3, 1 + eps, 1, true);
        COMPARE_EXACT(gauge.getRange(), eps);
        gauge.recalculateRange(3, 3, 1, 1 + eps, false);
        COMPARE_EXACT(gauge.getRange(), -eps);
        QCOMPARE(snapshot(gauge), before);
        gauge.recalculateCurrentValueRatio(2, 0);
        gauge.recalculateRefValueRatio(2, 0);
        QCOMPARE(snapshot(gauge), before);
        COMPARE_EXACT(gauge.calculateStartAngleUpperLimit(0.5, 0, 1), kEnd);
        COMPARE_EXACT(gauge.calculateEndAngleLowerLimit(0.5, 0, 1), kStart);

        const QString current = QStringLiteral("GaugeDraw::updateCurrentValueRatio: Division by zero! m_range == 0");
        QCOMPARE(warnings.lines(),
                 (QStringList{current, current, current, current,
                              "GaugeDraw::updateRefValueRatio: Division by zero! m_range == 0",
                              "GaugeDraw::calculateStartAngleUpperLimit: Division by zero! m_range == 0",
                              "GaugeDraw::calculateEndAngleLowerLimit: Division by zero! m_range == 0"}));

        // Twice the epsilon divides again.
        gauge.recalculateRange(0, 2 * eps, 2 * eps, 0, false);
        COMPARE_EXACT(gauge.getCurrentValueRatio(), 1.0);
        QCOMPARE(warnings.lines().size(), 7);
    }
};

QTEST_GUILESS_MAIN(TestGaugeDraw)
#include "tst_gaugedraw.moc"
