#include "simactions.h"

#include "simulator.h"

#include <QDir>
#include <QDirIterator>
#include <QFile>
#include <QFileInfo>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QJsonParseError>
#include <QRegularExpression>

static const QString kOk = QStringLiteral("OK");
static const QString kStarterApp = QStringLiteral("starter_app");
static const QStringList kStarterActions
    = {QStringLiteral("fileCopy"), QStringLiteral("fileMove"), QStringLiteral("fileDelete")};
static const QStringList kAppActions
    = {QStringLiteral("saveconfig"),   QStringLiteral("loadconfig"), QStringLiteral("startRecall"),
       QStringLiteral("finishRecall"), QStringLiteral("presetActn"), QStringLiteral("loadResultActn")};

// The action name of ":action:<app>:<settings module>:<name>:", or empty for any other address.
static QString actionName(const QString &app, const QString &address)
{
    const QString prefix = QStringLiteral(":action:%1:%2:").arg(app, SimModel::settingsModule(app));
    if (!address.startsWith(prefix) || !address.endsWith(QLatin1Char(':')))
        return QString();
    const QString name = address.mid(prefix.size(), address.size() - prefix.size() - 1);
    return name.contains(QLatin1Char(':')) ? QString() : name;
}

SimActions::SimActions(Simulator *simulator)
    : m_simulator(simulator)
{
}

bool SimActions::isBuiltIn(const QString &app, const QString &address) const
{
    const QString name = actionName(app, address);
    return kAppActions.contains(name) || (app == kStarterApp && kStarterActions.contains(name));
}

QString SimActions::run(const QString &app, const QString &address, const QString &argument)
{
    const QString name = actionName(app, address);
    if (name == QLatin1String("fileCopy"))
        return fileCopy(argument);
    if (name == QLatin1String("fileMove"))
        return fileMove(argument);
    if (name == QLatin1String("fileDelete"))
        return fileDelete(argument);
    if (name == QLatin1String("saveconfig"))
        return saveConfig(app, argument);
    if (name == QLatin1String("loadconfig"))
        return loadConfig(app, argument);
    if (name == QLatin1String("presetActn"))
        return preset(app);
    if (name == QLatin1String("loadResultActn"))
        return loadResult(argument);
    return kOk; // startRecall and finishRecall: the journal is their record
}

// A name may itself hold "|": the split is at the first "|" whose left part is an existing path (a
// profile "a|b.mpcv" copied to a folder), else at the first "|" (the error then names the source).
static bool splitPair(const QString &argument, QString *src, QString *dst)
{
    int bar = argument.indexOf(QLatin1Char('|'));
    for (int at = bar; at > 0; at = argument.indexOf(QLatin1Char('|'), at + 1)) {
        if (QFileInfo::exists(argument.left(at))) {
            bar = at;
            break;
        }
    }
    if (bar <= 0 || bar == argument.size() - 1)
        return false;
    *src = argument.left(bar);
    *dst = argument.mid(bar + 1);
    return true;
}

// Into `dst` when it is an existing folder, else to the path `dst` itself.
static QString targetOf(const QString &src, const QString &dst)
{
    const QFileInfo dstInfo(dst);
    if (dstInfo.isDir())
        return QDir(dst).filePath(QFileInfo(src).fileName());
    return dst;
}

static bool isInside(const QString &path, const QString &folder)
{
    const QString p = QFileInfo(path).absoluteFilePath();
    const QString f = QFileInfo(folder).absoluteFilePath();
    return p == f || p.startsWith(f + QLatin1Char('/'));
}

static bool copyTree(const QString &src, const QString &dst)
{
    const QFileInfo info(src);
    if (!info.isDir()) {
        if (QFileInfo(dst).isFile() && !QFile::remove(dst))
            return false;
        return QFile::copy(src, dst);
    }
    if (!QDir().mkpath(dst))
        return false;
    const QFileInfoList entries
        = QDir(src).entryInfoList(QDir::AllEntries | QDir::Hidden | QDir::System | QDir::NoDotAndDotDot);
    for (const QFileInfo &entry : entries) {
        if (!copyTree(entry.filePath(), QDir(dst).filePath(entry.fileName())))
            return false;
    }
    return true;
}

static bool removePath(const QString &path)
{
    const QFileInfo info(path);
    if (info.isDir() && !info.isSymLink())
        return QDir(path).removeRecursively();
    return QFile::remove(path);
}

static QString missing(const QString &path)
{
    return QStringLiteral("Error: no such file or folder: %1").arg(path);
}

