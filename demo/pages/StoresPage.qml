import QtQuick 2.15
import QtQuick.Controls 2.15
import QtQuick.Layouts 1.15
import HBase 1.0
import ".."

// The user's small stores: site tags, map profiles, favourites, file-name history, positions,
// messages and hot keys.
Item {
    id: page
    property alias tags: tagFile
    property alias profiles: mapProfiles
    property alias favourites: favoriteDb
    property alias history: historyFile
    property alias positions: positionFile
    property alias messages: messageList
    property alias hotkeys: hotkeyList
    property int revision: 0      // bumped after every edit, so texts read from the stores refresh

    readonly property int messageWindow: 10     // HMessageList's window length (its count is not announced)
    readonly property string storeFolder: "/base/qml_4410/hetnet_private"

    HTagFile { id: tagFile }
    HMapProFileList { id: mapProfiles; Component.onCompleted: readAll() }
    HFavoriteDB { id: favoriteDb }
    HListFile { id: historyFile; source: page.storeFolder + "/fileNameHistory.txt" }
    HPositionFileIO { id: positionFile; source: page.storeFolder + "/positions.txt" }
    HMessageList { id: messageList }
    HStringList { id: stringList }
    HHotkeyList { id: hotkeyList }

    function note(message) {
        messageList.setStringList(message)
        messageList.setCurTime()
        ++revision
    }

    // Exports every favourite group into one database file; returns its path or "".
    function exportFavourites(name) {
        var path = "/user/TK520/internal/quillbox/" + name + ".db"
        var ok = favoriteDb.exportDB(path)
        note(ok ? "Favourites exported to " + path : "Favourite export failed")
        return ok ? path : ""
    }

    GridLayout {
        anchors.fill: parent
        columns: 3
        columnSpacing: Theme.gap
        rowSpacing: Theme.gap

        Card {
            title: "Site tags"
            Layout.fillWidth: true
            Layout.fillHeight: true
            Repeater {
                model: ["Site ID", "Sector", "Technology", "Test Type", "Termination"]
                Text {
                    text: modelData + ": " + (page.revision >= 0 ? [1, 2, 3].map(function (n) { return tagFile.getTag(modelData + n) }).join(", ") : "")
                    color: Theme.text
                    font.pixelSize: Theme.small
                }
            }
            RowLayout {
                TextField { id: siteField; placeholderText: "New site"; font.pixelSize: Theme.small; Layout.fillWidth: true }
                Button { text: "Set site 1"; onClicked: { tagFile.setTagName("Site ID", 0, siteField.text); page.note("Site 1 is " + siteField.text) } }
            }
        }

        Card {
            title: "Map profiles (" + (page.revision >= 0 ? mapProfiles.getListSize() : 0) + ")"
            Layout.fillWidth: true
            Layout.fillHeight: true
            RowLayout {
                Button { text: "All"; onClicked: { mapProfiles.readAll(); ++page.revision } }
                Button { text: "LTE"; onClicked: { mapProfiles.readFilter("Technology", "LTE"); ++page.revision } }
                Button { text: "By freq"; onClicked: { mapProfiles.sortField("Freq (MHz)", false); ++page.revision } }
            }
            Repeater {
                model: page.revision >= 0 ? mapProfiles.getListSize() : 0
                Text {
                    text: mapProfiles.getListInfo(index, "Name") + "  " + mapProfiles.getListInfo(index, "Frequency") + " MHz  " + mapProfiles.getListInfo(index, "RRUType")
                    color: Theme.text
                    font.pixelSize: Theme.small
                }
            }
        }

        Card {
            title: "Favourites"
            Layout.fillWidth: true
            Layout.fillHeight: true
            Button { text: "Export favourites"; onClicked: page.exportFavourites("favorites_export") }
            Button {
                text: "Import favourites"
                onClicked: page.note(favoriteDb.importDB("/user/TK520/internal/quillbox/favorites_export.db") ? "Favourites imported" : "Favourite import failed")
            }
        }

        Card {
            title: "Recent file names"
            Layout.fillWidth: true
            Layout.fillHeight: true
            RowLayout {
                TextField { id: nameField; text: "site-setup"; font.pixelSize: Theme.small; Layout.fillWidth: true }
                Button { text: "Add"; onClicked: { historyFile.setData(nameField.text); ++page.revision } }
            }
            Repeater {
                model: page.revision >= 0 ? historyFile.count() : 0
                Text { text: historyFile.getName(index) + "  " + historyFile.getDate(index); color: Theme.text; font.pixelSize: Theme.small }
            }
        }

        Card {
            title: "Positions"
            Layout.fillWidth: true
            Layout.fillHeight: true
            Button { text: "Store position"; onClicked: { positionFile.setData(0, "51.5072", "-0.1276", "Harbour"); ++page.revision } }
            Repeater {
                model: 3
                Text {
                    text: page.revision >= 0 ? [0, 1, 2].map(function (c) { return positionFile.getData(c, index) }).join("  ") : ""
                    color: Theme.text
                    font.pixelSize: Theme.small
                }
            }
        }

        Card {
            title: "Messages & hot keys"
            Layout.fillWidth: true
            Layout.fillHeight: true
            Repeater {
                model: 4
                Text {
                    text: page.revision >= 0 ? messageList.getStringTime(page.messageWindow - 4 + index) + " " + messageList.getStringList(page.messageWindow - 4 + index) : ""
                    color: Theme.text
                    font.pixelSize: Theme.small
                    elide: Text.ElideRight
                    Layout.fillWidth: true
                }
            }
            RowLayout {
                Button { text: "Hot key F1"; onClicked: { hotkeyList.setValue(1); page.note("Hot key 1 added") } }
                Text { text: page.revision >= 0 ? hotkeyList.getCount() + " hot keys" : ""; color: Theme.dim; font.pixelSize: Theme.small }
            }
        }
    }
}
