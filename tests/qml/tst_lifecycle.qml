import QtQuick 2.15
import QtTest 1.2
import HBase 1.0

// The module as a long-running interface uses it: everything bound, the garbage collector running
// between steps, and the instrument changing parameters behind the interface's back (`simulator`,
// the simulator's control interface handed in by qmlsimrunner). Runs against the built-in model.
Item {
    id: scene
    width: 800
    height: 600

    readonly property string specan: "gem.base.spectrumanalyzer_app,spectrumanalyzer_app,specan_result_module,spectrumanalyzer_reg_module"
    readonly property string dxtest: "gem.base.dxtest_app,dxtest_app,dxtest_result_module,dxtest_reg_module"
    readonly property string specanConfig: ":config:spectrumanalyzer_app:spectrumanalyzer_reg_module:"
    readonly property string specanResult: ":result:spectrumanalyzer_app:specan_result_module:"

    // Addressed by a literal, as the README shows: set before any binding runs.
    ZeElfItems {
        id: bridge
        dbusAddress: "gem.base.spectrumanalyzer_app,spectrumanalyzer_app,specan_result_module,spectrumanalyzer_reg_module"
    }
    ZeElfItems { id: starter; dbusAddress: "gem.base.starter_app,starter_app,starter_reg_module,starter_reg_module" }
    Component { id: bridgeMaker; ZeElfItems {} }

    Text { id: centre; text: bridge.getConfigItem("centreFreq").value }

    // Lots of garbage, then collections: whatever QML holds without a reference goes now.
    function collect() {
        for (var round = 0; round < 3; ++round) {
            var junk = []
            for (var i = 0; i < 20000; ++i)
                junk.push({ n: i, s: "x" + i })
            junk = null
            gc()
        }
    }

    function newBridge(address) {
        return bridgeMaker.createObject(scene, { dbusAddress: address })
    }

    TestCase {
        name: "Lifecycle"
        when: windowShown

        // Every lookup of the bridge, every kind of handle: dropped, collected, fetched again, then
        // changed by the instrument.
        function test_handlesOutliveCollections_data() {
            return [
                { tag: "getItem", bridge: scene.specan, lookup: function(b) { return b.getItem(scene.specanConfig + "span:") },
                  address: scene.specanConfig + "span:", value: 2e6 },
                { tag: "getConfigItem", bridge: scene.specan, lookup: function(b) { return b.getConfigItem("rbw") },
                  address: scene.specanConfig + "rbw:", value: 1e4 },
                { tag: "getConfigItem module", bridge: scene.specan, lookup: function(b) { return b.getConfigItem("normalizeState", "specan") },
                  address: ":config:spectrumanalyzer_app:specan:normalizeState:", value: 1 },
                { tag: "getActionItem", bridge: scene.specan, lookup: function(b) { return b.getActionItem("presetActn") },
                  address: ":action:spectrumanalyzer_app:spectrumanalyzer_reg_module:presetActn:" },
                { tag: "getResultItem", bridge: scene.specan, lookup: function(b) { return b.getResultItem("peakLevel") },
                  address: scene.specanResult + "peakLevel:", value: -12.5 },
                { tag: "getResultItem module", bridge: scene.dxtest, lookup: function(b) { return b.getResultItem("sinad", "demod") },
                  address: ":result:dxtest_app:demod:sinad:", value: 21.5 },
                { tag: "getResultItemStrArr", bridge: scene.specan, lookup: function(b) { return b.getResultItemStrArr("markerTexts") },
                  address: scene.specanResult + "markerTexts:stringARRAY:", value: ["M1", "M2", "M3"] },
                { tag: "getResultItemDoubleArr", bridge: scene.specan, lookup: function(b) { return b.getResultItemDoubleArr("trace") },
                  address: scene.specanResult + "trace:doubleARRAY:", value: [-1.5, -2.5] },
                { tag: "getResultItemAddr", bridge: scene.specan, lookup: function(b) { return b.getResultItemAddr("specan_result_module:sweepCount:") },
                  address: scene.specanResult + "sweepCount:", value: 7 },
                { tag: "getResultItemStarterApp", bridge: scene.specan, lookup: function(b) { return b.getResultItemStarterApp("firmwareVersion") },
                  address: ":result:starter_app:starter_reg_module:firmwareVersion:", value: "4.42.0" },
                { tag: "getConfigItemDxTest", bridge: scene.dxtest, lookup: function(b) { return b.getConfigItemDxTest("cableName", "cableLoss") },
                  address: ":config:dxtest_app:cableLoss:cableName:", value: "LMR-400 5m" },
                { tag: "getResultItemDxTest", bridge: scene.dxtest, lookup: function(b) { return b.getResultItemDxTest("ber", "p25Meas") },
                  address: ":result:dxtest_app:p25Meas:ber:", value: 0.5 },
            ]
        }

        function test_handlesOutliveCollections(data) {
            var owner = newBridge(data.bridge)
            verify(data.lookup(owner) !== null, "no handle for " + data.address)
            scene.collect()
            var handle = data.lookup(owner)
            compare(handle.address, data.address)
            if (data.value === undefined)
                return
            scene.collect()
            verify(simulator.setItem(data.address, data.value))
            tryCompare(handle, "value", data.value)
            scene.collect()
            compare(data.lookup(owner).value, data.value)
        }

        // The first example of the README: a text bound to an item, a collection, a change.
        function test_boundTextFollowsAfterCollections() {
            scene.collect()
            verify(simulator.setItem(scene.specanConfig + "centreFreq:", 1.5e9))
            tryVerify(function() { return Number(centre.text) === 1.5e9 }, 5000, centre.text)
            scene.collect()
            verify(simulator.setItem(scene.specanConfig + "centreFreq:", 1e9))
            tryVerify(function() { return Number(centre.text) === 1e9 }, 5000, centre.text)
        }
    }
}
