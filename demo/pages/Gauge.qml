import QtQuick 2.15
import HBase 1.0
import ".."

// An arc gauge: GaugeDraw gives the geometry, GaugeSubDivModel the scale labels, the Canvas paints.
Item {
    id: gauge
    property real minimum: 0
    property real maximum: 100
    property real reference: 50
    property real value: 0
    property bool fromZero: false
    property int divisions: 6

    GaugeDraw { id: geometry }
    GaugeSubDivModel { id: labels }

    function recalculate() {
        geometry.updatateCenterAndRadius(width)
        geometry.recalculateRange(reference, value, maximum, minimum, fromZero)
        fillLabels()
        canvas.requestPaint()
    }

    function fillLabels() {
        var labelRadius = geometry.radius + 14
        for (var i = 0; i <= divisions; ++i) {
            var angle = geometry.startAngle + geometry.wholeAngle * i / divisions
            var reading = minimum + (maximum - minimum) * i / divisions
            labels.updateItem(i, Math.round(reading).toString(),
                              Math.round(geometry.centerx + labelRadius * Math.cos(angle)) - 14,
                              Math.round(geometry.centery + labelRadius * Math.sin(angle)) - 8)
        }
    }

    onValueChanged: { geometry.recalculateCurrentValueRatio(value, minimum); canvas.requestPaint() }
    onWidthChanged: recalculate()
    Component.onCompleted: recalculate()

    Canvas {
        id: canvas
        anchors.fill: parent
        onPaint: {
            var ctx = getContext("2d")
            ctx.reset()
            var cx = geometry.centerx, cy = geometry.centery, r = geometry.radius
            ctx.lineWidth = 22
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
    }

    Repeater {
        model: labels
        Text {
            x: model.x
            y: model.y
            text: model.text
            color: Theme.dim
            font.pixelSize: Theme.small
        }
    }
}
