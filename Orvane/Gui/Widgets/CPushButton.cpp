#include "Gui/Widgets/CPushButton.h"
#include <QMouseEvent>
#include <QPainter>

CPushButton::CPushButton(const QPixmap& normal, const QPixmap& activated, const QPixmap& disabled, QWidget* parent,
                         QMenu* popup)
    : QWidget(parent), mNormal(normal), mActivated(activated), mDisabled(disabled), mpPopup(popup)
{
    SetCurrentPixmap(mNormal);
}

QSize CPushButton::sizeHint() const
{
    return mCurrent.size();
}

void CPushButton::SetCurrentPixmap(const QPixmap& pixmap)
{
    if (!pixmap.isNull())
        setFixedSize(pixmap.size());
    mCurrent = pixmap;
    update();
}

bool CPushButton::IsInside(const QPoint& point) const
{
    return point.x() > 0 && point.x() < width() && point.y() > 0 && point.y() < height();
}

void CPushButton::mousePressEvent(QMouseEvent* event)
{
    event->accept();
    mPressed = true;
    mInside = true;
    SetCurrentPixmap(mActivated);
}

void CPushButton::mouseMoveEvent(QMouseEvent* event)
{
    event->accept();
    if (!mPressed)
        return;
    const bool inside = IsInside(event->position().toPoint());
    if (inside != mInside) {
        mInside = inside;
        SetCurrentPixmap(inside ? mActivated : mNormal);
    }
}

void CPushButton::mouseReleaseEvent(QMouseEvent* event)
{
    event->accept();
    if (IsInside(event->position().toPoint())) {
        emit Clicked();
        emit Activated(mapToGlobal(QPoint(0, height())), mpPopup);
    }
    SetCurrentPixmap(isEnabled() ? mNormal : mDisabled);
    mPressed = false;
}

void CPushButton::paintEvent(QPaintEvent*)
{
    QPainter painter(this);
    painter.drawPixmap(0, 0, mCurrent);
}

void CPushButton::changeEvent(QEvent* event)
{
    if (event->type() == QEvent::EnabledChange) {
        if (isEnabled()) {
            SetCurrentPixmap(mNormal);
        } else {
            mPressed = false;
            SetCurrentPixmap(mDisabled);
        }
    }
    QWidget::changeEvent(event);
}
