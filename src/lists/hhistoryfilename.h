#ifndef HHISTORYFILENAME_H
#define HHISTORYFILENAME_H

#include <QList>
#include <QObject>
#include <QString>

// A short history of names (the files the user last used), each with a second text: a time stamp or a
// value the list is ordered by. Mirrored to a Latin-1 text file of "name,date" lines, rewritten on
// every change.
class HHistoryFileName : public QObject
{
    Q_OBJECT
    Q_PROPERTY(QString source READ source WRITE setSource NOTIFY sourceChanged)
    Q_PROPERTY(bool maxCntVisible READ maxCntVisible WRITE setMaxCntVisible NOTIFY maxCntVisibleChanged)

public:
    struct stNameList
    {
        QString name;
        QString date;
    };

    explicit HHistoryFileName(QObject *parent = nullptr);

    QString source() const;
    bool maxCntVisible() const;

    Q_INVOKABLE int count() const;
    Q_INVOKABLE QString getName(int ch) const;
    Q_INVOKABLE QString getDate(int ch) const;
    Q_INVOKABLE void setData(QString data);
    Q_INVOKABLE void setDataAppend(QString data, QString realData);
    Q_INVOKABLE void setDataOrder(QString data, QString realData);
    Q_INVOKABLE void delData(QString val);

Q_SIGNALS:
    void sourceChanged(QString source);
    void error(QString msg);
    void maxCntVisibleChanged();

public Q_SLOTS:
    void setSource(QString source);
    void setMaxCntVisible(bool val);

private:
    void readFile();
    void writeFile();
    bool contains(const QString &name) const;
    void makeRoom();
    int orderedPosition(const QString &date) const;

    QString m_source;
    bool m_maxCntVisible = false;
    QList<stNameList> m_list;
};

#endif // HHISTORYFILENAME_H
