#include <QtTest>

#include "hbasevolume.h"

namespace {
const QString kStateDir = QStringLiteral("/tmp/hbase-sim");

void writeState(const QString &name, const QByteArray &bytes)
{
    QDir().mkpath(kStateDir);
    QFile file(kStateDir + QLatin1Char('/') + name);
    QVERIFY(file.open(QIODevice::WriteOnly | QIODevice::Truncate));
    file.write(bytes);
}

QByteArray readState(const QString &name)
{
    QFile file(kStateDir + QLatin1Char('/') + name);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

// The command lines the tool received since the last call, one per line.
QStringList takeCommands()
{
    const QStringList lines = QString::fromUtf8(readState(QStringLiteral("commands.log"))).split('\n', Qt::SkipEmptyParts);
    QFile::remove(kStateDir + QStringLiteral("/commands.log"));
    return lines;
}

QString setCommand(const char *item, const char *value)
{
    return QStringLiteral("cmsend [ctrlpanelsvc] [cmd] [set] [%1] [%2]").arg(QLatin1String(item), QLatin1String(value));
}

const QStringList kPollCommands = {"cmsend [ctrlpanelsvc] [cmd] [get] [SOUND_VOLUME]",
                                   "cmsend [ctrlpanelsvc] [cmd] [get] [SOUND_IN_VOL]",
                                   "cmsend [ctrlpanelsvc] [cmd] [get] [SOUND_MUTE]"};

// Volume, microphone level and mute as one text, for comparing all three at once.
QString levels(const HBaseVolume &volume)
{
    return QStringLiteral("%1 %2 %3").arg(volume.volume()).arg(volume.micVolume()).arg(volume.mute());
}
}

class TestHBaseVolume : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void init()
    {
        QDir(kStateDir).removeRecursively();
    }

    void settersClampAndWrite()
    {
        writeState(QStringLiteral("SOUND_VOLUME"), "100\n");
        HBaseVolume volume;
        takeCommands();
        QSignalSpy volumeSpy(&volume, &HBaseVolume::volumeChanged);
        QSignalSpy micSpy(&volume, &HBaseVolume::micVolumeChanged);
        QSignalSpy muteSpy(&volume, &HBaseVolume::muteChanged);

        // 150 differs from the stored 100, so it is written (as 100) and reported.
        volume.setVolume(150);
        volume.setVolume(100);
        volume.setVolume(-5);
        volume.setMicVolume(250);
        volume.setMicVolume(64);
        volume.setMute(true);
        volume.setMute(true);
        volume.setMute(false);

        QCOMPARE(takeCommands(), (QStringList{setCommand("SOUND_VOLUME", "100"), setCommand("SOUND_VOLUME", "0"),
                                              setCommand("SOUND_IN_VOL", "100"), setCommand("SOUND_IN_VOL", "64"),
                                              setCommand("SOUND_MUTE", "YES"), setCommand("SOUND_MUTE", "NO")}));
        QCOMPARE(volumeSpy, (QList<QVariantList>{{100}, {0}}));
        QCOMPARE(micSpy, (QList<QVariantList>{{100}, {64}}));
        QCOMPARE(muteSpy, (QList<QVariantList>{{true}, {false}}));
        QCOMPARE(levels(volume), QStringLiteral("0 64 0"));
        QCOMPARE(readState(QStringLiteral("SOUND_MUTE")), QByteArray("NO\n"));
    }

    void pollingPicksUpChangesBehindItsBack()
    {
        // Construction reads all three values.
        writeState(QStringLiteral("SOUND_IN_VOL"), "7\n");
        HBaseVolume volume;
        QCOMPARE(takeCommands(), kPollCommands);
        QCOMPARE(levels(volume), QStringLiteral("50 7 0"));
        QSignalSpy volumeSpy(&volume, &HBaseVolume::volumeChanged);
        QSignalSpy micSpy(&volume, &HBaseVolume::micVolumeChanged);
        QSignalSpy muteSpy(&volume, &HBaseVolume::muteChanged);

        // Only what changed is reported; polled levels are not clamped.
        writeState(QStringLiteral("SOUND_VOLUME"), "250\n");
        writeState(QStringLiteral("SOUND_MUTE"), "YES\n");
        volume.pollServiceForValues();
        QCOMPARE(volumeSpy, (QList<QVariantList>{{250}}));
        QCOMPARE(micSpy.count(), 0);
        QCOMPARE(muteSpy, (QList<QVariantList>{{true}}));

        // The word is compared case-sensitively.
        writeState(QStringLiteral("SOUND_MUTE"), "yes\n");
        volume.pollServiceForValues();
        QCOMPARE(volume.mute(), false);

        // Text after a zero byte is not part of the answer.
        writeState(QStringLiteral("cmsend.output"), QByteArray("SOUND_VOLUME 42\0 99 YES\n", 24));
        volume.pollServiceForValues();
        QCOMPARE(levels(volume), QStringLiteral("42 42 0"));

        // Junk reads as 0 and false.
        writeState(QStringLiteral("cmsend.output"), "SOUND_VOLUME  high\nYES ");
        volume.pollServiceForValues();
        QCOMPARE(levels(volume), QStringLiteral("0 0 1"));
    }

    void missingToolReadsZero()
    {
        writeState(QStringLiteral("SOUND_VOLUME"), "42\n");
        const QByteArray path = qgetenv("PATH");
        qputenv("PATH", "/nonexistent");
        HBaseVolume volume;
        volume.setVolume(60);
        qputenv("PATH", path);
        QCOMPARE(levels(volume), QStringLiteral("60 0 0"));
        QCOMPARE(takeCommands(), QStringList());
    }
};

QTEST_GUILESS_MAIN(TestHBaseVolume)
#include "tst_hbasevolume.moc"
