import QtQuick 2.15
import QtQuick.Controls 2.15
import QtQuick.Layouts 1.15
import HBase 1.0
import ".."

// Cable list with a type-ahead filter, the cable loss table editor and the trunking channel plans.
Item {
    id: page
    property alias cables: cableFilter
    property alias lossModel: loss
    property alias planModel: plans

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
        id: loss
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
            Layout.preferredWidth: 330
            Layout.fillHeight: true
            TextField { id: filterField; placeholderText: "Type a name"; font.pixelSize: Theme.font; Layout.fillWidth: true; Layout.preferredHeight: Theme.touch }
            ListView {
                id: cableView
                Layout.fillWidth: true
                Layout.fillHeight: true
                clip: true
                model: cableFilter
                delegate: Column {
                    width: cableView.width
                    Text { text: cableName; color: Theme.text; font.pixelSize: Theme.font }
                    Text { text: manufacturer + ", VF " + velocity + ", " + loss + " dB/m"; color: Theme.dim; font.pixelSize: Theme.small }
                }
            }
        }

        Card {
            title: "Cable loss (" + loss.size + " points)"
            Layout.preferredWidth: 360
            Layout.fillHeight: true
            ListView {
                id: lossView
                Layout.fillWidth: true
                Layout.fillHeight: true
                clip: true
                model: loss
                delegate: RowLayout {
                    width: lossView.width
                    TextField {
                        text: frequency
                        font.pixelSize: Theme.font
                        color: isValid ? Theme.text : Theme.bad
                        Layout.preferredWidth: 130
                        onEditingFinished: loss.updateFrequency(index, Number(text))
                    }
                    TextField {
                        text: model.loss
                        font.pixelSize: Theme.font
                        Layout.preferredWidth: 100
                        onEditingFinished: loss.updateLoss(index, Number(text))
                    }
                    Button { text: "x"; onClicked: loss.removeItem(index) }
                }
            }
            RowLayout {
                Button { text: "Add"; onClicked: loss.addEmptyItem() }
                Button { text: "Save"; enabled: loss.size > 0; onClicked: loss.saveToElfItem() }
                Button { text: "Cancel"; onClicked: loss.cancelEdit() }
            }
        }

        Card {
            title: "P25 channel plans (" + planView.count + ")"
            Layout.fillWidth: true
            Layout.fillHeight: true
            ListView {
                id: planView
                Layout.fillWidth: true
                Layout.fillHeight: true
                clip: true
                model: plans
                delegate: RowLayout {
                    width: planView.width
                    Text { text: (index + 1) + ": " + eDataChannelType.readableText; color: Theme.text; font.pixelSize: Theme.small; Layout.preferredWidth: 120 }
                    Text { text: (eDataBaseFreq.value / 1e6).toFixed(4) + " MHz"; color: Theme.text; font.pixelSize: Theme.small; Layout.preferredWidth: 110 }
                    Text { text: "+" + (eDataTransmitOffset.value / 1e6).toFixed(3) + " / " + (eDataChannelSpace.value / 1e3).toFixed(2) + " kHz"; color: Theme.dim; font.pixelSize: Theme.small }
                }
            }
            RowLayout {
                Button { text: "Backup"; onClicked: plans.saveBackupValues() }
                Button { text: "Restore"; onClicked: plans.restoreBackupValues() }
            }
        }
    }
}
