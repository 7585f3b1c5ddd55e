#ifndef SIMACTIONS_H
#define SIMACTIONS_H

#include <QString>

class Simulator;

// The actions every simulated application carries out for real: the starter application's file
// actions and each application's save, recall, preset and result-loading actions. Their addresses
// are ":action:<app>:<settings module>:<name>:".
class SimActions
{
public:
    explicit SimActions(Simulator *simulator);

    bool isBuiltIn(const QString &app, const QString &address) const;
    // Carries out the action; the reply is "OK" or an error text.
    QString run(const QString &app, const QString &address, const QString &argument);

private:
    QString fileCopy(const QString &argument);
    QString fileMove(const QString &argument);
    QString fileDelete(const QString &path);
    QString saveConfig(const QString &app, const QString &argument);
    QString loadConfig(const QString &app, const QString &path);
    QString preset(const QString &app);
    QString loadResult(const QString &argument);

    Simulator *m_simulator;
};

#endif // SIMACTIONS_H
