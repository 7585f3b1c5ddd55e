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
    visible: true
    color: Theme.background
    title: "TK520 - HBase demo"

    Material.theme: Material.Dark
    Material.accent: Theme.accent

    readonly property bool touring: Qt.application.arguments.indexOf("--tour") >= 0
    property alias currentScreen: screens.currentIndex
    property alias spectrumPage: spectrumPage
    property alias savePage: savePage
    property alias reportPage: reportPage
    property alias cablePage: cablePage
    property alias nrPage: nrPage
    property alias storesPage: storesPage
    property alias devicePage: devicePage

    HSave { id: save }

    readonly property var screenNames: ["Spectrum", "Save and recall", "Screenshot and report", "Cable tools",
                                        "5G NR and enums", "Stores", "Device"]

    RowLayout {
        anchors.fill: parent
        spacing: 0

        Rectangle {
            Layout.fillHeight: true
            Layout.preferredWidth: 230
            color: Theme.panel
            ColumnLayout {
                anchors.fill: parent
                anchors.margins: Theme.gap
                spacing: Theme.gap / 2
                Text {
                    text: "TK520"
                    color: Theme.accent
                    font.pixelSize: 30
                    font.bold: true
                }
                Repeater {
                    model: window.screenNames
                    Button {
                        text: modelData
                        checkable: true
                        checked: screens.currentIndex === index
                        font.pixelSize: Theme.font
                        Layout.fillWidth: true
                        Layout.preferredHeight: Theme.touch + 8
                        onClicked: screens.currentIndex = index
                    }
                }
                Item { Layout.fillHeight: true }
                Text {
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
            ReportPage { id: reportPage; save: save; screenshot: window; spectrum: spectrumPage }
            CablePage { id: cablePage }
            NrPage { id: nrPage }
            StoresPage { id: storesPage }
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

    Loader {
        active: window.touring
        source: "Tour.qml"
        onLoaded: item.start(window)
    }
}
