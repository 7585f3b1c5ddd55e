#include <QtTest>

#include "henumlist.h"

namespace {
const char kEnums[] = R"({
  "spectrum:mode": [
    {"id": "b", "label": "Swept", "enum": 0, "dispSeq": 2},
    {"id": "a", "label": "Zero Span", "enum": 1, "dispSeq": 1, "disable": 1},
    {"id": "b", "label": "Swept B", "enum": 2, "dispSeq": 0},
    {"id": "c", "enum": 3}
  ],
  "c:d": [{"id": "x", "label": "X"}],
  "cd": [{"id": "y", "label": "Y"}],
  "b": [{"id": "z", "label": "Z"}]
})";

QVariantMap item(const QVariantList &list, int i)
{
    return list.value(i).toMap();
}
}

// Answers "Mittenfrequenz" for the one label HEnumList translates, and only in its context.
class GermanTranslator : public QTranslator
{
public:
    QString translate(const char *context, const char *sourceText, const char *, int) const override
    {
        if (qstrcmp(context, "HEnumList") == 0 && qstrcmp(sourceText, "Center Frequency") == 0)
            return QStringLiteral("Mittenfrequenz");
        return QString();
    }
};

class TestHEnumList : public QObject
{
    Q_OBJECT

private:
    // Spaces, quotes and ';' in the folder: the path is used as given, never interpreted.
    QTemporaryDir m_dir{QDir::tempPath() + QStringLiteral("/enum lists 'x';XXXXXX")};

    QString write(const QString &name, const QByteArray &bytes)
    {
        const QString path = m_dir.filePath(name);
        QFile file(path);
        if (!file.open(QIODevice::WriteOnly) || file.write(bytes) != bytes.size())
            qFatal("cannot write %s", qPrintable(path));
        return path;
    }

    void load(HEnumList &list, const QString &path)
    {
        list.setFile(QStringLiteral("file://") + path);
        QVERIFY(list.loadFile(false));
    }

private Q_SLOTS:
    void queriesByKeyAndAddress()
    {
        HEnumList list;
        load(list, write("enums.json", kEnums));
        QVERIFY(list.getIsLoad());

        const QVariantList mode = list.getList("spectrum:mode");
        QCOMPARE(mode.size(), 4);
        QCOMPARE(item(mode, 1), (QVariantMap{{"id", "a"}, {"label", "Zero Span"}, {"enum", 1.0},
                                             {"dispSeq", 1.0}, {"disable", 1.0}}));
        QCOMPARE(item(mode, 0).value("enum").userType(), int(QMetaType::Double));
        QCOMPARE(list.getList("Spectrum:mode"), QVariantList());
        QCOMPARE(list.getListByFullId(":config:spectrumanalyzer_app:spectrum:mode:"), mode);

        // The key is cut out of the address blindly; these find the lists "c:d", "cd" and "b".
        QCOMPARE(item(list.getListByFullId(":a:b:c:d:"), 0).value("id").toString(), QStringLiteral("x"));
        QCOMPARE(item(list.getListByFullId("xa:b:c:d"), 0).value("id").toString(), QStringLiteral("y"));
        QCOMPARE(item(list.getListByFullId("abc"), 0).value("id").toString(), QStringLiteral("z"));
        QCOMPARE(list.getListByFullId(""), QVariantList());
        QCOMPARE(list.getListByFullId(":"), QVariantList());

        // Ordered by sub-id, the later "b" wins, a missing label stays an invalid value.
        const QVariantMap labels = list.getLabelMap(":config:spectrumanalyzer_app:spectrum:mode:");
        QCOMPARE(labels.keys(), (QStringList{"a", "b", "c"}));
        QCOMPARE(labels.value("b"), QVariant(QStringLiteral("Swept B")));
        QVERIFY(!labels.value("c").isValid());
        QVERIFY(labels.contains("c"));
        QCOMPARE(list.getLabelMapByShortId("spectrum:mode"), labels);
        QCOMPARE(list.getLabelMapByShortId(":config:spectrumanalyzer_app:spectrum:mode:"), QVariantMap());

        QCOMPARE(list.getLabelList(":config:spectrumanalyzer_app:spectrum:mode:"),
                 (QStringList{"Swept", "Zero Span", "Swept B", ""}));
        QCOMPARE(list.getLabelList("spectrum:mode"), QStringList());
    }

