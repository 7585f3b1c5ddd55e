#include "soakmonitor.h"

#include <QAtomicInt>
#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QImage>
#include <QPainter>
#include <QQmlEngine>
#include <QTextStream>
#include <private/qhooks_p.h>

#include <unistd.h>

namespace {
// What may grow, per hour of running, once the warm-up is over. The interface of a handheld runs a
// working day or several on one start, in a few hundred MiB: 2 MiB an hour is a day's 24 MiB, what a
// device with little memory can still spare; more would end in the out-of-memory killer within a
// week. A descriptor or a QObject that is never given back is a leak however slowly it comes: one
// descriptor an hour exhausts the limit of 1024 within weeks; one QObject a minute is a page's worth a
// day. Below those, the fit of a short run is noise (heap pages reused, caches settling).
const double kMaxResidentMiBPerHour = 2.0;
const double kMaxDescriptorsPerHour = 1.0;
const double kMaxObjectsPerHour = 60.0;
// A slope needs a few points past the warm-up.
const int kMinFitSamples = 3;

const char kCsvName[] = "soak.csv";
const char kPlotName[] = "soak.png";
const char kCsvHeader[] = "minute,resident_mib,descriptors,qobjects,cycles";

QAtomicInt s_objects;

void objectAdded(QObject *)
{
    s_objects.ref();
}

void objectRemoved(QObject *)
{
    s_objects.deref();
}

double residentMiB()
{
    QFile statm(QStringLiteral("/proc/self/statm"));
    if (!statm.open(QIODevice::ReadOnly))
        return 0;
    const QList<QByteArray> fields = statm.readAll().split(' ');
    return fields.size() > 1 ? fields.at(1).toDouble() * double(::sysconf(_SC_PAGESIZE)) / (1024.0 * 1024.0) : 0;
}

int openDescriptors()
{
    // The listing itself holds one descriptor while it runs.
    return int(QDir(QStringLiteral("/proc/self/fd")).entryList(QDir::AllEntries | QDir::NoDotAndDotDot).size()) - 1;
}

struct Measure
{
    const char *name;
    const char *unit;
    double limitPerHour;
    double (*value)(const SoakMonitor::Sample &);
};
const Measure kMeasures[] = {
    {"resident memory", "MiB", kMaxResidentMiBPerHour, [](const SoakMonitor::Sample &s) { return s.residentMiB; }},
    {"open descriptors", "", kMaxDescriptorsPerHour,
     [](const SoakMonitor::Sample &s) { return double(s.descriptors); }},
    {"QObjects", "", kMaxObjectsPerHour, [](const SoakMonitor::Sample &s) { return double(s.objects); }},
};

// Least-squares line through (minute, value) of the samples after the warm-up: slope per hour and
// the value at minute 0; false when there are too few samples.
bool fit(const QVector<SoakMonitor::Sample> &samples, double warmUp, const Measure &measure, double *perHour,
         double *offset)
{
    double n = 0, sx = 0, sy = 0, sxx = 0, sxy = 0;
    for (const SoakMonitor::Sample &s : samples) {
        if (s.minute < warmUp)
            continue;
        const double y = measure.value(s);
        n += 1;
        sx += s.minute;
        sy += y;
        sxx += s.minute * s.minute;
        sxy += s.minute * y;
    }
    const double spread = n * sxx - sx * sx;
    if (n < kMinFitSamples || spread <= 0)
        return false;
    const double perMinute = (n * sxy - sx * sy) / spread;
    *perHour = perMinute * 60;
    *offset = (sy - perMinute * sx) / n;
    return true;
}

// One panel of the plot: the samples as dots, the warm-up shaded, the fitted line over the rest.
void drawPanel(QPainter &painter, const QRect &box, const QVector<SoakMonitor::Sample> &samples, double minutes,
               double warmUp, const Measure &measure)
{
    double low = 1e300, high = -1e300;
    for (const SoakMonitor::Sample &s : samples) {
        low = qMin(low, measure.value(s));
        high = qMax(high, measure.value(s));
    }
    const double margin = qMax((high - low) * 0.2, qMax(1.0, high * 0.01));
    low -= margin;
    high += margin;
    const QRect plot = box.adjusted(70, 28, -16, -28);
    auto at = [&](double minute, double value) {
        return QPointF(plot.left() + plot.width() * minute / minutes,
                       plot.bottom() - plot.height() * (value - low) / (high - low));
    };
    painter.save(); // the dots' brush and pen stay inside this panel
    painter.fillRect(QRectF(at(0, high), at(qMin(warmUp, minutes), low)), QColor(235, 235, 235));
    painter.setPen(Qt::black);
    painter.drawRect(plot);
    double perHour = 0, offset = 0;
    const bool fitted = fit(samples, warmUp, measure, &perHour, &offset);
    const QString title = QStringLiteral("%1%2: %3 per hour after the warm-up (allowed %4)")
                              .arg(QLatin1String(measure.name))
                              .arg(*measure.unit ? QStringLiteral(" (%1)").arg(QLatin1String(measure.unit)) : QString())
                              .arg(fitted ? QString::number(perHour, 'f', 2) : QStringLiteral("no fit"))
                              .arg(measure.limitPerHour);
    painter.drawText(QRect(box.left() + 70, box.top() + 4, box.width() - 80, 20), Qt::AlignLeft, title);
    painter.drawText(QRect(box.left(), plot.top() - 8, 64, 16), Qt::AlignRight, QString::number(high, 'f', 1));
    painter.drawText(QRect(box.left(), plot.bottom() - 8, 64, 16), Qt::AlignRight, QString::number(low, 'f', 1));
    painter.drawText(QRect(plot.left(), plot.bottom() + 4, 60, 16), Qt::AlignLeft, QStringLiteral("0 min"));
    painter.drawText(QRect(plot.right() - 80, plot.bottom() + 4, 80, 16), Qt::AlignRight,
                     QStringLiteral("%1 min").arg(minutes, 0, 'f', 0));
    painter.setRenderHint(QPainter::Antialiasing);
    painter.setBrush(QColor(30, 110, 200));
    painter.setPen(Qt::NoPen);
    for (const SoakMonitor::Sample &s : samples)
        painter.drawEllipse(at(s.minute, measure.value(s)), 3, 3);
    if (fitted) {
        painter.setPen(QPen(QColor(200, 60, 30), 2));
        painter.drawLine(at(warmUp, offset + perHour / 60 * warmUp), at(minutes, offset + perHour / 60 * minutes));
    }
    painter.restore();
}
} // namespace

