#include "Gui/Parameters/CParameterScrollArea.h"
#include "Gui/Parameters/CParameterView.h"
#include <QScrollBar>
#include <QVBoxLayout>

namespace {
// Room left around the field that gets the focus, so that its frame shows whole.
constexpr int kFocusMargin = 4;
} // namespace

CParameterScrollArea::CParameterScrollArea(QWidget* parent) : QScrollArea(parent)
{
    setObjectName(QStringLiteral("QScrollView"));
    setWidgetResizable(true);
    // The scroll area owns the box from here on.
    auto* box = new QWidget;
    auto* boxLayout = new QVBoxLayout(box);
    boxLayout->setContentsMargins(0, 0, 0, 0);
    mpView = new CParameterView(box);
    boxLayout->addWidget(mpView);
    setWidget(box);
}

void CParameterScrollArea::ShowParameters(CParameters* parameters)
{
    mpView->SetParameters(parameters);
    if (!parameters || parameters == mpLastShown)
        return;
    mpLastShown = parameters;
    verticalScrollBar()->setValue(0);
    horizontalScrollBar()->setValue(0);
}

bool CParameterScrollArea::focusNextPrevChild(bool next)
{
    if (!QWidget::focusNextPrevChild(next))
        return false;
    // The window's focus, not this area's last one: the focus may have left the form.
    QWidget* focus = window()->focusWidget();
    if (focus && widget() && widget()->isAncestorOf(focus))
        ensureWidgetVisible(focus, kFocusMargin, kFocusMargin);
    return true;
}
