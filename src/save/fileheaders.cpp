#include "fileheaders.h"

#include "hbaselogging.h"
#include "jsonbytes.h"
#include "pdflines.h"
#include "pngtext.h"
#include "setupdocument.h"

#include <QFile>
#include <QJsonDocument>
#include <QJsonObject>
#include <QtEndian>

#include <cstring>

#include "persistentlog.h"

namespace {
const char kLoggingSetupFile[] = "/tmp/loggingLoadUiSetup.json";

const char kTechnology[] = "Technology";
const char kMeasure[] = "Measure";
const char kFirmware[] = "Firmware";
const char kMapType[] = "MapType";
const char kAddress[] = "Address";
const char kSingleMap[] = "Single Map";
const char kSizableMap[] = "Sizable Map";
const char kLteAdvanced[] = "LTE/LTE-A";
const char kPdfEnd[] = "%%EOF";
const char kReadHeader[] = "readHeader";

// Map files ("gom"): a block of 240 bytes from offset 16 holds two zero-terminated texts.
const qint64 kGomBlockOffset = 16;
const qint64 kGomBlockSize = 240;
const int kGomTechnologyAt = 30 - 16;
const int kGomMeasureAt = 110 - 16;

// Coverage maps ("mcf"): 1088 bytes from offset 240, little-endian.
const qint64 kMcfBlockOffset = 240;
const int kMcfBlockSize = 1088;
const int kMcfKindAt = 332 - 240;
const int kMcfAddressAt = 368 - 240;
const int kMcfAddressProbes = 75;
const float kMcfAddressVersion = 2.0f;

QByteArray readBlock(const QString &path, qint64 offset, qint64 size, bool *opened)
{
    QFile file(path);
    *opened = file.open(QIODevice::ReadOnly);
    if (!*opened || !file.seek(offset))
        return QByteArray();
    return file.read(size);
}

// A zero-terminated 8-bit text inside `block`; it ends at its zero byte or at the end of the block.
QString textAt(const QByteArray &block, int offset)
{
    if (offset >= block.size())
        return QString();
    const int zero = block.indexOf('\0', offset);
    return QString::fromLatin1(block.mid(offset, (zero < 0 ? block.size() : zero) - offset));
}
} // namespace

QMap<QString, QVariant> FileHeaders::described()
{
    return {{QString::fromLatin1(kTechnology), QString()}, {QString::fromLatin1(kMeasure), QString()}};
}

bool FileHeaders::read(const QString &path, const QString &fileExt, persistentLog &log, QMap<QString, QVariant> &header)
{
    if (fileExt == QLatin1String("grr") || fileExt == QLatin1String("grrv"))
        return logging(path, log, header);
    if (fileExt == QLatin1String("gom") || fileExt == QLatin1String("gomv")) {
        gom(path, header);
        return true;
    }
    if (fileExt == QLatin1String("mcf") || fileExt == QLatin1String("mcfv")) {
        mcf(path, header);
        return true;
    }
    if (fileExt == QLatin1String("png")) {
        header = png(path);
        return true;
    }
    if (fileExt == QLatin1String("pdf")) {
        header = pdf(path);
        return true;
    }
    header = described();
    if (fileExt == QLatin1String("dat") || fileExt == QLatin1String("txt"))
        return true;
    return json(path, header);
}

// Everything else is a JSON file of this system (setup, result, profile) with a "Header" member.
bool FileHeaders::json(const QString &path, QMap<QString, QVariant> &header)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly)) {
        qCWarning(lcSave) << kReadHeader << " failed to open filepath=" << path;
        return false;
    }
    QJsonParseError error;
    const QJsonDocument document = QJsonDocument::fromJson(JsonBytes::read(file), &error);
    qCWarning(lcSave) << kReadHeader << "json-error: " << error.errorString();
    if (!document.isNull())
        header = document.object().value(QString::fromLatin1(SetupDocument::s_headerKey)).toObject().toVariantMap();
    return true;
}

bool FileHeaders::logging(const QString &path, persistentLog &log, QMap<QString, QVariant> &header)
{
    if (!log.loadUiSetup(path)) {
        qCDebug(lcSave) << "Failed load file";
        return false;
    }
    QFile converted(QString::fromLatin1(kLoggingSetupFile));
    if (!converted.open(QIODevice::ReadOnly))
        return false;
    header = QJsonDocument::fromJson(JsonBytes::read(converted)).object().toVariantMap();
    return true;
}

