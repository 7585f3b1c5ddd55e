#include "hsave.h"

#include "storagetree.h"

#include "hpdf.h"
#include "persistentlog.h"

namespace {
// The remote-control service keeps the hash of its password here.
const char kScpiHashFile[] = "/home/root/.scpi_hash.sha";
} // namespace

HSave::HSave(QObject *parent)
    : QObject(parent)
    , m_pdf(new HPdf(this))
    , m_setup(m_pdf->commonUI())
    , m_scpiHashFile(QString::fromLatin1(kScpiHashFile))
    , m_persistentLog(new persistentLog)
{
    StorageTree::createDefaultDirs();
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
