#ifndef DESKHANDLER_H
#define DESKHANDLER_H

#include <QObject>
#include <QPointer>
#include <QString>

class ComTorvanelabsPlatformDesktopInterface;

// Hears the desktop service announce raised tasks on the session bus and passes them on to QML; asks
// the device's task manager for the last raised task through the device command tool.
class DeskHandler : public QObject
{
    Q_OBJECT

public:
    explicit DeskHandler(QObject *parent = nullptr);
    ~DeskHandler() override;

Q_SIGNALS:
    void taskRaised(const QString &task_name, const QString &task_id);
    void error(const QString &msg);

public Q_SLOTS:
    void slotTaskRaised(const QString &task_name, const QString &task_id);

public:
    Q_INVOKABLE bool setupDbusConnection(const QString &service, const QString &path);
    Q_INVOKABLE void cleanUp();
    Q_INVOKABLE QString lastRaisedTask();

private:
    void releaseInterface();
    QString busReason(const QString &service) const;

    // Guarded: cleanUp hands the interface to the event loop, which deletes it behind our back.
    QPointer<ComTorvanelabsPlatformDesktopInterface> m_desktopInterface;
    QString m_lastError;
    bool m_constructing = false;
    // Set only for an interface whose TaskRaised reaches slotTaskRaised.
    QMetaObject::Connection m_taskRaisedConnection;
};

#endif // DESKHANDLER_H
