#include "channelplanmodel.h"

#include "hbaselogging.h"

#include <QLoggingCategory>

namespace {

const QString kModule = QStringLiteral("p25Trunking");

// Parameter name prefixes (the plan number 1 to 16 follows) and the warning for a missing item, in
// field order.
const QString kParamPrefixes[ChannelPlan::FieldCount] = {
    QStringLiteral("channelPlanType"),
    QStringLiteral("channelPlanBaseFrequency"),
    QStringLiteral("channelPlanTransmitOffset"),
    QStringLiteral("channelPlanSpace"),
};
const char *const kMissingItem[ChannelPlan::FieldCount] = {
    " eDataChannelType wasn't initialized!",
    " eDataBaseFreq wasn't initialized!",
    " eDataTransmitOffset wasn't initialized!",
    " eDataChannelSpace wasn't initialized!",
};

const char kNotInitialized[] = " zeElfItems is not initialized!";
const char kEnter[] = " ENTER!!!!!!";
const char kCannotSave[] = " cannot save backup values, elfItems are null!";
const char kCannotRestore[] = " cannot restore backup values, elfItems are null!";

} // namespace

bool ChannelPlan::isComplete() const
{
    for (const QPointer<ElfData> &item : items) {
        if (!item)
            return false;
    }
    return true;
}

ChannelPlanModel::ChannelPlanModel(QObject *parent)
    : QAbstractListModel(parent)
{
}

ZeElfItems *ChannelPlanModel::zeElfItems() const
{
    return m_zeElfItems;
}

void ChannelPlanModel::setZeElfItems(ZeElfItems *items)
{
    if (items == m_zeElfItems)
        return;
    if (m_zeElfItems)
        disconnect(m_zeElfItems, &ZeElfItems::initialedChanged, this, &ChannelPlanModel::fillOnceAddressed);
    m_zeElfItems = items;
    // QML may hand over the bridge before it gives the bridge its address.
    if (m_zeElfItems)
        connect(m_zeElfItems, &ZeElfItems::initialedChanged, this, &ChannelPlanModel::fillOnceAddressed);
    initialize();
    emit zeElfItemsChanged();
}

void ChannelPlanModel::fillOnceAddressed()
{
    if (m_zeElfItems && m_zeElfItems->initialed())
        initialize();
}

int ChannelPlanModel::rowCount(const QModelIndex &parent) const
{
    return parent.isValid() ? 0 : m_plans.size();
}

QVariant ChannelPlanModel::data(const QModelIndex &index, int role) const
{
    if (!index.isValid() || index.row() < 0 || index.row() >= m_plans.size() || role < eDataChannelType
        || role > eDataChannelSpace)
        return QVariant();
    return QVariant::fromValue<ElfData *>(m_plans.at(index.row()).items[role - eDataChannelType]);
}

QHash<int, QByteArray> ChannelPlanModel::roleNames() const
{
    return {
        {eDataChannelType, "eDataChannelType"},
        {eDataBaseFreq, "eDataBaseFreq"},
        {eDataTransmitOffset, "eDataTransmitOffset"},
        {eDataChannelSpace, "eDataChannelSpace"},
    };
}

int ChannelPlanModel::getCount() const
{
    return rowCount(QModelIndex());
}

void ChannelPlanModel::clearPlans()
{
    if (m_plans.isEmpty())
        return;
    beginRemoveRows(QModelIndex(), 0, m_plans.size() - 1);
    m_plans.clear();
    endRemoveRows();
}

// The plans are looked up before any row is announced, so that a missing item leaves views with
// exactly the plans found before it: no announced row is left out and no insertion stays open.
void ChannelPlanModel::initialize()
{
    if (!m_zeElfItems || !m_zeElfItems->initialed()) {
        qCWarning(lcModels) << __func__ << "::" << __LINE__ << kNotInitialized;
        return;
    }
    clearPlans();

    QVector<ChannelPlan> found;
    found.reserve(kPlanCount);
    bool missing = false;
    for (int number = 1; number <= kPlanCount && !missing; ++number) {
        ChannelPlan plan;
        for (int field = 0; field < ChannelPlan::FieldCount; ++field) {
            plan.items[field] = m_zeElfItems->getConfigItem(kParamPrefixes[field] + QString::number(number), kModule);
            if (!plan.items[field]) {
                qCWarning(lcModels) << __func__ << "::" << __LINE__ << kMissingItem[field];
                missing = true;
                break;
            }
        }
        if (!missing)
            found.append(plan);
    }
    if (found.isEmpty())
        return;
    beginInsertRows(QModelIndex(), 0, found.size() - 1);
    m_plans = found;
    endInsertRows();
}

void ChannelPlanModel::saveBackupValues()
{
    qCWarning(lcModels) << __func__ << "::" << __LINE__ << kEnter;
    for (int i = 0; i < m_plans.size() && i < kPlanCount; ++i) {
        const ChannelPlan &plan = m_plans.at(i);
        if (!plan.isComplete()) {
            qCWarning(lcModels) << __func__ << "::" << __LINE__ << kCannotSave;
            return;
        }
        // The readable text of the enumerated type is what setValue takes back on restore.
        m_backupType[i] = plan.items[ChannelPlan::ChannelType]->valueText(true);
        m_backupBaseFreq[i] = plan.items[ChannelPlan::BaseFreq]->getValue().toDouble();
        m_backupTransmitOffset[i] = plan.items[ChannelPlan::TransmitOffset]->getValue().toDouble();
        m_backupChannelSpace[i] = plan.items[ChannelPlan::ChannelSpace]->getValue().toDouble();
    }
}

void ChannelPlanModel::restoreBackupValues()
{
    qCWarning(lcModels) << __func__ << "::" << __LINE__ << kEnter;
    for (int i = 0; i < m_plans.size() && i < kPlanCount; ++i) {
        const ChannelPlan &plan = m_plans.at(i);
        if (!plan.isComplete()) {
            qCWarning(lcModels) << __func__ << "::" << __LINE__ << kCannotRestore;
            return;
        }
        plan.items[ChannelPlan::ChannelType]->setValue(QVariant(m_backupType[i]));
        plan.items[ChannelPlan::BaseFreq]->setValue(QVariant(m_backupBaseFreq[i]));
        plan.items[ChannelPlan::TransmitOffset]->setValue(QVariant(m_backupTransmitOffset[i]));
        plan.items[ChannelPlan::ChannelSpace]->setValue(QVariant(m_backupChannelSpace[i]));
    }
}
