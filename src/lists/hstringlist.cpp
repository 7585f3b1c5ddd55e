#include "hstringlist.h"

#include <QTime>

namespace {
const char kTimeFormat[] = "hh:mm:ss";
}

HStringList::HStringList(QObject *parent)
    : QObject(parent)
{
}

int HStringList::count() const
{
    return m_count;
}

// Only later appends follow the new length; the windows are not resized here.
void HStringList::setCount(int val)
{
    m_count = val;
}

// Texts and times are appended separately, so each call moves its own window only.
void HStringList::setStringList(QString val)
{
    m_texts.append(val, m_count);
}

QString HStringList::getStringList(int val) const
{
    return m_texts.at(val);
}

void HStringList::setCurTime()
{
    m_times.append(QTime::currentTime().toString(QLatin1String(kTimeFormat)), m_count);
}

QString HStringList::getStringTime(int val) const
{
    return m_times.at(val);
}
