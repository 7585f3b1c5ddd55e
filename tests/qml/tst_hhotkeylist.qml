import QtQuick 2.15
import QtTest 1.2
import HBase 1.0

// The hot-key editor: edits go to the working list while the display may show the confirmed backup.
TestCase {
    name: "HHotkeyList"

    function shown(keys) {
        var values = []
        for (var i = -1; i <= keys.getCount(); ++i)
            values.push(keys.getValue(i))
        return values.join(",")
    }

    function test_editWithBackup() {
        var keys = Qt.createQmlObject("import HBase 1.0\nHHotkeyList {}\n", this, "keys")
        compare(shown(keys), "-1,-1")
        keys.setValue(3)
        keys.setValue(5)
        keys.setValue(3)
        keys.remove(3)
        keys.remove(9)
        compare(shown(keys), "-1,5,-1")

        keys.copyToListBackup()
        keys.setBackupMode(true)
        keys.setValue(7)
        keys.clearList()
        keys.setValue(9)
        compare(shown(keys), "-1,5,-1")
        keys.copyToListBackup()   // also leaves backup mode
        keys.setValue(4)
        compare(shown(keys), "-1,9,4,-1")
        keys.setBackupMode(true)
        compare(shown(keys), "-1,9,-1")
        keys.destroy()
    }
}
