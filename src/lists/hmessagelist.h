#ifndef HMESSAGELIST_H
#define HMESSAGELIST_H

#include <QObject>
#include <QString>

#include "messagelog.h"

// The interface's message log: the most recent texts and, beside them, the most recent times of day,
// each a window of `count` entries, oldest first. Held in memory only.
class HMessageList : public QObject
{
    Q_OBJECT
    Q_PROPERTY(int count READ count WRITE setCount NOTIFY countChanged)

public:
    explicit HMessageList(QObject *parent = nullptr);

    int count() const;

    Q_INVOKABLE void clearAllMsgList();
    Q_INVOKABLE void setStringList(QString val);
    Q_INVOKABLE QString getStringList(int val) const;
    Q_INVOKABLE void setCurTime();
    Q_INVOKABLE QString getStringTime(int val) const;

public Q_SLOTS:
    void setCount(int val);

Q_SIGNALS:
    void countChanged();

private:
    MessageLog m_log;
};

#endif // HMESSAGELIST_H
