#include "simcontrol.h"

#include "desktopservice.h"
#include "elfwire.h"
#include "simstream.h"

#include <QCoreApplication>
#include <QDBusMetaType>
#include <QTimer>

static const QString kInvalidArgs = QStringLiteral("org.freedesktop.DBus.Error.InvalidArgs");
static const QString kUnknownItem = QStringLiteral("gem.base.Error.UnknownItem");

QDBusArgument &operator<<(QDBusArgument &arg, const JournalEntry &entry)
{
    arg.beginStructure();
    arg << entry.service << entry.address << entry.argument;
    arg.endStructure();
    return arg;
}

const QDBusArgument &operator>>(const QDBusArgument &arg, JournalEntry &entry)
{
    arg.beginStructure();
    arg >> entry.service >> entry.address >> entry.argument;
    arg.endStructure();
    return arg;
}

SimControl::SimControl(Simulator *simulator, DesktopService *desktop, QObject *parent)
    : QObject(parent)
    , m_simulator(simulator)
    , m_desktop(desktop)
    , m_stream(new SimStream(simulator, this))
{
}

void SimControl::registerTypes()
{
    qDBusRegisterMetaType<JournalEntry>();
    qDBusRegisterMetaType<QVector<JournalEntry>>();
    qDBusRegisterMetaType<SimStats>();
}

QVector<JournalEntry> SimControl::Journal()
{
    return m_simulator->journal();
}

void SimControl::ClearJournal()
{
    m_simulator->clearJournal();
}

void SimControl::SetActionReply(const QString &address, const QString &reply)
{
    m_simulator->setActionReply(address, reply);
}

void SimControl::SetActionOutput(const QString &address, const QString &text)
{
    m_simulator->setActionOutput(address, text);
}

void SimControl::SetActionDelay(const QString &address, uint ms)
{
    m_simulator->setActionDelay(address, ms);
}

void SimControl::SetItem(const QString &address, const QDBusVariant &value, const QDBusVariant &initValue)
{
    QVariant init = ElfWire::fromWire(initValue.variant());
    if (init.userType() == QMetaType::QVariantMap && init.toMap().isEmpty())
        init = QVariant();
    QString error;
    if (!m_simulator->putItem(address, ElfWire::fromWire(value.variant()), init, &error))
        sendErrorReply(kInvalidArgs, error);
}

void SimControl::RemoveItem(const QString &address)
{
    if (!m_simulator->removeItem(address))
        sendErrorReply(kUnknownItem, QStringLiteral("no item %1").arg(address));
}

void SimControl::RaiseTask(const QString &name, const QString &id)
{
    m_desktop->raise(name, id);
}

void SimControl::SendInfo(const QString &app, const QString &msg)
{
    if (!m_simulator->sendInfo(app, msg))
        sendErrorReply(kInvalidArgs, QStringLiteral("no application %1").arg(app));
}

void SimControl::StreamChanges(const QString &address, uint perSecond, uint count)
{
    const SimItem *item = m_simulator->model().item(address);
    if (!item || item->type != QLatin1String("double") || perSecond == 0) {
        sendErrorReply(kInvalidArgs, QStringLiteral("%1 is no double item, or no rate is given").arg(address));
        return;
    }
    m_stream->start(address, perSecond, count);
}

SimStats SimControl::Stats()
{
    return m_simulator->stats();
}

void SimControl::Quit()
{
    // Answer first, then leave.
    QTimer::singleShot(0, qApp, &QCoreApplication::quit);
}
