#ifndef SOAKMONITOR_H
#define SOAKMONITOR_H

#include <QElapsedTimer>
#include <QObject>
#include <QString>
#include <QVector>

class QQmlEngine;

// Watches the interface process for growth over a long run. The driving script calls cycleDone() each
// time it has destroyed the whole interface again; at most once a sample interval the monitor then
// collects garbage, deletes what waits for deletion and takes a sample: resident memory, open file
// descriptors and live QObjects. When the run's time is up it writes the samples as CSV, draws them as
// a PNG beside it, fits a line to the samples after the warm-up and quits with 0 when no measure grows
// faster than it may, 1 otherwise.
class SoakMonitor : public QObject
{
    Q_OBJECT
    Q_PROPERTY(int cycles READ cycles NOTIFY cyclesChanged)

public:
    struct Options
    {
        double minutes = 10;
        double warmUpMinutes = 3;
        double sampleSeconds = 60;
        QString outputDir;
    };
    struct Sample
    {
        double minute;
        double residentMiB;
        int descriptors;
        int objects;
        int cycles;
    };

    SoakMonitor(QQmlEngine *engine, const Options &options);

    // Counts QObjects from here on; call before the first QObject of the run exists.
    static void countObjects();

    int cycles() const { return m_cycles; }
    Q_INVOKABLE void cycleDone();
    // The script saw an operation fail: the run ends at once, failed.
    Q_INVOKABLE void fail(const QString &reason);

Q_SIGNALS:
    void cyclesChanged();

private:
    Sample sample();
    void finish();
    bool judge(QString *verdict) const;

    QQmlEngine *m_engine;
    Options m_options;
    QElapsedTimer m_clock;
    QVector<Sample> m_samples;
    int m_cycles = 0;
};

#endif // SOAKMONITOR_H
