#include "hsave.h"

#include "jsonbytes.h"

#include <QFile>
#include <QFileInfo>
#include <QJsonDocument>
#include <QJsonObject>
#include <QtEndian>

#include "elfclientinterface.h"
#include "filewriter.h"
#include "persistentlog.h"
#include "pngtext.h"

namespace {
const char kResultTransferFile[] = "/tmp/LoadResult.oxs";
const char kLoadConfigAction[] = ":action:%1:%2:loadconfig:";
const char kLoadResultAction[] = ":action:%1:%2:loadResultActn:";
const int kResultRecallTimeoutMs = 5000;
const int kResultOverlayTimeoutMs = 500;
const char kLoggingSetupFile[] = "/tmp/loggingLoadUiSetup.json";

const char kTab1[] = "Tab1";
const char kTechnology[] = "Technology";
const char kMeasure[] = "Measure";
const char kFirmware[] = "Firmware";
const char kMapType[] = "MapType";
const char kAddress[] = "Address";
const char kSingleMap[] = "Single Map";
const char kSizableMap[] = "Sizable Map";
const char kLteAdvanced[] = "LTE/LTE-A";
const char kPdfEnd[] = "%%EOF";
// Longer lines are passed over in pieces of this size: a file without line breaks is never held whole.
const qint64 kPdfLineLimit = 4096;
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

bool HSave::readResult(const QString &filepath)
{
    QFile file(filepath);
    if (!file.open(QIODevice::ReadOnly))
        return false;
    clearAll();
    const QJsonObject object = QJsonDocument::fromJson(JsonBytes::read(file)).object();
    m_header = object.value(QString::fromLatin1(s_headerKey)).toObject().toVariantMap();
    m_result = object.value(QString::fromLatin1(kTab1)).toObject().toVariantMap();

    // The application recalls whatever the transfer file holds: it is replaced whole or not at all.
    return FileWriter::writeFile(QString::fromLatin1(kResultTransferFile),
                                 QJsonDocument(QJsonObject::fromVariantMap(m_result)).toJson(QJsonDocument::Indented));
}

// `length` and `isOverlay` are kept for the screens that pass them; the overlay property decides.
void HSave::setResultFile(const QString &selTrace, const QString &appName, int length, bool isOverlay)
{
    Q_UNUSED(length)
    Q_UNUSED(isOverlay)
    const QString transfer = QString::fromLatin1(kResultTransferFile);
    if (!QFileInfo::exists(transfer))
        return;

    const QChar last = selTrace.isEmpty() ? QChar() : selTrace.at(selTrace.size() - 1);
    const int trace = last >= QLatin1Char('0') && last <= QLatin1Char('9') ? last.digitValue() : 0;
    const QString module = settingsModule(appName);
    ELFClientInterface *client = appClient(appName);

    QString address;
    QString argument = transfer;
    int timeoutMs = kResultRecallTimeoutMs;
    if (m_overlay == LOAD_NONOVERLAY) {
        address = QString::fromLatin1(kLoadConfigAction).arg(appName, module);
    } else {
        address = QString::fromLatin1(kLoadResultAction).arg(appName, module);
        timeoutMs = kResultOverlayTimeoutMs;
        if (m_overlay == LOAD_OVERLAY)
            argument += QLatin1Char(':') + QString::number(trace);
    }
    const bool done = callWithoutReply(client, address, argument, timeoutMs);
    if (!done)
        qCDebug(lcSave) << "Failed loadconfig" << address;
}

void HSave::resetHeaderDescription()
{
    m_header.clear();
    m_header.insert(QString::fromLatin1(kTechnology), QString());
    m_header.insert(QString::fromLatin1(kMeasure), QString());
}

bool HSave::readHeader(const QString &filepath, const QString &fileExt)
{
    if (fileExt == QLatin1String("grr") || fileExt == QLatin1String("grrv"))
        return readHeaderLogging(filepath);
    if (fileExt == QLatin1String("gom") || fileExt == QLatin1String("gomv")) {
        readHeaderGom(filepath);
        return true;
    }
    if (fileExt == QLatin1String("mcf") || fileExt == QLatin1String("mcfv")) {
        readHeaderMcf(filepath);
        return true;
    }
    if (fileExt == QLatin1String("png")) {
        readHeaderPng(filepath);
        return true;
    }
    if (fileExt == QLatin1String("pdf")) {
        readHeaderPdf(filepath);
        return true;
    }
    if (fileExt == QLatin1String("dat") || fileExt == QLatin1String("txt")) {
        resetHeaderDescription();
        return true;
    }

    // Everything else is a JSON file of this system (setup, result, profile) with a "Header" member.
    resetHeaderDescription();
    QFile file(filepath);
    if (!file.open(QIODevice::ReadOnly)) {
        qCWarning(lcSave) << kReadHeader << " failed to open filepath=" << filepath;
        return false;
    }
    QJsonParseError error;
    const QJsonDocument document = QJsonDocument::fromJson(JsonBytes::read(file), &error);
    qCWarning(lcSave) << kReadHeader << "json-error: " << error.errorString();
    if (!document.isNull())
        m_header = document.object().value(QString::fromLatin1(s_headerKey)).toObject().toVariantMap();
    return true;
}

bool HSave::readHeaderLogging(const QString &filepath)
{
    if (!m_persistentLog->loadUiSetup(filepath)) {
        qCDebug(lcSave) << "Failed load file";
        return false;
    }
    QFile converted(QString::fromLatin1(kLoggingSetupFile));
    if (!converted.open(QIODevice::ReadOnly))
        return false;
    m_header = QJsonDocument::fromJson(JsonBytes::read(converted)).object().toVariantMap();
    return true;
}

void HSave::readHeaderGom(const QString &filepath)
{
    bool opened = false;
    const QByteArray block = readBlock(filepath, kGomBlockOffset, kGomBlockSize, &opened);
    if (!opened)
        return;
    // "technology/firmware"; without a "/" the firmware is empty.
    const QString technology = textAt(block, kGomTechnologyAt);
    m_header.clear();
    m_header.insert(QString::fromLatin1(kTechnology), technology.section(QLatin1Char('/'), 0, 0));
    m_header.insert(QString::fromLatin1(kFirmware), technology.section(QLatin1Char('/'), 1, 1));
    m_header.insert(QString::fromLatin1(kMeasure), textAt(block, kGomMeasureAt));
}

void HSave::readHeaderMcf(const QString &filepath)
{
    bool opened = false;
    QByteArray block = readBlock(filepath, kMcfBlockOffset, kMcfBlockSize, &opened);
    if (!opened)
        return;
    // A short file reads as if it went on with zero bytes.
    block.append(QByteArray(kMcfBlockSize - block.size(), '\0'));
    const auto *bytes = reinterpret_cast<const uchar *>(block.constData());

    m_header.clear();
    const qint32 kind = qFromLittleEndian<qint32>(bytes + kMcfKindAt);
    m_header.insert(QString::fromLatin1(kMapType), QString::fromLatin1(kind == 0 ? kSingleMap : kSizableMap));

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
    m_header.insert(QString::fromLatin1(kAddress), address);
}

// The screenshot writer stores "technology/measurement" in the picture's "Description" text; the
// technology "LTE/LTE-A" itself holds a "/".
void HSave::readHeaderPng(const QString &filepath)
{
    // The chunks are walked, the picture never decoded: a file from a USB stick may declare any size.
    const QString text = PngText::combined(PngText::read(filepath));
    const int separator = text.lastIndexOf(QLatin1String(": "));
    const QString description = separator < 0 ? text : text.mid(separator + 2);

    m_header.clear();
    const QChar slash(QLatin1Char('/'));
    if (description.contains(QLatin1String(kLteAdvanced))) {
        m_header.insert(QString::fromLatin1(kTechnology), description.section(slash, 0, 1));
        m_header.insert(QString::fromLatin1(kMeasure), description.section(slash, 2, 2));
    } else {
        m_header.insert(QString::fromLatin1(kTechnology), description.section(slash, 0, 0));
        m_header.insert(QString::fromLatin1(kMeasure), description.section(slash, 1, 1));
    }
}

namespace {
// One line without its line break, at most kPdfLineLimit bytes; the rest of a longer line is read
// past and the line given as too long (empty), so that no piece of it can pass for "%%EOF".
QByteArray boundedLine(QFile &file)
{
    QByteArray line = file.readLine(kPdfLineLimit);
    const bool whole = line.endsWith('\n') || file.atEnd();
    while (!line.endsWith('\n') && !file.atEnd())
        line = file.readLine(kPdfLineLimit);
    if (!whole)
        return QByteArray();
    while (line.endsWith('\n') || line.endsWith('\r'))
        line.chop(1);
    return line;
}
} // namespace

// The report writer appends "technology,measurement" after the closing "%%EOF" line.
void HSave::readHeaderPdf(const QString &filepath)
{
    QString trailer;
    QFile file(filepath);
    if (file.open(QIODevice::ReadOnly)) {
        bool atEnd = false;
        while (!file.atEnd() && !atEnd)
            atEnd = boundedLine(file) == kPdfEnd;
        if (atEnd && !file.atEnd())
            trailer = QString::fromLatin1(boundedLine(file));
    }

    m_header.clear();
    const QStringList parts = trailer.split(QLatin1Char(','));
    const bool described = parts.size() == 2;
    m_header.insert(QString::fromLatin1(kTechnology), described ? parts.at(0) : QString());
    m_header.insert(QString::fromLatin1(kMeasure), described ? parts.at(1) : QString());
}
