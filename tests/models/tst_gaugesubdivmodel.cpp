#include <QtTest>
#include <QAbstractItemModelTester>
#include <QIdentityProxyModel>

#include "gaugesubdivmodel.h"

namespace {
// The model answers its row count for any parent, which the model tester reads as a tree of endless
// depth. Views only ask with the root, so the tester checks the model through this proxy, which keeps
// every signal and value but reports no children below a row.
class FlatListView : public QIdentityProxyModel
{
public:
    using QIdentityProxyModel::QIdentityProxyModel;
    int rowCount(const QModelIndex &parent = QModelIndex()) const override
    {
        return parent.isValid() ? 0 : QIdentityProxyModel::rowCount(parent);
    }
};

struct Checked
{
    Checked() { view.setSourceModel(&model); }
    GaugeSubDivModel model;
    FlatListView view;
    QAbstractItemModelTester tester{&view};
};

QString row(const GaugeSubDivModel &model, int i)
{
    const QModelIndex index = model.index(i);
    return QStringLiteral("%1@%2,%3").arg(model.data(index, 0).toString()).arg(model.data(index, 257).toInt())
        .arg(model.data(index, 258).toInt());
}
}

class TestGaugeSubDivModel : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void rolesAndData()
    {
        Checked checked;
        GaugeSubDivModel &model = checked.model;
        QCOMPARE(model.roleNames(), (QHash<int, QByteArray>{{0, "text"}, {257, "x"}, {258, "y"}}));
        model.appendItem("-10", 12, 40);
        const QModelIndex first = model.index(0);
        QCOMPARE(model.data(first, Qt::EditRole), QVariant(QStringLiteral("-10")));
        QCOMPARE(row(model, 0), QStringLiteral("-10@12,40"));
        for (int role : {1, 3, 256, 259})
            QCOMPARE(model.data(first, role), QVariant());
        QCOMPARE(model.data(QModelIndex(), 0), QVariant());
        QCOMPARE(model.data(model.index(1), 0), QVariant());
    }

    void appendUpdateAndClear()
    {
        Checked checked;
        GaugeSubDivModel &model = checked.model;
        QSignalSpy inserted(&model, &QAbstractItemModel::rowsInserted);
        QSignalSpy changed(&model, &QAbstractItemModel::dataChanged);
        QSignalSpy reset(&model, &QAbstractItemModel::modelReset);

        model.appendItem("0", 1, 2);
        model.updateItem(1, "5", 3, 4);  // index == count appends
        model.updateItem(7, "10", 5, 6); // beyond the end appends at the end
        model.updateItem(std::numeric_limits<uint>::max(), "15", 7, 8); // -1 from QML
        QCOMPARE(inserted.count(), 4);
        for (int i = 0; i < 4; ++i) {
            QCOMPARE(inserted.at(i).at(1).toInt(), i);
            QCOMPARE(inserted.at(i).at(2).toInt(), i);
        }
        QCOMPARE(changed.count(), 0);

        model.updateItem(2, "ten", -5, 99);
        QCOMPARE(changed.count(), 1);
        QCOMPARE(changed.at(0).at(0).value<QModelIndex>(), model.index(2));
        QCOMPARE(changed.at(0).at(1).value<QModelIndex>(), model.index(2));
        QCOMPARE(changed.at(0).at(2).value<QVector<int>>(), (QVector<int>{0, 257, 258}));
        QCOMPARE((QStringList{row(model, 0), row(model, 1), row(model, 2), row(model, 3)}),
                 (QStringList{"0@1,2", "5@3,4", "ten@-5,99", "15@7,8"}));

        // The view is reset even when there is nothing to clear.
        model.clearModel();
        model.clearModel();
        QCOMPARE(reset.count(), 2);
        QCOMPARE(model.rowCount(), 0);
    }
};

QTEST_GUILESS_MAIN(TestGaugeSubDivModel)
#include "tst_gaugesubdivmodel.moc"
