import QtQuick 2.15
import QtTest 1.2
import HBase 1.0

// The hot-key editor: edits on the working list while the display shows the confirmed backup.
TestCase {
    name: "HHotkeyList"

    HHotkeyList { id: keys }

    function test_editWithBackup() {
        keys.setValue(2)
        keys.setValue(7)
        keys.copyToListBackup()
        keys.setBackupMode(true)
        keys.remove(2)
        keys.setValue(9)
        compare(keys.getCount(), 2)
        compare(keys.getValue(0), 2)
        keys.copyToListBackup()
        compare(keys.getCount(), 2)
        compare(keys.getValue(0), 7)
        compare(keys.getValue(1), 9)
        compare(keys.getValue(2), -1)
        keys.clearList()
        compare(keys.getCount(), 0)
    }
}
