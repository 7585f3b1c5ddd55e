#ifndef SIMMODEL_H
#define SIMMODEL_H

#include <QHash>
#include <QJsonObject>
#include <QList>
#include <QString>
#include <QStringList>
#include <QVariant>

// One parameter item of a simulated application.
struct SimItem
{
    QString address;
    QString kind; // "config", "action" or "result"
    QString app;
    QString module;
    QString type; // "double", "int", "bool", "string", "stringArray", "doubleArray", "intArray"
    QVariant value;
    QVariantMap attributes; // "initValue", "enumStrings" and whatever else the model gives
    QVariantMap simulate; // {"min", "max", "periodMs"} for a value that wanders on a timer
};

// The applications, modules and items the simulator serves, loaded from a JSON model file.
// The file format is described at the top of simmodel.cpp.
class SimModel
{
public:
    // Replaces the model with the content of `json`; on failure returns false with a reason in
    // `error` and leaves the model empty.
    bool load(const QByteArray &json, QString *error);

    QStringList apps() const;
    bool hasModule(const QString &app, const QString &module) const;
    QStringList moduleAddresses(const QString &app, const QString &module) const;
    QStringList appAddresses(const QString &app) const;

    const SimItem *item(const QString &address) const;
    // `value` converted to the item's type; false when it cannot be.
    bool coerce(const SimItem &item, const QVariant &value, QVariant *out) const;
    // Sets a converted value; true when the value changed.
    bool setValue(const QString &address, const QVariant &value);
    // Adds an item (its application and module too, when new) or replaces its value and attributes.
    // Returns false when the address is not of the form ":kind:app:module:name:[marker:]".
    bool upsert(const QString &address, const QVariant &value, const QVariantMap &attributes, QString *error);
    bool remove(const QString &address);

    static QString settingsModule(const QString &app);
    static QString typeOf(const QVariant &value);

private:
    struct Module
    {
        QString name;
        QStringList addresses;
    };
    struct App
    {
        QString name;
        QList<Module> modules;
    };

    bool loadApp(const QJsonObject &json, QString *error);
    bool loadItem(const QJsonObject &json, const QString &app, Module &module, QString *error);
    App *findApp(const QString &name);
    const App *findApp(const QString &name) const;
    Module *findModule(const QString &app, const QString &module);

    QList<App> m_apps;
    QHash<QString, SimItem> m_items;
};

#endif // SIMMODEL_H
