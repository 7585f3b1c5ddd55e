#include <QtTest>

#include "htagfile.h"

namespace {
const QString kDir = QStringLiteral("/base/qml_4410/hetnet_private");
const QString kFile = kDir + QStringLiteral("/tagNameList.json");
const QStringList kCategories = {"Site ID", "Sector", "Technology", "Test Type", "Termination", "Custom"};

// What a first start writes: the 17 default entries, keys sorted, in the JSON writer's layout.
const QByteArray kDefaultFile =
    "{\n    \"TagList\": {\n"
    "        \"Sector1\": \"Alpha\",\n        \"Sector2\": \"Beta\",\n        \"Sector3\": \"Gamma\",\n"
    "        \"Site ID1\": \"SiteA\",\n        \"Site ID2\": \"SiteB\",\n        \"Site ID3\": \"SiteC\",\n"
    "        \"Technology1\": \"GSM900\",\n        \"Technology2\": \"WCDMA850\",\n"
    "        \"Technology3\": \"LTE180\",\n        \"Termination1\": \"Open\",\n"
    "        \"Termination2\": \"Load\",\n        \"Termination3\": \"Antenna\",\n"
    "        \"Test Type1\": \"RL\",\n        \"Test Type2\": \"VSWR\",\n        \"Test Type3\": \"DTF-RL\",\n"
    "        \"Test Type4\": \"DTF-VSWR\",\n        \"Test Type5\": \"CL\"\n"
    "    }\n}\n";

QByteArray fileBytes(const QString &path = kFile)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray("<missing>");
}

void writeFile(const QByteArray &bytes)
{
    QFile file(kFile);
    QVERIFY(file.open(QIODevice::WriteOnly | QIODevice::Truncate));
    file.write(bytes);
}

// The state right after a read of the default file: 15 entries per category.
QMap<QString, QString> readDefaults()
{
    QMap<QString, QString> tags;
    for (const QString &category : kCategories)
        for (int n = 1; n <= 15; ++n)
            tags.insert(category + QString::number(n), QString());
    const QStringList lines = QString::fromUtf8(kDefaultFile).split('\n').filter(QStringLiteral("\": \""));
    for (const QString &line : lines) {
        const QStringList parts = line.trimmed().remove(',').split(QStringLiteral("\": \""));
        tags.insert(parts.at(0).mid(1), parts.at(1).chopped(1));
    }
    return tags;
}

// The file the tag file writes for plain texts, laid out by hand (keys in code-unit order).
QByteArray expectedFile(const QMap<QString, QString> &tags)
{
    QStringList lines;
    for (auto it = tags.cbegin(); it != tags.cend(); ++it)
        lines.append(QStringLiteral("        \"%1\": \"%2\"").arg(it.key(), it.value()));
    return "{\n    \"TagList\": {\n" + lines.join(",\n").toUtf8() + "\n    }\n}\n";
}
}

