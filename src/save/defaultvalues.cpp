#include "defaultvalues.h"

#include "appservice.h"
#include "filewriter.h"
#include "hbaselogging.h"
#include "jsonbytes.h"
#include "tabfiles.h"

#include <QFile>
#include <QFileInfo>
#include <QJsonDocument>
#include <QJsonObject>
#include <QSet>

#include "elfclientinterface.h"

namespace {
const char kInitValue[] = "initValue";

// Items that describe the instrument's wiring and the running session rather than a setting: the
// cable calibration, open files, the mixed-mode sources. A reset to defaults never touches them.
const char *const kAppResetExclusions[] = {
    ":config:spectrumanalyzer_app:specan:enableNormalizeActions:",
    ":config:dxtest_app:cableLoss:calStart:",
    ":config:dxtest_app:cableLoss:calAction:",
    ":config:dxtest_app:rfgen:openFile:",
    ":config:dxtest_app:rfreceiver:openFile:",
    ":config:dxtest_app:rfreceiver:mixedDemodConfig:",
    ":config:dxtest_app:analogMod:mixedModeCnfg:",
    ":config:dxtest_app:demod:mixedModeCnfg:",
    ":config:dxtest_app:dxtest_reg_module:mixedModeCnfg:",
    ":config:dxtest_app:rfgen:mixedModeCnfg:",
    ":config:dxtest_app:rfreceiver:mixedModeCnfg:",
    ":config:dxtest_app:rfgen:mixedDataSource:",
    ":config:dxtest_app:dxtest_reg_module:measurementModeCnfg:",
    ":config:dxtest_app:analogMod:isCurrentSource:",
    ":config:dxtest_app:demod:isCurrentSource:",
    ":config:dxtest_app:p25Demod:isCurrentSource:",
    ":config:dxtest_app:p25Mod:isCurrentSource:",
    ":config:dxtest_app:dxtest_reg_module:dataSource:",
    ":config:dxtest_app:dxtest_reg_module:demodConfig:",
    ":config:dxtest_app:cableLoss:saveDeleteCal:",
};

// A tab file also keeps which source is current and the autotest's manufacturer list.
const char *const kTabOnlyResetExclusions[] = {
    ":config:dxtest_app:tetraMod:isCurrentSource:", ":config:dxtest_app:tetraDemod:isCurrentSource:",
    ":config:dxtest_app:dmrMod:isCurrentSource:",   ":config:dxtest_app:dmrDemod:isCurrentSource:",
    ":config:dxtest_app:analogMod:enable:",         ":config:autotest_app:autotest_reg_module:manufacturerList:",
};

QSet<QString> appResetExclusions()
{
    QSet<QString> addresses;
    for (const char *address : kAppResetExclusions)
        addresses.insert(QString::fromLatin1(address));
    return addresses;
}

QSet<QString> tabResetExclusions()
{
    QSet<QString> addresses = appResetExclusions();
    for (const char *address : kTabOnlyResetExclusions)
        addresses.insert(QString::fromLatin1(address));
    return addresses;
}

const QSet<QString> s_appResetExclusions = appResetExclusions();
const QSet<QString> s_tabResetExclusions = tabResetExclusions();

// The item's default when it exists and has a usable one. The snapshot holds every item of the
// application with its attributes, so looking an item up there costs no call to the service.
bool defaultOf(const ELFItemSnapshotTable &items, const QString &address, QVariant *initValue)
{
    const auto item = items.constFind(address);
    if (item == items.cend())
        return false;
    *initValue = item->attributes.value(QString::fromLatin1(kInitValue));
    return initValue->isValid() && !initValue->isNull();
}
} // namespace

bool DefaultValues::resetApp(const QString &appName)
{
    ELFClientInterface *client = AppService::validClient(appName);
    if (!client)
        return false;
    ELFItemSnapshotTable items;
    ELFItemSnapshotTable results;
    client->snapshot(items, results);
    for (auto entry = items.cbegin(); entry != items.cend(); ++entry) {
        const QString &address = entry.key();
        QVariant initValue;
        if (!s_appResetExclusions.contains(address) && defaultOf(items, address, &initValue))
            client->setItemValue(address, initValue);
    }
    return true;
}

bool DefaultValues::resetFromFile(const QString &appName, const QString &filePath, QMap<QString, QVariant> &map)
{
    ELFClientInterface *client = AppService::validClient(appName);
    if (!client)
        return false;
    if (!QFileInfo::exists(filePath)) {
        qCWarning(lcSave) << "Json file doesn't exist";
        return false;
    }
    QFile file(filePath);
    if (!file.open(QIODevice::ReadOnly)) {
        qCWarning(lcSave) << "Json file could not be opened";
        return false;
    }
    map = TabFiles::parse(QString::fromUtf8(JsonBytes::read(file)).toUtf8()).toVariantMap();
    // One snapshot instead of a call per entry. Entries whose item is gone keep the file's value:
    // the application ignores them on recall.
    ELFItemSnapshotTable items;
    ELFItemSnapshotTable results;
    client->snapshot(items, results);
    for (auto entry = map.begin(); entry != map.end(); ++entry) {
        QVariant initValue;
        if (!s_tabResetExclusions.contains(entry.key()) && defaultOf(items, entry.key(), &initValue))
            entry.value() = initValue;
    }
    return true;
}

// The running application is not changed: the defaults take effect when the tab file is recalled.
// The new tab file is written whole beside the old one before it takes its place: a failure keeps
// the old file.
bool DefaultValues::resetTabFile(uint tabNumber, const QString &appName)
{
    const QString tabFile = TabFiles::numberedPath(tabNumber);
    QMap<QString, QVariant> map;
    if (!resetFromFile(appName, tabFile, map))
        return false;

    FileWriter temp(tabFile);
    if (!temp.open()) {
        qCWarning(lcSave) << "temp file could not be opened: " << tabFile;
        return false;
    }
    if (!temp.write(TabFiles::indented(QJsonObject::fromVariantMap(map))) || !temp.commit()) {
        qCWarning(lcSave) << "temp file could not be renamed";
        return false;
    }
    return true;
}
