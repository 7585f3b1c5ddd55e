#include "simspectrum.h"

#include <QRandomGenerator>
#include <QtMath>
#include <cmath>
#include <iterator>

// Thermal noise density at room temperature and the receiver's noise figure.
static const double kThermalNoiseDbmPerHz = -174.0;
static const double kNoiseFigureDb = 22.0;
// How each detector shows noise: its offset from the average noise level and the spread around it
// (Peak, Negative Peak, Sample, RMS, Average). Carriers look the same to all of them.
static const double kDetectorOffsetDb[] = {4.0, -6.0, 0.0, 0.0, -2.5};
static const double kDetectorSpreadDb[] = {1.0, 1.0, 2.0, 0.8, 0.5};
static const double kCarrierJitterDb = 0.3;
// A Gaussian resolution filter: its full width at half maximum is the RBW.
static const double kFwhmToSigma = 1.0 / 2.3548;
static const double kMaxAttenuationDb = 50.0;

static double toLinear(double dbm)
{
    return std::pow(10.0, dbm / 10.0);
}

static double toDbm(double linear)
{
    return 10.0 * std::log10(linear);
}

static double gaussian(QRandomGenerator *random)
{
    // Box-Muller; 1 - u keeps the logarithm away from zero.
    const double u = 1.0 - random->generateDouble();
    const double v = random->generateDouble();
    return std::sqrt(-2.0 * std::log(u)) * std::cos(2.0 * M_PI * v);
}

bool SimSpectrum::load(const QVariantMap &simulate, QString *error)
{
    m_carriers.clear();
    for (const QVariant &entry : simulate.value(QStringLiteral("carriers")).toList()) {
        const QVariantMap map = entry.toMap();
        Carrier carrier;
        carrier.frequency = map.value(QStringLiteral("frequency"), -1).toDouble();
        carrier.bandwidth = map.value(QStringLiteral("bandwidth"), 0).toDouble();
        carrier.level = map.value(QStringLiteral("level"), qQNaN()).toDouble();
        if (!(carrier.frequency > 0) || carrier.bandwidth < 0 || std::isnan(carrier.level)) {
            *error = QStringLiteral("a carrier needs a \"frequency\" > 0, a \"bandwidth\" >= 0 and a \"level\"");
            return false;
        }
        m_carriers.append(carrier);
    }
    return true;
}

double SimSpectrum::attenuationFor(double refLevel)
{
    // Keeps the mixer at -10 dBm or below for a signal at the reference level, in 5 dB steps.
    return qBound(0.0, std::ceil((refLevel + 10.0) / 5.0) * 5.0, kMaxAttenuationDb);
}

double SimSpectrum::noiseFloor(double rbw, double refLevel)
{
    return kThermalNoiseDbmPerHz + 10.0 * std::log10(rbw) + kNoiseFigureDb + attenuationFor(refLevel);
}

double SimSpectrum::carrierPower(const Carrier &carrier, double frequency, double rbw) const
{
    const double sigma = rbw * kFwhmToSigma;
    const double offset = frequency - carrier.frequency;
    if (carrier.bandwidth <= rbw) // a tone: the filter's own shape at the full power
        return toLinear(carrier.level) * std::exp(-offset * offset / (2.0 * sigma * sigma));
    // A flat channel: the power in one RBW, with edges rounded by the filter.
    const double half = carrier.bandwidth / 2.0;
    const double edges
        = 0.5 * (std::erf((half - offset) / (sigma * M_SQRT2)) + std::erf((half + offset) / (sigma * M_SQRT2)));
    return toLinear(carrier.level) * rbw / carrier.bandwidth * edges;
}

QVariantList SimSpectrum::sweep(const Settings &settings, QRandomGenerator *random) const
{
    const int points = qMax(2, settings.points);
    const double rbw = qMax(1.0, settings.rbw);
    const int detector = qBound(0, settings.detector, int(std::size(kDetectorOffsetDb)) - 1);
    const double floor = noiseFloor(rbw, settings.refLevel) + kDetectorOffsetDb[detector];
    const double spread = kDetectorSpreadDb[detector];
    const double start = settings.centre - settings.span / 2.0;
    const double step = settings.span / (points - 1);
    QVariantList levels;
    levels.reserve(points);
    for (int i = 0; i < points; ++i) {
        const double frequency = start + step * i;
        double power = toLinear(floor + spread * gaussian(random));
        for (const Carrier &carrier : m_carriers)
            power += carrierPower(carrier, frequency, rbw) * toLinear(kCarrierJitterDb * gaussian(random));
        levels.append(toDbm(power));
    }
    return levels;
}
