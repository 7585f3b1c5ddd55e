#ifndef PLUGIN_H
#define PLUGIN_H

#include <QQmlExtensionPlugin>

// The module's entry: the QML engine creates one Plugin and calls registerTypes once with the URI
// under which the interface imports the module.
class Plugin : public QQmlExtensionPlugin
{
    Q_OBJECT
    Q_PLUGIN_METADATA(IID "org.qt-project.Qt.QQmlExtensionInterface")

public:
    explicit Plugin(QObject *parent = nullptr);
    ~Plugin() override;

    void registerTypes(const char *uri) override;
};

#endif // PLUGIN_H
