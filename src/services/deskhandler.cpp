#include "deskhandler.h"

#include "hbaselogging.h"

#include <QDBusConnection>
#include <QDBusConnectionInterface>
#include <QDBusError>
#include <QFileInfo>
#include <QLoggingCategory>

#include "comtorvanelabsplatformdesktopinterface.h"
#include "devicecommand.h"

namespace {
const char kServiceName[] = "com.torvanelabs.platform.Desktop";
const char kObjectPath[] = "/com/torvanelabs/platform/Desktop";
const char kCommandTool[] = "/velmora/release/bin/cmsend";
const char kTaskManager[] = "guitaskmgr";
const char kCommand[] = "cmd";
const char kGetLastRaisedTask[] = "get_last_raised_task";
const int kToolTimeoutMs = 1000;
const char kInvalidInterfaceMessage[] = "Client DBus Interface not valid, error: ";
const char kConnectedMessage[] = "Connnected Desktop service : ";
}

DeskHandler::DeskHandler(QObject *parent)
    : QObject(parent)
{
    // An error signalled from here would reach nobody: QML connects its handlers after construction.
    // The first attempt's error is therefore delivered once the event loop runs again.
    m_constructing = true;
    setupDbusConnection(QString::fromLatin1(kServiceName), QString::fromLatin1(kObjectPath));
    m_constructing = false;
}

// The handler releases whatever interface it still holds, including one cleanUp scheduled but the
// event loop has not deleted yet (deleting it cancels that pending deletion), so nothing outlives it.
DeskHandler::~DeskHandler()
{
    releaseInterface();
}

void DeskHandler::slotTaskRaised(const QString &task_name, const QString &task_id)
{
    qCDebug(lcDesktop) << "slotTaskRaised"
                       << ":" << task_name << "," << task_id;
    emit taskRaised(task_name, task_id);
}

bool DeskHandler::setupDbusConnection(const QString &service, const QString &path)
{
    // Connected means valid and listening. A failed interface turns valid by itself once the service
    // appears on the bus (QtDBus follows the name's owner), but nothing listens to it: it is replaced.
    if (m_desktopInterface && m_desktopInterface->isValid() && m_taskRaisedConnection)
        return true;

    // A failed attempt's interface is never used again; it goes before its replacement comes.
    releaseInterface();
    m_desktopInterface = new ComTorvanelabsPlatformDesktopInterface(service, path, QDBusConnection::sessionBus());

    if (!m_desktopInterface->isValid()) {
        m_lastError = busReason(service);
        qCCritical(lcDesktop).noquote() << QLatin1String(kInvalidInterfaceMessage) + m_lastError;
        if (m_constructing) {
            const QString reason = m_lastError;
            QMetaObject::invokeMethod(
                this, [this, reason] { emit error(reason); }, Qt::QueuedConnection);
        } else {
            emit error(m_lastError);
        }
        return false;
    }

    qCCritical(lcDesktop).noquote() << QLatin1String(kConnectedMessage) + m_desktopInterface->service();
    m_taskRaisedConnection = connect(m_desktopInterface.data(), &ComTorvanelabsPlatformDesktopInterface::TaskRaised,
                                     this, &DeskHandler::slotTaskRaised);
    return true;
}

// The interface keeps no error of its own when the service is simply absent; the bus then says why.
QString DeskHandler::busReason(const QString &service) const
{
    const QString reason = m_desktopInterface->lastError().message();
    if (!reason.isEmpty())
        return reason;
    QDBusConnection bus = QDBusConnection::sessionBus();
    if (!bus.isConnected())
        return bus.lastError().message();
    return bus.interface()->serviceOwner(service).error().message();
}

void DeskHandler::cleanUp()
{
    if (m_desktopInterface && m_desktopInterface->isValid())
        m_desktopInterface->deleteLater();
}

QString DeskHandler::lastRaisedTask()
{
    QString task;
    const QString tool = QString::fromLatin1(kCommandTool);
    if (!QFileInfo::exists(tool))
        return task;

    bool overran = false;
    const QString text = DeviceCommand::run(
        tool,
        {QString::fromLatin1(kTaskManager), QString::fromLatin1(kCommand), QString::fromLatin1(kGetLastRaisedTask)},
        kToolTimeoutMs, &overran);
    // What a tool printed before it was killed is no answer.
    if (overran)
        return task;
    const QStringList fields = text.split(QLatin1Char(' '), Qt::KeepEmptyParts);

    // The task manager answers `task "NAME"`; a name holding a space cannot be told apart from junk.
    if (fields.size() == 2)
        task = fields.at(1).simplified().remove(QLatin1Char('"'));
    return task;
}

void DeskHandler::releaseInterface()
{
    m_taskRaisedConnection = QMetaObject::Connection();
    delete m_desktopInterface.data();
    m_desktopInterface.clear();
}