class TestHTagFile : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void initTestCase()
    {
        // The tag file lives at a fixed path of the instrument: only ever run inside the test sandbox.
        QVERIFY2(qEnvironmentVariableIsSet("HBASE_CHECKOUT"), "run through ctest (tests/sandbox)");
    }

    void init()
    {
        QDir(QStringLiteral("/base/qml_4410")).removeRecursively();
        QVERIFY(QDir().mkpath(kDir));
    }

    void firstStartWritesTheDefaultsAndReadsThemBack()
    {
        HTagFile tags;
        QCOMPARE(fileBytes(), kDefaultFile);
        QCOMPARE(tags.getTag("Test Type4"), QStringLiteral("DTF-VSWR"));
        QCOMPARE(tags.getTag("Custom1"), QStringLiteral(""));
        tags.save();
        QCOMPARE(fileBytes(), expectedFile(readDefaults()));
    }

    void missingDirectoryKeepsTheDefaultsInMemoryOnly()
    {
        QDir(QStringLiteral("/base/qml_4410")).removeRecursively();
        HTagFile tags;
        tags.setTagName("Sector", 0, "North");
        QCOMPARE(tags.getTag("Site ID1"), QStringLiteral(""));
        QCOMPARE(tags.getTag("Sector1"), QStringLiteral(""));
        QCOMPARE(QDir(QStringLiteral("/base")).entryList(QDir::NoDotAndDotDot | QDir::AllEntries), {});

        // Once the storage set-up has made the directory, the next save writes what the user kept.
        QVERIFY(QDir().mkpath(kDir));
        tags.save();
        QCOMPARE(fileBytes(), QByteArray(kDefaultFile).replace("\"Alpha\"", "\"North\""));
    }

    void editsByCategoryAndPosition()
    {
        QMap<QString, QString> expected = readDefaults();
        {
            HTagFile tags;
            tags.setTagName("Sector", 0, "North");
            expected["Sector1"] = "North";
            QCOMPARE(fileBytes(), expectedFile(expected));

            tags.setTagName("Sector", 20, "Delta");
            tags.setTagName("Sector", -1, "Omega"); // kept as a new last entry, never written before the list
            expected["Sector16"] = "Delta";
            expected["Sector17"] = "Omega";
            QCOMPARE(fileBytes(), expectedFile(expected));
            QCOMPARE(tags.getTag("Sector16"), QStringLiteral("Delta"));

            tags.setTagName("Site ID", 1, "");
            expected["Site ID2"] = "SiteC";
            expected["Site ID3"] = "";
            expected.remove("Site ID15");
            QCOMPARE(fileBytes(), expectedFile(expected));

            // No change, but the file is rewritten every time.
            struct Edit { const char *tag; int num; const char *value; };
            for (const Edit &edit : {Edit{"Site ID", -1, ""}, Edit{"Site ID", 14, ""}, Edit{"site id", 0, "x"},
                                     Edit{"Region", 0, "x"}}) {
                writeFile("stale");
                tags.setTagName(edit.tag, edit.num, edit.value);
                QCOMPARE(fileBytes(), expectedFile(expected));
            }
        }
        // A restart reads back the first 15 entries of each list; keys above 15 stay readable until a save.
        HTagFile restarted;
        QCOMPARE(restarted.getTag("Sector1"), QStringLiteral("North"));
        QCOMPARE(restarted.getTag("Sector17"), QStringLiteral("Omega"));
        restarted.save();
        QCOMPARE(restarted.getTag("Sector17"), QStringLiteral(""));
        expected.remove("Sector16");
        expected.remove("Sector17");
        expected["Site ID15"] = "";
        QCOMPARE(fileBytes(), expectedFile(expected));
    }

    void setTagChangesTheEntryItsKeyNames()
    {
        QMap<QString, QString> expected = readDefaults();
        HTagFile tags;
        tags.setTagName("Custom", 0, "");
        tags.setTag("Custom15", "Rooftop"); // the list had 14 entries: padded, not written outside it
        tags.setTag("Sector2", "");
        tags.setTag("Technology1", 42);
        expected["Custom15"] = "Rooftop";
        expected["Sector2"] = "";
        expected["Technology1"] = "42";
        QCOMPARE(fileBytes(), expectedFile(expected));
        QCOMPARE(tags.getTag("Custom15"), QStringLiteral("Rooftop"));

        for (const char *key : {"Custom16", "Sector01", "Sector", "Region1"}) {
            QTest::ignoreMessage(QtWarningMsg, qPrintable(QStringLiteral("setTag key \"%1\" names no tag entry").arg(key)));
            tags.setTag(key, "lost?");
            QCOMPARE(tags.getTag(key), QStringLiteral(""));
        }
        QCOMPARE(fileBytes(), expectedFile(expected));
    }

    void damagedFilesReadAsEmptyLists()
    {
        QMap<QString, QString> empty = readDefaults();
        for (QString &value : empty)
            value.clear();
        const QByteArray truncated = kDefaultFile.left(kDefaultFile.size() / 2);
        for (const QByteArray &bytes : {truncated, QByteArray("not json"), QByteArray("[1,2]"),
                                        QByteArray("{\"TagList\": \"SiteA\"}"), QByteArray()}) {
            writeFile(bytes);
            HTagFile tags;
            QCOMPARE(tags.getTag("Site ID1"), QStringLiteral(""));
            tags.save();
            QCOMPARE(fileBytes(), expectedFile(empty));
        }

        writeFile("{\"TagList\": {\"Site ID1\": 5, \"Site ID2\": true, \"Site ID3\": null, \"Site ID4\": [1],"
                  " \"Site ID20\": \"far\", \"odd key\": \"x\"}}");
        HTagFile tags;
        const QStringList texts = {tags.getTag("Site ID1"), tags.getTag("Site ID2"), tags.getTag("Site ID3"),
                                   tags.getTag("Site ID4"), tags.getTag("Site ID20"), tags.getTag("odd key")};
        QCOMPARE(texts, QStringList({"5", "true", "", "", "far", "x"}));
        tags.save();
        empty["Site ID1"] = "5";
        empty["Site ID2"] = "true";
        QCOMPARE(fileBytes(), expectedFile(empty));
    }

    void unreadablePathChangesNothing()
    {
        QVERIFY(QDir().mkpath(kFile)); // a folder where the file should be: exists, but never opens
        HTagFile tags;
        tags.setTagName("Sector", 0, "North");
        QCOMPARE(tags.getTag("Sector1"), QStringLiteral(""));
        QCOMPARE(QDir(kDir).entryList(QDir::NoDotAndDotDot | QDir::AllEntries), {"tagNameList.json"});
        QCOMPARE(QDir(kFile).entryList(QDir::NoDotAndDotDot | QDir::AllEntries), {});
    }
};

QTEST_GUILESS_MAIN(TestHTagFile)
#include "tst_htagfile.moc"
