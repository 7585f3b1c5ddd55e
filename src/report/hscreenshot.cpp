#include "hscreenshot.h"

#include "hbaselogging.h"

#include <QBuffer>
#include <QDebug>
#include <QFile>
#include <QGuiApplication>
#include <QLoggingCategory>
#include <QPainter>
#include <QPixmap>
#include <QScreen>

#include <boost/filesystem.hpp>

#include "chbandstore.h"
#include "chstd.h"
#include "filewriter.h"
#include "pathguard.h"

namespace {

const char kCaptureFile[] = "/tmp/tempScreenShotHNA.png";
const char kFormat[] = "PNG";
const char kDescriptionKey[] = "Description";
const char kEntryCountLine[] = "------------------------->>";
const QString kOn = QStringLiteral("On");

const QSize kFullHdScreen(1920, 1080);
const double kFullHdBandScale = 220.0;
const double kOtherBandScale = 160.0;
const double kBandRowsPerScale = 0.75;

const char kCanvasColour[] = "#ffffff";
const char kEntryColour[] = "#000000";
const char kMarkColour[] = "black";

// Settings entries: four cells per row.
const int kEntryColumns[] = {2, 320, 640, 960};
const int kEntriesPerRow = 4;
const int kCellWidth = 320;
const int kRowHeight = 20;
// More than four full rows of entries push the trace row down one row.
const int kEntriesBeforeTraceRowMoves = 16;
const int kTraceRowOffset = 80;
const int kMovedTraceRowOffset = 100;

const char kTraceHeading[] = "Trace:";
const int kTraceHeadingX = 2;
const int kTraceHeadingWidth = 60;
const int kTraceCellWidth = 30;

struct TraceColumn
{
    const char *name;
    const char *label;
    int labelX;
    int markX;
    const char *colour;
};

const TraceColumn kTraceColumns[] = {
    {"T1", "T1:", 60, 90, "#00299B"},   {"T2", "T2:", 120, 150, "#39b549"}, {"T3", "T3:", 180, 210, "#f50057"},
    {"T4", "T4:", 240, 270, "#ff9700"}, {"T5", "T5:", 300, 330, "#7b4dff"}, {"T6", "T6:", 360, 390, "#0097a7"},
};

const char *const kTraceModes[][2] = {
    {"ClearWrite", "W"}, {"Capture", "C"}, {"Max", "M"}, {"Min", "m"}, {"Load", "L"}, {"Calculate", "-"},
};

bool isTraceName(const QString &name)
{
    for (const TraceColumn &column : kTraceColumns) {
        if (name == QLatin1String(column.name))
            return true;
    }
    return false;
}

// PNG files are encoded in memory and replace the old file whole: a full disk keeps the previous one.
bool savePng(const QImage &image, const QString &path)
{
    QByteArray png;
    QBuffer buffer(&png);
    return buffer.open(QIODevice::WriteOnly) && image.save(&buffer, kFormat) && FileWriter::writeFile(path, png);
}
} // namespace

HScreenShot::HScreenShot(QWindow *parent)
    : QQuickWindow(parent)
    , m_bandScale(kOtherBandScale)
    , m_chStd(new ChStd)
{
    // Read once: the band's height belongs to the display the interface was started on.
    if (const QScreen *screen = QGuiApplication::primaryScreen())
        m_screenSize = screen->size() * screen->devicePixelRatio();
    if (m_screenSize == kFullHdScreen)
        m_bandScale = kFullHdBandScale;
}

HScreenShot::~HScreenShot()
{
    delete m_chStd;
}

QString HScreenShot::captureFilePath()
{
    return QString::fromLatin1(kCaptureFile);
}

void HScreenShot::invertColours(QImage &image)
{
    // Inverting a palette picture's pixels would invert its colour indexes, not its colours.
    if (image.depth() < 32)
        image = image.convertToFormat(image.hasAlphaChannel() ? QImage::Format_ARGB32 : QImage::Format_RGB32);
    image.invertPixels(QImage::InvertRgb);
}

QImage HScreenShot::grabScreen()
{
    QScreen *screen = QGuiApplication::primaryScreen();
    if (!screen)
        return QImage();
    return screen->grabWindow(0, 0, 0, -1, -1).toImage();
}

void HScreenShot::capture()
{
    savePng(grabScreen(), captureFilePath());
}

void HScreenShot::captureInv()
{
    QImage image = grabScreen();
    invertColours(image);
    savePng(image, captureFilePath());
}

void HScreenShot::clearMap()
{
    m_labels.clear();
    m_values.clear();
    m_traces.clear();
}

void HScreenShot::configMap(const QString &name, const QString &value)
{
    if (isTraceName(name)) {
        m_traces.insert(name, value);
        return;
    }
    m_labels.append(name);
    m_values.append(value);
}

QString HScreenShot::getChStdEnumString(int index)
{
    return ChStd::GetChStdPointer()->GetEnumulator(index);
}

