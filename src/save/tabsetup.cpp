#include "hsave.h"

#include "jsonbytes.h"

#include <QFile>
#include <QFileInfo>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QSet>
#include <QTextStream>

#include <algorithm>

#include <unistd.h>

#include "qmlinput.h"

#include "elfclientinterface.h"
#include "filewriter.h"
#include "hpdf.h"

namespace {
const char kAppSuffix[] = "_app";
const char kRegModuleSuffix[] = "_reg_module";
const int kTabTables = 6;

const char kConfigPrefix[] = ":config:";
const char kDoubleArraySuffix[] = ":doubleARRAY:";
const char kStringArraySuffix[] = ":stringARRAY:";
// Messages and the operator-server mode belong to the running session, never to a saved set-up.
const char *const kSkippedSuffixes[]
    = {":toastMessageCnfg:stringARRAY:", ":warningMessageCnfg:", ":persistMessageCnfg:", ":opserverModeCnfg:"};

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
const QLatin1Char kCommentSlash('/');
const QLatin1Char kQuote('"');
const QLatin1Char kBackslash('\\');
const QLatin1Char kLineFeed('\n');

const char kUi[] = "UI";
const char kTab[] = "Tab";
const char kTabCount[] = "TabCount";
const char kTabFileUnreadable[] = "tab file does not parse, its table is empty:";

// Running state of the automated test: it must never be recalled from a tab file.
const char kAutotestPrefix[] = ":config:autotest_app:autotest_reg_module:";
// Many names to a line, as they are listed.
// clang-format off
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
// clang-format on

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

// Tab files are edited by hand on the bench, so "//" starts a comment up to the end of the line, but
// only outside a text value: a value may hold a URL.
QString withoutComments(const QString &text)
{
    if (!text.contains(QLatin1String(kLineComment)))
        return text;
    QString kept;
    kept.reserve(text.size());
    bool inString = false;
    for (int i = 0; i < text.size(); ++i) {
        const QChar c = text.at(i);
        if (inString) {
            kept += c;
            if (c == kBackslash && i + 1 < text.size())
                kept += text.at(++i);
            else if (c == kQuote || c == kLineFeed)
                inString = false;
        } else if (c == kCommentSlash && i + 1 < text.size() && text.at(i + 1) == kCommentSlash) {
            const int end = text.indexOf(kLineFeed, i);
            if (end < 0)
                break;
            i = end - 1;
        } else {
            kept += c;
            inString = c == kQuote;
        }
    }
    return kept;
}

void removeLineFeeds(QByteArray &text)
{
    text.truncate(int(std::remove(text.begin(), text.end(), '\n') - text.begin()));
}

// The table of a tab file's bytes; `parsed` tells an empty object from bytes that are no JSON object.
// Comments are cut, then the lines are joined (their line feeds taken out) as the tab files were always
// read; bytes that are no valid UTF-8 read as the text they decode to.
QJsonObject parseTabText(const QByteArray &bytes, bool *parsed = nullptr)
{
    QByteArray text = bytes.contains(kLineComment) ? withoutComments(QString::fromUtf8(bytes)).toUtf8() : bytes;
    removeLineFeeds(text);
    QJsonDocument document = QJsonDocument::fromJson(text);
    if (!document.isObject())
        document = QJsonDocument::fromJson(QString::fromUtf8(text).toUtf8());
    if (parsed)
        *parsed = document.isObject();
    QJsonObject object = document.object();
    // Removed from the table, not from the text: the list is written as an array over many lines.
    const QStringList keys = object.keys();
    for (const QString &key : keys) {
        if (key.contains(QLatin1String(kAutotestFileList)))
            object.remove(key);
    }
    return object;
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
    FileWriter file(tabFilePath(tabNum));
    if (!file.open())
        return;
    addTab(tabNum, appName, moduleName);
    if (file.write(indentedJson(m_tabs[tabNum])))
        file.commit();
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
                           QString::fromLatin1(kSaveConfigArgument).arg(tabNum + 1), &reply, kSaveConfigTimeoutMs);
    if (reply != QLatin1String(s_replyOk))
        qCDebug(lcSave) << "saveTabFile:XXXXXXXXXXXXXXXXXXXXXXXXXXXXXXXXX";

