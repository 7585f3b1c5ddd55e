#include "hsave.h"

#include "hbaselogging.h"

#include <QDateTime>
#include <QFile>

#include "elfclientinterface.h"
#include "hpdf.h"
#include "persistentlog.h"

namespace {
// The remote-control service keeps the hash of its password here.
const char kScpiHashFile[] = "/home/root/.scpi_hash.sha";
const char kTimeStampFormat[] = "yyMMddhhmmss";
}

HSave::HSave(QObject *parent)
    : QObject(parent)
    , m_scpiHashFile(QString::fromLatin1(kScpiHashFile))
    , m_pdf(new HPdf(this))
    , m_persistentLog(new persistentLog)
{
    createDefaultDirs();
}

HSave::~HSave() = default;

HSave::CopyReply HSave::copyType() const
{
    return m_copyType;
}

void HSave::setCopyType(CopyReply copyType)
{
    if (m_copyType == copyType)
        return;
    m_copyType = copyType;
    emit copyTypeChanged();
}

int HSave::type() const
{
    return m_type;
}

void HSave::setType(int type)
{
    if (m_type == type)
        return;
    m_type = type;
    emit typeChanged();
}

int HSave::overlay() const
{
    return m_overlay;
}

void HSave::setOverlay(int overlay)
{
    if (m_overlay == overlay)
        return;
    m_overlay = overlay;
    emit overlayChanged();
}

ELFClientInterface *HSave::appClient(const QString &appName)
{
    return ELFClientInterface::getSessionBusClient(QLatin1String(s_servicePrefix) + appName);
}

bool HSave::callWithoutReply(ELFClientInterface *client, const QString &address, const QString &argument, int timeoutMs)
{
    return client && client->isValid() && client->callAction(address, argument, nullptr, timeoutMs);
}

QString HSave::timeStamp()
{
    return QDateTime::currentDateTime().toString(QString::fromLatin1(kTimeStampFormat));
}
