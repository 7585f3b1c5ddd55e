#ifndef SIMSPECTRUM_H
#define SIMSPECTRUM_H

#include <QVariant>
#include <QVector>

class QRandomGenerator;

// One sweep of a spectrum analyser as the instrument would show it: the receiver's noise floor at the
// resolution bandwidth plus the model's carriers, seen through the resolution filter, for the
// application's current centre, span, RBW and reference level.
class SimSpectrum
{
public:
    struct Carrier
    {
        double frequency = 0; // Hz, centre of the carrier
        double bandwidth = 0; // Hz; narrower than the RBW it shows as a single tone
        double level = 0; // dBm, total power of the carrier
    };
    struct Settings
    {
        double centre = 1e9; // Hz
        double span = 100e6; // Hz
        double rbw = 30e3; // Hz
        double refLevel = 0; // dBm
        int points = 1001;
        int detector = 0; // Peak, Negative Peak, Sample, RMS, Average
    };

    // Reads the carriers of a "simulate" entry: {"periodMs", "carriers": [{"frequency", "bandwidth",
    // "level"}, ...]}; false with a reason in `error` when one is malformed.
    bool load(const QVariantMap &simulate, QString *error);

    // The levels in dBm of one sweep, `settings.points` of them from centre - span/2 to centre + span/2.
    QVariantList sweep(const Settings &settings, QRandomGenerator *random) const;

    // The input attenuation the analyser picks for a reference level (auto attenuation): it raises
    // the noise floor as the reference level rises, as on the instrument.
    static double attenuationFor(double refLevel);
    // The displayed average noise level in dBm at a resolution bandwidth and reference level.
    static double noiseFloor(double rbw, double refLevel);

private:
    double carrierPower(const Carrier &carrier, double frequency, double rbw) const;

    QVector<Carrier> m_carriers;
};

#endif // SIMSPECTRUM_H
