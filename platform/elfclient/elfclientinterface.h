#ifndef ELFCLIENTINTERFACE_H
#define ELFCLIENTINTERFACE_H

#include <QDBusAbstractInterface>
#include <QHash>
#include <QStringList>
#include <QVariant>

#include "elfdata.h"

// One item of a snapshot: its value and its manifest attributes.
struct ELFItemSnapshot
{
    QVariant value;
    QVariantMap attributes;
};

using ELFItemSnapshotTable = QHash<QString, ELFItemSnapshot>;

// Client of one application's parameter service ("gem.base." + application name) on the session bus.
//
// Clients are shared: every request for a service returns its one client, whatever parent it names;
// the library owns it, so callers may ask freely and never delete one. isValid() is true only while the
// service is on the bus.
class ELFClientInterface : public QDBusAbstractInterface
{
    Q_OBJECT

public:
    static ELFClientInterface *getSessionBusClient(const QString &service, QObject *parent = nullptr);

    ~ELFClientInterface() override;

    // Fills `addresses` with the addresses of the module's items, in the service's order, and loads
    // their values and attributes into the shared handles in the same single call. While a manifest of
    // the module lives, its list answers instead, without a call: its handles are current already.
    virtual bool moduleItems(const QString &module, QStringList &addresses);
    // The handle of the item at `address`, or null. Loaded items cost no bus call.
    virtual ELFClientItem *item(const QString &address);
    // Writes a value without waiting for the service.
    virtual bool setItemValue(const QString &address, const QVariant &value);
    // Calls an action and waits at most `timeoutMs`; true when the service answered "OK" in time.
    // Whenever the service answered in time, `reply` (when given) holds its answer, so callers that
    // preset "OK" see the application's own error text; a failed or late call leaves `reply` as the
    // caller set it.
    virtual bool callAction(const QString &address, const QString &argument, QString *reply = nullptr,
                            int timeoutMs = 500);
    // Fills `items` with every item of the application (address to value and attributes) and
    // `results` with its result items.
    virtual bool snapshot(ELFItemSnapshotTable &items, ELFItemSnapshotTable &results);

Q_SIGNALS:
    void SigInfo(const QString &msg);

protected:
    ELFClientInterface(const QString &service, QObject *parent);
};

#endif // ELFCLIENTINTERFACE_H
