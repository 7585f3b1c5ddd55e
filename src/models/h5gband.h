#ifndef H5GBAND_H
#define H5GBAND_H

#include <QList>
#include <QMap>
#include <QObject>
#include <QPair>
#include <QString>
#include <QStringList>

// The subcarrier spacings a 5G NR screen may offer for a frequency range (or test configuration) and a
// channel bandwidth. The tables are fixed; each setBandStByMeas replaces the whole answer.
class h5GBand : public QObject
{
    Q_OBJECT

public:
    explicit h5GBand(QObject *parent = nullptr);

    Q_INVOKABLE void setBandStByMeas(const QString &meas, const QString &range, const QString &bandwidth);
    Q_INVOKABLE int getBandCount() const;
    Q_INVOKABLE QString getBandwidth(int nCh) const;
    Q_INVOKABLE QString getSCS(int nCh) const;

private:
    void initBandList();
    bool removeSCS(const QString &bandwidth, int index) const;

    // Fixed tables.
    QMap<QString, int> m_rangeIndex;
    QList<QStringList> m_scsLists;
    QList<QPair<QString, QString>> m_excluded;
    // Offered bandwidths per range and the measurement numbering; kept with the tables they belong to,
    // although no answer depends on them yet.
    QList<QStringList> m_bandwidthLists;
    QMap<QString, int> m_measIndex;

    // Working state of the last setBandStByMeas.
    QString m_meas;
    QString m_range;
    QStringList m_currentScsList;
    QStringList m_scsList;
    QStringList m_bandwidthList;
    int m_count = 0;
};

#endif // H5GBAND_H
