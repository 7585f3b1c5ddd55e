#include "comtorvanelabsplatformdesktopinterface.h"

ComTorvanelabsPlatformDesktopInterface::ComTorvanelabsPlatformDesktopInterface(const QString &service,
                                                                               const QString &path,
                                                                               const QDBusConnection &connection,
                                                                               QObject *parent)
    : QDBusAbstractInterface(service, path, staticInterfaceName(), connection, parent)
{
}

ComTorvanelabsPlatformDesktopInterface::~ComTorvanelabsPlatformDesktopInterface() = default;
