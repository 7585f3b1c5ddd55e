import QtQuick 2.15
import HBase 1.0
import ".."

// An arc gauge: GaugeDraw gives the geometry, GaugeSubDivModel the scale labels, the Canvas paints.
// The scale labels sit outside the arc, centred on their angle; the gauge's height follows its width.
Item {
    id: gauge
    property real minimum: 0
    property real maximum: 100
    property real reference: 50
    property real value: 0
    property bool fromZero: false
    property int divisions: 6
    readonly property int lineWidth: 22
    readonly property int labelGap: 4

    // Room around the arc for the labels: half a label wide at the ends, one label high above.
    readonly property real sideRoom: labelSize.width
    readonly property real topRoom: labelSize.height + labelGap
    // The lowest point of the arc (the inner edge at its ends) below the canvas top; GaugeDraw's
    // geometry follows from the canvas width alone.
    property real arcDepth: 0
    implicitHeight: topRoom + arcDepth

    GaugeDraw { id: geometry }
    GaugeSubDivModel { id: labels }
    TextMetrics { id: labelSize; font.pixelSize: Theme.small; text: "-000" }

    function recalculate() {
        geometry.updatateCenterAndRadius(canvas.width)
        geometry.recalculateRange(reference, value, maximum, minimum, fromZero)
        arcDepth = geometry.centery - geometry.radius * Math.cos(geometry.wholeAngle / 2) + lineWidth / 2
        fillLabels()
        canvas.requestPaint()
    }

    function fillLabels() {
        // Each label's centre lies on a circle just outside the arc's outer edge.
        var labelRadius = geometry.radius + lineWidth / 2 + labelGap + labelSize.height / 2
        for (var i = 0; i <= divisions; ++i) {
            var angle = geometry.startAngle + geometry.wholeAngle * i / divisions
            var reading = minimum + (maximum - minimum) * i / divisions
            labels.updateItem(i, Math.round(reading).toString(),
                              Math.round(geometry.centerx + labelRadius * Math.cos(angle)),
                              Math.round(geometry.centery + labelRadius * Math.sin(angle)))
        }
    }

    onValueChanged: { geometry.recalculateCurrentValueRatio(value, minimum); canvas.requestPaint() }

    Canvas {
        id: canvas
        x: gauge.sideRoom
        y: gauge.topRoom
        width: gauge.width - 2 * gauge.sideRoom
        height: gauge.arcDepth
        // The geometry follows the canvas, so it is recalculated when the canvas has its new width.
        onWidthChanged: gauge.recalculate()
        Component.onCompleted: gauge.recalculate()
        onPaint: {
            var ctx = getContext("2d")
            ctx.reset()
            var cx = geometry.centerx, cy = geometry.centery, r = geometry.radius
            ctx.lineWidth = gauge.lineWidth
            ctx.strokeStyle = Theme.panelEdge
            ctx.beginPath(); ctx.arc(cx, cy, r, geometry.startAngle, geometry.endAngle, false); ctx.stroke()
            if (geometry.shouldDrawValueAngleRad()) {
                ctx.strokeStyle = Theme.accent
                ctx.beginPath()
                ctx.arc(cx, cy, r, geometry.getStartAngleValue(), geometry.getEndAngleValue(), false)
                ctx.stroke()
            }
            ctx.strokeStyle = Theme.warn
            ctx.beginPath()
            ctx.arc(cx, cy, r, geometry.calculateStartAngleByRefVal(), geometry.calculateEndAngleByRefVal(), false)
            ctx.stroke()
        }

        Repeater {
            model: labels
            Text {
                required property var model
                x: model.x - width / 2
                y: model.y - height / 2
                text: model.text
                color: Theme.dim
                font.pixelSize: Theme.small
            }
        }
    }
}
