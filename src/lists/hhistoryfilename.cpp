#include "hhistoryfilename.h"

#include <QDateTime>
#include <QFile>

#include <cmath>

namespace {
const char kSourceEmpty[] = "source is empty";
const char kUnableToOpen[] = "Unable to open the file";
const char kStampFormat[] = "dd/MM/yyyy hh:mm:ss";
const char kSeparator = ',';

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

// The interface sets the source once per screen; a second source adds its entries to those read
// before, so neither setter announces a change.
void HHistoryFileName::setSource(QString source)
{
    m_source = source;
    readFile();
}

void HHistoryFileName::setMaxCntVisible(bool val)
{
    m_maxCntVisible = val;
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
    while (!file.atEnd()) {
        // The whole line is simplified before it is split, so "a   ,   b" reads as "a " and " b".
        const QStringList fields = QString::fromLatin1(file.readLine()).simplified().split(kSeparator);
        // This object never writes a line without a comma (nor an empty one); such a line is skipped
        // rather than taken as a name without a date.
        if (fields.size() < 2)
            continue;
        m_list.append({fields.at(0), fields.at(1)});
    }
}

void HHistoryFileName::writeFile()
{
    // Without a source there is nothing to write to (and Qt would warn about the missing name).
    if (m_source.isEmpty())
        return;
    QFile file(m_source);
    if (!file.open(QIODevice::WriteOnly | QIODevice::Truncate))
        return;
    QByteArray text;
    for (const stNameList &entry : m_list) {
        if (entry.name.isEmpty() || entry.date.isEmpty())
            continue;
        text += entry.name.toLatin1() + kSeparator + entry.date.toLatin1() + '\n';
    }
    file.write(text);
}
