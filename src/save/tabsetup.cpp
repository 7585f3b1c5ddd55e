#include "hsave.h"

#include <QFile>
#include <QFileInfo>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QSaveFile>
#include <QSet>
#include <QTextStream>

#include <algorithm>

#include <unistd.h>

#include "qmlinput.h"

#include "elfclientinterface.h"
#include "hpdf.h"

namespace {
const char kAppSuffix[] = "_app";
const char kRegModuleSuffix[] = "_reg_module";
const int kTabTables = 6;

const char kConfigPrefix[] = ":config:";
const char kDoubleArraySuffix[] = ":doubleARRAY:";
const char kStringArraySuffix[] = ":stringARRAY:";
// Messages and the operator-server mode belong to the running session, never to a saved set-up.
const char *const kSkippedSuffixes[] = {":toastMessageCnfg:stringARRAY:", ":warningMessageCnfg:",
                                        ":persistMessageCnfg:", ":opserverModeCnfg:"};

const char kSaveConfigAction[] = ":action:%1:%2:saveconfig:";
const char kSaveConfigArgument[] = "/tmp/Tab%1.oxs,0,";
const char kStartRecallAction[] = ":action:%1:%2:startRecall:";
const char kLoadConfigAction[] = ":action:%1:%2:loadconfig:";
const char kFinishRecallAction[] = ":action:%1:%2:finishRecall:";
const char kModeKey[] = ":config:%1:%2:measurementModeCnfg:";
const int kSaveConfigTimeoutMs = 500;
const int kRecallStepTimeoutMs = 10000;
const char kAutotestApp[] = "autotest_app";

// The file list of the automated test is rebuilt from the folder on every start; a stale one in a
// tab file would point the test at files that are gone.
const char kAutotestFileList[] = ":config:autotest_app:autotest_reg_module:rFileList:";
const char kLineComment[] = "//";

const char kUi[] = "UI";
const char kTab[] = "Tab";
const char kTabCount[] = "TabCount";

// Running state of the automated test: it must never be recalled from a tab file.
const char kAutotestPrefix[] = ":config:autotest_app:autotest_reg_module:";
const char *const kAutotestRuntimeNames[] = {
    "testDataList", "totalTestTime", "ssBreakpointList", "ssContinueButton", "ssCurrentBpName",
    "ssCurrentLineStr", "ssCurrentTestFctn", "ssCurrentTestName", "ssLoopingButton", "ssStepButton",
    "ssTestFunctionList", "ssToggleBpButton", "selectPressed", "selectText", "saveProfile",
    "saveProfileCurrentFloatingEdit", "saveProfileCurrentFloatingEditIndex", "saveProfileDefaultButton",
    "saveProfileEditButton", "saveProfileExportButton", "saveProfileExportDefaultDir", "saveProfileExportPath",
    "saveProfileExportFileName", "saveProfileFloatList", "saveProfileFreqLL", "saveProfileFreqUL",
    "saveProfileFreqUnit", "saveProfileImportButton", "saveProfileImportDefaultDir", "saveProfileImportFileName",
    "saveProfileLL", "saveProfileMaxPage", "saveProfileName1", "saveProfilePageIndex", "saveProfilePageType",
    "saveProfileSymbol1", "saveProfileSymbol2", "saveProfileTarget", "saveProfileUL", "saveProfileUnit",
    "scaEnable", "runScaStatus", "runStatus", "pButtonEnable1", "pButtonEnable2", "pButtonEnable3",
    "pButtonEnable4", "pButtonEnable5", "pButtonPressed1", "pButtonPressed2", "pButtonPressed3",
    "pButtonPressed4", "pButtonPressed5", "pButtonText1", "pButtonText2", "pButtonText3", "pButtonText4",
    "pButtonText5", "pClose", "pHeight", "pImageEnable", "pInputDouble", "pInputDoubleEnable", "pInputText",
    "pInputTextEnable", "pText", "pTitle", "pWidth", "pauseStatus", "progressPercent", "progressRatio",
    "rCurrentSelection", "rCustomer", "rFileName", "rFileType", "rTechId", "rTestLocation", "remoteQuery",
    "reportDelete", "reportRun", "resetAutotest", "resultIndex", "resultSummary", "resultText", "runTime",
    "pActivate", "iWidth", "limit1", "limit2", "loopCount", "iPath", "iHeight", "helpButtonPressed",
    "fileContent", "currentManufacturerPath", "autotestErrorText", "operationStatus", "testEnabled:stringARRAY",
    "testList", "testStatus:stringARRAY"};

QSet<QString> autotestExclusions()
{
    QSet<QString> addresses;
    for (const char *name : kAutotestRuntimeNames)
        addresses.insert(QString::fromLatin1(kAutotestPrefix) + QString::fromLatin1(name) + QLatin1Char(':'));
    return addresses;
}

// Set up when the library loads.
const QSet<QString> s_autotestExclusions = autotestExclusions();

QByteArray indentedJson(const QJsonObject &object)
{
    return QJsonDocument(object).toJson(QJsonDocument::Indented);
}

QByteArray indentedJson(const QMap<QString, QVariant> &map)
{
    return indentedJson(QJsonObject::fromVariantMap(map));
}

QString tabKey(int number)
{
    return QString::fromLatin1(kTab) + QString::number(number);
}
} // namespace

