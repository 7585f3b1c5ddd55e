import QtQuick 2.15
import QtTest 1.2
import HBase 1.0

// The tag editor: the defaults on a first start, edits by category and position, and a restart
// (a new object on the same file) that shows what the user kept.
TestCase {
    name: "HTagFile"

    function createTags() {
        return Qt.createQmlObject("import HBase 1.0\nHTagFile {}\n", this, "tags")
    }

    function test_editAndRestart() {
        var tags = createTags()
        compare(tags.getTag("Site ID1"), "SiteA")
        compare(tags.getTag("Test Type5"), "CL")
        compare(tags.getTag("Custom1"), "")

        tags.setTagName("Sector", 0, "North")
        tags.setTagName("Custom", 0, "Rooftop 3")
        tags.setTagName("Site ID", 0, "")
        tags.setTag("Termination2", "50 Ohm")
        compare(tags.getTag("Sector1"), "North")
        compare(tags.getTag("Site ID1"), "SiteB")
        tags.destroy()

        var restarted = createTags()
        compare(restarted.getTag("Sector1"), "North")
        compare(restarted.getTag("Custom1"), "Rooftop 3")
        compare(restarted.getTag("Site ID2"), "SiteC")
        compare(restarted.getTag("Site ID3"), "")
        compare(restarted.getTag("Termination2"), "50 Ohm")
        restarted.read()
        compare(restarted.getTag("Termination3"), "Antenna")
        restarted.destroy()
    }
}
