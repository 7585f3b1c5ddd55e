#include "textwindow.h"

TextWindow::TextWindow(int length)
{
    reset(length);
}

void TextWindow::reset(int length)
{
    m_texts.clear();
    for (int index = 0; index < length; ++index)
        m_texts.append(QStringLiteral(""));
}

// One entry out at most: after the window length grows the list fills up to it, and after it
// shrinks the list keeps its length rather than losing several entries at once.
void TextWindow::append(const QString &text, int limit)
{
    m_texts.append(text);
    if (m_texts.size() > limit)
        m_texts.removeFirst();
}

QString TextWindow::at(int index) const
{
    return index >= 0 && index < m_texts.size() ? m_texts.at(index) : QStringLiteral("");
}