QString HSave::settingsModule(const QString &appName)
{
    const int suffix = int(qstrlen(kAppSuffix));
    const QString app = appName.size() >= suffix ? appName.left(appName.size() - suffix) : QString();
    return app + QLatin1String(kRegModuleSuffix);
}

QString HSave::tabFilePath(int tabNum)
{
    return QString::fromLatin1(s_tabFilePattern).arg(tabNum + 1);
}

// Tabs are numbered 0 to 5; other numbers name no table and are refused by every tab operation.
bool HSave::isTabNumber(int tabNum)
{
    return tabNum >= 0 && tabNum < kTabTables;
}

// A setup file carries its tab count and readers trust it, within the six tabs there are: a larger
// number means all six, a negative one or a text that is no number none.
int HSave::tabCount() const
{
    const QVariant count = m_header.value(QString::fromLatin1(kTabCount));
    bool isNumber = false;
    const double value = count.toDouble(&isNumber);
    if (!isNumber || !(value >= 0))
        return 0;
    if (value >= kTabTables)
        return kTabTables;
    return qBound(0, count.toInt(), kTabTables);
}

void HSave::addTab(int tabNum, const QString &appName, const QString &moduleName)
{
    Q_UNUSED(moduleName)
    if (!isTabNumber(tabNum))
        return;
    ELFClientInterface *client = appClient(appName);
    if (!client || !client->isValid())
        return;
    // One call loads every item of the module; the reads below cost no further round trip.
    QStringList addresses;
    client->moduleItems(settingsModule(appName), addresses);
    // A JSON object keeps its keys sorted: taken in the service's order, every new key would move the
    // entries behind it, and a large module would cost time growing with the square of its size.
    std::sort(addresses.begin(), addresses.end());

    QJsonObject &table = m_tabs[tabNum];
    for (const QString &address : qAsConst(addresses)) {
        if (!address.startsWith(QLatin1String(kConfigPrefix)))
            continue;
        bool skipped = false;
        for (const char *suffix : kSkippedSuffixes)
            skipped = skipped || address.endsWith(QLatin1String(suffix));
        if (skipped)
            continue;
        ELFClientItem *item = client->item(address);
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
            table.insert(address, QJsonArray::fromStringList(texts));
        } else if (address.endsWith(QLatin1String(kStringArraySuffix))) {
            const auto *array = qobject_cast<ELFVecStringClientItem *>(item);
            const QStringList values = array ? array->list() : QStringList();
            const int count = qMin(array ? array->count() : 0, values.size());
            if (values.isEmpty())
                continue;
            table.insert(address, QJsonArray::fromStringList(values.mid(0, count)));
        } else {
            const QVariant value = item->getValue();
            if (!value.isNull())
                table.insert(address, QJsonValue::fromVariant(value));
        }
    }
}

