#include "benchmodel.h"

#include "simfixture.h"

#include <QFile>
#include <QJsonDocument>

QString BenchModel::app(int index)
{
    return QStringLiteral("bench%1_app").arg(index);
}

QString BenchModel::settingsModule(int index)
{
    return QStringLiteral("bench%1_reg_module").arg(index);
}

QJsonArray BenchModel::settings(int items)
{
    QJsonArray out;
    for (int i = 0; i < items; ++i) {
        const QString name = QStringLiteral("setting%1").arg(i);
        QJsonObject item;
        switch (i % 5) {
        case 0:
            item = SimFixture::item(name, 1.0e9 + i);
            break;
        case 1:
            item = SimFixture::item(name, i % 3, QStringLiteral("int"));
            item.insert(QStringLiteral("enumStrings"), QJsonArray{"Peak", "Sample", "RMS"});
            break;
        case 2:
            item = SimFixture::item(name, QStringLiteral("site %1").arg(i));
            break;
        case 3:
            item = SimFixture::item(name, QJsonArray{-30.5, -40.0, 12.25}, QStringLiteral("doubleArray"));
            break;
        default:
            item = SimFixture::item(name, i % 2 == 0);
            break;
        }
        out.append(item);
    }
    return out;
}

QJsonObject BenchModel::model(int apps, int items)
{
    QJsonArray applications;
    for (int index = 0; index < apps; ++index)
        applications.append(SimFixture::app(app(index), {SimFixture::module(settingsModule(index), settings(items))}));
    return SimFixture::model(applications);
}

QJsonObject BenchModel::modelWithResult(int items, const QString &result)
{
    QJsonObject out = model(1, items);
    QJsonArray apps = out.value("applications").toArray();
    QJsonObject first = apps.at(0).toObject();
    QJsonArray modules = first.value("modules").toArray();
    modules.append(SimFixture::module("bench0_result", {SimFixture::item(result, -40.0, QString(), "result")}));
    first.insert("modules", modules);
    apps.replace(0, first);
    out.insert("applications", apps);
    return out;
}

QJsonObject BenchModel::tabTable(int index, int items)
{
    const QString prefix = QStringLiteral(":config:%1:%2:").arg(app(index), settingsModule(index));
    const QJsonArray all = settings(items);
    QJsonObject table;
    for (const QJsonValue &entry : all) {
        const QJsonObject item = entry.toObject();
        const bool isArray = item.value(QStringLiteral("type")).toString() == QLatin1String("doubleArray");
        const QString address = prefix + item.value(QStringLiteral("name")).toString()
            + (isArray ? QStringLiteral(":doubleARRAY:") : QStringLiteral(":"));
        QJsonValue value = item.value(QStringLiteral("value"));
        if (isArray)
            value = QJsonArray{"-30.5", "-40", "12.25"};
        table.insert(address, value);
    }
    return table;
}

void BenchModel::writeTabFiles(int items)
{
    for (int tab = 0; tab < 6; ++tab) {
        QFile file(QStringLiteral("/tmp/Tab%1.oxs").arg(tab + 1));
        if (!file.open(QIODevice::WriteOnly | QIODevice::Truncate))
            qFatal("cannot write %s", qPrintable(file.fileName()));
        file.write(QJsonDocument(tabTable(tab, items)).toJson(QJsonDocument::Indented));
    }
}
