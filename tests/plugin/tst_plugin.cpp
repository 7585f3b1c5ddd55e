#include <QtTest>
#include <QPluginLoader>
#include <QQmlComponent>
#include <QQmlEngine>
#include <QQmlExtensionPlugin>

// The module's types, as QML names them.
static const QStringList kTypeNames = QStringLiteral(
    "ZeTop ZeElfItems HMessageList HStringList HHotkeyList HPositionFileIO HListFile HScreenShot HSave HTagFile "
    "HRefreshImage H5GBand HEnvironment HEnumList DesktopHandler HMapProFileList HFavoriteDB HBaseVolume FileExists "
    "GaugeDraw GaugeSubDivModel ChannelPlanModel FrequencyLossModel CableListFilterModel").split(' ');

class TestPlugin : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    // The library's one entry gives the living plugin object. On Qt 5 it registers every type under the
    // URI it is given (the module's own, or another folder's); Qt 6 registers a module's types under
    // its own URI when the module is imported. At version 1.0 only.
    void pluginRegistersEveryType()
    {
        QLibrary library(QStringLiteral(HBASE_MODULE_DIR "/libhBase_plugin.so"));
        const auto instance = reinterpret_cast<QObject *(*)()>(library.resolve("qt_plugin_instance"));
        QVERIFY2(instance && instance() == QPluginLoader(library.fileName()).instance(),
                 qPrintable(library.errorString()));
#if QT_VERSION < QT_VERSION_CHECK(6, 0, 0)
        auto *plugin = qobject_cast<QQmlExtensionPlugin *>(instance());
        QVERIFY(plugin);
        plugin->registerTypes("Some.Other.Uri");
        const QStringList imports = {"HBase 1.0", "HBase 2.0", "Some.Other.Uri 1.0", "Some.Other.Uri 2.0"};
#else
        QVERIFY(qobject_cast<QQmlEngineExtensionPlugin *>(instance()));
        const QStringList imports = {"HBase 1.0", "HBase 2.0"};
#endif
        QQmlEngine engine;
        engine.addImportPath(QFileInfo(QStringLiteral(HBASE_MODULE_DIR)).path());
        for (const QString &import : imports) {
            for (const QString &type : kTypeNames) {
                QQmlComponent component(&engine);
                component.setData(QStringLiteral("import %1\n%2 {}\n").arg(import, type).toUtf8(), QUrl());
                QScopedPointer<QObject> object(component.create());
                QVERIFY2(bool(object) == import.endsWith("1.0"),
                         qPrintable(type + " " + import + component.errorString()));
            }
        }
    }
};

QTEST_MAIN(TestPlugin)
#include "tst_plugin.moc"
