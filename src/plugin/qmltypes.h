#ifndef QMLTYPES_H
#define QMLTYPES_H

#include <QtQml/qqmlregistration.h>

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

// The module's types as Qt 6 registers them: qmltyperegistrar reads these declarations at build time and
// writes the registration and plugins.qmltypes from them. The classes live in the folders' libraries,
// so each is declared here as a foreign type under the name the interface uses, at version 1.0: the
// same 24 names as the registration table of the Qt 5 plugin (plugin.cpp), which lists them in order.

struct ZeTopForeign
{
    Q_GADGET
    QML_FOREIGN(ZeTop)
    QML_NAMED_ELEMENT(ZeTop)
};

struct ZeElfItemsForeign
{
    Q_GADGET
    QML_FOREIGN(ZeElfItems)
    QML_NAMED_ELEMENT(ZeElfItems)
};

struct HMessageListForeign
{
    Q_GADGET
    QML_FOREIGN(HMessageList)
    QML_NAMED_ELEMENT(HMessageList)
};

struct HStringListForeign
{
    Q_GADGET
    QML_FOREIGN(HStringList)
    QML_NAMED_ELEMENT(HStringList)
};

struct HHotkeyListForeign
{
    Q_GADGET
    QML_FOREIGN(HHotkeyList)
    QML_NAMED_ELEMENT(HHotkeyList)
};

struct HPositionFileIOForeign
{
    Q_GADGET
    QML_FOREIGN(HPositionFileIO)
    QML_NAMED_ELEMENT(HPositionFileIO)
};

struct HHistoryFileNameForeign
{
    Q_GADGET
    QML_FOREIGN(HHistoryFileName)
    QML_NAMED_ELEMENT(HListFile)
};

struct HScreenShotForeign
{
    Q_GADGET
    QML_FOREIGN(HScreenShot)
    QML_NAMED_ELEMENT(HScreenShot)
};

struct HSaveForeign
{
    Q_GADGET
    QML_FOREIGN(HSave)
    QML_NAMED_ELEMENT(HSave)
};

struct HTagFileForeign
{
    Q_GADGET
    QML_FOREIGN(HTagFile)
    QML_NAMED_ELEMENT(HTagFile)
};

struct HRefreshImageForeign
{
    Q_GADGET
    QML_FOREIGN(HRefreshImage)
    QML_NAMED_ELEMENT(HRefreshImage)
};

struct H5GBandForeign
{
    Q_GADGET
    QML_FOREIGN(h5GBand)
    QML_NAMED_ELEMENT(H5GBand)
};

struct HEnvironmentForeign
{
    Q_GADGET
    QML_FOREIGN(HEnvironment)
    QML_NAMED_ELEMENT(HEnvironment)
};

struct HEnumListForeign
{
    Q_GADGET
    QML_FOREIGN(HEnumList)
    QML_NAMED_ELEMENT(HEnumList)
};

struct DeskHandlerForeign
{
    Q_GADGET
    QML_FOREIGN(DeskHandler)
    QML_NAMED_ELEMENT(DesktopHandler)
};

struct HMapProFileListForeign
{
    Q_GADGET
    QML_FOREIGN(HMapProFileList)
    QML_NAMED_ELEMENT(HMapProFileList)
};

struct HFavoriteDBForeign
{
    Q_GADGET
    QML_FOREIGN(HFavoriteDB)
    QML_NAMED_ELEMENT(HFavoriteDB)
};

struct HBaseVolumeForeign
{
    Q_GADGET
    QML_FOREIGN(HBaseVolume)
    QML_NAMED_ELEMENT(HBaseVolume)
};

struct FileExistsForeign
{
    Q_GADGET
    QML_FOREIGN(FileExists)
    QML_NAMED_ELEMENT(FileExists)
};

struct GaugeDrawForeign
{
    Q_GADGET
    QML_FOREIGN(GaugeDraw)
    QML_NAMED_ELEMENT(GaugeDraw)
};

struct GaugeSubDivModelForeign
{
    Q_GADGET
    QML_FOREIGN(GaugeSubDivModel)
    QML_NAMED_ELEMENT(GaugeSubDivModel)
};

struct ChannelPlanModelForeign
{
    Q_GADGET
    QML_FOREIGN(ChannelPlanModel)
    QML_NAMED_ELEMENT(ChannelPlanModel)
};

struct FrequencyLossModelForeign
{
    Q_GADGET
    QML_FOREIGN(FrequencyLossModel)
    QML_NAMED_ELEMENT(FrequencyLossModel)
};

struct CableListFilterModelForeign
{
    Q_GADGET
    QML_FOREIGN(CableListFilterModel)
    QML_NAMED_ELEMENT(CableListFilterModel)
};

// Item handles are never created from QML, but tools (Qt Creator, qmllint) must know their members.
struct ElfDataForeign
{
    Q_GADGET
    QML_FOREIGN(ElfData)
    QML_ANONYMOUS
};

#endif // QMLTYPES_H
