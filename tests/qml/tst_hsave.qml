import QtQuick 2.15
import QtTest 1.2
import HBase 1.0

// HSave as the save screens drive it: enumerations, properties and the overloads reached from QML.
TestCase {
    name: "HSave"

    HSave { id: save }

    function test_enumerationsAndProperties() {
        compare(HSave.SAVE_SETUP, 1)
        compare(HSave.SAVE_CHANNEL_PLAN, 13)
        compare(HSave.LOAD_OVERLAY, 1)
        compare(HSave.COPY_EXIST, 2)
        compare(save.copyType, HSave.COPY_TRUE)
        compare(save.type, 1)
        compare(save.overlay, 0)
        save.copyType = HSave.COPY_EXIST_SAME
        save.type = HSave.SAVE_LAST
        save.overlay = HSave.LOAD_OVERLAY
        compare(save.copyType, 3)
        compare(save.type, 5)
        compare(save.overlay, 1)
    }

    function test_directoriesAndNames() {
        compare(save.getSaveLoadDir(), "/user/TK520/")
        compare(save.getDefaultDir(HSave.SAVE_SCREENSHOT), "/user/TK520/internal/quillbox/screenshots")
        verify(save.isDir(save.getDefaultDir(HSave.SAVE_SETUP)))
        verify(save.makeDir("/user/TK520/internal/quillbox/setup/", "fromQml"))
        verify(!save.makeDir("/user/TK520/internal/quillbox/setup/", "fromQml", false))
        verify(save.isEmptyFolder("/user/TK520/internal/quillbox/setup/fromQml"))
        compare(save.getFileCountinDir("/user/TK520/internal/quillbox/setup"), 0)
        compare(save.fileSuffix("/a/b.c.pdf"), "pdf")
        compare(save.getFileNameAppendix("/tmp", "none", "pdf"), "none")
    }

    function test_headerAndInterfaceTables() {
        save.clearAll()
        save.addCommonHeader("TabCount", 2)
        save.addCommonHeader("Technology", "LTE")
        save.addCommonUI("reportCompanyCnfg", "ACME")
        compare(save.getHeader("TabCount"), "2")
        compare(save.getHeader("Technology"), "LTE")
        compare(save.getUI("reportCompanyCnfg"), "ACME")
        compare(save.getHeader("missing"), "")
        save.clearAll()
        compare(save.getHeader("Technology"), "")
        compare(save.getUI("reportCompanyCnfg"), "")
    }
}
