#include "pdflines.h"

#include <QIODevice>

#include <cstring>

namespace {
const int kBlock = 256 * 1024;
} // namespace

PdfLines::PdfLines(QIODevice &device)
    : m_device(device)
{
}

bool PdfLines::more()
{
    m_buffer.remove(0, m_pos);
    m_pos = 0;
    const int kept = m_buffer.size();
    m_buffer.resize(kept + kBlock);
    const qint64 got = m_device.read(m_buffer.data() + kept, kBlock);
    m_buffer.resize(kept + int(qMax<qint64>(got, 0)));
    return got > 0;
}

bool PdfLines::next(const char **data, int *size)
{
    bool tooLong = false;
    int searched = 0; // unread bytes known to hold no line break
    for (;;) {
        const char *start = m_buffer.constData() + m_pos;
        const int available = m_buffer.size() - m_pos;
        const auto *newline = static_cast<const char *>(memchr(start + searched, '\n', size_t(available - searched)));
        if (newline)
            return take(int(newline - start) + 1, true, tooLong, data, size);
        searched = available;
        // No line break yet: a line already too long is dropped as it is read.
        if (searched > kMaxLine) {
            tooLong = true;
            m_pos = m_buffer.size();
            searched = 0;
        }
        if (!more()) {
            if (m_pos == m_buffer.size() && !tooLong)
                return false;
            return take(m_buffer.size() - m_pos, false, tooLong, data, size); // the last line, without a break
        }
    }
}

bool PdfLines::take(int length, bool broken, bool tooLong, const char **data, int *size)
{
    const char *start = m_buffer.constData() + m_pos;
    m_pos += length;
    int content = broken ? length - 1 : length;
    while (content > 0 && start[content - 1] == '\r')
        --content;
    *data = start;
    *size = !tooLong && length <= kMaxLine ? content : 0;
    return true;
}
