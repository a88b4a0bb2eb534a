#pragma once
#include <QPointer>
#include <QString>
#include <functional>

class CProgressDialog;
class QWidget;

// The window of the waiting popup: a progress dialog named "Popup Dialog" over its parent (none: a window of
// its own), deleted with this object. While a cancel is on offer, the button
// and Escape call it.
class CProgressPopupWindow
{
public:
    explicit CProgressPopupWindow(QWidget* parent);
    ~CProgressPopupWindow();
    CProgressPopupWindow(const CProgressPopupWindow&) = delete;
    CProgressPopupWindow& operator=(const CProgressPopupWindow&) = delete;

    void SetTitle(const QString& title);
    void Show();
    void Hide();
    void SetText(const QString& text);
    void OfferCancel(const QString& caption, std::function<void()> cancel);
    void WithdrawCancel();

private:
    // Null once the parent window took the dialog down with it.
    QPointer<CProgressDialog> m_pDialog;
    std::function<void()> m_Cancel;
};
