import QtQuick 2.15
import QtQuick.Controls 2.15
import QtQuick.Controls.Material 2.15
import QtQuick.Layouts 1.15
import HBase 1.0
import "."
import "pages"

// The TK520 interface on a PC: every screen backed by the HBase module, against hbase-sim.
// The root window is the screenshot object itself, so a capture takes exactly what is shown.
HScreenShot {
    id: window
    width: 1280
    height: 800
    minimumWidth: 1280
    minimumHeight: 800
    visible: true
    color: Theme.background
    title: "TK520 - HBase demo"

    Material.theme: Material.Dark
    Material.accent: Theme.accent

    property alias currentScreen: screens.currentIndex
    property alias spectrumPage: spectrumPage
    property alias savePage: savePage
    property alias reportPage: reportPage
    property alias cablePage: cablePage
    property alias nrPage: nrPage
    property alias storesPage: storesPage
    property alias devicePage: devicePage
    readonly property int spectrumScreen: 0

    HSave { id: save }
    // One site tag file for every screen, so that an edit on one screen shows on the others.
    HTagFile { id: siteTags }

    readonly property var screenNames: ["Spectrum", "Save and recall", "Screenshot and report", "Cable tools",
                                        "5G NR and enums", "Stores", "Device"]

    // Shows screen `index`, and once it is on the display runs `action` (a capture) and goes back to
    // the screen that was shown. Two frames: the first draws the screen, the second has it on show.
    property var afterShown: null
    property int framesToWait: 0
    function whileShowing(index, action) {
        var back = screens.currentIndex
        screens.currentIndex = index
        framesToWait = 2
        afterShown = function () { action(); screens.currentIndex = back }
        update()
    }
    onFrameSwapped: {
        if (afterShown === null)
            return
        if (--framesToWait > 0) {
            update()
            return
        }
        var run = afterShown
        afterShown = null
        run()
    }

    RowLayout {
        anchors.fill: parent
        spacing: 0

        Rectangle {
            Layout.fillHeight: true
            // As wide as the longest screen name needs.
            Layout.preferredWidth: sideBar.implicitWidth + 2 * Theme.gap
            color: Theme.panel
            ColumnLayout {
                id: sideBar
                anchors.fill: parent
                anchors.margins: Theme.gap
                spacing: Theme.gap / 2
                Text {
                    text: "TK520"
                    color: Theme.accent
                    font.pixelSize: Theme.big
                    font.bold: true
                }
                Repeater {
                    model: window.screenNames
                    ItemDelegate {
                        id: screenButton
                        required property string modelData
                        required property int index
                        objectName: "screen_" + modelData
                        text: modelData
                        highlighted: screens.currentIndex === index
                        font.pixelSize: Theme.font
                        Layout.fillWidth: true
                        Layout.preferredHeight: Theme.touch
                        onClicked: screens.currentIndex = index
                        // A plain highlight with an accent bar marks the screen on show.
                        background: Rectangle {
                            color: screenButton.highlighted ? Theme.panelEdge : "transparent"
                            radius: 4
                            Rectangle { width: 4; height: parent.height; color: Theme.accent; visible: screenButton.highlighted }
                        }
                    }
                }
                Item { Layout.fillHeight: true }
                Text {
                    objectName: "battery"
                    text: "Battery " + (battery.item ? Math.round(battery.item.value) : "--") + " %"
                    color: Theme.dim
                    font.pixelSize: Theme.small
                }
            }
        }

        StackLayout {
            id: screens
            Layout.fillWidth: true
            Layout.fillHeight: true
            Layout.margins: Theme.gap
            SpectrumPage { id: spectrumPage; screenshot: window }
            SavePage { id: savePage; save: save }
            ReportPage { id: reportPage; save: save; tags: siteTags; screenshot: window; spectrum: spectrumPage; spectrumScreen: window.spectrumScreen }
            CablePage { id: cablePage }
            NrPage { id: nrPage }
            StoresPage { id: storesPage; tags: siteTags }
            DevicePage { id: devicePage }
        }
    }

    // The starter application's live battery level, shown in the side bar.
    ZeElfItems {
        id: starter
        dbusAddress: "gem.base.starter_app,starter_app,starter_reg_module,starter_reg_module"
    }
    QtObject {
        id: battery
        property var item: starter.dbusAddress !== "" ? starter.getResultItemStarterApp("batteryLevel") : null
    }
}
