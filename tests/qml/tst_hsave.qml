import QtQuick 2.15
import QtTest 1.2
import HBase 1.0

// HSave as the save screens drive it: enumerations, properties and the overloads reached from QML.
TestCase {
    name: "HSave"

    HSave { id: save }

    function test_enumerationsAndProperties() {
        compare([HSave.SAVE_SETUP, HSave.SAVE_CHANNEL_PLAN, HSave.COPY_EXIST], [1, 13, 2])
        compare([save.copyType, save.type, save.overlay], [HSave.COPY_TRUE, 1, 0])
        save.copyType = HSave.COPY_EXIST_SAME
        save.type = HSave.SAVE_LAST
        save.overlay = HSave.LOAD_OVERLAY
        compare([save.copyType, save.type, save.overlay], [3, 5, 1])
    }

    function test_directoriesAndNames() {
        compare(save.getSaveLoadDir(), "/user/TK520/")
        compare(save.getDefaultDir(HSave.SAVE_SCREENSHOT), "/user/TK520/internal/quillbox/screenshots")
        verify(save.isDir(save.getDefaultDir(HSave.SAVE_SETUP)))
        verify(save.makeDir("/user/TK520/internal/quillbox/setup/", "fromQml"))
        verify(!save.makeDir("/user/TK520/internal/quillbox/setup/", "fromQml", false))
        verify(save.isEmptyFolder("/user/TK520/internal/quillbox/setup/fromQml"))
        compare(save.getFileCountinDir("/user/TK520/internal/quillbox/setup"), 0)
        compare(save.fileSuffix("/a/b.c.pdf") + save.getFileNameAppendix("/tmp", "none", "pdf"), "pdfnone")
    }

    function test_headerAndInterfaceTables() {
        save.clearAll()
        save.addCommonHeader("TabCount", 2)
        save.addCommonHeader("Technology", "LTE")
        save.addCommonUI("reportCompanyCnfg", "ACME")
        compare([save.getHeader("TabCount"), save.getHeader("Technology"), save.getUI("reportCompanyCnfg"),
                 save.getHeader("missing")], ["2", "LTE", "ACME", ""])
        save.clearAll()
        compare(save.getHeader("Technology") + save.getUI("reportCompanyCnfg"), "")
    }
}
