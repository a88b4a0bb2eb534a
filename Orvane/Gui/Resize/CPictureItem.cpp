#include "Gui/Resize/CPictureItem.h"
#include <QPainter>
#include <QPixmap>
#include <cmath>

void CPictureItem::SetPixmap(const QPixmap* pixmap)
{
    mpPixmap = pixmap;
    setRect(0, 0, pixmap ? pixmap->width() : 0, pixmap ? pixmap->height() : 0);
    update();
}

void CPictureItem::paint(QPainter* painter, const QStyleOptionGraphicsItem*, QWidget*)
{
    if (!mpPixmap)
        return;
    // The picture sits on whole pixels, so that it is never resampled between two of them.
    const QPointF shift(std::trunc(pos().x()) - pos().x(), std::trunc(pos().y()) - pos().y());
    painter->drawPixmap(shift, *mpPixmap);
}
