import QtQuick 2.15
import QtQuick.Controls 2.15
import QtQuick.Layouts 1.15
import Qt.labs.folderlistmodel 2.15
import HBase 1.0
import ".."

// The user's small stores: site tags, map profiles, favourites, file-name history, positions,
// messages and hot keys. Most of these stores are read through calls and announce nothing, so the
// page keeps what each card shows in a plain array and reads it again after every call that changes
// the store; the tag file announces its changes (tagsChanged), whoever made them. The favourites
// are folders on disk: FolderListModel follows them by itself.
Item {
    id: page
    property var tags: null           // the site tag file (HTagFile), shared with the other screens
    property alias profiles: mapProfiles
    property alias favourites: favoriteDb
    property alias history: historyFile
    property alias positions: positionFile
    property alias messages: messageList
    property alias hotkeys: hotkeyList

    readonly property string storeFolder: "/base/qml_4410/hetnet_private"
    readonly property string favouriteFolder: "/user/tarnwick5G/internal/.favorite"
    readonly property string exportPath: "/user/TK520/internal/quillbox/favorites_export.db"
    readonly property var tagNames: ["Site ID", "Sector", "Technology", "Test Type", "Termination"]
    readonly property int messagesShown: 4

    property var tagRows: []
    property var profileRows: []
    property var historyRows: []
    property var positionRows: []
    property var messageRows: []
    property int hotkeyCount: 0

    Connections { target: page.tags; function onTagsChanged() { page.readTags() } }
    HMapProFileList { id: mapProfiles }
    HFavoriteDB { id: favoriteDb }
    HListFile { id: historyFile; source: page.storeFolder + "/fileNameHistory.txt" }
    HPositionFileIO { id: positionFile; source: page.storeFolder + "/positions.txt" }
    HMessageList { id: messageList }
    HHotkeyList { id: hotkeyList }

    function readTags() {
        tagRows = tagNames.map(function (name) {
            return name + ": " + [1, 2, 3].map(function (n) { return tags.getTag(name + n) }).join(", ")
        })
    }
    function readProfiles() {
        profileRows = Array.from({ length: mapProfiles.getListSize() }, (_, i) =>
            mapProfiles.getListInfo(i, "Name") + "  " + mapProfiles.getListInfo(i, "Frequency") + " MHz  "
            + mapProfiles.getListInfo(i, "Technology"))
    }
    function readHistory() {
        historyRows = Array.from({ length: historyFile.count() }, (_, i) => historyFile.getName(i) + "  " + historyFile.getDate(i))
    }
    function readPositions() {
        var rows = []
        for (var row = 0; row < positionFile.count(); ++row) {
            var fields = [0, 1, 2].map(function (column) { return positionFile.getData(column, row) })
            if (fields[0] !== "" && fields[0] !== "--")     // a free slot of the table
                rows.push(fields.join("  "))
        }
        positionRows = rows
    }
    function readMessages() {
        // The list keeps a window of the latest messages, the newest last.
        var first = messageList.count - messagesShown
        messageRows = Array.from({ length: messagesShown }, (_, k) => first + k)
            .filter(i => messageList.getStringList(i) !== "")
            .map(i => messageList.getStringTime(i) + "  " + messageList.getStringList(i))
    }

    function note(message) {
        messageList.setStringList(message)
        messageList.setCurTime()
        readMessages()
    }

    function setSite(name) {
        tags.setTagName("Site ID", 0, name)
        note("Site 1 is " + name)
    }
    function showProfiles(field, keyword) {
        if (field === "")
            mapProfiles.readAll()
        else
            mapProfiles.readFilter(field, keyword)
        readProfiles()
    }
    function sortProfiles() {
        mapProfiles.sortField("Freq (MHz)", false)
        readProfiles()
    }
    function addRecent(name) {
        historyFile.setData(name)
        readHistory()
    }
    function storePosition(latitude, longitude, label) {
        positionFile.setData(0, latitude, longitude, label)
        readPositions()
    }
    function addHotkey(number) {
        hotkeyList.setValue(number)
        hotkeyCount = hotkeyList.getCount()
        note("Hot key F" + number + " added")
    }

    // Exports every favourite group into one database file; returns its path or "".
    function exportFavourites(path) {
        var ok = favoriteDb.exportDB(path)
        note(ok ? "Favourites exported to " + path : "Favourite export FAILED: " + path)
        return ok ? path : ""
    }
    function importFavourites(path) {
        var ok = favoriteDb.importDB(path)
        note(ok ? "Favourites imported from " + path : "Favourite import FAILED: " + path)
        return ok
    }

    Component.onCompleted: {
        readTags()
        showProfiles("", "")
        readHistory()
        readPositions()
        readMessages()
        hotkeyCount = hotkeyList.getCount()
    }

    GridLayout {
        anchors.fill: parent
        columns: 3
        columnSpacing: Theme.gap
        rowSpacing: Theme.gap

        // Every card takes an equal share of the grid: the shares come from the equal preferred
        // sizes, never from the cards' changing content.
        Card {
            title: "Site tags"
            Layout.preferredWidth: 1; Layout.preferredHeight: 1; Layout.fillWidth: true; Layout.fillHeight: true
            Repeater {
                model: page.tagRows
                Text { required property string modelData; text: modelData; color: Theme.text; font.pixelSize: Theme.small; elide: Text.ElideRight; Layout.fillWidth: true }
            }
            RowLayout {
                TextField { id: siteField; objectName: "siteField"; placeholderText: "New site"; font.pixelSize: Theme.small; Layout.fillWidth: true }
                Button { objectName: "setSite"; text: "Set site 1"; font.capitalization: Font.MixedCase; onClicked: page.setSite(siteField.text) }
            }
            Item { Layout.fillHeight: true }     // content stays at the top
        }

        Card {
            title: "Map profiles (" + page.profileRows.length + ")"
            Layout.preferredWidth: 1; Layout.preferredHeight: 1; Layout.fillWidth: true; Layout.fillHeight: true
            RowLayout {
                Button { objectName: "profilesAll"; text: "All"; font.capitalization: Font.MixedCase; onClicked: page.showProfiles("", "") }
                Button { objectName: "profilesNr"; text: "5G NR"; font.capitalization: Font.MixedCase; onClicked: page.showProfiles("Technology", "5G NR") }
                Button { objectName: "profilesByFreq"; text: "By freq"; font.capitalization: Font.MixedCase; onClicked: page.sortProfiles() }
            }
            Repeater {
                model: page.profileRows
                Text { required property string modelData; text: modelData; color: Theme.text; font.pixelSize: Theme.small; elide: Text.ElideRight; Layout.fillWidth: true }
            }
            Item { Layout.fillHeight: true }
        }

        Card {
            title: "Favourites"
            Layout.preferredWidth: 1; Layout.preferredHeight: 1; Layout.fillWidth: true; Layout.fillHeight: true
            Repeater {
                model: FolderListModel {
                    folder: "file://" + page.favouriteFolder
                    showFiles: false
                    showDotAndDotDot: false
                }
                Text {
                    id: groupRow
                    required property string fileName
                    readonly property string group: fileName
                    text: group + ": " + (files.count === 0 ? "(empty)" : files.names())
                    color: Theme.text
                    font.pixelSize: Theme.small
                    elide: Text.ElideRight
                    Layout.fillWidth: true
                    FolderListModel {
                        id: files
                        folder: "file://" + page.favouriteFolder + "/" + groupRow.group
                        nameFilters: ["*.stav"]
                        showDirs: false
                        function names() {
                            return Array.from({ length: count }, (_, i) => get(i, "fileBaseName")).join(", ")
                        }
                    }
                }
            }
            RowLayout {
                Button { objectName: "exportFavourites"; text: "Export"; font.capitalization: Font.MixedCase; onClicked: page.exportFavourites(page.exportPath) }
                Button { objectName: "importFavourites"; text: "Import"; font.capitalization: Font.MixedCase; onClicked: page.importFavourites(page.exportPath) }
            }
            Item { Layout.fillHeight: true }
        }

        Card {
            title: "Recent file names"
            Layout.preferredWidth: 1; Layout.preferredHeight: 1; Layout.fillWidth: true; Layout.fillHeight: true
            RowLayout {
                TextField { id: nameField; objectName: "recentField"; text: "site-setup"; font.pixelSize: Theme.small; Layout.fillWidth: true }
                Button { objectName: "addRecent"; text: "Add"; font.capitalization: Font.MixedCase; onClicked: page.addRecent(nameField.text) }
            }
            Repeater {
                model: page.historyRows
                Text { required property string modelData; text: modelData; color: Theme.text; font.pixelSize: Theme.small; elide: Text.ElideRight; Layout.fillWidth: true }
            }
            Item { Layout.fillHeight: true }
        }

        Card {
            title: "Positions"
            Layout.preferredWidth: 1; Layout.preferredHeight: 1; Layout.fillWidth: true; Layout.fillHeight: true
            Button { objectName: "storePosition"; text: "Store position"; font.capitalization: Font.MixedCase; onClicked: page.storePosition("51.5072", "-0.1276", "Harbour") }
            Repeater {
                model: page.positionRows
                Text { required property string modelData; text: modelData; color: Theme.text; font.pixelSize: Theme.small; elide: Text.ElideRight; Layout.fillWidth: true }
            }
            Item { Layout.fillHeight: true }
        }

        Card {
            title: "Messages & hot keys"
            Layout.preferredWidth: 1; Layout.preferredHeight: 1; Layout.fillWidth: true; Layout.fillHeight: true
            Repeater {
                model: page.messageRows
                Text { required property string modelData; text: modelData; color: Theme.text; font.pixelSize: Theme.small; elide: Text.ElideRight; Layout.fillWidth: true }
            }
            RowLayout {
                Button { objectName: "addHotkey"; text: "Hot key F1"; font.capitalization: Font.MixedCase; onClicked: page.addHotkey(1) }
                Text { text: page.hotkeyCount + " hot keys"; color: Theme.dim; font.pixelSize: Theme.small }
            }
            Item { Layout.fillHeight: true }
        }
    }
}
