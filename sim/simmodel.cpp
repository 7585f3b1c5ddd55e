// Model file of hbase-sim: one JSON object.
//
//   {
//     "applications": [
//       { "name": "spectrumanalyzer_app",
//         "modules": [
//           { "name": "spectrumanalyzer_reg_module",
//             "items": [
//               { "name": "centreFreq", "value": 1.0e9 },
//               { "name": "detector", "type": "int", "value": 0, "enumStrings": ["Peak", "Sample"] },
//               { "name": "traceModes", "value": ["Clear Write", "Max Hold"] },
//               { "name": "channelPower", "kind": "result", "value": -40.0,
//                 "simulate": { "min": -80, "max": -20, "periodMs": 200 } },
//               { "name": "presetActn", "kind": "action" } ] } ] } ]
//   }
//
// Item members:
//   "name"        parameter name (required)
//   "kind"        "config" (default), "result" or "action"
//   "type"        "double", "int", "bool", "string", "stringArray", "doubleArray" or "intArray"; when
//                 absent it follows the value (a number is a double, "enumStrings" makes an int)
//   "value"       the current value (default: zero, false, empty text or empty array)
//   "initValue"   the default value; config items without one get their "value"; null means none
//   "enumStrings" the entry texts of an enumerated item
//   "simulate"    {"min", "max", "periodMs"}: a double value wanders between min and max on a timer;
//                 {"periodMs", "carriers": [{"frequency", "bandwidth", "level"}, ...]}: a double array
//                 is a new sweep on every tick, following the application's centreFreq, span, rbw,
//                 refLevel and sweepPoints (see simspectrum.h)
//   "attributes"  further attributes handed out as they are
// The address is ":" kind ":" application ":" module ":" name ":", followed by "stringARRAY:",
// "doubleARRAY:" or "int32ARRAY:" for the array types. Items keep the file's order.
#include "simmodel.h"

#include "simspectrum.h"

#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonParseError>
#include <QSet>

static const QString kInitValue = QStringLiteral("initValue");
static const QString kEnumStrings = QStringLiteral("enumStrings");
static const QStringList kKinds = {QStringLiteral("config"), QStringLiteral("result"), QStringLiteral("action")};
static const QStringList kTypes = {
    QStringLiteral("double"),      QStringLiteral("int"),         QStringLiteral("bool"),    QStringLiteral("string"),
    QStringLiteral("stringArray"), QStringLiteral("doubleArray"), QStringLiteral("intArray")};

static QString arrayMarker(const QString &type)
{
    if (type == QLatin1String("stringArray"))
        return QStringLiteral("stringARRAY:");
    if (type == QLatin1String("doubleArray"))
        return QStringLiteral("doubleARRAY:");
    if (type == QLatin1String("intArray"))
        return QStringLiteral("int32ARRAY:");
    return QString();
}

static QString typeOfMarker(const QString &marker)
{
    if (marker == QLatin1String("stringARRAY"))
        return QStringLiteral("stringArray");
    if (marker == QLatin1String("doubleARRAY"))
        return QStringLiteral("doubleArray");
    if (marker == QLatin1String("int32ARRAY"))
        return QStringLiteral("intArray");
    return QString();
}

static QVariant defaultOf(const QString &type)
{
    if (type == QLatin1String("double"))
        return 0.0;
    if (type == QLatin1String("int"))
        return 0;
    if (type == QLatin1String("bool"))
        return false;
    if (type == QLatin1String("string"))
        return QString();
    if (type == QLatin1String("stringArray"))
        return QStringList();
    return QVariantList();
}

QString SimModel::settingsModule(const QString &app)
{
    QString base = app;
    if (base.endsWith(QLatin1String("_app")))
        base.chop(4);
    return base + QStringLiteral("_reg_module");
}

QString SimModel::typeOf(const QVariant &value)
{
    switch (value.userType()) {
    case QMetaType::Bool:
        return QStringLiteral("bool");
    case QMetaType::Int:
    case QMetaType::UInt:
    case QMetaType::LongLong:
    case QMetaType::ULongLong:
        return QStringLiteral("int");
    case QMetaType::Double:
    case QMetaType::Float:
        return QStringLiteral("double");
    case QMetaType::QString:
        return QStringLiteral("string");
    case QMetaType::QStringList:
        return QStringLiteral("stringArray");
    case QMetaType::QVariantList: {
        const QVariantList list = value.toList();
        if (list.isEmpty())
            return QStringLiteral("doubleArray");
        bool texts = true;
        for (const QVariant &element : list)
            texts = texts && element.userType() == QMetaType::QString;
        return texts ? QStringLiteral("stringArray") : QStringLiteral("doubleArray");
    }
    default:
        return QString();
    }
}

