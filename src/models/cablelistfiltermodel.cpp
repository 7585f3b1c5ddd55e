#include "cablelistfiltermodel.h"

#include <QVariantMap>

#include <algorithm>

namespace {
const char kCableName[] = "cableName";
const char kManufacturer[] = "manufacturer";
const char kVelocity[] = "velocity";
const char kLoss[] = "loss";
}

CableListFilterModel::CableListFilterModel(QObject *parent)
    : QSortFilterProxyModel(parent)
{
    connect(this, &QAbstractProxyModel::sourceModelChanged, this, &CableListFilterModel::followSource);
}

void CableListFilterModel::followSource()
{
    disconnect(m_sourceDataChanged);
    if (sourceModel())
        m_sourceDataChanged
            = connect(sourceModel(), &QAbstractItemModel::dataChanged, this, &CableListFilterModel::sourceDataChanged);
}

// The base class passes the source's role numbers on unchanged; they mean nothing to a view of this
// model. Each visible changed row is reported again with the roles translated by name.
void CableListFilterModel::sourceDataChanged(const QModelIndex &topLeft, const QModelIndex &bottomRight,
                                             const QVector<int> &roles)
{
    const QVector<int> proxyRoles = proxyRolesOf(roles);
    if (!roles.isEmpty() && proxyRoles.isEmpty())
        return;
    for (int row = topLeft.row(); row <= bottomRight.row(); ++row) {
        const QModelIndex proxyIndex = mapFromSource(sourceModel()->index(row, 0, topLeft.parent()));
        if (proxyIndex.isValid())
            emit dataChanged(proxyIndex, proxyIndex, proxyRoles);
    }
}

QVector<int> CableListFilterModel::proxyRolesOf(const QVector<int> &sourceRoles) const
{
    QVector<int> proxyRoles;
    const QHash<int, QByteArray> names = roleNames();
    for (auto it = names.cbegin(); it != names.cend(); ++it) {
        if (sourceRoles.contains(sourceRoleOf(it.value())))
            proxyRoles.append(it.key());
    }
    std::sort(proxyRoles.begin(), proxyRoles.end());
    return proxyRoles;
}

// The filter and the name lookup compare the source's display role and nothing else: a source that
// keeps the name only under "cableName" must also give it as its display role.
QString CableListFilterModel::cableNameAt(const QModelIndex &sourceIndex) const
{
    return sourceModel()->data(sourceIndex, Qt::DisplayRole).toString();
}

QString CableListFilterModel::filterText() const
{
    return m_filterText;
}

void CableListFilterModel::setFilterText(const QString &filterText)
{
    if (filterText == m_filterText)
        return;
    m_filterText = filterText;
    invalidateFilter();
    Q_EMIT filterTextChanged();
}

QHash<int, QByteArray> CableListFilterModel::roleNames() const
{
    return {
        {CableNameRole, kCableName}, {ManufacturerRole, kManufacturer}, {VelocityRole, kVelocity}, {LossRole, kLoss}};
}

QVariant CableListFilterModel::data(const QModelIndex &index, int role) const
{
    if (!index.isValid() || index.model() != this || !isProxyRow(index.row()))
        return {};
    const QByteArray name = roleNames().value(role);
    if (name.isEmpty())
        return {};
    const QModelIndex sourceIndex = mapToSource(index);
    return sourceModel()->data(sourceIndex, sourceRoleOf(name));
}

QVariant CableListFilterModel::get(int index) const
{
    if (!isProxyRow(index))
        return {};
    const QModelIndex sourceIndex = mapToSource(this->index(index, 0));
    QVariantMap row;
    for (const char *name : {kCableName, kManufacturer, kVelocity, kLoss})
        row.insert(QLatin1String(name), sourceModel()->data(sourceIndex, sourceRoleOf(name)));
    return row;
}

// Looks in the whole source list, so a cable the filter hides is found but answers -1.
int CableListFilterModel::getIndexOfCableName(const QString &currentCableName) const
{
    const QAbstractItemModel *source = sourceModel();
    if (!source)
        return -1;
    const int rows = source->rowCount();
    for (int row = 0; row < rows; ++row) {
        const QModelIndex sourceIndex = source->index(row, 0);
        if (cableNameAt(sourceIndex) == currentCableName)
            return mapFromSource(sourceIndex).row();
    }
    return -1;
}

bool CableListFilterModel::filterAcceptsRow(int sourceRow, const QModelIndex &sourceParent) const
{
    if (m_filterText.isEmpty())
        return true;
    const QModelIndex sourceIndex = sourceModel()->index(sourceRow, 0, sourceParent);
    return cableNameAt(sourceIndex).startsWith(m_filterText, Qt::CaseInsensitive);
}

// Also false without a source model: the proxy has no rows then.
bool CableListFilterModel::isProxyRow(int row) const
{
    return row >= 0 && row < rowCount() && sourceModel();
}

// The source's number for a role name; role names are unique in practice, and should a source repeat
// one, the lowest number wins so the answer does not depend on hash order. Unknown names fall back to
// the display role, which carries the cable name.
int CableListFilterModel::sourceRoleOf(const QByteArray &name) const
{
    const QList<int> roles = sourceModel()->roleNames().keys(name);
    if (roles.isEmpty())
        return Qt::DisplayRole;
    return *std::min_element(roles.cbegin(), roles.cend());
}
