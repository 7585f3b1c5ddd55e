#include "plugin.h"

#include <QtQml>

#include "henvironment.h"
#include "hfavoritedb.h"

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
    qmlRegisterType<HFavoriteDB>(uri, 1, 0, "HFavoriteDB");
}
