#ifndef COMTORVANELABSPLATFORMDESKTOPINTERFACE_H
#define COMTORVANELABSPLATFORMDESKTOPINTERFACE_H

#include <QDBusAbstractInterface>
#include <QDBusConnection>
#include <QString>

// Proxy of the desktop service. It offers no methods: the interface only listens for TaskRaised,
// which QtDBus subscribes to on the bus when something connects to the Qt signal.
class ComTorvanelabsPlatformDesktopInterface : public QDBusAbstractInterface
{
    Q_OBJECT

public:
    static const char *staticInterfaceName() { return "com.torvanelabs.platform.Desktop"; }

    ComTorvanelabsPlatformDesktopInterface(const QString &service, const QString &path,
                                           const QDBusConnection &connection, QObject *parent = nullptr);
    ~ComTorvanelabsPlatformDesktopInterface() override;

Q_SIGNALS:
    void TaskRaised(const QString &task_name, const QString &task_id);
};

#endif // COMTORVANELABSPLATFORMDESKTOPINTERFACE_H
