#include "hbasevolume.h"

#include <QRegularExpression>

#include "devicecommand.h"

namespace {
const char kGetVolume[] = "cmsend ctrlpanelsvc cmd get SOUND_VOLUME";
const char kSetVolume[] = "cmsend ctrlpanelsvc cmd set SOUND_VOLUME %1";
const char kGetMicVolume[] = "cmsend ctrlpanelsvc cmd get SOUND_IN_VOL";
const char kSetMicVolume[] = "cmsend ctrlpanelsvc cmd set SOUND_IN_VOL %1";
const char kGetMute[] = "cmsend ctrlpanelsvc cmd get SOUND_MUTE";
const char kSetMute[] = "cmsend ctrlpanelsvc cmd set SOUND_MUTE %1";
const char kMuted[] = "YES";
const char kNotMuted[] = "NO";
const int kCommandTimeoutMs = 30000;
const int kMinLevel = 0;
const int kMaxLevel = 100;
}

HBaseVolume::HBaseVolume(QObject *parent)
    : QObject(parent)
    , m_getVolumeCommand(QString::fromLatin1(kGetVolume))
    , m_setVolumeCommand(QString::fromLatin1(kSetVolume))
    , m_getMicVolumeCommand(QString::fromLatin1(kGetMicVolume))
    , m_setMicVolumeCommand(QString::fromLatin1(kSetMicVolume))
    , m_getMuteCommand(QString::fromLatin1(kGetMute))
    , m_setMuteCommand(QString::fromLatin1(kSetMute))
{
    pollServiceForValues();
}

HBaseVolume::~HBaseVolume() = default;

void HBaseVolume::setVolume(int volume)
{
    if (setLevel(m_volume, volume, m_setVolumeCommand))
        emit volumeChanged(m_volume);
}

void HBaseVolume::setMicVolume(int micVolume)
{
    if (setLevel(m_micVolume, micVolume, m_setMicVolumeCommand))
        emit micVolumeChanged(m_micVolume);
}

void HBaseVolume::setMute(bool mute)
{
    if (mute == m_mute)
        return;
    m_mute = mute;
    runCommand(m_setMuteCommand.arg(QLatin1String(m_mute ? kMuted : kNotMuted)));
    emit muteChanged(m_mute);
}

void HBaseVolume::pollServiceForValues()
{
    // Polled levels are taken as the service reports them, unclamped.
    const int volume = readLevel(m_getVolumeCommand);
    if (volume != m_volume) {
        m_volume = volume;
        emit volumeChanged(m_volume);
    }

    const int micVolume = readLevel(m_getMicVolumeCommand);
    if (micVolume != m_micVolume) {
        m_micVolume = micVolume;
        emit micVolumeChanged(m_micVolume);
    }

    static const QRegularExpression whiteSpace(QStringLiteral("\\s+"));
    const QStringList words = runCommand(m_getMuteCommand).split(whiteSpace, Qt::SkipEmptyParts);
    const bool mute = !words.isEmpty() && words.last() == QLatin1String(kMuted);
    if (mute != m_mute) {
        m_mute = mute;
        emit muteChanged(m_mute);
    }
}

// Stores the clamped value and writes it to the service. The early return compares the value as
// given, so 150 while 100 is stored still writes 100 and reports it: the slider snaps back to 100.
bool HBaseVolume::setLevel(int &stored, int value, const QString &commandTemplate)
{
    if (value == stored)
        return false;
    stored = qBound(kMinLevel, value, kMaxLevel);
    runCommand(commandTemplate.arg(stored));
    return true;
}

// The tool prints the item and its value; only the last space-separated field counts.
int HBaseVolume::readLevel(const QString &commandLine)
{
    const QStringList fields = runCommand(commandLine).split(QLatin1Char(' '), Qt::KeepEmptyParts);
    return fields.last().trimmed().toInt();
}

// Runs one command line (split at spaces, program found on PATH, no shell) and returns what it
// printed up to the first zero byte. A tool that hangs past the limit is killed, so the one process
// object is free for the next command and commands never overlap.
QString HBaseVolume::runCommand(const QString &commandLine)
{
    return DeviceCommand::runLine(commandLine, kCommandTimeoutMs);
}
