import QtQuick 2.15
import QtTest 1.2
import HBase 1.0

// The cable loss editor: rows parsed from the text item, edited in the model, saved back as text.
// Runs against tests/models/trunking_model.json ("{100=0.5}, {200=1.25}" in cableLossTable).
Item {
    width: 400
    height: 400

    ZeElfItems {
        id: bridge
        dbusAddress: "gem.base.dxtest_app,dxtest_app,dxtest_result_module,dxtest_reg_module"
    }
    FrequencyLossModel {
        id: table
        cableLoss: bridge.getConfigItem("cableLossTable", "cableLoss")
    }

    ListView {
        id: view
        anchors.fill: parent
        model: table
        delegate: Text {
            property bool rowValid: isValid
            text: frequency + " MHz " + loss + " dB"
            color: isValid ? "black" : "red"
            function edit(newLoss) { view.model.updateLoss(index, newLoss) }
        }
    }

    TestCase {
        name: "FrequencyLossModel"
        when: windowShown

        function test_editAndSave() {
            compare([table.size, view.count], [2, 2])
            compare([view.itemAtIndex(0).text, view.itemAtIndex(1).text], ["100 MHz 0.5 dB", "200 MHz 1.25 dB"])

            view.itemAtIndex(1).edit(0.25)
            compare(view.itemAtIndex(1).rowValid, false)
            verify(!table.saveToElfItem())
            view.itemAtIndex(1).edit(2)
            compare(view.itemAtIndex(1).rowValid, true)

            verify(table.addEmptyItem())
            compare(view.count, 3)
            ignoreWarning(new RegExp("^isLastItemEmpty :: \\d+  Last item is empty!$"))
            verify(!table.saveToElfItem())
            table.updateItem(2, 1e10, 3)
            verify(table.saveToElfItem())
            compare(table.cableLoss.value, "{100=0.5}, {200=2}, {1e+10=3}")

            table.removeItem(0)
            compare(table.size, 2)
            table.cancelEdit()
            compare(table.size, 3)
            view.forceLayout()
            compare(view.itemAtIndex(2).text, "10000000000 MHz 3 dB")
        }
    }
}
