import QtQuick 2.15
import QtTest 1.2
import HBase 1.0

// The stored-positions table: "--" for empty rows, rows filled and cleared, packed into the file.
TestCase {
    name: "HPositionFileIO"

    function createPositions(source) {
        var positions = Qt.createQmlObject("import HBase 1.0\nHPositionFileIO {}\n", this, "positions")
        positions.source = source
        return positions
    }

    function test_fillClearAndRestart() {
        var positions = createPositions("/tmp/positions.txt")
        compare(positions.count(), 10)
        compare(positions.getData(2, 9), "--")
        positions.setData(4, "Mast 1", "51.5007", "-0.1246")
        positions.setData(6, "Mast 2", "48.8584", "2.2945")
        positions.delData(4)
        compare(positions.getData(0, 4), "--")
        compare(positions.getData(1, 6), "48.8584")
        positions.destroy()

        var restarted = createPositions("/tmp/positions.txt")
        compare(restarted.getData(0, 0), "Mast 2")
        compare(restarted.getData(2, 0), "2.2945")
        compare(restarted.getData(0, 6), "--")
        restarted.destroy()
    }
}
