import QtQuick 2.15
import QtTest 1.2
import HBase 1.0

// The stored-positions table from QML: "--" for empty rows, a filled row read back after a restart.
TestCase {
    name: "HPositionFileIO"

    function createPositions() {
        return Qt.createQmlObject("import HBase 1.0\nHPositionFileIO { source: \"/tmp/positions.txt\" }\n",
                                  this, "positions")
    }

    function test_fillAndRestart() {
        var positions = createPositions()
        compare([positions.count(), positions.getData(2, 9)], [10, "--"])
        positions.setData(6, "Mast 2", "48.8584", "2.2945")
        positions.destroy()

        var restarted = createPositions()
        compare([restarted.getData(2, 0), restarted.getData(0, 6)], ["2.2945", "--"])
        restarted.destroy()
    }
}