QString HScreenShot::getConfigMap(const QString &key) const
{
    return m_traces.value(key);
}

QString HScreenShot::getTraceType(const QString &mode)
{
    for (const auto &entry : kTraceModes) {
        if (mode == QLatin1String(entry[0]))
            return QString::fromLatin1(entry[1]);
    }
    return QString();
}

QImage HScreenShot::appendText(const QImage &picture) const
{
    const int width = m_screenSize.width();
    const int height = m_screenSize.height();
    const int bandHeight = int(kBandRowsPerScale * m_bandScale);
    QImage image(width, height + bandHeight, QImage::Format_ARGB32_Premultiplied);
    if (image.isNull())
        return image;

    QPainter painter(&image);
    painter.setBrush(QColor(kCanvasColour));
    painter.drawRect(QRect(QPoint(-1, 0), QPoint(width - 1, image.height() - 1)));
    painter.drawImage(0, 0, picture);

    painter.setPen(QColor(kEntryColour));
    for (int i = 0; i < m_labels.size(); ++i) {
        const QRectF cell(kEntryColumns[i % kEntriesPerRow], height + kRowHeight * (i / kEntriesPerRow), kCellWidth,
                          kRowHeight);
        painter.drawText(cell, m_labels.at(i) + QStringLiteral(": ") + m_values.at(i));
    }
    qCDebug(lcReport) << kEntryCountLine << m_labels.size();

    if (m_traces.contains(QStringLiteral("T1"))) {
        const int offset = m_labels.size() > kEntriesBeforeTraceRowMoves ? kMovedTraceRowOffset : kTraceRowOffset;
        drawTraceRow(painter, height + offset);
    }
    painter.end();
    return image;
}

void HScreenShot::drawTraceRow(QPainter &painter, int top) const
{
    painter.drawText(QRectF(kTraceHeadingX, top, kTraceHeadingWidth, kRowHeight), QString::fromLatin1(kTraceHeading));
    for (const TraceColumn &column : kTraceColumns) {
        painter.setPen(QColor(column.colour));
        painter.drawText(QRectF(column.labelX, top, kTraceCellWidth, kRowHeight), QString::fromLatin1(column.label));
        painter.setPen(QColor(kMarkColour));
        painter.drawText(QRectF(column.markX, top, kTraceCellWidth, kRowHeight),
                         getTraceType(getConfigMap(QString::fromLatin1(column.name))));
    }
}

QImage HScreenShot::annotatedCapture(const QString &inv) const
{
    QImage picture(captureFilePath());
    if (inv == kOn && !picture.isNull())
        invertColours(picture);
    return appendText(picture);
}

// Creates dir when nothing is there; only that one level, never its parents. A directory that cannot
// be made stops the save, so the picture never lands anywhere else.
bool HScreenShot::ensureDirectory(const QString &dir)
{
    namespace fs = boost::filesystem;
    const fs::path path(QFile::encodeName(dir).constData());
    boost::system::error_code error;
    if (fs::exists(fs::status(path, error)))
        return true;
    if (fs::create_directory(path, error) || fs::is_directory(fs::status(path, error)))
        return true;
    qCWarning(lcReport) << "saveScreen cannot create directory" << dir;
    return false;
}

void HScreenShot::writeAnnotated(QImage &image, const QString &fileName, const QString &mode, const QString &measure)
{
    image.setText(QString::fromLatin1(kDescriptionKey), mode + QLatin1Char('/') + measure);
    savePng(image, fileName);
}

void HScreenShot::saveScreen(const QString &path, const QString &name, const QString &inv, const QString &mode,
                             const QString &measure)
{
    // The name stays inside `path`: "../x" would write the picture somewhere else.
    if (!PathGuard::staysInside(name + QStringLiteral(".png"))) {
        qCWarning(lcReport) << "saveScreen name is not a file name:" << name;
        return;
    }
    if (!ensureDirectory(path))
        return;
    QImage image = annotatedCapture(inv);
    writeAnnotated(image, path + QLatin1Char('/') + name + QStringLiteral(".png"), mode, measure);
}

void HScreenShot::saveScreen(const QString &fullPathToFile, const QString &inv, const QString &mode,
                             const QString &measure)
{
    QImage image = annotatedCapture(inv);
    const int slash = fullPathToFile.lastIndexOf(QLatin1Char('/'));
    // Without a directory part the file would land in whatever the working directory happens to be.
    if (slash < 0) {
        qCWarning(lcReport) << "saveScreen no directory in" << fullPathToFile;
        return;
    }
    // A file right under the root has an empty directory part: the root itself.
    const QString dir = slash == 0 ? QStringLiteral("/") : fullPathToFile.left(slash);
    if (!ensureDirectory(dir))
        return;
    writeAnnotated(image, fullPathToFile, mode, measure);
}
