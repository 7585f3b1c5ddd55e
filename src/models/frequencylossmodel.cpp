#include "frequencylossmodel.h"

#include "hbaselogging.h"

#include <QLoggingCategory>
#include <QStringList>

namespace {

// Table text: "{frequency=loss}" pieces joined by ", ".
const QChar kPieceSeparator = QLatin1Char(',');
const QChar kValueSeparator = QLatin1Char('=');
const char kPieceOpen[] = "{";
const char kPieceClose[] = "}";
const char kPieceJoin[] = ", ";
// Removed from the whole text before it is cut into pieces.
const QChar kIgnoredCharacters[] = {QLatin1Char(' '), QLatin1Char('{'), QLatin1Char('}')};
// printf form of every number written; 10 significant digits keep what the editor can enter.
const char kNumberFormat[] = "%.10g";

const char kNoItem[] = " m_cableLoss is nullptr";
const char kLastItemEmpty[] = " Last item is empty!";

QString numberText(double value)
{
    return QString::asprintf(kNumberFormat, value);
}

// A point continues the table when both its values lie strictly above those of the point before it.
bool continues(const FrequencyLossItem &previous, const FrequencyLossItem &item)
{
    return item.frequency > previous.frequency && item.loss > previous.loss;
}

} // namespace

FrequencyLossModel::FrequencyLossModel(QObject *parent)
    : QAbstractListModel(parent)
{
}

ElfData *FrequencyLossModel::cableLoss() const
{
    return m_cableLoss;
}

void FrequencyLossModel::setCableLoss(ElfData *item)
{
    if (item == m_cableLoss)
        return;
    if (m_cableLoss)
        disconnect(m_cableLoss, &ElfData::valueChanged, this, &FrequencyLossModel::itemChanged);
    m_cableLoss = item;
    if (m_cableLoss)
        connect(m_cableLoss, &ElfData::valueChanged, this, &FrequencyLossModel::itemChanged);
    initializeModel();
    emit cableLossChanged();
}

int FrequencyLossModel::size() const
{
    return rowCount(QModelIndex());
}

int FrequencyLossModel::rowCount(const QModelIndex &parent) const
{
    return parent.isValid() ? 0 : m_items.size();
}

QVariant FrequencyLossModel::data(const QModelIndex &index, int role) const
{
    if (!index.isValid() || !isInRange(index.row()))
        return QVariant();
    const FrequencyLossItem &item = m_items.at(index.row());
    switch (role) {
    case FrequencyRole:
        return item.frequency;
    case LossRole:
        return item.loss;
    case IsValidRole:
        return item.isValid;
    default:
        return QVariant();
    }
}

QHash<int, QByteArray> FrequencyLossModel::roleNames() const
{
    return {
        {FrequencyRole, "frequency"},
        {LossRole, "loss"},
        {IsValidRole, "isValid"},
    };
}

QVector<FrequencyLossItem> FrequencyLossModel::parseTable(const QString &text)
{
    QVector<FrequencyLossItem> items;
    QString stripped = text;
    for (QChar ignored : kIgnoredCharacters)
        stripped.remove(ignored);
    const QStringList pieces = stripped.split(kPieceSeparator);
    for (const QString &piece : pieces) {
        const QStringList parts = piece.split(kValueSeparator);
        if (parts.size() != 2)
            continue;
        // QString::toDouble reads the C locale only (dot, no group separators) and gives 0 for no number.
        FrequencyLossItem item;
        item.frequency = parts.at(0).toDouble();
        item.loss = parts.at(1).toDouble();
        item.isValid = true;
        items.append(item);
    }
    return items;
}

QString FrequencyLossModel::tableText(const QVector<FrequencyLossItem> &items)
{
    QStringList pieces;
    pieces.reserve(items.size());
    for (const FrequencyLossItem &item : items) {
        pieces.append(QLatin1String(kPieceOpen) + numberText(item.frequency) + kValueSeparator + numberText(item.loss)
                      + QLatin1String(kPieceClose));
    }
    return pieces.join(QLatin1String(kPieceJoin));
}

// Loaded points are taken as the saved table holds them: all valid, whatever their order. Only edits
// judge a point against the one before it.
void FrequencyLossModel::initializeModel()
{
    if (!m_cableLoss) {
        qCWarning(lcModels) << __func__ << "::" << __LINE__ << kNoItem;
        return;
    }
    if (!m_items.isEmpty()) {
        beginRemoveRows(QModelIndex(), 0, m_items.size() - 1);
        m_items.clear();
        endRemoveRows();
    }
    m_edited = false;
    m_lastText = m_cableLoss->getValue().toString();
    const QVector<FrequencyLossItem> loaded = parseTable(m_lastText);
    if (!loaded.isEmpty()) {
        beginInsertRows(QModelIndex(), 0, loaded.size() - 1);
        m_items = loaded;
        endInsertRows();
    }
    emit sizeChanged();
}

void FrequencyLossModel::markEdited()
{
    m_edited = true;
}

