import QtQuick 2.15
import QtTest 1.2
import HBase 1.0

// A gauge as the screens draw it: geometry and angles from GaugeDraw, scale labels from
// GaugeSubDivModel through a repeater.
TestCase {
    name: "Gauge"

    GaugeDraw { id: gauge }

    GaugeSubDivModel { id: labels }

    Repeater {
        id: marks
        model: labels
        delegate: Item { property string label: text; x: model.x; y: model.y }
    }

    // Doubles reach QML unrounded.
    function test_numbersAfterRecalculateRange() {
        gauge.updatateCenterAndRadius(480)
        verify(gauge.radius === 607.1502231406607)
        gauge.recalculateRange(5, 7.5, 10, 0, false)
        compare(gauge.currentValueRatio, 0.75)
        verify(gauge.valueAngleRad === 4.908738521234052)
        verify(gauge.getStartAngleValue() === gauge.startAngle)
        verify(gauge.calculateStartAngleUpperLimit(10, 0, 10) === gauge.endAngle)
        verify(gauge.shouldDrawValueAngleRad())
    }

    // -1 from QML reaches updateItem as the largest unsigned index and appends.
    function test_scaleLabels() {
        labels.clearModel()
        labels.appendItem("0", 10, 50)
        labels.updateItem(-1, "10", 400, 50)
        compare(marks.count, 2)
        labels.updateItem(0, "-10", 12, 48)
        compare([marks.itemAt(0).label, marks.itemAt(0).x, marks.itemAt(0).y], ["-10", 12, 48])
        labels.clearModel()
        compare(marks.count, 0)
    }
}
