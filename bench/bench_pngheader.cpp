// The header of a screenshot (`readHeader` of a 1920x1245 PNG whose description follows the picture
// data, as some writers place it): against a bare chunk walk that seeks past every chunk but the text.
#include <QFile>
#include <QGuiApplication>
#include <QImage>
#include <QPainter>
#include <QRandomGenerator>
#include <QtEndian>

#include <zlib.h>

#include "benchtable.h"
#include "hsave.h"

static const char kShot[] = "/tmp/shot.png";
static const QByteArray kEnd = QByteArrayLiteral("IEND");

// One PNG chunk: length, type, data and the CRC over type and data.
static QByteArray chunk(const QByteArray &type, const QByteArray &data)
{
    QByteArray out(4, Qt::Uninitialized);
    qToBigEndian<quint32>(quint32(data.size()), out.data());
    const QByteArray body = type + data;
    QByteArray crc(4, Qt::Uninitialized);
    qToBigEndian<quint32>(quint32(crc32(0, reinterpret_cast<const Bytef *>(body.constData()), uInt(body.size()))),
                          crc.data());
    return out + body + crc;
}

// The text of the first tEXt chunk with the keyword, found by walking the chunks: each other chunk's
// data is skipped with a seek.
static QByteArray walkForText(const char *path, const QByteArray &keyword)
{
    QFile in(path);
    if (!in.open(QIODevice::ReadOnly) || !in.seek(8))
        return QByteArray();
    for (;;) {
        const QByteArray head = in.read(8);
        if (head.size() < 8 || head.mid(4) == kEnd)
            return QByteArray();
        const qint64 length = qFromBigEndian<quint32>(head.constData());
        if (head.mid(4) == "tEXt") {
            const QByteArray data = in.read(length);
            if (data.startsWith(keyword + '\0'))
                return data.mid(keyword.size() + 1);
            in.seek(in.pos() + 4);
        } else if (!in.seek(in.pos() + length + 4)) {
            return QByteArray();
        }
    }
}

int main(int argc, char **argv)
{
    QGuiApplication app(argc, argv);
    // A picture that compresses like a screen does, not like a blank page.
    QImage image(1920, 1245, QImage::Format_RGB32);
    image.fill(Qt::black);
    QPainter painter(&image);
    QRandomGenerator random(21);
    for (int i = 0; i < 4000; ++i) {
        painter.setPen(QColor::fromRgb(random.generate()));
        painter.drawLine(random.bounded(1920), random.bounded(1245), random.bounded(1920), random.bounded(1245));
    }
    painter.end();
    if (!image.save(kShot, "PNG"))
        return 1;
    // The description goes after the picture data, just before the end chunk.
    QFile file(kShot);
    if (!file.open(QIODevice::ReadOnly))
        return 1;
    QByteArray bytes = file.readAll();
    file.close();
    const int end = bytes.lastIndexOf(kEnd) - 4;
    bytes.insert(end, chunk("tEXt", QByteArrayLiteral("Description\0LTE/Spectrum")));
    if (!file.open(QIODevice::WriteOnly | QIODevice::Truncate) || file.write(bytes) != bytes.size())
        return 1;
    file.close();
    HSave save;

    const double project = BenchTable::medianMs([&] {
        if (!save.readHeader(kShot, "png") || save.getHeader("Technology") != "LTE")
            qFatal("readHeader did not read the description");
    });
    const double floor = BenchTable::medianMs([&] {
        if (walkForText(kShot, "Description") != "LTE/Spectrum")
            qFatal("the floor did not read the description");
    });
    BenchTable::printRow(QStringLiteral("`readHeader` of a 1920x1245 screenshot, text after the picture"), project,
                         floor, 0);
    return 0;
}
