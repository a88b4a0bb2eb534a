#include "Gui/Widgets/WheelGuard.h"
#include <QAbstractScrollArea>
#include <QAbstractSpinBox>
#include <QComboBox>
#include <QCoreApplication>
#include <QEvent>
#include <QScrollBar>
#include <QSlider>
#include <QWheelEvent>
#include <QWidget>

namespace {

// The nearest scroll area around the field that can move the way the wheel turns: a table's own sideways area
// does not take a turn down from the form around it.
QAbstractScrollArea* AreaToScroll(const QWidget* field, const QWheelEvent& wheel)
{
    const bool sideways = qAbs(wheel.angleDelta().x()) > qAbs(wheel.angleDelta().y());
    for (QWidget* above = field->parentWidget(); above; above = above->parentWidget()) {
        auto* area = qobject_cast<QAbstractScrollArea*>(above);
        if (!area)
            continue;
        const QScrollBar* bar = sideways ? area->horizontalScrollBar() : area->verticalScrollBar();
        const Qt::ScrollBarPolicy policy =
            sideways ? area->horizontalScrollBarPolicy() : area->verticalScrollBarPolicy();
        if (policy != Qt::ScrollBarAlwaysOff && bar->maximum() > bar->minimum())
            return area;
    }
    return nullptr;
}

// Watches one field; a child of it, so it goes with the field.
class CWheelGuard : public QObject
{
public:
    explicit CWheelGuard(QWidget* field) : QObject(field) {}

    bool eventFilter(QObject* watched, QEvent* event) override
    {
        auto* field = qobject_cast<QWidget*>(watched);
        if (event->type() != QEvent::Wheel || !field || field->hasFocus())
            return false;
        if (QAbstractScrollArea* area = AreaToScroll(field, *static_cast<QWheelEvent*>(event)))
            QCoreApplication::sendEvent(area->viewport(), event);
        return true;
    }
};

} // namespace

void TakeWheelOnlyWithFocus(QWidget* field)
{
    // The wheel itself must not give the focus either, or the second notch would turn the value.
    field->setFocusPolicy(Qt::StrongFocus);
    field->installEventFilter(new CWheelGuard(field));
}

void TakeWheelOnlyWithFocusIn(QWidget* root)
{
    for (QWidget* field : root->findChildren<QWidget*>()) {
        // Sliders, not every QAbstractSlider: a scroll bar is one, and it must keep the wheel it is given.
        if (qobject_cast<QAbstractSpinBox*>(field) || qobject_cast<QComboBox*>(field) || qobject_cast<QSlider*>(field))
            TakeWheelOnlyWithFocus(field);
    }
}
