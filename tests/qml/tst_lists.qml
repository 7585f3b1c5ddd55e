import QtQuick 2.15
import QtTest 1.2
import HBase 1.0

// The small lists and stores as the interface drives them from JavaScript: the status pane's logs, the
// hot-key editor, the recent-files list's error signal, favourites and map profiles.
TestCase {
    name: "Lists"

    HHotkeyList { id: keys }
    HListFile { id: history }
    HFavoriteDB { id: favorites }
    HMapProFileList { id: profiles }
    SignalSpy { id: errorSpy; target: history; signalName: "error" }
    SignalSpy { id: limitSpy; target: history; signalName: "maxCntVisibleChanged" }

    function create(type) {
        return createTemporaryQmlObject("import HBase 1.0\n" + type + " {}\n", this, type)
    }

    // Every entry from one before the first to one past the last, joined.
    function entries(read, last) {
        var result = []
        for (var i = -1; i <= last; ++i)
            result.push(read(i))
        return result.join("|")
    }

    // Two windows, oldest first; each append pushes out at most one entry. Both types behave the same.
    function test_messageWindows_data() {
        return [{tag: "HMessageList"}, {tag: "HStringList"}]
    }

    function test_messageWindows(data) {
        var log = create(data.tag)
        var texts = function() { return entries(log.getStringList, 12) }
        compare([log.count, texts()], [10, "|||||||||||||"])
        for (var i = 1; i <= 11; ++i)
            log.setStringList(String(i))
        compare(texts(), "|2|3|4|5|6|7|8|9|10|11|||")
        compare(entries(log.getStringTime, 12), "|||||||||||||")
        log.count = 5
        log.setStringList("12")
        compare(texts(), "|3|4|5|6|7|8|9|10|11|12|||")
        log.count = 12
        for (i = 13; i <= 15; ++i)
            log.setStringList(String(i))
        compare(texts(), "|4|5|6|7|8|9|10|11|12|13|14|15|")
        log.setCurTime()
        compare(log.getStringTime(9), "")
        verify(/^\d\d:\d\d:\d\d$/.test(log.getStringTime(10)), log.getStringTime(10))
        if (data.tag === "HMessageList") {
            log.clearAllMsgList()
            compare([log.count, texts() + entries(log.getStringTime, 12)], [10, "||||||||||||||||||||||||||"])
        } else {
            verify(log.clearAllMsgList === undefined)
        }
    }

    // Edits go to the working list while the display may show the confirmed backup.
    function test_hotkeysWithBackup() {
        var shown = function() { return entries(keys.getValue, keys.getCount()) }
        compare(shown(), "-1|-1")
        keys.setValue(3)
        keys.setValue(5)
        keys.setValue(3)
        keys.remove(3)
        keys.remove(9)
        compare(shown(), "-1|5|-1")
        keys.copyToListBackup()
        keys.setBackupMode(true)
        keys.setValue(7)
        keys.clearList()
        keys.setValue(9)
        compare(shown(), "-1|5|-1")
        keys.copyToListBackup()   // also leaves backup mode
        keys.setValue(4)
        compare(shown(), "-1|9|4|-1")
        keys.setBackupMode(true)
        compare(shown(), "-1|9|-1")
    }

    function test_historyErrorReachesQml() {
        history.source = "/tmp/recent files.txt"
        compare(errorSpy.signalArguments[0][0], "Unable to open the file")
        compare(history.maxCntVisible, false)
        history.maxCntVisible = true
        history.maxCntVisible = true
        compare([history.maxCntVisible, limitSpy.count], [true, 1])
    }

    // Texts from JavaScript, quotes and all, come back as strings; sizes as numbers.
    function test_profilesFromJavaScript() {
        var dir = "/user/tarnwick5G/internal/.mapProfile"
        verify(favorites.mkDir(dir))
        verify(favorites.mkFile(dir + "/a.mpcv", "{\"Header\":{\"Name\":\"Route 'A'\",\"Frequency\":3500}}")
               && favorites.mkFile(dir + "/b.mpcv", "{\"Header\":{\"Name\":\"South\",\"Frequency\":700}}"))
        profiles.read(dir + "/a.mpcv")
        compare(profiles.getInfo("Name"), "Route 'A'")
        profiles.readAll()
        profiles.sortField("Name", true)
        compare([profiles.getListSize(), profiles.getListInfo(0, "Name"), profiles.getListInfo(1, "Frequency"),
                 profiles.getListInfo(2, "Name")], [2, "South", "3500", ""])
        verify(favorites.openDatabase("/tmp/favorites.db"))
        verify(favorites.exec("select 1") && !favorites.exec("select * from NO_TABLE"))
        favorites.closeDatabase()
    }
}
