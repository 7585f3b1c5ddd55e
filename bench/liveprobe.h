#ifndef LIVEPROBE_H
#define LIVEPROBE_H

#include <QObject>
#include <QVector>

// Follows a stream of live values in the measuring process: how many arrive, how late (each value of a
// stream is its send time, see the simulator's StreamChanges) and the process's CPU time meanwhile.
class LiveProbe : public QObject
{
    Q_OBJECT

public:
    struct Result
    {
        int updates = 0;
        double perSecond = 0; // updates delivered per second of wall time
        double medianMs = 0; // delay from sending to this process taking the value
        double p99Ms = 0;
        double cpuMsPerUpdate = 0;
        double cpuShare = 0; // of one core, over the whole time measured
    };

    // Resets the counts and the CPU clock.
    void start();
    // One value taken; a send time in microseconds of CLOCK_MONOTONIC, or a negative one for none.
    Q_INVOKABLE void record(double sentUs);
    // Runs the event loop until `updates` values came or `timeoutMs` passed.
    bool waitFor(int updates, int timeoutMs);
    Result finish() const;

    static double nowUs();
    static double cpuMs();

private:
    QVector<double> m_delaysMs;
    int m_updates = 0;
    double m_startUs = 0;
    double m_lastUs = 0;
    double m_startCpuMs = 0;
};

#endif // LIVEPROBE_H
