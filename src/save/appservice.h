#ifndef APPSERVICE_H
#define APPSERVICE_H

#include <QJsonObject>
#include <QString>

class ELFClientInterface;

// An application's parameter service ("gem.base." + application name) as the save screens use it: the
// client, the settings module, the capture of a tab's settings and the save and recall handshakes.
class AppService
{
public:
    static ELFClientInterface *client(const QString &appName);
    // As client, null (with the warning "Client not valid") when the service is not on the bus.
    static ELFClientInterface *validClient(const QString &appName);
    // An action without a reply; a missing or absent service is a failed call.
    static bool callWithoutReply(ELFClientInterface *client, const QString &address, const QString &argument,
                                 int timeoutMs);

    // The module that holds an application's settings: "xyz_app" gives "xyz_reg_module".
    static QString settingsModule(const QString &appName);
    // The module a preset goes to: every "_app" of the name becomes "_reg_module".
    static QString presetModule(const QString &appName);

    // Adds the application's current settings to `table`, in one call for the whole module.
    static void captureTab(const QString &appName, QJsonObject *table);
    // Asks the application to write tab `tab`'s file itself.
    static void requestTabFile(const QString &appName, int tab);
    // Recalls the tab file at `path` in the three steps of a recall; false when the file names no
    // measurement mode of the application or a step failed.
    static bool recallTab(const QString &appName, const QString &path);
    // Recalls a result file: loaded as the application's state, or (overlay) as the trace `selTrace`
    // ends with.
    static void recallResult(const QString &appName, const QString &file, int overlay, const QString &selTrace);
    // Presets the application; when it refuses, the starter falls back to the built-in analyser.
    static void preset(const QString &appName);

    static const char s_replyOk[];
};

#endif // APPSERVICE_H
