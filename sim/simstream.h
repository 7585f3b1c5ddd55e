#ifndef SIMSTREAM_H
#define SIMSTREAM_H

#include <QElapsedTimer>
#include <QObject>
#include <QString>
#include <QTimer>

class Simulator;

// A steady stream of changes of one double item, for measuring how fast and how late clients follow
// live values: `count` changes at `perSecond`, each value the sender's monotonic clock in microseconds
// at the moment it is sent (CLOCK_MONOTONIC, the same clock every process of the machine reads).
class SimStream : public QObject
{
    Q_OBJECT

public:
    explicit SimStream(Simulator *simulator, QObject *parent = nullptr);

    // Replaces a stream still running.
    void start(const QString &address, uint perSecond, uint count);
    static double nowMicroseconds();

private:
    void tick();

    Simulator *m_simulator;
    QTimer m_timer;
    QElapsedTimer m_clock;
    QString m_address;
    uint m_perSecond = 0;
    uint m_count = 0;
    uint m_sent = 0;
    double m_last = 0;
};

#endif // SIMSTREAM_H
