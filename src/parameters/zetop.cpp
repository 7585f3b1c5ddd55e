#include "zetop.h"

#include "elfdata.h"
#include "qmlinput.h"
#include "zeelfitems.h"

namespace {
const QString kChannelStandard = QStringLiteral("Channel Standard");
const QString kNameValueSeparator = QStringLiteral(":");
// A channel standard's display text is "<group> - <standard> - <detail>"; summaries show the standard.
const QString kStandardFieldSeparator = QStringLiteral(" - ");
const int kStandardField = 1;
}

ZeTop::ZeTop(QObject *parent)
    : QObject(parent)
{
}

ZeElfItems *ZeTop::elfHandle() const
{
    return m_elfHandle;
}

void ZeTop::setElfHandle(ZeElfItems *val)
{
    if (val == m_elfHandle)
        return;
    m_elfHandle = val;
    emit elfHandleChanged();
}

// Without a bridge, or for a parameter the bridge does not know, the answer is "": screens show an
// empty value rather than failing.
QString ZeTop::getConfigItem(const QString &item)
{
    if (!m_elfHandle)
        return QString();
    ElfData *data = m_elfHandle->getConfigItem(item);
    if (!data)
        return QString();
    return data->getValue().toString();
}

QString ZeTop::getData(const QString &str, const QVariant &item, int resolution) const
{
    Q_UNUSED(resolution) // kept for the screens that pass it; the text does not depend on it
    const QString value = QmlInput::plain(item).toString();
    if (str == kChannelStandard)
        return str + kNameValueSeparator + channelStandardCnfg(value);
    return str + kNameValueSeparator + value;
}

QString ZeTop::channelStandardCnfg(const QString &val) const
{
    const QStringList fields = val.split(kStandardFieldSeparator);
    return fields.size() > kStandardField ? fields.at(kStandardField) : QString();
}
