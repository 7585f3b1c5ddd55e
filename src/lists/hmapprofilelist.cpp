#include "hmapprofilelist.h"

#include "instrumentnames.h"
#include "jsonbytes.h"

#include <QDir>
#include <QDirIterator>
#include <QFile>
#include <QFileInfo>
#include <QJsonDocument>
#include <QJsonObject>
#include <QSet>

#include <algorithm>
#include <utility>
#include <vector>

#include "starterfiles.h"

namespace {
const char kProfileFolder[] = ".mapProfile";
const char kProfilePattern[] = "*.mpcv";
const char kHeaderKey[] = "Header";

const char kNameKey[] = "Name";
const char kRruTypeKey[] = "RRUType";
const char kFrequencyKey[] = "Frequency";

// Pick-list fields of getFilterSize and getFilterName.
const char kNameField[] = "Name";
const char kRruTypeField[] = "RRU Type";
const char kFrequencyField[] = "Frequency";
const char kFrequencyUnit[] = " MHz";

// Column names of the list screen and the header keys they sort by.
const std::pair<const char *, const char *> kSortColumns[] = {
    {"Name", "Name"}, {"RRU Type", "RRUType"},   {"Freq (MHz)", "Frequency"},
    {"Link", "Link"}, {"Link Rate", "LinkRate"}, {"BW", "Bandwidth"},
};

const int kFilterPositions = 5;

// Header values are handed out as text: numbers as their decimal text, booleans as "true"/"false",
// a missing key as "".
QString headerText(const QVariantMap &header, const QString &key)
{
    return header.value(key).toString();
}

// The "Header" object of a profile file; an unreadable or malformed file gives an empty map.
QVariantMap readHeader(const QString &path)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return QVariantMap();
    const QJsonObject top = QJsonDocument::fromJson(JsonBytes::read(file)).object();
    return top.value(QLatin1String(kHeaderKey)).toObject().toVariantMap();
}

}

HMapProFileList::HMapProFileList(QObject *parent)
    : QObject(parent)
{
}

void HMapProFileList::read(const QString &name)
{
    m_fileHeader = readHeader(name);
}

// Every "*.mpcv" below the profile directory, hidden entries skipped and links to directories not
// followed, in the order the file system yields them. Each match is read from the profile directory
// by its bare file name: the save screen keeps profiles at the top, and a match in a sub-folder reads
// as the top-level profile of that name, or as an empty header when there is none.
void HMapProFileList::scan(const Test &passes)
{
    m_profileList.clear();
    const QString dir = QString::fromLatin1(InstrumentNames::fiveGStorage) + QString::fromLatin1(kProfileFolder);
    QDirIterator it(dir, {QString::fromLatin1(kProfilePattern)}, QDir::Files, QDirIterator::Subdirectories);
    while (it.hasNext()) {
        it.next();
        const QVariantMap header = readHeader(dir + QLatin1Char('/') + it.fileName());
        if (passes(header))
            m_profileList.append(header);
    }
}

void HMapProFileList::readAll()
{
    scan([](const QVariantMap &) { return true; });
    rebuildValueLists();
}

void HMapProFileList::rebuildValueLists()
{
    QSet<QString> names;
    QSet<QString> rruTypes;
    QSet<QString> frequencies;
    for (const QVariantMap &header : qAsConst(m_profileList)) {
        names.insert(headerText(header, QLatin1String(kNameKey)));
        rruTypes.insert(headerText(header, QLatin1String(kRruTypeKey)));
        frequencies.insert(headerText(header, QLatin1String(kFrequencyKey)));
    }
    m_nameValues = QStringList(names.cbegin(), names.cend());
    m_rruTypeValues = QStringList(rruTypes.cbegin(), rruTypes.cend());
    m_frequencyValues = QStringList(frequencies.cbegin(), frequencies.cend());
}

void HMapProFileList::readFilter(const QString &field, const QString &keyword)
{
    if (field.isEmpty() || keyword.isEmpty()) {
        readAll();
        return;
    }
    // A profile without the field has the text "", which holds no non-empty keyword.
    scan([&](const QVariantMap &header) { return headerText(header, field).contains(keyword, Qt::CaseInsensitive); });
}

