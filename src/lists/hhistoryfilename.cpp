#include "hhistoryfilename.h"

#include <QDateTime>

#include <cmath>

#include "commatextfile.h"

namespace {
const char kStampFormat[] = "dd/MM/yyyy hh:mm:ss";

// Once the history holds more than this many entries, an addition first drops the oldest one, so
// additions leave at most one entry more than this.
constexpr int kTrimAbove = 20;

// The ordering value of a date text: its decimal number, 0 when it is none.
double orderValue(const QString &date)
{
    bool ok = false;
    const double value = date.toDouble(&ok);
    return ok && std::isfinite(value) ? value : 0.0;
}
}

HHistoryFileName::HHistoryFileName(QObject *parent)
    : QObject(parent)
{
}

QString HHistoryFileName::source() const
{
    return m_source;
}

bool HHistoryFileName::maxCntVisible() const
{
    return m_maxCntVisible;
}

// A second source adds its entries to those read before. The same source again is read again, too: the
// interface sets it once more to take in what another program changed.
void HHistoryFileName::setSource(QString source)
{
    const bool changed = source != m_source;
    m_source = source;
    readFile();
    if (changed)
        emit sourceChanged(m_source);
}

void HHistoryFileName::setMaxCntVisible(bool val)
{
    if (val == m_maxCntVisible)
        return;
    m_maxCntVisible = val;
    emit maxCntVisibleChanged();
}

int HHistoryFileName::count() const
{
    return m_list.size();
}

QString HHistoryFileName::getName(int ch) const
{
    return ch >= 0 && ch < m_list.size() ? m_list.at(ch).name : QStringLiteral("");
}

QString HHistoryFileName::getDate(int ch) const
{
    return ch >= 0 && ch < m_list.size() ? m_list.at(ch).date : QStringLiteral("");
}

void HHistoryFileName::setData(QString data)
{
    setDataAppend(data, QDateTime::currentDateTime().toString(QLatin1String(kStampFormat)));
}

void HHistoryFileName::setDataAppend(QString data, QString realData)
{
    if (contains(data))
        return;
    makeRoom();
    m_list.append({data, realData});
    writeFile();
}

void HHistoryFileName::setDataOrder(QString data, QString realData)
{
    if (contains(data))
        return;
    makeRoom();
    m_list.insert(orderedPosition(realData), {data, realData});
    writeFile();
}

// Before the first entry with a greater number, so entries with equal numbers keep the order they
// were added in. A new entry whose number equals the last one's is appended for the same reason,
// rather than dropped: the user's name is kept.
int HHistoryFileName::orderedPosition(const QString &date) const
{
    const double value = orderValue(date);
    for (int position = 0; position < m_list.size(); ++position) {
        if (orderValue(m_list.at(position).date) > value)
            return position;
    }
    return m_list.size();
}

void HHistoryFileName::delData(QString val)
{
    for (int position = m_list.size() - 1; position >= 0; --position) {
        if (m_list.at(position).name == val) {
            m_list.removeAt(position);
            break;
        }
    }
    writeFile();
}

bool HHistoryFileName::contains(const QString &name) const
{
    for (const stNameList &entry : m_list) {
        if (entry.name == name)
            return true;
    }
    return false;
}

// A history read longer than the limit is never cut down; it only keeps its length from then on.
void HHistoryFileName::makeRoom()
{
    if (!m_maxCntVisible && m_list.size() > kTrimAbove)
        m_list.removeFirst();
}

void HHistoryFileName::readFile()
{
    QList<QStringList> lines;
    const QString failure = CommaTextFile::read(m_source, &lines);
    if (!failure.isEmpty()) {
        Q_EMIT error(failure);
        return;
    }
    for (const QStringList &fields : qAsConst(lines)) {
        // This object never writes a line without a comma (nor an empty one); such a line is skipped
        // rather than taken as a name without a date.
        if (fields.size() >= 2)
            m_list.append({fields.at(0), fields.at(1)});
    }
}

void HHistoryFileName::writeFile()
{
    QList<QStringList> lines;
    for (const stNameList &entry : m_list) {
        if (!entry.name.isEmpty() && !entry.date.isEmpty())
            lines.append({entry.name, entry.date});
    }
    CommaTextFile::write(m_source, lines);
}
