#include "hhotkeylist.h"

namespace {
// What getValue answers for a position the list being read does not have.
constexpr int kNoValue = -1;
}

HHotkeyList::HHotkeyList(QObject *parent)
    : QObject(parent)
{
}

const QList<int> &HHotkeyList::readList() const
{
    return m_backupMode ? m_backup : m_list;
}

void HHotkeyList::setValue(int num)
{
    m_list.append(num);
}

int HHotkeyList::getValue(int num)
{
    const QList<int> &list = readList();
    return num >= 0 && num < list.size() ? list.at(num) : kNoValue;
}

int HHotkeyList::getCount()
{
    return readList().size();
}

// By value: every entry equal to num goes, wherever it stands.
void HHotkeyList::remove(int num)
{
    m_list.removeAll(num);
}

// Confirming the edit: the backup becomes the edited list and the readers follow the list again.
void HHotkeyList::copyToListBackup()
{
    m_backup = m_list;
    m_backupMode = false;
}

void HHotkeyList::setBackupMode(bool isBool)
{
    m_backupMode = isBool;
}

void HHotkeyList::clearList()
{
    m_list.clear();
}
