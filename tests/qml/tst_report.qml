import QtQuick 2.15
import QtTest 1.2
import HBase 1.0

// Screenshots and the refreshing image as the interface uses them: capture, save both ways, show the
// saved picture and show it again after it was rewritten under the same name.
Item {
    width: 300
    height: 200

    HScreenShot { id: shot }
    HRefreshImage { id: image; width: 200; height: 100 }

    TestCase {
        name: "Report"
        when: windowShown

        SignalSpy { id: sourceSpy; target: image; signalName: "sourceChanged" }

        function inverse(a, b) {
            return Math.abs(a.r + b.r - 1) < 0.01 && Math.abs(a.g + b.g - 1) < 0.01 && Math.abs(a.b + b.b - 1) < 0.01
        }

        function test_captureSaveAndShow() {
            shot.clearMap()
            shot.configMap("Center", "1 GHz")
            shot.configMap("T1", "Max")
            shot.capture()
            shot.saveScreen("/tmp/qml shots", "s1", "Off", "LTE", "Spectrum")
            shot.saveScreen("/tmp/qml shots/s2.png", "On", "NR", "EVM")

            image.source = "/tmp/qml shots/s1.png"
            compare(sourceSpy.count, 1)
            var normal = grabImage(image)
            // The screen outside this window is black; the band below the picture is white.
            verify(Qt.colorEqual(normal.pixel(150, 40), "black"))
            verify(Qt.colorEqual(normal.pixel(195, 97), "white"))

            // Rewritten under the same name, inverted: refresh shows the new picture.
            shot.saveScreen("/tmp/qml shots/s1.png", "On", "LTE", "Spectrum")
            image.refresh()
            compare(sourceSpy.count, 1)
            var inverted = grabImage(image)
            verify(Qt.colorEqual(inverted.pixel(150, 40), "white"))
            verify(Qt.colorEqual(inverted.pixel(195, 97), "white"))

            image.source = "/tmp/qml shots/s2.png"
            compare(sourceSpy.count, 2)
            var second = grabImage(image)
            for (var x = 0; x < 200; x += 10)
                verify(inverse(normal.pixel(x, 40), second.pixel(x, 40)), x)
        }

        function test_channelStandardTexts() {
            compare([shot.getChStdEnumString(67), shot.getChStdEnumString(-1)], ["NR - n78 - TDD 3300-3800 MHz", ""])
        }
    }
}
