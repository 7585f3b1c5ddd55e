#include "hsave.h"

#include "appservice.h"
#include "tabfiles.h"

#include "qmlinput.h"

#include <QFile>
#include <QFileInfo>

namespace {
const char kAutotestApp[] = "autotest_app";

// The content of a saved file by the `type` property.
SetupDocument::Content contentOf(int type)
{
    switch (type) {
    case HSave::SAVE_SETUP:
        return SetupDocument::Setup;
    case HSave::SAVE_RESULT:
    case HSave::SAVE_MPC:
        return SetupDocument::HeaderOnly;
    case HSave::SAVE_BACKUP:
        return SetupDocument::Backup;
    case HSave::SAVE_LOGGING:
        return SetupDocument::Logging;
    case HSave::SAVE_LAST:
        return SetupDocument::Last;
    default:
        return SetupDocument::Nothing;
    }
}
} // namespace

void HSave::addTab(int tabNum, const QString &appName, const QString &moduleName)
{
    Q_UNUSED(moduleName)
    if (TabFiles::isTabNumber(tabNum))
        AppService::captureTab(appName, &m_setup.tab(tabNum));
}

void HSave::saveTabFile(int tabNum, const QString &appName, const QString &moduleName)
{
    if (!TabFiles::isTabNumber(tabNum))
        return;
    Q_UNUSED(moduleName)
    m_setup.saveCapturedTab(tabNum, appName);
}

// The application writes its own tab file; the table captured here is what the interface shows meanwhile.
void HSave::saveTabFileNew(int tabNum, const QString &appName, const QString &moduleName)
{
    if (!TabFiles::isTabNumber(tabNum))
        return;
    const QString path = TabFiles::path(tabNum);
    QFile::remove(path);
    addTab(tabNum, appName, moduleName);
    AppService::requestTabFile(appName, tabNum);
    if (appName == QLatin1String(kAutotestApp))
        TabFiles::dropAutotestRuntime(path);
}

bool HSave::loadTabFile(int tabNum, const QString &appName)
{
    if (!TabFiles::isTabNumber(tabNum))
        return false;
    const QString path = TabFiles::path(tabNum);
    return !QFileInfo::exists(path) || AppService::recallTab(appName, path);
}

bool HSave::readTabFile(int tabNum)
{
    return m_setup.readTab(tabNum);
}

void HSave::deleteTabFile(int tabNum)
{
    TabFiles::remove(tabNum);
}

void HSave::renameTabFile(int tabNum)
{
    TabFiles::moveDown(tabNum);
}

bool HSave::saveToTabJsonFile(int tabNum)
{
    return m_setup.writeTab(tabNum);
}

QMap<QString, QVariant> HSave::fromJsonString(const QString &text)
{
    return TabFiles::parse(text.toUtf8()).toVariantMap();
}

bool HSave::save(const QString &filepath)
{
    qCDebug(lcSave) << "==================================save:" << filepath << m_type;
    const bool result = m_setup.save(filepath, contentOf(m_type));
    qCDebug(lcSave) << "=================================save ends with=" << result;
    return result;
}

bool HSave::writeSetup(QJsonObject &object)
{
    return m_setup.writeSetup(object);
}

void HSave::lastSetup(QJsonObject &object)
{
    m_setup.lastSetup(object);
}

void HSave::backupSetup(QJsonObject &object)
{
    m_setup.backupSetup(object);
}

void HSave::loggingUISetup(QJsonObject &object)
{
    m_setup.loggingSetup(object);
}

void HSave::saveMapProfile(QJsonObject &object)
{
    m_setup.headerOnly(object);
}

bool HSave::resultSetup(QJsonObject &object)
{
    m_setup.headerOnly(object);
    return true;
}

bool HSave::read(const QJsonObject &object)
{
    return m_setup.read(object);
}

bool HSave::loadSetup(const QString &filepath)
{
    return m_setup.load(filepath);
}

bool HSave::restoreSetup(const QString &file)
{
    return m_setup.restore(file);
}

void HSave::clearAll()
{
    m_setup.clear();
}

void HSave::addCommonHeader(const QString &pro, const QVariant &value)
{
    m_setup.header().insert(pro, QmlInput::plain(value));
}

void HSave::addCommonUI(const QString &pro, const QVariant &value)
{
    m_setup.ui().insert(pro, QmlInput::plain(value));
}

QString HSave::getHeader(const QString &name)
{
    return m_setup.header().value(name).toString();
}

QString HSave::getUI(const QString &name)
{
    return m_setup.ui().value(name).toString();
}

int HSave::getJsonSize(const QMap<QString, QVariant> &map)
{
    return SetupDocument::jsonSize(map);
}

void HSave::saveVmToJson(const QMap<QString, QVariant> &map, QTextStream &stream, QFile &file)
{
    SetupDocument::writeJson(map, stream, file);
}
