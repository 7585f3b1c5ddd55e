import QtQuick 2.15
import QtQuick.Controls 2.15
import QtQuick.Layouts 1.15
import HBase 1.0
import ".."

// Spectrum analyser settings bound live to the instrument, a channel-standard line and a gauge of
// the live channel power.
Item {
    id: page
    property var screenshot: null

    property alias bridge: spectrum
    readonly property bool ready: spectrum.dbusAddress !== ""
    readonly property var centre: ready ? spectrum.getConfigItem("centreFreq") : null
    readonly property var span: ready ? spectrum.getConfigItem("span") : null
    readonly property var rbw: ready ? spectrum.getConfigItem("rbw") : null
    readonly property var refLevel: ready ? spectrum.getConfigItem("refLevel") : null
    readonly property var detector: ready ? spectrum.getConfigItem("detector") : null
    readonly property var traceModes: ready ? spectrum.getItem(":config:spectrumanalyzer_app:spectrumanalyzer_reg_module:traceModes:stringARRAY:") : null
    readonly property var channelStandard: ready ? spectrum.getConfigItem("channelStandard") : null
    readonly property var channelPower: ready ? spectrum.getResultItem("channelPower") : null
    readonly property string channelStandardLine: channelStandard && screenshot
        ? top.getData("Channel Standard", screenshot.getChStdEnumString(channelStandard.value)) : ""

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
            title: "Frequency & amplitude"
            Layout.fillWidth: true
            Layout.alignment: Qt.AlignTop
            ParamField { label: "Centre"; item: page.centre; scale: 1e6; unit: "MHz" }
            ParamField { label: "Span"; item: page.span; scale: 1e6; unit: "MHz" }
            ParamField { label: "RBW"; item: page.rbw; scale: 1e3; unit: "kHz"; decimals: 1 }
            ParamField { label: "Ref level"; item: page.refLevel; unit: "dBm"; decimals: 1 }
            RowLayout {
                spacing: Theme.gap
                Text { text: "Detector"; color: Theme.dim; font.pixelSize: Theme.font; Layout.preferredWidth: 170 }
                ComboBox {
                    model: page.detector ? page.detector.getManifestAttr("enumStrings") : []
                    currentIndex: page.detector ? Number(page.detector.value) : -1
                    font.pixelSize: Theme.font
                    Layout.preferredWidth: 220
                    Layout.preferredHeight: Theme.touch
                    onActivated: page.detector.value = index
                }
            }
            Text {
                text: page.channelStandardLine
                color: Theme.text
                font.pixelSize: Theme.font
            }
        }

        Card {
            title: "Channel power"
            Layout.fillWidth: true
            Layout.alignment: Qt.AlignTop
            Gauge {
                id: gauge
                minimum: -80
                maximum: -20
                reference: -40
                value: page.channelPower ? Number(page.channelPower.value) : minimum
                Layout.preferredWidth: 480
                Layout.preferredHeight: 150
            }
            Text {
                text: (page.channelPower ? Number(page.channelPower.value).toFixed(1) : "--") + " dBm"
                color: Theme.text
                font.pixelSize: 28
                Layout.alignment: Qt.AlignHCenter
            }
        }

        Card {
            title: "Traces"
            Layout.columnSpan: 2
            Layout.fillWidth: true
            Row {
                spacing: Theme.gap
                Repeater {
                    model: page.traceModes ? page.traceModes.value : []
                    Rectangle {
                        width: 200
                        height: Theme.touch
                        radius: 6
                        color: Theme.background
                        border.color: ["#00299B", "#39b549", "#f50057", "#ff9700", "#7b4dff", "#0097a7"][index % 6]
                        Text {
                            anchors.centerIn: parent
                            text: "T" + (index + 1) + "  " + modelData
                            color: Theme.text
                            font.pixelSize: Theme.font
                        }
                    }
                }
            }
        }
        Item { Layout.fillHeight: true; Layout.columnSpan: 2 }
    }
}
