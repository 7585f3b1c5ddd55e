#include "simulator.h"

#include "elfservice.h"
#include "simactions.h"
#include "simspectrum.h"

#include <QFile>
#include <QJsonArray>
#include <QJsonDocument>
#include <QLocale>
#include <QRandomGenerator>
#include <QTimer>
#include <cstdio>

static const QString kInitValue = QStringLiteral("initValue");

Simulator::Simulator(QObject *parent)
    : QObject(parent)
    , m_actions(new SimActions(this))
{
}

Simulator::~Simulator()
{
    delete m_actions;
}

bool Simulator::loadModel(const QByteArray &json, QString *error)
{
    return m_model.load(json, error);
}

bool Simulator::publish(QString *error)
{
    for (const QString &app : m_model.apps()) {
        if (m_services.contains(app))
            continue;
        auto *service = new ElfService(this, app, this);
        m_services.insert(app, service);
        if (!service->publish(error))
            return false;
    }
    startSimulations();
    return true;
}

void Simulator::setVerbose(bool verbose)
{
    m_verbose = verbose;
}

const SimModel &Simulator::model() const
{
    return m_model;
}

void Simulator::received(const QString &service, const QString &method, const QString &address, const QString &argument)
{
    ++m_stats[method];
    if (method == QLatin1String("SetItemValue") || method == QLatin1String("CallAction"))
        m_journal.append(JournalEntry{service, address, argument});
    if (m_verbose) {
        const QString line = QStringLiteral("hbase-sim: %1 %2 %3 %4\n").arg(service, method, address, argument);
        fputs(line.toLocal8Bit().constData(), stderr);
    }
}

bool Simulator::writeItem(const QString &address, const QVariant &value)
{
    const SimItem *item = m_model.item(address);
    QVariant converted;
    if (!item || !m_model.coerce(*item, value, &converted))
        return false;
    if (m_model.setValue(address, converted)) {
        if (ElfService *service = m_services.value(item->app))
            service->notifyChanged(address, converted);
    }
    return true;
}

bool Simulator::putItem(const QString &address, const QVariant &value, const QVariant &initValue, QString *error)
{
    QVariantMap attributes;
    if (const SimItem *existing = m_model.item(address))
        attributes = existing->attributes;
    attributes.remove(kInitValue);
    if (initValue.isValid())
        attributes.insert(kInitValue, initValue);
    const SimItem *existing = m_model.item(address);
    const bool known = existing != nullptr;
    const QVariant before = known ? existing->value : QVariant();
    const QVariantMap attributesBefore = known ? existing->attributes : QVariantMap();
    if (!m_model.upsert(address, value, attributes, error))
        return false;
    const SimItem *item = m_model.item(address);
    if (!m_services.contains(item->app) && !publish(error))
        return false;
    ElfService *service = m_services.value(item->app);
    if (!known || attributesBefore != item->attributes)
        service->notifyModuleChanged(item->module);
    if (before != item->value)
        service->notifyChanged(address, item->value);
    return true;
}

bool Simulator::removeItem(const QString &address)
{
    delete m_simulations.take(address);
    const SimItem *item = m_model.item(address);
    if (!item)
        return false;
    const QString app = item->app;
    const QString module = item->module;
    m_model.remove(address);
    if (ElfService *service = m_services.value(app))
        service->notifyModuleChanged(module);
    return true;
}

bool Simulator::isAction(const QString &app, const QString &address) const
{
    const SimItem *item = m_model.item(address);
    if (item && item->kind == QLatin1String("action") && item->app == app)
        return true;
    return m_actions->isBuiltIn(app, address);
}

QString Simulator::runAction(const QString &app, const QString &address, const QString &argument)
{
    // A reply set by a test stands for an application that refuses: the action is not carried out.
    const auto set = m_replies.constFind(address);
    if (set != m_replies.cend())
        return set.value();
    const auto output = m_outputs.constFind(address);
    if (output != m_outputs.cend()) {
        QFile file(argument.section(QLatin1Char(','), 0, 0));
        return file.open(QIODevice::WriteOnly | QIODevice::Truncate) && file.write(output.value().toUtf8()) >= 0
            ? QStringLiteral("OK")
            : QStringLiteral("Error: cannot write %1").arg(file.fileName());
    }
    if (m_actions->isBuiltIn(app, address))
        return m_actions->run(app, address, argument);
    return QStringLiteral("OK");
}

