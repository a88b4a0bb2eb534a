#include "Gui/Preview/CFittedPictureLabel.h"
#include <QPainter>

QSize FittedSize(const QSize& size, const QSize& box)
{
    if (size.isEmpty())
        return QSize();
    if (size.width() <= box.width() && size.height() <= box.height())
        return size;
    QSize fitted = size.scaled(box.expandedTo(QSize(1, 1)), Qt::KeepAspectRatio);
    return fitted.expandedTo(QSize(1, 1));
}

CFittedPictureLabel::CFittedPictureLabel(QWidget* parent) : QLabel(parent) {}

QRect CFittedPictureLabel::PictureRect() const
{
    const QPixmap shown = pixmap();
    return shown.isNull() ? QRect() : PlaceFor(shown.size());
}

QRect CFittedPictureLabel::PlaceFor(const QSize& size) const
{
    const QSize fitted = FittedSize(size, contentsRect().size());
    if (fitted.isEmpty())
        return QRect();
    // An odd difference leaves the extra pixel at the right or bottom.
    const QRect area = contentsRect();
    return QRect(area.topLeft() + QPoint((area.width() - fitted.width()) / 2, (area.height() - fitted.height()) / 2),
                 fitted);
}

void CFittedPictureLabel::paintEvent(QPaintEvent* /*event*/)
{
    const QPixmap shown = pixmap();
    if (shown.isNull())
        return;
    QPainter painter(this);
    painter.setRenderHint(QPainter::SmoothPixmapTransform);
    painter.drawPixmap(PictureRect(), shown);
}

void CFittedPictureLabel::resizeEvent(QResizeEvent* event)
{
    QLabel::resizeEvent(event);
    emit PictureMoved();
}
