import QtQuick 2.15
import ".."
import "traces.js" as Traces

// The analyser's display: a graticule of ten by ten divisions with frequency and level labels, the
// traces T1-T4 in their modes, the limit line and a peak marker on T1. The grid and labels are plain
// items laid out once; only the Canvas repaints, once per new sweep.
Item {
    id: plot
    property var sweep: []            // levels in dBm of the latest sweep
    property real centre: 1e9         // Hz
    property real span: 100e6         // Hz
    property real refLevel: 0         // dBm, the top line
    property real dbPerDiv: 10
    property var modes: []            // trace mode of T1..T4
    property int averageCount: 10
    property var limitLevels: []      // dBm at limitFrequencies (Hz); drawn when limitShown
    property var limitFrequencies: []
    property bool limitShown: false

    readonly property int divisions: 10
    readonly property real startFrequency: centre - span / 2
    readonly property real stopFrequency: centre + span / 2
    // What each trace shows now; replaced as a whole on every sweep so bindings on it follow.
    property var shown: [[], [], [], []]
    readonly property int peak: Traces.peakIndex(shown[0])
    readonly property real peakFrequency: peak < 0 ? NaN : startFrequency + span * peak / (shown[0].length - 1)
    readonly property real peakLevel: peak < 0 ? NaN : shown[0][peak]
    readonly property bool limitFailed: limitShown && exceedsLimit(shown[0])

    // Holds and averages start again whenever what the display shows changes. The sweeps that may
    // already be on their way were made with the old settings: they are left out.
    property int sweepsToSkip: 0
    function restart() {
        shown = [[], [], [], []]
        sweepsToSkip = 2
    }
    onCentreChanged: restart()
    onSpanChanged: restart()
    onRefLevelChanged: restart()
    onModesChanged: restart()

    onSweepChanged: {
        if (sweepsToSkip > 0) {
            --sweepsToSkip
            return
        }
        shown = Array.from({ length: 4 }, (_, t) => Traces.next(modes[t] || "Blank", shown[t], sweep, averageCount))
        traces.requestPaint()
    }

    function xOf(frequency) { return (frequency - startFrequency) / span * graticule.width }
    function yOf(level) { return (refLevel - level) / (dbPerDiv * divisions) * graticule.height }

    // The limit in dBm at a frequency, interpolated between its points; NaN outside them.
    function limitAt(frequency) {
        for (var i = 1; i < limitFrequencies.length; ++i) {
            var f0 = limitFrequencies[i - 1], f1 = limitFrequencies[i]
            if (frequency >= f0 && frequency <= f1)
                return f1 === f0 ? Math.max(limitLevels[i - 1], limitLevels[i])
                                 : limitLevels[i - 1] + (limitLevels[i] - limitLevels[i - 1]) * (frequency - f0) / (f1 - f0)
        }
        return NaN
    }

    function exceedsLimit(levels) {
        for (var i = 0; i < levels.length; ++i) {
            if (levels[i] > limitAt(startFrequency + span * i / (levels.length - 1)))
                return true
        }
        return false
    }

    readonly property int labelWidth: 48
    readonly property int labelHeight: 24

    Rectangle {
        id: graticule
        anchors.fill: parent
        anchors.leftMargin: plot.labelWidth
        anchors.bottomMargin: plot.labelHeight
        anchors.topMargin: Theme.small / 2     // room for the top level label's upper half
        color: Theme.screen
        border.color: Theme.panelEdge
        clip: true

        Repeater {
            model: plot.divisions - 1
            Rectangle { required property int index; x: graticule.width * (index + 1) / plot.divisions; width: 1; height: graticule.height; color: Theme.grid }
        }
        Repeater {
            model: plot.divisions - 1
            Rectangle { required property int index; y: graticule.height * (index + 1) / plot.divisions; height: 1; width: graticule.width; color: Theme.grid }
        }

        Canvas {
            id: traces
            objectName: "traceCanvas"
            anchors.fill: parent
            // One-pixel lines without antialiasing, as the instrument draws its traces: four traces of
            // 1,001 points ten times a second then cost a few per cent of a core, not a third of one.
            antialiasing: false
            onWidthChanged: requestPaint()
            onHeightChanged: requestPaint()
            onPaint: {
                var ctx = getContext("2d")
                ctx.reset()
                ctx.lineWidth = 1
                // T4 first, so that T1, the marker's trace, is drawn on top.
                for (var t = 3; t >= 0; --t) {
                    var levels = plot.shown[t]
                    if (levels.length < 2)
                        continue
                    ctx.strokeStyle = Theme.traceColours[t]
                    ctx.beginPath()
                    var step = width / (levels.length - 1)
                    ctx.moveTo(0, plot.yOf(levels[0]))
                    for (var i = 1; i < levels.length; ++i)
                        ctx.lineTo(i * step, plot.yOf(levels[i]))
                    ctx.stroke()
                }
                if (plot.limitShown && plot.limitFrequencies.length > 1) {
                    ctx.strokeStyle = Theme.bad
                    ctx.lineWidth = 2
                    ctx.beginPath()
                    for (var p = 0; p < plot.limitFrequencies.length; ++p) {
                        var x = plot.xOf(plot.limitFrequencies[p]), y = plot.yOf(plot.limitLevels[p])
                        if (p === 0) ctx.moveTo(x, y); else ctx.lineTo(x, y)
                    }
                    ctx.stroke()
                }
            }
        }

        Text {
            // The peak marker sits on T1's highest point.
            id: marker
            visible: plot.peak >= 0
            text: "\u25bc"
            color: Theme.text
            font.pixelSize: Theme.small
            x: plot.xOf(plot.peakFrequency) - width / 2
            y: plot.yOf(plot.peakLevel) - height
        }
    }

    Repeater {
        // Level labels at every division line, right-aligned against the graticule.
        model: plot.divisions + 1
        Text {
            required property int index
            width: plot.labelWidth - 6
            horizontalAlignment: Text.AlignRight
            y: graticule.y + graticule.height * index / plot.divisions - height / 2
            text: (plot.refLevel - plot.dbPerDiv * index).toFixed(0)
            color: Theme.dim
            font.pixelSize: Theme.small
        }
    }
    Repeater {
        // Frequency labels every second division: start, centre and stop among them.
        model: plot.divisions / 2 + 1
        Text {
            required property int index
            readonly property real frequency: plot.startFrequency + plot.span * index * 2 / plot.divisions
            x: Math.min(Math.max(graticule.x + graticule.width * index * 2 / plot.divisions - width / 2, graticule.x),
                        plot.width - width)
            y: graticule.y + graticule.height + 2
            text: Traces.megahertz(frequency, plot.span / plot.divisions) + (index === plot.divisions / 2 ? " MHz" : "")
            color: Theme.dim
            font.pixelSize: Theme.small
        }
    }
}
