import QtQuick 2.15
import QtTest 1.2
import HBase 1.0

// The recent-files list from QML: its properties, its error signal and a restart on the same file.
TestCase {
    name: "HListFile"

    SignalSpy { id: errorSpy; signalName: "error" }

    function test_namesAndRestart() {
        var history = Qt.createQmlObject("import HBase 1.0\nHListFile {}\n", this, "history")
        errorSpy.target = history
        history.source = "/tmp/recent files.txt"
        compare(errorSpy.signalArguments[0][0], "Unable to open the file")
        compare(history.maxCntVisible, false)
        history.setDataAppend("trace1.sta", "1")
        history.setDataOrder("trace0.sta", "0")
        history.setData("trace2.sta")
        verify(/^\d\d\/\d\d\/\d{4} \d\d:\d\d:\d\d$/.test(history.getDate(2)), history.getDate(2))
        history.destroy()

        var restarted = Qt.createQmlObject("import HBase 1.0\nHListFile { source: \"/tmp/recent files.txt\" }\n",
                                           this, "restarted")
        compare([restarted.count(), restarted.getName(0), restarted.getName(3)], [3, "trace0.sta", ""])
        restarted.destroy()
    }
}
