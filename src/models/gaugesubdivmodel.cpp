#include "gaugesubdivmodel.h"

GaugeSubDivModel::GaugeSubDivModel(QObject *parent)
    : QAbstractListModel(parent)
{
}

// The model is flat; every caller asks with the root, so the parent is not looked at.
int GaugeSubDivModel::rowCount(const QModelIndex &parent) const
{
    Q_UNUSED(parent)
    return m_subDivs.size();
}

QVariant GaugeSubDivModel::data(const QModelIndex &index, int role) const
{
    if (!index.isValid() || index.row() < 0 || index.row() >= m_subDivs.size())
        return {};
    const SubDiv &subDiv = m_subDivs.at(index.row());
    switch (role) {
    case TextRole:
    case Qt::EditRole: // views that edit in place ask for the text under this role
        return subDiv.text;
    case XRole:
        return subDiv.x;
    case YRole:
        return subDiv.y;
    default:
        return {};
    }
}

QHash<int, QByteArray> GaugeSubDivModel::roleNames() const
{
    return {{TextRole, "text"}, {XRole, "x"}, {YRole, "y"}};
}

void GaugeSubDivModel::appendItem(const QString &text, int x, int y)
{
    const int row = m_subDivs.size();
    beginInsertRows(QModelIndex(), row, row);
    m_subDivs.append(SubDiv{text, x, y});
    endInsertRows();
}

// An index past the end appends at the end (not at that index); -1 from QML arrives as the largest
// unsigned value and appends too.
void GaugeSubDivModel::updateItem(uint index, const QString &text, int x, int y)
{
    if (index >= static_cast<uint>(m_subDivs.size())) {
        appendItem(text, x, y);
        return;
    }
    const int row = static_cast<int>(index);
    m_subDivs[row] = SubDiv{text, x, y};
    const QModelIndex changed = this->index(row);
    Q_EMIT dataChanged(changed, changed, {TextRole, XRole, YRole});
}

void GaugeSubDivModel::clearModel()
{
    beginResetModel();
    m_subDivs.clear();
    endResetModel();
}
