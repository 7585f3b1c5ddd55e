#include "henumlist.h"

#include "hbaselogging.h"

#include <QDebug>
#include <QLoggingCategory>

#include "quenjsondocument.h"

namespace {

const char kFileScheme[] = "file://";
const char kId[] = "id";
const char kLabel[] = "label";
const char kEnum[] = "enum";
const char kDispSeq[] = "dispSeq";
const char kDisable[] = "disable";
const char kAllFilter[] = "*";
// The one label the screens show untranslated in the files but translated on the instrument.
const char kCenterFrequency[] = QT_TRANSLATE_NOOP("HEnumList", "Center Frequency");
}

HEnumList::HEnumList(QObject *parent)
    : QObject(parent)
    , m_filter(QString::fromLatin1(kAllFilter))
{
    m_trTable.insert(QLatin1String(kCenterFrequency), tr(kCenterFrequency));
}

QString HEnumList::getFile() const
{
    return m_file;
}

void HEnumList::setFile(const QString &file)
{
    if (file == m_file)
        return;
    m_file = file;
    emit sourceChanged();
}

// The filter is kept for the screens that set it; no lookup applies it.
QString HEnumList::getFilter() const
{
    return m_filter;
}

void HEnumList::setFilter(const QString &filter)
{
    if (filter == m_filter)
        return;
    m_filter = filter;
    emit queryChanged();
}

bool HEnumList::getIsLoad() const
{
    return m_loaded;
}

// The argument is accepted for the screens that pass one; every call reads the file again.
bool HEnumList::loadFile(bool reload)
{
    Q_UNUSED(reload)
    QString path = m_file;
    path.remove(QLatin1String(kFileScheme));

    QuenJsonDocument document;
    document.readFile(path);
    if (document.hasError()) {
        qCDebug(lcModels) << document.errorString();
        return false;
    }
    // A top level that is not an object reads as an empty object: an empty table.
    m_listTable = variantOf(document.object()).toMap();
    if (!m_loaded) {
        m_loaded = true;
        emit loadedChanged();
    }
    return true;
}

QVariantList HEnumList::getList(const QString &id) const
{
    const QVariant list = m_listTable.value(id);
    if (list.userType() != QMetaType::QVariantList)
        return {};
    return list.toList();
}

QVariantList HEnumList::getListByFullId(const QString &fullId) const
{
    return getList(listKeyOf(fullId));
}

QVariantMap HEnumList::getLabelMap(const QString &elfId) const
{
    return labelMapOf(getListByFullId(elfId));
}

QVariantMap HEnumList::getLabelMapByShortId(const QString &elfId) const
{
    return labelMapOf(getList(elfId));
}

QStringList HEnumList::getLabelList(const QString &elfId) const
{
    QStringList labels;
    const QVariantList items = getListByFullId(elfId);
    for (const QVariant &item : items)
        labels.append(item.toMap().value(QLatin1String(kLabel)).toString());
    return labels;
}

QString HEnumList::getTr(const QString &label) const
{
    const auto found = m_trTable.constFind(label);
    return found == m_trTable.constEnd() ? label : found.value().toString();
}

void HEnumList::replaceLabelForId(const QString &elfId, const QString &curLabel, const QString &newLabel)
{
    setMemberWhere(elfId, QLatin1String(kLabel), curLabel, QLatin1String(kLabel), newLabel);
}

void HEnumList::disableSubIdforItemId(const QString &itemId, const QString &subId)
{
    setMemberWhere(itemId, QLatin1String(kId), subId, QLatin1String(kDisable), 1);
}

void HEnumList::enableSubIdforItemId(const QString &itemId, const QString &subId)
{
    setMemberWhere(itemId, QLatin1String(kId), subId, QLatin1String(kDisable), 0);
}

bool HEnumList::addNewSubItemforItemId(const QString &itemId, const QString &subId, const QString &label, int enumVal,
                                       int dispSeq)
{
    if (!m_listTable.contains(itemId))
        return false;
    QVariantList items = getList(itemId);
    QVariantMap entry;
    entry.insert(QLatin1String(kId), subId);
    entry.insert(QLatin1String(kLabel), label);
    entry.insert(QLatin1String(kEnum), enumVal);
    entry.insert(QLatin1String(kDispSeq), dispSeq);
    items.append(entry);
    m_listTable.insert(itemId, items);
    return true;
}

// ":kind:app:module:param:" -> "module:param". The steps are applied blindly, so short or odd
// addresses give odd keys, which simply find no list.
QString HEnumList::listKeyOf(const QString &fullId)
{
    QString key = fullId.mid(1);
    const int lastColon = key.lastIndexOf(QLatin1Char(':'));
    if (lastColon >= 0)
        key.remove(lastColon, 1);
    else
        key.chop(1);
    for (int i = 0; i < 2; ++i)
        key = key.mid(key.indexOf(QLatin1Char(':')) + 1);
    return key;
}

// Like QJsonValue::toVariant, except that every number becomes a double, integral or not: the screens
// read "enum" and "dispSeq" as numbers and must see one type whatever the file wrote.
QVariant HEnumList::variantOf(const QJsonValue &value)
{
    switch (value.type()) {
    case QJsonValue::Double:
        return value.toDouble();
    case QJsonValue::Array: {
        QVariantList list;
        const QJsonArray array = value.toArray();
        for (const QJsonValue &element : array)
            list.append(variantOf(element));
        return list;
    }
    case QJsonValue::Object: {
        QVariantMap map;
        const QJsonObject object = value.toObject();
        for (auto it = object.constBegin(); it != object.constEnd(); ++it)
            map.insert(it.key(), variantOf(it.value()));
        return map;
    }
    default:
        return value.toVariant();
    }
}

// Later items with the same sub-id win; the label is stored as the file gave it.
QVariantMap HEnumList::labelMapOf(const QVariantList &items)
{
    QVariantMap labels;
    for (const QVariant &item : items) {
        const QVariantMap entry = item.toMap();
        labels.insert(entry.value(QLatin1String(kId)).toString(), entry.value(QLatin1String(kLabel)));
    }
    return labels;
}

// Every item whose member `match`, as text, equals `text` (an absent member reads as ""), not only
// the first; items that are not objects read as empty ones. An unknown list key changes nothing.
void HEnumList::setMemberWhere(const QString &listKey, const QString &match, const QString &text, const QString &member,
                               const QVariant &value)
{
    if (!m_listTable.contains(listKey))
        return;
    QVariantList items = getList(listKey);
    for (QVariant &item : items) {
        QVariantMap entry = item.toMap();
        if (entry.value(match).toString() != text)
            continue;
        entry.insert(member, value);
        item = entry;
    }
    m_listTable.insert(listKey, items);
}