void HSave::saveTabFile(int tabNum, const QString &appName, const QString &moduleName)
{
    if (!isTabNumber(tabNum))
        return;
    QFile file(tabFilePath(tabNum));
    if (!file.open(QIODevice::WriteOnly | QIODevice::Truncate))
        return;
    addTab(tabNum, appName, moduleName);
    file.write(indentedJson(m_tabs[tabNum]));
}

void HSave::saveTabFileNew(int tabNum, const QString &appName, const QString &moduleName)
{
    if (!isTabNumber(tabNum))
        return;
    const QString path = tabFilePath(tabNum);
    QFile::remove(path);
    addTab(tabNum, appName, moduleName);

    // The application writes its own tab file; the table above is what the interface shows meanwhile.
    const QString module = settingsModule(appName);
    QString reply = QString::fromLatin1(s_replyOk);
    if (ELFClientInterface *client = appClient(appName))
        client->callAction(QString::fromLatin1(kSaveConfigAction).arg(appName, module),
                           QString::fromLatin1(kSaveConfigArgument).arg(tabNum + 1), &reply,
                           kSaveConfigTimeoutMs);
    if (reply != QLatin1String(s_replyOk))
        qCDebug(lcSave) << "saveTabFile:XXXXXXXXXXXXXXXXXXXXXXXXXXXXXXXXX";

    if (appName != QLatin1String(kAutotestApp) || !QFileInfo::exists(path))
        return;
    QFile file(path);
    if (!file.open(QIODevice::ReadWrite))
        return;
    const QJsonDocument document = QJsonDocument::fromJson(readJsonBytes(file));
    // A file the application did not write as an object is left as it is rather than emptied.
    if (!document.isObject())
        return;
    QJsonObject object = document.object();
    for (const QString &address : s_autotestExclusions)
        object.remove(address);
    file.resize(0);
    file.seek(0);
    file.write(QJsonDocument(object).toJson(QJsonDocument::Indented));
}

bool HSave::loadTabFile(int tabNum, const QString &appName)
{
    if (!isTabNumber(tabNum))
        return false;
    const QString path = tabFilePath(tabNum);
    if (!QFileInfo::exists(path))
        return true;

    QFile file(path);
    QJsonObject table;
    if (file.open(QIODevice::ReadOnly))
        table = tabObject(readJsonBytes(file));
    file.close();

    const QString module = settingsModule(appName);
    const QString modeKey = QString::fromLatin1(kModeKey).arg(appName, module);
    if (!table.contains(modeKey)) {
        qCWarning(lcSave) << "Error: could not find " << modeKey << " inside " << path
                          << ". Not loading the file!";
        return false;
    }

    // All three steps go out whatever the earlier ones did: the application must always leave its
    // recall state again.
    ELFClientInterface *client = appClient(appName);
    const QString start = QString::fromLatin1(kStartRecallAction).arg(appName, module);
    const QString load = QString::fromLatin1(kLoadConfigAction).arg(appName, module);
    const QString finish = QString::fromLatin1(kFinishRecallAction).arg(appName, module);
    const QString mode = table.value(modeKey).toVariant().toString();
    const bool started = callWithoutReply(client, start, mode, kRecallStepTimeoutMs);
    if (!started)
        qCDebug(lcSave) << "Failed startRecall" << start;
    const bool loaded = callWithoutReply(client, load, path, kRecallStepTimeoutMs);
    if (!loaded)
        qCDebug(lcSave) << "Failed loadconfig" << load;
    const bool finished = callWithoutReply(client, finish, QString(), kRecallStepTimeoutMs);
    if (!finished)
        qCDebug(lcSave) << "Failed finishRecall" << finish;
    return started && loaded && finished;
}

bool HSave::readTabFile(int tabNum)
{
    if (!isTabNumber(tabNum))
        return false;
    QFile file(tabFilePath(tabNum));
    if (!file.exists() || !file.open(QIODevice::ReadOnly))
        return false;
    m_tabs[tabNum] = tabObject(readJsonBytes(file));
    return true;
}

