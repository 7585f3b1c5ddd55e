#ifndef HPOSITIONFILEIO_H
#define HPOSITIONFILEIO_H

#include <QObject>
#include <QString>

// Ten stored positions of three texts each, mirrored to a Latin-1 text file of "a,b,c" lines. Empty
// rows show "--" and are left out of the file, so the file holds the filled rows packed together.
class HPositionFileIO : public QObject
{
    Q_OBJECT
    Q_PROPERTY(QString source READ source WRITE setSource NOTIFY sourceChanged)

public:
    static constexpr int kRows = 10;
    static constexpr int kColumns = 3;

    explicit HPositionFileIO(QObject *parent = nullptr);

    QString source() const;

    Q_INVOKABLE int count() const;
    Q_INVOKABLE QString getData(int ch, int count) const;
    Q_INVOKABLE void delData(int row);
    Q_INVOKABLE void setData(int row, QString data1, QString data2, QString data3);

Q_SIGNALS:
    void sourceChanged(QString source);
    void error(QString msg);

public Q_SLOTS:
    void setSource(QString source);

private:
    void readFile();
    void writeFile();
    bool isEmptyRow(int row) const;

    QString m_source;
    QString m_table[kColumns][kRows];
    int m_rowsRead = 0;
};

#endif // HPOSITIONFILEIO_H
