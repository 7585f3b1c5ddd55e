import QtQuick 2.15
import QtQuick.Controls 2.15
import QtQuick.Layouts 1.15
import HBase 1.0
import ".."

// 5G NR subcarrier spacings for a range and bandwidth, and selectors driven by an enumeration file.
Item {
    id: page
    property alias band: nrBand
    property alias enums: enumList
    property var spacings: []
    property var detectorLabels: []
    property bool enumsLoaded: false

    H5GBand { id: nrBand }
    HEnumList {
        id: enumList
        source: Qt.resolvedUrl("../data/enums.json")
    }

    readonly property string detectorAddress: ":config:spectrumanalyzer_app:spectrumanalyzer_reg_module:detector:"

    function updateSpacings() {
        nrBand.setBandStByMeas("ModAcc", rangeBox.currentText, bandwidthBox.currentText)
        var list = []
        for (var i = 0; i < nrBand.getBandCount(); ++i)
            list.push(nrBand.getSCS(i))
        spacings = list
    }

    function loadEnums() {
        // HEnumList announces nothing when it loads: the page keeps its own flag for its bindings.
        enumsLoaded = enumList.loadFile(true) || enumsLoaded
        if (enumsLoaded)
            detectorLabels = enumList.getLabelList(detectorAddress)
        return enumsLoaded
    }

    Component.onCompleted: { loadEnums(); updateSpacings() }

    RowLayout {
        anchors.fill: parent
        spacing: Theme.gap

        Card {
            title: "NR subcarrier spacing"
            Layout.preferredWidth: 460
            Layout.fillHeight: true
            RowLayout {
                ComboBox { id: rangeBox; model: ["FR1", "FR2"]; font.pixelSize: Theme.font; onActivated: page.updateSpacings() }
                ComboBox {
                    id: bandwidthBox
                    model: page.enumsLoaded ? enumList.getLabelList(":config:nr5g_app:nr5g_reg_module:bandwidth:") : ["20"]
                    font.pixelSize: Theme.font
                    onActivated: page.updateSpacings()
                }
                Text { text: "MHz"; color: Theme.dim; font.pixelSize: Theme.font }
            }
            Repeater {
                model: page.spacings
                RadioButton { text: modelData + " kHz"; font.pixelSize: Theme.font; checked: index === 0 }
            }
            Item { Layout.fillHeight: true }
        }

        Card {
            title: "Detector (from the enumeration file)"
            Layout.fillWidth: true
            Layout.fillHeight: true
            Repeater {
                model: page.detectorLabels.length >= 0 && page.enumsLoaded ? enumList.getListByFullId(page.detectorAddress) : []
                Text {
                    text: modelData.label + (modelData.disable ? "  (not selectable)" : "")
                    color: modelData.disable ? Theme.dim : Theme.text
                    font.pixelSize: Theme.font
                }
            }
            RowLayout {
                Button {
                    text: "Rename RMS"
                    onClicked: { enumList.replaceLabelForId("spectrumanalyzer_reg_module:detector", "RMS", "RMS (true)"); page.detectorLabels = enumList.getLabelList(page.detectorAddress) }
                }
                Button { text: "Reload file"; onClicked: page.loadEnums() }
            }
            Text { text: "Labels: " + page.detectorLabels.join(", "); color: Theme.dim; font.pixelSize: Theme.small; wrapMode: Text.Wrap; Layout.fillWidth: true }
            Text { text: enumList.getTr("Center Frequency"); color: Theme.dim; font.pixelSize: Theme.small }
            Item { Layout.fillHeight: true }
        }
    }
}
