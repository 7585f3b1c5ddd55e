#ifndef CHBANDSTORE_H
#define CHBANDSTORE_H

#include <QString>
#include <QStringList>

// The table of channel standards the instrument offers, in the order of the "Channel Standard"
// enumeration. Each text has three fields separated by " - ": technology, band, frequencies; the
// interface shows the middle one.
class ChBandStore
{
public:
    ChBandStore();

    // The text of enumeration index; "" for an index outside the table.
    QString GetEnumulator(int index) const;
    int count() const;

private:
    QStringList m_standards;
};

#endif // CHBANDSTORE_H
