#include "starterfiles.h"

#include "elfclientinterface.h"
#include "instrumentnames.h"

namespace {
const char kPairSeparator[] = "|";
const int kTimeoutMs = 500;
}

const char StarterFiles::s_copyAction[] = ":action:starter_app:starter_reg_module:fileCopy:";
const char StarterFiles::s_moveAction[] = ":action:starter_app:starter_reg_module:fileMove:";
const char StarterFiles::s_deleteAction[] = ":action:starter_app:starter_reg_module:fileDelete:";
const char StarterFiles::s_replyOk[] = "OK";

QString StarterFiles::send(const char *action, const QString &argument)
{
    QString reply = QString::fromLatin1(s_replyOk);
    ELFClientInterface *client
        = ELFClientInterface::getSessionBusClient(QString::fromLatin1(InstrumentNames::starterService));
    if (client && client->isValid())
        client->callAction(QString::fromLatin1(action), argument, &reply, kTimeoutMs);
    return reply;
}

QString StarterFiles::pair(const QString &src, const QString &dst)
{
    return src + QLatin1String(kPairSeparator) + dst;
}
