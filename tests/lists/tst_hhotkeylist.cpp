#include <QtTest>

#include "hhotkeylist.h"

namespace {
QList<int> shown(HHotkeyList &keys)
{
    QList<int> values;
    for (int i = -1; i <= keys.getCount(); ++i)
        values.append(keys.getValue(i));
    return values;
}
}

class TestHHotkeyList : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void workingListAndRemovalByValue()
    {
        HHotkeyList keys;
        QCOMPARE(shown(keys), QList<int>({-1, -1}));
        for (int value : {3, 5, 3, 7})
            keys.setValue(value);
        keys.remove(3);
        keys.remove(9);
        QCOMPARE(shown(keys), QList<int>({-1, 5, 7, -1}));
        keys.clearList();
        QCOMPARE(keys.getCount(), 0);
    }

    void readersFollowTheBackupMode()
    {
        HHotkeyList keys;
        keys.setValue(1);
        keys.setValue(2);
        keys.copyToListBackup();
        keys.setBackupMode(true);
        keys.setValue(4);
        QCOMPARE(shown(keys), QList<int>({-1, 1, 2, -1}));
        keys.clearList();
        QCOMPARE(shown(keys), QList<int>({-1, 1, 2, -1}));
        keys.setBackupMode(false);
        QCOMPARE(keys.getCount(), 0);

        keys.setValue(9);
        keys.setBackupMode(true);
        keys.copyToListBackup();
        QCOMPARE(shown(keys), QList<int>({-1, 9, -1}));
        keys.setBackupMode(true);
        keys.remove(9);
        QCOMPARE(shown(keys), QList<int>({-1, 9, -1}));
    }
};

QTEST_GUILESS_MAIN(TestHHotkeyList)
#include "tst_hhotkeylist.moc"
