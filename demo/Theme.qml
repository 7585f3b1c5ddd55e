pragma Singleton
import QtQuick 2.15

// Colours and sizes of the instrument's dark touch interface.
QtObject {
    readonly property color background: "#12161b"
    readonly property color panel: "#1c232b"
    readonly property color panelEdge: "#2b3540"
    readonly property color screen: "#0b0e12"       // the analyser's display behind the traces
    readonly property color grid: "#26313b"
    readonly property color text: "#e8edf2"
    readonly property color dim: "#8d9aa7"
    readonly property color accent: "#00b3c7"
    readonly property color warn: "#ff9700"
    readonly property color good: "#39b549"
    readonly property color bad: "#f50057"
    // T1-T4 on the dark display: bright enough to tell apart at a glance.
    readonly property var traceColours: ["#ffd54f", "#39b549", "#ff4f8b", "#4fc3f7"]
    readonly property int touch: 48
    readonly property int gap: 12
    readonly property int font: 18
    readonly property int small: 14
    readonly property int big: 28
    readonly property int labelWidth: 100     // a setting's name in front of its field
    readonly property int sideCard: 380       // settings and gauge column of the measurement screen
    readonly property int sideBar: 240        // the screen list on the left
}
