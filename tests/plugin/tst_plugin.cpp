#include <QtTest>
#include <QLibrary>
#include <QPluginLoader>
#include <QQmlComponent>
#include <QQmlEngine>
#include <QQmlExtensionPlugin>

// The module's types in registration order, as QML names them.
static const QStringList kTypeNames = {
    QStringLiteral("ZeTop"),
    QStringLiteral("ZeElfItems"),
    QStringLiteral("HMessageList"),
    QStringLiteral("HStringList"),
    QStringLiteral("HHotkeyList"),
    QStringLiteral("HPositionFileIO"),
    QStringLiteral("HListFile"),
    QStringLiteral("HScreenShot"),
    QStringLiteral("HSave"),
    QStringLiteral("HTagFile"),
    QStringLiteral("HRefreshImage"),
    QStringLiteral("H5GBand"),
    QStringLiteral("HEnvironment"),
    QStringLiteral("HEnumList"),
    QStringLiteral("DesktopHandler"),
    QStringLiteral("HMapProFileList"),
    QStringLiteral("HFavoriteDB"),
    QStringLiteral("HBaseVolume"),
    QStringLiteral("FileExists"),
    QStringLiteral("GaugeDraw"),
    QStringLiteral("GaugeSubDivModel"),
    QStringLiteral("ChannelPlanModel"),
    QStringLiteral("FrequencyLossModel"),
    QStringLiteral("CableListFilterModel"),
};

static const char kPluginFile[] = HBASE_MODULE_DIR "/libhBase_plugin.so";

class TestPlugin : public QObject
{
    Q_OBJECT

private:
    // Creates `type` from a one-line document importing `import`; returns the errors, empty on success.
    static QString create(QQmlEngine &engine, const QString &import, const QString &type)
    {
        QQmlComponent component(&engine);
        component.setData(QStringLiteral("import %1\n%2 {}\n").arg(import, type).toUtf8(), QUrl());
        QScopedPointer<QObject> object(component.create());
        return object ? QString() : component.errorString();
    }

private Q_SLOTS:
    void instanceEntryReturnsTheLivingObject()
    {
        QLibrary library(QString::fromLatin1(kPluginFile));
        using InstanceFunction = QObject *(*)();
        auto instance = reinterpret_cast<InstanceFunction>(library.resolve("qt_plugin_instance"));
        QVERIFY2(instance, qPrintable(library.errorString()));
        QObject *first = instance();
        QVERIFY(first);
        QCOMPARE(instance(), first);
        QCOMPARE(first->metaObject()->className(), "Plugin");
        QVERIFY(qobject_cast<QQmlExtensionPlugin *>(first));

        QPluginLoader loader(QString::fromLatin1(kPluginFile));
        QCOMPARE(loader.instance(), first);
        QCOMPARE(loader.metaData().value("IID").toString(),
                 QStringLiteral("org.qt-project.Qt.QQmlExtensionInterface"));
        QCOMPARE(loader.metaData().value("className").toString(), QStringLiteral("Plugin"));
        QVERIFY(loader.metaData().value("MetaData").toObject().isEmpty());
    }

    void everyTypeIsCreatableAtVersionOneOnly()
    {
        QQmlEngine engine;
        engine.addImportPath(QFileInfo(QString::fromLatin1(HBASE_MODULE_DIR)).path());
        for (const QString &type : kTypeNames)
            QVERIFY2(create(engine, "HBase 1.0", type).isEmpty(), qPrintable(type));
        const QString error = create(engine, "HBase 2.0", "QtObject");
        QVERIFY2(error.contains("module \"HBase\" version 2.0 is not installed"), qPrintable(error));
    }

    void registersUnderAnyUri()
    {
        QPluginLoader loader(QString::fromLatin1(kPluginFile));
        auto *plugin = qobject_cast<QQmlExtensionPlugin *>(loader.instance());
        QVERIFY(plugin);
        plugin->registerTypes("Some.Other.Uri");
        QQmlEngine engine;
        for (const QString &type : kTypeNames)
            QVERIFY2(create(engine, "Some.Other.Uri 1.0", type).isEmpty(), qPrintable(type));
        if (!kTypeNames.isEmpty())
            QVERIFY(!create(engine, "Some.Other.Uri 2.0", kTypeNames.first()).isEmpty());
    }

    void typeInfoListsEveryType()
    {
        QFile file(QStringLiteral(HBASE_MODULE_DIR "/plugins.qmltypes"));
        QVERIFY(file.open(QIODevice::ReadOnly));
        const QString text = QString::fromUtf8(file.readAll());
        for (const QString &type : kTypeNames)
            QVERIFY2(text.contains(QStringLiteral("\"HBase/%1 1.0\"").arg(type)), qPrintable(type));
    }
};

QTEST_MAIN(TestPlugin)
#include "tst_plugin.moc"
