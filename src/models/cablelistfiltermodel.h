#ifndef CABLELISTFILTERMODEL_H
#define CABLELISTFILTERMODEL_H

#include <QHash>
#include <QSortFilterProxyModel>
#include <QString>
#include <QVariant>

// The cable selection view's window on the cable list: rows whose name starts with the typed text
// (ignoring case), with the four cable attributes under fixed role numbers whatever numbers the source
// list gives them. The source list's display role carries the cable name; a source with nothing under
// the display role (a QML ListModel whose cableName is not its first role) is read by its cableName.
class CableListFilterModel : public QSortFilterProxyModel
{
    Q_OBJECT
    Q_PROPERTY(QString filterText READ filterText WRITE setFilterText NOTIFY filterTextChanged)

public:
    enum Roles {
        CableNameRole = Qt::UserRole + 1,
        ManufacturerRole,
        VelocityRole,
        LossRole,
    };

    explicit CableListFilterModel(QObject *parent = nullptr);

    QString filterText() const;
    void setFilterText(const QString &filterText);

    QHash<int, QByteArray> roleNames() const override;
    QVariant data(const QModelIndex &index, int role = Qt::DisplayRole) const override;

    Q_INVOKABLE QVariant get(int index) const;
    Q_INVOKABLE int getIndexOfCableName(const QString &currentCableName) const;

Q_SIGNALS:
    void filterTextChanged();

protected:
    bool filterAcceptsRow(int sourceRow, const QModelIndex &sourceParent) const override;

private:
    void followSource();
    // Reports a change of source rows under this model's role numbers, so delegates bound to them update.
    void sourceDataChanged(const QModelIndex &topLeft, const QModelIndex &bottomRight, const QVector<int> &roles);
    QVector<int> proxyRolesOf(const QVector<int> &sourceRoles) const;
    QString cableNameAt(const QModelIndex &sourceIndex) const;
    bool isProxyRow(int row) const;
    int sourceRoleOf(const QByteArray &name) const;

    QString m_filterText;
    QMetaObject::Connection m_sourceDataChanged;
};

#endif // CABLELISTFILTERMODEL_H