uint Simulator::actionDelay(const QString &address) const
{
    return m_delays.value(address);
}

void Simulator::setActionReply(const QString &address, const QString &reply)
{
    if (reply.isEmpty())
        m_replies.remove(address);
    else
        m_replies.insert(address, reply);
}

void Simulator::setActionOutput(const QString &address, const QString &text)
{
    if (text.isEmpty())
        m_outputs.remove(address);
    else
        m_outputs.insert(address, text);
}

void Simulator::setActionDelay(const QString &address, uint ms)
{
    if (ms == 0)
        m_delays.remove(address);
    else
        m_delays.insert(address, ms);
}

QVector<JournalEntry> Simulator::journal() const
{
    return m_journal;
}

void Simulator::clearJournal()
{
    m_journal.clear();
}

QMap<QString, uint> Simulator::stats() const
{
    return m_stats;
}

bool Simulator::sendInfo(const QString &app, const QString &msg)
{
    ElfService *service = m_services.value(app);
    if (!service)
        return false;
    service->notifyInfo(msg);
    return true;
}

QString Simulator::journalText(const QVariant &value)
{
    if (value.userType() == QMetaType::QVariantList || value.userType() == QMetaType::QStringList)
        return QString::fromUtf8(
            QJsonDocument(QJsonArray::fromVariantList(value.toList())).toJson(QJsonDocument::Compact));
    if (value.userType() == QMetaType::Double)
        return QString::number(value.toDouble(), 'g', QLocale::FloatingPointShortest);
    return value.toString();
}

void Simulator::startSimulations()
{
    for (const QString &app : m_model.apps()) {
        for (const QString &address : m_model.appAddresses(app)) {
            const SimItem *item = m_model.item(address);
            if (item->simulate.isEmpty() || m_simulations.contains(address))
                continue;
            auto *timer = new QTimer(this);
            timer->setInterval(item->simulate.value(QStringLiteral("periodMs")).toInt());
            connect(timer, &QTimer::timeout, this, [this, address] { wander(address); });
            timer->start();
            m_simulations.insert(address, timer);
        }
    }
}

void Simulator::wander(const QString &address)
{
    const SimItem *item = m_model.item(address);
    if (!item)
        return;
    if (item->type == QLatin1String("doubleArray")) {
        sweep(*item);
        return;
    }
    // A random walk of up to a tenth of the range per step looks like a live measurement on a gauge.
    const double min = item->simulate.value(QStringLiteral("min")).toDouble();
    const double max = item->simulate.value(QStringLiteral("max")).toDouble();
    const double step = (max - min) / 10.0 * (QRandomGenerator::global()->generateDouble() * 2.0 - 1.0);
    writeItem(address, qBound(min, item->value.toDouble() + step, max));
}

void Simulator::sweep(const SimItem &item)
{
    SimSpectrum spectrum;
    QString error;
    if (!spectrum.load(item.simulate, &error))
        return;
    // The analyser's settings live in the application's own settings module.
    const QString settings = QStringLiteral(":config:%1:%2:").arg(item.app, SimModel::settingsModule(item.app));
    const auto setting = [&](const char *name, double fallback) {
        const SimItem *found = m_model.item(settings + QLatin1String(name) + QLatin1Char(':'));
        return found ? found->value.toDouble() : fallback;
    };
    SimSpectrum::Settings now;
    now.centre = setting("centreFreq", now.centre);
    now.span = setting("span", now.span);
    now.rbw = setting("rbw", now.rbw);
    now.refLevel = setting("refLevel", now.refLevel);
    now.points = int(setting("sweepPoints", now.points));
    now.detector = int(setting("detector", now.detector));
    writeItem(item.address, spectrum.sweep(now, QRandomGenerator::global()));
}
