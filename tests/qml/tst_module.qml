import QtQuick 2.15
import QtTest 1.2
import HBase 1.0

// Every type of the module is creatable from QML under "import HBase 1.0", and none under 2.0.
TestCase {
    name: "Module"

    property var typeNames: [
        "ZeTop",
        "ZeElfItems",
        "HMessageList",
        "HStringList",
        "HHotkeyList",
        "HPositionFileIO",
        "HListFile",
        "HScreenShot",
        "HSave",
        "HTagFile",
        "HRefreshImage",
        "H5GBand",
        "HEnvironment",
        "HEnumList",
        "DesktopHandler",
        "HMapProFileList",
        "HFavoriteDB",
        "HBaseVolume",
        "FileExists",
        "GaugeDraw",
        "GaugeSubDivModel",
        "ChannelPlanModel",
        "FrequencyLossModel",
        "CableListFilterModel",
    ]

    function test_everyTypeCreatable() {
        for (var i = 0; i < typeNames.length; ++i) {
            var object = Qt.createQmlObject("import HBase 1.0\n" + typeNames[i] + " {}\n", this, typeNames[i])
            verify(object !== null, typeNames[i])
            object.destroy()
        }
    }

    function test_noOtherMajorVersion() {
        var message = ""
        try {
            Qt.createQmlObject("import HBase 2.0\nHEnvironment {}\n", this, "v2")
        } catch (e) {
            message = String(e.qmlErrors[0].message)
        }
        verify(message.indexOf("version 2.0 is not installed") >= 0, message)
    }

    function test_environmentFromQml() {
        var env = Qt.createQmlObject("import HBase 1.0\nHEnvironment {}\n", this, "env")
        compare([env.productName, env.baseDir, env.failedService], ["TK520", "", "Unknown service"])
        env.destroy()
    }
}
