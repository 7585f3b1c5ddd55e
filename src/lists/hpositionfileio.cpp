#include "hpositionfileio.h"

#include <QStringList>

#include "commatextfile.h"

namespace {
const char kEmptyCell[] = "--";

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

// Announced once the file is read, so bindings on the source see the table that goes with it.
void HPositionFileIO::setSource(QString source)
{
    const bool changed = source != m_source;
    m_source = source;
    readFile();
    if (changed)
        emit sourceChanged(m_source);
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
    QList<QStringList> lines;
    const QString failure = CommaTextFile::read(m_source, &lines);
    if (!failure.isEmpty()) {
        Q_EMIT error(failure);
        return;
    }
    for (const QStringList &fields : qAsConst(lines)) {
        if (m_rowsRead == kRows)
            break;
        for (int column = 0; column < kColumns; ++column)
            m_table[column][m_rowsRead] = fields.value(column);
        ++m_rowsRead;
    }
}

void HPositionFileIO::writeFile()
{
    QList<QStringList> lines;
    for (int row = 0; row < kRows; ++row) {
        if (!isEmptyRow(row))
            lines.append({m_table[0][row], m_table[1][row], m_table[2][row]});
    }
    CommaTextFile::write(m_source, lines);
}
