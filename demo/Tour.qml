import QtQuick 2.15
import QtQuick.Window 2.15
import QtTest 1.2
import HBase 1.0

// The scripted tour: drives the interface as a person would, with mouse clicks and key presses on its
// controls, and checks what the screen then shows. It saves and recalls a set-up, takes screenshots
// and a PDF report of the spectrum, exports the favourites, and leaves a picture of every screen in
// the screenshot folder. Each file is printed as "TOUR-FILE kind path". Run by qmltestrunner
// (scripts/run-demo --tour); every test function is one step, in name order.
TestCase {
    id: tour
    name: "Tour"
    when: windowShown

    property var window: null
    readonly property string screenSize: Screen.width + "x" + Screen.height
    readonly property real centreSaved: 1842.5e6
    readonly property real toneFrequency: 1001.2e6      // the simulator's single tone
    property var files: ({})

    HSave { id: checker }
    SignalSpy { id: written; signalName: "written" }

    function initTestCase() {
        var component = Qt.createComponent("main.qml")
        verify(component.status === Component.Ready, component.errorString())
        // The window fills the screen, so that a capture of the whole screen is the interface alone.
        window = component.createObject(null, { x: 0, y: 0, width: Screen.width, height: Screen.height })
        verify(window !== null)
        window.requestActivate()
        tryVerify(function () { return window.active }, 5000, "the interface has the keyboard")
        written.target = window.reportPage
        checker.createDefaultDirs()
    }

    function cleanupTestCase() {
        window.destroy()
    }

    // Every step starts after a garbage collection: nothing the interface binds to may go with it.
    function init() {
        gc()
    }

    function control(name) {
        var item = findChild(window.contentItem, name)
        verify(item !== null, "no control " + name)
        return item
    }

    function showScreen(name) {
        mouseClick(control("screen_" + name))
        compare(window.screenNames[window.currentScreen], name)
        waitForRendering(window.contentItem)
    }

    // Types into a text field as a person would: click, select what is there and delete it, type, Enter.
    function type(field, text) {
        mouseClick(field)
        keyClick(Qt.Key_A, Qt.ControlModifier)
        keyClick(Qt.Key_Backspace)
        for (var i = 0; i < text.length; ++i)
            keyClick(text[i])
        keyClick(Qt.Key_Return)
    }

    // Picks an entry of a combo box with the keyboard: open it, move, Enter.
    function choose(combo, entry) {
        var target = combo.find(entry)
        verify(target >= 0, entry + " is offered")
        mouseClick(combo)
        tryVerify(function () { return combo.popup.opened })
        var steps = target - combo.currentIndex
        for (var i = 0; i < Math.abs(steps); ++i)
            keyClick(steps > 0 ? Qt.Key_Down : Qt.Key_Up)
        keyClick(Qt.Key_Return)
        tryCompare(combo, "currentText", entry)
        tryVerify(function () { return !combo.popup.visible }, 5000, "the list closes")
    }

    function file(kind, path) {
        files[kind] = path
        console.log("TOUR-FILE " + kind + " " + path)
        verify(path !== "" && checker.extFolderExist(path), kind + " written to " + path)
    }

    // Waits until the window has drawn no new frame for one poll of tryVerify: the press effect of the
    // last click has faded. The live trace draws ten frames a second, fewer
    // than the polls, so the Spectrum screen settles too.
    function settle() {
        var frames = 0
        var count = function () { ++frames }
        window.frameSwapped.connect(count)
        tryVerify(function () { var still = frames === 0; frames = 0; return still }, 5000, "the window settles")
        window.frameSwapped.disconnect(count)
    }

    // Leaves a picture of what the window shows now in the screenshot folder.
    function picture(screen) {
        var path = checker.getDefaultDir(HSave.SAVE_SCREENSHOT) + "/tour-" + screenSize + "-" + screen + ".png"
        settle()
        grabImage(window.contentItem).save(path)
        file("picture-" + screen, path)
    }

    // The level below which `share` of the points lie: the median at 0.5, the noise floor beside a
    // carrier that fills most of the span at 0.02.
    function percentile(levels, share) {
        var sorted = levels.slice().sort(function (a, b) { return a - b })
        return sorted[Math.floor(sorted.length * share)]
    }
    function median(levels) { return percentile(levels, 0.5) }

    // A sweep made after the settings of now: the holds restart when the settings change.
    function waitForSweep() {
        var plot = window.spectrumPage.plot
        tryVerify(function () { return plot.shown[0].length === 1001 }, 5000, "a sweep of 1001 points")
    }

    function test_01_spectrum_settings() {
        showScreen("Spectrum")
        var page = window.spectrumPage
        type(control("edit_Centre"), "1842.5")
        tryCompare(page.centre, "value", centreSaved)
        type(control("edit_Span"), "20")
        tryCompare(page.span, "value", 20e6)
        compare(control("channelStandard").text, "Channel Standard:Band 3")
        waitForSweep()
        // The peak marker sits on the LTE carrier of 18 MHz at the centre.
        var plot = page.plot
        tryVerify(function () { return Math.abs(plot.peakFrequency - centreSaved) < 9e6 }, 5000, "peak on the carrier")
        verify(/^M1 18\d\d\.\d{3} MHz  -\d+\.\d dBm$/.test(control("marker").text), control("marker").text)
        var power = Number(control("channelPower").text.split(" ")[0])
        verify(power >= -50 && power <= -40, "gauge reads " + power)
        // The negative-peak detector shows the noise 10 dB lower than the peak detector.
        var floor = percentile(plot.shown[0], 0.02)
        choose(control("detector"), "Negative Peak")
        tryCompare(page.detector, "value", 1)
        tryVerify(function () { return percentile(plot.shown[0], 0.02) < floor - 6 }, 5000, "noise floor down from " + floor)
        choose(control("detector"), "Peak")
    }

    function test_02_trace_modes() {
        var page = window.spectrumPage
        var plot = page.plot
        choose(control("traceMode4"), "Blank")
        tryVerify(function () { return page.traceModes.value[3] === "Blank" }, 5000, "T4 blank on the instrument")
        waitForSweep()
        // After a few sweeps max hold lies on or above clear write everywhere, min hold on or below.
        var sweeps = 0
        var counter = function () { ++sweeps }
        plot.sweepChanged.connect(counter)
        tryVerify(function () { return sweeps >= 5 }, 5000)
        plot.sweepChanged.disconnect(counter)
        var write = plot.shown[0], max = plot.shown[1], min = plot.shown[2]
        compare(plot.shown[3].length, 0, "a blank trace draws nothing")
        verify(write.every(function (level, i) { return max[i] >= level && min[i] <= level }), "max hold >= clear write >= min hold")
        verify(write.some(function (level, i) { return max[i] > level }), "max hold holds")
        choose(control("traceMode4"), "Average")
    }

    function test_03_limit_line_and_reference_level() {
        var page = window.spectrumPage
        var plot = page.plot
        mouseClick(control("limitSwitch"))
        tryCompare(page.limitEnable, "value", true)
        tryCompare(control("limitVerdict"), "text", "Limit pass")
        // The simulator's tone of -32.5 dBm breaks the -40 dBm limit.
        type(control("edit_Centre"), "1000")
        tryCompare(control("limitVerdict"), "text", "Limit FAIL")
        tryVerify(function () { return Math.abs(plot.peakFrequency - toneFrequency) < 0.2e6 }, 5000, "peak on the tone")
        // Max hold started again at the new centre: it holds noise around the tone, not the carrier of before.
        verify(median(plot.shown[1]) < -80, "max hold's median " + median(plot.shown[1]))
        picture("spectrum-limit")
        // A lower reference level lowers the input attenuation, and with it the noise floor.
        var floor = median(plot.shown[0])
        type(control("edit_Ref level"), "-20")
        tryCompare(page.refLevel, "value", -20)
        tryVerify(function () { return plot.shown[0].length === 1001 && median(plot.shown[0]) < floor - 5 }, 5000,
                  "noise floor down from " + floor)
        type(control("edit_Ref level"), "0")
        type(control("edit_Centre"), "1842.5")
        tryCompare(page.centre, "value", centreSaved)
        waitForSweep()
        picture("spectrum")
    }

    function test_04_save_and_recall() {
        showScreen("Save and recall")
        type(control("setupName"), "tour-setup")
        mouseClick(control("saveSetup"))
        var path = checker.getDefaultDir(HSave.SAVE_SETUP) + "/tour-setup.stp"
        compare(control("saveStatus").text, "Saved " + path)
        file("setup", path)
        window.spectrumPage.centre.value = 2000e6    // changed behind the screen's back
        var row = null
        tryVerify(function () { row = findChild(window.savePage, "file_tour-setup.stp"); return row !== null }, 5000, "the file browser lists the set-up")
        mouseClick(row)
        mouseClick(control("recallButton"))
        compare(control("saveStatus").text, "Recalled " + path)
        tryCompare(window.spectrumPage.centre, "value", centreSaved)
        compare(window.savePage.describe(path, "stp"), "Setup / 2 tabs")
        picture("save-and-recall")
    }

    function test_05_screenshots_and_report() {
        showScreen("Screenshot and report")
        // Each capture shows the Spectrum screen for a moment and comes back.
        var kinds = [["screenshotButton", "screenshot"], ["invertedButton", "screenshot-inverted"], ["reportButton", "report"]]
        for (var k = 0; k < kinds.length; ++k) {
            written.clear()
            mouseClick(control(kinds[k][0]))
            tryCompare(written, "count", 1, 10000)
            compare(window.currentScreen, 2, "back on the report screen")
            var path = written.signalArguments[0][1]
            verify(control("reportStatus").text === written.signalArguments[0][0] + " saved: " + path, control("reportStatus").text)
            file(kinds[k][1], path)
        }
        compare(window.savePage.describe(files.screenshot, "png"), "LTE / Spectrum")
        compare(window.savePage.describe(files.report, "pdf"), "LTE / Spectrum")
        picture("screenshot-and-report")
    }

    function test_06_cable_tools() {
        showScreen("Cable tools")
        var page = window.cablePage
        type(control("cableFilter"), "lmr")
        tryVerify(function () { return page.cables.rowCount() === 2 }, 5000, "'lmr' leaves two cables")
        compare(page.cables.get(0).manufacturer, "Times Microwave")
        type(control("cableFilter"), "")
        compare(page.cables.rowCount(), 5)
        // Edits in the loss table reach the model.
        type(control("lossValue0"), "0.9")
        compare(page.lossModel.data(page.lossModel.index(0, 0), 258), 0.9)
        mouseClick(control("lossSave"))
        compare(control("lossStatus").text, "Saved 4 points to the instrument")
        // A loss above the next point's makes that point invalid: the save is refused and says why.
        type(control("lossValue0"), "2")
        mouseClick(control("lossSave"))
        compare(control("lossStatus").text, "Save FAILED: a blank last point, or a point (red) not above the one before")
        mouseClick(control("lossCancel"))
        compare(page.lossModel.data(page.lossModel.index(0, 0), 258), 0.9)
        compare(page.planModel.getCount(), 16)
        picture("cable-tools")
    }

    function test_07_nr_and_enums() {
        showScreen("5G NR and enums")
        var page = window.nrPage
        choose(control("bandwidth"), "20")
        verify(page.spacings.length > 0)
        choose(control("bandwidth"), "5")
        compare(page.spacings.join("|"), "15 (Case A)|30 (Case B)|30 (Case C)")
        mouseClick(control("renameRms"))
        verify(page.detectorEntries.some(function (entry) { return entry.label === "RMS (true)" }))
        picture("5g-nr-and-enums")
    }

    function test_08_stores() {
        showScreen("Stores")
        var page = window.storesPage
        // Shown on first open, without asking.
        compare(page.profileRows.length, 4)
        type(control("siteField"), "North")
        mouseClick(control("setSite"))
        verify(page.tagRows[0].indexOf("Site ID: North") === 0, page.tagRows[0])
        compare(findChild(window.reportPage, "site").text, "Site North, sector Alpha")
        mouseClick(control("addRecent"))
        compare(page.historyRows[page.historyRows.length - 1].split("  ")[0], "site-setup")
        mouseClick(control("storePosition"))
        compare(page.positionRows[0], "51.5072  -0.1276  Harbour")
        mouseClick(control("exportFavourites"))
        file("favourites", page.exportPath)
        compare(page.messageRows[page.messageRows.length - 1].split("  ")[1], "Favourites exported to " + page.exportPath)
        picture("stores")
    }

    function test_09_device() {
        showScreen("Device")
        var page = window.devicePage
        mouseClick(control("fileCheck"))
        compare(control("fileAnswer").text, "/velmora/release/bin/cmsend exists")
        type(control("filePath"), "/user/TK520/internal/nothing.png")
        mouseClick(control("fileCheck"))
        compare(control("fileAnswer").text, "/user/TK520/internal/nothing.png not found")
        var slider = control("speakerSlider")
        // Where the handle's centre stands at 35 of 100.
        mouseClick(slider, slider.leftPadding + slider.handle.width / 2 + 0.35 * (slider.availableWidth - slider.handle.width),
                   slider.height / 2)
        tryCompare(page.volume, "volume", 35)
        compare(control("speaker").text, "Speaker 35")
        mouseClick(control("askTasks"))
        verify(control("lastTask").text.indexOf("Last raised: Spectrum") === 0, control("lastTask").text)
        picture("device")
        verify(/^Battery \d+ %$/.test(control("battery").text), control("battery").text)
    }
}
