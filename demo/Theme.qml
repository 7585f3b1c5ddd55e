pragma Singleton
import QtQuick 2.15

// Colours and sizes of the instrument's dark touch interface.
QtObject {
    readonly property color background: "#12161b"
    readonly property color panel: "#1c232b"
    readonly property color panelEdge: "#2b3540"
    readonly property color text: "#e8edf2"
    readonly property color dim: "#8d9aa7"
    readonly property color accent: "#00b3c7"
    readonly property color warn: "#ff9700"
    readonly property color good: "#39b549"
    readonly property color bad: "#f50057"
    readonly property int touch: 48
    readonly property int gap: 12
    readonly property int font: 18
    readonly property int small: 14
}
