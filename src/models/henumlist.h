#ifndef HENUMLIST_H
#define HENUMLIST_H

#include <QJsonValue>
#include <QObject>
#include <QString>
#include <QStringList>
#include <QVariant>
#include <QVariantList>
#include <QVariantMap>

// The selectable entries of enumerated parameters, read from an enumeration definition file: one list
// of item maps ("id", "label", "enum", "dispSeq", "disable") per list key "module:parameter".
// Relabelling, enabling, disabling and adding entries change only the copy in memory; the next
// successful loadFile discards them.
class HEnumList : public QObject
{
    Q_OBJECT
    Q_PROPERTY(QString source READ getFile WRITE setFile NOTIFY sourceChanged)
    Q_PROPERTY(QString query READ getFilter WRITE setFilter NOTIFY queryChanged)
    Q_PROPERTY(bool loaded READ getIsLoad NOTIFY loadedChanged)

public:
    explicit HEnumList(QObject *parent = nullptr);

    QString getFile() const;
    void setFile(const QString &file);
    QString getFilter() const;
    void setFilter(const QString &filter);
    bool getIsLoad() const;

    Q_INVOKABLE bool loadFile(bool reload);
    Q_INVOKABLE QVariantList getList(const QString &id) const;
    Q_INVOKABLE QVariantList getListByFullId(const QString &fullId) const;
    Q_INVOKABLE QVariantMap getLabelMap(const QString &elfId) const;
    Q_INVOKABLE QVariantMap getLabelMapByShortId(const QString &elfId) const;
    Q_INVOKABLE QStringList getLabelList(const QString &elfId) const;
    Q_INVOKABLE QString getTr(const QString &label) const;
    Q_INVOKABLE void replaceLabelForId(const QString &elfId, const QString &curLabel, const QString &newLabel);
    Q_INVOKABLE void disableSubIdforItemId(const QString &itemId, const QString &subId);
    Q_INVOKABLE void enableSubIdforItemId(const QString &itemId, const QString &subId);
    Q_INVOKABLE bool addNewSubItemforItemId(const QString &itemId, const QString &subId, const QString &label,
                                            int enumVal, int dispSeq);

Q_SIGNALS:
    void sourceChanged();
    void queryChanged();
    void loadedChanged();

private:
    static QVariant variantOf(const QJsonValue &value);
    static QString listKeyOf(const QString &fullId);
    static QVariantMap labelMapOf(const QVariantList &items);
    void setMemberWhere(const QString &listKey, const QString &match, const QString &text, const QString &member,
                        const QVariant &value);

    QString m_file;
    QString m_filter;
    QVariantMap m_listTable;
    QVariantMap m_trTable;
    bool m_loaded = false;
};

#endif // HENUMLIST_H
