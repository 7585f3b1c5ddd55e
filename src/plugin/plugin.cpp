#include "plugin.h"

#include <QtQml>

#include "deskhandler.h"
#include "fileexists.h"
#include "hbasevolume.h"
#include "henvironment.h"

// Each type's own source holds its static data (storage root, default directories, the addresses kept
// out of tab files, the environment texts); it is set up when the library loads, before registerTypes.

Plugin::Plugin(QObject *parent)
    : QQmlExtensionPlugin(parent)
{
}

Plugin::~Plugin() = default;

// The registration table: every type at version 1.0, in this order. The URI is the engine's; it is
// not checked, so the module can be imported under any name its qmldir gives.
void Plugin::registerTypes(const char *uri)
{
    qmlRegisterType<HEnvironment>(uri, 1, 0, "HEnvironment");
    qmlRegisterType<DeskHandler>(uri, 1, 0, "DesktopHandler");
    qmlRegisterType<HBaseVolume>(uri, 1, 0, "HBaseVolume");
    qmlRegisterType<FileExists>(uri, 1, 0, "FileExists");
}
