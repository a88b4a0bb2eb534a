#pragma once
#include "Util/Types.h"
#include <QString>

class QWidget;

// The main window's slots that the engine calls back while it works. The main window implements them;
// there is none in command-line mode.
class CMainWindowLink
{
public:
    virtual ~CMainWindowLink() = default;
    // The status bar shows the text, the progress bar the value.
    virtual void SetProgress(const QString& text, int progress) = 0;
    // Empties the progress bar and shows the current profile's name again.
    virtual void InitProgressBar() = 0;
    // Marks the media tab's destination page as converted or not.
    virtual void ValidateConversion(B32 converted) = 0;
    // The parent of the waiting popup.
    virtual QWidget* GetWindowWidget() = 0;
};
