#ifndef HPDF_H
#define HPDF_H

#include <QFont>
#include <QMap>
#include <QObject>
#include <QString>
#include <QVariant>

class QPainter;
class QPdfWriter;

// Writes the measurement report: page 1 with the title, the identification fields, the logo, the test
// purpose and result texts and the last screen capture, then one page per attached picture. A trailer
// line "technology,measurement" follows the PDF's "%%EOF" line; the file browser reads it back.
//
// The report's values come from the common interface table, which the owning HSave fills, replaces and
// reads as its own (commonUI()). Every value is read as text; a missing key reads as "".
class HPdf : public QObject
{
    Q_OBJECT

public:
    explicit HPdf(QObject *parent = nullptr);
    ~HPdf() override;

    // The process-wide report writer, created on first use and destroyed when the process ends.
    static HPdf *param();

    // Writes the report to filepath. includeScreen "On" embeds the capture file, inverted when inv is
    // "On". No outcome is reported: a file that cannot be created is simply not written.
    void savePdf(const QString &filepath, const QString &inv, const QString &includeScreen);

    // Local date and time as "dd/MM/yyyy hh:mm:ss".
    QString currDateTime() const;
    // The part of path after its last "/", or the whole path.
    QString getFileName(const QString &path) const;
    // Appends text, one Latin-1 byte per character, to the end of an existing file.
    void attachPdf(const QString &fileName, const QString &text) const;

    // The common interface table, key to value.
    QMap<QString, QVariant> &commonUI() { return m_commonUI; }
    const QMap<QString, QVariant> &commonUI() const { return m_commonUI; }
    void setCommonUI(const QMap<QString, QVariant> &table) { m_commonUI = table; }
    // The entry for key as text; "" when absent.
    QString uiValue(const QString &key) const;

    // The report font as the last report left it.
    QFont reportFont() const { return m_font; }

private:
    void drawFirstPage(QPainter &painter, const QString &filepath, const QString &inv, const QString &includeScreen);
    void drawLogo(QPainter &painter) const;
    void drawAttachments(QPdfWriter &writer, QPainter &painter) const;
    void setFont(QPainter &painter, int pointSize, QFont::Weight weight);

    QMap<QString, QVariant> m_commonUI;
    QFont m_font;
};

#endif // HPDF_H
