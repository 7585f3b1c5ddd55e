#include "messagelog.h"

#include <QTime>

namespace {
const char kTimeFormat[] = "hh:mm:ss";
constexpr int kDefaultCount = 10;

QString entryAt(const QStringList &window, int index)
{
    return index >= 0 && index < window.size() ? window.at(index) : QStringLiteral("");
}
}

MessageLog::MessageLog()
{
    clear();
}

int MessageLog::count() const
{
    return m_count;
}

// Only later appends follow the new length; the windows are not resized here.
void MessageLog::setCount(int count)
{
    m_count = count;
}

// Both windows full of empty entries, so the newest text always sits at index count - 1.
void MessageLog::clear()
{
    m_count = kDefaultCount;
    m_texts.clear();
    m_times.clear();
    for (int index = 0; index < kDefaultCount; ++index) {
        m_texts.append(QStringLiteral(""));
        m_times.append(QStringLiteral(""));
    }
}

void MessageLog::appendText(const QString &text)
{
    append(&m_texts, text);
}

QString MessageLog::text(int index) const
{
    return entryAt(m_texts, index);
}

void MessageLog::appendTimeNow()
{
    append(&m_times, QTime::currentTime().toString(QLatin1String(kTimeFormat)));
}

QString MessageLog::time(int index) const
{
    return entryAt(m_times, index);
}

// One entry out at most: after the window length grows the window fills up to it, and after it
// shrinks the window keeps its length rather than losing several entries at once.
void MessageLog::append(QStringList *window, const QString &entry) const
{
    window->append(entry);
    if (window->size() > m_count)
        window->removeFirst();
}
