import QtQuick 2.15
import QtQuick.Controls 2.15
import QtQuick.Layouts 1.15
import HBase 1.0
import ".."
import "traces.js" as Traces

// The spectrum analyser: the live trace with its graticule, limit line and peak marker, the settings
// bound to the instrument, the channel standard of the centre frequency, the channel-power gauge
// and the four traces' modes.
Item {
    id: page
    property var screenshot: null
    // The measurement this screen's files are labelled with; it also picks the channel standard
    // among the bands that hold the centre frequency.
    readonly property string technology: "LTE"
    readonly property string measurement: "Spectrum"

    property alias bridge: spectrum
    property alias plot: plot
    readonly property bool ready: spectrum.dbusAddress !== ""
    readonly property var centre: ready ? spectrum.getConfigItem("centreFreq") : null
    readonly property var span: ready ? spectrum.getConfigItem("span") : null
    readonly property var rbw: ready ? spectrum.getConfigItem("rbw") : null
    readonly property var refLevel: ready ? spectrum.getConfigItem("refLevel") : null
    readonly property var detector: ready ? spectrum.getConfigItem("detector") : null
    readonly property var averageCount: ready ? spectrum.getConfigItem("averageCount") : null
    readonly property var traceModes: ready ? spectrum.getItem(":config:spectrumanalyzer_app:spectrumanalyzer_reg_module:traceModes:stringARRAY:") : null
    readonly property var limitEnable: ready ? spectrum.getConfigItem("limitLineEnable") : null
    readonly property var limitLevels: ready ? spectrum.getConfigItemDoubleArr("limitLine") : null
    readonly property var limitFrequencies: ready ? spectrum.getConfigItemDoubleArr("limitLineFreqs") : null
    readonly property var trace: ready ? spectrum.getResultItemDoubleArr("trace") : null
    readonly property var channelPower: ready ? spectrum.getResultItem("channelPower") : null

    readonly property int bandIndex: centre && screenshot ? bandAt(Number(centre.value)) : -1
    readonly property string channelStandardLine: bandIndex >= 0
        ? top.getData("Channel Standard", screenshot.getChStdEnumString(bandIndex))
        : "No channel standard at " + (centre ? Traces.megahertz(Number(centre.value), 1e3) : "--") + " MHz"
    readonly property string markerLine: isNaN(plot.peakFrequency) ? "M1 --"
        : "M1 " + Traces.megahertz(plot.peakFrequency, plot.span / 1000) + " MHz  " + plot.peakLevel.toFixed(1) + " dBm"

    // The channel standard whose frequencies hold `hz`: one of this screen's technology first, else
    // the first in the instrument's list; -1 when none does. Entries read "LTE - Band 3 - UL
    // 1710-1785 MHz / DL 1805-1880 MHz".
    function bandAt(hz) {
        var megahertz = hz / 1e6
        var first = -1
        for (var i = 0; ; ++i) {
            var entry = screenshot.getChStdEnumString(i)
            if (entry === "")
                return first
            var ranges = entry.match(/[0-9.]+-[0-9.]+/g) || []
            for (var r = 0; r < ranges.length; ++r) {
                var ends = ranges[r].split("-").map(Number)
                if (megahertz >= ends[0] && megahertz <= ends[1]) {
                    if (entry.indexOf(technology + " - ") === 0)
                        return i
                    if (first < 0)
                        first = i
                }
            }
        }
    }

    function setTraceMode(trace, mode) {
        var modes = traceModes.value.slice()
        modes[trace] = mode
        traceModes.value = modes
    }

    // Fills a screenshot's annotation band with this screen's settings and trace modes.
    function annotate(shot) {
        shot.clearMap()
        shot.configMap("Center", Traces.megahertz(Number(centre.value), 1e3) + " MHz")
        shot.configMap("Span", Traces.megahertz(Number(span.value), 1e3) + " MHz")
        shot.configMap("RBW", (Number(rbw.value) / 1e3).toFixed(1) + " kHz")
        shot.configMap("Ref Level", Number(refLevel.value).toFixed(1) + " dBm")
        shot.configMap("Detector", detectorBox.currentText)
        shot.configMap("Marker", markerLine)
        var modes = traceModes.value
        for (var t = 0; t < modes.length && t < 6; ++t)
            shot.configMap("T" + (t + 1), Traces.bandName(modes[t]))
    }

    ZeElfItems {
        id: spectrum
        // service, application, result module, settings module
        dbusAddress: "gem.base.spectrumanalyzer_app,spectrumanalyzer_app,specan_result_module,spectrumanalyzer_reg_module"
    }
    ZeTop { id: top; elfHandle: spectrum }

    GridLayout {
        anchors.fill: parent
        columns: 2
        columnSpacing: Theme.gap
        rowSpacing: Theme.gap

        Card {
            title: "Spectrum"
            Layout.fillWidth: true
            Layout.fillHeight: true
            Layout.rowSpan: 2
            RowLayout {
                spacing: Theme.gap * 2
                Text { objectName: "channelStandard"; text: page.channelStandardLine; color: Theme.text; font.pixelSize: Theme.small; elide: Text.ElideRight; Layout.fillWidth: true }
                Text { objectName: "marker"; text: page.markerLine; color: Theme.text; font.pixelSize: Theme.small }
                Text {
                    objectName: "limitVerdict"
                    visible: plot.limitShown
                    text: plot.limitFailed ? "Limit FAIL" : "Limit pass"
                    color: plot.limitFailed ? Theme.bad : Theme.good
                    font.pixelSize: Theme.small
                    font.bold: true
                }
            }
            TracePlot {
                id: plot
                Layout.fillWidth: true
                Layout.fillHeight: true
                sweep: page.trace ? page.trace.value : []
                centre: page.centre ? Number(page.centre.value) : 1e9
                span: page.span ? Number(page.span.value) : 100e6
                refLevel: page.refLevel ? Number(page.refLevel.value) : 0
                modes: page.traceModes ? page.traceModes.value : []
                averageCount: page.averageCount ? Number(page.averageCount.value) : 10
                limitShown: page.limitEnable ? Boolean(page.limitEnable.value) : false
                limitLevels: page.limitLevels ? page.limitLevels.value : []
                limitFrequencies: page.limitFrequencies ? page.limitFrequencies.value : []
            }
        }

        Card {
            title: "Frequency & amplitude"
            Layout.preferredWidth: Theme.sideCard
            Layout.alignment: Qt.AlignTop
            ParamField { label: "Centre"; item: page.centre; scale: 1e6; unit: "MHz" }
            ParamField { label: "Span"; item: page.span; scale: 1e6; unit: "MHz" }
            ParamField { label: "RBW"; item: page.rbw; scale: 1e3; unit: "kHz"; decimals: 1 }
            ParamField { label: "Ref level"; item: page.refLevel; unit: "dBm"; decimals: 1 }
            RowLayout {
                spacing: Theme.gap
                Text { text: "Detector"; color: Theme.dim; font.pixelSize: Theme.font; Layout.preferredWidth: Theme.labelWidth }
                ComboBox {
                    id: detectorBox
                    objectName: "detector"
                    model: page.detector ? page.detector.getManifestAttr("enumStrings") : []
                    currentIndex: page.detector ? Number(page.detector.value) : -1
                    font.pixelSize: Theme.font
                    Layout.fillWidth: true
                    Layout.preferredHeight: Theme.touch
                    onActivated: function (index) { page.detector.value = index }
                }
            }
        }

        Card {
            title: "Channel power"
            Layout.preferredWidth: Theme.sideCard
            Layout.fillHeight: true
            Gauge {
                minimum: -80
                maximum: -20
                reference: -40
                value: page.channelPower ? Number(page.channelPower.value) : minimum
                Layout.fillWidth: true
            }
            Text {
                objectName: "channelPower"
                text: (page.channelPower ? Number(page.channelPower.value).toFixed(1) : "--") + " dBm"
                color: Theme.text
                font.pixelSize: Theme.big
                Layout.alignment: Qt.AlignHCenter
            }
            Item { Layout.fillHeight: true }
        }

        Card {
            title: "Traces"
            Layout.columnSpan: 2
            Layout.fillWidth: true
            RowLayout {
                spacing: Theme.gap
                Repeater {
                    model: page.traceModes ? page.traceModes.value.length : 0
                    RowLayout {
                        id: traceBox
                        required property int index
                        readonly property int trace: index
                        spacing: Theme.gap / 2
                        Layout.fillWidth: true
                        Rectangle { Layout.preferredWidth: Theme.gap / 2; Layout.fillHeight: true; color: Theme.traceColours[traceBox.trace] }
                        Text { text: "T" + (traceBox.trace + 1); color: Theme.text; font.pixelSize: Theme.font; font.bold: true }
                        ComboBox {
                            objectName: "traceMode" + (traceBox.trace + 1)
                            model: Traces.modes
                            currentIndex: Traces.modes.indexOf(page.traceModes.value[traceBox.trace])
                            font.pixelSize: Theme.font
                            Layout.fillWidth: true
                            Layout.preferredHeight: Theme.touch
                            onActivated: function (index) { page.setTraceMode(traceBox.trace, Traces.modes[index]) }
                        }
                    }
                }
                Switch {
                    objectName: "limitSwitch"
                    text: "Limit line"
                    checked: page.limitEnable ? Boolean(page.limitEnable.value) : false
                    font.pixelSize: Theme.font
                    onToggled: page.limitEnable.value = checked
                }
            }
        }
    }
}
