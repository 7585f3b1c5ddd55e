#ifndef DESKTOPSERVICE_H
#define DESKTOPSERVICE_H

#include <QObject>

// The instrument's desktop service: announces which application task was brought to the front.
// Service and interface "com.torvanelabs.platform.Desktop", object "/com/torvanelabs/platform/Desktop".
class DesktopService : public QObject
{
    Q_OBJECT
    Q_CLASSINFO("D-Bus Interface", "com.torvanelabs.platform.Desktop")

public:
    static constexpr const char *serviceName = "com.torvanelabs.platform.Desktop";
    static constexpr const char *objectPath = "/com/torvanelabs/platform/Desktop";
    // Read by the cmsend stub to answer "guitaskmgr cmd get_last_raised_task".
    static constexpr const char *lastTaskFile = "/tmp/hbase-sim/last_raised_task";

    using QObject::QObject;

    void raise(const QString &name, const QString &id);

Q_SIGNALS:
    void TaskRaised(const QString &task_name, const QString &task_id);
};

#endif // DESKTOPSERVICE_H
