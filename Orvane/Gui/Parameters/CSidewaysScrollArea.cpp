#include "Gui/Parameters/CSidewaysScrollArea.h"
#include <QScrollBar>

CSidewaysScrollArea::CSidewaysScrollArea(QWidget* content, QWidget* parent) : QScrollArea(parent)
{
    setFrameShape(QFrame::NoFrame);
    setWidgetResizable(true);
    setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    setHorizontalScrollBarPolicy(Qt::ScrollBarAsNeeded);
    setSizePolicy(QSizePolicy::Expanding, QSizePolicy::Fixed);
    setWidget(content);
    // The table's cells and buttons keep the form's background.
    viewport()->setAutoFillBackground(false);
    content->setAutoFillBackground(false);
}

bool CSidewaysScrollArea::NeedsBar() const
{
    return widget() && widget()->minimumSizeHint().width() > width() - 2 * frameWidth();
}

QSize CSidewaysScrollArea::sizeHint() const
{
    if (!widget())
        return QScrollArea::sizeHint();
    const int bar = mBarShown ? horizontalScrollBar()->sizeHint().height() : 0;
    return QSize(widget()->sizeHint().width(), widget()->sizeHint().height() + bar) + QSize(2, 2) * frameWidth();
}

QSize CSidewaysScrollArea::minimumSizeHint() const
{
    // Any width: the area scrolls. Its height is what it shows.
    return QSize(0, sizeHint().height());
}

void CSidewaysScrollArea::resizeEvent(QResizeEvent* event)
{
    QScrollArea::resizeEvent(event);
    const bool needed = NeedsBar();
    if (needed != mBarShown) {
        mBarShown = needed;
        updateGeometry();
    }
}
