import QtQuick 2.15
import QtQuick.Controls 2.15
import QtTest 1.2
import HBase 1.0

// The audio volume as the interface's settings page uses it: a slider bound both ways, values written
// and read through the device command tool (the recording stub in the sandbox).
Item {
    id: root
    width: 400
    height: 100

    HBaseVolume { id: volume }

    Slider {
        id: slider
        width: 300
        from: 0
        to: 150
        stepSize: 1
        value: volume.volume
        onMoved: volume.volume = value
    }

    Component { id: volumeComponent; HBaseVolume {} }
    Component { id: signalSpy; SignalSpy {} }

    TestCase {
        name: "HBaseVolume"
        when: windowShown

        function test_sliderWritesTheClampedVolume() {
            var changes = createTemporaryObject(signalSpy, root, {target: volume, signalName: "volumeChanged"})
            mouseClick(slider, slider.width - 1, slider.height / 2)
            // Press and release may both move the handle past 100; each write is clamped.
            verify(changes.count >= 1)
            for (var i = 0; i < changes.count; ++i)
                compare(changes.signalArguments[i][0], 100)
            compare(volume.volume, 100)
            // A fresh object reads back what the tool stored.
            var probe = createTemporaryObject(volumeComponent, root)
            compare(probe.volume, 100)
        }

        function test_pollPicksUpChangesMadeElsewhere() {
            var other = createTemporaryObject(volumeComponent, root)
            other.volume = 20
            other.micVolume = 55
            other.mute = !volume.mute
            volume.pollServiceForValues()
            compare([volume.volume, slider.value, volume.micVolume, volume.mute], [20, 20, 55, other.mute])
        }
    }
}
