import QtQuick 2.15
import QtQuick.Controls 2.15
import QtQuick.Layouts 1.15
import HBase 1.0
import ".."

// Device services: speaker and microphone levels, raised-task notifications, environment, files.
Item {
    id: page
    property alias volume: audio
    property alias desktop: desktopHandler
    property string lastTask: "(none yet)"
    property string fileQuery: "/user/TK520/internal/quillbox"

    HBaseVolume { id: audio }
    HEnvironment { id: environment }
    FileExists { id: fileCheck }
    DesktopHandler {
        id: desktopHandler
        onTaskRaised: page.lastTask = task_name + " (" + task_id + ")"
        onError: page.lastTask = "desktop service: " + msg
    }

    Timer {
        // The audio service can change levels behind the interface's back (hardware keys).
        interval: 2000
        running: true
        repeat: true
        onTriggered: audio.pollServiceForValues()
    }

    GridLayout {
        anchors.fill: parent
        columns: 2
        columnSpacing: Theme.gap
        rowSpacing: Theme.gap

        Card {
            title: "Audio"
            Layout.fillWidth: true
            Layout.fillHeight: true
            Text { text: "Speaker " + audio.volume; color: Theme.text; font.pixelSize: Theme.font }
            Slider {
                from: 0; to: 100; stepSize: 1
                value: audio.volume
                Layout.fillWidth: true
                onMoved: audio.volume = value
            }
            Text { text: "Microphone " + audio.micVolume; color: Theme.text; font.pixelSize: Theme.font }
            Slider {
                from: 0; to: 100; stepSize: 1
                value: audio.micVolume
                Layout.fillWidth: true
                onMoved: audio.micVolume = value
            }
            Switch { text: "Mute"; checked: audio.mute; font.pixelSize: Theme.font; onToggled: audio.mute = checked }
        }

        Card {
            title: "Tasks"
            Layout.fillWidth: true
            Layout.fillHeight: true
            Text { text: "Last raised: " + page.lastTask; color: Theme.text; font.pixelSize: Theme.font }
            Button { text: "Ask the task manager"; onClicked: page.lastTask = desktopHandler.lastRaisedTask() || "(no answer)" }
            Text {
                text: "Raise one from a terminal:\ndbus-send --session --dest=gem.base.simulator /gem/base/simulator gem.base.Simulator.RaiseTask string:Spectrum string:42"
                color: Theme.dim
                font.pixelSize: Theme.small
                wrapMode: Text.WrapAnywhere
                Layout.fillWidth: true
            }
        }

        Card {
            title: "Environment"
            Layout.fillWidth: true
            Layout.fillHeight: true
            Text { text: "Product: " + environment.productName; color: Theme.text; font.pixelSize: Theme.font }
            Text { text: "Base directory: \"" + environment.baseDir + "\""; color: Theme.text; font.pixelSize: Theme.font }
            Text {
                // Read once: the environment does not announce changes.
                Component.onCompleted: text = "Failed service: " + environment.failedService
                color: Theme.text
                font.pixelSize: Theme.font
            }
        }

        Card {
            title: "File check"
            Layout.fillWidth: true
            Layout.fillHeight: true
            TextField { id: pathField; text: page.fileQuery; font.pixelSize: Theme.small; Layout.fillWidth: true }
            Button { text: "Exists?"; onClicked: fileCheck.queryForFile(pathField.text) }
            Text { text: fileCheck.exists ? "exists" : "not found"; color: fileCheck.exists ? Theme.good : Theme.bad; font.pixelSize: Theme.font }
        }
    }
}
