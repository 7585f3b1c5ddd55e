#include "hmessagelist.h"

HMessageList::HMessageList(QObject *parent)
    : QObject(parent)
{
}

int HMessageList::count() const
{
    return m_log.count();
}

void HMessageList::setCount(int val)
{
    if (val == m_log.count())
        return;
    m_log.setCount(val);
    emit countChanged();
}

void HMessageList::clearAllMsgList()
{
    const int before = m_log.count();
    // Clearing also brings the window back to its first length.
    m_log.clear();
    if (m_log.count() != before)
        emit countChanged();
}

void HMessageList::setStringList(QString val)
{
    m_log.appendText(val);
}

QString HMessageList::getStringList(int val) const
{
    return m_log.text(val);
}

void HMessageList::setCurTime()
{
    m_log.appendTimeNow();
}

QString HMessageList::getStringTime(int val) const
{
    return m_log.time(val);
}
