#ifndef CHANNELPLANMODEL_H
#define CHANNELPLANMODEL_H

#include <QAbstractListModel>
#include <QPointer>
#include <QString>
#include <QVector>

#include <array>

#include "elfdata.h"
#include "zeelfitems.h"

// The four parameter items of one trunking channel plan, in field order: channel type, base frequency,
// transmit offset, channel spacing. The handles belong to the client library; the guarded pointers only
// turn a handle the library dropped into a missing one.
struct ChannelPlan
{
    enum Field { ChannelType, BaseFreq, TransmitOffset, ChannelSpace, FieldCount };

    std::array<QPointer<ElfData>, FieldCount> items;

    bool isComplete() const;
};

// The sixteen channel plans of the "p25Trunking" module as sixteen rows. Each row hands QML the plan's
// item objects, which the editor binds to and edits directly; the model keeps only a backup of the
// values that the editor takes before an edit and writes back to cancel it.
class ChannelPlanModel : public QAbstractListModel
{
    Q_OBJECT
    Q_PROPERTY(ZeElfItems *zeElfItems READ zeElfItems WRITE setZeElfItems NOTIFY zeElfItemsChanged)

public:
    enum Roles {
        eDataChannelType = Qt::UserRole + 1,
        eDataBaseFreq,
        eDataTransmitOffset,
        eDataChannelSpace,
    };
    static const int kPlanCount = 16;

    explicit ChannelPlanModel(QObject *parent = nullptr);

    ZeElfItems *zeElfItems() const;
    void setZeElfItems(ZeElfItems *items);

    int rowCount(const QModelIndex &parent = QModelIndex()) const override;
    QVariant data(const QModelIndex &index, int role) const override;
    QHash<int, QByteArray> roleNames() const override;

    Q_INVOKABLE int getCount() const;
    Q_INVOKABLE void saveBackupValues();
    Q_INVOKABLE void restoreBackupValues();

Q_SIGNALS:
    void zeElfItemsChanged();

private:
    void fillOnceAddressed();
    void initialize();
    void clearPlans();

    QVector<ChannelPlan> m_plans;
    QPointer<ZeElfItems> m_zeElfItems;
    QString m_backupType[kPlanCount];
    double m_backupBaseFreq[kPlanCount] = {};
    double m_backupTransmitOffset[kPlanCount] = {};
    double m_backupChannelSpace[kPlanCount] = {};
};

#endif // CHANNELPLANMODEL_H
