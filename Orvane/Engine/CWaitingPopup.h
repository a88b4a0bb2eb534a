#pragma once
#include <QString>
#include <functional>

// The waiting popup of a running conversion, translation or batch run as the engine sees it: a title and a
// text, and a cancel button on offer while the run can be stopped. The user
// interface makes the window; it goes when this object is deleted.
class CWaitingPopup
{
public:
    virtual ~CWaitingPopup() = default;
    virtual void SetTitle(const QString& title) = 0;
    virtual void SetText(const QString& text) = 0;
    virtual void Show() = 0;
    // Takes the window off the screen until the next Show.
    virtual void Hide() = 0;
    // Shows the button with that caption; the button and Escape then call cancel.
    virtual void OfferCancel(const QString& caption, std::function<void()> cancel) = 0;
    // Undoes OfferCancel's calls (the button stays as it is).
    virtual void WithdrawCancel() = 0;
};
