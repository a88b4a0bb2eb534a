#pragma once
#include <QScrollArea>

class CParameterView;
class CParameters;

// The scroll area that holds a parameter form as wide as the area. Moving the focus with Tab scrolls only as far
// as the field that gets it needs to be seen, where the toolkit's own area would scroll 50 pixels further.
class CParameterScrollArea : public QScrollArea
{
public:
    explicit CParameterScrollArea(QWidget* parent);

    CParameterView* GetView() const { return mpView; }
    // Shows the set in the form; another set than the one shown last (another converter's, a file's) is a new
    // form and shows from its top, not at the scroll position of the previous one.
    void ShowParameters(CParameters* parameters);

protected:
    bool focusNextPrevChild(bool next) override;

private:
    CParameterView* mpView;
    // Only compared, never read: the set shown last.
    const CParameters* mpLastShown = nullptr;
};
