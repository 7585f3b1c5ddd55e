import QtQuick 2.15
import QtTest 1.2
import HBase 1.0

// The tag editor from QML: the defaults on a first start, an edit, and a restart that shows it.
TestCase {
    name: "HTagFile"

    function createTags() {
        return Qt.createQmlObject("import HBase 1.0\nHTagFile {}\n", this, "tags")
    }

    function test_editAndRestart() {
        var tags = createTags()
        compare(tags.getTag("Test Type5"), "CL")
        tags.setTagName("Sector", 0, "North")
        tags.setTag("Termination2", 50)
        tags.destroy()

        var restarted = createTags()
        compare([restarted.getTag("Sector1"), restarted.getTag("Termination2"), restarted.getTag("Custom1")],
                ["North", "50", ""])
        restarted.destroy()
    }
}