// JSON has one kind of number: without "type", a number is a double (1 and 1.0 alike).
static QString typeOfJson(const QJsonValue &value, bool enumerated)
{
    if (enumerated)
        return QStringLiteral("int");
    if (value.isDouble())
        return QStringLiteral("double");
    if (value.isArray()) {
        const QJsonArray array = value.toArray();
        return !array.isEmpty() && array.first().isString() ? QStringLiteral("stringArray")
                                                            : QStringLiteral("doubleArray");
    }
    if (value.isBool())
        return QStringLiteral("bool");
    if (value.isString() || value.isUndefined() || value.isNull())
        return QStringLiteral("string");
    return QString();
}

static bool toNumber(const QVariant &value, double *out)
{
    bool ok = false;
    if (value.userType() == QMetaType::Bool)
        return false;
    *out = value.userType() == QMetaType::QString ? value.toString().trimmed().toDouble(&ok) : value.toDouble(&ok);
    return ok;
}

bool SimModel::coerce(const SimItem &item, const QVariant &value, QVariant *out) const
{
    const QString &type = item.type;
    double number = 0;
    if (type == QLatin1String("double")) {
        if (!toNumber(value, &number))
            return false;
        *out = number;
    } else if (type == QLatin1String("int")) {
        if (value.userType() == QMetaType::QString) {
            // An enumerated item also takes its entry text.
            const int entry = item.attributes.value(kEnumStrings).toStringList().indexOf(value.toString());
            if (entry >= 0) {
                *out = entry;
                return true;
            }
        }
        if (!toNumber(value, &number) || number != qint64(number) || qAbs(number) > 2147483647.0)
            return false;
        *out = int(number);
    } else if (type == QLatin1String("bool")) {
        if (value.userType() == QMetaType::QString) {
            const QString text = value.toString();
            if (text != QLatin1String("true") && text != QLatin1String("false"))
                return false;
            *out = text == QLatin1String("true");
        } else if (value.userType() == QMetaType::Bool || toNumber(value, &number)) {
            *out = value.toBool();
        } else {
            return false;
        }
    } else if (type == QLatin1String("string")) {
        if (!value.canConvert<QString>() || value.userType() == QMetaType::QVariantList
            || value.userType() == QMetaType::QStringList)
            return false;
        *out = value.toString();
    } else if (type == QLatin1String("stringArray")) {
        if (value.userType() != QMetaType::QStringList && value.userType() != QMetaType::QVariantList)
            return false;
        *out = value.toStringList();
    } else {
        if (value.userType() != QMetaType::QVariantList && value.userType() != QMetaType::QStringList)
            return false;
        QVariantList list;
        const bool ints = type == QLatin1String("intArray");
        for (const QVariant &element : value.toList()) {
            if (!toNumber(element, &number))
                return false;
            list.append(ints ? QVariant(int(number)) : QVariant(number));
        }
        *out = list;
    }
    return true;
}

bool SimModel::load(const QByteArray &json, QString *error)
{
    m_apps.clear();
    m_items.clear();
    QJsonParseError parseError;
    const QJsonDocument doc = QJsonDocument::fromJson(json, &parseError);
    if (parseError.error != QJsonParseError::NoError) {
        *error = QStringLiteral("not valid JSON: %1 at offset %2").arg(parseError.errorString()).arg(parseError.offset);
        return false;
    }
    if (!doc.isObject() || !doc.object().value(QStringLiteral("applications")).isArray()) {
        *error = QStringLiteral("the top level must be an object with an \"applications\" array");
        return false;
    }
    for (const QJsonValue &app : doc.object().value(QStringLiteral("applications")).toArray()) {
        if (!loadApp(app.toObject(), error)) {
            m_apps.clear();
            m_items.clear();
            return false;
        }
    }
    return true;
}

