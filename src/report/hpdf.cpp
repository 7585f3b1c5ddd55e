#include "hpdf.h"

#include "hbaselogging.h"

#include <QBuffer>
#include <QDateTime>
#include <QFile>
#include <QImage>
#include <QLoggingCategory>
#include <QPainter>
#include <QPdfWriter>

#include <iterator>

#include "filewriter.h"
#include "hscreenshot.h"
#include "qmlinput.h"

namespace {

const char kFontFamily[] = "Noto Sans UI";
const int kInitialPixelSize = 24;
const int kResolution = 70;

const char kTitleColour[] = "#500778";
const char kTextColour[] = "#000000";
const char kTitle[] = "Measurement Report";

const QString kLogoKey = QStringLiteral("reportLogoCnfg");
const QString kCompanyKey = QStringLiteral("reportCompanyCnfg");
const QString kEngineerKey = QStringLiteral("reportEngineerCnfg");
const QString kAddressKey = QStringLiteral("reportAddressCnfg");
const QString kSiteInfoKey = QStringLiteral("reportSiteInfoCnfg");
const QString kTestPurposeKey = QStringLiteral("reportTestPurposeCnfg");
const QString kResultKey = QStringLiteral("reportResultCnfg");
const QStringList kAttachKeys = {
    QStringLiteral("reportAttachCnfg01"), QStringLiteral("reportAttachCnfg02"), QStringLiteral("reportAttachCnfg03"),
    QStringLiteral("reportAttachCnfg04"), QStringLiteral("reportAttachCnfg05"), QStringLiteral("reportAttachCnfg06"),
};
const QString kTechnologyKey = QStringLiteral("Technology");
const QString kMeasureKey = QStringLiteral("Measure");
const QString kOn = QStringLiteral("On");

// Text flags of the page-1 table.
const int kLeft = Qt::AlignLeft;
const int kLeftCentre = Qt::AlignLeft | Qt::AlignVCenter;
const int kLeftWrap = Qt::AlignLeft | Qt::TextWrapAnywhere;
const int kLeftCentreWrap = Qt::AlignLeft | Qt::AlignVCenter | Qt::TextWrapAnywhere;

const char *const kFieldLabels[] = {"File Name", "Date/Time", "Company", "Engineer", "Site Info.", "Address"};
const char kPurposeHeading[] = "01 Test Purpose";
const char kResultHeading[] = "02 Result";
const char kDataHeading[] = "03 Measurement Data";

const QRect kTitleRect(30, 20, 260, 30);
const int kLabelX = 30;
const int kLabelWidth = 62;
const int kValueX = 112;
const int kValueWidth = 270;
const int kFieldTop = 67;
const int kFieldHeight = 21;
const QLine kRule(30, 200, 552, 200);
const QPoint kLogoCorner(407, 78);
const QSize kLogoBox(145, 96);
const QRect kPurposeHeadingRect(30, 212, 174, 24);
const QRect kPurposeRect(30, 236, 552, 24);
const QRect kResultHeadingRect(30, 268, 174, 24);
const QRect kResultRect(30, 292, 552, 24);
const QRect kDataHeadingRect(30, 324, 174, 16);
const QRect kScreenRect(30, 348, 522, 315);
const int kAttachX = 30;
const int kAttachY = 30;
const int kAttachWidth = 522;
// Attachments are screenshots of the 1280-wide display; their height scales as if they were.
const int kAttachReferenceWidth = 1280;

} // namespace

HPdf::HPdf(QObject *parent)
    : QObject(parent)
    , m_font(QString::fromLatin1(kFontFamily))
{
    m_font.setPixelSize(kInitialPixelSize);
    m_font.setWeight(QFont::Bold);
    const QStringList initialKeys
        = {kLogoKey, kCompanyKey, kEngineerKey, kAddressKey, kSiteInfoKey, kTestPurposeKey, kResultKey};
    for (const QString &key : initialKeys + kAttachKeys)
        m_commonUI.insert(key, QString());
}

HPdf::~HPdf() = default;

HPdf *HPdf::param()
{
    static HPdf instance;
    return &instance;
}

QString HPdf::uiValue(const QString &key) const
{
    return m_commonUI.value(key).toString();
}

QString HPdf::currDateTime() const
{
    const QDateTime now = QDateTime::currentDateTime();
    return now.toString(QStringLiteral("dd/MM/yyyy")) + QLatin1Char(' ') + now.toString(QStringLiteral("hh:mm:ss"));
}

QString HPdf::getFileName(const QString &path) const
{
    return path.mid(path.lastIndexOf(QLatin1Char('/')) + 1);
}

// Characters outside Latin-1 become "?": the trailer stays one byte per character, so the reader's
// line split never lands inside a multi-byte sequence.
// The file is rewritten whole with the text at its end, so a failed write never leaves half a trailer.
void HPdf::attachPdf(const QString &fileName, const QString &text) const
{
    QFile file(fileName);
    if (!file.open(QIODevice::ReadOnly))
        return;
    const QByteArray content = file.readAll();
    file.close();
    FileWriter::writeFile(fileName, content + text.toLatin1());
}