void FrequencyLossModel::appendItem(const FrequencyLossItem &item)
{
    markEdited();
    beginInsertRows(QModelIndex(), m_items.size(), m_items.size());
    m_items.append(item);
    endInsertRows();
    emit sizeChanged();
}

void FrequencyLossModel::addItem(double frequency, double loss)
{
    FrequencyLossItem item;
    item.frequency = frequency;
    item.loss = loss;
    item.isValid = m_items.isEmpty() || continues(m_items.constLast(), item);
    appendItem(item);
}

// The new point 0, 0 is invalid until the editor fills it in, so the table cannot be saved with it.
bool FrequencyLossModel::addEmptyItem()
{
    if (isLastItemEmpty())
        return false;
    appendItem(FrequencyLossItem());
    return true;
}

void FrequencyLossModel::removeItem(int index)
{
    if (!isInRange(index))
        return;
    markEdited();
    beginRemoveRows(QModelIndex(), index, index);
    m_items.remove(index);
    endRemoveRows();
    revalidateFrom(index);
    emit sizeChanged();
}

void FrequencyLossModel::removeAll()
{
    if (m_items.isEmpty())
        return;
    markEdited();
    beginRemoveRows(QModelIndex(), 0, m_items.size() - 1);
    m_items.clear();
    endRemoveRows();
    emit sizeChanged();
}

void FrequencyLossModel::updateItem(int index, double frequency, double loss)
{
    if (!isInRange(index))
        return;
    markEdited();
    m_items[index].frequency = frequency;
    m_items[index].loss = loss;
    const QModelIndex changed = createIndex(index, 0);
    emit dataChanged(changed, changed, {FrequencyRole, LossRole});
    revalidateFrom(index);
}

void FrequencyLossModel::updateFrequency(int index, double frequency)
{
    if (!isInRange(index))
        return;
    markEdited();
    m_items[index].frequency = frequency;
    const QModelIndex changed = createIndex(index, 0);
    emit dataChanged(changed, changed, {FrequencyRole});
    revalidateFrom(index);
}

void FrequencyLossModel::updateLoss(int index, double loss)
{
    if (!isInRange(index))
        return;
    markEdited();
    m_items[index].loss = loss;
    const QModelIndex changed = createIndex(index, 0);
    emit dataChanged(changed, changed, {LossRole});
    revalidateFrom(index);
}

// Without an item there is nothing to write to: the save is refused and the rows are kept.
bool FrequencyLossModel::saveToElfItem()
{
    if (m_items.isEmpty() || isLastItemEmpty() || !areAllItemsValid())
        return false;
    if (!m_cableLoss) {
        qCWarning(lcModels) << __func__ << "::" << __LINE__ << kNoItem;
        return false;
    }
    m_lastText = tableText(m_items);
    m_edited = false;
    m_cableLoss->setValue(QVariant(m_lastText));
    return true;
}

void FrequencyLossModel::cancelEdit()
{
    initializeModel();
}

// The service may change the table behind the editor's back. Of the two choices (reload only when QML
// asks, or also by itself while nothing is being edited) the model takes the second: a table shown but
// not edited follows the service, and rows being edited are never discarded by a change from the
// service or by the echo of a save; cancelEdit() or updateModelFromElfItem() take the item's table then.
void FrequencyLossModel::itemChanged()
{
    if (!m_edited)
        updateModelFromElfItem();
}

// Reloads only when the item's text differs from what the model last read or wrote, so the model's
// own save comes back without discarding the rows. Without an item there is nothing to compare.
void FrequencyLossModel::updateModelFromElfItem()
{
    if (!m_cableLoss)
        return;
    if (m_cableLoss->getValue().toString() != m_lastText)
        initializeModel();
}

bool FrequencyLossModel::isInRange(int index) const
{
    return index >= 0 && index < m_items.size();
}

bool FrequencyLossModel::isValidAt(int row) const
{
    return row == 0 || continues(m_items.at(row - 1), m_items.at(row));
}

void FrequencyLossModel::revalidateFrom(int row)
{
    for (int i = qMax(row, 0); i < m_items.size(); ++i) {
        const bool valid = isValidAt(i);
        if (valid == m_items.at(i).isValid)
            continue;
        m_items[i].isValid = valid;
        const QModelIndex changed = createIndex(i, 0);
        emit dataChanged(changed, changed, {IsValidRole});
    }
}

bool FrequencyLossModel::isLastItemEmpty() const
{
    if (m_items.isEmpty())
        return false;
    const FrequencyLossItem &last = m_items.constLast();
    const bool empty = last.frequency == 0 || last.loss == 0;
    if (empty)
        qCWarning(lcModels) << __func__ << "::" << __LINE__ << kLastItemEmpty;
    return empty;
}

bool FrequencyLossModel::areAllItemsValid() const
{
    for (const FrequencyLossItem &item : m_items) {
        if (!item.isValid)
            return false;
    }
    return true;
}
