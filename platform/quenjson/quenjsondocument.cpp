#include "quenjsondocument.h"

#include <QFile>
#include <QFileInfo>
#include <QJsonParseError>

bool QuenJsonDocument::readFile(const QString &path)
{
    QJsonDocument::operator=(QJsonDocument());
    m_errorString.clear();

    // QFile would warn about a missing name on top of the failure the caller reports.
    if (path.isEmpty())
        return fail(QStringLiteral("Cannot read: no file name given"));
    // Opening a FIFO blocks and reading a device may never end: only plain files are read.
    const QFileInfo info(path);
    if (info.exists() && !info.isFile())
        return fail(QStringLiteral("Cannot read %1: not a regular file").arg(path));

    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return fail(QStringLiteral("Cannot read %1: %2").arg(path, file.errorString()));
    const QByteArray data = file.readAll();
    if (file.error() != QFileDevice::NoError)
        return fail(QStringLiteral("Cannot read %1: %2").arg(path, file.errorString()));
    file.close();

    QJsonParseError parseError;
    const QJsonDocument document = QJsonDocument::fromJson(data, &parseError);
    if (parseError.error != QJsonParseError::NoError) {
        return fail(QStringLiteral("Cannot parse %1 at offset %2: %3")
                        .arg(path)
                        .arg(parseError.offset)
                        .arg(parseError.errorString()));
    }
    QJsonDocument::operator=(document);
    return true;
}

bool QuenJsonDocument::hasError() const
{
    return !m_errorString.isEmpty();
}

QString QuenJsonDocument::errorString() const
{
    return m_errorString;
}

bool QuenJsonDocument::fail(const QString &message)
{
    m_errorString = message;
    return false;
}
