#ifndef SIMFIXTURE_H
#define SIMFIXTURE_H

#include <QJsonArray>
#include <QJsonObject>
#include <QMap>
#include <QObject>
#include <QProcess>
#include <QString>
#include <QVariant>
#include <QVector>

// Runs hbase-sim for a test, on the sandbox's private session bus.
//
//     SimFixture sim;
//     QVERIFY(sim.start());                                   // the built-in model
//     QVERIFY(sim.startJson(SimFixture::model({...})));       // or a model of the test's own
//     ... exercise the code under test ...
//     QCOMPARE(sim.journal().last().argument, "/tmp/Tab1.oxs,0,");
//     QCOMPARE(sim.stat("Item"), 0u);
//
// start() returns once every service of the model is on the bus (it waits for the control name
// "gem.base.simulator", which the simulator claims last), or false after 10 s with the simulator's
// error output in errorOutput(). stop() asks it to quit and waits until its names have left the
// bus; start() again restarts it (use this for "service absent" cases). The destructor stops it.
// Register such tests WITHOUT the SIM option (that one starts a simulator of its own).
//
// Building models: SimFixture::model({SimFixture::app("x_app", {SimFixture::module("x_reg_module",
// {SimFixture::item("freq", 1e9), SimFixture::item("mode", 0, "int")})})}); the format is the one
// described at the top of sim/simmodel.cpp.
class SimFixture : public QObject
{
    Q_OBJECT

public:
    struct Entry
    {
        QString service;
        QString address;
        QString argument;
        bool operator==(const Entry &other) const
        {
            return service == other.service && address == other.address && argument == other.argument;
        }
    };

    explicit SimFixture(QObject *parent = nullptr);
    ~SimFixture() override;

    // Starts the simulator with a model file (empty: the built-in model); false when it fails.
    bool start(const QString &modelFile = QString());
    // Writes `model` (or the JSON text `model`) to a file under /tmp and starts the simulator with it.
    bool startJson(const QJsonObject &model);
    bool startJson(const QByteArray &model);
    // Starts the simulator with extra command-line arguments, without waiting for the bus; for tests
    // of the simulator's own start-up. Returns the exit code (or -1 when it did not exit in 10 s).
    int runToExit(const QStringList &arguments);
    void stop();
    bool isRunning() const;
    // What the simulator wrote to standard error so far.
    QString errorOutput();

    // The control interface (every call blocks until the simulator has answered).
    QVector<Entry> journal() const;
    void clearJournal() const;
    QMap<QString, uint> stats() const;
    uint stat(const QString &method) const;
    bool setActionReply(const QString &address, const QString &reply) const;
    bool setActionDelay(const QString &address, uint ms) const;
    // An invalid `initValue` leaves the item without one.
    bool setItem(const QString &address, const QVariant &value, const QVariant &initValue = QVariant()) const;
    bool removeItem(const QString &address) const;
    bool raiseTask(const QString &name, const QString &id) const;
    bool sendInfo(const QString &app, const QString &msg) const;

    // Model building blocks.
    static QJsonObject model(const QJsonArray &apps);
    static QJsonObject app(const QString &name, const QJsonArray &modules);
    static QJsonObject module(const QString &name, const QJsonArray &items);
    // `type` empty: taken from the value; `kind` "config", "result" or "action".
    static QJsonObject item(const QString &name, const QJsonValue &value, const QString &type = QString(),
                            const QString &kind = QString());
    // Writes `model` to `path` (indented JSON); returns false when it cannot.
    static bool writeModel(const QJsonObject &model, const QString &path);

    static QString simulatorPath();
    // Starts a program of the build (the simulator, a test's own child), through the emulator in a cross build.
    static void startProgram(QProcess &process, const QString &program, const QStringList &arguments);

private:
    bool waitForBus(bool present, int timeoutMs);

    QProcess *m_process = nullptr;
    QString m_errors;
};

#endif // SIMFIXTURE_H
