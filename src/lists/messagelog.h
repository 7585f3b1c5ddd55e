#ifndef MESSAGELOG_H
#define MESSAGELOG_H

#include <QString>
#include <QStringList>

// What HMessageList and HStringList keep: a window of the most recent texts and, beside it, a window
// of the most recent times of day, oldest first. Each append moves its own window only.
class MessageLog
{
public:
    MessageLog();

    int count() const;
    void setCount(int count);
    void clear();
    void appendText(const QString &text);
    QString text(int index) const;
    void appendTimeNow();
    QString time(int index) const;

private:
    void append(QStringList *window, const QString &entry) const;

    QStringList m_texts;
    QStringList m_times;
    int m_count = 0;
};

#endif // MESSAGELOG_H
