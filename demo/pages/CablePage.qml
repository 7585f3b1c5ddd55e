import QtQuick 2.15
import QtQuick.Controls 2.15
import QtQuick.Layouts 1.15
import HBase 1.0
import ".."

// Cable list with a type-ahead filter, the cable loss table editor and the trunking channel plans.
Item {
    id: page
    property alias cables: cableFilter
    property alias lossModel: lossTable
    property alias planModel: plans
    property string lossStatus: "Edit a point, then save it to the instrument"

    // One bridge per explicitly named module: a bridge makes a manifest for the first module it is
    // asked about only.
    ZeElfItems {
        id: lossBridge
        dbusAddress: "gem.base.dxtest_app,dxtest_app,p25Meas,dxtest_reg_module"
    }
    ZeElfItems {
        id: planBridge
        dbusAddress: "gem.base.dxtest_app,dxtest_app,p25Meas,dxtest_reg_module"
    }

    ListModel {
        id: cableList
        // "display" carries the name the filter and the name lookup compare; a ListModel numbers the
        // roles of its static elements from the last property, so "display" comes last to get role 0.
        ListElement { cableName: "LMR-400 3m"; manufacturer: "Times Microwave"; velocity: 0.85; loss: 0.22; display: "LMR-400 3m" }
        ListElement { cableName: "LMR-240 2m"; manufacturer: "Times Microwave"; velocity: 0.84; loss: 0.42; display: "LMR-240 2m" }
        ListElement { cableName: "RG-58 2m"; manufacturer: "Belden"; velocity: 0.66; loss: 0.65; display: "RG-58 2m" }
        ListElement { cableName: "RG-213 10m"; manufacturer: "Belden"; velocity: 0.66; loss: 0.28; display: "RG-213 10m" }
        ListElement { cableName: "SPP-250 5m"; manufacturer: "Andrew"; velocity: 0.88; loss: 0.19; display: "SPP-250 5m" }
    }
    CableListFilterModel {
        id: cableFilter
        sourceModel: cableList
        filterText: filterField.text
    }
    FrequencyLossModel {
        // Not "loss": inside its delegates the model's own role of that name would hide the id.
        id: lossTable
        cableLoss: lossBridge.dbusAddress !== "" ? lossBridge.getConfigItemDxTest("cableLossTable", "cableLoss") : null
    }
    ChannelPlanModel {
        id: plans
        zeElfItems: planBridge.dbusAddress !== "" ? planBridge : null
    }

    RowLayout {
        anchors.fill: parent
        spacing: Theme.gap

        Card {
            title: "Cables"
            Layout.preferredWidth: 1      // equal shares of the width, whatever the content
            Layout.fillWidth: true
            Layout.fillHeight: true
            TextField { id: filterField; objectName: "cableFilter"; placeholderText: "Type a name"; font.pixelSize: Theme.font; Layout.fillWidth: true; Layout.preferredHeight: Theme.touch }
            ListView {
                id: cableView
                Layout.fillWidth: true
                Layout.fillHeight: true
                clip: true
                model: cableFilter
                delegate: Column {
                    id: cableRow
                    required property var cableName
                    required property var manufacturer
                    required property var velocity
                    required property var loss
                    width: cableView.width
                    Text { text: cableRow.cableName; color: Theme.text; font.pixelSize: Theme.font }
                    Text { text: cableRow.manufacturer + ", VF " + cableRow.velocity + ", " + cableRow.loss + " dB/m"; color: Theme.dim; font.pixelSize: Theme.small }
                }
            }
        }

        Card {
            title: "Cable loss (" + lossTable.size + " points)"
            Layout.preferredWidth: 1
            Layout.fillWidth: true
            Layout.fillHeight: true
            ListView {
                id: lossView
                Layout.fillWidth: true
                Layout.fillHeight: true
                clip: true
                model: lossTable
                delegate: RowLayout {
                    id: lossRow
                    required property int index
                    required property var frequency
                    required property var loss
                    required property bool isValid
                    width: lossView.width
                    TextField {
                        objectName: "lossFrequency" + lossRow.index
                        text: lossRow.frequency
                        font.pixelSize: Theme.font
                        color: lossRow.isValid ? Theme.text : Theme.bad
                        Layout.preferredWidth: 1
                        Layout.fillWidth: true
                        onEditingFinished: lossTable.updateFrequency(lossRow.index, Number(text))
                    }
                    TextField {
                        objectName: "lossValue" + lossRow.index
                        text: lossRow.loss
                        font.pixelSize: Theme.font
                        Layout.preferredWidth: 1
                        Layout.fillWidth: true
                        onEditingFinished: lossTable.updateLoss(lossRow.index, Number(text))
                    }
                    Button { text: "Remove"; font.capitalization: Font.MixedCase; onClicked: lossTable.removeItem(lossRow.index) }
                }
            }
            RowLayout {
                Button { objectName: "lossAdd"; text: "Add"; font.capitalization: Font.MixedCase; onClicked: lossTable.addEmptyItem() }
                Button {
                    objectName: "lossSave"
                    text: "Save"
                    font.capitalization: Font.MixedCase
                    enabled: lossTable.size > 0
                    onClicked: page.lossStatus = lossTable.saveToElfItem() ? "Saved " + lossTable.size + " points to the instrument"
                                                                           : "Save FAILED: a blank last point, or a point (red) not above the one before"
                }
                Button { objectName: "lossCancel"; text: "Cancel"; font.capitalization: Font.MixedCase; onClicked: { lossTable.cancelEdit(); page.lossStatus = "Edits dropped" } }
            }
            Text { objectName: "lossStatus"; text: page.lossStatus; color: Theme.text; font.pixelSize: Theme.small; wrapMode: Text.Wrap; Layout.fillWidth: true }
        }

        Card {
            title: "P25 channel plans (" + planView.count + ")"
            Layout.preferredWidth: 1
            Layout.fillWidth: true
            Layout.fillHeight: true
            ListView {
                id: planView
                Layout.fillWidth: true
                Layout.fillHeight: true
                clip: true
                model: plans
                delegate: RowLayout {
                    id: planRow
                    required property int index
                    required property var eDataChannelType
                    required property var eDataBaseFreq
                    required property var eDataTransmitOffset
                    required property var eDataChannelSpace
                    width: planView.width
                    Text { text: (planRow.index + 1) + ": " + planRow.eDataChannelType.readableText; color: Theme.text; font.pixelSize: Theme.small; Layout.preferredWidth: 120 }
                    Text { text: (planRow.eDataBaseFreq.value / 1e6).toFixed(4) + " MHz"; color: Theme.text; font.pixelSize: Theme.small; Layout.preferredWidth: 110 }
                    Text {
                        readonly property real offset: planRow.eDataTransmitOffset.value / 1e6
                        text: (offset >= 0 ? "+" : "") + offset.toFixed(3) + " MHz / " + (planRow.eDataChannelSpace.value / 1e3).toFixed(2) + " kHz"
                        color: Theme.dim
                        font.pixelSize: Theme.small
                        elide: Text.ElideRight
                        Layout.fillWidth: true
                    }
                }
            }
            RowLayout {
                Button { text: "Backup"; font.capitalization: Font.MixedCase; onClicked: plans.saveBackupValues() }
                Button { text: "Restore"; font.capitalization: Font.MixedCase; onClicked: plans.restoreBackupValues() }
            }
        }
    }
}
