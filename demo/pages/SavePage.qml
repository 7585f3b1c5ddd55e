import QtQuick 2.15
import QtQuick.Controls 2.15
import QtQuick.Layouts 1.15
import Qt.labs.folderlistmodel 2.15
import HBase 1.0
import ".."

// Save the set-up of the open tabs, browse the default directories with each file's description,
// recall, copy and delete.
Item {
    id: page
    property var save: null
    property string status
    property string selectedPath
    property string selectedName

    // The open tabs: tab number to application.
    readonly property var tabs: ["spectrumanalyzer_app", "networkanalyzer_app"]
    // What a person calls the applications.
    readonly property var appTitles: ({ "spectrumanalyzer_app": "Spectrum analyser", "networkanalyzer_app": "Network analyser",
                                        "dxtest_app": "Radio test", "autotest_app": "Automated test" })
    readonly property var folders: [
        { name: "Setups", type: HSave.SAVE_SETUP, pattern: "*.stp" },
        { name: "Screenshots", type: HSave.SAVE_SCREENSHOT, pattern: "*.png" },
        { name: "Reports", type: HSave.SAVE_REPORT, pattern: "*.pdf" },
        { name: "Results", type: HSave.SAVE_RESULT, pattern: "*" }
    ]

    // A second HSave reads file headers for the browser, so browsing never disturbs the header
    // table that a save is being built in.
    HSave { id: browser }

    // Saves the set-up of every open tab as NAME.stp in the set-up folder; returns the path or "".
    function saveSetup(name) {
        save.clearAll()
        save.addCommonHeader("TabCount", tabs.length)
        save.addCommonHeader("Technology", "Setup")
        save.addCommonHeader("Measure", tabs.length + " tabs")
        for (var t = 0; t < tabs.length; ++t) {
            save.addCommonHeader("Tab" + (t + 1) + "App", tabs[t])
            save.saveTabFileNew(t, tabs[t], "")
        }
        save.type = HSave.SAVE_SETUP
        var path = save.getDefaultDir(HSave.SAVE_SETUP) + "/" + name + ".stp"
        var ok = save.save(path)
        status = ok ? "Saved " + path : "Saving FAILED: " + path
        return ok ? path : ""
    }

    // Recalls a set-up file into the applications of its tabs; true when every tab was recalled.
    function recall(path) {
        if (!save.loadSetup(path)) {
            status = "Recall FAILED: cannot open " + path
            return false
        }
        var count = parseInt(save.getHeader("TabCount")) || 0
        var ok = count > 0
        for (var t = 0; t < count; ++t)
            ok = save.loadTabFile(t, save.getHeader("Tab" + (t + 1) + "App")) && ok
        status = (ok ? "Recalled " : "Recall FAILED: ") + path
        return ok
    }

    function describe(path, suffix) {
        browser.readHeader(path, suffix)
        var technology = browser.getHeader("Technology")
        var measure = browser.getHeader("Measure")
        return technology === "" && measure === "" ? "-" : technology + " / " + measure
    }

    function copySelected() {
        var folder = save.getDefaultDir(folders[folderBox.currentIndex].type)
        var reply = save.fileCopy(selectedPath, selectedName, folder)
        status = reply === HSave.COPY_TRUE ? "Copied " + selectedName
               : reply === HSave.COPY_EXIST ? selectedName + " exists already" : "Copy failed"
    }

    function deleteSelected() {
        // The starter answers "OK" on success, which fileDelete reports as false.
        status = save.fileDelete(selectedPath) ? "Delete FAILED: " + selectedName : "Deleted " + selectedName
        selectedPath = ""
    }

    ColumnLayout {
        anchors.fill: parent
        spacing: Theme.gap

        Card {
            title: "Save the open tabs"
            Layout.fillWidth: true
            RowLayout {
                spacing: Theme.gap
                TextField {
                    id: nameField
                    objectName: "setupName"
                    text: "site-setup"
                    font.pixelSize: Theme.font
                    Layout.preferredWidth: 300
                    Layout.preferredHeight: Theme.touch
                }
                Button {
                    objectName: "saveSetup"
                    text: "Save set-up"
                    font.capitalization: Font.MixedCase
                    font.pixelSize: Theme.font
                    Layout.preferredHeight: Theme.touch
                    onClicked: page.saveSetup(nameField.text)
                }
                Text {
                    text: "Tabs: " + page.tabs.map(function (app) { return page.appTitles[app] || app }).join(", ")
                    color: Theme.dim
                    font.pixelSize: Theme.small
                }
            }
        }

        Card {
            title: "Files"
            Layout.fillWidth: true
            Layout.fillHeight: true
            RowLayout {
                spacing: Theme.gap
                ComboBox {
                    id: folderBox
                    model: page.folders.map(function (f) { return f.name })
                    font.pixelSize: Theme.font
                    Layout.preferredWidth: 220
                    Layout.preferredHeight: Theme.touch
                }
                Text {
                    text: page.save ? page.save.getDefaultDir(page.folders[folderBox.currentIndex].type) : ""
                    color: Theme.dim
                    font.pixelSize: Theme.small
                }
            }
            ListView {
                id: files
                Layout.fillWidth: true
                Layout.fillHeight: true
                clip: true
                model: FolderListModel {
                    id: folderModel
                    showDirs: false
                    nameFilters: [page.folders[folderBox.currentIndex].pattern]
                    folder: page.save ? "file://" + page.save.getDefaultDir(page.folders[folderBox.currentIndex].type) : ""
                }
                delegate: Rectangle {
                    id: fileRow
                    required property string fileName
                    required property string filePath
                    required property string fileSuffix
                    required property var fileSize
                    objectName: "file_" + fileName
                    width: files.width
                    height: Theme.touch
                    color: page.selectedPath === filePath ? Theme.panelEdge : "transparent"
                    RowLayout {
                        anchors.fill: parent
                        anchors.leftMargin: Theme.gap
                        Text { text: fileRow.fileName; color: Theme.text; font.pixelSize: Theme.font; Layout.preferredWidth: 380; elide: Text.ElideMiddle }
                        Text { text: page.describe(fileRow.filePath, fileRow.fileSuffix); color: Theme.dim; font.pixelSize: Theme.small; Layout.fillWidth: true }
                        Text { text: Math.ceil(fileRow.fileSize / 1024) + " KiB"; color: Theme.dim; font.pixelSize: Theme.small; Layout.rightMargin: Theme.gap }
                    }
                    MouseArea {
                        anchors.fill: parent
                        onClicked: { page.selectedPath = fileRow.filePath; page.selectedName = fileRow.fileName }
                    }
                }
            }
            RowLayout {
                spacing: Theme.gap
                Button { objectName: "recallButton"; text: "Recall"; font.capitalization: Font.MixedCase; enabled: page.selectedPath.slice(-4) === ".stp"; font.pixelSize: Theme.font; onClicked: page.recall(page.selectedPath) }
                Button { objectName: "copyButton"; text: "Copy"; font.capitalization: Font.MixedCase; enabled: page.selectedPath !== ""; font.pixelSize: Theme.font; onClicked: page.copySelected() }
                Button { objectName: "deleteButton"; text: "Delete"; font.capitalization: Font.MixedCase; enabled: page.selectedPath !== ""; font.pixelSize: Theme.font; onClicked: page.deleteSelected() }
                Text { objectName: "saveStatus"; text: page.status; color: Theme.text; font.pixelSize: Theme.small; Layout.fillWidth: true; elide: Text.ElideLeft }
            }
        }
    }
}
