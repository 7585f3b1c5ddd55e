#include "hsave.h"

#include "appservice.h"
#include "fileheaders.h"

#include <QFileInfo>

bool HSave::readResult(const QString &filepath)
{
    return m_setup.readResult(filepath);
}

// `length` and `isOverlay` are kept for the screens that pass them; the overlay property decides.
void HSave::setResultFile(const QString &selTrace, const QString &appName, int length, bool isOverlay)
{
    Q_UNUSED(length)
    Q_UNUSED(isOverlay)
    const QString transfer = QString::fromLatin1(SetupDocument::s_resultTransferFile);
    if (QFileInfo::exists(transfer))
        AppService::recallResult(appName, transfer, m_overlay, selTrace);
}

bool HSave::readHeader(const QString &filepath, const QString &fileExt)
{
    return FileHeaders::read(filepath, fileExt, *m_persistentLog, m_setup.header());
}

void HSave::readHeaderPng(const QString &filepath)
{
    m_setup.header() = FileHeaders::png(filepath);
}

void HSave::readHeaderPdf(const QString &filepath)
{
    m_setup.header() = FileHeaders::pdf(filepath);
}

void HSave::readHeaderMcf(const QString &filepath)
{
    FileHeaders::mcf(filepath, m_setup.header());
}

void HSave::readHeaderGom(const QString &filepath)
{
    FileHeaders::gom(filepath, m_setup.header());
}

bool HSave::readHeaderLogging(const QString &filepath)
{
    return FileHeaders::logging(filepath, *m_persistentLog, m_setup.header());
}
