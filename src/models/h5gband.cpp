#include "h5gband.h"

namespace {
const char kScs15A[] = "15 (Case A)";
const char kScs30B[] = "30 (Case B)";
const char kScs30C[] = "30 (Case C)";
const char kScs60[] = "60";
const char kScs120D[] = "120 (Case D)";
const char kScs240E[] = "240 (Case E)";

QString text(const char *latin1)
{
    return QString::fromLatin1(latin1);
}
}

h5GBand::h5GBand(QObject *parent)
    : QObject(parent)
{
    m_rangeIndex = {{QStringLiteral("FR1"), 0},
                    {QStringLiteral("FR2"), 1},
                    {QStringLiteral("1-C 1-H"), 0},
                    {QStringLiteral("OTA 2-O"), 1}};

    m_scsLists
        = {{text(kScs15A), text(kScs30B), text(kScs30C), text(kScs60)}, {text(kScs60), text(kScs120D), text(kScs240E)}};

    m_excluded = {{QStringLiteral("5"), text(kScs60)},   {QStringLiteral("60"), text(kScs15A)},
                  {QStringLiteral("70"), text(kScs15A)}, {QStringLiteral("80"), text(kScs15A)},
                  {QStringLiteral("90"), text(kScs15A)}, {QStringLiteral("100"), text(kScs15A)},
                  {QStringLiteral("400"), text(kScs60)}, {QStringLiteral("50"), text(kScs240E)}};

    m_bandwidthLists
        = {{"100", "90", "80", "70", "60", "50", "40", "30", "25", "20", "15", "10", "5"}, {"400", "200", "100", "50"}};

    m_measIndex = {{QStringLiteral("Sweep Tuned Spectrum"), 0},
                   {QStringLiteral("Channel Power"), 1},
                   {QStringLiteral("Adjacent Channel Power"), 2},
                   {QStringLiteral("Spectrum Emission Mask"), 3}};
}

void h5GBand::setBandStByMeas(const QString &meas, const QString &range, const QString &bandwidth)
{
    initBandList();
    // Unknown names (an empty text included) are treated as FR1.
    const int rangeIndex = m_rangeIndex.value(range, 0);
    m_meas = meas;
    m_range = range;
    m_currentScsList = m_scsLists.at(rangeIndex);
    for (int i = 0; i < m_currentScsList.size(); ++i) {
        if (!removeSCS(bandwidth, i))
            m_scsList.append(m_currentScsList.at(i));
    }
    m_count = m_scsList.size();
}

int h5GBand::getBandCount() const
{
    return m_count;
}

// Nothing fills the per-channel bandwidth list, so every index answers "" like any index outside a list.
QString h5GBand::getBandwidth(int nCh) const
{
    return m_bandwidthList.value(nCh);
}

// An index outside the allowed list answers "".
QString h5GBand::getSCS(int nCh) const
{
    return m_scsList.value(nCh);
}

void h5GBand::initBandList()
{
    m_meas.clear();
    m_range.clear();
    m_currentScsList.clear();
    m_scsList.clear();
    m_bandwidthList.clear();
    m_count = 0;
}

bool h5GBand::removeSCS(const QString &bandwidth, int index) const
{
    if (index < 0 || index >= m_currentScsList.size())
        return false;
    return m_excluded.contains(qMakePair(bandwidth, m_currentScsList.at(index)));
}
