#include "tabfiles.h"

#include "filewriter.h"
#include "hbaselogging.h"
#include "jsonbytes.h"

#include <QFile>
#include <QFileInfo>
#include <QJsonDocument>
#include <QSet>
#include <QStringList>

#include <algorithm>

namespace {
const char kTabFilePattern[] = "/tmp/Tab%1.oxs";
const char kTabFileUnreadable[] = "tab file does not parse, its table is empty:";

// The file list of the automated test is rebuilt from the folder on every start; a stale one in a
// tab file would point the test at files that are gone.
const char kAutotestFileList[] = ":config:autotest_app:autotest_reg_module:rFileList:";
const char kLineComment[] = "//";
const QLatin1Char kCommentSlash('/');
const QLatin1Char kQuote('"');
const QLatin1Char kBackslash('\\');
const QLatin1Char kLineFeed('\n');

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
} // namespace

bool TabFiles::isTabNumber(int tab)
{
    return tab >= 0 && tab < s_count;
}

QString TabFiles::path(int tab)
{
    return numberedPath(qulonglong(tab + 1));
}

QString TabFiles::numberedPath(qulonglong number)
{
    return QString::fromLatin1(kTabFilePattern).arg(number);
}

// Comments are cut, then the lines are joined (their line feeds taken out) as the tab files were always
// read; bytes that are no valid UTF-8 read as the text they decode to.
QJsonObject TabFiles::parse(const QByteArray &bytes, bool *parsed)
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

QJsonObject TabFiles::load(const QString &path)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return QJsonObject();
    return parse(JsonBytes::read(file));
}

// Text that is no JSON object (a file cut short) gives an empty table; a set-up then carries that tab
// empty rather than failing, and the warning says which file it was.
bool TabFiles::read(int tab, QJsonObject *table)
{
    if (!isTabNumber(tab))
        return false;
    QFile file(path(tab));
    if (!file.exists() || !file.open(QIODevice::ReadOnly))
        return false;
    bool parsed = false;
    *table = parse(JsonBytes::read(file), &parsed);
    if (!parsed)
        qCWarning(lcSave) << kTabFileUnreadable << file.fileName();
    return true;
}

bool TabFiles::write(int tab, const QJsonObject &table)
{
    return isTabNumber(tab) && FileWriter::writeFile(path(tab), indented(table));
}

void TabFiles::remove(int tab)
{
    if (!isTabNumber(tab))
        return;
    const QString file = path(tab);
    if (QFileInfo::exists(file))
        QFile::remove(file);
}

// Closing a tab moves the files of the tabs after it down by one place: "Tab3" becomes "Tab2". The
// closed tab's file is deleted first; a file still in the way is not overwritten.
void TabFiles::moveDown(int tab)
{
    if (!isTabNumber(tab) || tab == 0)
        return;
    QFile::rename(path(tab), path(tab - 1));
}

// Text that does not parse leaves no member to keep: the file becomes an empty object.
void TabFiles::dropAutotestRuntime(const QString &path)
{
    if (!QFileInfo::exists(path))
        return;
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return;
    QJsonObject object = QJsonDocument::fromJson(JsonBytes::read(file)).object();
    file.close();
    for (const QString &address : s_autotestExclusions)
        object.remove(address);
    FileWriter::writeFile(path, indented(object));
}

QByteArray TabFiles::indented(const QJsonObject &object)
{
    return QJsonDocument(object).toJson(QJsonDocument::Indented);
}
