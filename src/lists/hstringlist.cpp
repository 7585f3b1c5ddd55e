#include "hstringlist.h"

HStringList::HStringList(QObject *parent)
    : QObject(parent)
{
}

int HStringList::count() const
{
    return m_log.count();
}

void HStringList::setCount(int val)
{
    if (val == m_log.count())
        return;
    m_log.setCount(val);
    emit countChanged();
}

void HStringList::setStringList(QString val)
{
    m_log.appendText(val);
}

QString HStringList::getStringList(int val) const
{
    return m_log.text(val);
}

void HStringList::setCurTime()
{
    m_log.appendTimeNow();
}

QString HStringList::getStringTime(int val) const
{
    return m_log.time(val);
}