void HSave::deleteTabFile(int tabNum)
{
    if (!isTabNumber(tabNum))
        return;
    const QString path = tabFilePath(tabNum);
    if (QFileInfo::exists(path))
        QFile::remove(path);
}

// Closing a tab moves the files of the tabs after it down by one place: "Tab3" becomes "Tab2". The
// closed tab's file is deleted first; a file still in the way is not overwritten.
void HSave::renameTabFile(int tabNum)
{
    if (!isTabNumber(tabNum) || tabNum == 0)
        return;
    QFile::rename(tabFilePath(tabNum), tabFilePath(tabNum - 1));
}

void HSave::saveToTabJsonFile(int tabNum)
{
    if (!isTabNumber(tabNum))
        return;
    QFile file(tabFilePath(tabNum));
    if (file.open(QIODevice::WriteOnly | QIODevice::Truncate))
        file.write(indentedJson(m_tabs[tabNum]));
}

// Tab files are edited by hand on the bench, so "//" comments are allowed. A "//" inside a value
// cuts the line there too: the value is lost, which is why no address or value may hold one.
QMap<QString, QVariant> HSave::fromJsonString(const QString &text)
{
    const QString lineComment = QString::fromLatin1(kLineComment);
    QString kept;
    const QStringList lines = text.split(QLatin1Char('\n'));
    for (const QString &line : lines) {
        if (line.contains(QLatin1String(kAutotestFileList)) || line.trimmed().startsWith(lineComment))
            continue;
        const int comment = line.indexOf(lineComment);
        if (comment >= 0)
            kept += line.left(comment) + QLatin1Char('\n');
        else
            kept += line;
    }
    const QJsonDocument document = QJsonDocument::fromJson(kept.toUtf8());
    return document.isObject() ? document.object().toVariantMap() : QMap<QString, QVariant>();
}

// Without comments and without the file list, stripping only joins the lines: the bytes are parsed as
// they are, with their line feeds taken out. Anything else (or bytes that are no valid UTF-8) goes the
// long way, which gives the same object.
QJsonObject HSave::tabObject(const QByteArray &bytes)
{
    if (!bytes.contains(kLineComment) && !bytes.contains(kAutotestFileList)) {
        QByteArray joined = bytes;
        joined.truncate(int(std::remove(joined.begin(), joined.end(), '\n') - joined.begin()));
        const QJsonDocument document = QJsonDocument::fromJson(joined);
        if (document.isObject())
            return document.object();
    }
    return QJsonObject::fromVariantMap(fromJsonString(QString::fromUtf8(bytes)));
}

bool HSave::save(const QString &filepath)
{
    qCDebug(lcSave) << "==================================save:" << filepath << m_type;
    // Written aside and put in place at the end: a failure leaves the old file whole.
    QSaveFile file(filepath);
    if (!file.open(QIODevice::WriteOnly))
        return false;

    QJsonObject object;
    bool result = true;
    switch (m_type) {
    case SAVE_SETUP:
        result = writeSetup(object);
        break;
    case SAVE_RESULT:
        result = resultSetup(object);
        break;
    case SAVE_BACKUP:
        backupSetup(object);
        break;
    case SAVE_LOGGING:
        loggingUISetup(object);
        break;
    case SAVE_LAST:
        lastSetup(object);
        break;
    case SAVE_MPC:
        saveMapProfile(object);
        break;
    default:
        break;
    }

    file.write(QJsonDocument(object).toJson(QJsonDocument::Indented));
    // A file that could not be put in place was not saved, whatever the builder said.
    if (!file.commit())
        result = false;
    ::sync();
    qCDebug(lcSave) << "=================================save ends with=" << result;
    return result;
}