    if (appName != QLatin1String(kAutotestApp) || !QFileInfo::exists(path))
        return;
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return;
    const QJsonDocument document = QJsonDocument::fromJson(JsonBytes::read(file));
    file.close();
    // Text that does not parse leaves no member to keep: the file becomes an empty object.
    QJsonObject object = document.object();
    for (const QString &address : s_autotestExclusions)
        object.remove(address);
    FileWriter::writeFile(path, QJsonDocument(object).toJson(QJsonDocument::Indented));
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
        table = parseTabText(JsonBytes::read(file));
    file.close();

    const QString module = settingsModule(appName);
    const QString modeKey = QString::fromLatin1(kModeKey).arg(appName, module);
    if (!table.contains(modeKey)) {
        qCWarning(lcSave) << "Error: could not find " << modeKey << " inside " << path << ". Not loading the file!";
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

// Text that is no JSON object (a file cut short) gives an empty table; the set-up then carries that tab
// empty rather than failing, and the warning says which file it was.
bool HSave::readTabFile(int tabNum)
{
    if (!isTabNumber(tabNum))
        return false;
    QFile file(tabFilePath(tabNum));
    if (!file.exists() || !file.open(QIODevice::ReadOnly))
        return false;
    bool parsed = false;
    m_tabs[tabNum] = parseTabText(JsonBytes::read(file), &parsed);
    if (!parsed)
        qCWarning(lcSave) << kTabFileUnreadable << file.fileName();
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

bool HSave::saveToTabJsonFile(int tabNum)
{
    return isTabNumber(tabNum) && FileWriter::writeFile(tabFilePath(tabNum), indentedJson(m_tabs[tabNum]));
}

QMap<QString, QVariant> HSave::fromJsonString(const QString &text)
{
    return parseTabText(text.toUtf8()).toVariantMap();
}

bool HSave::save(const QString &filepath)
{
    qCDebug(lcSave) << "==================================save:" << filepath << m_type;
    // Written aside and put in place at the end: a failure leaves the old file whole.
    FileWriter file(filepath);
    if (!file.open())
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

    // A set-up whose tab files could not all be read back holds only its header, is still written, and
    // the call says false.
    const bool written = file.write(indentedJson(object)) && file.commit();
    result = result && written;
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

bool HSave::read(const QJsonObject &object)
{
    m_header = object.value(QString::fromLatin1(s_headerKey)).toObject().toVariantMap();
    uiTable() = object.value(QString::fromLatin1(kUi)).toObject().toVariantMap();
    const int tabs = tabCount();
    bool written = true;
    for (int tab = 0; tab < tabs; ++tab) {
        m_tabs[tab] = object.value(tabKey(tab + 1)).toObject();
        written = saveToTabJsonFile(tab) && written;
    }
    return written;
}

bool HSave::loadSetup(const QString &filepath)
{
    QFile file(filepath);
    if (!file.open(QIODevice::ReadOnly))
        return false;
    clearAll();
    // A tab file that could not be written would be recalled with old settings.
    return read(QJsonDocument::fromJson(JsonBytes::read(file)).object());
}

bool HSave::restoreSetup(const QString &file)
{
    QFile input(file);
    if (!input.open(QIODevice::ReadOnly))
        return false;
    const QJsonObject object = QJsonDocument::fromJson(JsonBytes::read(input)).object();
    m_header = object.value(QString::fromLatin1(s_headerKey)).toObject().toVariantMap();
    m_tabs[0] = object.value(tabKey(1)).toObject();
    return saveToTabJsonFile(0);
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
