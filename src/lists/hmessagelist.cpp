#include "hmessagelist.h"

#include <QTime>

namespace {
const char kTimeFormat[] = "hh:mm:ss";
}

HMessageList::HMessageList(QObject *parent)
    : QObject(parent)
{
}

int HMessageList::count() const
{
    return m_count;
}

// Only later appends follow the new length; the windows are not resized here.
void HMessageList::setCount(int val)
{
    m_count = val;
}

void HMessageList::clearAllMsgList()
{
    m_count = kDefaultCount;
    m_texts.reset(kDefaultCount);
    m_times.reset(kDefaultCount);
}

// Texts and times are appended separately, so each call moves its own window only.
void HMessageList::setStringList(QString val)
{
    m_texts.append(val, m_count);
}

QString HMessageList::getStringList(int val) const
{
    return m_texts.at(val);
}

void HMessageList::setCurTime()
{
    m_times.append(QTime::currentTime().toString(QLatin1String(kTimeFormat)), m_count);
}

QString HMessageList::getStringTime(int val) const
{
    return m_times.at(val);
}
