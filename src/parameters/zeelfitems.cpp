#include "zeelfitems.h"

#include "hbaselogging.h"
#include "instrumentnames.h"

#include <QDBusConnection>
#include <QDBusError>
#include <QLoggingCategory>
#include <QStringList>

#include "elfclientinterface.h"
#include "elfdata.h"
#include "manifest.h"

namespace {

const QChar kAddressSeparator = QLatin1Char(',');
// service, application, result module, settings module
const int kAddressFields = 4;

const QString kConfigKind = QStringLiteral("config");
const QString kActionKind = QStringLiteral("action");
const QString kResultKind = QStringLiteral("result");

const QString kStringArray = QStringLiteral("stringARRAY");
const QString kDoubleArray = QStringLiteral("doubleARRAY");
const QString kInt32Array = QStringLiteral("int32ARRAY");

const QString kServicePrefix = QString::fromLatin1(InstrumentNames::servicePrefix);
const QString kRegModuleSuffix = QStringLiteral("_reg_module");
const QString kDxTestApp = QStringLiteral("dxtest_app");
const QString kNetworkAnalyzerApp = QStringLiteral("networkanalyzer_app");
const QString kStarterApp = QStringLiteral("starter_app");
const QString kStarterRegModule = QStringLiteral("starter_reg_module");

// Modules whose items live in another application than the one the screen was addressed to.
const QString kVswrModule = QStringLiteral("vswr");
const QStringList kDxTestModules = {QStringLiteral("demod"), QStringLiteral("p25Meas"), QStringLiteral("iqgen")};

const char kNullConfigItem[] = "!!!!------------------:getElfData() returns null!!!!!!!! m_curApp = ";
const char kCurrModule[] = "; curr elfModuleName = ";
const char kParamIs[] = ", param=";
const char kAppNotUpdated[] = ": m_curApp wasn't updated yet!!!!!!!! m_curApp = ";
const char kModuleIs[] = "; elfModuleName = ";
const char kParamIsSpaced[] = "; param = ";

void debugBusError()
{
    qCDebug(lcParameters) << QDBusConnection::sessionBus().lastError().message();
}

} // namespace

ZeElfItems::ZeElfItems(QObject *parent)
    : QObject(parent)
{
    // QML can take the handles the lookups return only once their pointer type is known.
    qRegisterMetaType<ElfData *>();
}

ZeElfItems::~ZeElfItems()
{
    delete m_mainManifest;
    delete m_resultManifest;
    delete m_moduleManifest;
}

QString ZeElfItems::dbusAddress() const
{
    return m_dbusAddress;
}

QString ZeElfItems::app() const
{
    return m_curApp;
}

QString ZeElfItems::regModule() const
{
    return m_regModule;
}

bool ZeElfItems::initialed() const
{
    return m_mainManifest != nullptr;
}

void ZeElfItems::setDbusAddress(const QString &addr)
{
    if (addr.isEmpty() || !addr.contains(kAddressSeparator))
        return;
    const QStringList fields = addr.split(kAddressSeparator);
    // An address with two or three fields is as unusable as one without a comma: it is ignored rather
    // than completed with empty modules, which would make manifests for modules that do not exist.
    if (fields.size() < kAddressFields) {
        qCDebug(lcParameters) << "setDbusAddress ignores an address without four fields:" << addr;
        return;
    }
    const Announced before = announced();
    m_dbusAddress = fields.at(0);
    m_curApp = fields.at(1);
    m_resultModule = fields.at(2);
    m_regModule = fields.at(3);

    ELFClientInterface *client = ELFClientInterface::getSessionBusClient(m_dbusAddress, this);
    if (!client || !client->isValid()) {
        debugBusError();
        announceChanges(before);
        return;
    }
    m_client = client;
    updateItems();
    emit dbusAddressChanged();
    connectSigInfo();
    announceChanges(before);
}

ZeElfItems::Announced ZeElfItems::announced() const
{
    return {m_curApp, m_regModule, initialed()};
}

void ZeElfItems::announceChanges(const Announced &before)
{
    if (before.app != m_curApp)
        emit appChanged();
    if (before.regModule != m_regModule)
        emit regModuleChanged();
    if (before.initialed != initialed())
        emit initialedChanged();
}

void ZeElfItems::updateItems()
{
    if (!m_client)
        return;
    if (m_mainManifest) {
        disconnect(m_client, &ELFClientInterface::SigInfo, this, &ZeElfItems::sigInfoSlot);
        if (m_manifestModule != m_regModule) {
            delete m_mainManifest;
            m_mainManifest = nullptr;
        }
    }
    delete m_resultManifest;
    m_resultManifest = nullptr;
    if (!m_mainManifest) {
        m_mainManifest = new Manifest(m_client, m_curApp, m_regModule, this);
        m_manifestModule = m_regModule;
    }
    m_resultManifest = new Manifest(m_client, m_curApp, m_resultModule, this);
}

void ZeElfItems::setDirectAddress(const QString &addr)
{
    ELFClientInterface *client = ELFClientInterface::getSessionBusClient(kServicePrefix + addr, this);
    if (!client || !client->isValid()) {
        debugBusError();
        return;
    }
    const Announced before = announced();
    m_client = client;
    m_curApp = addr;
    m_regModule = addr + kRegModuleSuffix;
    // The manifest this replaces stays a child of the bridge: handles QML already holds keep their
    // module loaded until the bridge goes.
    m_mainManifest = new Manifest(m_client, m_curApp, m_regModule, this);
    connectSigInfo();
    announceChanges(before);
}

