import QtQuick 2.15
import QtTest 1.2
import HBase 1.0

// Favourites and map profiles as the interface drives them: texts from JavaScript become file bytes,
// and the lists answer with plain strings and numbers.
TestCase {
    name: "FavoritesAndProfiles"

    HFavoriteDB { id: favorites }
    HMapProFileList { id: profiles }

    readonly property string favoriteDir: "/user/tarnwick5G/internal/.favorite/"
    readonly property string profileDir: "/user/tarnwick5G/internal/.mapProfile"

    function test_exportAndImportFromQml() {
        verify(favorites.mkDir(favoriteDir + "Drive test"))
        verify(favorites.mkFile(favoriteDir + "Drive test/route.stav", "{\"Header\":{\"Name\":\"Route 'A'\"}}"))
        verify(favorites.exportDB("/tmp/favorites.db"))
        verify(favorites.deleteDir(favoriteDir + "Drive test"))
        verify(favorites.importDB("/tmp/favorites.db"))
        verify(favorites.openDatabase("/tmp/favorites.db"))
        compare(favorites.getDatabaseName(), "/tmp/favorites.db")
        verify(favorites.exec("select * from FAVORITE_FILES") && !favorites.exec("select * from NO_TABLE"))
        favorites.closeDatabase()
        verify(!favorites.isOpenDatabase())
        // The imported file is back with its text, quotes and all.
        profiles.read(favoriteDir + "Drive test/route.stav")
        compare(profiles.getInfo("Name"), "Route 'A'")
    }

    function test_profilesFromQml() {
        verify(favorites.mkDir(profileDir))
        verify(favorites.mkFile(profileDir + "/a.mpcv", "{\"Header\":{\"Name\":\"north\",\"Frequency\":3500}}")
               && favorites.mkFile(profileDir + "/b.mpcv", "{\"Header\":{\"Name\":\"South\",\"Frequency\":700}}"))
        profiles.readAll()
        compare(profiles.getListSize(), 2)
        profiles.sortField("Name", true)
        compare([profiles.getListInfo(0, "Name"), profiles.getListInfo(1, "Frequency"), profiles.getListInfo(2, "Name")],
                ["South", "3500", ""])
        profiles.readFilter("Name", "NOR")
        compare([profiles.getListSize(), profiles.getFilterSize("Frequency")], [1, 2])
        profiles.read(profileDir + "/b.mpcv")
        compare(profiles.getInfo("Frequency"), "700")
        verify(profiles.isExistFile("/tmp/a.mpcv", profileDir))
        // No starter on this bus: a delete reads as done-without-failure, a copy as success.
        compare(profiles.fileDelete(profileDir + "/a.mpcv"), false)
        compare(profiles.fileCopy(profileDir + "/a.mpcv", "/tmp"), true)
    }
}
