#include "henvironment.h"

#include "instrumentnames.h"

#include <cstdlib>

namespace {
// The service supervisor names the service that failed to start in this variable.
const char kFailedServiceVariable[] = "FAILED_SERVICE";
}

// Set up when the library loads; nothing changes them afterwards.
const QString HEnvironment::s_baseDir = QStringLiteral("");
const QString HEnvironment::s_unknownService = QStringLiteral("Unknown service");

HEnvironment::HEnvironment(QObject *parent)
    : QObject(parent)
    , m_lastFailedService(readFailedService())
{
}

QString HEnvironment::getBaseDir() const
{
    return s_baseDir;
}

QString HEnvironment::productName() const
{
    return QString::fromLatin1(InstrumentNames::productName);
}

QString HEnvironment::getFailedService() const
{
    const QString value = readFailedService();
    if (value != m_lastFailedService) {
        m_lastFailedService = value;
        // Queued: the reader may be a binding being evaluated right now.
        QMetaObject::invokeMethod(const_cast<HEnvironment *>(this), &HEnvironment::failedServiceChanged,
                                  Qt::QueuedConnection);
    }
    return value;
}

QString HEnvironment::readFailedService()
{
    // An empty value is a real answer ("" is not the fallback), so test for presence, not content.
    const char *value = std::getenv(kFailedServiceVariable);
    if (!value)
        return s_unknownService;
    return QString::fromUtf8(value);
}
