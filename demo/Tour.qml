import QtQuick 2.15
import HBase 1.0

// The scripted tour: walks every screen, saves and recalls a set-up, takes two screenshots, writes
// a report, exports favourites, prints what it did ("TOUR ok|FAIL step: detail") and where each file
// is ("TOUR-FILE kind path"), and exits 0 when every step passed.
Item {
    id: tour
    property var window: null
    property int step: 0
    property int failures: 0
    property var files: ({})
    readonly property real centreSaved: 1842.5e6
    readonly property real centreChanged: 2000e6

    HSave { id: checker }

    function start(root) {
        window = root
        timer.start()
    }

    function expect(condition, detail) {
        if (!condition)
            throw new Error(detail)
        return detail
    }

    function file(kind, path) {
        files[kind] = path
        console.log("TOUR-FILE " + kind + " " + path)
        return expect(path !== "" && checker.extFolderExist(path), kind + " written to " + path)
    }

    function show(index) {
        window.currentScreen = index
    }

    readonly property var steps: [
        { name: "spectrum settings", run: function () {
            show(0)
            var page = window.spectrumPage
            page.centre.value = centreSaved
            page.span.value = 20e6
            return expect(Number(page.centre.value) === centreSaved && Number(page.span.value) === 20e6,
                          "centre 1842.5 MHz, span 20 MHz; " + page.channelStandardLine)
        } },
        { name: "live channel power", run: function () {
            var power = Number(window.spectrumPage.channelPower.value)
            return expect(power >= -80 && power <= -20, "gauge reads " + power.toFixed(1) + " dBm")
        } },
        { name: "save set-up", run: function () {
            show(1)
            return file("setup", window.savePage.saveSetup("tour-setup"))
        } },
        { name: "recall set-up", run: function () {
            window.spectrumPage.centre.value = centreChanged
            return expect(window.savePage.recall(files.setup), "start-recall, load-configuration and finish-recall sent for 2 tabs")
        } },
        { name: "recalled values", run: function () {
            var centre = Number(window.spectrumPage.centre.value)
            return expect(centre === centreSaved, "centre back at " + centre / 1e6 + " MHz")
        } },
        { name: "file browser", run: function () {
            var text = window.savePage.describe(files.setup, "stp")
            return expect(text === "Setup / 2 tabs", "set-up described as " + text)
        } },
        { name: "show spectrum", run: function () { show(0); return "spectrum on screen" } },
        { name: "screenshot of the spectrum", run: function () {
            return file("screenshot", window.reportPage.saveScreenshot("tour-spectrum", false))
        } },
        { name: "show cable tools", run: function () { show(3); return "cable tools on screen" } },
        { name: "inverted screenshot of the cable tools", run: function () {
            return file("screenshot-inverted", window.reportPage.saveScreenshot("tour-cables", true))
        } },
        { name: "PDF report", run: function () {
            show(2)
            return file("report", window.reportPage.saveReport("tour-report"))
        } },
        { name: "screenshot and report described", run: function () {
            var png = window.savePage.describe(files.screenshot, "png")
            var pdf = window.savePage.describe(files.report, "pdf")
            return expect(png === "LTE / Spectrum" && pdf === "LTE / Spectrum", "png: " + png + ", pdf: " + pdf)
        } },
        { name: "cable filter", run: function () {
            show(3)
            var cables = window.cablePage.cables
            cables.filterText = "lmr"
            var shown = cables.rowCount()
            var hidden = cables.getIndexOfCableName("RG-58 2m")
            cables.filterText = ""
            return expect(shown === 2 && hidden === -1 && cables.get(0).manufacturer === "Times Microwave",
                          "'lmr' shows 2 of 5 cables")
        } },
        { name: "cable loss table", run: function () {
            var model = window.cablePage.lossModel
            var first = model.data(model.index(0, 0), 257)
            return expect(model.size === 4 && first === 100, model.size + " loss points from " + first + " MHz")
        } },
        { name: "channel plans", run: function () {
            return expect(window.cablePage.planModel.getCount() === 16, "16 trunking channel plans")
        } },
        { name: "5G NR spacings", run: function () {
            show(4)
            var band = window.nrPage.band
            band.setBandStByMeas("ModAcc", "FR1", "5")
            var list = []
            for (var i = 0; i < band.getBandCount(); ++i)
                list.push(band.getSCS(i))
            return expect(list.join("|") === "15 (Case A)|30 (Case B)|30 (Case C)", "FR1 at 5 MHz: " + list.join(", "))
        } },
        { name: "enumeration file", run: function () {
            var labels = window.nrPage.enums.getLabelList(":config:spectrumanalyzer_app:spectrumanalyzer_reg_module:detector:")
            return expect(labels.length === 5, "detector labels " + labels.join(", "))
        } },
        { name: "site tags, history, positions, hot keys", run: function () {
            show(5)
            var stores = window.storesPage
            stores.history.setData("tour-setup")
            stores.positions.setData(0, "51.5072", "-0.1276", "Harbour")
            stores.hotkeys.setValue(4)
            stores.note("tour stores step")
            return expect(stores.tags.getTag("Site ID1") !== "" && stores.history.getName(stores.history.count() - 1) === "tour-setup"
                          && stores.positions.getData(2, 0) === "Harbour" && stores.hotkeys.getValue(stores.hotkeys.getCount() - 1) === 4,
                          "site " + stores.tags.getTag("Site ID1") + ", " + stores.history.count() + " recent names")
        } },
        { name: "map profiles", run: function () {
            var profiles = window.storesPage.profiles
            profiles.readAll()
            profiles.sortField("Freq (MHz)", false)
            return expect(profiles.getListSize() === 4 && profiles.getFilterSize("Name") === 4,
                          profiles.getListSize() + " profiles, first " + profiles.getListInfo(0, "Name"))
        } },
        { name: "favourites export", run: function () {
            return file("favourites", window.storesPage.exportFavourites("tour-favorites"))
        } },
        { name: "audio", run: function () {
            show(6)
            var audio = window.devicePage.volume
            audio.volume = 35
            audio.pollServiceForValues()
            return expect(audio.volume === 35, "speaker volume 35 through the audio service")
        } },
        { name: "desktop and environment", run: function () {
            var task = window.devicePage.desktop.lastRaisedTask()
            return expect(task !== "", "last raised task " + task + ", product " + "TK520")
        } }
    ]

    Timer {
        id: timer
        interval: 400
        repeat: true
        onTriggered: {
            if (tour.step >= tour.steps.length) {
                stop()
                console.log("TOUR " + (tour.failures === 0 ? "passed" : "FAILED") + ": " +
                            (tour.steps.length - tour.failures) + " of " + tour.steps.length + " steps")
                Qt.exit(tour.failures === 0 ? 0 : 1)
                return
            }
            var current = tour.steps[tour.step++]
            try {
                console.log("TOUR ok " + current.name + ": " + current.run())
            } catch (e) {
                ++tour.failures
                console.log("TOUR FAIL " + current.name + ": " + e.message)
            }
        }
    }
}
