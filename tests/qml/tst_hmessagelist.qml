import QtQuick 2.15
import QtTest 1.2
import HBase 1.0

// The message and string logs as the status pane uses them: a text and its time, newest at count - 1.
Item {
    HMessageList { id: messages }
    HStringList { id: strings }

    TestCase {
        name: "HMessageList"

        function test_logAndClear() {
            compare(messages.count, 10)
            messages.setStringList("Calibration done")
            messages.setCurTime()
            compare(messages.getStringList(9), "Calibration done")
            compare(messages.getStringList(8), "")
            verify(/^\d\d:\d\d:\d\d$/.test(messages.getStringTime(9)), messages.getStringTime(9))
            messages.count = 3
            messages.clearAllMsgList()
            compare(messages.count, 10)
            compare(messages.getStringList(9), "")
            compare(messages.getStringTime(9), "")
        }
    }

    TestCase {
        name: "HStringList"

        function test_log() {
            strings.count = 11
            strings.setStringList("a")
            strings.setStringList("b")
            compare(strings.getStringList(9), "a")
            compare(strings.getStringList(10), "b")
            compare(strings.getStringList(11), "")
            compare(strings.getStringTime(10), "")
            verify(strings.clearAllMsgList === undefined)
        }
    }
}
