#ifndef HREFRESHIMAGE_H
#define HREFRESHIMAGE_H

#include <QImage>
#include <QQuickPaintedItem>
#include <QString>

// Shows a picture file stretched over the whole item and reads it again on refresh(), so a picture
// rewritten under the same name (the last capture, a live map) shows its new content. Image caches
// that key on the source URL would keep showing the old one.
class HRefreshImage : public QQuickPaintedItem
{
    Q_OBJECT
    Q_PROPERTY(QString source READ source WRITE setSource NOTIFY sourceChanged)

public:
    explicit HRefreshImage(QQuickItem *parent = nullptr);
    ~HRefreshImage() override;

    QString source() const { return m_source; }
    // Loads the file even when source is unchanged, and always emits sourceChanged.
    void setSource(const QString &source);

    Q_INVOKABLE void refresh();

    void paint(QPainter *painter) override;

Q_SIGNALS:
    void sourceChanged();

private:
    QString m_source;
    QImage m_picture;
};

#endif // HREFRESHIMAGE_H
