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
    // A file the demo puts there; "ls" answers a folder with its content, so folders read as not found.
    property string fileQuery: "/velmora/release/bin/cmsend"
    property string fileAnswer: "(not asked yet)"
    readonly property string raiseCommand: "dbus-send --session --dest=gem.base.simulator /gem/base/simulator gem.base.Simulator.RaiseTask string:Spectrum string:42"

    HBaseVolume { id: audio }
    HEnvironment { id: environment }
    FileExists { id: fileCheck }
    DesktopHandler {
        id: desktopHandler
        onTaskRaised: function (task_name, task_id) { page.lastTask = task_name + " (" + task_id + ")" }
        onError: function (msg) { page.lastTask = "desktop service: " + msg }
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
            Layout.preferredWidth: 1; Layout.preferredHeight: 1; Layout.fillWidth: true; Layout.fillHeight: true
            Text { objectName: "speaker"; text: "Speaker " + audio.volume; color: Theme.text; font.pixelSize: Theme.font }
            Slider {
                objectName: "speakerSlider"
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
            Switch { objectName: "mute"; text: "Mute"; checked: audio.mute; font.pixelSize: Theme.font; onToggled: audio.mute = checked }
            Item { Layout.fillHeight: true }     // content stays at the top
        }

        Card {
            title: "Tasks"
            Layout.preferredWidth: 1; Layout.preferredHeight: 1; Layout.fillWidth: true; Layout.fillHeight: true
            Text { objectName: "lastTask"; text: "Last raised: " + page.lastTask; wrapMode: Text.Wrap; Layout.fillWidth: true; color: Theme.text; font.pixelSize: Theme.font }
            Button { objectName: "askTasks"; text: "Ask the task manager"; font.capitalization: Font.MixedCase; onClicked: page.lastTask = desktopHandler.lastRaisedTask() || "(no answer)" }
            Text {
                // The simulator is on the demo's private bus: a shell in the same sandbox reaches it.
                text: "Raise one: run \"make demo-shell\" in the checkout while the demo runs, then\n" + page.raiseCommand
                color: Theme.dim
                font.pixelSize: Theme.small
                wrapMode: Text.Wrap
                Layout.fillWidth: true
            }
            Item { Layout.fillHeight: true }
        }

        Card {
            title: "Environment"
            Layout.preferredWidth: 1; Layout.preferredHeight: 1; Layout.fillWidth: true; Layout.fillHeight: true
            Text { text: "Product: " + environment.productName; color: Theme.text; font.pixelSize: Theme.font }
            Text { text: "Base directory: \"" + environment.baseDir + "\""; color: Theme.text; font.pixelSize: Theme.font }
            Text { text: "Failed service: " + environment.failedService; color: Theme.text; font.pixelSize: Theme.font }
            Item { Layout.fillHeight: true }
        }

        Card {
            title: "File check"
            Layout.preferredWidth: 1; Layout.preferredHeight: 1; Layout.fillWidth: true; Layout.fillHeight: true
            TextField { id: pathField; objectName: "filePath"; text: page.fileQuery; font.pixelSize: Theme.small; Layout.fillWidth: true }
            Button {
                objectName: "fileCheck"
                text: "Exists?"
                font.capitalization: Font.MixedCase
                onClicked: page.fileAnswer = pathField.text + (fileCheck.queryForFile(pathField.text) ? " exists" : " not found")
            }
            Text { objectName: "fileAnswer"; text: page.fileAnswer; color: Theme.text; font.pixelSize: Theme.font; elide: Text.ElideLeft; Layout.fillWidth: true }
            Item { Layout.fillHeight: true }
        }
    }
}
