import QtQuick 2.15
import QtQuick.Layouts 1.15
import "."

// A titled panel; children go into its column. Content that does not fit is cut at the card's
// edge, never drawn over its neighbours.
Rectangle {
    id: card
    property string title
    default property alias content: column.data
    color: Theme.panel
    border.color: Theme.panelEdge
    radius: 8
    clip: true
    implicitWidth: column.implicitWidth + 2 * Theme.gap
    implicitHeight: column.implicitHeight + 2 * Theme.gap

    ColumnLayout {
        id: column
        anchors.fill: parent
        anchors.margins: Theme.gap
        spacing: Theme.gap / 2
        Text {
            text: card.title
            color: Theme.accent
            font.pixelSize: Theme.font
            font.bold: true
            elide: Text.ElideRight
            Layout.fillWidth: true
            visible: card.title !== ""
        }
    }
}
