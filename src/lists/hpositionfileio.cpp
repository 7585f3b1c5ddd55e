#include "hpositionfileio.h"

#include <QFile>
#include <QStringList>

namespace {
const char kSourceEmpty[] = "source is empty";
const char kUnableToOpen[] = "Unable to open the file";
const char kEmptyCell[] = "--";
const char kSeparator = ',';

bool validRow(int row)
{
    return row >= 0 && row < HPositionFileIO::kRows;
}
}

HPositionFileIO::HPositionFileIO(QObject *parent)
    : QObject(parent)
{
    for (auto &column : m_table) {
        for (QString &cell : column)
            cell = QLatin1String(kEmptyCell);
    }
}

QString HPositionFileIO::source() const
{
    return m_source;
}

// Never announced: the interface sets the source once, when the screen is built.
void HPositionFileIO::setSource(QString source)
{
    m_source = source;
    readFile();
}

int HPositionFileIO::count() const
{
    return kRows;
}

// Cells outside the table do not exist; the interface never asks for them, and they read as "".
QString HPositionFileIO::getData(int ch, int count) const
{
    if (ch < 0 || ch >= kColumns || !validRow(count))
        return QStringLiteral("");
    return m_table[ch][count];
}

// A row outside the table is ignored, and the file is left as it is.
void HPositionFileIO::delData(int row)
{
    if (!validRow(row))
        return;
    for (auto &column : m_table)
        column[row] = QLatin1String(kEmptyCell);
    writeFile();
}

void HPositionFileIO::setData(int row, QString data1, QString data2, QString data3)
{
    if (!validRow(row))
        return;
    m_table[0][row] = data1;
    m_table[1][row] = data2;
    m_table[2][row] = data3;
    writeFile();
}

bool HPositionFileIO::isEmptyRow(int row) const
{
    const QString &key = m_table[0][row];
    return key.isEmpty() || key == QLatin1String(kEmptyCell);
}

// Lines fill rows from the first one on; rows after the last line read keep what they held. Lines
// past the tenth have no row and are ignored; missing fields of a short line read as "".
void HPositionFileIO::readFile()
{
    m_rowsRead = 0;
    if (m_source.isEmpty()) {
        Q_EMIT error(QLatin1String(kSourceEmpty));
        return;
    }
    QFile file(m_source);
    if (!file.open(QIODevice::ReadOnly)) {
        Q_EMIT error(QLatin1String(kUnableToOpen));
        return;
    }
    // Read as Latin-1, the encoding the file is written in, so names like "caf\xe9" come back unchanged.
    while (m_rowsRead < kRows && !file.atEnd()) {
        const QStringList fields = QString::fromLatin1(file.readLine()).simplified().split(kSeparator);
        for (int column = 0; column < kColumns; ++column)
            m_table[column][m_rowsRead] = fields.value(column);
        ++m_rowsRead;
    }
}

void HPositionFileIO::writeFile()
{
    // Without a source there is nothing to write to (and Qt would warn about the missing name).
    if (m_source.isEmpty())
        return;
    QFile file(m_source);
    if (!file.open(QIODevice::WriteOnly | QIODevice::Truncate))
        return;
    QByteArray text;
    for (int row = 0; row < kRows; ++row) {
        if (isEmptyRow(row))
            continue;
        text += m_table[0][row].toLatin1() + kSeparator + m_table[1][row].toLatin1() + kSeparator
                + m_table[2][row].toLatin1() + '\n';
    }
    file.write(text);
}
