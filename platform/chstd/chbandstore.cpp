#include "chbandstore.h"

namespace {

const char kSeparator[] = " - ";

// One operating band. Frequencies in MHz as 3GPP lists them; a TDD band uses the same range both
// ways, a supplementary downlink band has no uplink.
struct Band
{
    const char *technology;
    const char *name;
    const char *uplink; // nullptr: supplementary downlink
    const char *downlink; // nullptr: TDD, the uplink range carries both directions
};

// Ordered as the instrument's "Channel Standard" enumeration lists them: GSM, WCDMA, LTE, NR.
const Band kBands[] = {
    {"GSM", "GSM 450", "450.4-457.6", "460.4-467.6"},
    {"GSM", "GSM 480", "478.8-486", "488.8-496"},
    {"GSM", "GSM 850", "824-849", "869-894"},
    {"GSM", "P-GSM 900", "890-915", "935-960"},
    {"GSM", "E-GSM 900", "880-915", "925-960"},
    {"GSM", "R-GSM 900", "876-915", "921-960"},
    {"GSM", "DCS 1800", "1710-1785", "1805-1880"},
    {"GSM", "PCS 1900", "1850-1910", "1930-1990"},

    {"WCDMA", "Band I", "1920-1980", "2110-2170"},
    {"WCDMA", "Band II", "1850-1910", "1930-1990"},
    {"WCDMA", "Band III", "1710-1785", "1805-1880"},
    {"WCDMA", "Band IV", "1710-1755", "2110-2155"},
    {"WCDMA", "Band V", "824-849", "869-894"},
    {"WCDMA", "Band VIII", "880-915", "925-960"},
    {"WCDMA", "Band XIX", "830-845", "875-890"},

    {"LTE", "Band 1", "1920-1980", "2110-2170"},
    {"LTE", "Band 2", "1850-1910", "1930-1990"},
    {"LTE", "Band 3", "1710-1785", "1805-1880"},
    {"LTE", "Band 4", "1710-1755", "2110-2155"},
    {"LTE", "Band 5", "824-849", "869-894"},
    {"LTE", "Band 7", "2500-2570", "2620-2690"},
    {"LTE", "Band 8", "880-915", "925-960"},
    {"LTE", "Band 11", "1427.9-1447.9", "1475.9-1495.9"},
    {"LTE", "Band 12", "699-716", "729-746"},
    {"LTE", "Band 13", "777-787", "746-756"},
    {"LTE", "Band 14", "788-798", "758-768"},
    {"LTE", "Band 17", "704-716", "734-746"},
    {"LTE", "Band 18", "815-830", "860-875"},
    {"LTE", "Band 19", "830-845", "875-890"},
    {"LTE", "Band 20", "832-862", "791-821"},
    {"LTE", "Band 21", "1447.9-1462.9", "1495.9-1510.9"},
    {"LTE", "Band 25", "1850-1915", "1930-1995"},
    {"LTE", "Band 26", "814-849", "859-894"},
    {"LTE", "Band 28", "703-748", "758-803"},
    {"LTE", "Band 29", nullptr, "717-728"},
    {"LTE", "Band 30", "2305-2315", "2350-2360"},
    {"LTE", "Band 31", "452.5-457.5", "462.5-467.5"},
    {"LTE", "Band 32", nullptr, "1452-1496"},
    {"LTE", "Band 34", "2010-2025", nullptr},
    {"LTE", "Band 38", "2570-2620", nullptr},
    {"LTE", "Band 39", "1880-1920", nullptr},
    {"LTE", "Band 40", "2300-2400", nullptr},
    {"LTE", "Band 41", "2496-2690", nullptr},
    {"LTE", "Band 42", "3400-3600", nullptr},
    {"LTE", "Band 43", "3600-3800", nullptr},
    {"LTE", "Band 46", "5150-5925", nullptr},
    {"LTE", "Band 48", "3550-3700", nullptr},
    {"LTE", "Band 65", "1920-2010", "2110-2200"},
    {"LTE", "Band 66", "1710-1780", "2110-2200"},
    {"LTE", "Band 71", "663-698", "617-652"},

    {"NR", "n1", "1920-1980", "2110-2170"},
    {"NR", "n2", "1850-1910", "1930-1990"},
    {"NR", "n3", "1710-1785", "1805-1880"},
    {"NR", "n5", "824-849", "869-894"},
    {"NR", "n7", "2500-2570", "2620-2690"},
    {"NR", "n8", "880-915", "925-960"},
    {"NR", "n12", "699-716", "729-746"},
    {"NR", "n20", "832-862", "791-821"},
    {"NR", "n25", "1850-1915", "1930-1995"},
    {"NR", "n28", "703-748", "758-803"},
    {"NR", "n38", "2570-2620", nullptr},
    {"NR", "n40", "2300-2400", nullptr},
    {"NR", "n41", "2496-2690", nullptr},
    {"NR", "n48", "3550-3700", nullptr},
    {"NR", "n66", "1710-1780", "2110-2200"},
    {"NR", "n71", "663-698", "617-652"},
    {"NR", "n77", "3300-4200", nullptr},
    {"NR", "n78", "3300-3800", nullptr},
    {"NR", "n79", "4400-5000", nullptr},
    {"NR", "n257", "26500-29500", nullptr},
    {"NR", "n258", "24250-27500", nullptr},
    {"NR", "n260", "37000-40000", nullptr},
    {"NR", "n261", "27500-28350", nullptr},
};

QString frequencies(const Band &band)
{
    if (!band.uplink)
        return QStringLiteral("SDL %1 MHz").arg(QLatin1String(band.downlink));
    if (!band.downlink)
        return QStringLiteral("TDD %1 MHz").arg(QLatin1String(band.uplink));
    return QStringLiteral("UL %1 MHz / DL %2 MHz").arg(QLatin1String(band.uplink), QLatin1String(band.downlink));
}

} // namespace

ChBandStore::ChBandStore()
{
    for (const Band &band : kBands) {
        m_standards.append(QLatin1String(band.technology) + QLatin1String(kSeparator) + QLatin1String(band.name)
                           + QLatin1String(kSeparator) + frequencies(band));
    }
}

QString ChBandStore::GetEnumulator(int index) const
{
    return m_standards.value(index);
}

int ChBandStore::count() const
{
    return m_standards.size();
}
