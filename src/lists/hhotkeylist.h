#ifndef HHOTKEYLIST_H
#define HHOTKEYLIST_H

#include <QList>
#include <QObject>

// The interface's hot-key numbers in the order they were added, with a backup copy. While the user
// edits the list, the readers can be switched to the backup so the display keeps the last confirmed
// state; writers always change the working list.
class HHotkeyList : public QObject
{
    Q_OBJECT

public:
    explicit HHotkeyList(QObject *parent = nullptr);

    Q_INVOKABLE void setValue(int num);
    Q_INVOKABLE int getValue(int num);
    Q_INVOKABLE int getCount();
    Q_INVOKABLE void remove(int num);
    Q_INVOKABLE void copyToListBackup();
    Q_INVOKABLE void setBackupMode(bool isBool);
    Q_INVOKABLE void clearList();

private:
    const QList<int> &readList() const;

    QList<int> m_list;
    QList<int> m_backup;
    bool m_backupMode = false;
};

#endif // HHOTKEYLIST_H
