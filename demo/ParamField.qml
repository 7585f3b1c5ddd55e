import QtQuick 2.15
import QtQuick.Controls 2.15
import QtQuick.Layouts 1.15
import "."

// One numeric instrument parameter: shows the live value of an item handle in a display unit and
// writes what the user types back to the instrument.
RowLayout {
    id: field
    property string label
    property var item: null          // ElfData handle from ZeElfItems
    property real scale: 1           // instrument unit per display unit
    property string unit
    property int decimals: 3
    readonly property string shown: item ? (Number(item.value) / scale).toFixed(decimals) : "--"

    spacing: Theme.gap
    Layout.fillWidth: true
    Text {
        text: field.label
        color: Theme.dim
        font.pixelSize: Theme.font
        Layout.preferredWidth: Theme.labelWidth
    }
    TextField {
        id: editor
        objectName: "edit_" + field.label
        text: field.shown
        enabled: field.item !== null
        font.pixelSize: Theme.font
        inputMethodHints: Qt.ImhFormattedNumbersOnly
        Layout.fillWidth: true
        Layout.preferredHeight: Theme.touch
        onAccepted: field.write(text)
    }
    Text {
        text: field.unit
        color: Theme.dim
        font.pixelSize: Theme.font
        Layout.preferredWidth: Theme.labelWidth / 2
    }

    function write(text) {
        var number = Number(text)
        if (item && !isNaN(number))
            item.value = number * scale
    }
}