void FileHeaders::gom(const QString &path, QMap<QString, QVariant> &header)
{
    bool opened = false;
    const QByteArray block = readBlock(path, kGomBlockOffset, kGomBlockSize, &opened);
    if (!opened)
        return;
    // "technology/firmware"; without a "/" the firmware is empty.
    const QString technology = textAt(block, kGomTechnologyAt);
    header.clear();
    header.insert(QString::fromLatin1(kTechnology), technology.section(QLatin1Char('/'), 0, 0));
    header.insert(QString::fromLatin1(kFirmware), technology.section(QLatin1Char('/'), 1, 1));
    header.insert(QString::fromLatin1(kMeasure), textAt(block, kGomMeasureAt));
}

void FileHeaders::mcf(const QString &path, QMap<QString, QVariant> &header)
{
    bool opened = false;
    QByteArray block = readBlock(path, kMcfBlockOffset, kMcfBlockSize, &opened);
    if (!opened)
        return;
    // A short file reads as if it went on with zero bytes.
    block.append(QByteArray(kMcfBlockSize - block.size(), '\0'));
    const auto *bytes = reinterpret_cast<const uchar *>(block.constData());

    header.clear();
    const qint32 kind = qFromLittleEndian<qint32>(bytes + kMcfKindAt);
    header.insert(QString::fromLatin1(kMapType), QString::fromLatin1(kind == 0 ? kSingleMap : kSizableMap));

    const float version = qFromLittleEndian<float>(bytes + 0);
    if (!(version > kMcfAddressVersion))
        return;
    // The address is UTF-16 padded with zeros; it ends where a probe of four bytes is all zero.
    QString address;
    for (int k = 0; k < kMcfAddressProbes; ++k) {
        const uchar *probe = bytes + kMcfAddressAt + 8 * k;
        if (probe[0] == 0 && probe[1] == 0 && probe[2] == 0 && probe[3] == 0) {
            const uchar *field = bytes + kMcfAddressAt;
            for (int unit = 0; unit < 4 * k; ++unit)
                address.append(QChar(qFromLittleEndian<quint16>(field + 2 * unit)));
            break;
        }
    }
    header.insert(QString::fromLatin1(kAddress), address);
}

// The screenshot writer stores "technology/measurement" in the picture's "Description" text; the
// technology "LTE/LTE-A" itself holds a "/".
QMap<QString, QVariant> FileHeaders::png(const QString &path)
{
    // The chunks are walked, the picture never decoded: a file from a USB stick may declare any size.
    const QString text = PngText::combined(PngText::read(path));
    const int separator = text.lastIndexOf(QLatin1String(": "));
    const QString description = separator < 0 ? text : text.mid(separator + 2);

    const QChar slash(QLatin1Char('/'));
    const bool lteAdvanced = description.contains(QLatin1String(kLteAdvanced));
    return {{QString::fromLatin1(kTechnology), description.section(slash, 0, lteAdvanced ? 1 : 0)},
            {QString::fromLatin1(kMeasure), description.section(slash, lteAdvanced ? 2 : 1, lteAdvanced ? 2 : 1)}};
}

// The report writer appends "technology,measurement" after the closing "%%EOF" line.
QMap<QString, QVariant> FileHeaders::pdf(const QString &path)
{
    QString trailer;
    QFile file(path);
    // Unbuffered: the lines read blocks of their own, so the file's buffer would only copy them once more.
    if (file.open(QIODevice::ReadOnly | QIODevice::Unbuffered)) {
        PdfLines lines(file);
        const char *line = nullptr;
        int size = 0;
        bool atEnd = false;
        while (!atEnd && lines.next(&line, &size))
            atEnd = size == int(sizeof(kPdfEnd)) - 1 && memcmp(line, kPdfEnd, sizeof(kPdfEnd) - 1) == 0;
        if (atEnd && lines.next(&line, &size))
            trailer = QString::fromLatin1(line, size);
    }

    const QStringList parts = trailer.split(QLatin1Char(','));
    const bool described = parts.size() == 2;
    return {{QString::fromLatin1(kTechnology), described ? parts.at(0) : QString()},
            {QString::fromLatin1(kMeasure), described ? parts.at(1) : QString()}};
}
