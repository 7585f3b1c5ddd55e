#include <QtTest>

#include "hmapprofilelist.h"
#include "simfixture.h"

// Runs in the sandbox: the profile directory lies on a private /user, the bus is a private one and
// the simulator plays the starter application where a test starts it.
static const QString kDir = QStringLiteral("/user/tarnwick5G/internal/.mapProfile");
static const QString kStarter = QStringLiteral("gem.base.starter_app");
static const QString kDelete = QStringLiteral(":action:starter_app:starter_reg_module:fileDelete:");
static const QString kCopy = QStringLiteral(":action:starter_app:starter_reg_module:fileCopy:");

static void write(const QString &path, const QByteArray &bytes)
{
    QDir().mkpath(QFileInfo(path).path());
    QFile file(path);
    QVERIFY(file.open(QIODevice::WriteOnly));
    file.write(bytes);
}

static void profile(const QString &relative, const QByteArray &header)
{
    write(kDir + "/" + relative, "{\"Header\":" + header + ",\"Tab1\":{\"x\":1}}");
}

// Texts of `key` over the whole list, in list order.
static QStringList column(const HMapProFileList &list, const QString &key)
{
    QStringList texts;
    for (int i = 0; i < list.getListSize(); ++i)
        texts.append(list.getListInfo(i, key));
    return texts;
}

static QStringList sorted(QStringList texts)
{
    texts.sort();
    return texts;
}

// The pick-list of `field`, sorted (its own order carries no meaning).
static QStringList values(const HMapProFileList &list, const QString &field)
{
    QStringList texts;
    for (int i = 0; i < list.getFilterSize(field); ++i)
        texts.append(list.getFilterName(i, field));
    return sorted(texts);
}

