#include "liveprobe.h"

#include <QCoreApplication>
#include <QDeadlineTimer>
#include <QTimer>

#include <algorithm>
#include <time.h>

namespace {
const int kWakeMs = 50;

double clockMs(clockid_t clock)
{
    timespec now{};
    clock_gettime(clock, &now);
    return double(now.tv_sec) * 1e3 + double(now.tv_nsec) / 1e6;
}

double percentile(QVector<double> values, double share)
{
    if (values.isEmpty())
        return 0;
    std::sort(values.begin(), values.end());
    return values.at(qMin(values.size() - 1, int(share * values.size())));
}
} // namespace

double LiveProbe::nowUs()
{
    return clockMs(CLOCK_MONOTONIC) * 1e3;
}

double LiveProbe::cpuMs()
{
    return clockMs(CLOCK_PROCESS_CPUTIME_ID);
}

void LiveProbe::start()
{
    m_delaysMs.clear();
    m_updates = 0;
    m_startUs = m_lastUs = nowUs();
    m_startCpuMs = cpuMs();
}

void LiveProbe::record(double sentUs)
{
    m_lastUs = nowUs();
    ++m_updates;
    if (sentUs >= 0)
        m_delaysMs.append((m_lastUs - sentUs) / 1e3);
}

// Sleeps in the event loop between values (a timer wakes it to look at the deadline), so the CPU time
// measured is the work of taking the values.
bool LiveProbe::waitFor(int updates, int timeoutMs)
{
    const QDeadlineTimer deadline(timeoutMs);
    QTimer wake;
    wake.start(kWakeMs);
    while (m_updates < updates && !deadline.hasExpired())
        QCoreApplication::processEvents(QEventLoop::WaitForMoreEvents);
    return m_updates >= updates;
}

LiveProbe::Result LiveProbe::finish() const
{
    Result result;
    result.updates = m_updates;
    const double wallMs = (m_lastUs - m_startUs) / 1e3;
    const double cpu = cpuMs() - m_startCpuMs;
    result.perSecond = wallMs > 0 ? m_updates / wallMs * 1e3 : 0;
    result.medianMs = percentile(m_delaysMs, 0.5);
    result.p99Ms = percentile(m_delaysMs, 0.99);
    result.cpuMsPerUpdate = m_updates > 0 ? cpu / m_updates : 0;
    result.cpuShare = wallMs > 0 ? cpu / wallMs : 0;
    return result;
}
