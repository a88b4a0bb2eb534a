#pragma once
#include <QScrollArea>

class CParameterView;

// The scroll area that holds a parameter form as wide as the area. Moving the focus with Tab scrolls only as far
// as the field that gets it needs to be seen, where the toolkit's own area would scroll 50 pixels further.
class CParameterScrollArea : public QScrollArea
{
public:
    explicit CParameterScrollArea(QWidget* parent);

    CParameterView* GetView() const { return mpView; }

protected:
    bool focusNextPrevChild(bool next) override;

private:
    CParameterView* mpView;
};
