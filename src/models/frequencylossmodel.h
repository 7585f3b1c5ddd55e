#ifndef FREQUENCYLOSSMODEL_H
#define FREQUENCYLOSSMODEL_H

#include <QAbstractListModel>
#include <QPointer>
#include <QString>
#include <QVector>

#include "elfdata.h"

// One point of a cable loss table.
struct FrequencyLossItem
{
    double frequency = 0;
    double loss = 0;
    // Whether the point continues the table: both values above those of the point before it.
    bool isValid = false;
};

// The cable loss table editor's rows. The table lives as text in one parameter item, for example
// "{100=0.5}, {200=1.25}"; the model parses it into points, lets the editor change the points while it
// keeps each point's validity current, and writes the text back only on saveToElfItem.
class FrequencyLossModel : public QAbstractListModel
{
    Q_OBJECT
    Q_PROPERTY(ElfData *cableLoss READ cableLoss WRITE setCableLoss NOTIFY cableLossChanged)
    Q_PROPERTY(int size READ size NOTIFY sizeChanged)

public:
    enum Roles {
        FrequencyRole = Qt::UserRole + 1,
        LossRole,
        IsValidRole,
    };

    explicit FrequencyLossModel(QObject *parent = nullptr);

    ElfData *cableLoss() const;
    void setCableLoss(ElfData *item);
    int size() const;

    int rowCount(const QModelIndex &parent = QModelIndex()) const override;
    QVariant data(const QModelIndex &index, int role) const override;
    QHash<int, QByteArray> roleNames() const override;

    Q_INVOKABLE void addItem(double frequency, double loss);
    Q_INVOKABLE bool addEmptyItem();
    Q_INVOKABLE void removeItem(int index);
    Q_INVOKABLE void removeAll();
    Q_INVOKABLE void updateItem(int index, double frequency, double loss);
    Q_INVOKABLE void updateFrequency(int index, double frequency);
    Q_INVOKABLE void updateLoss(int index, double loss);
    Q_INVOKABLE bool saveToElfItem();
    Q_INVOKABLE void cancelEdit();
    Q_INVOKABLE void updateModelFromElfItem();

    // The table text in both directions; the model's own reading and writing of the item use these.
    static QVector<FrequencyLossItem> parseTable(const QString &text);
    static QString tableText(const QVector<FrequencyLossItem> &items);

Q_SIGNALS:
    void cableLossChanged();
    void sizeChanged();

private:
    void initializeModel();
    // A change of the item from the service (or the echo of a save).
    void itemChanged();
    void markEdited();
    void appendItem(const FrequencyLossItem &item);
    bool isInRange(int index) const;
    bool isValidAt(int row) const;
    void revalidateFrom(int row);
    bool isLastItemEmpty() const;
    bool areAllItemsValid() const;

    QVector<FrequencyLossItem> m_items;
    QPointer<ElfData> m_cableLoss;
    QString m_lastText;
    // Rows changed since the last load or save: a change of the item then leaves them alone.
    bool m_edited = false;
};

#endif // FREQUENCYLOSSMODEL_H
