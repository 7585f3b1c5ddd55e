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
    readonly property string netan: "gem.base.networkanalyzer_app,networkanalyzer_app,vswr,networkanalyzer_reg_module"
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

    // A bridge that gets its address only later, with everything that hangs off it.
    ZeElfItems { id: late }
    ZeTop { id: top; elfHandle: late }
    readonly property var lateState: [late.app, late.regModule, late.initialed]
    Text { id: lateFrequency; text: late.initialed ? late.getConfigItem("rfFrequency").value : "" }
    ChannelPlanModel { id: plans; zeElfItems: late }
    ListView {
        id: plansView
        width: 200; height: 400
        model: plans
        delegate: Text { text: eDataBaseFreq.value; property var type: eDataChannelType; property var base: eDataBaseFreq }
    }

    ZeElfItems {
        id: lossBridge
        dbusAddress: "gem.base.dxtest_app,dxtest_app,dxtest_result_module,dxtest_reg_module"
    }
    FrequencyLossModel { id: losses; cableLoss: lossBridge.getConfigItemDxTest("cableLossTable", "cableLoss") }
    Text { id: lossRows; text: losses.size }
    Repeater { id: lossView; model: losses; delegate: Item { property string text: frequency + "/" + loss + (isValid ? "" : "!") } }

    // The first property is the display role: the filter compares it alone, never cableName.
    ListModel {
        id: cables
        Component.onCompleted: {
            append({ label: "", cableName: "LMR195", manufacturer: "Acme", velocity: 0.66, loss: 0.5 })
            append({ label: "LMR400", cableName: "LMR400", manufacturer: "Beta", velocity: 0.85, loss: 0.2 })
        }
    }
    CableListFilterModel { id: cableFilter; sourceModel: cables; filterText: "lmr" }
    Repeater { id: cableView; model: cableFilter; delegate: Item { property string text: cableName + " " + loss } }

    HSave { id: save }
    readonly property var saveState: [save.type, save.overlay, save.copyType]
    HEnumList { id: enums; source: Qt.resolvedUrl("data/enums.json") }
    readonly property var enumState: [enums.loaded, enums.query]
    GaugeDraw { id: gauge }
    readonly property var gaugeState: [gauge.range, gauge.centerx, gauge.centery, gauge.radius, gauge.currentValueRatio,
        gauge.refValueRatio, gauge.valueAngleRad, gauge.refValueAngleRad, gauge.zeroValueRatio, gauge.zeroValueAngleRad]
    GaugeSubDivModel { id: subdivs }
    Repeater { id: subdivView; model: subdivs; delegate: Item { property string label: text } }
    HEnvironment { id: environment }
    readonly property string failedService: environment.failedService
    HMessageList { id: messages }
    HStringList { id: strings }
    readonly property var listCounts: [messages.count, strings.count]
    FileExists { id: probe }
    readonly property bool probed: probe.exists
    HListFile { id: recent }
    readonly property string recentSource: recent.source
    HPositionFileIO { id: positions }
    readonly property string positionSource: positions.source
    HTagFile { id: tags }
    property int tagChanges: 0
    Connections { target: tags; function onTagsChanged() { ++scene.tagChanges } }
    HRefreshImage { id: image; width: 4; height: 4 }
    readonly property string imageSource: image.source
    HBaseVolume { id: volume }
    HBaseVolume { id: otherVolume }
    readonly property int boundVolume: volume.volume
    DesktopHandler { id: desktop; property var heard: []; onTaskRaised: heard = heard.concat([task_name + "|" + task_id]) }
    HHotkeyList { id: hotkeys }
    H5GBand { id: band }
    HMapProFileList { id: profiles }
    HFavoriteDB { id: favourites }
    Component { id: shotMaker; HScreenShot { visible: false } }

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
                // Not the spectrum trace: the simulator sweeps that ten times a second.
                { tag: "getResultItemDoubleArr", bridge: scene.netan, lookup: function(b) { return b.getResultItemDoubleArr("vswrTrace") },
                  address: ":result:networkanalyzer_app:vswr:vswrTrace:doubleARRAY:", value: [1.5, 2.5] },
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

        // Everything bound to a bridge follows when the bridge is addressed after the bindings were made.
        function test_lateAddressFillsEverythingBound() {
            compare(scene.lateState, ["", "", false])
            compare([plansView.count, lateFrequency.text], [0, ""])
            late.dbusAddress = scene.dxtest
            compare(scene.lateState, ["dxtest_app", "dxtest_reg_module", true])
            compare(Number(lateFrequency.text), 851012500)
            compare(top.elfHandle, late)
            compare(top.getConfigItem("rfFrequency"), "851012500")
            tryCompare(plansView, "count", 16)
            scene.collect()

            var address = ":config:dxtest_app:p25Trunking:"
            verify(simulator.setItem(address + "channelPlanBaseFrequency1:", 851.5e6))
            plansView.forceLayout()
            tryVerify(function() { return Number(plansView.itemAtIndex(0).text) === 851.5e6 }, 5000)
            // A delegate writes through its role's handle; the bridge hands out that same item.
            plansView.itemAtIndex(1).base.value = 860e6
            compare(Number(plansView.itemAtIndex(1).text), 860e6)
            compare(late.getConfigItem("channelPlanBaseFrequency2", "p25Trunking").value, 860e6)

            // Restoring without a backup writes an empty type the service refuses: the type stays a number.
            ignoreWarning(new RegExp("ENTER!!!!!!$"))
            plans.restoreBackupValues()
            var type = plansView.itemAtIndex(0).type
            scene.collect()
            verify(simulator.setItem(address + "channelPlanType1:", 1))
            tryCompare(type, "value", 1)
            compare(type.value + 1, 2)
            compare(type.valueText(true), type.readableText)
        }

        // The cable loss table follows the service; the model's own save does not reload it.
        function test_cableLossFollowsTheService() {
            scene.collect()
            verify(simulator.setItem(":config:dxtest_app:cableLoss:cableLossTable:", "{1=0.5}, {2=0.75}"))
            tryCompare(lossRows, "text", "2")
            // A loss below the row before marks the row in its delegate and refuses the save.
            losses.updateLoss(1, 0.25)
            compare([lossView.itemAt(0).text, lossView.itemAt(1).text], ["1/0.5", "2/0.25!"])
            verify(!losses.saveToElfItem())
            losses.updateLoss(1, 0.75)
            losses.addItem(3, 1)
            verify(losses.saveToElfItem())
            scene.collect()
            tryCompare(losses.cableLoss, "value", "{1=0.5}, {2=0.75}, {3=1}")
            compare(lossRows.text, "3")
            losses.removeItem(0)
            losses.cancelEdit()
            compare(lossRows.text, "3")
            compare(lossView.itemAt(2).text, "3/1")
        }

        // Edits of the cable list in place reach delegates bound to the filter's roles.
        function test_cableEditsReachTheView() {
            compare(cableView.count, 1)
            compare(cableView.itemAt(0).text, "LMR400 0.2")
            // A row reaches JavaScript as an object of the four roles; a row past the end as undefined.
            var row = cableFilter.get(0)
            compare([Object.keys(row).sort(), row.velocity, cableFilter.get(1)],
                    [["cableName", "loss", "manufacturer", "velocity"], 0.85, undefined])
            compare([cableFilter.getIndexOfCableName("LMR400"), cableFilter.getIndexOfCableName("LMR195")], [0, -1])
            cables.setProperty(1, "loss", 0.25)
            compare(cableView.itemAt(0).text, "LMR400 0.25")
            scene.collect()
            cables.setProperty(1, "cableName", "LMR400 UF")
            compare(cableView.itemAt(0).text, "LMR400 UF 0.25")
        }

        // Every other property that changes tells its bindings.
        function test_propertiesNotify() {
            save.type = HSave.SAVE_RESULT
            save.overlay = HSave.LOAD_OVERLAY
            save.copyType = HSave.COPY_EXIST
            compare(scene.saveState, [HSave.SAVE_RESULT, HSave.LOAD_OVERLAY, HSave.COPY_EXIST])
            verify(enums.loadFile(true))
            // Loaded from a file URL; entries reach JavaScript as objects and maps.
            var mode = ":config:spectrumanalyzer_app:spectrum:mode:"
            compare([enums.getListByFullId(mode)[1].label, enums.getListByFullId(mode)[1].disable, enums.getLabelMap(mode).zero],
                    ["Zero Span", 1, "Zero Span"])
            enums.query = "mode"
            compare(scene.enumState, [true, "mode"])
            scene.collect()

            gauge.updatateCenterAndRadius(400)
            gauge.recalculateRange(-20, -40, 0, -100, true)
            var centery = 200 * 2.613125929752753
            compare(scene.gaugeState, [100, 200, centery, centery - 400 * 0.041666666666666664, 0.6, 0.8, gauge.valueAngleRad,
                                       gauge.refValueAngleRad, 1, gauge.endAngle])
            subdivs.appendItem("-50", 10, 20)
            subdivs.updateItem(-1, "-40", 30, 20)   // -1 becomes the largest unsigned index: appends
            compare([subdivView.count, subdivView.itemAt(0).label, subdivView.itemAt(1).label], [2, "-50", "-40"])
            subdivs.updateItem(0, "-45", 12, 20)   // reaches the delegate already made
            compare([subdivView.count, subdivView.itemAt(0).label], [2, "-45"])
            scene.collect()

            messages.count = 3
            strings.count = 4
            compare(scene.listCounts, [3, 4])
            messages.clearAllMsgList()
            compare(scene.listCounts, [10, 4])
            verify(probe.queryForFile("/usr/bin/env"))
            compare(scene.probed, true)
            compare(scene.failedService, "Unknown service")
            scene.collect()

            recent.source = "/tmp/recent.txt"
            recent.setDataAppend("trace1.sta", "1")
            recent.source = "/tmp/recent.txt"   // read again: its line is listed twice
            compare([scene.recentSource, recent.count()], ["/tmp/recent.txt", 2])
            positions.source = "/tmp/positions.txt"
            compare(scene.positionSource, "/tmp/positions.txt")
            var changes = scene.tagChanges
            tags.setTagName("Sector", 0, "North")
            compare(scene.tagChanges, changes + 1)
            image.source = Qt.resolvedUrl("data/enums.json")
            compare(scene.imageSource, String(Qt.resolvedUrl("data/enums.json")))
            otherVolume.volume = 30
            volume.pollServiceForValues()
            compare(scene.boundVolume, 30)
            scene.collect()

            hotkeys.setValue(3)
            band.setBandStByMeas("Channel Power", "FR2", "400")
            profiles.readAll()
            compare([hotkeys.getCount(), band.getBandCount(), profiles.getListSize(), favourites.isOpenDatabase()], [1, 2, 0, false])
            var shot = createTemporaryObject(shotMaker, scene)
            shot.configMap("Center Freq", "1.8 GHz")
            verify(simulator.raiseTask("Spectrum", "7"))
            tryCompare(desktop, "heard", ["Spectrum|7"])
        }

        // The first example of the README: a text bound to an item, a collection, a change.
        function test_boundTextFollowsAfterCollections() {
            scene.collect()
            verify(simulator.setItem(scene.specanConfig + "centreFreq:", 1.5e9))
            tryVerify(function() { return Number(centre.text) === 1.5e9 }, 5000, centre.text)
            scene.collect()
            verify(simulator.setItem(scene.specanConfig + "centreFreq:", 1e9))
            tryVerify(function() { return Number(centre.text) === 1e9 }, 5000, centre.text)
            // Written from QML: the binding follows at once, another bridge hands out the same item.
            bridge.getConfigItem("centreFreq").value = 2e9
            compare(Number(centre.text), 2e9)
            compare(newBridge(scene.specan).getConfigItem("centreFreq").value, 2e9)
            compare(bridge.getConfigItem("absentCnfg"), null)
        }
    }
}
