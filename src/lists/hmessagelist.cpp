#include "hmessagelist.h"

HMessageList::HMessageList(QObject *parent)
    : HStringList(parent)
{
}

void HMessageList::clearAllMsgList()
{
    const int before = m_log.count();
    // Clearing also brings the window back to its first length.
    m_log.clear();
    if (m_log.count() != before)
        emit countChanged();
}
