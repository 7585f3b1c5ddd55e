import QtQuick 2.15
import QtQuick.Controls 2.15
import QtQuick.Layouts 1.15
import HBase 1.0
import ".."

// Screenshots of the measurement screen with its settings band, the PDF report filled from the site
// tags and the report fields, and the last screenshot shown through a refreshing image. A capture
// takes the whole display, so both buttons show the Spectrum screen for the capture and come back.
Item {
    id: page
    clip: true    // the attachment copy below lies beside the page, never over its neighbours
    property var save: null
    property var screenshot: null     // the root window
    property var spectrum: null       // the Spectrum screen: its settings annotate the pictures
    property int spectrumScreen: 0
    property string lastScreenshot
    property string status: "Nothing saved yet"
    readonly property string logoPath: String(Qt.resolvedUrl("../data/logo.png")).replace("file://", "")
    // The report draws an attachment 522 points wide and 522 * height / 1280 high: a picture 1280
    // pixels wide keeps its proportions, so the screenshot is attached as a 1280-wide copy.
    readonly property int attachmentWidth: 1280
    readonly property string attachmentPath: "/tmp/report-attachment.png"

    signal written(string kind, string path)

    property var tags: null           // the site tag file (HTagFile)
    property string site

    function readSite() { site = "Site " + tags.getTag("Site ID1") + ", sector " + tags.getTag("Sector1") }
    Component.onCompleted: readSite()
    Connections { target: page.tags; function onTagsChanged() { page.readSite() } }
    FileExists { id: probe }

    function finish(kind, path) {
        var ok = probe.queryForFile(path)
        status = ok ? kind + " saved: " + path : kind + " FAILED: nothing was written to " + path
        if (ok)
            written(kind, path)
    }

    // Captures the Spectrum screen and saves it with its settings band as NAME.png in the screenshot
    // folder; `written("Screenshot", path)` follows once it is on disk.
    function saveScreenshot(name, invert) {
        var folder = save.getDefaultDir(HSave.SAVE_SCREENSHOT)
        var path = folder + "/" + name + ".png"
        status = "Capturing the spectrum..."
        screenshot.whileShowing(spectrumScreen, function () {
            screenshot.capture()
            spectrum.annotate(screenshot)
            screenshot.configMap("Site", tags.getTag("Site ID1"))
            screenshot.saveScreen(folder, name, invert ? "On" : "Off", spectrum.technology, spectrum.measurement)
            lastScreenshot = path
            preview.source = path
            preview.refresh()
            finish("Screenshot", path)
        })
    }

    // Writes the PDF report: page one with the Spectrum screen as it is now, page two the last
    // screenshot; `written("Report", path)` follows once it is on disk.
    function saveReport(name) {
        var path = save.getDefaultDir(HSave.SAVE_REPORT) + "/" + name + ".pdf"
        if (lastScreenshot === "") {
            status = "Report FAILED: take a screenshot first, the report attaches it"
            return
        }
        status = "Capturing the spectrum..."
        screenshot.whileShowing(spectrumScreen, function () {
            screenshot.capture()
            attachment.grabToImage(function (copy) {
                if (!copy.saveToFile(attachmentPath)) {
                    status = "Report FAILED: cannot write " + attachmentPath
                    return
                }
                save.addCommonUI("reportCompanyCnfg", company.text)
                save.addCommonUI("reportEngineerCnfg", engineer.text)
                save.addCommonUI("reportSiteInfoCnfg", tags.getTag("Site ID1") + " / " + tags.getTag("Sector1"))
                save.addCommonUI("reportAddressCnfg", address.text)
                save.addCommonUI("reportLogoCnfg", page.logoPath)
                save.addCommonUI("reportTestPurposeCnfg", purpose.text)
                save.addCommonUI("reportResultCnfg", result.text)
                save.addCommonUI("reportAttachCnfg01", attachmentPath)
                save.addCommonUI("Technology", spectrum.technology)
                save.addCommonUI("Measure", spectrum.measurement)
                save.savePDF(path, "Off", "On")
                finish("Report", path)
            }, Qt.size(attachmentWidth, Math.round(attachment.implicitHeight * attachmentWidth / attachment.implicitWidth)))
        })
    }

    Image {
        // The last screenshot at the report's attachment width, kept left of the page, out of sight.
        id: attachment
        x: -width
        source: page.lastScreenshot === "" ? "" : "file://" + page.lastScreenshot
        sourceSize.width: page.attachmentWidth
        cache: false
    }

    RowLayout {
        anchors.fill: parent
        spacing: Theme.gap

        Card {
            title: "Report"
            Layout.preferredWidth: Theme.sideCard + Theme.labelWidth
            Layout.fillHeight: true
            TextField { id: company; text: "Torvane Field Services"; placeholderText: "Company"; font.pixelSize: Theme.font; Layout.fillWidth: true }
            TextField { id: engineer; text: "A. Engineer"; placeholderText: "Engineer"; font.pixelSize: Theme.font; Layout.fillWidth: true }
            TextField { id: address; text: "1 Harbour Road"; placeholderText: "Address"; font.pixelSize: Theme.font; Layout.fillWidth: true }
            TextField { id: purpose; text: "Acceptance of sector 1"; placeholderText: "Test purpose"; font.pixelSize: Theme.font; Layout.fillWidth: true }
            TextField { id: result; text: "Pass"; placeholderText: "Result"; font.pixelSize: Theme.font; Layout.fillWidth: true }
            Text { objectName: "site"; text: page.site; color: Theme.dim; font.pixelSize: Theme.small }
            RowLayout {
                Button { objectName: "screenshotButton"; text: "Screenshot"; font.pixelSize: Theme.font; font.capitalization: Font.MixedCase; onClicked: page.saveScreenshot("screen_" + Date.now(), false) }
                Button { objectName: "invertedButton"; text: "Inverted"; font.pixelSize: Theme.font; font.capitalization: Font.MixedCase; onClicked: page.saveScreenshot("screen_inv_" + Date.now(), true) }
                Button { objectName: "reportButton"; text: "PDF report"; font.pixelSize: Theme.font; font.capitalization: Font.MixedCase; onClicked: page.saveReport("report_" + Date.now()) }
            }
            Text { objectName: "reportStatus"; text: page.status; color: Theme.text; font.pixelSize: Theme.small; wrapMode: Text.WrapAnywhere; Layout.fillWidth: true }
            Item { Layout.fillHeight: true }
        }

        Card {
            title: "Last screenshot"
            Layout.fillWidth: true
            Layout.fillHeight: true
            Item {
                id: frame
                Layout.fillWidth: true
                Layout.fillHeight: true
                HRefreshImage {
                    // HRefreshImage fills its own size: sized to the picture's proportions here.
                    id: preview
                    readonly property real ratio: attachment.implicitWidth > 0 ? attachment.implicitHeight / attachment.implicitWidth : 0
                    anchors.centerIn: parent
                    width: ratio > 0 ? Math.min(frame.width, frame.height / ratio) : 0
                    height: width * ratio
                }
            }
        }
    }
}
