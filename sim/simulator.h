#ifndef SIMULATOR_H
#define SIMULATOR_H

#include "simmodel.h"

#include <QHash>
#include <QMap>
#include <QObject>
#include <QVector>

class ElfService;
class SimActions;
class QTimer;

// One request received by an application's service, as the control interface's Journal lists it.
struct JournalEntry
{
    QString service;
    QString address;
    QString argument;
};

// The simulator's state: the model, one ElfService per application, the journal of writes and
// actions, the call counts, and the replies and delays a test has set for actions.
class Simulator : public QObject
{
    Q_OBJECT

public:
    explicit Simulator(QObject *parent = nullptr);
    ~Simulator() override;

    bool loadModel(const QByteArray &json, QString *error);
    // Publishes every application's service; false with `error` when one cannot be published.
    bool publish(QString *error);
    void setVerbose(bool verbose);

    const SimModel &model() const;

    // Every request to an application's service passes here: counted, logged and, for writes and
    // actions, journaled.
    void received(const QString &service, const QString &method, const QString &address,
                  const QString &argument = QString());

    // Sets a value (converted to the item's type) and tells the clients; false when it does not fit.
    bool writeItem(const QString &address, const QVariant &value);
    // Adds or replaces an item from the control interface; a new application gets its service.
    bool putItem(const QString &address, const QVariant &value, const QVariant &initValue, QString *error);
    bool removeItem(const QString &address);

    bool isAction(const QString &app, const QString &address) const;
    QString runAction(const QString &app, const QString &address, const QString &argument);
    uint actionDelay(const QString &address) const;
    void setActionReply(const QString &address, const QString &reply);
    // The action writes `text` to the file its argument names (up to the first ",") and answers "OK",
    // as an application that wrote a file cut short; an empty text undoes it.
    void setActionOutput(const QString &address, const QString &text);
    void setActionDelay(const QString &address, uint ms);

    QVector<JournalEntry> journal() const;
    void clearJournal();
    QMap<QString, uint> stats() const;
    bool sendInfo(const QString &app, const QString &msg);

    // A value as one line of text for the journal: texts as they are, arrays as compact JSON.
    static QString journalText(const QVariant &value);

private:
    void startSimulations();
    void wander(const QString &address);
    // A new sweep of a simulated trace for its application's current settings.
    void sweep(const SimItem &item);

    SimModel m_model;
    SimActions *m_actions;
    QHash<QString, ElfService *> m_services;
    QVector<JournalEntry> m_journal;
    QMap<QString, uint> m_stats;
    QHash<QString, QString> m_replies;
    QHash<QString, QString> m_outputs;
    QHash<QString, uint> m_delays;
    QHash<QString, QTimer *> m_simulations;
    bool m_verbose = false;
};

#endif // SIMULATOR_H
