import QtQuick 2.15
import QtTest 1.2
import HBase 1.0

// The message and string logs as the status pane uses them: two windows, texts and times of day,
// oldest first; each append pushes out at most one entry. Both types behave the same.
TestCase {
    name: "MessageLists"

    function init_data() {
        return [{tag: "HMessageList"}, {tag: "HStringList"}]
    }

    function texts(log, getter) {
        var result = []
        for (var i = -1; i <= 12; ++i)
            result.push(log[getter](i))
        return result.join("|")
    }

    function test_windows(data) {
        var log = Qt.createQmlObject("import HBase 1.0\n" + data.tag + " {}\n", this, data.tag)
        compare(log.count, 10)
        compare(texts(log, "getStringList"), "|||||||||||||")
        for (var i = 1; i <= 11; ++i)
            log.setStringList(String(i))
        compare(texts(log, "getStringList"), "|2|3|4|5|6|7|8|9|10|11|||")
        compare(texts(log, "getStringTime"), "|||||||||||||")

        log.count = 5
        log.setStringList("12")
        compare(texts(log, "getStringList"), "|3|4|5|6|7|8|9|10|11|12|||")
        log.count = 12
        for (i = 13; i <= 15; ++i)
            log.setStringList(String(i))
        compare(texts(log, "getStringList"), "|4|5|6|7|8|9|10|11|12|13|14|15|")

        log.setCurTime()
        compare(log.getStringTime(9), "")
        verify(/^\d\d:\d\d:\d\d$/.test(log.getStringTime(10)), log.getStringTime(10))
        compare(log.getStringList(11), "15")

        if (data.tag === "HMessageList") {
            log.clearAllMsgList()
            compare(log.count, 10)
            compare(texts(log, "getStringList") + texts(log, "getStringTime"), "||||||||||||||||||||||||||")
        } else {
            verify(log.clearAllMsgList === undefined)
        }
        log.destroy()
    }
}
