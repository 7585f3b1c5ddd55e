#ifndef ELFREGISTRY_H
#define ELFREGISTRY_H

#include <QDBusVariant>
#include <QHash>
#include <QObject>
#include <QPointer>
#include <QSet>
#include <QVariant>

class ElfData;
class ELFClientInterface;

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

    ELFClientInterface *cachedClient(const QString &service, QObject *parent) const;
    void cacheClient(const QString &service, QObject *parent, ELFClientInterface *client);

    // Keeps handles of `service` current from its ItemChanged signal (subscribed once per service).
    void listenTo(const QString &service);

    // Writes of a handle that the service has not acknowledged yet. While there are any, the service's
    // echoes of those values are ignored, so a fast series of writes (a slider being dragged) does not
    // jump back; any other value the service reports is taken at once.
    void writeSent(ElfData *handle, const QVariant &value);
    // Returns whether later writes of the handle are still unanswered.
    bool writeAcknowledged(ElfData *handle);

private Q_SLOTS:
    void onItemChanged(const QString &address, const QDBusVariant &value);

private:
    ElfRegistry() = default;
    ElfData *makeHandle(const QString &address, const QVariant &value);

    struct ClientEntry
    {
        QPointer<ELFClientInterface> client;
        QPointer<QObject> parent;
        bool hadParent = false;
    };

    QHash<QString, ElfData *> m_handles;
    QHash<QString, int> m_coverage;
    QHash<QPair<QString, QObject *>, ClientEntry> m_clients;
    QSet<QString> m_listened;
    struct PendingWrites
    {
        int count = 0;
        QVariantList values;
    };
    bool consumeEcho(ElfData *handle, const QVariant &value);

    QHash<ElfData *, PendingWrites> m_pendingWrites;
};

#endif // ELFREGISTRY_H
