#include "hsave.h"

#include "appservice.h"
#include "defaultvalues.h"
#include "deviceactions.h"

#include "hpdf.h"

void HSave::factoryReset()
{
    DeviceActions::factoryReset();
}

bool HSave::presetAction(const QString &appName)
{
    AppService::preset(appName);
    return true;
}

bool HSave::resetAppElfItemsToDefaultValues(const QString &crAppName)
{
    return DefaultValues::resetApp(crAppName);
}

bool HSave::resetItemsFromFileToDefaultValue(const QString &crAppName, const QString &filePath,
                                             QMap<QString, QVariant> &map)
{
    return DefaultValues::resetFromFile(crAppName, filePath, map);
}

bool HSave::resetTabElfItemsToDefaultValues(uint tabNumber, const QString &crAppName)
{
    return DefaultValues::resetTabFile(tabNumber, crAppName);
}

void HSave::loadUpdatePackage(const QString &path)
{
    DeviceActions::loadUpdatePackage(path);
}

void HSave::showDocumnet(const QString &path)
{
    DeviceActions::showDocument(path);
}

bool HSave::deleteScpiHashFile()
{
    return fileDelete(m_scpiHashFile);
}

void HSave::savePDF(const QString &filepath, const QString &inv, const QString &includeScreen)
{
    m_pdf->savePdf(filepath, inv, includeScreen);
}