bool SimModel::loadApp(const QJsonObject &json, QString *error)
{
    const QString name = json.value(QStringLiteral("name")).toString();
    if (name.isEmpty() || name.contains(QLatin1Char(':'))) {
        *error = QStringLiteral("an application has no valid \"name\"");
        return false;
    }
    if (findApp(name)) {
        *error = QStringLiteral("application \"%1\" appears twice").arg(name);
        return false;
    }
    m_apps.append(App{name, {}});
    for (const QJsonValue &moduleValue : json.value(QStringLiteral("modules")).toArray()) {
        const QJsonObject moduleJson = moduleValue.toObject();
        const QString moduleName = moduleJson.value(QStringLiteral("name")).toString();
        if (moduleName.isEmpty() || moduleName.contains(QLatin1Char(':'))) {
            *error = QStringLiteral("a module of \"%1\" has no valid \"name\"").arg(name);
            return false;
        }
        if (findModule(name, moduleName)) {
            *error = QStringLiteral("module \"%1\" of \"%2\" appears twice").arg(moduleName, name);
            return false;
        }
        m_apps.last().modules.append(Module{moduleName, {}});
        for (const QJsonValue &itemValue : moduleJson.value(QStringLiteral("items")).toArray()) {
            if (!loadItem(itemValue.toObject(), name, m_apps.last().modules.last(), error))
                return false;
        }
    }
    return true;
}

bool SimModel::loadItem(const QJsonObject &json, const QString &app, Module &module, QString *error)
{
    const QString where = QStringLiteral("%1/%2").arg(app, module.name);
    const QString name = json.value(QStringLiteral("name")).toString();
    if (name.isEmpty() || name.contains(QLatin1Char(':'))) {
        *error = QStringLiteral("an item of %1 has no valid \"name\"").arg(where);
        return false;
    }
    SimItem item;
    item.app = app;
    item.module = module.name;
    item.kind = json.value(QStringLiteral("kind")).toString(QStringLiteral("config"));
    if (!kKinds.contains(item.kind)) {
        *error = QStringLiteral("item \"%1\" of %2 has an unknown \"kind\"").arg(name, where);
        return false;
    }
    const QJsonValue enumStrings = json.value(kEnumStrings);
    const QJsonValue jsonValue = json.value(QStringLiteral("value"));
    const QVariant value = jsonValue.toVariant();
    item.type = json.value(QStringLiteral("type")).toString();
    if (item.type.isEmpty())
        item.type = typeOfJson(jsonValue, enumStrings.isArray());
    if (!kTypes.contains(item.type)) {
        *error = QStringLiteral("item \"%1\" of %2 has an unknown \"type\"").arg(name, where);
        return false;
    }
    item.address = QStringLiteral(":%1:%2:%3:%4:%5").arg(item.kind, app, module.name, name, arrayMarker(item.type));
    if (m_items.contains(item.address)) {
        *error = QStringLiteral("item \"%1\" appears twice").arg(item.address);
        return false;
    }
    item.attributes = json.value(QStringLiteral("attributes")).toObject().toVariantMap();
    if (!enumStrings.isUndefined()) {
        if (!enumStrings.isArray()) {
            *error = QStringLiteral("\"enumStrings\" of \"%1\" is not an array").arg(item.address);
            return false;
        }
        item.attributes.insert(kEnumStrings, enumStrings.toVariant().toStringList());
    }
    item.value = defaultOf(item.type);
    if (value.isValid() && !coerce(item, value, &item.value)) {
        *error = QStringLiteral("\"value\" of \"%1\" is not of type %2").arg(item.address, item.type);
        return false;
    }
    const QJsonValue init = json.value(kInitValue);
    if (init.isUndefined() && item.kind == QLatin1String("config")) {
        item.attributes.insert(kInitValue, item.value);
    } else if (!init.isUndefined() && !init.isNull()) {
        QVariant initValue;
        if (!coerce(item, init.toVariant(), &initValue)) {
            *error = QStringLiteral("\"initValue\" of \"%1\" is not of type %2").arg(item.address, item.type);
            return false;
        }
        item.attributes.insert(kInitValue, initValue);
    }
    const QJsonValue simulate = json.value(QStringLiteral("simulate"));
    if (!simulate.isUndefined()) {
        const QJsonObject range = simulate.toObject();
        const int period = range.value(QStringLiteral("periodMs")).toInt(0);
        if (item.type == QLatin1String("doubleArray")) {
            QString reason = QStringLiteral("\"carriers\" is not an array");
            if (period < 10 || !range.value(QStringLiteral("carriers")).isArray()
                || !SimSpectrum().load(range.toVariantMap(), &reason)) {
                *error = QStringLiteral("\"simulate\" of \"%1\" needs periodMs >= 10 and carriers: %2")
                             .arg(item.address, reason);
                return false;
            }
        } else {
            const double min = range.value(QStringLiteral("min")).toDouble(qQNaN());
            const double max = range.value(QStringLiteral("max")).toDouble(qQNaN());
            if (!(min < max) || period < 10 || item.type != QLatin1String("double")) {
                *error = QStringLiteral("\"simulate\" of \"%1\" needs a double item, min < max and periodMs >= 10")
                             .arg(item.address);
                return false;
            }
        }
        item.simulate = range.toVariantMap();
    }
    module.addresses.append(item.address);
    m_items.insert(item.address, item);
    return true;
}

