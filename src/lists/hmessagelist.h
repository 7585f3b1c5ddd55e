#ifndef HMESSAGELIST_H
#define HMESSAGELIST_H

#include "hstringlist.h"

// The interface's message log: an HStringList that can also be cleared. Held in memory only.
class HMessageList : public HStringList
{
    Q_OBJECT

public:
    explicit HMessageList(QObject *parent = nullptr);

    Q_INVOKABLE void clearAllMsgList();
};

#endif // HMESSAGELIST_H