// Each tab's settings come from its tab file, so the files must be written before a set-up is saved.
bool HSave::writeSetup(QJsonObject &object)
{
    object.insert(QString::fromLatin1(s_headerKey), QJsonObject::fromVariantMap(m_header));
    const int tabs = tabCount();
    for (int tab = 0; tab < tabs; ++tab) {
        if (!readTabFile(tab))
            return false;
    }
    for (int tab = 0; tab < tabs; ++tab)
        object.insert(tabKey(tab + 1), m_tabs[tab]);
    return true;
}

void HSave::lastSetup(QJsonObject &object)
{
    object.insert(QString::fromLatin1(s_headerKey), QJsonObject::fromVariantMap(m_header));
    object.insert(QString::fromLatin1(kUi), QJsonObject::fromVariantMap(uiTable()));
    const int tabs = tabCount();
    for (int tab = 0; tab < tabs; ++tab)
        readTabFile(tab);
    for (int tab = 0; tab < tabs; ++tab)
        object.insert(tabKey(tab + 1), m_tabs[tab]);
}

void HSave::backupSetup(QJsonObject &object)
{
    readTabFile(0);
    object.insert(QString::fromLatin1(s_headerKey), QJsonObject::fromVariantMap(m_header));
    object.insert(tabKey(1), m_tabs[0]);
}

void HSave::loggingUISetup(QJsonObject &object)
{
    object = QJsonObject::fromVariantMap(m_header);
}

void HSave::saveMapProfile(QJsonObject &object)
{
    object.insert(QString::fromLatin1(s_headerKey), QJsonObject::fromVariantMap(m_header));
}

bool HSave::resultSetup(QJsonObject &object)
{
    object.insert(QString::fromLatin1(s_headerKey), QJsonObject::fromVariantMap(m_header));
    return true;
}

void HSave::read(const QJsonObject &object)
{
    m_header = object.value(QString::fromLatin1(s_headerKey)).toObject().toVariantMap();
    uiTable() = object.value(QString::fromLatin1(kUi)).toObject().toVariantMap();
    const int tabs = tabCount();
    for (int tab = 0; tab < tabs; ++tab) {
        m_tabs[tab] = object.value(tabKey(tab + 1)).toObject();
        saveToTabJsonFile(tab);
    }
}

bool HSave::loadSetup(const QString &filepath)
{
    QFile file(filepath);
    if (!file.open(QIODevice::ReadOnly))
        return false;
    clearAll();
    read(QJsonDocument::fromJson(readJsonBytes(file)).object());
    return true;
}

bool HSave::restoreSetup(const QString &file)
{
    QFile input(file);
    if (!input.open(QIODevice::ReadOnly))
        return false;
    const QJsonObject object = QJsonDocument::fromJson(readJsonBytes(input)).object();
    m_header = object.value(QString::fromLatin1(s_headerKey)).toObject().toVariantMap();
    m_tabs[0] = object.value(tabKey(1)).toObject();
    saveToTabJsonFile(0);
    return true;
}

void HSave::clearAll()
{
    m_header.clear();
    for (QJsonObject &tab : m_tabs)
        tab = QJsonObject();
    uiTable().clear();
}

void HSave::addCommonHeader(const QString &pro, const QVariant &value)
{
    m_header.insert(pro, QmlInput::plain(value));
}

void HSave::addCommonUI(const QString &pro, const QVariant &value)
{
    uiTable().insert(pro, QmlInput::plain(value));
}

QString HSave::getHeader(const QString &name)
{
    return m_header.value(name).toString();
}

QString HSave::getUI(const QString &name)
{
    return uiTable().value(name).toString();
}

QMap<QString, QVariant> &HSave::uiTable()
{
    return m_pdf->commonUI();
}

int HSave::getJsonSize(const QMap<QString, QVariant> &map)
{
    return QString::fromUtf8(indentedJson(map)).size();
}

void HSave::saveVmToJson(const QMap<QString, QVariant> &map, QTextStream &stream, QFile &file)
{
    if (map.isEmpty())
        return;
    stream.setCodec("UTF-8");
    stream << QString::fromUtf8(indentedJson(map));
    stream.flush();
    file.flush();
}