    void changesStayInMemoryUntilTheNextLoad()
    {
        HEnumList list;
        const QString path = write("enums.json", kEnums);
        load(list, path);

        list.replaceLabelForId("spectrum:mode", "", "Gated");
        list.replaceLabelForId("spectrum:mode", "Swept", "Sweep");
        list.replaceLabelForId("spectrum:mode", "swept b", "never");
        list.disableSubIdforItemId("spectrum:mode", "b");
        list.enableSubIdforItemId("spectrum:mode", "a");
        QVERIFY(list.addNewSubItemforItemId("spectrum:mode", "b", "Third B", 7, 9));

        QVariantList mode = list.getList("spectrum:mode");
        QCOMPARE(mode.size(), 5);
        QCOMPARE(item(mode, 0).value("label"), QVariant(QStringLiteral("Sweep")));
        QCOMPARE(item(mode, 0).value("disable"), QVariant(1));
        QCOMPARE(item(mode, 0).value("disable").userType(), int(QMetaType::Int));
        QCOMPARE(item(mode, 1).value("disable"), QVariant(0));
        QCOMPARE(item(mode, 2).value("label"), QVariant(QStringLiteral("Swept B")));
        QCOMPARE(item(mode, 2).value("disable"), QVariant(1));
        QCOMPARE(item(mode, 3), (QVariantMap{{"id", "c"}, {"label", "Gated"}, {"enum", 3.0}}));
        QCOMPARE(item(mode, 4), (QVariantMap{{"id", "b"}, {"label", "Third B"}, {"enum", 7}, {"dispSeq", 9}}));

        // Unknown keys: nothing changes and no list appears.
        list.replaceLabelForId("nope", "", "x");
        list.disableSubIdforItemId("nope", "b");
        QVERIFY(!list.addNewSubItemforItemId("nope", "b", "x", 1, 1));
        QCOMPARE(list.getList("nope"), QVariantList());
        QCOMPARE(list.getLabelMapByShortId("nope"), QVariantMap());

        QVERIFY(list.loadFile(true));
        mode = list.getList("spectrum:mode");
        QCOMPARE(mode.size(), 4);
        QCOMPARE(item(mode, 0).value("label"), QVariant(QStringLiteral("Swept")));
        QVERIFY(!item(mode, 0).contains("disable"));
        QCOMPARE(item(mode, 1).value("disable"), QVariant(1.0));
        QFile file(path);
        QVERIFY(file.open(QIODevice::ReadOnly));
        QCOMPARE(file.readAll(), QByteArray(kEnums));
    }

    void badFilesKeepThePreviousTable()
    {
        HEnumList list;
        const QString missing = m_dir.filePath("missing.json");
        list.setFile(missing);
        QTest::ignoreMessage(QtDebugMsg, qPrintable("\"Cannot read " + missing + ": No such file or directory\""));
        QVERIFY(!list.loadFile(true));
        QVERIFY(!list.getIsLoad());

        load(list, write("enums.json", kEnums));
        const QString broken = write("broken.json", QByteArray(kEnums).left(60));
        list.setFile(broken);
        QTest::ignoreMessage(QtDebugMsg, QRegularExpression("^\"Cannot parse .*broken.json at offset \\d+: .+\"$"));
        QVERIFY(!list.loadFile(true));
        QVERIFY(list.getIsLoad());
        QCOMPARE(list.getList("spectrum:mode").size(), 4);

        // A top level array is a document without lists.
        load(list, write("array.json", "[{\"spectrum:mode\": []}]"));
        QCOMPARE(list.getList("spectrum:mode"), QVariantList());
        QVERIFY(list.getIsLoad());
    }

    void membersOfTheWrongTypeConvertAsVariantsDo()
    {
        HEnumList list;
        load(list, write("odd.json", R"({
          "scalar": 5,
          "object": {"id": "a"},
          "items": [7, "text", {"id": {"x": 1}, "label": 3}, {"id": 4, "label": true}, {"id": null}]
        })"));
        QCOMPARE(list.getList("scalar"), QVariantList());
        QCOMPARE(list.getList("object"), QVariantList());
        QCOMPARE(list.getLabelMapByShortId("items"),
                 (QVariantMap{{"", QVariant()}, {"4", true}}));
        QCOMPARE(list.getLabelList("::x:items:"), (QStringList{"", "", "3", "true", ""}));

        // A list key holding no array is treated as an empty list, and writing to it makes it one.
        QVERIFY(list.addNewSubItemforItemId("scalar", "s", "S", 1, 2));
        QCOMPARE(list.getList("scalar").size(), 1);
        list.replaceLabelForId("items", "", "L");
        QCOMPARE(list.getLabelList("::x:items:"), (QStringList{"L", "L", "3", "true", "L"}));
    }

    void translatesOneLabel()
    {
        GermanTranslator translator;
        QCoreApplication::installTranslator(&translator);
        HEnumList list;
        QCoreApplication::removeTranslator(&translator);
        QCOMPARE(list.getTr("Center Frequency"), QStringLiteral("Mittenfrequenz"));
        QCOMPARE(list.getTr("Span"), QStringLiteral("Span"));
        QCOMPARE(list.getTr("center frequency"), QStringLiteral("center frequency"));

        HEnumList untranslated;
        QCOMPARE(untranslated.getTr("Center Frequency"), QStringLiteral("Center Frequency"));
    }
};

QTEST_GUILESS_MAIN(TestHEnumList)
#include "tst_henumlist.moc"
