#include "plugin.h"

#include <QtQml>

#include "cablelistfiltermodel.h"
#include "channelplanmodel.h"
#include "deskhandler.h"
#include "elfdata.h"
#include "fileexists.h"
#include "frequencylossmodel.h"
#include "gaugedraw.h"
#include "gaugesubdivmodel.h"
#include "h5gband.h"
#include "hbasevolume.h"
#include "henumlist.h"
#include "henvironment.h"
#include "hfavoritedb.h"
#include "hhistoryfilename.h"
#include "hhotkeylist.h"
#include "hmapprofilelist.h"
#include "hmessagelist.h"
#include "hpositionfileio.h"
#include "hrefreshimage.h"
#include "hsave.h"
#include "hscreenshot.h"
#include "hstringlist.h"
#include "htagfile.h"
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
    qmlRegisterType<HMessageList>(uri, 1, 0, "HMessageList");
    qmlRegisterType<HStringList>(uri, 1, 0, "HStringList");
    qmlRegisterType<HHotkeyList>(uri, 1, 0, "HHotkeyList");
    qmlRegisterType<HPositionFileIO>(uri, 1, 0, "HPositionFileIO");
    qmlRegisterType<HHistoryFileName>(uri, 1, 0, "HListFile");
    qmlRegisterType<HScreenShot>(uri, 1, 0, "HScreenShot");
    qmlRegisterType<HSave>(uri, 1, 0, "HSave");
    qmlRegisterType<HTagFile>(uri, 1, 0, "HTagFile");
    qmlRegisterType<HRefreshImage>(uri, 1, 0, "HRefreshImage");
    qmlRegisterType<h5GBand>(uri, 1, 0, "H5GBand");
    qmlRegisterType<HEnvironment>(uri, 1, 0, "HEnvironment");
    qmlRegisterType<HEnumList>(uri, 1, 0, "HEnumList");
    qmlRegisterType<DeskHandler>(uri, 1, 0, "DesktopHandler");
    qmlRegisterType<HMapProFileList>(uri, 1, 0, "HMapProFileList");
    qmlRegisterType<HFavoriteDB>(uri, 1, 0, "HFavoriteDB");
    qmlRegisterType<HBaseVolume>(uri, 1, 0, "HBaseVolume");
    qmlRegisterType<FileExists>(uri, 1, 0, "FileExists");
    qmlRegisterType<GaugeDraw>(uri, 1, 0, "GaugeDraw");
    qmlRegisterType<GaugeSubDivModel>(uri, 1, 0, "GaugeSubDivModel");
    qmlRegisterType<ChannelPlanModel>(uri, 1, 0, "ChannelPlanModel");
    qmlRegisterType<FrequencyLossModel>(uri, 1, 0, "FrequencyLossModel");
    qmlRegisterType<CableListFilterModel>(uri, 1, 0, "CableListFilterModel");
    // Item handles are never created from QML, but tools (Qt Creator, qmllint) must know their members.
    qmlRegisterAnonymousType<ElfData>(uri, 1);
}
