#include "appservice.h"

#include "hbaselogging.h"
#include "instrumentnames.h"
#include "tabfiles.h"

#include <QJsonArray>
#include <QStringList>

#include <algorithm>

#include "elfclientinterface.h"

namespace {
const char kAppSuffix[] = "_app";
const char kRegModuleSuffix[] = "_reg_module";

const char kConfigPrefix[] = ":config:";
const char kDoubleArraySuffix[] = ":doubleARRAY:";
const char kStringArraySuffix[] = ":stringARRAY:";
// Messages and the operator-server mode belong to the running session, never to a saved set-up.
const char *const kSkippedSuffixes[]
    = {":toastMessageCnfg:stringARRAY:", ":warningMessageCnfg:", ":persistMessageCnfg:", ":opserverModeCnfg:"};

const char kSaveConfigAction[] = ":action:%1:%2:saveconfig:";
const char kSaveConfigArgument[] = "/tmp/Tab%1.oxs,0,";
const int kSaveConfigTimeoutMs = 500;
const char kStartRecallAction[] = ":action:%1:%2:startRecall:";
const char kLoadConfigAction[] = ":action:%1:%2:loadconfig:";
const char kFinishRecallAction[] = ":action:%1:%2:finishRecall:";
const char kModeKey[] = ":config:%1:%2:measurementModeCnfg:";
const int kRecallStepTimeoutMs = 10000;

const char kLoadResultAction[] = ":action:%1:%2:loadResultActn:";
const int kResultRecallTimeoutMs = 5000;
const int kResultOverlayTimeoutMs = 500;
// The overlay modes of a result recall: replace the application's state, or add one trace.
const int kLoadNonOverlay = 0;
const int kLoadOverlay = 1;

const int kPresetTimeoutMs = 500;
const char kPresetAction[] = ":action:%1:%2:presetActn:";
// When an application refuses its preset, the instrument falls back to the built-in analyser.
const char kAppNameItem[] = ":config:starter_app:starter_reg_module:appNameCnfg:";
const char kBuiltInAnalyzer[] = "spectrumAnalyzerBuildIn_app";

bool isSkipped(const QString &address)
{
    if (!address.startsWith(QLatin1String(kConfigPrefix)))
        return true;
    for (const char *suffix : kSkippedSuffixes) {
        if (address.endsWith(QLatin1String(suffix)))
            return true;
    }
    return false;
}
} // namespace

const char AppService::s_replyOk[] = "OK";

ELFClientInterface *AppService::client(const QString &appName)
{
    return ELFClientInterface::getSessionBusClient(QLatin1String(InstrumentNames::servicePrefix) + appName);
}

ELFClientInterface *AppService::validClient(const QString &appName)
{
    ELFClientInterface *service = client(appName);
    if (!service || !service->isValid()) {
        qCWarning(lcSave) << "Client not valid";
        return nullptr;
    }
    return service;
}

bool AppService::callWithoutReply(ELFClientInterface *client, const QString &address, const QString &argument,
                                  int timeoutMs)
{
    return client && client->isValid() && client->callAction(address, argument, nullptr, timeoutMs);
}

// The tab handshakes cut the last four characters, whatever they are; the preset below replaces every
// "_app". Both are how the applications name their modules for these calls, so both are kept.
QString AppService::settingsModule(const QString &appName)
{
    const int suffix = int(qstrlen(kAppSuffix));
    const QString app = appName.size() >= suffix ? appName.left(appName.size() - suffix) : QString();
    return app + QLatin1String(kRegModuleSuffix);
}

QString AppService::presetModule(const QString &appName)
{
    QString module = appName;
    return module.replace(QLatin1String(kAppSuffix), QLatin1String(kRegModuleSuffix));
}

void AppService::captureTab(const QString &appName, QJsonObject *table)
{
    ELFClientInterface *service = client(appName);
    if (!service || !service->isValid())
        return;
    // One call loads every item of the module; the reads below cost no further round trip.
    QStringList addresses;
    service->moduleItems(settingsModule(appName), addresses);
    // A JSON object keeps its keys sorted: taken in the service's order, every new key would move the
    // entries behind it, and a large module would cost time growing with the square of its size.
    std::sort(addresses.begin(), addresses.end());

    for (const QString &address : qAsConst(addresses)) {
        if (isSkipped(address))
            continue;
        ELFClientItem *item = service->item(address);
        if (!item)
            continue;
        if (address.endsWith(QLatin1String(kDoubleArraySuffix))) {
            const auto *array = qobject_cast<ELFVecDoubleClientItem *>(item);
            const QVector<double> values = array ? array->vector() : QVector<double>();
            const int count = qMin(array ? array->count() : 0, values.size());
            if (values.isEmpty())
                continue;
            QStringList texts;
            for (int i = 0; i < count; ++i)
                texts.append(QString::number(values.at(i), 'g', 6));
            table->insert(address, QJsonArray::fromStringList(texts));
        } else if (address.endsWith(QLatin1String(kStringArraySuffix))) {
            const auto *array = qobject_cast<ELFVecStringClientItem *>(item);
            const QStringList values = array ? array->list() : QStringList();
            const int count = qMin(array ? array->count() : 0, values.size());
            if (values.isEmpty())
                continue;
            table->insert(address, QJsonArray::fromStringList(values.mid(0, count)));
        } else {
            const QVariant value = item->getValue();
            if (!value.isNull())
                table->insert(address, QJsonValue::fromVariant(value));
        }
    }
}

