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
// Setup, tab and result files are a few megabytes at most; reading stops here so that a huge file
// picked by mistake does not exhaust memory (what was read then simply does not parse).
const qint64 kMaxJsonBytes = 64 * 1024 * 1024;
const qint64 kReadChunkBytes = 64 * 1024;
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

// Sized by the file, not by the bound: a bound-sized buffer would be reserved for every small file. A
// file that reports no size (or grows meanwhile) is read on to its end, still within the bound.
QByteArray HSave::readJsonBytes(QFile &file)
{
    QByteArray bytes = file.read(qBound(qint64(0), file.size() - file.pos(), kMaxJsonBytes));
    while (bytes.size() < kMaxJsonBytes) {
        const QByteArray more = file.read(qMin(kReadChunkBytes, kMaxJsonBytes - bytes.size()));
        if (more.isEmpty())
            break;
        bytes += more;
    }
    return bytes;
}

QString HSave::timeStamp()
{
    return QDateTime::currentDateTime().toString(QString::fromLatin1(kTimeStampFormat));
}
