import QtQuick 2.15
import HBase 1.0

// A first look at the module: imports HBase 1.0 and shows what its environment object reports.
Rectangle {
    width: 640
    height: 200
    color: "#1b1f24"

    HEnvironment { id: environment }

    Text {
        anchors.centerIn: parent
        color: "white"
        font.pixelSize: 24
        text: "HBase 1.0 loaded on " + environment.productName
        Component.onCompleted: console.log(text)
    }
}
