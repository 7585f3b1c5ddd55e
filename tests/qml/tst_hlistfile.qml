import QtQuick 2.15
import QtTest 1.2
import HBase 1.0

// The recent-files list: names added as the file dialogs do, read back by index, kept across a restart.
TestCase {
    name: "HListFile"

    property string path: "/tmp/recent files.txt"

    function createHistory(source) {
        var history = Qt.createQmlObject("import HBase 1.0\nHListFile {}\n", this, "history")
        if (source !== undefined)
            history.source = source
        return history
    }

    SignalSpy { id: errorSpy; signalName: "error" }

    function test_namesAndRestart() {
        var history = createHistory()
        errorSpy.target = history
        errorSpy.clear()
        history.source = path
        compare(errorSpy.count, 1)
        compare(errorSpy.signalArguments[0][0], "Unable to open the file")
        compare(history.maxCntVisible, false)

        history.setDataAppend("trace1.sta", "1")
        history.setDataOrder("trace0.sta", "0")
        history.setData("trace2.sta")
        history.setDataAppend("trace1.sta", "9")
        compare(history.count(), 3)
        compare(history.getName(0), "trace0.sta")
        compare(history.getDate(1), "1")
        verify(/^\d\d\/\d\d\/\d{4} \d\d:\d\d:\d\d$/.test(history.getDate(2)), history.getDate(2))
        compare(history.getName(3), "")
        history.delData("trace0.sta")
        history.destroy()

        var restarted = createHistory(path)
        compare(restarted.count(), 2)
        compare(restarted.getName(0), "trace1.sta")
        compare(restarted.getName(1), "trace2.sta")
        restarted.maxCntVisible = true
        compare(restarted.maxCntVisible, true)
        restarted.destroy()
    }
}
