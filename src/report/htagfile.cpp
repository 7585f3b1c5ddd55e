#include "htagfile.h"

#include "hbaselogging.h"
#include "instrumentnames.h"
#include "jsonbytes.h"

#include <QFile>
#include <QJsonDocument>
#include <QJsonObject>
#include <QLoggingCategory>

#include "filewriter.h"
#include <iterator>

#include <unistd.h>

#include "qmlinput.h"

namespace {
const char kTagFileName[] = "/tagNameList.json";
const char kTagListMember[] = "TagList";
const char kNotAText[] = "setTag value for \"%1\" is not a text";
const char kNoTagEntry[] = "setTag key \"%1\" names no tag entry";

// A read fills every list with this many entries, keys 1 to 15 of its category.
constexpr int kEntriesPerCategory = 15;

const char *const kCategoryNames[] = {"Site ID", "Sector", "Technology", "Test Type", "Termination", "Custom"};

// What a first start offers before the user has typed anything, one row per category above.
const QList<QString> kDefaultEntries[] = {
    {QStringLiteral("SiteA"), QStringLiteral("SiteB"), QStringLiteral("SiteC")},
    {QStringLiteral("Alpha"), QStringLiteral("Beta"), QStringLiteral("Gamma")},
    {QStringLiteral("GSM900"), QStringLiteral("WCDMA850"), QStringLiteral("LTE180")},
    {QStringLiteral("RL"), QStringLiteral("VSWR"), QStringLiteral("DTF-RL"), QStringLiteral("DTF-VSWR"),
     QStringLiteral("CL")},
    {QStringLiteral("Open"), QStringLiteral("Load"), QStringLiteral("Antenna")},
    {},
};

QString categoryName(int category)
{
    return QString::fromLatin1(kCategoryNames[category]);
}

QString tagKey(const QString &category, int position)
{
    return category + QString::number(position + 1);
}
}

HTagFile::HTagFile(QObject *parent)
    : QObject(parent)
    , m_tagFilePath(QLatin1String(InstrumentNames::hetnetPrivateDir) + QLatin1String(kTagFileName))
{
    static_assert(sizeof(kCategoryNames) / sizeof(kCategoryNames[0]) == kCategoryCount, "category names");
    static_assert(sizeof(kDefaultEntries) / sizeof(kDefaultEntries[0]) == kCategoryCount, "default entries");

    if (QFile::exists(m_tagFilePath)) {
        read();
        return;
    }
    // Without its directory (made by the storage set-up, never here) the save fails quietly and the
    // defaults stay in the lists only.
    fillDefaults();
    save();
    read();
}

HTagFile::~HTagFile() = default;

void HTagFile::fillDefaults()
{
    for (int category = 0; category < kCategoryCount; ++category)
        m_lists[category] = kDefaultEntries[category];
}

void HTagFile::read()
{
    QFile file(m_tagFilePath);
    if (!file.open(QIODevice::ReadOnly))
        return;
    const QVector<QList<QString>> lists = listsSnapshot();
    const QMap<QString, QVariant> tags = m_tagMap;
    m_tagMap.clear();
    for (QList<QString> &list : m_lists)
        list.clear();
    // A file that does not parse reads as an empty object, so every list comes back as empty entries.
    readJson(QJsonDocument::fromJson(JsonBytes::read(file)).object());
    announceIfChanged(lists, tags);
}

QVector<QList<QString>> HTagFile::listsSnapshot() const
{
    return QVector<QList<QString>>(std::begin(m_lists), std::end(m_lists));
}

void HTagFile::announceIfChanged(const QVector<QList<QString>> &lists, const QMap<QString, QVariant> &tags)
{
    if (lists != listsSnapshot() || tags != m_tagMap)
        emit tagsChanged();
}

void HTagFile::readJson(const QJsonObject &root)
{
    m_tagMap = root.value(QLatin1String(kTagListMember)).toObject().toVariantMap();
    for (int category = 0; category < kCategoryCount; ++category)
        getTagName(categoryName(category));
}

