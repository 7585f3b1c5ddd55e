#ifndef ELFREGISTRY_H
#define ELFREGISTRY_H

#include <QDBusVariant>
#include <QHash>
#include <QObject>
#include <QSet>
#include <QStringList>
#include <QVariant>

class ElfData;
class ELFClientInterface;
class QDBusServiceWatcher;

// The library's process-wide state: every item handle by address, how many living manifests cover
// each address, and the shared clients. Handles are never deleted while the process runs, because
// QML and the plugin's objects keep bare pointers to them.
class ElfRegistry : public QObject
{
    Q_OBJECT

public:
    static ElfRegistry &instance();

    ElfData *find(const QString &address) const;
    // Creates the handle on first sight (of the array kind its address or value asks for) or
    // updates its value and attributes, emitting valueChanged when the value changed.
    ElfData *store(const QString &service, const QString &address, const QVariant &value,
                   const QVariantMap &attributes);

    void cover(const QStringList &addresses);
    void uncover(const QStringList &addresses);
    bool isCovered(const QString &address) const;

    // One client per service, shared by every caller and owned by the library.
    ELFClientInterface *client(const QString &service) const;
    void keepClient(const QString &service, ELFClientInterface *client);

    // Keeps handles of `service` current from its ItemChanged signal, and the module lists of living
    // manifests from its ModuleChanged signal and its leaving or coming back (subscribed once per service).
    void listenTo(const QString &service);

    // Module lists of living manifests. While a manifest of a module lives, its handles are kept current
    // by the service's signals, so the module's item list can answer moduleItems without a round trip.
    // A list is forgotten when the service reports the module changed or the service's owner changes.
    void holdModule(const QString &service, const QString &module, const QStringList &addresses);
    void releaseModule(const QString &service, const QString &module);
    // The list of a module a living manifest holds and that is still current, or null.
    const QStringList *livingModule(const QString &service, const QString &module) const;
    // A list fresh from the service: it becomes current for the living manifests of the module.
    void moduleLoaded(const QString &service, const QString &module, const QStringList &addresses);

    // Writes of a handle that the service has not acknowledged yet. While there are any, the service's
    // echoes of those values are ignored, so a fast series of writes (a slider being dragged) does not
    // jump back; any other value the service reports is taken at once.
    void writeSent(ElfData *handle, const QVariant &value);
    // Returns whether later writes of the handle are still unanswered.
    bool writeAcknowledged(ElfData *handle);

private Q_SLOTS:
    void onItemChanged(const QString &address, const QDBusVariant &value);
    void onModuleChanged(const QString &module);
    void onOwnerChanged(const QString &service);

private:
    ElfRegistry() = default;
    ElfData *makeHandle(const QString &address, const QVariant &value);

    struct ModuleEntry
    {
        int manifests = 0;
        bool current = false;
        QStringList addresses;
    };
    using ModuleKey = QPair<QString, QString>; // service, module

    QHash<QString, ElfData *> m_handles;
    QHash<QString, int> m_coverage;
    QHash<QString, ELFClientInterface *> m_clients;
    QSet<QString> m_listened;
    QHash<ModuleKey, ModuleEntry> m_modules;
    QDBusServiceWatcher *m_owners = nullptr;
    struct PendingWrites
    {
        int count = 0;
        QVariantList values;
    };
    bool consumeEcho(ElfData *handle, const QVariant &value);

    QHash<ElfData *, PendingWrites> m_pendingWrites;
};

#endif // ELFREGISTRY_H