SoakMonitor::SoakMonitor(QQmlEngine *engine, const Options &options)
    : m_engine(engine)
    , m_options(options)
{
    m_clock.start();
}

void SoakMonitor::countObjects()
{
    qtHookData[QHooks::AddQObject] = reinterpret_cast<quintptr>(&objectAdded);
    qtHookData[QHooks::RemoveQObject] = reinterpret_cast<quintptr>(&objectRemoved);
}

void SoakMonitor::cycleDone()
{
    ++m_cycles;
    emit cyclesChanged();
    const double minute = m_clock.elapsed() / 60000.0;
    if (m_samples.isEmpty() || (minute - m_samples.last().minute) * 60 >= m_options.sampleSeconds)
        m_samples.append(sample());
    if (minute >= m_options.minutes)
        finish();
}

void SoakMonitor::fail(const QString &reason)
{
    fprintf(stderr, "soak: FAILED in cycle %d: %s\n", m_cycles + 1, qPrintable(reason));
    QCoreApplication::exit(1);
}

SoakMonitor::Sample SoakMonitor::sample()
{
    // What the script let go of must really be gone before it is counted.
    m_engine->collectGarbage();
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    m_engine->trimComponentCache();
    Sample s{m_clock.elapsed() / 60000.0, residentMiB(), openDescriptors(), s_objects.loadRelaxed(), m_cycles};
    fprintf(stderr, "soak: minute %.1f, %.1f MiB, %d descriptors, %d QObjects, %d cycles\n", s.minute, s.residentMiB,
            s.descriptors, s.objects, s.cycles);
    return s;
}

bool SoakMonitor::judge(QString *verdict) const
{
    bool good = true;
    QStringList lines;
    for (const Measure &measure : kMeasures) {
        double perHour = 0, offset = 0;
        if (!fit(m_samples, m_options.warmUpMinutes, measure, &perHour, &offset)) {
            lines << QStringLiteral("%1: too few samples after the warm-up for a slope").arg(measure.name);
            continue;
        }
        const bool within = perHour <= measure.limitPerHour;
        good = good && within;
        lines << QStringLiteral("%1: %2 per hour (allowed %3) %4")
                     .arg(measure.name)
                     .arg(perHour, 0, 'f', 2)
                     .arg(measure.limitPerHour)
                     .arg(within ? QStringLiteral("ok") : QStringLiteral("GROWS"));
    }
    *verdict = lines.join(QLatin1String("\nsoak: "));
    return good;
}

void SoakMonitor::finish()
{
    QDir().mkpath(m_options.outputDir);
    QFile csv(m_options.outputDir + QLatin1Char('/') + QLatin1String(kCsvName));
    if (csv.open(QIODevice::WriteOnly | QIODevice::Truncate)) {
        QTextStream out(&csv);
        out << kCsvHeader << '\n';
        for (const Sample &s : m_samples)
            out << QString::number(s.minute, 'f', 2) << ',' << QString::number(s.residentMiB, 'f', 2) << ','
                << s.descriptors << ',' << s.objects << ',' << s.cycles << '\n';
    }
    const int panelHeight = 220;
    QImage plot(900, panelHeight * int(std::size(kMeasures)), QImage::Format_RGB32);
    plot.fill(Qt::white);
    QPainter painter(&plot);
    const double minutes = qMax(m_options.minutes, m_samples.isEmpty() ? 1.0 : m_samples.last().minute);
    for (int i = 0; i < int(std::size(kMeasures)); ++i)
        drawPanel(painter, QRect(0, i * panelHeight, plot.width(), panelHeight), m_samples, minutes,
                  m_options.warmUpMinutes, kMeasures[i]);
    painter.end();
    plot.save(m_options.outputDir + QLatin1Char('/') + QLatin1String(kPlotName));

    QString verdict;
    const bool good = judge(&verdict);
    fprintf(stderr, "soak: %d cycles in %.1f minutes\nsoak: %s\nsoak: %s\n", m_cycles, m_clock.elapsed() / 60000.0,
            qPrintable(verdict), good ? "passed" : "FAILED");
    QCoreApplication::exit(good ? 0 : 1);
}
