import QtQuick 2.15
import QtTest 1.2
import HBase 1.0

// Screenshots as the interface takes them: a capture of this window, saved through both forms of
// saveScreen, then shown by the refreshing image.
Item {
    width: 300
    height: 200

    HScreenShot { id: shot }
    HRefreshImage { id: image; width: 200; height: 100 }

    TestCase {
        name: "Report"
        when: windowShown

        // The screen outside this window is black: the same spot reads black, and white once inverted ("On").
        function test_captureSaveAndShow() {
            shot.configMap("Center", "1 GHz")
            shot.capture()
            shot.saveScreen("/tmp/qml shots", "s1", "Off", "LTE", "Spectrum")
            shot.saveScreen("/tmp/qml shots/s2.png", "On", "NR", "EVM")
            image.source = "/tmp/qml shots/s1.png"
            verify(Qt.colorEqual(grabImage(image).pixel(150, 40), "black"))
            image.source = "/tmp/qml shots/s2.png"
            verify(Qt.colorEqual(grabImage(image).pixel(150, 40), "white"))
        }

        function test_channelStandardTexts() {
            compare([shot.getChStdEnumString(67), shot.getChStdEnumString(-1)], ["NR - n78 - TDD 3300-3800 MHz", ""])
        }
    }
}