QStringList SimModel::apps() const
{
    QStringList names;
    for (const App &app : m_apps)
        names.append(app.name);
    return names;
}

SimModel::App *SimModel::findApp(const QString &name)
{
    for (App &app : m_apps) {
        if (app.name == name)
            return &app;
    }
    return nullptr;
}

const SimModel::App *SimModel::findApp(const QString &name) const
{
    return const_cast<SimModel *>(this)->findApp(name);
}

SimModel::Module *SimModel::findModule(const QString &app, const QString &module)
{
    App *found = findApp(app);
    if (!found)
        return nullptr;
    for (Module &m : found->modules) {
        if (m.name == module)
            return &m;
    }
    return nullptr;
}

bool SimModel::hasModule(const QString &app, const QString &module) const
{
    return const_cast<SimModel *>(this)->findModule(app, module) != nullptr;
}

QStringList SimModel::moduleAddresses(const QString &app, const QString &module) const
{
    const Module *found = const_cast<SimModel *>(this)->findModule(app, module);
    return found ? found->addresses : QStringList();
}

QStringList SimModel::appAddresses(const QString &app) const
{
    QStringList addresses;
    if (const App *found = findApp(app)) {
        for (const Module &module : found->modules)
            addresses += module.addresses;
    }
    return addresses;
}

const SimItem *SimModel::item(const QString &address) const
{
    const auto it = m_items.constFind(address);
    return it == m_items.cend() ? nullptr : &it.value();
}

bool SimModel::setValue(const QString &address, const QVariant &value)
{
    auto it = m_items.find(address);
    if (it == m_items.end() || it->value == value)
        return false;
    it->value = value;
    return true;
}

bool SimModel::upsert(const QString &address, const QVariant &value, const QVariantMap &attributes, QString *error)
{
    const QStringList fields = address.split(QLatin1Char(':'));
    // ":kind:app:module:name:" gives 6 fields, with an array marker 7.
    const bool shapeOk = (fields.size() == 6 || fields.size() == 7) && fields.first().isEmpty()
        && fields.last().isEmpty() && kKinds.contains(fields.at(1)) && !fields.at(2).isEmpty()
        && !fields.at(3).isEmpty() && !fields.at(4).isEmpty()
        && (fields.size() == 6 || !typeOfMarker(fields.at(5)).isEmpty());
    if (!shapeOk) {
        *error = QStringLiteral("not an item address: %1").arg(address);
        return false;
    }
    auto it = m_items.find(address);
    if (it != m_items.end()) {
        QVariant converted;
        if (!coerce(*it, value, &converted)) {
            *error = QStringLiteral("value does not fit the type %1 of %2").arg(it->type, address);
            return false;
        }
        it->value = converted;
        it->attributes = attributes;
        return true;
    }
    SimItem item;
    item.address = address;
    item.kind = fields.at(1);
    item.app = fields.at(2);
    item.module = fields.at(3);
    item.type = fields.size() == 7 ? typeOfMarker(fields.at(5)) : typeOf(value);
    item.attributes = attributes;
    if (item.type.isEmpty() || !coerce(item, value, &item.value)) {
        *error = QStringLiteral("value does not fit the item %1").arg(address);
        return false;
    }
    if (!findApp(item.app))
        m_apps.append(App{item.app, {}});
    if (!findModule(item.app, item.module))
        findApp(item.app)->modules.append(Module{item.module, {}});
    findModule(item.app, item.module)->addresses.append(address);
    m_items.insert(address, item);
    return true;
}

bool SimModel::remove(const QString &address)
{
    const auto it = m_items.find(address);
    if (it == m_items.end())
        return false;
    if (Module *module = findModule(it->app, it->module))
        module->addresses.removeAll(address);
    m_items.erase(it);
    return true;
}
