#include "hrefreshimage.h"

#include <QPainter>

HRefreshImage::HRefreshImage(QQuickItem *parent)
    : QQuickPaintedItem(parent)
{
}

HRefreshImage::~HRefreshImage() = default;

void HRefreshImage::setSource(const QString &source)
{
    m_source = source;
    m_picture = QImage(m_source);
    Q_EMIT sourceChanged();
    update();
}

void HRefreshImage::refresh()
{
    m_picture = QImage(m_source);
    update();
}

// The item's size is cut to whole pixels: a 100.7 x 50.2 item shows the picture in 100 x 50.
void HRefreshImage::paint(QPainter *painter)
{
    painter->drawImage(QRect(0, 0, int(width()), int(height())), m_picture);
}
