import QtQuick 2.15
import QtTest 1.2
import HBase 1.0

// A screen binds to live parameters by short name through the bridge. Runs against
// tests/parameters/bridge_model.json, whose "channelPower" result wanders in the simulator.
Item {
    id: screen

    ZeElfItems {
        id: bridge
        dbusAddress: "gem.base.spectrumanalyzer_app,spectrumanalyzer_app,spectrumanalyzer_result_module,spectrumanalyzer_reg_module"
    }
    ZeTop {
        id: top
        elfHandle: bridge
    }

    Text { id: power; text: bridge.getResultItem("channelPower").value }
    Text { id: span; text: bridge.getConfigItem("centerFreqCnfg").value }
    Text { id: standard; text: top.getData("Channel Standard", bridge.getConfigItem("channelStandardCnfg").value) }

    Component {
        id: secondBridge
        ZeElfItems {}
    }

    TestCase {
        name: "ZeElfItems"

        function test_addressed() {
            verify(bridge.initialed)
            compare([bridge.dbusAddress, bridge.app, bridge.regModule],
                    ["gem.base.spectrumanalyzer_app", "spectrumanalyzer_app", "spectrumanalyzer_reg_module"])
            compare(bridge.getResultItemStrArr("markerNames").value, ["M1", "M2"])
            compare(bridge.getConfigItem("absentCnfg"), null)
        }

        function test_changeInSimulatorShows() {
            var first = power.text
            verify(first !== "")
            tryVerify(function() { return power.text !== first }, 5000, "channelPower never changed")
        }

        function test_writeFromQml() {
            var item = bridge.getConfigItem("centerFreqCnfg")
            compare(Number(span.text), 1e9)
            item.value = 2.5e9
            compare(Number(span.text), 2.5e9)
            // Another bridge of the same application hands out the same item, written value included.
            var other = secondBridge.createObject(screen)
            other.dbusAddress = bridge.dbusAddress + ",spectrumanalyzer_app,spectrumanalyzer_result_module,spectrumanalyzer_reg_module"
            tryCompare(other.getConfigItem("centerFreqCnfg"), "value", 2.5e9)
            other.destroy()
        }

        function test_channelStandard() {
            compare(standard.text, "Channel Standard:P25 Phase 1")
            compare(top.getConfigItem("channelStandardCnfg"), "North America - P25 Phase 1 - 12.5 kHz")
            compare([top.getData("Span", 5), top.getData("Span", 5, 2)], ["Span:5", "Span:5"])
            compare([top.channelStandardCnfg("EU - DMR - Tier 2"), top.channelStandardCnfg("EU-DMR")], ["DMR", ""])
            compare(top.elfHandle, bridge)
        }
    }
}
