#ifndef HMAPPROFILELIST_H
#define HMAPPROFILELIST_H

#include <QList>
#include <QObject>
#include <QString>
#include <QStringList>
#include <QVariantMap>

#include <functional>

// The map profiles stored on the instrument: one "Header" map per "*.mpcv" file of the profile
// directory. The map screens list all profiles or those matching keywords, sort them by a column,
// fill their filter pick-lists from the distinct names, RRU types and frequencies, and copy or delete
// profile files through the starter application.
class HMapProFileList : public QObject
{
    Q_OBJECT

public:
    explicit HMapProFileList(QObject *parent = nullptr);

    Q_INVOKABLE void read(const QString &name);
    Q_INVOKABLE void readAll();
    Q_INVOKABLE void readFilter(const QString &field, const QString &keyword);
    Q_INVOKABLE void readMultiFilter(const QString &fields, const QString &keywords);
    Q_INVOKABLE int getListSize() const;
    Q_INVOKABLE QString getListInfo(int num, const QString &name) const;
    Q_INVOKABLE QString getInfo(const QString &name) const;
    Q_INVOKABLE bool isExistFile(const QString &src, const QString &dst) const;
    Q_INVOKABLE bool fileDelete(const QString &src);
    Q_INVOKABLE bool fileCopy(const QString &src, const QString &dst);
    Q_INVOKABLE void sortField(const QString &field, bool sortReversed);
    Q_INVOKABLE int getFilterSize(const QString &field) const;
    Q_INVOKABLE QString getFilterName(int num, const QString &field) const;

private:
    using Test = std::function<bool(const QVariantMap &header)>;

    void scan(const Test &passes);
    void rebuildValueLists();
    const QStringList *valueList(const QString &field) const;

    QList<QVariantMap> m_profileList;
    QVariantMap m_fileHeader;
    QString m_sortKey;
    QStringList m_nameValues;
    QStringList m_rruTypeValues;
    QStringList m_frequencyValues;
};

#endif // HMAPPROFILELIST_H
