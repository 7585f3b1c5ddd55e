import QtQuick 2.15
import QtQuick.Controls 2.15
import QtQuick.Layouts 1.15
import HBase 1.0
import ".."

// Screen capture with the settings band, the PDF report filled from the site tags and the report
// fields, and the last screenshot shown through a refreshing image.
Item {
    id: page
    property var save: null
    property var screenshot: null
    property var spectrum: null
    property string lastScreenshot
    property string status
    readonly property string logoPath: Qt.resolvedUrl("../data/logo.png").toString().replace("file://", "")

    HTagFile { id: tags }

    // Captures the screen and saves it annotated with the spectrum settings; returns the file path.
    function saveScreenshot(name, invert) {
        screenshot.capture()
        screenshot.clearMap()
        if (spectrum && spectrum.centre) {
            screenshot.configMap("Center", (spectrum.centre.value / 1e6).toFixed(3) + " MHz")
            screenshot.configMap("Span", (spectrum.span.value / 1e6).toFixed(3) + " MHz")
            screenshot.configMap("RBW", (spectrum.rbw.value / 1e3).toFixed(1) + " kHz")
            screenshot.configMap("Ref Level", Number(spectrum.refLevel.value).toFixed(1) + " dBm")
        }
        screenshot.configMap("Site", tags.getTag("Site ID1"))
        screenshot.configMap("T1", "ClearWrite")
        screenshot.configMap("T2", "Max")
        screenshot.configMap("T3", "Min")
        var folder = save.getDefaultDir(HSave.SAVE_SCREENSHOT)
        screenshot.saveScreen(folder, name, invert ? "On" : "Off", "LTE", "Spectrum")
        lastScreenshot = folder + "/" + name + ".png"
        preview.source = lastScreenshot
        preview.refresh()
        status = "Saved " + lastScreenshot
        return lastScreenshot
    }

    // Writes the PDF report with the current screen and the last screenshot attached.
    function saveReport(name) {
        save.addCommonUI("reportCompanyCnfg", company.text)
        save.addCommonUI("reportEngineerCnfg", engineer.text)
        save.addCommonUI("reportSiteInfoCnfg", tags.getTag("Site ID1") + " / " + tags.getTag("Sector1"))
        save.addCommonUI("reportAddressCnfg", address.text)
        save.addCommonUI("reportLogoCnfg", page.logoPath)
        save.addCommonUI("reportTestPurposeCnfg", purpose.text)
        save.addCommonUI("reportResultCnfg", result.text)
        save.addCommonUI("reportAttachCnfg01", lastScreenshot)
        save.addCommonUI("Technology", "LTE")
        save.addCommonUI("Measure", "Spectrum")
        screenshot.capture()
        var path = save.getDefaultDir(HSave.SAVE_REPORT) + "/" + name + ".pdf"
        save.savePDF(path, "Off", "On")
        status = "Report " + path
        return path
    }

    RowLayout {
        anchors.fill: parent
        spacing: Theme.gap

        Card {
            title: "Report"
            Layout.preferredWidth: 460
            Layout.fillHeight: true
            TextField { id: company; text: "Torvane Field Services"; placeholderText: "Company"; font.pixelSize: Theme.font; Layout.fillWidth: true }
            TextField { id: engineer; text: "A. Engineer"; placeholderText: "Engineer"; font.pixelSize: Theme.font; Layout.fillWidth: true }
            TextField { id: address; text: "1 Harbour Road"; placeholderText: "Address"; font.pixelSize: Theme.font; Layout.fillWidth: true }
            TextField { id: purpose; text: "Acceptance of sector 1"; placeholderText: "Test purpose"; font.pixelSize: Theme.font; Layout.fillWidth: true }
            TextField { id: result; text: "Pass"; placeholderText: "Result"; font.pixelSize: Theme.font; Layout.fillWidth: true }
            Text { text: "Site " + tags.getTag("Site ID1") + ", sector " + tags.getTag("Sector1"); color: Theme.dim; font.pixelSize: Theme.small }
            RowLayout {
                Button { text: "Screenshot"; font.pixelSize: Theme.font; onClicked: page.saveScreenshot("screen_" + Date.now(), false) }
                Button { text: "Inverted"; font.pixelSize: Theme.font; onClicked: page.saveScreenshot("screen_inv_" + Date.now(), true) }
                Button { text: "PDF report"; font.pixelSize: Theme.font; onClicked: page.saveReport("report_" + Date.now()) }
            }
            Text { text: page.status; color: Theme.text; font.pixelSize: Theme.small; wrapMode: Text.WrapAnywhere; Layout.fillWidth: true }
            Item { Layout.fillHeight: true }
        }

        Card {
            title: "Last screenshot"
            Layout.fillWidth: true
            Layout.fillHeight: true
            HRefreshImage {
                id: preview
                Layout.fillWidth: true
                Layout.fillHeight: true
            }
        }
    }
}
