#include "simstream.h"

#include "simulator.h"

#include <time.h>

namespace {
// Due changes are sent each millisecond: 10,000 a second go out ten at a time.
const int kTickMs = 1;
} // namespace

SimStream::SimStream(Simulator *simulator, QObject *parent)
    : QObject(parent)
    , m_simulator(simulator)
{
    m_timer.setTimerType(Qt::PreciseTimer);
    m_timer.setInterval(kTickMs);
    connect(&m_timer, &QTimer::timeout, this, &SimStream::tick);
}

void SimStream::start(const QString &address, uint perSecond, uint count)
{
    m_address = address;
    m_perSecond = perSecond;
    m_count = count;
    m_sent = 0;
    m_clock.start();
    m_timer.start();
}

double SimStream::nowMicroseconds()
{
    timespec now{};
    clock_gettime(CLOCK_MONOTONIC, &now);
    return double(now.tv_sec) * 1e6 + double(now.tv_nsec / 1000);
}

// As many changes as are due by now, so the rate holds however late a tick comes.
void SimStream::tick()
{
    const quint64 due = qMin<quint64>(m_count, quint64(m_clock.nsecsElapsed()) * m_perSecond / 1000000000ULL);
    while (m_sent < due) {
        // Values sent within the same microsecond would be no change: each is one later at least.
        m_last = qMax(nowMicroseconds(), m_last + 1);
        m_simulator->writeItem(m_address, m_last);
        ++m_sent;
    }
    if (m_sent >= m_count)
        m_timer.stop();
}
