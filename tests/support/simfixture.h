#ifndef SIMFIXTURE_H
#define SIMFIXTURE_H

#include <QJsonArray>
#include <QJsonObject>
#include <QProcess>

// Runs hbase-sim for a test, on the sandbox's private session bus (register such tests WITHOUT the SIM
// option, which starts a simulator of its own). start() returns once every service of the model is on
// the bus, or false after 10 s with the simulator's error output in errorOutput(); stop() returns once
// they have left it. Models: model({app("x_app", {module("x_reg_module", {item("freq", 1e9)})})}), in
// the format sim/simmodel.cpp describes. The control calls block until the simulator has answered.
class SimFixture : public QObject
{
    Q_OBJECT

public:
    struct Entry
    {
        QString service;
        QString address;
        QString argument;
        bool operator==(const Entry &o) const
        {
            return service == o.service && address == o.address && argument == o.argument;
        }
    };

    explicit SimFixture(QObject *parent = nullptr);
    ~SimFixture() override;

    // Starts the simulator with a model file (empty: the built-in model).
    bool start(const QString &modelFile = QString());
    // Writes the model to a file under /tmp and starts the simulator with it.
    bool startJson(const QJsonObject &model);
    void stop();
    bool isRunning() const;
    QString errorOutput();

    QVector<Entry> journal() const;
    void clearJournal() const;
    QMap<QString, uint> stats() const;
    uint stat(const QString &method) const;
    bool setActionReply(const QString &address, const QString &reply) const;
    bool setActionDelay(const QString &address, uint ms) const;
    bool setActionOutput(const QString &address, const QString &text) const;
    // An invalid `initValue` leaves the item without one.
    bool setItem(const QString &address, const QVariant &value, const QVariant &initValue = QVariant()) const;
    // The simulator changes the double item `count` times at `perSecond`, each value its send time in
    // microseconds of CLOCK_MONOTONIC.
    bool streamChanges(const QString &address, uint perSecond, uint count) const;
    bool removeItem(const QString &address) const;
    bool raiseTask(const QString &name, const QString &id) const;

    // Model building blocks. `type` empty: taken from the value; `kind` "config", "result" or "action".
    static QJsonObject model(const QJsonArray &apps);
    static QJsonObject app(const QString &name, const QJsonArray &modules);
    static QJsonObject module(const QString &name, const QJsonArray &items);
    static QJsonObject item(const QString &name, const QJsonValue &value, const QString &type = QString(),
                            const QString &kind = QString());
    // Starts a program of the build (the simulator, a test's own child), through the emulator in a cross build.
    static void startProgram(QProcess &process, const QString &program, const QStringList &arguments);

private:
    bool waitForBus(bool present);

    QProcess *m_process = nullptr;
    QString m_errors;
};

#endif // SIMFIXTURE_H
