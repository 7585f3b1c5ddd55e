import QtQuick 2.15
import QtTest 1.2
import HBase 1.0

// The trunking channel-plan editor: a list of the sixteen plans whose delegates bind to and edit the
// plan items directly. Runs against tests/models/trunking_model.json.
Item {
    width: 400
    height: 1600

    ZeElfItems {
        id: bridge
        dbusAddress: "gem.base.dxtest_app,dxtest_app,dxtest_result_module,dxtest_reg_module"
    }
    ChannelPlanModel {
        id: plans
        zeElfItems: bridge
    }

    ListView {
        id: view
        anchors.fill: parent
        model: plans
        delegate: Row {
            property var baseFreqItem: eDataBaseFreq
            property alias baseFreqText: baseFreqLabel.text
            height: 20
            Text { text: eDataChannelType.value }
            Text { id: baseFreqLabel; text: eDataBaseFreq.value }
            Text { text: eDataTransmitOffset.value }
            Text { text: eDataChannelSpace.value }
            function setBaseFreq(value) { eDataBaseFreq.value = value }
        }
    }

    TestCase {
        name: "ChannelPlanModel"
        when: windowShown

        function test_rows() {
            compare([plans.getCount(), view.count], [16, 16])
            compare(plans.zeElfItems, bridge)
            var first = view.itemAtIndex(0)
            compare(first.baseFreqItem.address, ":config:dxtest_app:p25Trunking:channelPlanBaseFrequency1:")
            compare(Number(first.baseFreqText), 852e6)
        }

        function test_editAndCancel() {
            var second = view.itemAtIndex(1)
            ignoreWarning(new RegExp("^saveBackupValues :: \\d+  ENTER!!!!!!$"))
            plans.saveBackupValues()
            second.setBaseFreq(860e6)
            compare(Number(second.baseFreqText), 860e6)
            compare(bridge.getConfigItem("channelPlanBaseFrequency2", "p25Trunking").value, 860e6)
            ignoreWarning(new RegExp("^restoreBackupValues :: \\d+  ENTER!!!!!!$"))
            plans.restoreBackupValues()
            compare(Number(second.baseFreqText), 853e6)
        }
    }
}
