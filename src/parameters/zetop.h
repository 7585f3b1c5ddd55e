#ifndef ZETOP_H
#define ZETOP_H

#include <QObject>
#include <QPointer>
#include <QString>
#include <QVariant>

class ZeElfItems;

// Small text helpers next to a parameter bridge: a configuration parameter read as text, and the
// "name:value" lines of the screens' summaries, where a channel standard shows only its middle field.
class ZeTop : public QObject
{
    Q_OBJECT
    Q_PROPERTY(ZeElfItems *elfHandle READ elfHandle WRITE setElfHandle NOTIFY elfHandleChanged)

public:
    explicit ZeTop(QObject *parent = nullptr);

    ZeElfItems *elfHandle() const;

    Q_INVOKABLE QString getConfigItem(const QString &item);
    Q_INVOKABLE QString getData(const QString &str, const QVariant &item, int resolution = 0) const;
    Q_INVOKABLE QString channelStandardCnfg(const QString &val) const;

public Q_SLOTS:
    void setElfHandle(ZeElfItems *val);

Q_SIGNALS:
    void elfHandleChanged();

private:
    // Not owned. A guarded pointer only so that a bridge QML destroyed first reads as "no bridge".
    QPointer<ZeElfItems> m_elfHandle;
};

#endif // ZETOP_H
