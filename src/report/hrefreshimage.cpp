#include "hrefreshimage.h"

#include <QPainter>

#include "qmlinput.h"

HRefreshImage::HRefreshImage(QQuickItem *parent)
    : QQuickPaintedItem(parent)
{
}

HRefreshImage::~HRefreshImage() = default;

// An empty path is not even tried: the file engine would warn about it, and the item stays silent.
// A "file:" URL names the same file as its path.
static QImage loadPicture(const QString &path)
{
    return path.isEmpty() ? QImage() : QImage(QmlInput::localPath(path));
}

void HRefreshImage::setSource(const QString &source)
{
    m_source = source;
    m_picture = loadPicture(m_source);
    Q_EMIT sourceChanged();
    update();
}

void HRefreshImage::refresh()
{
    m_picture = loadPicture(m_source);
    update();
}

// The item's size is cut to whole pixels: a 100.7 x 50.2 item shows the picture in 100 x 50.
void HRefreshImage::paint(QPainter *painter)
{
    painter->drawImage(QRect(0, 0, int(width()), int(height())), m_picture);
}
