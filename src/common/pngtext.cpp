#include "pngtext.h"

#include <QFile>
#include <QtEndian>

#include <zlib.h>

namespace {
const char kSignature[] = "\x89PNG\r\n\x1a\n";
const int kSignatureSize = 8;
const int kChunkHeaderSize = 8; // length and type
const int kChunkCrcSize = 4;
// A description is a few dozen characters: larger text chunks are skipped unread and inflated texts
// stop here, so a crafted file cannot make the reader allocate more than this.
const int kMaxTextSize = 64 * 1024;

bool isEnd(const QByteArray &type)
{
    return type == "IEND";
}

bool isText(const QByteArray &type)
{
    return type == "tEXt" || type == "zTXt" || type == "iTXt";
}

// Splits off the zero-terminated field at `at`; false when there is no terminator.
bool takeField(const QByteArray &data, int &at, QByteArray &field)
{
    const int end = data.indexOf('\0', at);
    if (end < 0)
        return false;
    field = data.mid(at, end - at);
    at = end + 1;
    return true;
}
} // namespace

QMap<QString, QString> PngText::read(const QString &path)
{
    QMap<QString, QString> texts;
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly) || file.read(kSignatureSize) != QByteArray(kSignature, kSignatureSize))
        return texts;
    while (true) {
        const QByteArray header = file.read(kChunkHeaderSize);
        if (header.size() != kChunkHeaderSize)
            break;
        const quint32 length = qFromBigEndian<quint32>(header.constData());
        const QByteArray type = header.mid(4);
        const qint64 remaining = file.size() - file.pos();
        // Text may also follow the picture data, whose chunks are skipped like any other.
        if (isEnd(type) || qint64(length) + kChunkCrcSize > remaining)
            break;
        if (isText(type) && length <= quint32(kMaxTextSize)) {
            const QByteArray data = file.read(length);
            const QByteArray crc = file.read(kChunkCrcSize);
            const uLong expected = crc32(crc32(0L, reinterpret_cast<const Bytef *>(type.constData()), 4),
                                         reinterpret_cast<const Bytef *>(data.constData()), uInt(data.size()));
            if (crc.size() == kChunkCrcSize && qFromBigEndian<quint32>(crc.constData()) == quint32(expected))
                addChunk(type, data, texts);
        } else if (!file.seek(file.pos() + qint64(length) + kChunkCrcSize)) {
            break;
        }
    }
    return texts;
}

// tEXt: keyword, zero, Latin-1 text. zTXt: keyword, zero, method, deflated Latin-1 text.
// iTXt: keyword, zero, compression flag, method, language, zero, translated keyword, zero, UTF-8 text.
void PngText::addChunk(const QByteArray &type, const QByteArray &data, QMap<QString, QString> &texts)
{
    int at = 0;
    QByteArray keyword;
    if (!takeField(data, at, keyword) || keyword.isEmpty())
        return;
    QByteArray text;
    if (type == "tEXt") {
        text = data.mid(at);
    } else if (type == "zTXt") {
        if (at >= data.size() || data.at(at) != 0 || !inflateBounded(data.mid(at + 1), text))
            return;
    } else {
        if (at + 2 > data.size())
            return;
        const bool compressed = data.at(at) != 0;
        at += 2;
        QByteArray language, translated;
        if (!takeField(data, at, language) || !takeField(data, at, translated))
            return;
        if (!compressed)
            text = data.mid(at);
        else if (!inflateBounded(data.mid(at), text))
            return;
        texts.insert(QString::fromLatin1(keyword), QString::fromUtf8(text));
        return;
    }
    texts.insert(QString::fromLatin1(keyword), QString::fromLatin1(text));
}

// Inflates at most kMaxTextSize bytes; a text that would be longer is cut there.
bool PngText::inflateBounded(const QByteArray &compressed, QByteArray &text)
{
    z_stream stream = {};
    if (inflateInit(&stream) != Z_OK)
        return false;
    text.resize(kMaxTextSize);
    stream.next_in = reinterpret_cast<Bytef *>(const_cast<char *>(compressed.constData()));
    stream.avail_in = uInt(compressed.size());
    stream.next_out = reinterpret_cast<Bytef *>(text.data());
    stream.avail_out = uInt(text.size());
    const int result = inflate(&stream, Z_FINISH);
    text.resize(int(stream.total_out));
    inflateEnd(&stream);
    return result == Z_STREAM_END || stream.avail_out == 0;
}

QString PngText::combined(const QMap<QString, QString> &texts)
{
    QStringList pairs;
    for (auto it = texts.cbegin(); it != texts.cend(); ++it)
        pairs.append(it.key() + QLatin1String(": ") + it.value().simplified());
    return pairs.join(QLatin1String("\n\n"));
}
