#ifndef HSTRINGLIST_H
#define HSTRINGLIST_H

#include <QObject>
#include <QString>

#include "messagelog.h"

// A log for the interface: the most recent texts and, beside them, the most recent times of day, each a
// window of `count` entries, oldest first. Held in memory only; HMessageList adds clearing.
class HStringList : public QObject
{
    Q_OBJECT
    Q_PROPERTY(int count READ count WRITE setCount NOTIFY countChanged)

public:
    explicit HStringList(QObject *parent = nullptr);

    int count() const;

    Q_INVOKABLE void setStringList(QString val);
    Q_INVOKABLE QString getStringList(int val) const;
    Q_INVOKABLE void setCurTime();
    Q_INVOKABLE QString getStringTime(int val) const;

public Q_SLOTS:
    void setCount(int val);

Q_SIGNALS:
    void countChanged();

protected:
    MessageLog m_log;
};

#endif // HSTRINGLIST_H