QString HTagFile::getTagName(const QString &category)
{
    const int index = categoryIndex(category);
    if (index < 0)
        return QString();
    QList<QString> &list = m_lists[index];
    for (int position = 0; position < kEntriesPerCategory; ++position)
        list.append(getTag(tagKey(category, position)));
    return QString();
}

void HTagFile::save()
{
    // The tag map is rebuilt only once the file can be written (a missing folder changes nothing).
    FileWriter file(m_tagFilePath);
    if (!file.open())
        return;
    if (file.write(QJsonDocument(writeJson()).toJson(QJsonDocument::Indented)))
        file.commit();
    // The tag file must survive the instrument being switched off right after an edit.
    ::sync();
}

QJsonObject HTagFile::writeJson()
{
    m_tagMap.clear();
    for (int category = 0; category < kCategoryCount; ++category) {
        const QString name = categoryName(category);
        const QList<QString> &list = m_lists[category];
        for (int position = 0; position < list.size(); ++position)
            m_tagMap.insert(tagKey(name, position), list.at(position));
    }
    QJsonObject root;
    root.insert(QLatin1String(kTagListMember), QJsonObject::fromVariantMap(m_tagMap));
    return root;
}

// The tag map alone is rebuilt from the lists by every save, so a value stored only there would vanish
// with the save that follows. A key that names a list entry ("Sector2": category and 1-based position
// up to 15, the entries a read restores) therefore also sets that entry in place, padding the list with
// empty entries when it is shorter; an empty value empties the entry without moving the others. Any
// other key cannot be kept in the file: it is logged rather than dropped silently.
void HTagFile::setTag(QString pro, QVariant value)
{
    value = QmlInput::plain(value);
    const QVector<QList<QString>> lists = listsSnapshot();
    const QMap<QString, QVariant> tags = m_tagMap;
    m_tagMap.insert(pro, value);
    int category = -1;
    int position = -1;
    if (!value.isNull() && !value.canConvert<QString>())
        qCWarning(lcTags).noquote() << QString::fromLatin1(kNotAText).arg(pro);
    else if (!entryOfKey(pro, &category, &position))
        qCWarning(lcTags).noquote() << QString::fromLatin1(kNoTagEntry).arg(pro);
    else {
        QList<QString> &list = m_lists[category];
        while (list.size() <= position)
            list.append(QString());
        list[position] = value.toString();
    }
    save();
    announceIfChanged(lists, tags);
}

bool HTagFile::entryOfKey(const QString &key, int *category, int *position) const
{
    for (int index = 0; index < kCategoryCount; ++index) {
        const QString name = categoryName(index);
        if (!key.startsWith(name))
            continue;
        const QString number = key.mid(name.size());
        bool ok = false;
        const int value = number.toInt(&ok);
        // Only the exact key a read looks up: "Sector01" or "Sector+1" is not "Sector1".
        if (!ok || value < 1 || value > kEntriesPerCategory || QString::number(value) != number)
            return false;
        *category = index;
        *position = value - 1;
        return true;
    }
    return false;
}

QString HTagFile::getTag(QString name)
{
    const QVariant value = m_tagMap.value(name);
    if (value.isNull() || !value.canConvert<QString>())
        return QStringLiteral("");
    return value.toString();
}

void HTagFile::setTagName(QString tag, int num, QString value)
{
    const QVector<QList<QString>> lists = listsSnapshot();
    const QMap<QString, QVariant> tags = m_tagMap;
    const int category = categoryIndex(tag);
    if (category >= 0) {
        QList<QString> &list = m_lists[category];
        if (value.isEmpty()) {
            if (num >= 0 && num < list.size())
                list.removeAt(num);
        } else if (num >= 0 && num < list.size()) {
            list[num] = value;
        } else {
            // Past the end, and also for a negative position: the text the user typed is kept as a new
            // last entry rather than written outside the list or thrown away.
            list.append(value);
        }
    }
    save();
    announceIfChanged(lists, tags);
}

int HTagFile::categoryIndex(const QString &name) const
{
    for (int category = 0; category < kCategoryCount; ++category) {
        if (name == QLatin1String(kCategoryNames[category]))
            return category;
    }
    return -1;
}
