import QtQuick 2.15
import QtTest 1.2
import HBase 1.0

// Enumeration lists and the 5G NR spacing table as the measurement screens use them.
TestCase {
    name: "Models"

    HEnumList { id: enums; source: Qt.resolvedUrl("data/enums.json") }

    H5GBand { id: band }

    // A file URL, as Qt.resolvedUrl gives it, loads the file; items reach QML as objects.
    function test_enumerationFromAFileUrl() {
        verify(String(enums.source).indexOf("file://") === 0)
        compare(enums.loaded, false)
        verify(enums.loadFile(true))
        compare([enums.loaded, enums.query], [true, "*"])

        var items = enums.getListByFullId(":config:spectrumanalyzer_app:spectrum:mode:")
        compare([items[1].label, items[1].disable], ["Zero Span", 1])
        compare(enums.getLabelList(":config:spectrumanalyzer_app:spectrum:mode:"), ["Swept", "Zero Span"])
        compare(enums.getLabelMap(":config:spectrumanalyzer_app:spectrum:mode:").zero, "Zero Span")
        verify(enums.addNewSubItemforItemId("spectrum:mode", "gated", "Gated", 2, 2))
        compare(enums.getList("spectrum:mode")[2].enum, 2)
    }

    function test_spacings() {
        band.setBandStByMeas("Channel Power", "FR2", "400")
        compare([band.getBandCount(), band.getSCS(0), band.getBandwidth(0)], [2, "120 (Case D)", ""])
    }
}