class TestHMapProFileList : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void init()
    {
        QDir(kDir).removeRecursively();
        QDir("/tmp/outside").removeRecursively();
    }

    void scanValuesAndFilters()
    {
        HMapProFileList list;
        list.readAll(); // no profile directory yet
        QCOMPARE(list.getListSize() + list.getFilterSize("Name"), 0);

        profile("a.mpcv", R"({"Name":"Alpha","RRUType":"R1","Frequency":1800,"Link":true,"LinkRate":2.5})");
        profile("b.mpcv", R"({"Name":"ALPHA","RRUType":"R2","Frequency":"900"})");
        profile("c.mpcv", R"({"RRUType":"R1","Frequency":1800})");
        write(kDir + "/bad.mpcv", "{\"Header\": {\"Name\": \"cut");
        write(kDir + "/noheader.mpcv", R"({"Tab1":{"Name":"x"}})");
        profile("notes.txt", R"({"Name":"Text"})");
        profile(".hidden.mpcv", R"({"Name":"Hidden"})");
        profile(".hiddenDir/h.mpcv", R"({"Name":"Hidden"})");
        // Matches in sub-folders are read by bare name from the top: the one of a.mpcv, or nothing.
        profile("sub/a.mpcv", R"({"Name":"Sub"})");
        profile("sub/deep/only.mpcv", R"({"Name":"Deep"})");
        write("/tmp/outside/o.mpcv", R"({"Header":{"Name":"Outside"}})");
        QVERIFY(QFile::link("/tmp/outside", kDir + "/linked"));

        list.readAll();
        QCOMPARE(sorted(column(list, "Name")), QStringList({"", "", "", "", "ALPHA", "Alpha", "Alpha"}));
        QCOMPARE(sorted(column(list, "Frequency")), QStringList({"", "", "", "1800", "1800", "1800", "900"}));
        QCOMPARE(sorted(column(list, "Link")).last() + sorted(column(list, "LinkRate")).last(), QStringLiteral("true2.5"));
        QCOMPARE(values(list, "Name"), QStringList({"", "ALPHA", "Alpha"}));
        QCOMPARE(values(list, "RRU Type"), QStringList({"", "R1", "R2"}));
        QCOMPARE(values(list, "Frequency"), QStringList({" MHz", "1800 MHz", "900 MHz"}));
        QCOMPARE(list.getFilterSize("Freq (MHz)"), 0);
        QCOMPARE(list.getFilterName(0, "name") + list.getFilterName(3, "Name"), QString());
        QCOMPARE(list.getListInfo(-1, "Name") + list.getListInfo(7, "Name"), QString());

        // Filters leave the pick-lists alone; a filter without field or keyword is a full readAll.
        profile("d.mpcv", R"({"Name":"Bravo","RRUType":"R3"})");
        list.readFilter("Name", "alph");
        QCOMPARE(sorted(column(list, "Name")), QStringList({"ALPHA", "Alpha", "Alpha"}));
        list.readFilter("RRUType", "r1");
        QCOMPARE(sorted(column(list, "RRUType")), QStringList({"R1", "R1", "R1"}));
        QCOMPARE(values(list, "Name"), QStringList({"", "ALPHA", "Alpha"}));
        list.readFilter("Name", "");
        QCOMPARE(list.getListSize(), 8);
        QCOMPARE(values(list, "Name"), QStringList({"", "ALPHA", "Alpha", "Bravo"}));

        list.readMultiFilter(",,,,", "zzz,zzz,,,");
        QCOMPARE(list.getListSize(), 8);
        // A profile without the filtered key passes; an empty keyword matches any value.
        list.readMultiFilter("Name,RRUType,,,", "alpha,,,,");
        QCOMPARE(sorted(column(list, "Name")), QStringList({"", "", "", "", "ALPHA", "Alpha", "Alpha"}));
        list.readMultiFilter("RRUType,,,,Frequency", "r,,,,9");
        QCOMPARE(sorted(column(list, "RRUType")), QStringList({"", "", "", "R2", "R3"}));
        list.readMultiFilter("Name", "brav");
        QCOMPARE(sorted(column(list, "Name")), QStringList({"", "", "", "", "Bravo"}));
        QCOMPARE(values(list, "Name"), QStringList({"", "ALPHA", "Alpha", "Bravo"}));
        list.readMultiFilter("", "");
        QCOMPARE(list.getListSize(), 8);
    }

    void sortsByUpperCaseText()
    {
        profile("1.mpcv", R"({"Name":"Banana","Frequency":"1800","Bandwidth":20})");
        profile("2.mpcv", R"({"Name":"apple","Frequency":"900","Bandwidth":100})");
        profile("3.mpcv", R"({"Frequency":"2600"})");
        profile("4.mpcv", R"({"Name":"cherry","Frequency":"700","Bandwidth":5})");
        HMapProFileList list;
        list.readAll();
        const QStringList scanOrder = column(list, "Name");
        list.sortField("Bogus", false);
        QCOMPARE(column(list, "Name"), scanOrder);
        list.sortField("Name", false);
        QCOMPARE(column(list, "Name"), QStringList({"", "apple", "Banana", "cherry"}));
        list.sortField("Bogus", true);
        QCOMPARE(column(list, "Name"), QStringList({"cherry", "Banana", "apple", ""}));
        list.sortField("Freq (MHz)", false);
        QCOMPARE(column(list, "Frequency"), QStringList({"1800", "2600", "700", "900"}));
        list.sortField("BW", true);
        QCOMPARE(column(list, "Bandwidth"), QStringList({"5", "20", "100", ""}));
    }

    void readsOneHeaderAndChecksNames()
    {
        profile("one.mpcv", R"({"Name":"One","Frequency":3500})");
        HMapProFileList list;
        list.read(kDir + "/one.mpcv");
        QCOMPARE((QStringList{list.getInfo("Name"), list.getInfo("Frequency")}), QStringList({"One", "3500"}));
        list.read(kDir + "/missing.mpcv");
        QCOMPARE(list.getInfo("Name"), QString());

        write("/tmp/other dir/one.mpcv", "");
        QVERIFY(list.isExistFile("/tmp/other dir/one.mpcv", kDir) && list.isExistFile("/tmp/other dir/one.mpcv", kDir + "/"));
        QVERIFY(!list.isExistFile(kDir + "/one.mpcv", "/tmp") && !list.isExistFile("/tmp/", kDir));
        QVERIFY(QDir().mkpath(kDir + "/folder.mpcv"));   // a folder of that name is no file
        QVERIFY(!list.isExistFile("/tmp/other dir/folder.mpcv", kDir));
    }

    void starterActionsAndTheirSenses()
    {
        profile("one.mpcv", R"({"Name":"One"})");
        const QString src = kDir + "/one.mpcv";
        const QString dst = "/tmp/copy; of 'it'";
        QDir().mkpath(dst);
        HMapProFileList list;
        SimFixture sim;
        QVERIFY2(sim.start(), qPrintable(sim.errorOutput()));

        QCOMPARE(list.fileCopy(src, dst), true);
        QVERIFY(QFile::exists(dst + "/one.mpcv"));
        QCOMPARE(list.fileDelete(dst + "/one.mpcv"), false);
        QVERIFY(!QFile::exists(dst + "/one.mpcv"));
        QCOMPARE(sim.journal(), (QVector<SimFixture::Entry>{{kStarter, kCopy, src + "|" + dst},
                                                             {kStarter, kDelete, dst + "/one.mpcv"}}));

        // A name holding "|" is copied all the same.
        profile("a|b.mpcv", R"({"Name":"Bar"})");
        QCOMPARE(list.fileCopy(kDir + "/a|b.mpcv", dst), true);
        QVERIFY(QFile(dst + "/a|b.mpcv").size() > 0);
        sim.clearJournal();

        // Any reply other than exactly "OK" is a failure: true for a delete, false for a copy.
        QVERIFY(sim.setActionReply(kDelete, "ok"));
        QVERIFY(sim.setActionReply(kCopy, "No space left"));
        QCOMPARE(list.fileDelete(src), true);
        QCOMPARE(list.fileCopy(src, dst), false);
        QVERIFY(QFile::exists(src));

        // A starter that answers after the 500 ms leaves the reply at "OK".
        QVERIFY(sim.setActionReply(kDelete, "Busy"));
        QVERIFY(sim.setActionDelay(kDelete, 1500));
        QElapsedTimer timer;
        timer.start();
        QCOMPARE(list.fileDelete(src), false);
        QVERIFY(timer.elapsed() < 1500);

        // Without the starter on the bus nothing is sent and the reply stays "OK".
        sim.stop();
        QCOMPARE(list.fileDelete(src), false);
        QCOMPARE(list.fileCopy(src, dst), true);
        QVERIFY(QFile::exists(src));
        QVERIFY(!QFile::exists(dst + "/one.mpcv"));
    }

    void readAllOfManyProfiles()
    {
        for (int i = 0; i < 10000; ++i)
            profile(QString("p%1.mpcv").arg(i),
                    QString(R"({"Name":"Map %1","RRUType":"R%2","Frequency":%3,"Link":"L"})")
                        .arg(i).arg(i % 7).arg(700 + i % 50).toUtf8());
        HMapProFileList list;
        QElapsedTimer timer;
        timer.start();
        list.readAll();
        const qint64 elapsed = timer.elapsed();
        qInfo("readAll of 10000 profiles: %lld ms", elapsed);
        QCOMPARE(QList<int>({list.getListSize(), list.getFilterSize("Name"), list.getFilterSize("RRU Type"),
                             list.getFilterSize("Frequency")}), QList<int>({10000, 10000, 7, 50}));
    }
};

QTEST_GUILESS_MAIN(TestHMapProFileList)
#include "tst_hmapprofilelist.moc"