void HPdf::setFont(QPainter &painter, int pointSize, QFont::Weight weight)
{
    m_font.setPointSize(pointSize);
    m_font.setWeight(weight);
    painter.setFont(m_font);
}

void HPdf::savePdf(const QString &filepath, const QString &inv, const QString &includeScreen)
{
    // The file is opened first so that a report that cannot be created is recognised before anything
    // is drawn. It gets no trailer either: directories are never created here. The document is drawn
    // in memory and replaces an old report of that name only once it is whole, trailer included (the
    // same bytes attachPdf would append).
    FileWriter file(filepath);
    if (!file.open()) {
        qCWarning(lcReport) << "savePdf cannot create" << filepath;
        return;
    }
    QByteArray document;
    {
        QBuffer buffer(&document);
        buffer.open(QIODevice::WriteOnly);
        QPdfWriter writer(&buffer);
        writer.setPageSize(QPageSize(QPageSize::Letter));
        writer.setResolution(kResolution);
        QPainter painter(&writer);
        drawFirstPage(painter, filepath, inv, includeScreen);
        drawAttachments(writer, painter);
        painter.end();
    }
    const QString trailer = uiValue(kTechnologyKey) + QLatin1Char(',') + uiValue(kMeasureKey);
    if (file.write(document) && file.write(trailer.toLatin1()))
        file.commit();
}

void HPdf::drawFirstPage(QPainter &painter, const QString &filepath, const QString &inv, const QString &includeScreen)
{
    painter.setPen(QColor(kTitleColour));
    setFont(painter, 24, QFont::Bold);
    painter.drawText(kTitleRect, kLeft, QString::fromLatin1(kTitle));

    painter.setPen(QColor(kTextColour));
    setFont(painter, 12, QFont::Bold);
    for (int row = 0; row < int(std::size(kFieldLabels)); ++row)
        painter.drawText(QRect(kLabelX, kFieldTop + row * kFieldHeight, kLabelWidth, kFieldHeight), kLeftCentre,
                         QString::fromLatin1(kFieldLabels[row]));

    setFont(painter, 10, QFont::Normal);
    const QStringList values = {getFileName(filepath), currDateTime(),        uiValue(kCompanyKey),
                                uiValue(kEngineerKey), uiValue(kSiteInfoKey), uiValue(kAddressKey)};
    // Only the file name and the address may be long enough to need breaking inside a word.
    const int valueFlags[] = {kLeftCentreWrap, kLeftCentre, kLeftCentre, kLeftCentre, kLeftCentre, kLeftCentreWrap};
    for (int row = 0; row < values.size(); ++row)
        painter.drawText(QRect(kValueX, kFieldTop + row * kFieldHeight, kValueWidth, kFieldHeight), valueFlags[row],
                         values.at(row));

    painter.setPen(QPen(QColor(kTitleColour), 1));
    painter.drawLine(kRule);

    drawLogo(painter);

    painter.setPen(QColor(kTextColour));
    setFont(painter, 14, QFont::Bold);
    painter.drawText(kPurposeHeadingRect, kLeftWrap, QString::fromLatin1(kPurposeHeading));
    setFont(painter, 14, QFont::Normal);
    painter.drawText(kPurposeRect, kLeftWrap, uiValue(kTestPurposeKey));
    setFont(painter, 14, QFont::Bold);
    painter.drawText(kResultHeadingRect, kLeft, QString::fromLatin1(kResultHeading));
    setFont(painter, 14, QFont::Normal);
    painter.drawText(kResultRect, kLeft, uiValue(kResultKey));
    setFont(painter, 14, QFont::Bold);
    painter.drawText(kDataHeadingRect, kLeft, QString::fromLatin1(kDataHeading));

    if (includeScreen != kOn)
        return;
    QImage screen(HScreenShot::captureFilePath());
    if (screen.isNull())
        return;
    if (inv == kOn)
        HScreenShot::invertColours(screen);
    painter.drawImage(kScreenRect, screen);
}

// A logo that fits the box keeps its size; a dimension larger than the box is cut down to the box's,
// the other one is left alone, so an oversized logo is stretched rather than letterboxed.
void HPdf::drawLogo(QPainter &painter) const
{
    const QString path = uiValue(kLogoKey);
    if (path.isEmpty())
        return;
    const QImage logo(QmlInput::localPath(path));
    if (logo.isNull())
        return;
    const QSize size = logo.size().boundedTo(kLogoBox);
    painter.drawImage(QRect(kLogoCorner, size), logo);
}

void HPdf::drawAttachments(QPdfWriter &writer, QPainter &painter) const
{
    for (const QString &key : kAttachKeys) {
        const QString path = uiValue(key);
        if (path.isEmpty())
            continue;
        writer.newPage();
        // An unreadable picture still gets its page, left blank.
        const QImage picture(QmlInput::localPath(path));
        if (picture.isNull())
            continue;
        const qint64 height = qint64(kAttachWidth) * picture.height() / kAttachReferenceWidth;
        painter.drawImage(QRect(kAttachX, kAttachY, kAttachWidth, int(height)), picture);
    }
}
