#include "hsave.h"

#include "jsonbytes.h"

#include "folderrights.h"
#include "programrunner.h"

#include <QFile>
#include <QFileInfo>
#include <QJsonDocument>
#include <QJsonObject>
#include <QSet>

#include "elfclientinterface.h"
#include "filewriter.h"
#include "hpdf.h"

namespace {
const char kAppSuffix[] = "_app";
const char kRegModuleSuffix[] = "_reg_module";
const int kPresetTimeoutMs = 500;
const char kPresetAction[] = ":action:%1:%2:presetActn:";
// When an application refuses its preset, the instrument falls back to the built-in analyser.
const char kAppNameItem[] = ":config:starter_app:starter_reg_module:appNameCnfg:";
const char kBuiltInAnalyzer[] = "spectrumAnalyzerBuildIn_app";
const char kInitValue[] = "initValue";

const char kReboot[] = "reboot";
const char kDocumentViewer[] = "documentviewer_open";
// The device goes down while reboot runs; should it not, the interface goes on after this.
const int kRebootTimeoutMs = 10000;
// The viewer hands the document to its window and returns; one that keeps running (a viewer that is
// the window itself) is not waited for beyond this: the interface goes on and the viewer stays open.
const int kViewerWaitMs = 2000;
const char kUpdatePackage[] = "updatePackage  ${%1}";

// What a factory reset removes: the user's files, the last configurations of the applications, the
// private data of the hetnet interface and the stored state of the key-value store.
QStringList factoryResetPaths(const QString &saveLoadDir)
{
    return {saveLoadDir + QStringLiteral("internal/"), QStringLiteral("/cust/private/lastconfigs/"),
            QStringLiteral("/base/") + QStringLiteral("qml_4410") + QStringLiteral("/hetnet_private/"),
            QStringLiteral("/var/lib/redis/appendonly.aof")};
}

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

ELFClientInterface *HSave::validAppClient(const QString &appName)
{
    ELFClientInterface *client = appClient(appName);
    if (!client || !client->isValid()) {
        qCWarning(lcSave) << "Client not valid";
        return nullptr;
    }
    return client;
}

// The deletions go through the starter application (it owns these folders); the restart happens
// whatever they report, so a half-failed reset still ends in a fresh start.
void HSave::factoryReset()
{
    const QStringList paths = factoryResetPaths(getSaveLoadDir());
    for (const QString &path : paths)
        fileDelete(path);
    ProgramRunner::run(QString::fromLatin1(kReboot), {}, kRebootTimeoutMs, ProgramRunner::LeaveRunning);
}

bool HSave::presetAction(const QString &appName)
{
    QString module = appName;
    module.replace(QLatin1String(kAppSuffix), QLatin1String(kRegModuleSuffix));
    QString reply = QString::fromLatin1(s_replyOk);
    ELFClientInterface *client = appClient(appName);
    if (client && client->isValid())
        client->callAction(QString::fromLatin1(kPresetAction).arg(appName, module), QString(), &reply,
                           kPresetTimeoutMs);
    if (reply != QLatin1String(s_replyOk)) {
        if (ELFClientInterface *starter
            = ELFClientInterface::getSessionBusClient(QString::fromLatin1(s_starterService)))
            starter->setItemValue(QString::fromLatin1(kAppNameItem), QString::fromLatin1(kBuiltInAnalyzer));
    }
    return true;
}

bool HSave::resetAppElfItemsToDefaultValues(const QString &crAppName)
{
    ELFClientInterface *client = validAppClient(crAppName);
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

bool HSave::resetItemsFromFileToDefaultValue(const QString &crAppName, const QString &filePath,
                                             QMap<QString, QVariant> &map)
{
    ELFClientInterface *client = validAppClient(crAppName);
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
    map = fromJsonString(QString::fromUtf8(JsonBytes::read(file)));
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
bool HSave::resetTabElfItemsToDefaultValues(uint tabNumber, const QString &crAppName)
{
    const QString tabFile = QString::fromLatin1(s_tabFilePattern).arg(tabNumber);
    QMap<QString, QVariant> map;
    if (!resetItemsFromFileToDefaultValue(crAppName, tabFile, map))
        return false;

    FileWriter temp(tabFile);
    if (!temp.open()) {
        qCWarning(lcSave) << "temp file could not be opened: " << tabFile;
        return false;
    }
    if (!temp.write(QJsonDocument(QJsonObject::fromVariantMap(map)).toJson(QJsonDocument::Indented))
        || !temp.commit()) {
        qCWarning(lcSave) << "temp file could not be renamed";
        return false;
    }
    return true;
}

// Updates are not started from here: handing the path to a shell would let it run whatever the
// path holds, and the platform has no update entry point yet. The request is only logged.
void HSave::loadUpdatePackage(const QString &path)
{
    qCDebug(lcSave).noquote() << QString::fromLatin1(kUpdatePackage).arg(path);
}

// The path reaches the viewer as one argument, whatever quotes or spaces it holds, and never as an
// option: a name starting with "-" goes as "./-name".
void HSave::showDocumnet(const QString &path)
{
    ProgramRunner::run(QString::fromLatin1(kDocumentViewer), {FolderRights::programArgument(path)}, kViewerWaitMs,
                       ProgramRunner::LeaveRunning);
}

bool HSave::deleteScpiHashFile()
{
    return fileDelete(m_scpiHashFile);
}

void HSave::savePDF(const QString &filepath, const QString &inv, const QString &includeScreen)
{
    m_pdf->savePdf(filepath, inv, includeScreen);
}
