#ifndef HSCREENSHOT_H
#define HSCREENSHOT_H

#include <QImage>
#include <QList>
#include <QMap>
#include <QQuickWindow>
#include <QSize>
#include <QString>

class ChStd;
class QPainter;

// Screenshots of the instrument display. capture() grabs the whole primary screen into the capture
// file; saveScreen() later loads that file, adds a white band below the picture listing the settings
// entries and the trace modes given through configMap(), and writes an annotated PNG whose
// "Description" text names technology and measurement for the file browser.
//
// Capture and save are separate on purpose: the interface shows its save dialog between them, and the
// saved picture must be the screen as it was before the dialog opened.
class HScreenShot : public QQuickWindow
{
    Q_OBJECT

public:
    explicit HScreenShot(QWindow *parent = nullptr);
    ~HScreenShot() override;

    Q_INVOKABLE void capture();
    Q_INVOKABLE void captureInv();
    Q_INVOKABLE void saveScreen(const QString &path, const QString &name, const QString &inv, const QString &mode,
                                const QString &measure);
    Q_INVOKABLE void saveScreen(const QString &fullPathToFile, const QString &inv, const QString &mode,
                                const QString &measure);
    Q_INVOKABLE void clearMap();
    Q_INVOKABLE void configMap(const QString &name, const QString &value);
    Q_INVOKABLE QString getChStdEnumString(int index);

    // The trace mode stored for key ("T1" to "T6"); "" when there is none.
    QString getConfigMap(const QString &key) const;
    // The one-letter mark of a trace mode name; "" for any name outside the table.
    static QString getTraceType(const QString &mode);
    // picture with the annotation band below it, on a canvas of the screen's width.
    QImage appendText(const QImage &picture) const;

    // The capture file: the last grab of the screen, shared with the PDF report.
    static QString captureFilePath();
    // Inverts the colour channels of every pixel, leaving alpha alone (also for palette pictures).
    static void invertColours(QImage &image);

private:
    static QImage grabScreen();
    static bool ensureDirectory(const QString &dir);
    QImage annotatedCapture(const QString &inv) const;
    static void writeAnnotated(QImage &image, const QString &fileName, const QString &mode, const QString &measure);
    void drawTraceRow(QPainter &painter, int top) const;

    QList<QString> m_labels;
    QList<QString> m_values;
    QMap<QString, QString> m_traces;
    QSize m_screenSize;
    double m_bandScale;
    ChStd *m_chStd;
};

#endif // HSCREENSHOT_H
