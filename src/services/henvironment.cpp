#include "henvironment.h"

#include <cstdlib>

namespace {
const char kProductName[] = "TK520";
// The service supervisor names the service that failed to start in this variable.
const char kFailedServiceVariable[] = "FAILED_SERVICE";
}

// Set up when the library loads; nothing changes them afterwards.
const QString HEnvironment::s_baseDir = QStringLiteral("");
const QString HEnvironment::s_unknownService = QStringLiteral("Unknown service");

HEnvironment::HEnvironment(QObject *parent)
    : QObject(parent)
{
}

QString HEnvironment::getBaseDir() const
{
    return s_baseDir;
}

QString HEnvironment::productName() const
{
    return QString::fromLatin1(kProductName);
}

QString HEnvironment::getFailedService() const
{
    // An empty value is a real answer ("" is not the fallback), so test for presence, not content.
    const char *value = std::getenv(kFailedServiceVariable);
    if (!value)
        return s_unknownService;
    return QString::fromUtf8(value);
}
