import QtQuick 2.15
import QtQuick.Controls 2.15
import QtQuick.Layouts 1.15
import HBase 1.0
import ".."

// 5G NR subcarrier spacings for a range and bandwidth, and selectors driven by an enumeration file.
// H5GBand and HEnumList answer calls and announce nothing, so the page keeps what it shows in
// plain arrays and reads them again after each call that changes them.
Item {
    id: page
    property alias band: nrBand
    property alias enums: enumList
    property var spacings: []
    property var bandwidths: []
    property var detectorEntries: []

    readonly property string detectorAddress: ":config:spectrumanalyzer_app:spectrumanalyzer_reg_module:detector:"
    readonly property string bandwidthAddress: ":config:nr5g_app:nr5g_reg_module:bandwidth:"

    H5GBand { id: nrBand }
    HEnumList {
        id: enumList
        source: Qt.resolvedUrl("../data/enums.json")
    }

    function updateSpacings() {
        nrBand.setBandStByMeas("ModAcc", rangeBox.currentText, bandwidthBox.currentText)
        spacings = Array.from({ length: nrBand.getBandCount() }, (_, i) => nrBand.getSCS(i))
    }

    function readEnums() {
        bandwidths = enumList.getLabelList(bandwidthAddress)
        detectorEntries = enumList.getListByFullId(detectorAddress)
    }

    function loadEnums() {
        var ok = enumList.loadFile(true)
        readEnums()
        return ok
    }

    function renameRms() {
        enumList.replaceLabelForId("spectrumanalyzer_reg_module:detector", "RMS", "RMS (true)")
        readEnums()
    }

    Component.onCompleted: { loadEnums(); updateSpacings() }

    RowLayout {
        anchors.fill: parent
        spacing: Theme.gap

        Card {
            title: "NR subcarrier spacing"
            Layout.preferredWidth: 1
            Layout.fillWidth: true
            Layout.fillHeight: true
            RowLayout {
                ComboBox { id: rangeBox; objectName: "range"; model: ["FR1", "FR2"]; font.pixelSize: Theme.font; onActivated: page.updateSpacings() }
                ComboBox {
                    id: bandwidthBox
                    objectName: "bandwidth"
                    model: page.bandwidths
                    font.pixelSize: Theme.font
                    onActivated: page.updateSpacings()
                }
                Text { text: "MHz"; color: Theme.dim; font.pixelSize: Theme.font }
            }
            Repeater {
                model: page.spacings
                RadioButton {
                    required property var modelData
                    required property int index
                    text: modelData + " kHz"
                    font.pixelSize: Theme.font
                    checked: index === 0
                }
            }
            Item { Layout.fillHeight: true }
        }

        Card {
            title: "Detector (from the enumeration file)"
            Layout.preferredWidth: 1
            Layout.fillWidth: true
            Layout.fillHeight: true
            Repeater {
                model: page.detectorEntries
                Text {
                    required property var modelData
                    text: modelData.label + (modelData.disable ? "  (not selectable)" : "")
                    color: modelData.disable ? Theme.dim : Theme.text
                    font.pixelSize: Theme.font
                }
            }
            RowLayout {
                Button { objectName: "renameRms"; text: "Rename RMS"; font.capitalization: Font.MixedCase; onClicked: page.renameRms() }
                Button { text: "Reload file"; font.capitalization: Font.MixedCase; onClicked: page.loadEnums() }
            }
            Text { text: enumList.getTr("Center Frequency"); color: Theme.dim; font.pixelSize: Theme.small }
            Item { Layout.fillHeight: true }
        }
    }
}
