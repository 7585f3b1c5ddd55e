#ifndef PDFLINES_H
#define PDFLINES_H

#include <QByteArray>

class QIODevice;

// The lines of a report file, read in blocks: each line is found with memchr and looked at in place,
// never copied, so a report of megabytes costs little more than reading its bytes. A line is taken
// whole only when it has at most kMaxLine bytes with its line break; a longer one is read past and
// given as empty, so that no piece of it can pass for a short line, and it is never held whole.
class PdfLines
{
public:
    static const int kMaxLine = 4095;

    explicit PdfLines(QIODevice &device);

    // The next line without its line break and the carriage returns before it (empty when too long);
    // valid until the next call. False when no line is left.
    bool next(const char **data, int *size);

private:
    // Keeps the unread bytes and appends a block; false when the device has nothing more.
    bool more();
    // Gives the `length` bytes at the read position as the line (`broken`: they end in a line break).
    bool take(int length, bool broken, bool tooLong, const char **data, int *size);

    QIODevice &m_device;
    QByteArray m_buffer;
    int m_pos = 0;
};

#endif // PDFLINES_H
