#include "plugin.h"

#include <QtQml>

#include "channelplanmodel.h"
#include "frequencylossmodel.h"
#include "henvironment.h"
#include "hrefreshimage.h"
#include "hscreenshot.h"
#include "zeelfitems.h"
#include "zetop.h"

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
    qmlRegisterType<ZeTop>(uri, 1, 0, "ZeTop");
    qmlRegisterType<ZeElfItems>(uri, 1, 0, "ZeElfItems");
    qmlRegisterType<HScreenShot>(uri, 1, 0, "HScreenShot");
    qmlRegisterType<HRefreshImage>(uri, 1, 0, "HRefreshImage");
    qmlRegisterType<HEnvironment>(uri, 1, 0, "HEnvironment");
    qmlRegisterType<ChannelPlanModel>(uri, 1, 0, "ChannelPlanModel");
    qmlRegisterType<FrequencyLossModel>(uri, 1, 0, "FrequencyLossModel");
}
