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
    m_log.setCount(val);
}

void HMessageList::clearAllMsgList()
{
    m_log.clear();
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
