import QtQuick 2.15
import QtTest 1.2
import HBase 1.0

// Enumeration lists and the 5G NR spacing table as the measurement screens use them.
TestCase {
    name: "Models"

    HEnumList { id: enums; source: Qt.resolvedUrl("data/enums.json") }

    H5GBand { id: band }

    function test_enumerationFromAFileUrl() {
        verify(String(enums.source).indexOf("file://") === 0)
        compare(enums.loaded, false)
        verify(enums.loadFile(true))
        compare(enums.loaded, true)
        compare(enums.query, "*")

        var items = enums.getListByFullId(":config:spectrumanalyzer_app:spectrum:mode:")
        compare(items.length, 2)
        compare(items[1].label, "Zero Span")
        compare(items[1].disable, 1)
        compare(enums.getLabelList(":config:spectrumanalyzer_app:spectrum:mode:"), ["Swept", "Zero Span"])
        compare(enums.getLabelMap(":config:spectrumanalyzer_app:spectrum:mode:").zero, "Zero Span")

        enums.enableSubIdforItemId("spectrum:mode", "zero")
        compare(enums.getList("spectrum:mode")[1].disable, 0)
        verify(enums.addNewSubItemforItemId("spectrum:mode", "gated", "Gated", 2, 2))
        compare(enums.getList("spectrum:mode")[2].enum, 2)
        verify(!enums.addNewSubItemforItemId("spectrum:nope", "x", "X", 0, 0))
        compare(enums.getTr("Swept"), "Swept")
    }

    function test_spacings() {
        band.setBandStByMeas("Channel Power", "FR2", "400")
        compare(band.getBandCount(), 2)
        compare(band.getSCS(0), "120 (Case D)")
        compare(band.getSCS(1), "240 (Case E)")
        compare(band.getSCS(2), "")
        compare(band.getSCS(-1), "")
        compare(band.getBandwidth(0), "")
        band.setBandStByMeas("Channel Power", "1-C 1-H", "100 MHz")
        compare(band.getBandCount(), 4)
    }
}
