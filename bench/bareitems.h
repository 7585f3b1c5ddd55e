#ifndef BAREITEMS_H
#define BAREITEMS_H

#include <QDBusVariant>
#include <QObject>
#include <QString>

class LiveProbe;

// The floor of live values: a bare QDBusConnection receiving a service's ItemChanged signals and
// decoding each value into a QVariant (a number as it is, an array of doubles into a QVariantList),
// with no handles, no bookkeeping and nothing bound. Each value goes to the probe.
class BareItems : public QObject
{
    Q_OBJECT

public:
    BareItems(const QString &service, LiveProbe *probe);
    ~BareItems() override;

private Q_SLOTS:
    void onItemChanged(const QString &address, const QDBusVariant &value);

private:
    QString m_service;
    LiveProbe *m_probe;
};

#endif // BAREITEMS_H
