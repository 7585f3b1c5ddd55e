import QtQuick 2.15
import HBase 1.0

// The soak run's script (make soak, run by hbase-soak): the whole interface is made and destroyed again
// and again through a Loader, so every type of the module comes and goes. While it lives, every screen is
// shown in turn with the live trace and the battery level changing, a trace mode is switched, a set-up is
// saved and recalled, a screenshot and a report are written, the favourites are exported and imported
// again and the site tags edited. After each cycle it collects garbage and tells the monitor
// (`monitor.cycleDone()`), which samples the process now and then.
Item {
    id: run

    readonly property int screenCount: 7
    readonly property int stepMs: 400
    // A screenshot or a report that is not written within this many steps fails the run.
    readonly property int writeSteps: 50
    property int step: 0
    property int waitingSteps: 0
    property string waitingFor: ""
    property var window: shell.item
    // The sampler (SoakMonitor), given by hbase-soak.
    required property var monitor

    HSave { id: storage }

    Loader {
        id: shell
        active: false
        source: "main.qml"
    }

    Connections {
        target: run.window ? run.window.reportPage : null
        function onWritten(kind, path) {
            if (kind === run.waitingFor)
                run.waitingFor = ""
        }
    }

    // One step each tick; a step that starts a screenshot or report waits for its file.
    Timer {
        interval: run.stepMs
        repeat: true
        running: true
        onTriggered: {
            if (run.waitingFor !== "") {
                if (++run.waitingSteps > run.writeSteps)
                    run.monitor.fail(run.waitingFor + " was not written")
                return
            }
            run.steps[run.step]()
            run.step = (run.step + 1) % run.steps.length
        }
    }

    function waitFor(kind) {
        waitingFor = kind
        waitingSteps = 0
    }

    function show(screen) {
        window.currentScreen = screen
    }

    readonly property var steps: [
        function () { shell.active = true },
        function () { show(0) },
        function () { if (window.spectrumPage.traceModes) window.spectrumPage.setTraceMode(0, run.cycleMode()) },
        function () { show(1); var path = window.savePage.saveSetup("soak"); if (path === "" || !window.savePage.recall(path)) run.monitor.fail("set-up " + window.savePage.status) },
        function () { show(2); window.reportPage.saveScreenshot("soak", run.monitor.cycles % 2 === 1); waitFor("Screenshot") },
        function () { window.reportPage.saveReport("soak"); waitFor("Report") },
        function () { show(3) },
        function () { show(4) },
        function () { show(5); run.favouritesRoundTrip() },
        function () { window.storesPage.setSite("Soak " + run.monitor.cycles) },
        function () { show(6) },
        function () { shell.active = false },
        function () { gc(); run.monitor.cycleDone() }
    ]

    // Clear write and max hold in turn, so the trace's binding changes with the mode.
    function cycleMode() {
        return run.monitor.cycles % 2 === 0 ? "Max Hold" : "Clear Write"
    }

    function favouritesRoundTrip() {
        var path = window.storesPage.exportPath
        if (window.storesPage.exportFavourites(path) === "" || !window.storesPage.importFavourites(path))
            run.monitor.fail("favourites round trip " + path)
    }

    Component.onCompleted: storage.createDefaultDirs()
}
