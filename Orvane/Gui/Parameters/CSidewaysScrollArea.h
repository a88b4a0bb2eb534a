#pragma once
#include <QScrollArea>

// Holds a widget that may be wider than the form around it (a table of parameter vectors): it scrolls sideways
// on its own, as tall as the widget plus the scroll bar while the bar shows, so that the rest of the form keeps
// to the form's width and its labels read whole.
class CSidewaysScrollArea : public QScrollArea
{
public:
    CSidewaysScrollArea(QWidget* content, QWidget* parent);

    QSize sizeHint() const override;
    QSize minimumSizeHint() const override;

protected:
    void resizeEvent(QResizeEvent* event) override;

private:
    // Whether the content is wider than the room the area has.
    bool NeedsBar() const;

    bool mBarShown = false;
};