void AppService::requestTabFile(const QString &appName, int tab)
{
    const QString module = settingsModule(appName);
    QString reply = QString::fromLatin1(s_replyOk);
    if (ELFClientInterface *service = client(appName))
        service->callAction(QString::fromLatin1(kSaveConfigAction).arg(appName, module),
                            QString::fromLatin1(kSaveConfigArgument).arg(tab + 1), &reply, kSaveConfigTimeoutMs);
    if (reply != QLatin1String(s_replyOk))
        qCDebug(lcSave) << "saveTabFile:XXXXXXXXXXXXXXXXXXXXXXXXXXXXXXXXX";
}

bool AppService::recallTab(const QString &appName, const QString &path)
{
    const QJsonObject table = TabFiles::load(path);
    const QString module = settingsModule(appName);
    const QString modeKey = QString::fromLatin1(kModeKey).arg(appName, module);
    if (!table.contains(modeKey)) {
        qCWarning(lcSave) << "Error: could not find " << modeKey << " inside " << path << ". Not loading the file!";
        return false;
    }

    // All three steps go out whatever the earlier ones did: the application must always leave its
    // recall state again.
    ELFClientInterface *service = client(appName);
    const QString start = QString::fromLatin1(kStartRecallAction).arg(appName, module);
    const QString load = QString::fromLatin1(kLoadConfigAction).arg(appName, module);
    const QString finish = QString::fromLatin1(kFinishRecallAction).arg(appName, module);
    const QString mode = table.value(modeKey).toVariant().toString();
    const bool started = callWithoutReply(service, start, mode, kRecallStepTimeoutMs);
    if (!started)
        qCDebug(lcSave) << "Failed startRecall" << start;
    const bool loaded = callWithoutReply(service, load, path, kRecallStepTimeoutMs);
    if (!loaded)
        qCDebug(lcSave) << "Failed loadconfig" << load;
    const bool finished = callWithoutReply(service, finish, QString(), kRecallStepTimeoutMs);
    if (!finished)
        qCDebug(lcSave) << "Failed finishRecall" << finish;
    return started && loaded && finished;
}

void AppService::recallResult(const QString &appName, const QString &file, int overlay, const QString &selTrace)
{
    const QChar last = selTrace.isEmpty() ? QChar() : selTrace.at(selTrace.size() - 1);
    const int trace = last >= QLatin1Char('0') && last <= QLatin1Char('9') ? last.digitValue() : 0;
    const QString module = settingsModule(appName);

    QString address;
    QString argument = file;
    int timeoutMs = kResultRecallTimeoutMs;
    if (overlay == kLoadNonOverlay) {
        address = QString::fromLatin1(kLoadConfigAction).arg(appName, module);
    } else {
        address = QString::fromLatin1(kLoadResultAction).arg(appName, module);
        timeoutMs = kResultOverlayTimeoutMs;
        if (overlay == kLoadOverlay)
            argument += QLatin1Char(':') + QString::number(trace);
    }
    if (!callWithoutReply(client(appName), address, argument, timeoutMs))
        qCDebug(lcSave) << "Failed loadconfig" << address;
}

void AppService::preset(const QString &appName)
{
    QString reply = QString::fromLatin1(s_replyOk);
    ELFClientInterface *service = client(appName);
    if (service && service->isValid())
        service->callAction(QString::fromLatin1(kPresetAction).arg(appName, presetModule(appName)), QString(), &reply,
                            kPresetTimeoutMs);
    if (reply == QLatin1String(s_replyOk))
        return;
    if (ELFClientInterface *starter
        = ELFClientInterface::getSessionBusClient(QString::fromLatin1(InstrumentNames::starterService)))
        starter->setItemValue(QString::fromLatin1(kAppNameItem), QString::fromLatin1(kBuiltInAnalyzer));
}