void ZeElfItems::connectSigInfo()
{
    // Unique: setDirectAddress connects without the disconnect of the item update, and a second
    // connection would repeat every message.
    connect(m_client, &ELFClientInterface::SigInfo, this, &ZeElfItems::sigInfoSlot, Qt::UniqueConnection);
}

void ZeElfItems::sigInfoSlot(const QString &msg)
{
    emit sigInfo(msg);
}

void ZeElfItems::setUpModule(const QString &module)
{
    if (module == m_lastModule)
        return;
    const Announced before = announced();
    if (module == kVswrModule)
        m_curApp = kNetworkAnalyzerApp;
    else if (kDxTestModules.contains(module))
        m_curApp = kDxTestApp;
    makeModuleManifest(m_curApp, module);
    announceChanges(before);
}

void ZeElfItems::setUpDxTestModule(const QString &module)
{
    if (module == m_lastModule)
        return;
    makeModuleManifest(kDxTestApp, module);
}

// Only the first module named explicitly gets a manifest of its own; later ones rely on manifests that
// exist. Without a client there is nothing to load from: the module is not recorded as set up, so the
// first request after addressing makes its manifest.
void ZeElfItems::makeModuleManifest(const QString &app, const QString &module)
{
    if (!m_client)
        return;
    if (!m_moduleManifest)
        m_moduleManifest = new Manifest(m_client, app, module, this);
    m_lastModule = module;
}

QString ZeElfItems::address(const QString &kind, const QString &app, const QString &module, const QString &param,
                            const QString &arrayMarker)
{
    QString result = QLatin1Char(':') + kind + QLatin1Char(':') + app + QLatin1Char(':') + module + QLatin1Char(':')
        + param + QLatin1Char(':');
    if (!arrayMarker.isEmpty())
        result += arrayMarker + QLatin1Char(':');
    return result;
}

void ZeElfItems::warnNotDxTest(const char *method, const QString &param, const QString &elfModuleName) const
{
    if (m_curApp == kDxTestApp)
        return;
    qCWarning(lcParameters) << method << kAppNotUpdated << m_curApp << kModuleIs << elfModuleName << kParamIsSpaced
                            << param;
}

ElfData *ZeElfItems::getItem(const QString &elfid)
{
    return Manifest::getElfData(elfid);
}

ElfData *ZeElfItems::getConfigItem(const QString &param)
{
    return Manifest::getElfData(address(kConfigKind, m_curApp, m_regModule, param));
}

ElfData *ZeElfItems::getConfigItem(const QString &param, const QString &elfModuleName)
{
    setUpModule(elfModuleName);
    ElfData *item = Manifest::getElfData(address(kConfigKind, m_curApp, elfModuleName, param));
    if (!item)
        qCWarning(lcParameters) << "getConfigItem" << kNullConfigItem << m_curApp << kCurrModule << elfModuleName
                                << kParamIs << param;
    return item;
}

ElfData *ZeElfItems::getConfigItemDxTest(const QString &param, const QString &elfModuleName)
{
    warnNotDxTest("getConfigItemDxTest", param, elfModuleName);
    setUpDxTestModule(elfModuleName);
    return Manifest::getElfData(address(kConfigKind, kDxTestApp, elfModuleName, param));
}

ElfData *ZeElfItems::getActionItem(const QString &param)
{
    return Manifest::getElfData(address(kActionKind, m_curApp, m_regModule, param));
}

ElfData *ZeElfItems::getActionItem(const QString &param, const QString &elfModuleName)
{
    setUpModule(elfModuleName);
    return Manifest::getElfData(address(kActionKind, m_curApp, elfModuleName, param));
}

ElfData *ZeElfItems::getResultItem(const QString &param)
{
    return Manifest::getElfData(address(kResultKind, m_curApp, m_resultModule, param));
}

ElfData *ZeElfItems::getResultItem(const QString &param, const QString &elfModuleName)
{
    setUpModule(elfModuleName);
    return Manifest::getElfData(address(kResultKind, m_curApp, elfModuleName, param));
}

ElfData *ZeElfItems::getResultItemStarterApp(const QString &param)
{
    return Manifest::getElfData(address(kResultKind, kStarterApp, kStarterRegModule, param));
}

ElfData *ZeElfItems::getResultItemDxTest(const QString &param, const QString &elfModuleName)
{
    warnNotDxTest("getResultItemDxTest", param, elfModuleName);
    setUpDxTestModule(elfModuleName);
    return Manifest::getElfData(address(kResultKind, kDxTestApp, elfModuleName, param));
}

ElfData *ZeElfItems::getResultItemStrArr(const QString &param)
{
    return Manifest::getElfData(address(kResultKind, m_curApp, m_resultModule, param, kStringArray));
}

ElfData *ZeElfItems::getResultItemDoubleArr(const QString &param)
{
    return Manifest::getElfData(address(kResultKind, m_curApp, m_resultModule, param, kDoubleArray));
}

ElfData *ZeElfItems::getResultItemIntArr(const QString &param)
{
    return Manifest::getElfData(address(kResultKind, m_curApp, m_resultModule, param, kInt32Array));
}

ElfData *ZeElfItems::getResultItemAddr(const QString &param)
{
    // The caller's text carries the module, the parameter and the closing colon itself.
    return Manifest::getElfData(QLatin1Char(':') + kResultKind + QLatin1Char(':') + m_curApp + QLatin1Char(':')
                                + param);
}

ElfData *ZeElfItems::getConfigItemDoubleArr(const QString &param)
{
    return Manifest::getElfData(address(kConfigKind, m_curApp, m_regModule, param, kDoubleArray));
}
