#include <QtTest>
#include <QAbstractItemModelTester>
#include <QStandardItemModel>

#include "cablelistfiltermodel.h"

namespace {
// The source list numbers its roles its own way; the proxy must find them by name.
enum SourceRoles { SourceLoss = Qt::UserRole + 40, SourceVelocity, SourceManufacturer, SourceName };

struct Cable
{
    const char *name;
    const char *manufacturer;
    double velocity;
    double loss;
};

const Cable kCables[] = {
    {"ABC-1", "Acme", 0.66, 0.2},
    {"X-AB", "Beta", 0.7, 0.3},
    {"abd-2", "Acme", 0.8, 0.4},
    {"RG58", "Gamma", 0.66, 0.5},
};

QStandardItemModel *makeSource(QObject *parent, bool withVelocity = true)
{
    auto *source = new QStandardItemModel(parent);
    QHash<int, QByteArray> roles{{Qt::DisplayRole, "display"},
                                 {SourceName, "cableName"},
                                 {SourceManufacturer, "manufacturer"},
                                 {SourceLoss, "loss"}};
    if (withVelocity)
        roles.insert(SourceVelocity, "velocity");
    source->setItemRoleNames(roles);
    for (const Cable &cable : kCables) {
        auto *item = new QStandardItem(QString::fromLatin1(cable.name));
        item->setData(QString::fromLatin1(cable.name), SourceName);
        item->setData(QString::fromLatin1(cable.manufacturer), SourceManufacturer);
        item->setData(cable.velocity, SourceVelocity);
        item->setData(cable.loss, SourceLoss);
        source->appendRow(item);
    }
    return source;
}

QStringList names(const CableListFilterModel &model)
{
    QStringList list;
    for (int row = 0; row < model.rowCount(); ++row)
        list.append(model.get(row).toMap().value("cableName").toString());
    return list;
}
}

class TestCableListFilterModel : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void offersFourRolesByName()
    {
        CableListFilterModel model;
        QAbstractItemModelTester tester(&model);
        QCOMPARE(model.get(0), QVariant());
        QCOMPARE(model.getIndexOfCableName("ABC-1"), -1);

        model.setSourceModel(makeSource(&model));
        QCOMPARE(model.rowCount(), 4);
        const QModelIndex first = model.index(0, 0);
        QCOMPARE(model.data(first, 257), QVariant(QStringLiteral("ABC-1")));
        QCOMPARE(model.data(first, 258), QVariant(QStringLiteral("Acme")));
        QCOMPARE(model.data(first, 259), QVariant(0.66));
        QCOMPARE(model.data(first, 260), QVariant(0.2));
        for (int role : {int(Qt::DisplayRole), int(Qt::EditRole), 256, 261, int(SourceName)})
            QCOMPARE(model.data(first, role), QVariant());

        QCOMPARE(model.get(-1), QVariant());
        QCOMPARE(model.get(4), QVariant());
    }

    void filtersByNamePrefixIgnoringCase()
    {
        CableListFilterModel model;
        model.setSourceModel(makeSource(&model));
        QAbstractItemModelTester tester(&model);
        QSignalSpy changed(&model, &CableListFilterModel::filterTextChanged);
        QSignalSpy removed(&model, &QAbstractItemModel::rowsRemoved);

        model.setFilterText("ab");
        QCOMPARE(changed.count(), 1);
        QVERIFY(removed.count() > 0);
        QCOMPARE(names(model), (QStringList{"ABC-1", "abd-2"}));
        QCOMPARE(model.data(model.index(1, 0), 258), QVariant(QStringLiteral("Acme")));

        // Found in the source but hidden, and compared with case.
        QCOMPARE(model.getIndexOfCableName("RG58"), -1);
        QCOMPARE(model.getIndexOfCableName("abc-1"), -1);
        QCOMPARE(model.getIndexOfCableName("ABC"), -1);

        model.setFilterText("AB");
        QCOMPARE(changed.count(), 2);
        QCOMPARE(names(model), (QStringList{"ABC-1", "abd-2"}));
        model.setFilterText("");
        QCOMPARE(changed.count(), 3);
        QCOMPARE(model.rowCount(), 4);
        QCOMPARE(model.getIndexOfCableName("RG58"), 3);
    }

    void unknownRoleNamesReadTheDisplayRole()
    {
        CableListFilterModel model;
        model.setSourceModel(makeSource(&model, false));
        QAbstractItemModelTester tester(&model);
        QCOMPARE(model.data(model.index(1, 0), 259), QVariant(QStringLiteral("X-AB")));
        QCOMPARE(model.get(1).toMap().value("velocity"), QVariant(QStringLiteral("X-AB")));
        QCOMPARE(model.get(1).toMap().value("loss"), QVariant(0.3));
    }
};

QTEST_GUILESS_MAIN(TestCableListFilterModel)
#include "tst_cablelistfiltermodel.moc"
