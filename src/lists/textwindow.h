#ifndef TEXTWINDOW_H
#define TEXTWINDOW_H

#include <QString>
#include <QStringList>

// The rolling window behind the message and string lists: texts oldest first, where each append
// pushes out at most one old entry.
class TextWindow
{
public:
    explicit TextWindow(int length);

    void reset(int length);
    void append(const QString &text, int limit);
    QString at(int index) const;

private:
    QStringList m_texts;
};

#endif // TEXTWINDOW_H