// Five field/keyword positions, each string comma-separated. A position whose value is "" (no field
// there, or the profile lacks the key) sets no condition. Missing positions count as empty and
// positions after the fifth are ignored.
void HMapProFileList::readMultiFilter(const QString &fields, const QString &keywords)
{
    if (fields.isEmpty() && keywords.isEmpty()) {
        readAll();
        return;
    }
    QStringList fieldList = fields.split(QLatin1Char(','));
    QStringList keywordList = keywords.split(QLatin1Char(','));
    while (fieldList.size() < kFilterPositions)
        fieldList.append(QString());
    while (keywordList.size() < kFilterPositions)
        keywordList.append(QString());

    scan([&](const QVariantMap &header) {
        for (int k = 0; k < kFilterPositions; ++k) {
            if (fieldList.at(k).isEmpty())
                continue;
            const QString value = headerText(header, fieldList.at(k));
            if (!value.isEmpty() && !value.contains(keywordList.at(k), Qt::CaseInsensitive))
                return false;
        }
        return true;
    });
}

int HMapProFileList::getListSize() const
{
    return m_profileList.size();
}

QString HMapProFileList::getListInfo(int num, const QString &name) const
{
    if (num < 0 || num >= m_profileList.size())
        return QString();
    return headerText(m_profileList.at(num), name);
}

QString HMapProFileList::getInfo(const QString &name) const
{
    return headerText(m_fileHeader, name);
}

bool HMapProFileList::isExistFile(const QString &src, const QString &dst) const
{
    const QString name = QFileInfo(src).fileName();
    // With no bare name the test would ask about `dst` itself.
    if (name.isEmpty())
        return false;
    // A folder of that name is no file: the copy would go into it, not over it.
    return QFileInfo(QDir(dst).filePath(name)).isFile();
}

// True when the reply differs from "OK": the file screens read true as "the delete failed", so an
// unreachable starter (reply left at "OK") reads as success here.
bool HMapProFileList::fileDelete(const QString &src)
{
    return StarterFiles::send(StarterFiles::s_deleteAction, src) != QLatin1String(StarterFiles::s_replyOk);
}

bool HMapProFileList::fileCopy(const QString &src, const QString &dst)
{
    return StarterFiles::send(StarterFiles::s_copyAction, StarterFiles::pair(src, dst))
        == QLatin1String(StarterFiles::s_replyOk);
}

// Textual order of the upper-cased values, also for numbers ("900" after "1800"). The sort is stable,
// so profiles with equal texts keep their scan order, in both directions.
void HMapProFileList::sortField(const QString &field, bool sortReversed)
{
    for (const auto &column : kSortColumns) {
        if (field == QLatin1String(column.first))
            m_sortKey = QString::fromLatin1(column.second);
    }
    if (m_sortKey.isEmpty())
        return;

    std::vector<std::pair<QString, int>> keys;
    keys.reserve(m_profileList.size());
    for (int i = 0; i < m_profileList.size(); ++i)
        keys.emplace_back(headerText(m_profileList.at(i), m_sortKey).toUpper(), i);
    std::stable_sort(keys.begin(), keys.end(), [sortReversed](const auto &a, const auto &b) {
        return sortReversed ? b.first < a.first : a.first < b.first;
    });
    QList<QVariantMap> sorted;
    sorted.reserve(m_profileList.size());
    for (const auto &key : keys)
        sorted.append(m_profileList.at(key.second));
    m_profileList = sorted;
}

const QStringList *HMapProFileList::valueList(const QString &field) const
{
    if (field == QLatin1String(kNameField))
        return &m_nameValues;
    if (field == QLatin1String(kRruTypeField))
        return &m_rruTypeValues;
    if (field == QLatin1String(kFrequencyField))
        return &m_frequencyValues;
    return nullptr;
}

int HMapProFileList::getFilterSize(const QString &field) const
{
    const QStringList *values = valueList(field);
    return values ? values->size() : 0;
}

QString HMapProFileList::getFilterName(int num, const QString &field) const
{
    const QStringList *values = valueList(field);
    if (!values || num < 0 || num >= values->size())
        return QString();
    if (field == QLatin1String(kFrequencyField))
        return values->at(num) + QLatin1String(kFrequencyUnit);
    return values->at(num);
}
