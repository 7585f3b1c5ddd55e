#ifndef ELFSERVICE_H
#define ELFSERVICE_H

#include "elfwire.h"

#include <QDBusConnection>
#include <QDBusContext>
#include <QObject>

class Simulator;

// The parameter service of one application: "gem.base.<app>" at /gem/base/elf, on a bus connection
// of its own (one object path per connection, so each application needs its own).
class ElfService : public QObject, protected QDBusContext
{
    Q_OBJECT
    Q_CLASSINFO("D-Bus Interface", "gem.base.Elf")

public:
    ElfService(Simulator *simulator, const QString &app, QObject *parent = nullptr);
    ~ElfService() override;

    // Opens the connection, exports the object and claims the name; false with `error` on failure.
    bool publish(QString *error);
    QString serviceName() const;

    void notifyChanged(const QString &address, const QVariant &value);
    void notifyInfo(const QString &msg);
    void notifyModuleChanged(const QString &module);

public Q_SLOTS:
    QList<ElfWireItem> ModuleItems(const QString &module);
    QDBusVariant Item(const QString &address, QVariantMap &attributes);
    void SetItemValue(const QString &address, const QDBusVariant &value);
    QString CallAction(const QString &address, const QString &argument);
    QVariantMap Snapshot();

Q_SIGNALS:
    void ItemChanged(const QString &address, const QDBusVariant &value);
    void SigInfo(const QString &msg);
    // Items were added to or removed from the module, or their attributes changed: clients that keep
    // the module's item list must ask for it again.
    void ModuleChanged(const QString &module);

private:
    Simulator *m_simulator;
    QString m_app;
    QString m_connectionName;
};

#endif // ELFSERVICE_H
