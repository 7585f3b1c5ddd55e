#ifndef HBASEVOLUME_H
#define HBASEVOLUME_H

#include <QObject>
#include <QString>

// Loudspeaker volume, microphone level and mute of the device's control panel service, read and
// written through the device command tool. Values are read at construction and on every poll.
class HBaseVolume : public QObject
{
    Q_OBJECT
    Q_PROPERTY(int volume READ volume WRITE setVolume NOTIFY volumeChanged)
    Q_PROPERTY(int micVolume READ micVolume WRITE setMicVolume NOTIFY micVolumeChanged)
    Q_PROPERTY(bool mute READ mute WRITE setMute NOTIFY muteChanged)

public:
    explicit HBaseVolume(QObject *parent = nullptr);
    ~HBaseVolume() override;

    int volume() const { return m_volume; }
    int micVolume() const { return m_micVolume; }
    bool mute() const { return m_mute; }

    void setVolume(int volume);
    void setMicVolume(int micVolume);
    void setMute(bool mute);

Q_SIGNALS:
    void volumeChanged(int volume);
    void micVolumeChanged(int micVolume);
    void muteChanged(bool mute);

public Q_SLOTS:
    void pollServiceForValues();

private:
    QString runCommand(const QString &commandLine);
    int readLevel(const QString &commandLine);
    bool setLevel(int &stored, int value, const QString &commandTemplate);

    int m_volume = 75;
    int m_micVolume = 0;
    bool m_mute = false;
    const QString m_getVolumeCommand;
    const QString m_setVolumeCommand;
    const QString m_getMicVolumeCommand;
    const QString m_setMicVolumeCommand;
    const QString m_getMuteCommand;
    const QString m_setMuteCommand;
};

#endif // HBASEVOLUME_H
