#ifndef GAUGESUBDIVMODEL_H
#define GAUGESUBDIVMODEL_H

#include <QAbstractListModel>
#include <QString>
#include <QVector>

#include "subdiv.h"

// The gauge's scale labels. QML computes them and fills the model; a repeater draws them. Labels are
// appended, updated in place or all dropped, never removed one by one.
class GaugeSubDivModel : public QAbstractListModel
{
    Q_OBJECT

public:
    enum Roles {
        TextRole = Qt::DisplayRole,
        XRole = Qt::UserRole + 1,
        YRole,
    };

    explicit GaugeSubDivModel(QObject *parent = nullptr);

    int rowCount(const QModelIndex &parent = QModelIndex()) const override;
    QVariant data(const QModelIndex &index, int role = Qt::DisplayRole) const override;
    QHash<int, QByteArray> roleNames() const override;

    Q_INVOKABLE void appendItem(const QString &text, int x, int y);
    Q_INVOKABLE void updateItem(uint index, const QString &text, int x, int y);
    Q_INVOKABLE void clearModel();

private:
    QVector<SubDiv> m_subDivs;
};

#endif // GAUGESUBDIVMODEL_H