// The checks a copy and a move share: a source|destination pair, an existing source, and no folder
// going into itself. Gives the error reply, or "" with the source and the final target filled in.
static QString transferError(const QString &argument, const QString &verb, QString *src, QString *target)
{
    QString dst;
    if (!splitPair(argument, src, &dst))
        return QStringLiteral("Error: expected source|destination");
    if (!QFileInfo::exists(*src))
        return missing(*src);
    *target = targetOf(*src, dst);
    if (QFileInfo(*src).isDir() && isInside(*target, *src))
        return QStringLiteral("Error: cannot %1 a folder into itself: %2").arg(verb, *src);
    return QString();
}

static bool samePath(const QString &a, const QString &b)
{
    return QFileInfo(a).absoluteFilePath() == QFileInfo(b).absoluteFilePath();
}

QString SimActions::fileCopy(const QString &argument)
{
    QString src;
    QString target;
    const QString error = transferError(argument, QStringLiteral("copy"), &src, &target);
    if (!error.isEmpty())
        return error;
    if (samePath(target, src))
        return QStringLiteral("Error: source and destination are the same: %1").arg(src);
    if (!copyTree(src, target))
        return QStringLiteral("Error: could not copy %1 to %2").arg(src, target);
    return kOk;
}

QString SimActions::fileMove(const QString &argument)
{
    QString src;
    QString target;
    const QString error = transferError(argument, QStringLiteral("move"), &src, &target);
    if (!error.isEmpty())
        return error;
    if (samePath(target, src))
        return kOk;
    if (QFileInfo(target).isFile() && QFileInfo(src).isFile())
        QFile::remove(target);
    if (QDir().rename(src, target))
        return kOk;
    // Another file system: copy, then remove the source only once the copy is complete.
    if (!copyTree(src, target))
        return QStringLiteral("Error: could not move %1 to %2").arg(src, target);
    removePath(src);
    return kOk;
}

QString SimActions::fileDelete(const QString &path)
{
    if (path.isEmpty() || !QFileInfo(path).exists())
        return missing(path);
    if (!removePath(path))
        return QStringLiteral("Error: could not delete %1").arg(path);
    return kOk;
}

static QJsonValue toJson(const QVariant &value)
{
    return QJsonValue::fromVariant(value);
}

QString SimActions::saveConfig(const QString &app, const QString &argument)
{
    // The argument is "<path>,<flags>,": the path is everything before the last two commas.
    const QString path = argument.count(QLatin1Char(',')) >= 2 ? argument.section(QLatin1Char(','), 0, -3) : argument;
    const SimModel &model = m_simulator->model();
    QJsonObject settings;
    for (const QString &address : model.moduleAddresses(app, SimModel::settingsModule(app))) {
        const SimItem *item = model.item(address);
        if (item->kind == QLatin1String("config"))
            settings.insert(address, toJson(item->value));
    }
    QFile file(path);
    if (!file.open(QIODevice::WriteOnly | QIODevice::Truncate))
        return QStringLiteral("Error: cannot write %1").arg(path);
    file.write(QJsonDocument(settings).toJson(QJsonDocument::Indented));
    return kOk;
}

static bool readObject(const QString &path, QJsonObject *object, QString *error)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly)) {
        *error = QStringLiteral("Error: cannot read %1").arg(path);
        return false;
    }
    QJsonParseError parseError;
    const QJsonDocument doc = QJsonDocument::fromJson(file.readAll(), &parseError);
    if (!doc.isObject()) {
        *error = QStringLiteral("Error: %1 is not a JSON object").arg(path);
        return false;
    }
    *object = doc.object();
    return true;
}

QString SimActions::loadConfig(const QString &app, const QString &path)
{
    QJsonObject settings;
    QString error;
    if (!readObject(path, &settings, &error))
        return error;
    const SimModel &model = m_simulator->model();
    for (auto it = settings.constBegin(); it != settings.constEnd(); ++it) {
        const SimItem *item = model.item(it.key());
        // Only this application's settings; values that do not fit the item are passed over.
        if (item && item->app == app && item->kind == QLatin1String("config"))
            m_simulator->writeItem(it.key(), it.value().toVariant());
    }
    return kOk;
}

QString SimActions::preset(const QString &app)
{
    const SimModel &model = m_simulator->model();
    for (const QString &address : model.appAddresses(app)) {
        const SimItem *item = model.item(address);
        const QVariant init = item->attributes.value(QStringLiteral("initValue"));
        if (item->kind == QLatin1String("config") && init.isValid())
            m_simulator->writeItem(address, init);
    }
    return kOk;
}

QString SimActions::loadResult(const QString &argument)
{
    // "<path>" or "<path>:<trace>"
    static const QRegularExpression traceSuffix(QStringLiteral(":\\d+$"));
    QString path = argument;
    path.remove(traceSuffix);
    QJsonObject result;
    QString error;
    if (!readObject(path, &result, &error))
        return error;
    return kOk;
}
